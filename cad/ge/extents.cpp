// Growing and transforming extents boxes.
// A transformed box is the box around the eight transformed corners, which is what the host reports too:
// it can be larger than the extents of the transformed geometry.
#include "cad/ge/extents.h"

#include "cad/ge/matrix3d.h"

bool AcDbExtents::set(const AcGePoint3d& minimum, const AcGePoint3d& maximum) {
    if (minimum.x > maximum.x || minimum.y > maximum.y || minimum.z > maximum.z) {
        return false;
    }
    m_min = minimum;
    m_max = maximum;
    return true;
}

void AcDbExtents::addExt(const AcDbExtents& other) {
    if (other.m_min.x > other.m_max.x) {
        return;
    }
    addPoint(other.m_min);
    addPoint(other.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& vector) {
    if (m_min.x > m_max.x) {
        return;
    }
    addPoint(m_min + vector);
    addPoint(m_max + vector);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& matrix) {
    if (m_min.x > m_max.x) {
        return;
    }
    const AcGePoint3d low = m_min;
    const AcGePoint3d high = m_max;
    *this = AcDbExtents();
    for (int corner = 0; corner < 8; ++corner) {
        const AcGePoint3d point((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                                (corner & 4) ? high.z : low.z);
        addPoint(matrix * point);
    }
}
