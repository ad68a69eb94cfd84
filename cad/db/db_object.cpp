// AcDbObject: open/close state kept in the object's slot, ownership by handle, and the extended data and
// extension dictionary found among the groups the attribute tables leave unmapped.
#include "cad/db/db_object.h"

#include "cad/db/database.h"
#include "cad/db/object_io.h"
#include "cad/db/undo_log.h"

ACRX_DEFINE_MEMBERS(AcDbGenericObject, AcDbObject)

AcRxClass* AcDbObject::desc() {
    static AcRxClass description(L"AcDbObject", nullptr);
    return &description;
}

AcRxClass* AcDbObject::isA() const {
    return desc();
}

AcDbObject::~AcDbObject() = default;

AcDbObject::AcDbObject(const AcDbObject& other)
    : m_handle(other.m_handle), m_ownerHandle(other.m_ownerHandle), m_plan(other.m_plan),
      m_extraTags(other.m_extraTags != nullptr
                      ? std::make_unique<std::vector<cad::dxf::OwnedTag>>(*other.m_extraTags)
                      : nullptr),
      m_modified(other.m_modified) {}

AcDbObject* AcDbObject::copyState() const {
    return new AcDbObject(*this);
}

cad::db::ClassTable& AcDbObject::addObjectFields(cad::db::ClassTable& table) {
    table.add(cad::db::field<&AcDbObject::m_handle>(table.handleCode()));
    table.add(cad::db::field<&AcDbObject::m_ownerHandle>(330).since(cad::db::kVersionR13));
    return table;
}

const cad::db::ClassTable& AcDbObject::dxfTable() const {
    static const cad::db::ClassTable kTable = [] {
        cad::db::ClassTable result("");
        addObjectFields(result);
        return result;
    }();
    return kTable;
}

const std::vector<cad::dxf::OwnedTag>& AcDbObject::extraTags() const {
    static const std::vector<cad::dxf::OwnedTag> kNone;
    return m_extraTags != nullptr ? *m_extraTags : kNone;
}

AcDbObjectId AcDbObject::ownerId() const {
    const AcDbDatabase* owningDatabase = database();
    return owningDatabase != nullptr ? owningDatabase->objectIdOf(m_ownerHandle) : AcDbObjectId();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner) {
    return assignWhenWritable(m_ownerHandle, owner.handle());
}

AcDbObjectId AcDbObject::extensionDictionary() const {
    bool inDictionaryGroup = false;
    for (const cad::dxf::OwnedTag& tag : extraTags()) {
        if (tag.code == 102) {
            inDictionaryGroup = tag.text == "{ACAD_XDICTIONARY";
        } else if (inDictionaryGroup && tag.code == 360) {
            AcDbHandle handle;
            if (AcDbHandle::parseHex(tag.text, handle) && database() != nullptr) {
                return database()->objectIdOf(handle);
            }
        }
    }
    return {};
}

std::vector<AcDbHandle> AcDbObject::reactorHandles() const {
    std::vector<AcDbHandle> handles;
    bool inReactorGroup = false;
    for (const cad::dxf::OwnedTag& tag : extraTags()) {
        if (tag.code == 102) {
            inReactorGroup = tag.text == "{ACAD_REACTORS";
        } else if (inReactorGroup && tag.code == 330) {
            AcDbHandle handle;
            if (AcDbHandle::parseHex(tag.text, handle)) {
                handles.push_back(handle);
            }
        }
    }
    return handles;
}

std::vector<cad::dxf::OwnedTag> AcDbObject::xData(const std::string& appName) const {
    std::vector<cad::dxf::OwnedTag> result;
    bool inWantedApplication = false;
    for (const cad::dxf::OwnedTag& tag : extraTags()) {
        if (tag.code < 1000) {
            continue;
        }
        if (tag.code == 1001) {
            inWantedApplication = appName.empty() || tag.text == appName;
        }
        if (inWantedApplication) {
            result.push_back(tag);
        }
    }
    return result;
}

Acad::ErrorStatus AcDbObject::setXData(const std::vector<cad::dxf::OwnedTag>& tags) {
    if (tags.empty() || tags.front().code != 1001) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const std::string& appName = tags.front().text;
    // Drop the application's old block from the unmapped tags and from the plan together, so the
    // remaining unmapped tags keep their places.
    std::vector<cad::dxf::OwnedTag> kept;
    cad::db::Plan plan;
    const std::vector<cad::dxf::OwnedTag>& extra = extraTags();
    std::vector<bool> keepExtra(extra.size(), true);
    bool inApplication = false;
    for (std::size_t index = 0; index < extra.size(); ++index) {
        const cad::dxf::OwnedTag& tag = extra[index];
        if (tag.code == 1001) {
            inApplication = tag.text == appName;
        }
        if (tag.code >= 1000 && inApplication) {
            keepExtra[index] = false;
        }
    }
    std::size_t extraIndex = 0;
    if (m_plan != nullptr) {
        for (const std::uint16_t item : *m_plan) {
            if (item != cad::db::kRawItem) {
                plan.push_back(item);
                continue;
            }
            if (extraIndex < keepExtra.size() && keepExtra[extraIndex]) {
                plan.push_back(item);
                kept.push_back(extra[extraIndex]);
            }
            ++extraIndex;
        }
    } else {
        for (std::size_t index = 0; index < extra.size(); ++index) {
            if (keepExtra[index]) {
                kept.push_back(extra[index]);
            }
        }
    }
    if (tags.size() > 1) {
        for (const cad::dxf::OwnedTag& tag : tags) {
            kept.push_back(tag);
            plan.push_back(cad::db::kRawItem);
        }
    }
    m_extraTags = std::make_unique<std::vector<cad::dxf::OwnedTag>>(std::move(kept));
    if (m_plan != nullptr) {
        m_plan = cad::db::ObjectReader::internPlan(plan);
    }
    return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const {
    return m_slot == nullptr || m_slot->readers > 0 || m_slot->openForWrite;
}

bool AcDbObject::isWriteEnabled() const {
    return m_slot == nullptr || m_slot->openForWrite;
}

bool AcDbObject::checkWriteEnabled() {
    if (m_slot != nullptr && !m_slot->openForWrite) {
        return false;
    }
    m_modified = true;
    return true;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (m_slot == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_slot->erased = erasing;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::close() {
    if (m_slot == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (m_slot->openForWrite) {
        m_slot->openForWrite = false;
        return Acad::eOk;
    }
    if (m_slot->readers == 0) {
        return Acad::eNotOpenForRead;
    }
    --m_slot->readers;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    if (m_slot == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (m_slot->openForWrite) {
        return Acad::eWasOpenForWrite;
    }
    if (m_slot->readers != 1) {
        return Acad::eHadMultipleReaders;
    }
    if (cad::db::UndoLog* log = m_slot->database->undoLog()) {
        log->noteOpenForWrite(*m_slot);
    }
    m_slot->readers = 0;
    m_slot->openForWrite = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (m_slot == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!m_slot->openForWrite) {
        return Acad::eNotOpenForWrite;
    }
    m_slot->openForWrite = false;
    m_slot->readers = 1;
    return Acad::eOk;
}

AcDbObjectId AcDbObject::recordInTable(AcDbObjectId (AcDbDatabase::*table)() const,
                                       std::wstring_view name) const {
    const AcDbDatabase* owner = database();
    return owner != nullptr ? owner->recordIdByName((owner->*table)(), name) : AcDbObjectId();
}
