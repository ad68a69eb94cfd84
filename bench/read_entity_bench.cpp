// Reading the property values of every entity of the generated 1,000,000-entity drawing with the
// catalogue, as quelto-props does: once with the settings given, and once through the settings store
// for every entity, as a template read does.
#include "mixed_drawing.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/qlt_system_param.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kEntityCount = 1000000;

struct Drawing {
    AcDbDatabase database;
    cad::ed::EditorState editor;
    std::vector<AcDbObjectId> entities;
};

// Built once; the host's current drawing for the whole run, in a settings folder of its own.
Drawing& drawing() {
    static std::unique_ptr<Drawing> shared = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "quelto-read-bench-XXXXXX").string();
        ::setenv("QUELTO_REGISTRY_DIR", ::mkdtemp(folder.data()), 1);
        CQLTSystemParam().SetHasFreedom(0);
        auto made = std::make_unique<Drawing>();
        benchdrawing::appendMixedEntities(made->database, kEntityCount);
        made->editor.database = &made->database;
        cad::ed::setCurrentEditor(&made->editor);
        const auto* model =
            AcDbBlockTableRecord::cast(made->database.peekObject(made->database.modelSpaceId()));
        made->entities = model->entityIds();
        return made;
    }();
    return *shared;
}

// User coordinates on (the default): every point goes through the host's world-to-user conversion.
void BM_ReadEntityAllSettingsGiven(benchmark::State& state) {
    Drawing& shared = drawing();
    CInfoMapList catalogue;
    const BOOL userCoordinates = static_cast<BOOL>(state.range(0));
    for (auto _ : state) {
        for (const AcDbObjectId& id : shared.entities) {
            catalogue.ReadEntity(id, userCoordinates, FALSE);
        }
        benchmark::DoNotOptimize(catalogue.FindEntityInfo(L"LINE", 0)->props[0].value);
    }
    state.counters["entities/s"] = benchmark::Counter(static_cast<double>(shared.entities.size()) *
                                                          static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

void BM_ReadEntityAllSettingsFromStore(benchmark::State& state) {
    Drawing& shared = drawing();
    CInfoMapList catalogue;
    for (auto _ : state) {
        for (const AcDbObjectId& id : shared.entities) {
            catalogue.ReadEntity(id);
        }
        benchmark::DoNotOptimize(catalogue.FindEntityInfo(L"LINE", 0)->props[0].value);
    }
    state.counters["entities/s"] = benchmark::Counter(static_cast<double>(shared.entities.size()) *
                                                          static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_ReadEntityAllSettingsGiven)
    ->ArgName("userCoordinates")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(BM_ReadEntityAllSettingsFromStore)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_MAIN();
