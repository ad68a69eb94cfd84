// Symbol tables and their records: attribute tables, case-insensitive name lookup, and the block
// record's entity list with the append operation the host's interface documents.
#include "cad/db/symbol_tables.h"

#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "platform/angle_units.h"
#include "platform/wide_text.h"

#include <cstdlib>
#include <cwchar>

using cad::db::ClassTable;
using cad::db::field;

ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable)
ACRX_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable)
ACRX_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable)
ACRX_DEFINE_MEMBERS(AcDbDimStyleTable, AcDbSymbolTable)
ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)
ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbGenericTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbDimStyleTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord)

const ACHAR* const AcDbBlockTableRecord::kModelSpace = L"*Model_Space";
const ACHAR* const AcDbBlockTableRecord::kPaperSpace = L"*Paper_Space";

namespace {
using platform::kDegreesPerRadian;
} // namespace

const ClassTable& AcDbSymbolTable::classTable() {
    static ClassTable table = [] {
        ClassTable result("TABLE");
        result.add(field<&AcDbSymbolTable::m_tableName>(2));
        addObjectFields(result);
        result.marker("AcDbSymbolTable");
        result.add(field<&AcDbSymbolTable::m_maxEntries>(70));
        return result;
    }();
    return table;
}

const ClassTable& AcDbDimStyleTable::classTable() {
    static ClassTable table = [] {
        ClassTable result("TABLE");
        result.add(field<&AcDbSymbolTable::m_tableName>(2));
        addObjectFields(result);
        result.marker("AcDbSymbolTable");
        result.add(field<&AcDbSymbolTable::m_maxEntries>(70));
        result.marker("AcDbDimStyleTable");
        return result;
    }();
    return table;
}

std::wstring AcDbSymbolTable::key(std::wstring_view name) {
    return platform::toUpperAscii(name);
}

void AcDbSymbolTable::appendLoadedRecord(AcDbObjectId id, const std::wstring& name) {
    m_records.push_back(id);
    m_byName.emplace(key(name), id);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
    for (const AcDbObjectId& record : m_records) {
        if (record == id && !id.isErased()) {
            return true;
        }
    }
    return false;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const {
    if (name == nullptr) {
        return Acad::eInvalidInput;
    }
    const auto found = m_byName.find(key(name));
    if (found == m_byName.end() || (found->second.isErased() && !getErasedRecord)) {
        return Acad::eKeyNotFound;
    }
    id = found->second;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record,
                                         AcDb::OpenMode mode, bool openErasedRecord) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus status = getAt(name, id, openErasedRecord);
    if (status != Acad::eOk) {
        return status;
    }
    return cad::db::openObjectAs(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    if (record == nullptr) {
        return Acad::eNullObjectPointer;
    }
    AcDbDatabase* owner = database();
    if (owner == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (record->name().empty()) {
        return Acad::eInvalidSymbolTableName;
    }
    if (has(record->name().c_str())) {
        return Acad::eDuplicateKey;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const Acad::ErrorStatus status = owner->addAcDbObject(id, record);
    if (status != Acad::eOk) {
        return status;
    }
    record->setOwnerId(objectId());
    appendLoadedRecord(id, record->name());
    if (AcDbBlockTableRecord::cast(record) != nullptr) {
        owner->noteBlockAdded(id);
    }
    // Group 70 counts the table's entries. Some programs write it low or as 0, which is kept as read;
    // an added record only ever raises it to the number of records.
    constexpr std::size_t kLargestCount = 32767;
    m_maxEntries =
        std::max(m_maxEntries, static_cast<Adesk::Int16>(std::min(m_records.size(), kLargestCount)));
    return Acad::eOk;
}

ClassTable& AcDbSymbolTableRecord::addRecordFields(ClassTable& table, std::string_view subclass) {
    addObjectFields(table);
    table.marker("AcDbSymbolTableRecord");
    if (!subclass.empty()) {
        table.marker(subclass);
    }
    table.add(field<&AcDbSymbolTableRecord::m_name>(2));
    table.add(field<&AcDbSymbolTableRecord::m_flags>(70));
    return table;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
    if (name == nullptr || *name == 0) {
        return Acad::eInvalidInput;
    }
    if (database() != nullptr) {
        return Acad::eNotApplicable;
    }
    m_name = name;
    return Acad::eOk;
}

const ClassTable& AcDbGenericTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("");
        addObjectFields(result);
        result.anySubclass();
        result.add(field<&AcDbGenericTableRecord::m_name>(2));
        result.add(field<&AcDbGenericTableRecord::m_flags>(70));
        return result;
    }();
    return table;
}

const ClassTable& AcDbLayerTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("LAYER");
        addRecordFields(result, "AcDbLayerTableRecord");
        result.add(field<&AcDbLayerTableRecord::m_color>(62));
        result.add(
            field<&AcDbLayerTableRecord::m_trueColor>(420).byDefault(-1).since(cad::db::kVersionR2004));
        result.add(field<&AcDbLayerTableRecord::m_linetype>(6));
        result.add(field<&AcDbLayerTableRecord::m_plottable>(290).byDefault(1).since(cad::db::kVersionR2000));
        result.add(field<&AcDbLayerTableRecord::m_lineWeight>(370).since(cad::db::kVersionR2000));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbLayerTableRecord::setColorIndex(Adesk::UInt16 color) {
    if (color < 1 || color > 255) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_color, static_cast<Adesk::Int16>(isOff() ? -static_cast<int>(color) : color));
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsOff(bool off) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const Adesk::Int16 magnitude = static_cast<Adesk::Int16>(colorIndex());
    m_color = off ? static_cast<Adesk::Int16>(-magnitude) : magnitude;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
    return assignWhenWritable(m_flags, static_cast<Adesk::Int16>(frozen ? (m_flags | 1) : (m_flags & ~1)));
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsLocked(bool locked) {
    return assignWhenWritable(m_flags, static_cast<Adesk::Int16>(locked ? (m_flags | 4) : (m_flags & ~4)));
}

AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const {
    return recordInTable(&AcDbDatabase::linetypeTableId, m_linetype.text());
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeName(const ACHAR* name) {
    if (name == nullptr || *name == 0) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_linetype, cad::db::Name(name));
}

Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight) {
    if (weight < AcDb::kLnWtByLwDefault || weight > AcDb::kLnWt211) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_lineWeight, static_cast<Adesk::Int16>(weight));
}

const ClassTable& AcDbLinetypeTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("LTYPE");
        addRecordFields(result, "AcDbLinetypeTableRecord");
        result.add(field<&AcDbLinetypeTableRecord::m_description>(3));
        result.add(field<&AcDbLinetypeTableRecord::m_alignment>(72));
        result.add(field<&AcDbLinetypeTableRecord::m_dashCount>(73));
        result.add(field<&AcDbLinetypeTableRecord::m_patternLength>(40));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* description) {
    return assignTextWhenWritable(m_description, description);
}

const ClassTable& AcDbTextStyleTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("STYLE");
        addRecordFields(result, "AcDbTextStyleTableRecord");
        result.add(field<&AcDbTextStyleTableRecord::m_fixedHeight>(40));
        result.add(field<&AcDbTextStyleTableRecord::m_widthFactor>(41));
        result.add(field<&AcDbTextStyleTableRecord::m_obliqueDegrees>(50));
        result.add(field<&AcDbTextStyleTableRecord::m_generation>(71));
        result.add(field<&AcDbTextStyleTableRecord::m_lastHeight>(42));
        result.add(field<&AcDbTextStyleTableRecord::m_fontFile>(3));
        result.add(field<&AcDbTextStyleTableRecord::m_bigFontFile>(4));
        return result;
    }();
    return table;
}

double AcDbTextStyleTableRecord::obliquingAngle() const {
    return m_obliqueDegrees / kDegreesPerRadian;
}

std::wstring AcDbTextStyleTableRecord::typeface() const {
    for (const cad::dxf::OwnedTag& tag : xData("ACAD")) {
        if (tag.code == 1000) {
            const AcDbDatabase* owner = database();
            return owner != nullptr ? owner->textCodec().decode(tag.text)
                                    : std::wstring(tag.text.begin(), tag.text.end());
        }
    }
    return {};
}

Acad::ErrorStatus AcDbTextStyleTableRecord::font(ACHAR*& typeface, Adesk::Boolean& bold,
                                                 Adesk::Boolean& italic, int& charset,
                                                 int& pitchAndFamily) const {
    std::int32_t flags = 0;
    for (const cad::dxf::OwnedTag& tag : xData("ACAD")) {
        if (tag.code == 1071) {
            flags = static_cast<std::int32_t>(tag.integer);
        }
    }
    // Allocated as acutNewString allocates, so that acutDelString releases it.
    const std::wstring name = this->typeface();
    typeface = static_cast<ACHAR*>(std::malloc((name.size() + 1) * sizeof(ACHAR)));
    if (typeface == nullptr) {
        return Acad::eOutOfMemory;
    }
    std::wmemcpy(typeface, name.c_str(), name.size() + 1);
    italic = (flags & 0x1000000) != 0;
    bold = (flags & 0x2000000) != 0;
    charset = (flags >> 8) & 0xFF;
    pitchAndFamily = flags & 0xFF;
    return Acad::eOk;
}

const ClassTable& AcDbDimStyleTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("DIMSTYLE");
        result.setHandleCode(105);
        addRecordFields(result, "AcDbDimStyleTableRecord");
        result.add(field<&AcDbDimStyleTableRecord::m_dimpost>(3).byDefaultText(""));
        result.add(field<&AcDbDimStyleTableRecord::m_dimscale>(40));
        result.add(field<&AcDbDimStyleTableRecord::m_dimasz>(41));
        result.add(field<&AcDbDimStyleTableRecord::m_dimzin>(78));
        result.add(field<&AcDbDimStyleTableRecord::m_dimdec>(271).since(cad::db::kVersionR13));
        return result;
    }();
    return table;
}

const ClassTable& AcDbBlockTableRecord::classTable() {
    static ClassTable table = [] {
        ClassTable result("BLOCK_RECORD");
        addObjectFields(result);
        result.marker("AcDbSymbolTableRecord");
        result.marker("AcDbBlockTableRecord");
        result.add(field<&AcDbBlockTableRecord::m_name>(2));
        result.add(field<&AcDbBlockTableRecord::m_layout>(340).since(cad::db::kVersionR2000));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    if (entity == nullptr) {
        return Acad::eNullEntityPointer;
    }
    AcDbDatabase* owner = database();
    if (owner == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!entity->isNewObject()) {
        return Acad::eAlreadyInDb;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    // Set before the entity joins the database, so that sub-entities joining with it take it too.
    entity->setPaperSpaceFlag(objectId() == owner->paperSpaceId());
    const Acad::ErrorStatus status = owner->addAcDbObject(id, entity);
    if (status != Acad::eOk) {
        return status;
    }
    entity->setOwnerId(objectId());
    m_entities.push_back(id);
    owner->noteEntityAppended(objectId(), id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
    iterator = new AcDbBlockTableRecordIterator(m_entities, skipDeleted);
    if (!atBeginning) {
        while (!iterator->done()) {
            iterator->step();
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
    entity = nullptr;
    if (done()) {
        return Acad::eInvalidIndex;
    }
    return cad::db::openObjectAs(entity, m_entities[m_index], mode, openErased);
}

AcDbObjectId AcDbBlockTableRecord::getLayoutId() const {
    return database() != nullptr ? database()->objectIdOf(m_layout) : AcDbObjectId();
}

Acad::ErrorStatus AcDbBlockTableRecord::setLayoutId(AcDbObjectId layout) {
    return assignWhenWritable(m_layout, layout.handle());
}

bool AcDbBlockTableRecord::isLayout() const {
    return platform::startsWithIgnoringAsciiCase(m_name, L"*MODEL_SPACE") ||
           platform::startsWithIgnoringAsciiCase(m_name, L"*PAPER_SPACE") || !getLayoutId().isNull();
}

namespace {
const AcDbBlockBegin* beginOf(const AcDbBlockTableRecord& record) {
    const AcDbDatabase* owner = record.database();
    return owner != nullptr ? AcDbBlockBegin::cast(owner->peekObject(record.blockBeginId())) : nullptr;
}
} // namespace

bool AcDbBlockTableRecord::isAnonymous() const {
    const AcDbBlockBegin* begin = beginOf(*this);
    if (begin != nullptr) {
        return (begin->flags() & 1) != 0;
    }
    return !m_name.empty() && m_name.front() == L'*' && !isLayout();
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
    const AcDbBlockBegin* begin = beginOf(*this);
    return begin != nullptr && (begin->flags() & 2) != 0;
}

bool AcDbBlockTableRecord::isFromExternalReference() const {
    const AcDbBlockBegin* begin = beginOf(*this);
    return begin != nullptr && (begin->flags() & 4) != 0;
}

AcGePoint3d AcDbBlockTableRecord::origin() const {
    const AcDbBlockBegin* begin = beginOf(*this);
    return begin != nullptr ? begin->origin() : AcGePoint3d();
}

std::wstring AcDbBlockTableRecord::pathName() const {
    const AcDbBlockBegin* begin = beginOf(*this);
    return begin != nullptr ? begin->pathName() : std::wstring();
}
