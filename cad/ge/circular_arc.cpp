// Circular arcs: points, lengths, chord-closed areas, exact extents and transforms.
#include "cad/ge/circular_arc.h"

#include "cad/ge/angle_sweep.h"
#include "cad/ge/ocs.h"

#include <cmath>

namespace cad::ge {

CircularArc makeCircle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) {
    CircularArc circle;
    circle.center = center;
    circle.radius = radius;
    circle.startAngle = 0.0;
    circle.endAngle = kTwoPi;
    circle.normal = normal;
    circle.fullCircle = true;
    return circle;
}

double sweepAngle(const CircularArc& arc) {
    return arc.fullCircle ? kTwoPi : ccwSweep(arc.startAngle, arc.endAngle);
}

double startParameter(const CircularArc& arc) {
    return arc.fullCircle ? 0.0 : arc.startAngle;
}

double endParameter(const CircularArc& arc) {
    return startParameter(arc) + sweepAngle(arc);
}

AcGePoint3d pointAtAngle(const CircularArc& arc, double angle) {
    const OcsAxes axes = ocsAxes(arc.normal);
    return arc.center + (axes.xAxis * std::cos(angle) + axes.yAxis * std::sin(angle)) * arc.radius;
}

AcGePoint3d startPoint(const CircularArc& arc) {
    return pointAtAngle(arc, startParameter(arc));
}

AcGePoint3d endPoint(const CircularArc& arc) {
    return pointAtAngle(arc, endParameter(arc));
}

namespace {

// The parameter inside [start, end] that names the same angle, if there is one.
std::optional<double> parameterInRange(const CircularArc& arc, double parameter) {
    constexpr double slack = 1e-12;
    const double start = startParameter(arc);
    const double end = endParameter(arc);
    const double shifted = start + normalizeAngle(parameter - start);
    if (parameter >= start - slack && parameter <= end + slack) {
        return parameter;
    }
    if (shifted <= end + slack) {
        return shifted;
    }
    if (std::fabs(shifted - kTwoPi - start) <= slack) {
        return start;
    }
    return std::nullopt;
}

} // namespace

std::optional<AcGePoint3d> pointAtParameter(const CircularArc& arc, double parameter) {
    const std::optional<double> inRange = parameterInRange(arc, parameter);
    if (!inRange) {
        return std::nullopt;
    }
    return pointAtAngle(arc, *inRange);
}

std::optional<double> distanceAtParameter(const CircularArc& arc, double parameter) {
    const std::optional<double> inRange = parameterInRange(arc, parameter);
    if (!inRange) {
        return std::nullopt;
    }
    return arc.radius * (*inRange - startParameter(arc));
}

double length(const CircularArc& arc) {
    return arc.radius * sweepAngle(arc);
}

double area(const CircularArc& arc) {
    const double sweep = sweepAngle(arc);
    return 0.5 * arc.radius * arc.radius * (sweep - std::sin(sweep));
}

AcDbExtents extents(const CircularArc& arc) {
    const OcsAxes axes = ocsAxes(arc.normal);
    AcDbExtents box;
    addSinusoidSweep(box, arc.center, axes.xAxis * arc.radius, axes.yAxis * arc.radius, startParameter(arc),
                     sweepAngle(arc));
    return box;
}

std::optional<CircularArc> transformed(const CircularArc& arc, const AcGeMatrix3d& transform) {
    if (!transform.isUniScaledOrtho()) {
        return std::nullopt;
    }
    CircularArc result = arc;
    result.center = transform * arc.center;
    result.radius = arc.radius * transform.scale();
    result.normal = (transform * arc.normal).normal();
    const bool reflects = transform.det() < 0.0;
    AcGePoint3d newStart = transform * startPoint(arc);
    AcGePoint3d newEnd = transform * endPoint(arc);
    if (reflects) {
        std::swap(newStart, newEnd);
    }
    const AcGeVector3d startOffset = wcsToOcs(newStart - result.center, result.normal);
    const AcGeVector3d endOffset = wcsToOcs(newEnd - result.center, result.normal);
    if (arc.fullCircle) {
        result.startAngle = 0.0;
        result.endAngle = kTwoPi;
        return result;
    }
    result.startAngle = normalizeAngle(std::atan2(startOffset.y, startOffset.x));
    result.endAngle = normalizeAngle(std::atan2(endOffset.y, endOffset.x));
    return result;
}

} // namespace cad::ge
