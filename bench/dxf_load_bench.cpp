// Load and save throughput of the drawing database on a generated drawing of 1,000,000 mixed entities
// (about 150 MB of ASCII DXF, written once into the temporary folder), with the memory the loaded
// drawing takes per entity, and the load time of the same file in ezdxf for comparison.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "mixed_drawing.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <string>

namespace {

constexpr int kEntityCount = 1000000;

std::filesystem::path generatedPath(const char* suffix) {
    return std::filesystem::temp_directory_path() / (std::string("quelto_bench_1m") + suffix);
}

// Writes the ASCII and binary copies once per run.
void ensureGenerated() {
    static bool done = false;
    if (done) {
        return;
    }
    AcDbDatabase database;
    benchdrawing::appendMixedEntities(database, kEntityCount);
    cad::dxf::TagError error;
    database.writeDxf(generatedPath(".dxf"), {}, error);
    cad::db::SaveOptions binary;
    binary.format = cad::dxf::DxfFormat::Binary;
    database.writeDxf(generatedPath("_binary.dxf"), binary, error);
    done = true;
}

// Heap bytes in use: freed memory that the allocator keeps does not count, unlike the resident size.
double heapBytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

void loadBenchmark(benchmark::State& state, const char* suffix, bool twoThreads = true) {
    ensureGenerated();
    const std::filesystem::path path = generatedPath(suffix);
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    double memoryPerEntity = 0.0;
    for (auto _ : state) {
        const double before = heapBytesInUse();
        auto database = std::make_unique<AcDbDatabase>(false);
        cad::dxf::TagError error;
        cad::db::DxfReadOptions options;
        options.entitiesOnTwoThreads = twoThreads;
        if (!database->readDxf(path, error, options)) {
            state.SkipWithError(error.toString().c_str());
        }
        memoryPerEntity = (heapBytesInUse() - before) / kEntityCount;
        benchmark::DoNotOptimize(database->objectCount());
        state.PauseTiming();
        database.reset();
        state.ResumeTiming();
    }
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6 * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.counters["entities/s"] =
        benchmark::Counter(static_cast<double>(kEntityCount) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["heap_bytes_per_entity"] = memoryPerEntity;
    state.counters["heap_over_file"] = memoryPerEntity * kEntityCount / bytes;
}

void BM_LoadAscii(benchmark::State& state) {
    loadBenchmark(state, ".dxf");
}
void BM_LoadBinary(benchmark::State& state) {
    loadBenchmark(state, "_binary.dxf");
}
// The same on the loader's thread alone, for comparison.
void BM_LoadAsciiOneThread(benchmark::State& state) {
    loadBenchmark(state, ".dxf", false);
}
void BM_LoadBinaryOneThread(benchmark::State& state) {
    loadBenchmark(state, "_binary.dxf", false);
}

void BM_SaveAscii(benchmark::State& state) {
    ensureGenerated();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    database.readDxf(generatedPath(".dxf"), error);
    const std::filesystem::path target = generatedPath("_saved.dxf");
    for (auto _ : state) {
        if (!database.writeDxf(target, {}, error)) {
            state.SkipWithError(error.toString().c_str());
        }
    }
    const auto bytes = static_cast<double>(std::filesystem::file_size(target));
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6 * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    std::filesystem::remove(target);
}

// ezdxf's load time of the same file, measured once (one process run) for the report.
void BM_EzdxfLoadOnce(benchmark::State& state) {
    ensureGenerated();
    const std::string command = "/usr/bin/python3 -c \"import ezdxf; ezdxf.readfile('" +
                                generatedPath(".dxf").string() + "')\" 2>/dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("ezdxf not available");
        }
        state.counters["seconds"] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
}

} // namespace

// Loading uses a second thread for large sections: rates are per wall-clock second.
BENCHMARK(BM_LoadAscii)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadAsciiOneThread)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadBinaryOneThread)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SaveAscii)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_EzdxfLoadOnce)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
