// Elliptical arcs: parameter bookkeeping, Gauss-Legendre arc length, exact extents and affine transforms.
#include "cad/ge/ellipse_arc.h"

#include "cad/ge/angle_sweep.h"
#include "cad/ge/ocs.h"

#include <cmath>
#include <numbers>

namespace cad::ge {

namespace {

// 10-point Gauss-Legendre nodes and weights on [-1, 1] (positive half; the rule is symmetric).
constexpr double kGaussNodes[5] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                                   0.8650633666889845, 0.9739065285171717};
constexpr double kGaussWeights[5] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                     0.1494513491505806, 0.0666713443086881};

template <typename Function>
double gaussLegendre(const Function& function, double from, double to) {
    const double half = 0.5 * (to - from);
    const double middle = 0.5 * (to + from);
    double sum = 0.0;
    for (int index = 0; index < 5; ++index) {
        sum += kGaussWeights[index] *
               (function(middle - half * kGaussNodes[index]) + function(middle + half * kGaussNodes[index]));
    }
    return sum * half;
}

// Splits until two halves agree with the whole; the speed of an ellipse is smooth, so this converges fast.
template <typename Function>
double adaptiveIntegral(const Function& function, double from, double to, double whole, double tolerance,
                        int depth) {
    const double middle = 0.5 * (from + to);
    const double left = gaussLegendre(function, from, middle);
    const double right = gaussLegendre(function, middle, to);
    if (depth >= 30 || std::fabs(left + right - whole) <= tolerance) {
        return left + right;
    }
    return adaptiveIntegral(function, from, middle, left, 0.5 * tolerance, depth + 1) +
           adaptiveIntegral(function, middle, to, right, 0.5 * tolerance, depth + 1);
}

double ellipseArcLength(double major, double minor, double from, double to) {
    if (to <= from) {
        return 0.0;
    }
    const auto speed = [major, minor](double t) {
        return std::hypot(major * std::sin(t), minor * std::cos(t));
    };
    // Quarter turns keep each piece free of the speed's extremes inside, which the rule integrates best.
    double total = 0.0;
    const double quarter = 0.5 * std::numbers::pi;
    for (double start = from; start < to; start += quarter) {
        const double end = std::min(to, start + quarter);
        const double estimate = gaussLegendre(speed, start, end);
        total += adaptiveIntegral(speed, start, end, estimate, 1e-13 * std::max(major, 1e-300), 0);
    }
    return total;
}

std::optional<double> parameterInRange(const EllipseArc& ellipse, double parameter) {
    constexpr double slack = 1e-12;
    const double start = ellipse.startParam;
    const double end = endParameter(ellipse);
    if (parameter >= start - slack && parameter <= end + slack) {
        return parameter;
    }
    const double shifted = start + normalizeAngle(parameter - start);
    if (shifted <= end + slack) {
        return shifted;
    }
    if (std::fabs(shifted - kTwoPi - start) <= slack) {
        return start;
    }
    return std::nullopt;
}

} // namespace

AcGeVector3d minorAxis(const EllipseArc& ellipse) {
    return ellipse.normal.normal().crossProduct(ellipse.majorAxis) * ellipse.radiusRatio;
}

bool isFullEllipse(const EllipseArc& ellipse) {
    return std::fabs(ellipse.endParam - ellipse.startParam) >= kTwoPi - 1e-12 ||
           std::fabs(normalizeAngle(ellipse.endParam - ellipse.startParam)) <= 1e-12;
}

double parameterSweep(const EllipseArc& ellipse) {
    return isFullEllipse(ellipse) ? kTwoPi : ccwSweep(ellipse.startParam, ellipse.endParam);
}

double endParameter(const EllipseArc& ellipse) {
    return ellipse.startParam + parameterSweep(ellipse);
}

double angleFromParameter(double radiusRatio, double parameter) {
    const double turns = std::floor(parameter / kTwoPi) * kTwoPi;
    const double within = normalizeAngle(parameter);
    return turns + normalizeAngle(std::atan2(radiusRatio * std::sin(within), std::cos(within)));
}

double parameterFromAngle(double radiusRatio, double angle) {
    const double turns = std::floor(angle / kTwoPi) * kTwoPi;
    const double within = normalizeAngle(angle);
    if (radiusRatio == 0.0) {
        return turns + within;
    }
    return turns + normalizeAngle(std::atan2(std::sin(within) / radiusRatio, std::cos(within)));
}

AcGePoint3d pointAtParam(const EllipseArc& ellipse, double parameter) {
    return ellipse.center + ellipse.majorAxis * std::cos(parameter) +
           minorAxis(ellipse) * std::sin(parameter);
}

AcGePoint3d startPoint(const EllipseArc& ellipse) {
    return pointAtParam(ellipse, ellipse.startParam);
}

AcGePoint3d endPoint(const EllipseArc& ellipse) {
    return pointAtParam(ellipse, endParameter(ellipse));
}

std::optional<AcGePoint3d> pointAtParameter(const EllipseArc& ellipse, double parameter) {
    const std::optional<double> inRange = parameterInRange(ellipse, parameter);
    if (!inRange) {
        return std::nullopt;
    }
    return pointAtParam(ellipse, *inRange);
}

std::optional<double> distanceAtParameter(const EllipseArc& ellipse, double parameter) {
    const std::optional<double> inRange = parameterInRange(ellipse, parameter);
    if (!inRange) {
        return std::nullopt;
    }
    const double major = ellipse.majorAxis.length();
    return ellipseArcLength(major, major * ellipse.radiusRatio, ellipse.startParam, *inRange);
}

double length(const EllipseArc& ellipse) {
    const double major = ellipse.majorAxis.length();
    return ellipseArcLength(major, major * ellipse.radiusRatio, ellipse.startParam, endParameter(ellipse));
}

double area(const EllipseArc& ellipse) {
    const double major = ellipse.majorAxis.length();
    const double sweep = parameterSweep(ellipse);
    return 0.5 * major * major * ellipse.radiusRatio * (sweep - std::sin(sweep));
}

AcDbExtents extents(const EllipseArc& ellipse) {
    AcDbExtents box;
    addSinusoidSweep(box, ellipse.center, ellipse.majorAxis, minorAxis(ellipse), ellipse.startParam,
                     parameterSweep(ellipse));
    return box;
}

std::optional<EllipseArc> transformed(const EllipseArc& ellipse, const AcGeMatrix3d& transform) {
    // Image of centre + a cos t + b sin t is centre' + a' cos t + b' sin t with a' = M a, b' = M b.
    const AcGeVector3d a = transform * ellipse.majorAxis;
    const AcGeVector3d b = transform * minorAxis(ellipse);
    const AcGeVector3d imageNormal = a.crossProduct(b);
    if (imageNormal.isZeroLength()) {
        return std::nullopt;
    }
    // Principal axes: the extremes of |a cos t + b sin t| lie at t0 = atan2(2 a.b, a.a - b.b) / 2.
    const double shift = 0.5 * std::atan2(2.0 * a.dotProduct(b), a.lengthSqrd() - b.lengthSqrd());
    AcGeVector3d first = a * std::cos(shift) + b * std::sin(shift);
    AcGeVector3d second = -a * std::sin(shift) + b * std::cos(shift);
    double offset = shift;
    if (second.length() > first.length()) {
        first = second;
        offset += 0.5 * std::numbers::pi;
    }
    EllipseArc result;
    result.center = transform * ellipse.center;
    result.majorAxis = first;
    // Keep the curve running counter-clockwise about the normal the transform gives the plane.
    const AcGeVector3d keptNormal = (transform * ellipse.normal).normal();
    const bool reversed = imageNormal.dotProduct(keptNormal) < 0.0;
    result.normal = keptNormal;
    const double majorLength = first.length();
    const double minorLength = imageNormal.length() / majorLength;
    result.radiusRatio = std::min(1.0, minorLength / majorLength);
    const bool full = isFullEllipse(ellipse);
    // With the new axes, old parameter t sits at new parameter t - offset, or offset - t when reversed.
    if (full) {
        result.startParam = 0.0;
        result.endParam = kTwoPi;
    } else if (!reversed) {
        result.startParam = normalizeAngle(ellipse.startParam - offset);
        result.endParam = normalizeAngle(endParameter(ellipse) - offset);
    } else {
        result.startParam = normalizeAngle(offset - endParameter(ellipse));
        result.endParam = normalizeAngle(offset - ellipse.startParam);
    }
    return result;
}

EllipseArc toEllipse(const CircularArc& arc) {
    const OcsAxes axes = ocsAxes(arc.normal);
    EllipseArc ellipse;
    ellipse.center = arc.center;
    ellipse.majorAxis = axes.xAxis * arc.radius;
    ellipse.normal = axes.zAxis;
    ellipse.radiusRatio = 1.0;
    ellipse.startParam = startParameter(arc);
    ellipse.endParam = endParameter(arc);
    return ellipse;
}

} // namespace cad::ge
