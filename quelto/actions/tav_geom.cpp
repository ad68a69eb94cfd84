// Point and box computations of CTAVGeom.

#include "quelto/actions/tav_geom.h"

#include <algorithm>
#include <cmath>

namespace {

double coordinateAt(double minimum, double maximum, int index) {
    if (index < 0) {
        return minimum;
    }
    return index == 0 ? (minimum + maximum) / 2.0 : maximum;
}

} // namespace

double CTAVGeom::GetExtentsWidth(const AcDbExtents& extents) {
    return extents.maxPoint().x - extents.minPoint().x;
}

double CTAVGeom::GetExtentsHeight(const AcDbExtents& extents) {
    return extents.maxPoint().y - extents.minPoint().y;
}

AcGePoint3d CTAVGeom::GetExtentsPoint(const AcDbExtents& extents, int column, int row) {
    const AcGePoint3d minimum = extents.minPoint();
    const AcGePoint3d maximum = extents.maxPoint();
    return {coordinateAt(minimum.x, maximum.x, column), coordinateAt(minimum.y, maximum.y, row), 0.0};
}

AcGePoint3d CTAVGeom::GetExtentsCenter(const AcDbExtents& extents) {
    return GetMidPoint(extents.minPoint(), extents.maxPoint());
}

AcGePoint3d CTAVGeom::GetMidPoint(const AcGePoint3d& first, const AcGePoint3d& second) {
    return {(first.x + second.x) / 2.0, (first.y + second.y) / 2.0, (first.z + second.z) / 2.0};
}

double CTAVGeom::GetAngle(const AcGePoint3d& from, const AcGePoint3d& to) {
    const double distance = from.distanceTo(to);
    if (distance == 0.0) {
        return 0.0;
    }
    // The rounded quotient may step past 1 by an ulp when the points differ in Y only.
    const double sine = std::clamp((to.y - from.y) / distance, -1.0, 1.0);
    const double angle = std::asin(sine);
    return to.x - from.x > 0.0 ? angle : 3.141592653589793 - angle;
}

int CTAVGeom::IsEqual(double first, double second, double tolerance) {
    return std::fabs(first - second) < tolerance ? 1 : 0;
}
