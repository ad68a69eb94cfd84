// Whole-drawing selection speed: acedSSGet "X" with a type + layer + colour filter over 1,000,000
// entities (lines, circles and points on 50 layers with 8 colours), built in memory once. The target is
// under 50 ms per selection in a Release build.

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/editor_state.h"
#include "cad/ed/selection_set.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

constexpr int kEntityCount = 1'000'000;

struct LargeDrawing {
    AcDbDatabase database;
    cad::ed::EditorState editor;

    LargeDrawing() {
        editor.database = &database;
        AcDbBlockTableRecord* space = nullptr;
        cad::db::openObjectAs(space, database.modelSpaceId(), AcDb::kForWrite);
        std::wstring layers[50];
        for (int index = 0; index < 50; ++index) {
            layers[index] = (index % 5 == 0 ? L"WALL-" : L"LAYER-") + std::to_wstring(index);
        }
        for (int index = 0; index < kEntityCount; ++index) {
            const double x = index % 1000;
            const double y = index / 1000;
            AcDbEntity* entity = nullptr;
            switch (index % 5) {
            case 0:
            case 1:
            case 2:
                entity = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 1, y + 1, 0));
                break;
            case 3:
                entity = new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d(0, 0, 1), 0.5);
                break;
            default:
                entity = new AcDbPoint(AcGePoint3d(x, y, 0));
                break;
            }
            entity->setLayer(layers[(index / 7) % 50].c_str());
            const int colour = index % 8;
            entity->setColorIndex(static_cast<Adesk::UInt16>(colour == 0 ? 256 : colour));
            space->appendAcDbEntity(entity);
            entity->close();
        }
        space->close();
    }
};

LargeDrawing& drawing() {
    static LargeDrawing shared;
    return shared;
}

void selectLinesOnWallLayersInRed(benchmark::State& state) {
    LargeDrawing& large = drawing();
    cad::ed::setCurrentEditor(&large.editor);
    resbuf* filter = acutBuildList(RTDXF0, L"LINE", 8, L"WALL*", 62, 1, 0);
    std::int32_t selected = 0;
    for (auto _ : state) {
        ads_name set;
        if (acedSSGet(L"X", nullptr, nullptr, filter, set) == RTNORM) {
            acedSSLength(set, &selected);
            acedSSFree(set);
        }
        benchmark::DoNotOptimize(selected);
    }
    acutRelRb(filter);
    state.counters["selected"] = selected;
    state.counters["entities/s"] = benchmark::Counter(static_cast<double>(kEntityCount) * state.iterations(),
                                                      benchmark::Counter::kIsRate);
    cad::ed::setCurrentEditor(nullptr);
}
BENCHMARK(selectLinesOnWallLayersInRed)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void selectWithColourOperatorAndOrGroup(benchmark::State& state) {
    LargeDrawing& large = drawing();
    cad::ed::setCurrentEditor(&large.editor);
    resbuf* filter = acutBuildList(-4, L"<OR", RTDXF0, L"LINE", RTDXF0, L"CIRCLE", -4, L"OR>", 8, L"LAYER-1#",
                                   -4, L"<=", 62, 3, 0);
    std::int32_t selected = 0;
    for (auto _ : state) {
        ads_name set;
        if (acedSSGet(L"X", nullptr, nullptr, filter, set) == RTNORM) {
            acedSSLength(set, &selected);
            acedSSFree(set);
        }
        benchmark::DoNotOptimize(selected);
    }
    acutRelRb(filter);
    state.counters["selected"] = selected;
    cad::ed::setCurrentEditor(nullptr);
}
BENCHMARK(selectWithColourOperatorAndOrGroup)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
