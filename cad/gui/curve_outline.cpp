// Sampling of arcs, ellipses, splines and polylines, and the edges of meshes. Arcs and ellipses take
// their chord count from the sagitta bound; splines are sampled evenly in parameter with a count that
// grows with their size.

#include "cad/gui/curve_outline.h"

#include "cad/db/curve_entities.h"
#include "cad/db/curve_geometry.h"
#include "cad/db/sub_entities.h"
#include "cad/gui/entity_data.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <set>
#include <utility>
#include <variant>

namespace cad::gui {
namespace {

constexpr int kMaximumSegments = 1024;

QPointF planar(const AcGePoint3d& point) {
    return {point.x, point.y};
}

void appendPoint(QPolygonF& points, const QPointF& point) {
    if (points.isEmpty() || points.back() != point) {
        points.append(point);
    }
}

// The visible edges of a polyface mesh, face by face, each edge once. A face record lists up to four
// 1-based vertex numbers in groups 71 to 74; a negative number hides the edge that starts at that
// vertex, and 0 ends a triangle.
std::vector<QPolygonF> polyfaceEdges(const AcDbPolylineEntity& polyline) {
    std::vector<QPointF> positions;
    std::vector<std::vector<std::int64_t>> faces;
    db::forEachSubEntity(polyline, [&](const AcDbEntity& child) {
        const AcDbVertex* vertex = AcDbVertex::cast(&child);
        if (vertex == nullptr) {
            return;
        }
        if ((vertex->vertexFlags() & 192) == 192) {
            positions.push_back(planar(vertex->position()));
        } else if ((vertex->vertexFlags() & 192) == 128) {
            std::vector<std::int64_t>& face = faces.emplace_back();
            for (const dxf::OwnedTag& tag : vertex->extraTags()) {
                if (tag.code >= 71 && tag.code <= 74 && tag.integer != 0) {
                    face.push_back(tag.integer);
                }
            }
        }
    });
    std::vector<QPolygonF> edges;
    std::set<std::pair<std::int64_t, std::int64_t>> drawn;
    const auto valid = [&](std::int64_t number) {
        return number >= 1 && number <= static_cast<std::int64_t>(positions.size());
    };
    for (const std::vector<std::int64_t>& face : faces) {
        for (std::size_t index = 0; index < face.size(); ++index) {
            const std::int64_t from = face[index];
            const std::int64_t to = std::llabs(face[(index + 1) % face.size()]);
            if (from < 0 || !valid(from) || !valid(to) || from == to ||
                !drawn.insert(std::minmax(from, to)).second) {
                continue;
            }
            edges.push_back(QPolygonF({positions[static_cast<std::size_t>(from - 1)],
                                       positions[static_cast<std::size_t>(to - 1)]}));
        }
    }
    return edges;
}

// The lines of a polygon mesh: M rows of N vertices, each row joined along N and each column along M,
// closed round where flags 1 (M) and 32 (N) say. A smoothed mesh lists its surface vertices, so their
// count is the smoothed sizes (73, 74); a list that fits neither size is joined in order.
std::vector<QPolygonF> polygonMeshEdges(const AcDbPolylineEntity& mesh) {
    std::vector<QPointF> positions;
    for (const AcDbVertex* vertex : db::polylineVertices(mesh)) {
        positions.push_back(planar(vertex->position()));
    }
    std::map<int, double> sizes = groupNumbers(mesh, {71, 72, 73, 74});
    std::size_t rows = static_cast<std::size_t>(std::max(sizes[71], 0.0));
    std::size_t columns = static_cast<std::size_t>(std::max(sizes[72], 0.0));
    if (rows * columns != positions.size()) {
        rows = static_cast<std::size_t>(std::max(sizes[73], 0.0));
        columns = static_cast<std::size_t>(std::max(sizes[74], 0.0));
    }
    if (rows == 0 || columns == 0 || rows * columns != positions.size()) {
        return {QPolygonF(QList<QPointF>(positions.begin(), positions.end()))};
    }
    const auto at = [&](std::size_t row, std::size_t column) { return positions[row * columns + column]; };
    std::vector<QPolygonF> lines;
    for (std::size_t row = 0; row < rows; ++row) {
        QPolygonF& line = lines.emplace_back();
        for (std::size_t column = 0; column < columns; ++column) {
            line << at(row, column);
        }
        if ((mesh.polylineFlags() & 32) != 0) {
            line << at(row, 0);
        }
    }
    for (std::size_t column = 0; column < columns; ++column) {
        QPolygonF& line = lines.emplace_back();
        for (std::size_t row = 0; row < rows; ++row) {
            line << at(row, column);
        }
        if ((mesh.polylineFlags() & 1) != 0) {
            line << at(0, column);
        }
    }
    return lines;
}

} // namespace

int arcSegmentCount(double radius, double sweep, double tolerance) {
    if (radius <= 0.0 || tolerance <= 0.0) {
        return 8;
    }
    const double ratio = std::clamp(1.0 - tolerance / radius, -1.0, 1.0);
    const double step = 2.0 * std::acos(ratio);
    if (step <= 0.0) {
        return kMaximumSegments;
    }
    return std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 2, kMaximumSegments);
}

void appendArc(QPolygonF& points, const ge::CircularArc& arc, double tolerance) {
    const double sweep = arc.fullCircle ? 2.0 * std::numbers::pi : ge::sweepAngle(arc);
    const int count = arcSegmentCount(arc.radius, sweep, tolerance);
    for (int index = 0; index <= count; ++index) {
        appendPoint(points, planar(ge::pointAtAngle(arc, arc.startAngle + sweep * index / count)));
    }
}

void appendEllipse(QPolygonF& points, const ge::EllipseArc& ellipse, double tolerance) {
    const double sweep = ge::parameterSweep(ellipse);
    const double radius = ellipse.majorAxis.length();
    const int count = arcSegmentCount(radius, sweep, tolerance);
    for (int index = 0; index <= count; ++index) {
        appendPoint(points, planar(ge::pointAtParam(ellipse, ellipse.startParam + sweep * index / count)));
    }
}

void appendNurbs(QPolygonF& points, const ge::NurbsCurve& curve, double tolerance) {
    const std::optional<ge::NurbsCurve> form = ge::controlPointForm(curve);
    if (!form || form->controlPoints.empty()) {
        for (const AcGePoint3d& point : curve.fitPoints) {
            appendPoint(points, planar(point));
        }
        return;
    }
    double polygonLength = 0.0;
    for (std::size_t index = 1; index < form->controlPoints.size(); ++index) {
        polygonLength += (form->controlPoints[index] - form->controlPoints[index - 1]).length();
    }
    const int spans = static_cast<int>(form->controlPoints.size());
    const int count =
        std::clamp(static_cast<int>(std::sqrt(polygonLength / std::max(tolerance, 1e-12)) * 2.0), spans * 4,
                   kMaximumSegments);
    const double start = ge::startParameter(*form);
    const double end = ge::endParameter(*form);
    for (int index = 0; index <= count; ++index) {
        if (const std::optional<AcGePoint3d> point =
                ge::pointAtParameter(*form, start + (end - start) * index / count)) {
            appendPoint(points, planar(*point));
        }
    }
}

void appendBulgePolyline(QPolygonF& points, const ge::BulgePolyline& polyline, double tolerance) {
    for (const ge::PolylineSegment& segment : ge::explodeSegments(polyline)) {
        if (const auto* line = std::get_if<ge::LineSegment>(&segment)) {
            appendPoint(points, planar(line->start));
            appendPoint(points, planar(line->end));
            continue;
        }
        const auto& arc = std::get<ge::CircularArc>(segment);
        QPolygonF piece;
        appendArc(piece, arc, tolerance);
        // Arcs of negative bulge come out reversed (counter-clockwise from their end): keep the path's
        // direction so the next segment continues where this one ends.
        if (!points.isEmpty() && !piece.isEmpty() &&
            QLineF(points.back(), piece.back()).length() < QLineF(points.back(), piece.front()).length()) {
            std::reverse(piece.begin(), piece.end());
        }
        for (const QPointF& point : piece) {
            appendPoint(points, point);
        }
    }
    if (polyline.vertices.size() == 1) {
        const AcGePoint2d& only = polyline.vertices.front().point;
        appendPoint(points, QPointF(only.x, only.y));
    }
}

std::vector<QPolygonF> curveOutlines(const AcDbEntity& entity, double tolerance) {
    std::vector<QPolygonF> outlines(1);
    QPolygonF& points = outlines.front();
    if (const auto* line = AcDbLine::cast(&entity)) {
        points << planar(line->startPoint()) << planar(line->endPoint());
    } else if (const auto* arc = AcDbArc::cast(&entity)) {
        appendArc(points, db::arcGeometry(*arc), tolerance);
    } else if (const auto* circle = AcDbCircle::cast(&entity)) {
        appendArc(points, db::circleGeometry(*circle), tolerance);
    } else if (const auto* ellipse = AcDbEllipse::cast(&entity)) {
        appendEllipse(points, db::ellipseGeometry(*ellipse), tolerance);
    } else if (const auto* lightweight = AcDbPolyline::cast(&entity)) {
        appendBulgePolyline(points, db::polylineGeometry(*lightweight), tolerance);
    } else if (const auto* spline = AcDbSpline::cast(&entity)) {
        appendNurbs(points, db::splineGeometry(*spline), tolerance);
    } else if (const auto* polyline = AcDbPolylineEntity::cast(&entity)) {
        switch (db::polylineKind(*polyline)) {
        case db::PolylineKind::Flat:
            appendBulgePolyline(points, db::flatPolylineGeometry(*polyline), tolerance);
            break;
        case db::PolylineKind::Spatial: {
            const ge::Polyline3d path = db::spatialPolylineGeometry(*polyline);
            for (const AcGePoint3d& point : path.points) {
                appendPoint(points, planar(point));
            }
            if (path.closed && !path.points.empty()) {
                points.append(planar(path.points.front()));
            }
            break;
        }
        case db::PolylineKind::PolyfaceMesh:
            return polyfaceEdges(*polyline);
        case db::PolylineKind::PolygonMesh:
            return polygonMeshEdges(*polyline);
        }
    } else {
        outlines.clear();
    }
    return outlines;
}

} // namespace cad::gui
