// Extents of a million mixed entities (lines, circles, arcs, bulged polylines, ellipses, points and
// single-line text) taken from model space through AcDbEntity::getGeomExtents, as window selection and
// the matching engine's visual width and height ask for them.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/ge/extents.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

AcDbEntity* makeEntity(int index) {
    const double x = index % 1000;
    const double y = static_cast<double>(index / 1000);
    switch (index % 7) {
    case 0:
        return new AcDbLine(AcGePoint3d(x, y, 0.0), AcGePoint3d(x + 1.0, y + 0.5, 0.0));
    case 1:
        return new AcDbCircle(AcGePoint3d(x, y, 0.0), AcGeVector3d::kZAxis, 0.4);
    case 2:
        return new AcDbArc(AcGePoint3d(x, y, 0.0), 0.4, 5.9, 0.6);
    case 3: {
        auto* polyline = new AcDbPolyline();
        polyline->addVertexAt(0, AcGePoint2d(x, y));
        polyline->addVertexAt(1, AcGePoint2d(x + 1.0, y), 0.5);
        polyline->addVertexAt(2, AcGePoint2d(x + 1.0, y + 1.0));
        polyline->addVertexAt(3, AcGePoint2d(x, y + 1.0));
        polyline->setClosed(true);
        return polyline;
    }
    case 4: {
        auto* ellipse = new AcDbEllipse();
        ellipse->set(AcGePoint3d(x, y, 0.0), AcGeVector3d::kZAxis, AcGeVector3d(0.3, 0.3, 0.0), 0.5);
        return ellipse;
    }
    case 5:
        return new AcDbPoint(AcGePoint3d(x, y, 0.0));
    default: {
        auto* text = new AcDbText();
        text->setPosition(AcGePoint3d(x, y, 0.0));
        text->setHeight(0.25);
        text->setTextString(L"W-12");
        text->setRotation(0.3);
        return text;
    }
    }
}

std::unique_ptr<AcDbDatabase> mixedDrawing(int count) {
    auto database = std::make_unique<AcDbDatabase>();
    AcDbBlockTableRecord* model = nullptr;
    cad::db::openObjectAs(model, database->modelSpaceId(), AcDb::kForWrite);
    for (int index = 0; index < count; ++index) {
        AcDbEntity* entity = makeEntity(index);
        if (model->appendAcDbEntity(entity) == Acad::eOk) {
            entity->close();
        }
    }
    model->close();
    return database;
}

void extentsOfMixedEntities(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::unique_ptr<AcDbDatabase> database = mixedDrawing(count);
    const auto* model = AcDbBlockTableRecord::cast(database->peekObject(database->modelSpaceId()));
    for (auto _ : state) {
        AcDbExtents total;
        int measured = 0;
        for (const AcDbObjectId& id : model->entityIds()) {
            const AcDbEntity* entity = AcDbEntity::cast(database->peekObject(id));
            AcDbExtents extents;
            if (entity != nullptr && entity->getGeomExtents(extents) == Acad::eOk) {
                total.addExt(extents);
                ++measured;
            }
        }
        benchmark::DoNotOptimize(total);
        state.counters["measured"] = measured;
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(extentsOfMixedEntities)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
