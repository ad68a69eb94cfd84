// Polyline paths: segment geometry from bulges, parameter arithmetic, areas, extents, explode, transforms.
#include "cad/ge/polyline_path.h"

#include "cad/ge/angle_sweep.h"
#include "cad/ge/ocs.h"

#include <algorithm>
#include <cmath>

namespace cad::ge {

namespace {

// The arc of a bulged segment in object coordinates: centre, radius, angle of the start and signed sweep.
struct BulgeArc {
    AcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0;
};

bool isArcSegment(const AcGePoint2d& from, const AcGePoint2d& to, double bulge) {
    return bulge != 0.0 && !from.isEqualTo(to);
}

BulgeArc bulgeArc(const AcGePoint2d& from, const AcGePoint2d& to, double bulge) {
    const AcGeVector2d chord = to - from;
    const AcGeVector2d leftOfChord(-chord.y, chord.x);
    const AcGePoint2d middle = from + chord * 0.5;
    BulgeArc arc;
    arc.sweep = 4.0 * std::atan(bulge);
    // Centre offset from the chord's middle: half chord times cot(sweep / 2) = (1 - b^2) / (2b).
    arc.center = middle + leftOfChord * ((1.0 - bulge * bulge) / (4.0 * bulge));
    arc.radius = arc.center.distanceTo(from);
    arc.startAngle = std::atan2(from.y - arc.center.y, from.x - arc.center.x);
    return arc;
}

const BulgeVertex& vertexAfter(const BulgePolyline& polyline, int segment) {
    return polyline.vertices[(static_cast<size_t>(segment) + 1) % polyline.vertices.size()];
}

double segmentLength(const BulgePolyline& polyline, int segment) {
    const BulgeVertex& from = polyline.vertices[static_cast<size_t>(segment)];
    const BulgeVertex& to = vertexAfter(polyline, segment);
    if (!isArcSegment(from.point, to.point, from.bulge)) {
        return from.point.distanceTo(to.point);
    }
    const BulgeArc arc = bulgeArc(from.point, to.point, from.bulge);
    return arc.radius * std::fabs(arc.sweep);
}

AcGePoint2d pointOnSegment(const BulgePolyline& polyline, int segment, double fraction) {
    const BulgeVertex& from = polyline.vertices[static_cast<size_t>(segment)];
    const BulgeVertex& to = vertexAfter(polyline, segment);
    if (!isArcSegment(from.point, to.point, from.bulge)) {
        return from.point + (to.point - from.point) * fraction;
    }
    const BulgeArc arc = bulgeArc(from.point, to.point, from.bulge);
    const double angle = arc.startAngle + arc.sweep * fraction;
    return {arc.center.x + arc.radius * std::cos(angle), arc.center.y + arc.radius * std::sin(angle)};
}

AcGePoint3d toWorld(const BulgePolyline& polyline, const AcGePoint2d& point) {
    return ocsToWcs(AcGePoint3d(point.x, point.y, polyline.elevation), polyline.normal);
}

// Splits a parameter into segment index and fraction; the end parameter belongs to the last segment.
std::optional<std::pair<int, double>> locate(double parameter, int segments) {
    constexpr double slack = 1e-12;
    if (segments <= 0 || parameter < -slack || parameter > segments + slack) {
        return std::nullopt;
    }
    const double clamped = std::clamp(parameter, 0.0, static_cast<double>(segments));
    const int segment = std::min(static_cast<int>(std::floor(clamped)), segments - 1);
    return std::make_pair(segment, clamped - segment);
}

} // namespace

int segmentCount(const BulgePolyline& polyline) {
    const int vertices = static_cast<int>(polyline.vertices.size());
    if (vertices < 2) {
        return 0;
    }
    return polyline.closed ? vertices : vertices - 1;
}

double endParameter(const BulgePolyline& polyline) {
    return segmentCount(polyline);
}

std::optional<AcGePoint3d> pointAtParameter(const BulgePolyline& polyline, double parameter) {
    if (polyline.vertices.size() == 1 && std::fabs(parameter) <= 1e-12) {
        return toWorld(polyline, polyline.vertices.front().point);
    }
    const auto located = locate(parameter, segmentCount(polyline));
    if (!located) {
        return std::nullopt;
    }
    return toWorld(polyline, pointOnSegment(polyline, located->first, located->second));
}

std::optional<double> distanceAtParameter(const BulgePolyline& polyline, double parameter) {
    if (polyline.vertices.size() == 1 && std::fabs(parameter) <= 1e-12) {
        return 0.0;
    }
    const auto located = locate(parameter, segmentCount(polyline));
    if (!located) {
        return std::nullopt;
    }
    double distance = 0.0;
    for (int segment = 0; segment < located->first; ++segment) {
        distance += segmentLength(polyline, segment);
    }
    return distance + segmentLength(polyline, located->first) * located->second;
}

double length(const BulgePolyline& polyline) {
    double total = 0.0;
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        total += segmentLength(polyline, segment);
    }
    return total;
}

double signedArea(const BulgePolyline& polyline) {
    const size_t count = polyline.vertices.size();
    if (count < 2) {
        return 0.0;
    }
    // Shoelace over the vertices (relative to the first, for precision far from the origin) plus, for every
    // arc, the circular segment between chord and arc: r^2/2 (sweep - sin sweep), signed with the sweep.
    const AcGePoint2d origin = polyline.vertices.front().point;
    double twiceArea = 0.0;
    for (size_t index = 0; index < count; ++index) {
        const AcGeVector2d from = polyline.vertices[index].point - origin;
        const AcGeVector2d to = polyline.vertices[(index + 1) % count].point - origin;
        twiceArea += from.x * to.y - to.x * from.y;
    }
    double arcs = 0.0;
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        const BulgeVertex& from = polyline.vertices[static_cast<size_t>(segment)];
        const BulgeVertex& to = vertexAfter(polyline, segment);
        if (isArcSegment(from.point, to.point, from.bulge)) {
            const BulgeArc arc = bulgeArc(from.point, to.point, from.bulge);
            arcs += 0.5 * arc.radius * arc.radius * (arc.sweep - std::sin(arc.sweep));
        }
    }
    return 0.5 * twiceArea + arcs;
}

double area(const BulgePolyline& polyline) {
    return std::fabs(signedArea(polyline));
}

bool isOnlyLines(const BulgePolyline& polyline) {
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        if (polyline.vertices[static_cast<size_t>(segment)].bulge != 0.0) {
            return false;
        }
    }
    return true;
}

ExtentsResult extents(const BulgePolyline& polyline) {
    if (polyline.vertices.empty()) {
        return ExtentsResult::empty();
    }
    const bool world = isWorldNormal(polyline.normal);
    const OcsAxes axes = ocsAxes(polyline.normal);
    const auto mapPoint = [&](double x, double y) {
        if (world) {
            return AcGePoint3d(x, y, polyline.elevation);
        }
        return AcGePoint3d::kOrigin + axes.xAxis * x + axes.yAxis * y + axes.zAxis * polyline.elevation;
    };
    AcDbExtents box;
    for (const BulgeVertex& vertex : polyline.vertices) {
        box.addPoint(mapPoint(vertex.point.x, vertex.point.y));
    }
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        const BulgeVertex& from = polyline.vertices[static_cast<size_t>(segment)];
        const BulgeVertex& to = vertexAfter(polyline, segment);
        if (!isArcSegment(from.point, to.point, from.bulge)) {
            continue;
        }
        const BulgeArc arc = bulgeArc(from.point, to.point, from.bulge);
        const double start = arc.sweep >= 0.0 ? arc.startAngle : arc.startAngle + arc.sweep;
        addSinusoidSweep(box, mapPoint(arc.center.x, arc.center.y), axes.xAxis * arc.radius,
                         axes.yAxis * arc.radius, start, std::fabs(arc.sweep));
    }
    return ExtentsResult::finite(box);
}

std::vector<PolylineSegment> explodeSegments(const BulgePolyline& polyline) {
    std::vector<PolylineSegment> segments;
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        const BulgeVertex& from = polyline.vertices[static_cast<size_t>(segment)];
        const BulgeVertex& to = vertexAfter(polyline, segment);
        if (from.point.isEqualTo(to.point)) {
            continue;
        }
        if (from.bulge == 0.0) {
            segments.emplace_back(LineSegment{toWorld(polyline, from.point), toWorld(polyline, to.point)});
            continue;
        }
        const BulgeArc bulged = bulgeArc(from.point, to.point, from.bulge);
        CircularArc arc;
        arc.center = toWorld(polyline, bulged.center);
        arc.radius = bulged.radius;
        arc.normal = polyline.normal.normal();
        const double endAngle = bulged.startAngle + bulged.sweep;
        arc.startAngle = normalizeAngle(bulged.sweep > 0.0 ? bulged.startAngle : endAngle);
        arc.endAngle = normalizeAngle(bulged.sweep > 0.0 ? endAngle : bulged.startAngle);
        segments.emplace_back(arc);
    }
    return segments;
}

std::optional<BulgePolyline> transformed(const BulgePolyline& polyline, const AcGeMatrix3d& transform) {
    if (!transform.isUniScaledOrtho()) {
        return std::nullopt;
    }
    BulgePolyline result = polyline;
    result.normal = (transform * polyline.normal).normal();
    const bool reflects = transform.det() < 0.0;
    for (size_t index = 0; index < polyline.vertices.size(); ++index) {
        const AcGePoint3d local =
            wcsToOcs(transform * toWorld(polyline, polyline.vertices[index].point), result.normal);
        result.vertices[index].point.set(local.x, local.y);
        result.vertices[index].bulge =
            reflects ? -polyline.vertices[index].bulge : polyline.vertices[index].bulge;
    }
    // Every vertex of a transformed planar outline shares one elevation; the plane's origin point gives it
    // even for a polyline without vertices.
    result.elevation = wcsToOcs(transform * toWorld(polyline, AcGePoint2d::kOrigin), result.normal).z;
    return result;
}

int segmentCount(const Polyline3d& polyline) {
    const int points = static_cast<int>(polyline.points.size());
    if (points < 2) {
        return 0;
    }
    return polyline.closed ? points : points - 1;
}

double endParameter(const Polyline3d& polyline) {
    return segmentCount(polyline);
}

std::optional<AcGePoint3d> pointAtParameter(const Polyline3d& polyline, double parameter) {
    if (polyline.points.size() == 1 && std::fabs(parameter) <= 1e-12) {
        return polyline.points.front();
    }
    const auto located = locate(parameter, segmentCount(polyline));
    if (!located) {
        return std::nullopt;
    }
    const AcGePoint3d& from = polyline.points[static_cast<size_t>(located->first)];
    const AcGePoint3d& to =
        polyline.points[(static_cast<size_t>(located->first) + 1) % polyline.points.size()];
    return from + (to - from) * located->second;
}

std::optional<double> distanceAtParameter(const Polyline3d& polyline, double parameter) {
    if (polyline.points.size() == 1 && std::fabs(parameter) <= 1e-12) {
        return 0.0;
    }
    const auto located = locate(parameter, segmentCount(polyline));
    if (!located) {
        return std::nullopt;
    }
    const size_t count = polyline.points.size();
    double distance = 0.0;
    for (int segment = 0; segment < located->first; ++segment) {
        distance += polyline.points[static_cast<size_t>(segment)].distanceTo(
            polyline.points[(static_cast<size_t>(segment) + 1) % count]);
    }
    const AcGePoint3d& from = polyline.points[static_cast<size_t>(located->first)];
    const AcGePoint3d& to = polyline.points[(static_cast<size_t>(located->first) + 1) % count];
    return distance + from.distanceTo(to) * located->second;
}

double length(const Polyline3d& polyline) {
    return distanceAtParameter(polyline, endParameter(polyline)).value_or(0.0);
}

double area(const Polyline3d& polyline) {
    const size_t count = polyline.points.size();
    if (count < 3) {
        return 0.0;
    }
    const AcGePoint3d& origin = polyline.points.front();
    AcGeVector3d twiceArea;
    for (size_t index = 1; index + 1 < count; ++index) {
        twiceArea += (polyline.points[index] - origin).crossProduct(polyline.points[index + 1] - origin);
    }
    return 0.5 * twiceArea.length();
}

ExtentsResult extents(const Polyline3d& polyline) {
    if (polyline.points.empty()) {
        return ExtentsResult::empty();
    }
    AcDbExtents box;
    for (const AcGePoint3d& point : polyline.points) {
        box.addPoint(point);
    }
    return ExtentsResult::finite(box);
}

std::vector<LineSegment> explodeSegments(const Polyline3d& polyline) {
    std::vector<LineSegment> segments;
    const size_t count = polyline.points.size();
    for (int segment = 0; segment < segmentCount(polyline); ++segment) {
        const AcGePoint3d& from = polyline.points[static_cast<size_t>(segment)];
        const AcGePoint3d& to = polyline.points[(static_cast<size_t>(segment) + 1) % count];
        if (!from.isEqualTo(to)) {
            segments.push_back({from, to});
        }
    }
    return segments;
}

} // namespace cad::ge
