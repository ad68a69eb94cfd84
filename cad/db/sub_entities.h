// The ATTRIB and VERTEX sub-entities of INSERT and POLYLINE seen the same way whether their owner is in
// a database (ids, opened through the database) or not yet (held by the owner): one accessor for the
// geometry code, appending, copying, and moving held sub-entities into the database with their owner.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "platform/export.h"

#include <functional>
#include <vector>

namespace cad::db {

// Calls `visit` with every sub-entity of `owner` in order; erased or missing ones are left out. Inline
// because whole-drawing extents pass through it for every polyline.
template <class Visitor>
void forEachSubEntity(const AcDbEntity& owner, Visitor&& visit) {
    const AcDbSequence* sequence = owner.sequence();
    if (sequence == nullptr) {
        return;
    }
    if (const AcDbDatabase* database = owner.database()) {
        for (const AcDbObjectId& id : sequence->entities) {
            if (const AcDbEntity* child = AcDbEntity::cast(database->peekObject(id))) {
                visit(*child);
            }
        }
        return;
    }
    for (const std::unique_ptr<AcDbEntity>& child : sequence->pending) {
        visit(static_cast<const AcDbEntity&>(*child));
    }
}

// The same, as a list.
QUELTO_EXPORT std::vector<const AcDbEntity*> subEntities(const AcDbEntity& owner);

// Calls `edit` for every sub-entity of `owner`, each open for write while it runs.
QUELTO_EXPORT void editSubEntities(AcDbEntity& owner, const std::function<void(AcDbEntity&)>& edit);

// Takes ownership of `child` as the last sub-entity of `owner`. A resident owner (open for write) adds
// it to its database, with a SEQEND if the sequence had none, and `id` names it; an owner outside a
// database holds it and `id` is null.
QUELTO_EXPORT Acad::ErrorStatus appendSubEntity(AcDbEntity& owner, AcDbObjectId& id, AcDbEntity* child);

// For an owner that has just joined a database: its held sub-entities join too, owned by it and
// followed by a SEQEND. Nothing happens for owners without held sub-entities.
QUELTO_EXPORT Acad::ErrorStatus addPendingSubEntities(AcDbEntity& owner);

// Gives `target` (not in a database) copies of the sub-entities of `source`; false when one of them
// cannot be copied (and `target` keeps none).
QUELTO_EXPORT bool copySubEntities(const AcDbEntity& source, AcDbEntity& target);

} // namespace cad::db
