// Ellipses and elliptical arcs as the host stores them: centre and major axis in world coordinates, the
// normal, the ratio of minor to major radius, and start and end parameters t of
// centre + major cos t + minor sin t with minor = ratio * (normal x major). Parameters run counter-clockwise
// about the normal from start to end; a full ellipse runs over [0, 2*pi].
// Arc length has no closed form: it is integrated numerically to a relative error below 1e-12.
#pragma once

#include "cad/ge/circular_arc.h"
#include "cad/ge/extents.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <optional>

namespace cad::ge {

struct EllipseArc {
    AcGePoint3d center;
    AcGeVector3d majorAxis{1.0, 0.0, 0.0};
    AcGeVector3d normal{0.0, 0.0, 1.0};
    double radiusRatio = 1.0;
    double startParam = 0.0;
    double endParam = kFullTurn;

    static constexpr double kFullTurn = 6.283185307179586;
};

QUELTO_EXPORT AcGeVector3d minorAxis(const EllipseArc& ellipse);
QUELTO_EXPORT bool isFullEllipse(const EllipseArc& ellipse);
// The sweep of the parameter from start to end in (0, 2*pi].
QUELTO_EXPORT double parameterSweep(const EllipseArc& ellipse);
QUELTO_EXPORT double endParameter(const EllipseArc& ellipse);
// The host's start and end "angles" are the angles of the end points seen from the centre, measured from
// the major axis; parameters are the eccentric anomaly. These convert one into the other.
QUELTO_EXPORT double angleFromParameter(double radiusRatio, double parameter);
QUELTO_EXPORT double parameterFromAngle(double radiusRatio, double angle);
QUELTO_EXPORT AcGePoint3d pointAtParam(const EllipseArc& ellipse, double parameter);
QUELTO_EXPORT AcGePoint3d startPoint(const EllipseArc& ellipse);
QUELTO_EXPORT AcGePoint3d endPoint(const EllipseArc& ellipse);
// Accepts a parameter inside [start, end] after adding whole turns, like circular arcs.
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const EllipseArc& ellipse, double parameter);
QUELTO_EXPORT std::optional<double> distanceAtParameter(const EllipseArc& ellipse, double parameter);
QUELTO_EXPORT double length(const EllipseArc& ellipse);
// The area enclosed by the curve and the chord from end to start: ab/2 * (sweep - sin sweep).
QUELTO_EXPORT double area(const EllipseArc& ellipse);
QUELTO_EXPORT AcDbExtents extents(const EllipseArc& ellipse);
// Any non-degenerate affine transform maps an ellipse onto an ellipse: the image of the two axes is a pair
// of conjugate diameters, from which the new principal axes and the shifted parameters follow. Fails (no
// value) when the transform flattens the ellipse into a line or a point.
QUELTO_EXPORT std::optional<EllipseArc> transformed(const EllipseArc& ellipse, const AcGeMatrix3d& transform);
// A circular arc written as an ellipse with ratio 1, its major axis along the object X axis.
QUELTO_EXPORT EllipseArc toEllipse(const CircularArc& arc);

} // namespace cad::ge
