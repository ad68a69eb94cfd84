// CTAVGeom: small computations on points and extents boxes shared by property reading, matching and
// the batch edits: box sizes, reference points on a box, mid points, the direction angle of two
// points and the tolerance test.
#pragma once

#include "cad/ge/extents.h"
#include "cad/ge/point3d.h"

class CTAVGeom {
public:
    static double GetExtentsWidth(const AcDbExtents& extents);
    static double GetExtentsHeight(const AcDbExtents& extents);
    // The point of the box at column -1, 0, 1 (minimum, middle, maximum X) and row -1, 0, 1 (the same
    // for Y), with Z 0. Any negative index counts as -1 and any positive one as 1.
    static AcGePoint3d GetExtentsPoint(const AcDbExtents& extents, int column, int row);
    static AcGePoint3d GetExtentsCenter(const AcDbExtents& extents);
    static AcGePoint3d GetMidPoint(const AcGePoint3d& first, const AcGePoint3d& second);
    // Radians from `from` towards `to`: asin(dy / d) when the X step is positive, else pi - asin(dy / d),
    // with d the distance in space, so the result lies in (-pi/2, 3pi/2]. Two coinciding points give 0.
    static double GetAngle(const AcGePoint3d& from, const AcGePoint3d& to);
    // 1 when |first - second| < tolerance.
    static int IsEqual(double first, double second, double tolerance);
};
