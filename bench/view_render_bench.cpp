// The drawing view on the generated 1,000,000-entity drawing, rendered offscreen at 1600 x 1000 pixels:
// the time from a read database to the first picture (index built, zoomed to extents, drawn), and the
// redraw of a pan or zoom at four scales (the whole drawing down to a few rooms). Wall-clock times.
#include "cad/gui/scene_renderer.h"
#include "mixed_drawing.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

constexpr int kEntityCount = 1000000;
const QSize kDevice(1600, 1000);

std::filesystem::path generatedPath() {
    return std::filesystem::temp_directory_path() / "quelto_view_bench_1m.dxf";
}

void writeDrawing() {
    if (std::filesystem::exists(generatedPath())) {
        return;
    }
    AcDbDatabase database;
    benchdrawing::appendMixedEntities(database, kEntityCount);
    cad::dxf::TagError error;
    database.writeDxf(generatedPath(), {}, error);
}

struct Loaded {
    std::unique_ptr<AcDbDatabase> database;
    cad::gui::SpatialIndex index;
};

Loaded& loaded() {
    static Loaded drawing = [] {
        writeDrawing();
        Loaded result;
        result.database = std::make_unique<AcDbDatabase>(false);
        cad::dxf::TagError error;
        result.database->readDxf(generatedPath(), error);
        result.index.build(*result.database, result.database->modelSpaceId());
        return result;
    }();
    return drawing;
}

void render(const AcDbDatabase& database, const cad::gui::SpatialIndex& index,
            const cad::gui::ViewGeometry& view) {
    QImage image(kDevice, QImage::Format_RGB32);
    QPainter painter(&image);
    cad::gui::SceneRenderer renderer(database,
                                     [&](AcDbObjectId) -> const cad::gui::SpatialIndex& { return index; });
    renderer.render(painter, database.modelSpaceId(), view, kDevice, {});
}

// From a database just read to the first picture: the index, the extents view and one render.
void BM_FirstView(benchmark::State& state) {
    Loaded& drawing = loaded();
    for (auto _ : state) {
        cad::gui::SpatialIndex index;
        index.build(*drawing.database, drawing.database->modelSpaceId());
        render(*drawing.database, index, cad::gui::ViewGeometry::fitting(index.extents(), kDevice));
    }
}

// A pan or zoom: one redraw at the scale given by the argument (drawing units across the view).
void BM_Redraw(benchmark::State& state) {
    Loaded& drawing = loaded();
    cad::gui::ViewGeometry view;
    view.centerX = 500.0;
    view.centerY = 500.0;
    view.unitsPerPixel = static_cast<double>(state.range(0)) / kDevice.width();
    int step = 0;
    for (auto _ : state) {
        // Each redraw pans a little, as dragging with the middle button does.
        view.centerX = 500.0 + (step++ % 10) * view.unitsPerPixel * 20.0;
        render(*drawing.database, drawing.index, view);
    }
    state.counters["drawing_units_across"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_FirstView)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Redraw)->Arg(1100)->Arg(200)->Arg(40)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
