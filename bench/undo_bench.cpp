// The batch edit's mirror over 100,000 mixed entities (lines, arcs, bulged polylines, text and block
// references with an attribute) in a drawing that records undo, then one undo of the whole step. The
// memory the step holds is measured from the allocator's count of bytes in use.
#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "cad/db/undo_log.h"
#include "quelto/actions/extend_command.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {

constexpr int kEntities = 100000;

AcDbObjectId addDoorBlock(AcDbDatabase& database) {
    AcDbBlockTable* blocks = nullptr;
    cad::db::openObjectAs(blocks, database.blockTableId(), AcDb::kForWrite);
    auto* door = new AcDbBlockTableRecord;
    door->setName(L"DOOR");
    AcDbObjectId id;
    blocks->add(id, door);
    door->appendAcDbEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    door->close();
    blocks->close();
    return id;
}

AcDbEntity* mixedEntity(int index, AcDbObjectId door) {
    const double x = index % 400;
    const double y = static_cast<double>(index / 400);
    switch (index % 5) {
    case 0:
        return new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 0.8, y + 0.3, 0));
    case 1:
        return new AcDbArc(AcGePoint3d(x, y, 0), 0.4, 0.2, 2.5);
    case 2: {
        auto* polyline = new AcDbPolyline();
        polyline->addVertexAt(0, AcGePoint2d(x, y), 0.4);
        polyline->addVertexAt(1, AcGePoint2d(x + 0.7, y));
        polyline->addVertexAt(2, AcGePoint2d(x + 0.7, y + 0.7));
        return polyline;
    }
    case 3: {
        auto* text = new AcDbText();
        text->setPosition(AcGePoint3d(x, y, 0));
        text->setHeight(0.2);
        text->setTextString(L"房间-12");
        return text;
    }
    default: {
        auto* reference = new AcDbBlockReference(AcGePoint3d(x, y, 0), door);
        auto* attribute = new AcDbAttribute();
        attribute->setPosition(AcGePoint3d(x, y + 0.2, 0));
        attribute->setHeight(0.1);
        attribute->setTag(L"NO");
        attribute->setTextString(L"D1");
        AcDbObjectId attributeId;
        reference->appendAttribute(attributeId, attribute);
        return reference;
    }
    }
}

struct Drawing {
    std::unique_ptr<AcDbDatabase> database = std::make_unique<AcDbDatabase>();
    AcDbObjectIdArray ids;
};

std::unique_ptr<Drawing> mixedDrawing() {
    auto drawing = std::make_unique<Drawing>();
    AcDbDatabase& database = *drawing->database;
    const AcDbObjectId door = addDoorBlock(database);
    AcDbBlockTableRecord* model = nullptr;
    cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite);
    for (int index = 0; index < kEntities; ++index) {
        AcDbEntity* entity = mixedEntity(index, door);
        AcDbObjectId id;
        if (model->appendAcDbEntity(id, entity) == Acad::eOk) {
            entity->close();
            drawing->ids.push_back(id);
        }
    }
    model->close();
    return drawing;
}

// The host's current drawing for the module's code; command-line output goes nowhere.
struct HostContext {
    explicit HostContext(AcDbDatabase& database) {
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
    }
    ~HostContext() { cad::ed::setCurrentEditor(nullptr); }
    cad::ed::EditorState editor;
    cad::ed::QueuedCommandLine output;
    cad::ed::ScopedCommandLine outputScope{output};
};

// The batch edit's mirror of every entity, as one undo step when the drawing records undo.
void mirrorStep(cad::db::UndoLog* log, const AcDbObjectIdArray& ids) {
    CExtendCommand command;
    command.m_bHasCmd = 1;
    command.m_bHasPrompt = 0;
    command.m_nDoType = CExtendCommand::kMirror;
    command.m_nPosIndex = 4;
    command.m_dAxiusA = 30.0;
    command.SetIdArray(ids);
    if (log != nullptr) {
        log->beginStep(L"QS");
    }
    command.Run();
    if (log != nullptr) {
        log->endStep();
    }
}

// A new drawing made current; called while the clock stands, so the previous drawing goes then too.
class Session {
public:
    cad::db::UndoLog* fresh(bool recording) {
        m_host.reset();
        m_drawing = mixedDrawing();
        m_host = std::make_unique<HostContext>(*m_drawing->database);
        return recording ? &m_drawing->database->enableUndo() : nullptr;
    }
    const AcDbObjectIdArray& ids() const { return m_drawing->ids; }

private:
    std::unique_ptr<Drawing> m_drawing;
    std::unique_ptr<HostContext> m_host;
};

// Argument 1: with undo recording; 0: the same edit in a drawing that does not record, for comparison.
void mirrorOfMixedEntities(benchmark::State& state) {
    Session session;
    std::size_t stepBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cad::db::UndoLog* log = session.fresh(state.range(0) != 0);
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        mirrorStep(log, session.ids());
        state.PauseTiming();
        stepBytes = mallinfo2().uordblks - before;
        state.ResumeTiming();
    }
    state.counters["step_bytes"] = static_cast<double>(stepBytes);
    state.counters["bytes_per_entity"] = static_cast<double>(stepBytes) / kEntities;
}
BENCHMARK(mirrorOfMixedEntities)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void undoOfTheMirror(benchmark::State& state) {
    Session session;
    std::size_t recorded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cad::db::UndoLog* log = session.fresh(true);
        mirrorStep(log, session.ids());
        recorded = log->newestStepObjectCount();
        state.ResumeTiming();
        log->undo(1);
    }
    state.counters["objects_in_step"] = static_cast<double>(recorded);
}
BENCHMARK(undoOfTheMirror)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
