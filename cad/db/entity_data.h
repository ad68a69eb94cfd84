// The DXF data list of one object, as acdbEntGetX hands it out: the entity name (-1), the type (0),
// then every group in the order the object keeps them (handle, reactors, owner, subclass markers, the
// class's groups, extended data). Produced by the same attribute tables and plans that saving uses.
#pragma once

#include "cad/db/db_object.h"
#include "cad/db/object_id.h"
#include "cad/dxf/tag.h"
#include "platform/export.h"

#include <vector>

namespace cad::db {

struct QUELTO_EXPORT DataTag {
    dxf::OwnedTag tag; // strings in UTF-8, whatever the drawing's code page
    AcDbObjectId id;   // for -1 and for groups that hold handles (330-369, 390-399, 480-481, 1005)
};

// True for the group codes whose values are handles of other objects.
QUELTO_EXPORT bool isHandleReferenceCode(int code) noexcept;

QUELTO_EXPORT std::vector<DataTag> objectDataList(const AcDbObject& object);

} // namespace cad::db
