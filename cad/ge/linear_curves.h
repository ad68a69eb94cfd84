// Lines, rays and construction lines as curves. Their parameter is the distance along the line from the
// start (or base) point, as the host measures it; rays and construction lines have no finite extents.
#pragma once

#include "cad/ge/extents_result.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <optional>

namespace cad::ge {

struct LineSegment {
    AcGePoint3d start;
    AcGePoint3d end;
};

QUELTO_EXPORT double length(const LineSegment& line);
// Parameters run from 0 at the start to the length at the end; nothing outside that range.
QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const LineSegment& line, double parameter);
QUELTO_EXPORT std::optional<double> parameterAtPoint(const LineSegment& line, const AcGePoint3d& point);
QUELTO_EXPORT AcDbExtents extents(const LineSegment& line);

// A ray starts at its base point; a construction line runs both ways. Parameter = signed distance.
struct RayLine {
    AcGePoint3d basePoint;
    AcGeVector3d unitDirection{1.0, 0.0, 0.0};
    bool bothWays = false;
};

QUELTO_EXPORT std::optional<AcGePoint3d> pointAtParameter(const RayLine& ray, double parameter);
QUELTO_EXPORT ExtentsResult extents(const RayLine& ray);

} // namespace cad::ge
