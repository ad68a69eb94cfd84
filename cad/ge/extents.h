// An axis-aligned box in world coordinates, grown point by point as entities report their extents.
// A fresh box is "inverted" (minimum above maximum) so that the first point added becomes the box.
#pragma once

#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <algorithm>

class AcGeMatrix3d;

class QUELTO_EXPORT AcDbExtents {
public:
    AcDbExtents() = default;
    AcDbExtents(const AcGePoint3d& minimum, const AcGePoint3d& maximum) : m_min(minimum), m_max(maximum) {}

    AcGePoint3d minPoint() const { return m_min; }
    AcGePoint3d maxPoint() const { return m_max; }
    // Stores the corners when minimum <= maximum on every axis; returns false (box unchanged) otherwise,
    // where the host answers eInvalidExtents.
    bool set(const AcGePoint3d& minimum, const AcGePoint3d& maximum);
    void addPoint(const AcGePoint3d& point) {
        m_min.set(std::min(m_min.x, point.x), std::min(m_min.y, point.y), std::min(m_min.z, point.z));
        m_max.set(std::max(m_max.x, point.x), std::max(m_max.y, point.y), std::max(m_max.z, point.z));
    }
    void addExt(const AcDbExtents& other);
    // Grows the box so that it also covers its corners moved by vector (a sweep along vector).
    void expandBy(const AcGeVector3d& vector);
    // Replaces the box by the box around its eight transformed corners.
    void transformBy(const AcGeMatrix3d& matrix);

private:
    AcGePoint3d m_min{1e20, 1e20, 1e20};
    AcGePoint3d m_max{-1e20, -1e20, -1e20};
};
