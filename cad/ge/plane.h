// An unbounded plane (a point on it and a unit normal) and an unbounded 3D line (a point and a direction).
// Mirroring and projection take them as arguments, as the host's interfaces do.
#pragma once

#include "cad/ge/point3d.h"
#include "cad/ge/tolerance.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

class QUELTO_EXPORT AcGePlane {
public:
    static const AcGePlane kXYPlane;
    static const AcGePlane kYZPlane;
    static const AcGePlane kZXPlane;

    AcGePlane() : m_normal(0.0, 0.0, 1.0) {}
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal)
        : m_origin(origin), m_normal(normal.normal()) {}
    // The plane through three points; the normal follows the right-hand rule from first to second to third.
    AcGePlane(const AcGePoint3d& first, const AcGePoint3d& second, const AcGePoint3d& third);

    AcGePoint3d pointOnPlane() const { return m_origin; }
    AcGeVector3d normal() const { return m_normal; }
    double signedDistanceTo(const AcGePoint3d& point) const { return m_normal.dotProduct(point - m_origin); }
    double distanceTo(const AcGePoint3d& point) const;
    AcGePoint3d closestPointTo(const AcGePoint3d& point) const {
        return point - m_normal * signedDistanceTo(point);
    }
    bool isOn(const AcGePoint3d& point, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePlane& set(const AcGePoint3d& origin, const AcGeVector3d& normal) {
        m_origin = origin;
        m_normal = normal.normal();
        return *this;
    }

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_normal;
};

class QUELTO_EXPORT AcGeLine3d {
public:
    static const AcGeLine3d kXAxis;
    static const AcGeLine3d kYAxis;
    static const AcGeLine3d kZAxis;

    AcGeLine3d() : m_direction(1.0, 0.0, 0.0) {}
    AcGeLine3d(const AcGePoint3d& point, const AcGeVector3d& direction)
        : m_point(point), m_direction(direction) {}
    AcGeLine3d(const AcGePoint3d& first, const AcGePoint3d& second)
        : m_point(first), m_direction(second - first) {}

    AcGePoint3d pointOnLine() const { return m_point; }
    AcGeVector3d direction() const { return m_direction.normal(); }
    AcGePoint3d closestPointTo(const AcGePoint3d& point) const;
    AcGeLine3d& set(const AcGePoint3d& point, const AcGeVector3d& direction) {
        m_point = point;
        m_direction = direction;
        return *this;
    }

private:
    AcGePoint3d m_point;
    AcGeVector3d m_direction;
};
