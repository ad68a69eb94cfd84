// The little geometry selection needs: an entity's extents box for window and crossing selection and
// its distance from a picked point. Modelled kinds answer with their exact extents; kinds kept only as
// tags (proxies, third-party entities) are measured by their DXF points.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "platform/export.h"

#include <optional>

namespace cad::ed {

struct Box {
    double minimum[3] = {0.0, 0.0, 0.0};
    double maximum[3] = {0.0, 0.0, 0.0};
};

QUELTO_EXPORT std::optional<Box> entityBox(const AcDbDatabase& database, const AcDbEntity& entity);
// Distance in the XY plane from the point to the entity's lines, circles or box; nothing when the
// entity has no points at all.
QUELTO_EXPORT std::optional<double> pickDistance(const AcDbDatabase& database, const AcDbEntity& entity,
                                                 const double point[3]);

} // namespace cad::ed
