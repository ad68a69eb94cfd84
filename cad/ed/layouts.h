// Layout names and the spaces they own, as the host's CTAB sees them: "Model" for model space, the
// layout's own name for each paper-space layout. Drawings without layout objects (R12) name their one
// paper space "Layout1".
#pragma once

#include "cad/db/database.h"
#include "platform/export.h"

#include <string>
#include <vector>

namespace cad::ed {

struct LayoutSpace {
    std::wstring name;
    AcDbObjectId space; // the layout's block record
    int tabOrder = 0;
};

// Every layout, model first, then in tab order.
QUELTO_EXPORT std::vector<LayoutSpace> layoutSpaces(const AcDbDatabase& database);
QUELTO_EXPORT std::wstring layoutNameOfSpace(const AcDbDatabase& database, AcDbObjectId space);
// The block record of the layout named (case-insensitively); null when there is none.
QUELTO_EXPORT AcDbObjectId spaceOfLayout(const AcDbDatabase& database, std::wstring_view name);

} // namespace cad::ed
