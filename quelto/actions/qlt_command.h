// QLTCommand: the parameter base of the commands, with the conversions that the property readers and
// the matching engine apply to what they read: world points into the current user coordinate system,
// and angles between radians and degrees.
#pragma once

#include "cad/ge/point2d.h"
#include "cad/ge/point3d.h"
#include "platform/mfc_types.h"
#include "quelto/filter/qlt_cmd_base.h"

class QLTCommand : public CQLTCmdBase {
public:
    // Converts a world position into the current user system of the working drawing, in place (a 2D
    // point as the position at Z 0); FALSE, point unchanged, when the host cannot convert.
    static BOOL WcsToUcs(AcGePoint3d& point);
    static BOOL WcsToUcs(AcGePoint2d& point);
    // With pi = 3.141592653589793.
    static double RadianToDegree(double radians);
    static double DegreeToRadian(double degrees);
};
