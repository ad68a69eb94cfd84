// The second stage of a quick selection on a generated drawing of 1,000,000 mixed entities (a third of
// them lines of varied length and direction), loaded once: two property rows over every
// LINE combined by AND, and four rows combined by the expression "(A&B)|(C&D)". The same selections
// are timed in ezdxf (query plus a filter function, after loading) in one process run.
#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/ed/editor_state.h"
#include "quelto/filter/filter.h"
#include "quelto/matching/second_stage.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kEntityCount = 1000000;

std::filesystem::path drawingPath() {
    return std::filesystem::temp_directory_path() / "quelto_bench_matching_1m.dxf";
}

// A third of the entities are lines of 97 lengths from 0.2 to 1.16 in 360 directions; the others are
// circles, arcs, texts and lightweight polylines on five layers, as in the load benchmark's drawing.
AcDbEntity* makeEntity(int index) {
    const double x = index % 1000;
    const double y = index / 1000;
    if (index % 3 == 0) {
        const double length = 0.2 + (index % 97) / 100.0;
        const double angle = (index * 37 % 360) * 3.141592653589793 / 180.0;
        return new AcDbLine(AcGePoint3d(x, y, 0),
                            AcGePoint3d(x + length * std::cos(angle), y + length * std::sin(angle), 0));
    }
    if (index % 3 == 1) {
        return index % 2 == 0
                   ? static_cast<AcDbEntity*>(new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, 0.3))
                   : new AcDbArc(AcGePoint3d(x, y, 0), 0.4, 0.0, 1.5);
    }
    if (index % 2 == 0) {
        auto* text = new AcDbText();
        text->setPosition(AcGePoint3d(x, y, 0));
        text->setHeight(0.2);
        text->setTextString(L"Room 101");
        return text;
    }
    auto* polyline = new AcDbPolyline();
    polyline->addVertexAt(0, AcGePoint2d(x, y));
    polyline->addVertexAt(1, AcGePoint2d(x + 0.3, y + 0.1));
    return polyline;
}

void writeDrawing() {
    if (std::filesystem::exists(drawingPath())) {
        return;
    }
    AcDbDatabase database;
    AcDbBlockTableRecord* model = nullptr;
    cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite);
    const wchar_t* layers[] = {L"0", L"WALLS", L"DOORS", L"TEXT", L"DIMENSIONS"};
    for (int index = 0; index < kEntityCount; ++index) {
        AcDbEntity* entity = makeEntity(index);
        entity->setLayer(layers[index % 5]);
        AcDbObjectId id;
        model->appendAcDbEntity(id, entity);
        entity->close();
    }
    model->close();
    cad::dxf::TagError error;
    database.writeDxf(drawingPath(), {}, error);
}

struct LoadedDrawing {
    AcDbDatabase database{false};
    cad::ed::EditorState editor;
    bool loaded = false;

    LoadedDrawing() {
        // The default settings (user coordinates on, degrees, precision 0.0001), whatever the user's are.
        const std::filesystem::path settings =
            std::filesystem::temp_directory_path() / "quelto_bench_settings";
        std::filesystem::create_directories(settings);
        ::setenv("QUELTO_REGISTRY_DIR", settings.c_str(), 1);
        writeDrawing();
        cad::dxf::TagError error;
        loaded = database.readDxf(drawingPath(), error);
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
    }
};

LoadedDrawing& drawing() {
    static LoadedDrawing loaded;
    return loaded;
}

CFilter lineRecord(std::initializer_list<std::pair<int, std::pair<const wchar_t*, const wchar_t*>>> rows,
                   int logicMode, const wchar_t* expression) {
    CFilter filter;
    filter.m_bType = 1;
    int letter = 0;
    for (const auto& [id, operation] : rows) {
        filter.m_arrPropId.push_back(id);
        filter.m_arrPropRow.push_back(letter++);
        filter.m_arrPropOp.push_back(operation.first);
        filter.m_arrPropValue.push_back(operation.second);
    }
    filter.m_bLogic = logicMode != 0;
    filter.m_nLogicMode = logicMode;
    filter.m_strLogic = expression;
    return filter;
}

void runStage(benchmark::State& state, const CFilter& filter) {
    if (!drawing().loaded) {
        state.SkipWithError("the generated drawing did not load");
        return;
    }
    std::size_t selected = 0;
    for (auto _ : state) {
        quelto::matching::SecondStageResult result;
        quelto::matching::runSecondStage(filter, L"LINE", quelto::matching::CandidateScope::wholeDrawing(),
                                         false, result);
        selected = result.ids.size();
        acedSSFree(result.set);
    }
    state.counters["selected"] = static_cast<double>(selected);
}

// Length over 0.7 and direction below 180 degrees.
void BM_SecondStageTwoRowsAnd(benchmark::State& state) {
    runStage(state, lineRecord({{213, {L">", L"0.7"}}, {214, {L"<", L"180"}}}, 0, L""));
}

// The same two rows or the start point in the lower left quarter.
void BM_SecondStageFourRowsExpression(benchmark::State& state) {
    runStage(state,
             lineRecord(
                 {{213, {L">", L"0.7"}}, {214, {L"<", L"180"}}, {201, {L"<", L"500"}}, {202, {L"<", L"500"}}},
                 2, L"(A&B)|(C&D)"));
}

// ezdxf on the same file: load, then each selection timed on its own; the script prints the seconds and
// counts of both.
void BM_EzdxfSameSelections(benchmark::State& state) {
    writeDrawing();
    const std::string script = std::string(QUELTO_BENCH_SOURCE_DIR) + "/matching_bench_ezdxf.py";
    const std::string command = "/usr/bin/python3 '" + script + "' '" + drawingPath().string() + "'";
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        double twoRows = 0.0;
        double fourRows = 0.0;
        double twoCount = 0.0;
        double fourCount = 0.0;
        if (pipe == nullptr ||
            std::fscanf(pipe, "%lf %lf %lf %lf", &twoRows, &twoCount, &fourRows, &fourCount) != 4) {
            state.SkipWithError("ezdxf not available");
        }
        if (pipe != nullptr) {
            pclose(pipe);
        }
        state.counters["two_rows_s"] = twoRows;
        state.counters["two_rows_selected"] = twoCount;
        state.counters["four_rows_s"] = fourRows;
        state.counters["four_rows_selected"] = fourCount;
    }
}

} // namespace

BENCHMARK(BM_SecondStageTwoRowsAnd)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SecondStageFourRowsExpression)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_EzdxfSameSelections)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
