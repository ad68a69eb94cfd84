// Sub-entities of INSERT and POLYLINE, resident or held by an owner outside a database. The host lets a
// program build a polyline with its vertices (or a reference with its attributes) before appending it
// to a block; everything that reads or edits them goes through here so it need not care which.
#include "cad/db/sub_entities.h"

#include "cad/db/curve_entities.h"
#include "cad/db/database.h"

#include <memory>

namespace cad::db {

namespace {

Acad::ErrorStatus addSequenceEnd(AcDbDatabase& database, AcDbEntity& owner, AcDbSequence& sequence) {
    AcDbObjectId endId;
    auto* end = new AcDbSequenceEnd();
    end->setLayer(owner.layerName().c_str());
    end->setPaperSpaceFlag(owner.isInPaperSpaceFlag());
    const Acad::ErrorStatus status = database.addAcDbObject(endId, end);
    if (status != Acad::eOk) {
        delete end;
        return status;
    }
    end->setOwnerId(owner.objectId());
    end->close();
    sequence.sequenceEnd = endId;
    return Acad::eOk;
}

// A vertex goes on its polyline's layer; attributes keep their own, as the host leaves them.
void adoptChild(const AcDbEntity& owner, AcDbEntity& child) {
    if (AcDbVertex::cast(&child) != nullptr) {
        child.setLayer(owner.layerName().c_str());
    }
    child.setPaperSpaceFlag(owner.isInPaperSpaceFlag());
}

} // namespace

std::vector<const AcDbEntity*> subEntities(const AcDbEntity& owner) {
    std::vector<const AcDbEntity*> result;
    forEachSubEntity(owner, [&](const AcDbEntity& child) { result.push_back(&child); });
    return result;
}

void editSubEntities(AcDbEntity& owner, const std::function<void(AcDbEntity&)>& edit) {
    AcDbSequence* sequence = owner.sequence();
    if (sequence == nullptr) {
        return;
    }
    if (owner.database() == nullptr) {
        for (const std::unique_ptr<AcDbEntity>& child : sequence->pending) {
            edit(*child);
        }
        return;
    }
    for (const AcDbObjectId& id : sequence->entities) {
        AcDbEntity* child = nullptr;
        if (openObjectAs(child, id, AcDb::kForWrite) != Acad::eOk) {
            continue;
        }
        edit(*child);
        child->close();
    }
}

Acad::ErrorStatus appendSubEntity(AcDbEntity& owner, AcDbObjectId& id, AcDbEntity* child) {
    id = AcDbObjectId();
    AcDbSequence* sequence = owner.sequence();
    if (child == nullptr) {
        return Acad::eNullObjectPointer;
    }
    if (sequence == nullptr) {
        return Acad::eNotApplicable;
    }
    if (!child->isNewObject()) {
        return Acad::eAlreadyInDb;
    }
    AcDbDatabase* database = owner.database();
    if (database == nullptr) {
        adoptChild(owner, *child);
        sequence->pending.emplace_back(child);
        return Acad::eOk;
    }
    if (!owner.isWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const Acad::ErrorStatus status = database->addAcDbObject(id, child);
    if (status != Acad::eOk) {
        return status;
    }
    child->setOwnerId(owner.objectId());
    adoptChild(owner, *child);
    sequence->entities.push_back(id);
    if (sequence->sequenceEnd.isNull()) {
        return addSequenceEnd(*database, owner, *sequence);
    }
    return Acad::eOk;
}

Acad::ErrorStatus addPendingSubEntities(AcDbEntity& owner) {
    AcDbSequence* sequence = owner.sequence();
    AcDbDatabase* database = owner.database();
    if (sequence == nullptr || database == nullptr || sequence->pending.empty()) {
        return Acad::eOk;
    }
    std::vector<std::unique_ptr<AcDbEntity>> pending = std::move(sequence->pending);
    sequence->pending.clear();
    for (std::unique_ptr<AcDbEntity>& child : pending) {
        AcDbObjectId id;
        const Acad::ErrorStatus status = database->addAcDbObject(id, child.get());
        if (status != Acad::eOk) {
            return status;
        }
        AcDbEntity* added = child.release();
        added->setOwnerId(owner.objectId());
        adoptChild(owner, *added);
        added->close();
        sequence->entities.push_back(id);
    }
    return sequence->sequenceEnd.isNull() ? addSequenceEnd(*database, owner, *sequence) : Acad::eOk;
}

bool copySubEntities(const AcDbEntity& source, AcDbEntity& target) {
    AcDbSequence* sequence = target.sequence();
    if (sequence == nullptr || source.sequence() == nullptr) {
        return true;
    }
    std::vector<std::unique_ptr<AcDbEntity>> copies;
    for (const AcDbEntity* child : subEntities(source)) {
        std::unique_ptr<AcDbEntity> copy(child->clone());
        if (copy == nullptr) {
            return false;
        }
        copies.push_back(std::move(copy));
    }
    sequence->pending = std::move(copies);
    return true;
}

} // namespace cad::db
