// Splines as the drawing stores them: degree, knot vector, control points and optional weights (a rational
// curve), or only fit points. Evaluation is de Boor's algorithm in homogeneous coordinates over the
// parameter range [knot[degree], knot[count - degree - 1]].
// A spline given by fit points alone is first turned into the cubic (or lower-degree, for few points)
// B-spline that interpolates them with chord-length parameters and averaged knots and no end tangents.
// That is the textbook global interpolation, not necessarily the curve another program fits through the
// same points: both pass through every fit point, but they may differ between them.
// Lengths and areas are integrated numerically (Gauss-Legendre per knot span, refined until two estimates
// agree to 1e-10 relative); extents take the end points plus the roots of each coordinate's derivative.
#pragma once

#include "cad/ge/extents_result.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <optional>
#include <vector>

namespace cad::ge {

struct NurbsCurve {
    int degree = 3;
    std::vector<double> knots;
    std::vector<AcGePoint3d> controlPoints;
    // Empty, or one weight per control point.
    std::vector<double> weights;
    std::vector<AcGePoint3d> fitPoints;
};

// Whether the control data is consistent: knots = control points + degree + 1, non-decreasing knots,
// positive weights, degree at least 1; or, without control points, at least two fit points.
QUELTO_EXPORT bool isValid(const NurbsCurve& curve);
// The control-point form of the curve (fit points interpolated as described above); nothing when invalid.
QUELTO_EXPORT std::optional<NurbsCurve> controlPointForm(const NurbsCurve& curve);
QUELTO_EXPORT double startParameter(const NurbsCurve& curve);
QUELTO_EXPORT double endParameter(const NurbsCurve& curve);
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const NurbsCurve& curve, double parameter);
QUELTO_EXPORT std::optional<AcGeVector3d> derivativeAtParameter(const NurbsCurve& curve, double parameter);
QUELTO_EXPORT std::optional<AcGePoint3d> startPoint(const NurbsCurve& curve);
QUELTO_EXPORT std::optional<AcGePoint3d> endPoint(const NurbsCurve& curve);
QUELTO_EXPORT std::optional<double> distanceAtParameter(const NurbsCurve& curve, double parameter);
QUELTO_EXPORT double length(const NurbsCurve& curve);
// Area enclosed by the curve and the chord from its end to its start, in the curve's plane (the magnitude
// of the vector area, so a non-planar curve gives the area of its best-fitting projection).
QUELTO_EXPORT double area(const NurbsCurve& curve);
// Start and end point coincide within the default point tolerance.
QUELTO_EXPORT bool isClosed(const NurbsCurve& curve);
// All control points (fit points when there are none) lie in one plane within tolerance; a straight or
// degenerate curve counts as planar.
QUELTO_EXPORT bool isPlanar(const NurbsCurve& curve, double tolerance = 1e-10);
QUELTO_EXPORT ExtentsResult extents(const NurbsCurve& curve);
// Splines are affine-invariant: transforming the control and fit points transforms the curve.
QUELTO_EXPORT NurbsCurve transformed(const NurbsCurve& curve, const AcGeMatrix3d& transform);

} // namespace cad::ge
