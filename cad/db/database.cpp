// AcDbDatabase: object slots, the handle index, lookups of tables and dictionaries, and the open/close
// discipline. Loading and saving live in dxf_loader.cpp and dxf_saver.cpp.
#include "cad/db/database.h"

#include "cad/db/db_entity.h"
#include "cad/db/dictionary.h"
#include "cad/db/object_io.h"
#include "cad/db/sub_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/undo_log.h"
#include "platform/wide_text.h"

namespace cad::db {

std::string Diagnostic::toString() const {
    if (line != 0) {
        return "line " + std::to_string(line) + ": " + message;
    }
    return "offset " + std::to_string(offset) + ": " + message;
}

Acad::ErrorStatus openObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
    object = nullptr;
    ObjectSlot* slot = id.slot();
    if (slot == nullptr) {
        return Acad::eNullObjectId;
    }
    if (slot->object == nullptr) {
        return Acad::ePermanentlyErased;
    }
    if (slot->erased && !openErased) {
        return Acad::eWasErased;
    }
    if (slot->openForWrite) {
        return Acad::eWasOpenForWrite;
    }
    if (mode == AcDb::kForWrite) {
        if (slot->readers > 0) {
            return Acad::eWasOpenForRead;
        }
        if (UndoLog* log = slot->database->undoLog()) {
            log->noteOpenForWrite(*slot);
        }
        slot->openForWrite = true;
    } else {
        if (slot->readers == 0xffff) {
            return Acad::eAtMaxReaders;
        }
        ++slot->readers;
    }
    object = slot->object.get();
    return Acad::eOk;
}

} // namespace cad::db

using cad::db::DatabaseAccess;
using cad::db::ObjectSlot;

namespace {
// Handles are mostly dense and increasing, so a nearly-identity position keeps neighbouring handles in
// neighbouring entries (one cache line serves several lookups); the shift folds in the high bits.
std::uint64_t hashHandle(std::uint64_t handle) {
    return handle ^ (handle >> 21);
}
} // namespace

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) {
    if (buildDefaultDrawing) {
        this->buildDefaultDrawing();
    }
}

AcDbDatabase::~AcDbDatabase() = default;

void AcDbDatabase::clear() {
    m_slots.clear();
    m_handleIndex.clear();
    m_handleCount = 0;
    m_handseed = AcDbHandle(1);
    m_header.clear();
    m_rawSections.clear();
    m_sectionOrder.clear();
    m_tableOrder.clear();
    m_blockOrder.clear();
    m_entitiesOrder.clear();
    m_objectsOrder.clear();
    m_diagnostics.clear();
    m_blockTable = m_layerTable = m_linetypeTable = m_textStyleTable = m_dimStyleTable = AcDbObjectId();
    m_namedObjects = m_modelSpace = m_paperSpace = m_currentSpace = AcDbObjectId();
    if (m_undoLog != nullptr) {
        m_undoLog->clear();
    }
}

cad::db::UndoLog& AcDbDatabase::enableUndo() {
    if (m_undoLog == nullptr) {
        m_undoLog = std::make_unique<cad::db::UndoLog>(*this);
    }
    return *m_undoLog;
}

AcDbObjectId AcDbDatabase::currentSpaceId() const {
    if (!m_currentSpace.isNull() && m_currentSpace.isValid() && !m_currentSpace.isErased()) {
        return m_currentSpace;
    }
    return m_modelSpace;
}

bool AcDbDatabase::setCurrentSpace(AcDbObjectId space) {
    const auto* record = AcDbBlockTableRecord::cast(peekObject(space));
    if (record == nullptr || space.database() != this || !record->isLayout()) {
        return false;
    }
    m_currentSpace = space;
    return true;
}

void AcDbDatabase::growHandleIndex() {
    std::vector<HandleEntry> old = std::move(m_handleIndex);
    m_handleIndex.assign(old.empty() ? 1024 : old.size() * 2, HandleEntry());
    m_handleCount = 0;
    for (const HandleEntry& entry : old) {
        if (entry.slot != nullptr) {
            indexHandle(entry.slot);
        }
    }
}

void AcDbDatabase::indexHandle(ObjectSlot* slot) {
    indexHandle(slot, slot->object->handle().value());
}

void AcDbDatabase::indexHandle(ObjectSlot* slot, std::uint64_t handle) {
    if ((m_handleCount + 1) * 2 > m_handleIndex.size()) {
        growHandleIndex();
    }
    const std::size_t mask = m_handleIndex.size() - 1;
    std::size_t position = static_cast<std::size_t>(hashHandle(handle)) & mask;
    while (m_handleIndex[position].slot != nullptr) {
        position = (position + 1) & mask;
    }
    m_handleIndex[position] = {handle, slot};
    ++m_handleCount;
}

// Backward-shift deletion: the entries after the hole that probed past it move up, so lookups never
// need tombstones.
void AcDbDatabase::unindexHandle(std::uint64_t handle) {
    if (m_handleIndex.empty() || handle == 0) {
        return;
    }
    const std::size_t mask = m_handleIndex.size() - 1;
    std::size_t hole = static_cast<std::size_t>(hashHandle(handle)) & mask;
    while (m_handleIndex[hole].slot != nullptr && m_handleIndex[hole].handle != handle) {
        hole = (hole + 1) & mask;
    }
    if (m_handleIndex[hole].slot == nullptr) {
        return;
    }
    for (std::size_t next = (hole + 1) & mask; m_handleIndex[next].slot != nullptr;
         next = (next + 1) & mask) {
        const std::size_t home = static_cast<std::size_t>(hashHandle(m_handleIndex[next].handle)) & mask;
        // The entry may fill the hole unless its home lies cyclically in (hole, next].
        const bool homeBetween = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (!homeBetween) {
            m_handleIndex[hole] = m_handleIndex[next];
            hole = next;
        }
    }
    m_handleIndex[hole] = HandleEntry();
    --m_handleCount;
}

ObjectSlot* AcDbDatabase::findHandle(std::uint64_t handle) const {
    if (m_handleIndex.empty() || handle == 0) {
        return nullptr;
    }
    const std::size_t mask = m_handleIndex.size() - 1;
    std::size_t position = static_cast<std::size_t>(hashHandle(handle)) & mask;
    while (m_handleIndex[position].slot != nullptr) {
        if (m_handleIndex[position].handle == handle) {
            return m_handleIndex[position].slot;
        }
        position = (position + 1) & mask;
    }
    return nullptr;
}

AcDbObjectId AcDbDatabase::adopt(std::unique_ptr<AcDbObject> object) {
    const std::uint64_t handle = object->handle().value();
    return adopt(std::move(object), handle);
}

AcDbObjectId AcDbDatabase::adopt(std::unique_ptr<AcDbObject> object, std::uint64_t handle) {
    ObjectSlot& slot = m_slots.emplace_back();
    slot.database = this;
    slot.serial = static_cast<std::uint32_t>(m_slots.size());
    DatabaseAccess::attach(*object, &slot);
    slot.object = std::move(object);
    if (handle != 0) {
        indexHandle(&slot, handle);
    }
    return AcDbObjectId(&slot);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
    if (object == nullptr) {
        return Acad::eNullObjectPointer;
    }
    if (!object->isNewObject()) {
        return Acad::eAlreadyInDb;
    }
    if (m_undoLog != nullptr) {
        m_undoLog->prepareAdd();
    }
    DatabaseAccess::setHandle(*object, m_handseed);
    m_handseed = m_handseed + 1;
    id = adopt(std::unique_ptr<AcDbObject>(object));
    if (m_undoLog != nullptr) {
        m_undoLog->noteAdded(*id.slot());
    }
    id.slot()->openForWrite = true;
    // A POLYLINE or INSERT made outside the database brings the VERTEXes or ATTRIBs it holds.
    Acad::ErrorStatus status = Acad::eOk;
    if (auto* entity = AcDbEntity::cast(object)) {
        status = cad::db::addPendingSubEntities(*entity);
    }
    // Entities are written by their blocks and records by their tables; every other object belongs to
    // the OBJECTS section.
    if (AcDbEntity::cast(object) == nullptr && AcDbSymbolTableRecord::cast(object) == nullptr &&
        AcDbSymbolTable::cast(object) == nullptr) {
        m_objectsOrder.push_back(id);
    }
    return status;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& handle,
                                                Adesk::UInt32) const {
    id = objectIdOf(handle);
    return id.isNull() ? Acad::eUnknownHandle : Acad::eOk;
}

AcDbObjectId AcDbDatabase::objectIdOf(AcDbHandle handle) const {
    return AcDbObjectId(findHandle(handle.value()));
}

const AcDbObject* AcDbDatabase::peekObject(AcDbObjectId id) const {
    const ObjectSlot* slot = id.slot();
    if (slot == nullptr || slot->database != this || slot->erased) {
        return nullptr;
    }
    return slot->object.get();
}

std::string AcDbDatabase::acadVersionText() const {
    return "AC" + std::to_string(m_version);
}

const cad::db::HeaderVariable* AcDbDatabase::headerVariable(std::string_view name) const {
    for (const cad::db::HeaderVariable& variable : m_header) {
        if (variable.name == name) {
            return &variable;
        }
    }
    return nullptr;
}

void AcDbDatabase::setHeaderVariable(cad::db::HeaderVariable variable) {
    if (m_undoLog != nullptr) {
        m_undoLog->noteHeaderChange();
    }
    for (cad::db::HeaderVariable& existing : m_header) {
        if (existing.name == variable.name) {
            existing = std::move(variable);
            return;
        }
    }
    m_header.push_back(std::move(variable));
}

int AcDbDatabase::insunits() const {
    const cad::db::HeaderVariable* variable = headerVariable("$INSUNITS");
    return variable != nullptr && !variable->values.empty()
               ? static_cast<int>(variable->values.front().integer)
               : 0;
}

AcDbObjectId AcDbDatabase::tableIdByName(std::wstring_view name) const {
    for (const AcDbObjectId& id : m_tableOrder) {
        const auto* table = AcDbSymbolTable::cast(peekObject(id));
        if (table != nullptr && platform::equalsIgnoringAsciiCase(table->tableName(), name)) {
            return id;
        }
    }
    return {};
}

AcDbObjectId AcDbDatabase::recordIdByName(AcDbObjectId tableId, std::wstring_view name) const {
    const auto* table = AcDbSymbolTable::cast(peekObject(tableId));
    if (table == nullptr) {
        return {};
    }
    AcDbObjectId id;
    const std::wstring text(name);
    return table->getAt(text.c_str(), id) == Acad::eOk ? id : AcDbObjectId();
}

AcDbObjectId AcDbDatabase::dictionaryEntry(AcDbObjectId dictionaryId, std::wstring_view key) const {
    const auto* dictionary = AcDbDictionary::cast(peekObject(dictionaryId));
    if (dictionary == nullptr) {
        return {};
    }
    AcDbObjectId id;
    const std::wstring text(key);
    return dictionary->getAt(text.c_str(), id) == Acad::eOk ? id : AcDbObjectId();
}

AcDbObjectId AcDbDatabase::groupDictionaryId() const {
    return dictionaryEntry(m_namedObjects, L"ACAD_GROUP");
}

AcDbObjectId AcDbDatabase::layoutDictionaryId() const {
    return dictionaryEntry(m_namedObjects, L"ACAD_LAYOUT");
}

AcDbObjectId AcDbDatabase::mLStyleDictionaryId() const {
    return dictionaryEntry(m_namedObjects, L"ACAD_MLINESTYLE");
}

static Acad::ErrorStatus openDictionary(AcDbObjectId id, AcDbDictionary*& dictionary, AcDb::OpenMode mode) {
    dictionary = nullptr;
    if (id.isNull()) {
        return Acad::eKeyNotFound;
    }
    return cad::db::openObjectAs(dictionary, id, mode);
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& dictionary,
                                                          AcDb::OpenMode mode) const {
    return openDictionary(m_namedObjects, dictionary, mode);
}

Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode) const {
    return openDictionary(groupDictionaryId(), dictionary, mode);
}

Acad::ErrorStatus AcDbDatabase::getLayoutDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode) const {
    return openDictionary(layoutDictionaryId(), dictionary, mode);
}

AcDbObjectId AcDbDatabase::clayer() const {
    const cad::db::HeaderVariable* variable = headerVariable("$CLAYER");
    const std::wstring name = variable != nullptr && !variable->values.empty()
                                  ? m_codec.decode(variable->values.front().text)
                                  : L"0";
    return recordIdByName(m_layerTable, name);
}

void AcDbDatabase::noteEntityAppended(AcDbObjectId record, AcDbObjectId entity) {
    if (record == m_modelSpace || record == m_paperSpace) {
        m_entitiesOrder.push_back(entity);
    }
}

void AcDbDatabase::noteBlockAdded(AcDbObjectId recordId) {
    auto* record = AcDbBlockTableRecord::cast(recordId.slot()->object.get());
    if (record == nullptr) {
        return;
    }
    auto begin = std::make_unique<AcDbBlockBegin>();
    begin->setName(record->name());
    auto end = std::make_unique<AcDbBlockEnd>();
    AcDbObjectId beginId;
    AcDbObjectId endId;
    addAcDbObject(beginId, begin.release());
    addAcDbObject(endId, end.release());
    for (const AcDbObjectId& id : {beginId, endId}) {
        AcDbObject* object = id.slot()->object.get();
        object->setOwnerId(recordId);
        object->close();
    }
    record->attachLoaded(beginId, endId);
    m_blockOrder.push_back(recordId);
}

Acad::ErrorStatus AcDbDatabase::dxfIn(const ACHAR* fileName) {
    if (fileName == nullptr) {
        return Acad::eInvalidInput;
    }
    const std::filesystem::path path(fileName);
    return readDxf(path, m_lastError) ? Acad::eOk : Acad::eDxfReadAborted;
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const ACHAR* fileName) {
    if (fileName == nullptr) {
        return Acad::eInvalidInput;
    }
    return writeDxf(std::filesystem::path(fileName), cad::db::SaveOptions(), m_lastError)
               ? Acad::eOk
               : Acad::eFileAccessErr;
}

const char* cad::db::errorStatusName(Acad::ErrorStatus status) noexcept {
    switch (status) {
    case Acad::eOk:
        return "eOk";
    case Acad::eInvalidInput:
        return "eInvalidInput";
    case Acad::eNullObjectId:
        return "eNullObjectId";
    case Acad::eKeyNotFound:
        return "eKeyNotFound";
    case Acad::eDuplicateKey:
        return "eDuplicateKey";
    case Acad::eNotOpenForRead:
        return "eNotOpenForRead";
    case Acad::eNotOpenForWrite:
        return "eNotOpenForWrite";
    case Acad::eNotThatKindOfClass:
        return "eNotThatKindOfClass";
    case Acad::eWasErased:
        return "eWasErased";
    case Acad::eWasOpenForRead:
        return "eWasOpenForRead";
    case Acad::eWasOpenForWrite:
        return "eWasOpenForWrite";
    case Acad::eHadMultipleReaders:
        return "eHadMultipleReaders";
    case Acad::eNotInDatabase:
        return "eNotInDatabase";
    case Acad::eAlreadyInDb:
        return "eAlreadyInDb";
    case Acad::eInvalidExtents:
        return "eInvalidExtents";
    case Acad::eAlreadyInGroup:
        return "eAlreadyInGroup";
    case Acad::eNotInGroup:
        return "eNotInGroup";
    default:
        return "Acad::ErrorStatus";
    }
}
