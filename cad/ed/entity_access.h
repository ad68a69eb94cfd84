// Entity names and object ids, the entity data list (acdbEntGet/acdbEntGetX) and opening objects by id
// in the host's C-style calls, over the drawing database's open discipline.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/ed/resbuf.h"
#include "platform/export.h"

// An entity name is the object id's number in the first half and a tag in the second, so a name can be
// told from a selection set's name.
QUELTO_EXPORT Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
QUELTO_EXPORT Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);

namespace cad::ed {
inline constexpr std::int64_t kEntityNameTag = 0x454E54; // "ENT"
QUELTO_EXPORT AcDbObjectId objectIdOfName(const ads_name name);
} // namespace cad::ed

// The entity's DXF data in the host's order: (-1 . name), (0 . type), owner (330) and handle (5), the
// AcDbEntity marker, (67 . 0/1) and (410 . layout) for every entity of a layout (none for entities of
// block definitions), then its groups as saved (points whole, handles of other objects as entity names).
// acdbEntGetX appends the extended data of the applications the list names (wild-card patterns, "*" for all)
// behind a -3 item. Null for an unknown or erased entity.
QUELTO_EXPORT resbuf* acdbEntGet(const ads_name entity);
QUELTO_EXPORT resbuf* acdbEntGetX(const ads_name entity, const resbuf* applications);
// Erases the entity, or brings an erased one back.
QUELTO_EXPORT int acdbEntDel(const ads_name entity);

QUELTO_EXPORT Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                                   bool openErased = false);
QUELTO_EXPORT Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                                   bool openErased = false);

// Typed opening: eNotThatKindOfClass, with nothing left open, for an object of another class.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    return cad::db::openObjectAs(object, id, mode, openErased);
}
