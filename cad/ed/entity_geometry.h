// The little geometry selection needs: an entity's extents box for window and crossing selection and
// its distance from a picked point. Modelled kinds answer with their exact extents; kinds kept only as
// tags (proxies, third-party entities) are measured by their DXF points.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/ge/extents.h"
#include "platform/export.h"

#include <optional>

namespace cad::ed {

// The entity's extents box; nothing when the entity has no points at all.
QUELTO_EXPORT std::optional<AcDbExtents> entityBox(const AcDbDatabase& database, const AcDbEntity& entity);
// The box of every entity of the space (a block record) that has one; nothing when none has.
QUELTO_EXPORT std::optional<AcDbExtents> spaceExtents(const AcDbDatabase& database, AcDbObjectId space);
// Distance in the XY plane from the point to the entity's lines, circles or box; nothing when the
// entity has no points at all.
QUELTO_EXPORT std::optional<double> pickDistance(const AcDbDatabase& database, const AcDbEntity& entity,
                                                 const AcGePoint3d& point);

} // namespace cad::ed
