// Straight curves: the parameter is arc length from the start, which makes distance queries trivial.
#include "cad/ge/linear_curves.h"

#include "cad/ge/tolerance.h"

namespace cad::ge {

double length(const LineSegment& line) {
    return line.start.distanceTo(line.end);
}

std::optional<AcGePoint3d> pointAtParameter(const LineSegment& line, double parameter) {
    const double size = length(line);
    const double tolerance = AcGeContext::gTol.equalPoint();
    if (parameter < -tolerance || parameter > size + tolerance) {
        return std::nullopt;
    }
    if (size == 0.0) {
        return line.start;
    }
    return line.start + (line.end - line.start) * (parameter / size);
}

std::optional<double> parameterAtPoint(const LineSegment& line, const AcGePoint3d& point) {
    const AcGeVector3d direction = line.end - line.start;
    const double size = direction.length();
    if (size == 0.0) {
        return point.isEqualTo(line.start) ? std::optional<double>(0.0) : std::nullopt;
    }
    const double parameter = direction.dotProduct(point - line.start) / size;
    const std::optional<AcGePoint3d> onLine = pointAtParameter(line, parameter);
    if (!onLine || !onLine->isEqualTo(point)) {
        return std::nullopt;
    }
    return parameter;
}

AcDbExtents extents(const LineSegment& line) {
    AcDbExtents box;
    box.addPoint(line.start);
    box.addPoint(line.end);
    return box;
}

std::optional<AcGePoint3d> pointAtParameter(const RayLine& ray, double parameter) {
    if (!ray.bothWays && parameter < 0.0) {
        return std::nullopt;
    }
    return ray.basePoint + ray.unitDirection * parameter;
}

ExtentsResult extents(const RayLine& /*ray*/) {
    return ExtentsResult::unbounded();
}

} // namespace cad::ge
