// Polylines as curves: lightweight (2D, in an object coordinate system, with bulged arc segments) and 3D
// (straight segments through world points). The parameter is the vertex index plus the fraction of the
// segment after it - of its length for straight segments, of its swept angle for arcs - so vertex i sits at
// parameter i and a closed polyline ends at parameter numVerts.
// Measurements follow the centre line; segment widths are not part of the geometry here.
#pragma once

#include "cad/ge/circular_arc.h"
#include "cad/ge/extents_result.h"
#include "cad/ge/linear_curves.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/point2d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <optional>
#include <variant>
#include <vector>

namespace cad::ge {

// Bulge = tan(included angle / 4): positive turns counter-clockwise about the normal, 1 is a half circle.
struct BulgeVertex {
    AcGePoint2d point;
    double bulge = 0.0;
};

struct BulgePolyline {
    std::vector<BulgeVertex> vertices;
    bool closed = false;
    double elevation = 0.0;
    AcGeVector3d normal{0.0, 0.0, 1.0};
};

struct Polyline3d {
    std::vector<AcGePoint3d> points;
    bool closed = false;
};

// One straight or arc piece of a polyline, in world coordinates, as exploding hands them out.
using PolylineSegment = std::variant<LineSegment, CircularArc>;

QUELTO_EXPORT int segmentCount(const BulgePolyline& polyline);
QUELTO_EXPORT double endParameter(const BulgePolyline& polyline);
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const BulgePolyline& polyline, double parameter);
QUELTO_EXPORT std::optional<double> distanceAtParameter(const BulgePolyline& polyline, double parameter);
QUELTO_EXPORT double length(const BulgePolyline& polyline);
// Enclosed area with arc segments; an open polyline is closed by the chord from its last vertex to its first.
// Signed: positive when the outline runs counter-clockwise about the normal.
QUELTO_EXPORT double signedArea(const BulgePolyline& polyline);
QUELTO_EXPORT double area(const BulgePolyline& polyline);
QUELTO_EXPORT bool isOnlyLines(const BulgePolyline& polyline);
// Exact, with the axis extremes of every arc segment; Empty for a polyline without vertices.
QUELTO_EXPORT ExtentsResult extents(const BulgePolyline& polyline);
// The segments in world coordinates: zero-length segments are skipped; an arc with a negative bulge
// becomes a counter-clockwise arc from its end to its start about the same normal.
QUELTO_EXPORT std::vector<PolylineSegment> explodeSegments(const BulgePolyline& polyline);
// Under a transform that keeps circles round. A mirroring keeps the transformed normal and negates every
// bulge. Other transforms would turn arcs into ellipses: no value.
QUELTO_EXPORT std::optional<BulgePolyline> transformed(const BulgePolyline& polyline,
                                                       const AcGeMatrix3d& transform);

QUELTO_EXPORT int segmentCount(const Polyline3d& polyline);
QUELTO_EXPORT double endParameter(const Polyline3d& polyline);
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const Polyline3d& polyline, double parameter);
QUELTO_EXPORT std::optional<double> distanceAtParameter(const Polyline3d& polyline, double parameter);
QUELTO_EXPORT double length(const Polyline3d& polyline);
// The area of the closed outline in its own plane (Newell's vector area); for a non-planar outline this is
// the area of its projection onto the plane that fits it best.
QUELTO_EXPORT double area(const Polyline3d& polyline);
QUELTO_EXPORT ExtentsResult extents(const Polyline3d& polyline);
QUELTO_EXPORT std::vector<LineSegment> explodeSegments(const Polyline3d& polyline);

} // namespace cad::ge
