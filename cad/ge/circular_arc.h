// Circles and circular arcs as the host stores them: centre in world coordinates, radius, and angles
// measured counter-clockwise about the normal from the X axis of the object coordinate system.
// The curve parameter is the angle itself, so an arc from 350 to 10 degrees runs over parameters
// [350, 370] degrees (in radians) and a circle over [0, 2*pi].
#pragma once

#include "cad/ge/extents.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <optional>

namespace cad::ge {

struct CircularArc {
    AcGePoint3d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    AcGeVector3d normal{0.0, 0.0, 1.0};
    bool fullCircle = false;
};

QUELTO_EXPORT CircularArc makeCircle(const AcGePoint3d& center, double radius,
                                     const AcGeVector3d& normal = AcGeVector3d::kZAxis);
// The angle swept from start to end, in (0, 2*pi]; equal start and end angles sweep a full turn.
QUELTO_EXPORT double sweepAngle(const CircularArc& arc);
QUELTO_EXPORT double startParameter(const CircularArc& arc);
QUELTO_EXPORT double endParameter(const CircularArc& arc);
QUELTO_EXPORT AcGePoint3d pointAtAngle(const CircularArc& arc, double angle);
QUELTO_EXPORT AcGePoint3d startPoint(const CircularArc& arc);
QUELTO_EXPORT AcGePoint3d endPoint(const CircularArc& arc);
// Parameters are angles; one that lies in the range after adding whole turns is accepted, since it names
// the same point of the arc. Anything else has no point.
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const CircularArc& arc, double parameter);
QUELTO_EXPORT std::optional<double> distanceAtParameter(const CircularArc& arc, double parameter);
QUELTO_EXPORT double length(const CircularArc& arc);
// The area enclosed by the arc and the chord from its end back to its start (the whole disc for a circle),
// which is how the host measures an open curve.
QUELTO_EXPORT double area(const CircularArc& arc);
// Exact: the end points plus every axis extreme that lies inside the sweep.
QUELTO_EXPORT AcDbExtents extents(const CircularArc& arc);
// The arc after a transform that keeps circles round (uniform scale, rotation, mirroring, translation).
// A mirroring keeps the transformed normal and swaps start and end, so the arc still runs counter-clockwise.
// Other transforms make an ellipse: no value.
QUELTO_EXPORT std::optional<CircularArc> transformed(const CircularArc& arc, const AcGeMatrix3d& transform);

} // namespace cad::ge
