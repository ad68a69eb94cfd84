// Picking one member of a group selects the whole group while PICKSTYLE asks for it (its bit 1), as
// drafters expect of the groups they made; groups marked unselectable keep their members apart.
#pragma once

#include "cad/db/database.h"
#include "platform/export.h"

#include <vector>

namespace cad::ed {

// The ids followed by the other members, in `space`, of every selectable group one of the ids belongs
// to, each once. The ids as given while PICKSTYLE's group bit is off.
QUELTO_EXPORT std::vector<AcDbObjectId> withTheirGroups(const AcDbDatabase& database, AcDbObjectId space,
                                                        const std::vector<AcDbObjectId>& ids);

} // namespace cad::ed
