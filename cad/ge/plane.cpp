// Planes and unbounded lines: construction from points, distances and closest points.
#include "cad/ge/plane.h"

#include <cmath>

// Spelled out rather than built from the point and vector constants, whose initialisation order across
// translation units is not guaranteed.
const AcGePlane AcGePlane::kXYPlane(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 0.0, 1.0));
const AcGePlane AcGePlane::kYZPlane(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(1.0, 0.0, 0.0));
const AcGePlane AcGePlane::kZXPlane(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0));
const AcGeLine3d AcGeLine3d::kXAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(1.0, 0.0, 0.0));
const AcGeLine3d AcGeLine3d::kYAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0));
const AcGeLine3d AcGeLine3d::kZAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 0.0, 1.0));

AcGePlane::AcGePlane(const AcGePoint3d& first, const AcGePoint3d& second, const AcGePoint3d& third)
    : m_origin(first), m_normal((second - first).crossProduct(third - first).normal()) {}

double AcGePlane::distanceTo(const AcGePoint3d& point) const {
    return std::fabs(signedDistanceTo(point));
}

bool AcGePlane::isOn(const AcGePoint3d& point, const AcGeTol& tol) const {
    return distanceTo(point) <= tol.equalPoint();
}

AcGePoint3d AcGeLine3d::closestPointTo(const AcGePoint3d& point) const {
    const double lengthSquared = m_direction.lengthSqrd();
    if (lengthSquared == 0.0) {
        return m_point;
    }
    return m_point + m_direction * (m_direction.dotProduct(point - m_point) / lengthSquared);
}
