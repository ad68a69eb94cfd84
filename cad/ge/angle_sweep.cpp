// Angle bookkeeping and exact sweep boxes for circular and elliptical curves.
#include "cad/ge/angle_sweep.h"

#include <cmath>

namespace cad::ge {

double normalizeAngle(double angle) {
    double result = std::fmod(angle, kTwoPi);
    if (result < 0.0) {
        result += kTwoPi;
    }
    return result >= kTwoPi ? 0.0 : result;
}

double ccwSweep(double startAngle, double endAngle) {
    const double sweep = normalizeAngle(endAngle - startAngle);
    return sweep <= 1e-12 ? kTwoPi : sweep;
}

void addSinusoidSweep(AcDbExtents& box, const AcGePoint3d& center, const AcGeVector3d& u,
                      const AcGeVector3d& v, double start, double sweep) {
    const auto pointAt = [&](double t) { return center + u * std::cos(t) + v * std::sin(t); };
    box.addPoint(pointAt(start));
    box.addPoint(pointAt(start + sweep));
    for (unsigned int axis = 0; axis < 3; ++axis) {
        if (u[axis] == 0.0 && v[axis] == 0.0) {
            continue;
        }
        // Coordinate = centre + A cos(t - phase): maximum at phase, minimum half a turn later.
        const double phase = std::atan2(v[axis], u[axis]);
        for (const double extreme : {phase, phase + std::numbers::pi}) {
            const double offset = normalizeAngle(extreme - start);
            if (offset <= sweep) {
                box.addPoint(pointAt(start + offset));
            }
        }
    }
}

} // namespace cad::ge
