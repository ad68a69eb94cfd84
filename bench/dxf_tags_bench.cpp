// Throughput of the DXF tag layer on a generated drawing of 1,000,000 mixed entities (about 150 MB as
// ASCII): saving through the file writer, and tokenising ASCII and binary. The drawing is generated into
// the temporary folder by the save benchmarks (or on first use) and never kept in the repository.
// QUELTO_BENCH_ENTITIES changes the entity count for quick runs.
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/tag_writer.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

using cad::dxf::DxfFormat;

int entityCount() {
    const char* value = std::getenv("QUELTO_BENCH_ENTITIES");
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : 1000000;
}

std::filesystem::path drawingPath(DxfFormat format) {
    return std::filesystem::temp_directory_path() / (format == DxfFormat::Ascii
                                                         ? "quelto_dxf_tags_bench_ascii.dxf"
                                                         : "quelto_dxf_tags_bench_binary.dxf");
}

// Coordinates as drafting produces them: a few thousand units, millimetre fractions. They are drawn in
// advance and cycled, so that the save benchmarks measure the writer rather than the random generator.
class Coordinates {
public:
    Coordinates() {
        std::mt19937_64 engine{20240601};
        std::uniform_real_distribution<double> distribution{-5000.0, 5000.0};
        for (double& value : m_values) {
            value = std::round(distribution(engine) * 1000.0) / 1000.0;
        }
        for (unsigned& value : m_choices) {
            value = static_cast<unsigned>(engine());
        }
    }
    double next() { return m_values[m_nextValue++ % m_values.size()]; }
    int pick(int count) { return static_cast<int>(m_choices[m_nextChoice++ % m_choices.size()] % count); }

private:
    std::array<double, 4093> m_values{};
    std::array<unsigned, 1021> m_choices{};
    std::size_t m_nextValue = 0;
    std::size_t m_nextChoice = 0;
};

void writeCommon(cad::dxf::TagWriter& writer, const char* type, unsigned handle, Coordinates& random) {
    static const char* const kLayers[] = {"0", "WALLS", "DOORS", "TEXT", "DIMENSIONS", "HATCH"};
    char handleText[16];
    std::snprintf(handleText, sizeof handleText, "%X", handle);
    writer.writeString(0, type);
    writer.writeString(5, handleText);
    writer.writeString(330, "1F");
    writer.writeString(100, "AcDbEntity");
    writer.writeString(8, kLayers[random.pick(6)]);
    writer.writeInteger(62, random.pick(256));
}

// LINE, CIRCLE, ARC, LWPOLYLINE, TEXT and INSERT in equal parts, with the subclass markers R2000 writes.
void writeDrawing(cad::dxf::TagWriter& writer, int entities) {
    Coordinates random;
    writer.writeString(0, "SECTION");
    writer.writeString(2, "HEADER");
    writer.writeString(9, "$ACADVER");
    writer.writeString(1, "AC1015");
    writer.writeString(9, "$DWGCODEPAGE");
    writer.writeString(3, "ANSI_1252");
    writer.writeString(0, "ENDSEC");
    writer.writeString(0, "SECTION");
    writer.writeString(2, "ENTITIES");
    for (int index = 0; index < entities; ++index) {
        const auto handle = static_cast<unsigned>(0x100 + index);
        switch (index % 6) {
        case 0:
            writeCommon(writer, "LINE", handle, random);
            writer.writeString(100, "AcDbLine");
            writer.writePoint(10, random.next(), random.next(), 0.0);
            writer.writePoint(11, random.next(), random.next(), 0.0);
            break;
        case 1:
            writeCommon(writer, "CIRCLE", handle, random);
            writer.writeString(100, "AcDbCircle");
            writer.writePoint(10, random.next(), random.next(), 0.0);
            writer.writeDouble(40, std::fabs(random.next()));
            break;
        case 2:
            writeCommon(writer, "ARC", handle, random);
            writer.writeString(100, "AcDbCircle");
            writer.writePoint(10, random.next(), random.next(), 0.0);
            writer.writeDouble(40, std::fabs(random.next()));
            writer.writeString(100, "AcDbArc");
            writer.writeDouble(50, random.pick(360));
            writer.writeDouble(51, random.pick(360));
            break;
        case 3:
            writeCommon(writer, "LWPOLYLINE", handle, random);
            writer.writeString(100, "AcDbPolyline");
            writer.writeInteger(90, 4);
            writer.writeInteger(70, 1);
            for (int vertex = 0; vertex < 4; ++vertex) {
                writer.writePoint(10, random.next(), random.next());
            }
            break;
        case 4:
            writeCommon(writer, "TEXT", handle, random);
            writer.writeString(100, "AcDbText");
            writer.writePoint(10, random.next(), random.next(), 0.0);
            writer.writeDouble(40, 2.5);
            writer.writeString(1, "Room " + std::to_string(index));
            writer.writeString(100, "AcDbText");
            break;
        default:
            writeCommon(writer, "INSERT", handle, random);
            writer.writeString(100, "AcDbBlockReference");
            writer.writeString(2, "DOOR");
            writer.writePoint(10, random.next(), random.next(), 0.0);
            writer.writeDouble(50, random.pick(4) * 90.0);
            break;
        }
    }
    writer.writeString(0, "ENDSEC");
    writer.writeString(0, "EOF");
}

std::uint64_t saveDrawing(DxfFormat format) {
    cad::dxf::FileTagWriter writer(cad::dxf::WriterOptions{format, 1015, "\n", {}});
    cad::dxf::TagError error;
    if (!writer.open(drawingPath(format), error)) {
        return 0;
    }
    writeDrawing(writer, entityCount());
    return writer.commit(error) ? writer.bytesWritten() : 0;
}

void benchmarkSave(benchmark::State& state, DxfFormat format) {
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        bytes = saveDrawing(format);
        if (bytes == 0) {
            state.SkipWithError("cannot write the drawing into the temporary folder");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["entities/s"] =
        benchmark::Counter(static_cast<double>(entityCount()) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(bytes) / 1.0e6;
}

void benchmarkTokenise(benchmark::State& state, DxfFormat format) {
    const std::filesystem::path path = drawingPath(format);
    if (!std::filesystem::exists(path) && saveDrawing(format) == 0) {
        state.SkipWithError("cannot generate the drawing");
        return;
    }
    std::uint64_t bytes = 0;
    std::uint64_t tags = 0;
    for (auto _ : state) {
        cad::dxf::TagReader reader;
        cad::dxf::TagError error;
        if (!reader.openFile(path, error)) {
            state.SkipWithError(error.toString().c_str());
            return;
        }
        cad::dxf::Tag tag;
        std::uint64_t count = 0;
        double sum = 0.0;
        while (reader.next(tag)) {
            ++count;
            sum += tag.real;
        }
        benchmark::DoNotOptimize(sum);
        if (reader.failed()) {
            state.SkipWithError(reader.error().toString().c_str());
            return;
        }
        bytes = reader.size();
        tags = count;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["tags/s"] = benchmark::Counter(
        static_cast<double>(tags) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(bytes) / 1.0e6;
}

} // namespace

BENCHMARK_CAPTURE(benchmarkSave, ascii, DxfFormat::Ascii)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(benchmarkSave, binary, DxfFormat::Binary)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(benchmarkTokenise, ascii, DxfFormat::Ascii)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(benchmarkTokenise, binary, DxfFormat::Binary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
