// Whether an entity touches a crossing window, decided on its curve rather than its extents box: a
// diagonal line or an arc can have a box that overlaps the window while the curve itself passes by.
#pragma once

#include "cad/db/db_entity.h"
#include "platform/export.h"

#include <optional>

namespace cad::ed {

// True when some part of the entity lies inside the window (`low`, `high`: its corners in the XY
// plane, world coordinates), false when none does; nothing for kinds it cannot tell exactly (curves
// not in the XY plane, and everything but lines, circles, arcs and lightweight polylines), which the
// caller measures by their box.
QUELTO_EXPORT std::optional<bool> touchesWindow(const AcDbEntity& entity, const double low[2],
                                                const double high[2]);

} // namespace cad::ed
