// Coordinate and angle conversions through the host's acdbWcs2Ucs.

#include "quelto/actions/qlt_command.h"

#include "cad/app/host_api.h"

namespace {
constexpr double kPi = 3.141592653589793;
} // namespace

BOOL QLTCommand::WcsToUcs(AcGePoint3d& point) {
    ads_point world = {point.x, point.y, point.z};
    ads_point user;
    if (!acdbWcs2Ucs(world, user, false)) {
        return FALSE;
    }
    point.set(user[0], user[1], user[2]);
    return TRUE;
}

BOOL QLTCommand::WcsToUcs(AcGePoint2d& point) {
    AcGePoint3d spatial(point.x, point.y, 0.0);
    if (!WcsToUcs(spatial)) {
        return FALSE;
    }
    point.set(spatial.x, spatial.y);
    return TRUE;
}

double QLTCommand::RadianToDegree(double radians) {
    return radians * 180.0 / kPi;
}

double QLTCommand::DegreeToRadian(double degrees) {
    return degrees * kPi / 180.0;
}
