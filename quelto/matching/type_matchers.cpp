// The table from DXF type names to matchers, and the conventions all matchers share.
#include "quelto/matching/type_matchers.h"

#include "quelto/actions/qlt_command.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace quelto::matching {

namespace {

constexpr std::array<std::pair<const wchar_t*, TypeMatcher>, 21> kTypeMatchers = {{
    {L"LINE", matchLine},
    {L"CIRCLE", matchCircle},
    {L"ARC", matchArc},
    {L"TEXT", matchText},
    {L"LWPOLYLINE", matchLightweightPolyline},
    {L"INSERT", matchBlockReference},
    {L"MTEXT", matchMText},
    {L"HATCH", matchHatch},
    {L"POINT", matchPoint},
    {L"ELLIPSE", matchEllipse},
    {L"RAY", matchRay},
    {L"XLINE", matchXline},
    {L"POLYLINE", matchPolyline3d},
    {L"MLINE", matchMline},
    {L"SPLINE", matchSpline},
    {L"REGION", matchRegion},
    {L"DIMENSION", matchDimension},
    {L"IMAGE", matchRasterImage},
    {L"WIPEOUT", matchRasterImage},
    {L"SHAPE", matchShape},
    {L"VIEWPORT", matchViewport},
}};

} // namespace

AcGePoint3d MatchContext::point(const AcGePoint3d& world) const {
    if (!userCoordinates) {
        return world;
    }
    AcGePoint3d converted = world;
    QLTCommand::WcsToUcs(converted);
    return converted;
}

double MatchContext::angle(double hostAngle) const {
    return radians ? hostAngle : QLTCommand::RadianToDegree(hostAngle);
}

TypeMatcher findTypeMatcher(const CString& typeName) {
    const auto found = std::find_if(kTypeMatchers.begin(), kTypeMatchers.end(),
                                    [&](const auto& entry) { return typeName == entry.first; });
    return found != kTypeMatchers.end() ? found->second : nullptr;
}

double engineLineAngle(const AcGePoint3d& from, const AcGePoint3d& to) {
    if (from.isEqualTo(to)) {
        return 0.0;
    }
    const double length = from.distanceTo(to);
    // A rounding step can put dx / length a hair outside [-1, 1], where acos has no value.
    const double cosine = std::clamp((to.x - from.x) / length, -1.0, 1.0);
    double angle = to.y > from.y ? std::acos(cosine) : -std::acos(cosine);
    if (angle < 0.0) {
        angle += 2.0 * std::numbers::pi;
    }
    return angle;
}

} // namespace quelto::matching
