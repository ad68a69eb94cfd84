// Curves as point lists: the outlines the view strokes and the hatch boundaries it fills, sampled in
// drawing units finely enough that no chord strays more than the tolerance from the true curve.
#pragma once

#include "cad/db/db_entity.h"
#include "cad/ge/circular_arc.h"
#include "cad/ge/ellipse_arc.h"
#include "cad/ge/nurbs_curve.h"
#include "cad/ge/polyline_path.h"

#include <QPolygonF>
#include <vector>

namespace cad::gui {

// The chord count that keeps the sagitta of an arc of `radius` over `sweep` below `tolerance`.
int arcSegmentCount(double radius, double sweep, double tolerance);

void appendArc(QPolygonF& points, const ge::CircularArc& arc, double tolerance);
void appendEllipse(QPolygonF& points, const ge::EllipseArc& ellipse, double tolerance);
void appendNurbs(QPolygonF& points, const ge::NurbsCurve& curve, double tolerance);
void appendBulgePolyline(QPolygonF& points, const ge::BulgePolyline& polyline, double tolerance);

// The outlines of a curve entity (LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE, POLYLINE, SPLINE) in its own
// coordinates; empty for every other kind. Polygon and polyface meshes give one outline per row or face.
std::vector<QPolygonF> curveOutlines(const AcDbEntity& entity, double tolerance);

} // namespace cad::gui
