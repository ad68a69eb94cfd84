// Object coordinate systems: entities that lie in a plane (arcs, circles, text, lightweight polylines)
// store their coordinates in the system derived from their extrusion direction by the arbitrary axis rule.
// These helpers map between that system and the world.
#pragma once

#include "cad/ge/matrix3d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

namespace cad::ge {

// The world directions of the object system's X, Y and Z axes for an extrusion direction.
struct OcsAxes {
    AcGeVector3d xAxis;
    AcGeVector3d yAxis;
    AcGeVector3d zAxis;
};

QUELTO_EXPORT OcsAxes ocsAxes(const AcGeVector3d& normal);
QUELTO_EXPORT AcGePoint3d ocsToWcs(const AcGePoint3d& point, const AcGeVector3d& normal);
QUELTO_EXPORT AcGePoint3d wcsToOcs(const AcGePoint3d& point, const AcGeVector3d& normal);
QUELTO_EXPORT AcGeVector3d ocsToWcs(const AcGeVector3d& vector, const AcGeVector3d& normal);
QUELTO_EXPORT AcGeVector3d wcsToOcs(const AcGeVector3d& vector, const AcGeVector3d& normal);
// True when the extrusion is the world Z axis, where OCS and WCS coincide and callers can skip the mapping.
QUELTO_EXPORT bool isWorldNormal(const AcGeVector3d& normal);

} // namespace cad::ge
