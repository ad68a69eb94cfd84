// Extents of 1,000,000 mixed primitives (lines, arcs, circles, bulged polylines, ellipses, text), the work
// behind a visual-size criterion over a large drawing. The primitives are built once, outside the timing.
#include "cad/ge/circular_arc.h"
#include "cad/ge/ellipse_arc.h"
#include "cad/ge/linear_curves.h"
#include "cad/ge/polyline_path.h"
#include "cad/ge/text_metrics.h"

#include <benchmark/benchmark.h>
#include <random>
#include <variant>
#include <vector>

namespace {

using Primitive = std::variant<cad::ge::LineSegment, cad::ge::CircularArc, cad::ge::BulgePolyline,
                               cad::ge::EllipseArc, cad::ge::TextLayout>;

std::vector<Primitive> makePrimitives(size_t count) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
    std::uniform_real_distribution<double> size(0.5, 50.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    std::uniform_real_distribution<double> bulge(-1.5, 1.5);
    std::vector<Primitive> primitives;
    primitives.reserve(count);
    for (size_t index = 0; index < count; ++index) {
        const AcGePoint3d at(coordinate(random), coordinate(random), 0.0);
        switch (index % 6) {
        case 0:
            primitives.emplace_back(cad::ge::LineSegment{at, {coordinate(random), coordinate(random), 0.0}});
            break;
        case 1:
            primitives.emplace_back(cad::ge::CircularArc{at, size(random), angle(random), angle(random),
                                                         AcGeVector3d::kZAxis, false});
            break;
        case 2:
            primitives.emplace_back(cad::ge::makeCircle(at, size(random)));
            break;
        case 3: {
            cad::ge::BulgePolyline polyline;
            polyline.closed = index % 12 == 3;
            for (int vertex = 0; vertex < 6; ++vertex) {
                polyline.vertices.push_back(
                    {{at.x + size(random), at.y + size(random)}, vertex % 2 == 0 ? bulge(random) : 0.0});
            }
            primitives.emplace_back(polyline);
            break;
        }
        case 4: {
            cad::ge::EllipseArc ellipse;
            ellipse.center = at;
            const double direction = angle(random);
            const double radius = size(random);
            ellipse.majorAxis.set(radius * std::cos(direction), radius * std::sin(direction), 0.0);
            ellipse.radiusRatio = 0.4;
            ellipse.startParam = angle(random);
            ellipse.endParam = angle(random);
            primitives.emplace_back(ellipse);
            break;
        }
        default: {
            cad::ge::TextLayout text;
            text.text = L"Quelto 快速选择 12.5";
            text.height = size(random) / 10.0;
            text.rotation = angle(random);
            text.horizontal = cad::ge::TextHorizontalMode::Center;
            text.vertical = cad::ge::TextVerticalMode::Middle;
            text.position = at;
            text.alignmentPoint = at;
            primitives.emplace_back(text);
            break;
        }
        }
    }
    return primitives;
}

AcDbExtents extentsOf(const Primitive& primitive) {
    struct Visitor {
        AcDbExtents operator()(const cad::ge::LineSegment& line) const { return cad::ge::extents(line); }
        AcDbExtents operator()(const cad::ge::CircularArc& arc) const { return cad::ge::extents(arc); }
        AcDbExtents operator()(const cad::ge::BulgePolyline& polyline) const {
            return cad::ge::extents(polyline).box;
        }
        AcDbExtents operator()(const cad::ge::EllipseArc& ellipse) const { return cad::ge::extents(ellipse); }
        AcDbExtents operator()(const cad::ge::TextLayout& text) const {
            return cad::ge::textExtents(text, cad::ge::TextWidthFactor::AppliedTwice).box;
        }
    };
    return std::visit(Visitor{}, primitive);
}

void extentsOfAMillionMixedPrimitives(benchmark::State& state) {
    const std::vector<Primitive> primitives = makePrimitives(1000000);
    for (auto _ : state) {
        AcDbExtents drawing;
        for (const Primitive& primitive : primitives) {
            drawing.addExt(extentsOf(primitive));
        }
        benchmark::DoNotOptimize(drawing);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(primitives.size()));
}

BENCHMARK(extentsOfAMillionMixedPrimitives)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
