// The arbitrary axis rule: for a normal close to the world Z axis (both X and Y components below 1/64)
// the object X axis is world Y cross normal, otherwise world Z cross normal; Y completes a right-handed set.
#include "cad/ge/ocs.h"

#include <cmath>

namespace cad::ge {

OcsAxes ocsAxes(const AcGeVector3d& normal) {
    if (isWorldNormal(normal)) {
        return {AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis};
    }
    OcsAxes axes;
    axes.zAxis = normal.normal();
    axes.xAxis = axes.zAxis.perpVector();
    axes.yAxis = axes.zAxis.crossProduct(axes.xAxis).normal();
    return axes;
}

bool isWorldNormal(const AcGeVector3d& normal) {
    return normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0;
}

AcGeVector3d ocsToWcs(const AcGeVector3d& vector, const AcGeVector3d& normal) {
    if (isWorldNormal(normal)) {
        return vector;
    }
    const OcsAxes axes = ocsAxes(normal);
    return axes.xAxis * vector.x + axes.yAxis * vector.y + axes.zAxis * vector.z;
}

AcGeVector3d wcsToOcs(const AcGeVector3d& vector, const AcGeVector3d& normal) {
    if (isWorldNormal(normal)) {
        return vector;
    }
    const OcsAxes axes = ocsAxes(normal);
    return {axes.xAxis.dotProduct(vector), axes.yAxis.dotProduct(vector), axes.zAxis.dotProduct(vector)};
}

AcGePoint3d ocsToWcs(const AcGePoint3d& point, const AcGeVector3d& normal) {
    return AcGePoint3d::kOrigin + ocsToWcs(point.asVector(), normal);
}

AcGePoint3d wcsToOcs(const AcGePoint3d& point, const AcGeVector3d& normal) {
    return AcGePoint3d::kOrigin + wcsToOcs(point.asVector(), normal);
}

} // namespace cad::ge
