// The curve entities seen as kernel curves: each conversion reads an entity's stored values (object
// coordinates, degrees) and gives the world-coordinate curve the geometry kernel measures. Shared by the
// curve entities' own geometry members and by the walkers of block contents.
#pragma once

#include "cad/db/curve_entities.h"
#include "cad/ge/circular_arc.h"
#include "cad/ge/ellipse_arc.h"
#include "cad/ge/linear_curves.h"
#include "cad/ge/nurbs_curve.h"
#include "cad/ge/polyline_path.h"
#include "platform/export.h"

#include <vector>

namespace cad::db {

QUELTO_EXPORT ge::CircularArc circleGeometry(const AcDbCircle& circle);
QUELTO_EXPORT ge::CircularArc arcGeometry(const AcDbArc& arc);
QUELTO_EXPORT ge::EllipseArc ellipseGeometry(const AcDbEllipse& ellipse);
QUELTO_EXPORT ge::BulgePolyline polylineGeometry(const AcDbPolyline& polyline);
QUELTO_EXPORT ge::NurbsCurve splineGeometry(const AcDbSpline& spline);

// POLYLINE entities: which kind group 70 makes them, and their vertices (spline frame control points
// and polyface face records left out).
enum class PolylineKind { Flat, Spatial, PolygonMesh, PolyfaceMesh };
QUELTO_EXPORT PolylineKind polylineKind(const AcDbPolylineEntity& polyline);
QUELTO_EXPORT std::vector<const AcDbVertex*> polylineVertices(const AcDbPolylineEntity& polyline);
QUELTO_EXPORT ge::BulgePolyline flatPolylineGeometry(const AcDbPolylineEntity& polyline);
QUELTO_EXPORT ge::Polyline3d spatialPolylineGeometry(const AcDbPolylineEntity& polyline);

// New unowned entities for exploded pieces, carrying the layer, colour, linetype, linetype scale,
// lineweight and visibility of `source`.
QUELTO_EXPORT AcDbEntity* makeLineEntity(const ge::LineSegment& line, const AcDbEntity& source);
QUELTO_EXPORT AcDbEntity* makeArcEntity(const ge::CircularArc& arc, const AcDbEntity& source);
QUELTO_EXPORT AcDbEntity* makeEllipseEntity(const ge::EllipseArc& ellipse, const AcDbEntity& source);
// An ARC or CIRCLE when `ellipse` is round, otherwise an ELLIPSE.
QUELTO_EXPORT AcDbEntity* makeConicEntity(const ge::EllipseArc& ellipse, const AcDbEntity& source);
QUELTO_EXPORT void copyCommonProperties(const AcDbEntity& source, AcDbEntity& target);

} // namespace cad::db
