// Segments and arcs against an axis-aligned window: a segment by clipping it to the window, an arc by
// its end points and its meeting points with the window's four edges (an arc that neither ends inside
// nor meets an edge lies wholly inside or wholly outside, and wholly inside means its ends are inside).
#include "cad/ed/window_crossing.h"

#include "cad/db/curve_entities.h"
#include "platform/angle_units.h"

#include <cmath>
#include <numbers>

namespace cad::ed {
namespace {

using platform::kTwoPi;

struct Window {
    double low[2];
    double high[2];

    bool contains(double x, double y) const {
        return x >= low[0] && x <= high[0] && y >= low[1] && y <= high[1];
    }
};

// Liang-Barsky: the part of the segment inside the window is not empty.
bool segmentTouches(const Window& window, double x1, double y1, double x2, double y2) {
    double enter = 0.0;
    double leave = 1.0;
    const double delta[2] = {x2 - x1, y2 - y1};
    const double start[2] = {x1, y1};
    for (int axis = 0; axis < 2; ++axis) {
        if (delta[axis] == 0.0) {
            if (start[axis] < window.low[axis] || start[axis] > window.high[axis]) {
                return false;
            }
            continue;
        }
        double first = (window.low[axis] - start[axis]) / delta[axis];
        double second = (window.high[axis] - start[axis]) / delta[axis];
        if (first > second) {
            std::swap(first, second);
        }
        enter = std::max(enter, first);
        leave = std::min(leave, second);
        if (enter > leave) {
            return false;
        }
    }
    return true;
}

// The arc runs counter-clockwise from `start` through `sweep` radians (2 pi: the whole circle).
struct Arc {
    double centre[2];
    double radius;
    double start;
    double sweep;

    bool includesAngle(double angle) const {
        if (sweep >= kTwoPi) {
            return true;
        }
        double offset = std::fmod(angle - start, kTwoPi);
        if (offset < 0.0) {
            offset += kTwoPi;
        }
        constexpr double kAngleTolerance = 1e-12;
        return offset <= sweep + kAngleTolerance || offset >= kTwoPi - kAngleTolerance;
    }
};

bool arcTouches(const Window& window, const Arc& arc) {
    if (arc.radius <= 0.0) {
        return window.contains(arc.centre[0], arc.centre[1]);
    }
    if (arc.sweep < kTwoPi) {
        for (const double angle : {arc.start, arc.start + arc.sweep}) {
            if (window.contains(arc.centre[0] + arc.radius * std::cos(angle),
                                arc.centre[1] + arc.radius * std::sin(angle))) {
                return true;
            }
        }
    }
    // Meeting points with the edges x = low/high (axis 0) and y = low/high (axis 1).
    for (int axis = 0; axis < 2; ++axis) {
        const int other = 1 - axis;
        for (const double edge : {window.low[axis], window.high[axis]}) {
            const double across = edge - arc.centre[axis];
            if (std::fabs(across) > arc.radius) {
                continue;
            }
            const double along = std::sqrt(arc.radius * arc.radius - across * across);
            for (const double side : {-along, along}) {
                const double position = arc.centre[other] + side;
                if (position < window.low[other] || position > window.high[other]) {
                    continue;
                }
                const double angle = axis == 0 ? std::atan2(side, across) : std::atan2(across, side);
                if (arc.includesAngle(angle)) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool liesInPlan(const AcGeVector3d& normal) {
    constexpr double kTolerance = 1e-12;
    return std::fabs(normal.x) < kTolerance && std::fabs(normal.y) < kTolerance && normal.z > 0.0;
}

// A polyline segment with a bulge (the tangent of a quarter of its included angle, positive for
// counter-clockwise) as an arc.
Arc bulgeArc(const AcGePoint2d& from, const AcGePoint2d& to, double bulge) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double chord = std::hypot(dx, dy);
    // Distance of the centre from the chord's middle along its left normal.
    const double offset = chord * (1.0 - bulge * bulge) / (4.0 * bulge);
    const double centreX = (from.x + to.x) / 2.0 - dy / chord * offset;
    const double centreY = (from.y + to.y) / 2.0 + dx / chord * offset;
    const double radius = std::hypot(from.x - centreX, from.y - centreY);
    const double fromAngle = std::atan2(from.y - centreY, from.x - centreX);
    const double sweep = 4.0 * std::atan(std::fabs(bulge));
    const double start = bulge > 0.0 ? fromAngle : std::atan2(to.y - centreY, to.x - centreX);
    return Arc{{centreX, centreY}, radius, start, sweep};
}

std::optional<bool> polylineTouches(const Window& window, const AcDbPolyline& polyline) {
    if (!liesInPlan(polyline.normal())) {
        return std::nullopt;
    }
    const auto& vertices = polyline.vertices();
    if (vertices.size() == 1) {
        return window.contains(vertices.front().point.x, vertices.front().point.y);
    }
    const std::size_t segments = polyline.isClosed() ? vertices.size() : vertices.size() - 1;
    for (std::size_t index = 0; index < segments && vertices.size() >= 2; ++index) {
        const AcDbPolylineVertex& from = vertices[index];
        const AcDbPolylineVertex& to = vertices[(index + 1) % vertices.size()];
        const bool straight = from.bulge == 0.0 || (from.point.x == to.point.x && from.point.y == to.point.y);
        const bool touches = straight
                                 ? segmentTouches(window, from.point.x, from.point.y, to.point.x, to.point.y)
                                 : arcTouches(window, bulgeArc(from.point, to.point, from.bulge));
        if (touches) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<bool> touchesWindow(const AcDbEntity& entity, const double low[2], const double high[2]) {
    const Window window{{low[0], low[1]}, {high[0], high[1]}};
    if (const auto* line = AcDbLine::cast(&entity)) {
        const AcGePoint3d start = line->startPoint();
        const AcGePoint3d end = line->endPoint();
        return segmentTouches(window, start.x, start.y, end.x, end.y);
    }
    if (const auto* arc = AcDbArc::cast(&entity)) {
        if (!liesInPlan(arc->normal())) {
            return std::nullopt;
        }
        double sweep = std::fmod(arc->endAngle() - arc->startAngle(), kTwoPi);
        if (sweep <= 0.0) {
            sweep += kTwoPi;
        }
        const AcGePoint3d centre = arc->center();
        return arcTouches(window, Arc{{centre.x, centre.y}, arc->radius(), arc->startAngle(), sweep});
    }
    if (const auto* circle = AcDbCircle::cast(&entity)) {
        if (!liesInPlan(circle->normal())) {
            return std::nullopt;
        }
        const AcGePoint3d centre = circle->center();
        return arcTouches(window, Arc{{centre.x, centre.y}, circle->radius(), 0.0, kTwoPi});
    }
    if (const auto* polyline = AcDbPolyline::cast(&entity)) {
        return polylineTouches(window, *polyline);
    }
    return std::nullopt;
}

} // namespace cad::ed
