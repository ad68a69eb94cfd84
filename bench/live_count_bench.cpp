// The main dialog's live count on the generated drawing of 1,000,000 mixed entities: the time from the
// last change of a criterion to the count shown (the pause after a change included), and the longest
// time one slice keeps the dialog's event loop busy, with the first slice (the host's selection) apart.
#include "bench/mixed_drawing.h"
#include "cad/app/host_api.h"
#include "cad/ed/editor_state.h"
#include "quelto/filter/filter.h"
#include "quelto/ui/live_count.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kEntityCount = 1000000;

struct GeneratedDrawing {
    AcDbDatabase database;
    cad::ed::EditorState editor;

    GeneratedDrawing() {
        const std::filesystem::path settings =
            std::filesystem::temp_directory_path() / "quelto_bench_settings";
        std::filesystem::create_directories(settings);
        ::setenv("QUELTO_REGISTRY_DIR", settings.c_str(), 1);
        benchdrawing::appendMixedEntities(database, kEntityCount);
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
    }
};

GeneratedDrawing& drawing() {
    static GeneratedDrawing generated;
    return generated;
}

// Lines on WALLS longer than 0.5: the host filter keeps 66,667 lines, the length row all of them.
CLiveCount::Criteria wallLines(const wchar_t* layer = L"WALLS", const wchar_t* length = L"0.5") {
    CLiveCount::Criteria criteria;
    criteria.record.m_bSelectFromAll = 1;
    criteria.record.m_bType = 1;
    criteria.record.m_strType = L"直线";
    criteria.record.m_bLayer = 1;
    criteria.record.m_strLayer = layer;
    criteria.record.m_arrPropId = {213};
    criteria.record.m_arrPropRow = {0};
    criteria.record.m_arrPropOp = {L">"};
    criteria.record.m_arrPropValue = {length};
    criteria.dxfName = L"LINE";
    return criteria;
}

// Each change alternates the layer (a host criterion: a new host selection) or, with the argument 1,
// the length row (the engine's: the candidates of the last host selection are reused).
void BM_LiveCountFromLastChangeToCountShown(benchmark::State& state) {
    drawing();
    const bool rowOnly = state.range(0) == 1;
    int change = 0;
    CLiveCount live([&change, rowOnly] {
        const bool odd = change % 2 == 1;
        return std::optional<CLiveCount::Criteria>(rowOnly ? wallLines(L"WALLS", odd ? L"0.55" : L"0.5")
                                                           : wallLines(odd ? L"DOORS" : L"WALLS"));
    });
    live.Changed();
    live.Finish();
    bool shown = false;
    QObject::connect(&live, &CLiveCount::TextChanged,
                     [&shown](const QString& text) { shown = text.startsWith(QStringLiteral("将选择")); });
    for (auto _ : state) {
        shown = false;
        ++change;
        live.Changed();
        while (!shown) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    state.counters["count"] = static_cast<double>(live.Finish().value_or(-1));
}

void BM_LiveCountSlices(benchmark::State& state) {
    drawing();
    double firstSlice = 0.0;
    double longestSlice = 0.0;
    double slices = 0.0;
    for (auto _ : state) {
        const CLiveCount::Criteria criteria = wallLines();
        CSlicedCount count(criteria.record, criteria.dxfName);
        slices = 0.0;
        longestSlice = 0.0;
        CSlicedCount::State sliceState = CSlicedCount::State::Counting;
        while (sliceState == CSlicedCount::State::Counting) {
            const auto start = std::chrono::steady_clock::now();
            sliceState = count.Step(CLiveCount::Slice);
            const double milliseconds =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (slices == 0.0) {
                firstSlice = milliseconds;
            } else {
                longestSlice = std::max(longestSlice, milliseconds);
            }
            ++slices;
        }
        benchmark::DoNotOptimize(count.Count());
    }
    state.counters["first_slice_ms"] = firstSlice;
    state.counters["longest_other_slice_ms"] = longestSlice;
    state.counters["slices"] = slices;
}

BENCHMARK(BM_LiveCountFromLastChangeToCountShown)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);
BENCHMARK(BM_LiveCountSlices)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
