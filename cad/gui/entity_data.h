// Numbers of an entity that its class has no accessor for (MINSERT spacing, polygon-mesh sizes), read
// from its data list as any program on the host reads them.
#pragma once

#include "cad/db/db_entity.h"

#include <map>
#include <set>

namespace cad::gui {

// The first value of each of `codes` that the entity's data list holds (shorts, longs and reals alike).
std::map<int, double> groupNumbers(const AcDbEntity& entity, const std::set<int>& codes);

} // namespace cad::gui
