// Loading a drawing from a DXF tag stream: sections, tables, blocks, entities with their ATTRIB/VERTEX
// sequences, objects, and unknown sections kept as read. Structural damage (a section cut short, a
// group where an entity must start) stops the load with the position and what was expected; anomalies
// that leave a usable drawing become diagnostics.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/entity_section_split.h"
#include "cad/db/object_parser.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "platform/code_page.h"
#include "platform/wide_text.h"

#include <algorithm>

namespace cad::db {

class DxfLoader {
public:
    DxfLoader(AcDbDatabase& database, dxf::TagReader& reader, const DxfReadOptions& options)
        : m_database(database), m_reader(reader), m_options(options), m_codec(reader.codec()),
          m_parser(m_codec) {}

    bool run();
    dxf::TagError error() const { return m_error; }

private:
    bool fail(const dxf::Tag& tag, const std::string& message) {
        m_error = m_reader.errorAt(tag, message);
        return false;
    }
    bool failAtEnd(const std::string& expected);
    void diagnose(const dxf::Tag& tag, std::string message) { diagnoseAt(tag.position, std::move(message)); }
    void diagnoseAt(std::uint64_t position, std::string message) {
        Diagnostic diagnostic;
        (m_reader.format() == dxf::DxfFormat::Ascii ? diagnostic.line : diagnostic.offset) = position;
        diagnostic.message = std::move(message);
        m_database.m_diagnostics.push_back(std::move(diagnostic));
    }

    bool readHeader();
    // One section from its name to before its 0 ENDSEC.
    bool readSection(const std::string& name);
    bool readRawSection(const std::string& name);
    bool readTables();
    // One TABLE (its group 0 is `start`) with its records, up to and with its ENDTAB.
    bool readTable(const dxf::Tag& start);
    struct SymbolTableKind;
    static const SymbolTableKind* symbolTableKind(std::string_view name);
    bool readBlocks();
    bool readEntities(AcDbBlockTableRecord* block, std::string_view stopName, bool entitiesSection);
    // Where the entities of a section go: the block being read (null in the ENTITIES section, where
    // each entity names its space) and the ATTRIB or VERTEX sequence under way.
    struct Placement {
        AcDbBlockTableRecord* block = nullptr;
        bool entitiesSection = false;
        AcDbEntity* sequenceOwner = nullptr;
        AcDbHandle lastOwnerHandle;
        AcDbBlockTableRecord* lastOwner = nullptr;
        bool lastOwnerIsSpace = false;
    };
    void place(ParsedEntity& entity, Placement& placement);
    bool readObjects();
    // Collects the groups of one object (its group 0 is `start`) up to the next group 0.
    bool collect(const dxf::Tag& start);
    // Makes the object from the collected groups.
    AcDbObjectId build(std::unique_ptr<AcDbObject> object);
    // Gives a read object its slot in the database (and a new handle when its own is taken).
    AcDbObjectId adopt(std::unique_ptr<AcDbObject> object, std::uint64_t handle,
                       const std::vector<std::string>& problems, std::uint64_t position);
    AcDbBlockTableRecord* spaceRecord(bool paperSpace);
    AcDbBlockTableRecord* recordByName(const std::wstring& name);
    AcDbBlockTableRecord* synthesizeRecord(const std::wstring& name);
    // Sizes the handle index once for the objects $HANDSEED announces, instead of growing it step by
    // step (each step rehashes every handle) while a large drawing loads.
    void reserveHandleIndex();
    // Layers that entities name but the LAYER table lacks (generators often write no tables at all):
    // implied records, so that every layer is listed and found, as other CAD programs add them.
    std::vector<ObjectSlot*> addImpliedLayers();
    AcDbSymbolTable* layerTableForImpliedLayers(std::vector<ObjectSlot*>& implied);
    void finish();

    AcDbDatabase& m_database;
    dxf::TagReader& m_reader;
    const DxfReadOptions& m_options;
    dxf::TextCodec m_codec;
    ObjectParser m_parser;
    dxf::TagError m_error;
    dxf::Tag m_start;
    std::uint64_t m_maxHandle = 0;
    std::vector<ObjectSlot*> m_withoutHandle;
    // The layers entities name, each once, in the order met; by name index.
    std::vector<Name> m_layersUsed;
    std::vector<bool> m_layerSeen;
};

bool DxfLoader::failAtEnd(const std::string& expected) {
    if (m_reader.failed()) {
        m_error = m_reader.error();
    } else {
        m_error.file = m_reader.name();
        m_error.offset = m_reader.size();
        m_error.message = "unexpected end of file: expected " + expected;
    }
    return false;
}

bool DxfLoader::collect(const dxf::Tag& start) {
    m_start = start;
    return m_parser.collect(m_reader);
}

AcDbObjectId DxfLoader::build(std::unique_ptr<AcDbObject> object) {
    const std::vector<std::string> problems = m_parser.readCollected(*object);
    const std::uint64_t handle = object->handle().value();
    return adopt(std::move(object), handle, problems, m_start.position);
}

AcDbObjectId DxfLoader::adopt(std::unique_ptr<AcDbObject> object, std::uint64_t handle,
                              const std::vector<std::string>& problems, std::uint64_t position) {
    for (const std::string& problem : problems) {
        diagnoseAt(position, object->dxfName() + " " + AcDbHandle(handle).toHex() + ": " + problem);
    }
    if (handle != 0 && m_database.findHandle(handle) != nullptr) {
        diagnoseAt(position, "duplicate handle " + AcDbHandle(handle).toHex() + " of " + object->dxfName() +
                                 "; the object gets a new handle");
        DatabaseAccess::setHandle(*object, AcDbHandle());
        handle = 0;
    }
    m_maxHandle = std::max(m_maxHandle, handle);
    const AcDbObjectId id = m_database.adopt(std::move(object), handle);
    if (handle == 0) {
        m_withoutHandle.push_back(id.slot());
    }
    return id;
}

namespace {
bool isSpaceName(const std::wstring& name) {
    for (const std::wstring_view space :
         {L"*MODEL_SPACE", L"*PAPER_SPACE", L"$MODEL_SPACE", L"$PAPER_SPACE"}) {
        if (platform::equalsIgnoringAsciiCase(name, space)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool DxfLoader::run() {
    m_database.m_version = m_reader.acadVersionNumber() != 0 ? m_reader.acadVersionNumber() : kVersionR12;
    m_database.m_codec = m_codec;
    m_database.m_formatRead = m_reader.format();
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.code == dxf::kCommentGroupCode) {
            continue;
        }
        if (tag.is(0, "EOF")) {
            break;
        }
        if (tag.is(0, "ENDSEC")) {
            diagnose(tag, "ENDSEC without SECTION ignored");
            continue;
        }
        if (!tag.is(0, "SECTION")) {
            // Groups between sections (a section whose SECTION line was lost): skipped, and said so.
            diagnose(tag, "groups outside any section ignored up to the next 0 SECTION");
            bool foundSection = false;
            while (m_reader.next(tag)) {
                if (tag.is(0, "SECTION") || tag.is(0, "EOF")) {
                    foundSection = true;
                    break;
                }
            }
            if (!foundSection) {
                break;
            }
            m_reader.pushBack();
            continue;
        }
        dxf::Tag nameTag;
        if (!m_reader.next(nameTag)) {
            return failAtEnd("2 and the section name");
        }
        if (nameTag.code != 2) {
            return fail(nameTag, "expected 2 and the section name after 0 SECTION");
        }
        if (!readSection(std::string(nameTag.text))) {
            return false;
        }
        if (!m_reader.next(tag)) {
            return failAtEnd("0 ENDSEC");
        }
        if (!tag.is(0, "ENDSEC")) {
            return fail(tag, "expected 0 ENDSEC");
        }
    }
    if (m_reader.failed()) {
        m_error = m_reader.error();
        return false;
    }
    if (!m_reader.sawEndOfFile()) {
        Diagnostic diagnostic;
        diagnostic.offset = m_reader.size();
        diagnostic.message = "the file ends without 0 EOF";
        m_database.m_diagnostics.push_back(diagnostic);
    }
    finish();
    return true;
}

bool DxfLoader::readSection(const std::string& name) {
    if (name == "HEADER") {
        m_database.m_sectionOrder.emplace_back(SectionKind::Header, 0);
        if (!readHeader()) {
            return false;
        }
        reserveHandleIndex();
        return true;
    }
    if (name == "TABLES") {
        m_database.m_sectionOrder.emplace_back(SectionKind::Tables, 0);
        return readTables();
    }
    if (name == "BLOCKS") {
        m_database.m_sectionOrder.emplace_back(SectionKind::Blocks, 0);
        return readBlocks();
    }
    if (name == "ENTITIES") {
        m_database.m_sectionOrder.emplace_back(SectionKind::Entities, 0);
        return readEntities(nullptr, "ENDSEC", true);
    }
    if (name == "OBJECTS") {
        m_database.m_sectionOrder.emplace_back(SectionKind::Objects, 0);
        return readObjects();
    }
    m_database.m_sectionOrder.emplace_back(SectionKind::Raw, m_database.m_rawSections.size());
    return readRawSection(name);
}

bool DxfLoader::readHeader() {
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.code == 0) {
            m_reader.pushBack();
            return true;
        }
        if (tag.code == 9) {
            HeaderVariable variable;
            variable.name = std::string(tag.text);
            m_database.m_header.push_back(std::move(variable));
            continue;
        }
        if (m_database.m_header.empty()) {
            return fail(tag, "expected 9 and a variable name");
        }
        m_database.m_header.back().values.emplace_back(tag);
    }
    return failAtEnd("0 ENDSEC of the HEADER section");
}

bool DxfLoader::readRawSection(const std::string& name) {
    RawSection section;
    section.name = name;
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.is(0, "ENDSEC")) {
            m_reader.pushBack();
            m_database.m_rawSections.push_back(std::move(section));
            return true;
        }
        section.tags.emplace_back(tag);
    }
    return failAtEnd("0 ENDSEC of the " + name + " section");
}

// The symbol tables the database models: the table's name (group 2 of TABLE), its class, its record
// class (named by the records' group 0, the same word) and where the database keeps the table's id.
// Tables of other names (VPORT, VIEW, UCS, APPID...) are kept as generic tables and records.
struct DxfLoader::SymbolTableKind {
    std::string_view name;
    std::unique_ptr<AcDbSymbolTable> (*makeTable)();
    std::unique_ptr<AcDbSymbolTableRecord> (*makeRecord)();
    AcDbObjectId AcDbDatabase::*member;
};

namespace {
template <typename Base, typename Derived>
std::unique_ptr<Base> make() {
    return std::make_unique<Derived>();
}
} // namespace

const DxfLoader::SymbolTableKind* DxfLoader::symbolTableKind(std::string_view name) {
    static const SymbolTableKind kKinds[] = {
        {"LAYER", make<AcDbSymbolTable, AcDbLayerTable>, make<AcDbSymbolTableRecord, AcDbLayerTableRecord>,
         &AcDbDatabase::m_layerTable},
        {"LTYPE", make<AcDbSymbolTable, AcDbLinetypeTable>,
         make<AcDbSymbolTableRecord, AcDbLinetypeTableRecord>, &AcDbDatabase::m_linetypeTable},
        {"STYLE", make<AcDbSymbolTable, AcDbTextStyleTable>,
         make<AcDbSymbolTableRecord, AcDbTextStyleTableRecord>, &AcDbDatabase::m_textStyleTable},
        {"DIMSTYLE", make<AcDbSymbolTable, AcDbDimStyleTable>,
         make<AcDbSymbolTableRecord, AcDbDimStyleTableRecord>, &AcDbDatabase::m_dimStyleTable},
        {"BLOCK_RECORD", make<AcDbSymbolTable, AcDbBlockTable>,
         make<AcDbSymbolTableRecord, AcDbBlockTableRecord>, &AcDbDatabase::m_blockTable},
    };
    for (const SymbolTableKind& kind : kKinds) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

bool DxfLoader::readTables() {
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.is(0, "ENDSEC")) {
            m_reader.pushBack();
            return true;
        }
        if (!tag.is(0, "TABLE")) {
            return fail(tag, "expected 0 TABLE or 0 ENDSEC");
        }
        if (!readTable(tag)) {
            return false;
        }
    }
    return failAtEnd("0 ENDSEC of the TABLES section");
}

bool DxfLoader::readTable(const dxf::Tag& start) {
    if (!collect(start)) {
        return failAtEnd("the groups of a TABLE");
    }
    std::string tableName;
    for (const dxf::Tag& group : m_parser.collected()) {
        if (group.code == 2) {
            tableName = platform::wideToUtf8(platform::toUpperAscii(m_codec.decode(group.text)));
            break;
        }
    }
    const SymbolTableKind* kind = symbolTableKind(tableName);
    std::unique_ptr<AcDbSymbolTable> table =
        kind != nullptr ? kind->makeTable() : std::make_unique<AcDbSymbolTable>();
    AcDbSymbolTable* tablePointer = table.get();
    const AcDbObjectId tableId = build(std::move(table));
    m_database.m_tableOrder.push_back(tableId);
    if (kind != nullptr) {
        m_database.*kind->member = tableId;
    }
    dxf::Tag tag;
    while (true) {
        if (!m_reader.next(tag)) {
            return failAtEnd("0 ENDTAB");
        }
        if (tag.is(0, "ENDTAB")) {
            break;
        }
        if (tag.code != 0 || tag.is(0, "ENDSEC")) {
            return fail(tag, "expected 0 and a table record type or 0 ENDTAB");
        }
        if (!collect(tag)) {
            return failAtEnd("the groups of a table record");
        }
        const std::string type(tag.text);
        const SymbolTableKind* recordKind = symbolTableKind(type);
        std::unique_ptr<AcDbSymbolTableRecord> record =
            recordKind != nullptr ? recordKind->makeRecord() : std::make_unique<AcDbGenericTableRecord>(type);
        AcDbSymbolTableRecord* recordPointer = record.get();
        const AcDbObjectId recordId = build(std::move(record));
        tablePointer->appendLoadedRecord(recordId, recordPointer->name());
    }
    // ENDTAB carries no groups in the files we know; anything else is kept by nobody, so say so.
    if (!collect(tag)) {
        return failAtEnd("the groups of ENDTAB");
    }
    if (!m_parser.collected().empty()) {
        diagnose(tag, "groups after 0 ENDTAB ignored");
    }
    return true;
}

AcDbBlockTableRecord* DxfLoader::recordByName(const std::wstring& name) {
    const AcDbObjectId id = m_database.recordIdByName(m_database.m_blockTable, name);
    if (!id.isNull()) {
        return AcDbBlockTableRecord::cast(id.slot()->object.get());
    }
    for (const AcDbObjectId& blockId : m_database.m_blockOrder) {
        auto* record = AcDbBlockTableRecord::cast(blockId.slot()->object.get());
        if (record != nullptr && record->isSynthesized() &&
            platform::equalsIgnoringAsciiCase(record->name(), name)) {
            return record;
        }
    }
    return nullptr;
}

AcDbBlockTableRecord* DxfLoader::synthesizeRecord(const std::wstring& name) {
    auto record = std::make_unique<AcDbBlockTableRecord>();
    record->setName(name.c_str());
    record->setSynthesized(true);
    AcDbBlockTableRecord* pointer = record.get();
    m_withoutHandle.push_back(m_database.adopt(std::move(record)).slot());
    return pointer;
}

AcDbBlockTableRecord* DxfLoader::spaceRecord(bool paperSpace) {
    AcDbObjectId& cached = paperSpace ? m_database.m_paperSpace : m_database.m_modelSpace;
    if (!cached.isNull()) {
        return AcDbBlockTableRecord::cast(cached.slot()->object.get());
    }
    AcDbBlockTableRecord* record = recordByName(paperSpace ? L"*Paper_Space" : L"*Model_Space");
    if (record == nullptr) {
        record = recordByName(paperSpace ? L"$PAPER_SPACE" : L"$MODEL_SPACE");
    }
    if (record == nullptr) {
        record = synthesizeRecord(paperSpace ? L"*Paper_Space" : L"*Model_Space");
    }
    cached = record->objectId();
    return record;
}

bool DxfLoader::readBlocks() {
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.is(0, "ENDSEC")) {
            m_reader.pushBack();
            return true;
        }
        if (!tag.is(0, "BLOCK")) {
            return fail(tag, "expected 0 BLOCK or 0 ENDSEC");
        }
        if (!collect(tag)) {
            return failAtEnd("the groups of a BLOCK");
        }
        auto begin = std::make_unique<AcDbBlockBegin>();
        AcDbBlockBegin* beginPointer = begin.get();
        const AcDbObjectId beginId = build(std::move(begin));
        AcDbBlockTableRecord* record = recordByName(beginPointer->name());
        if (record != nullptr && !record->blockBeginId().isNull()) {
            diagnose(tag,
                     "a second block named " + platform::wideToUtf8(beginPointer->name()) + " kept apart");
            record = synthesizeRecord(beginPointer->name());
        }
        if (record == nullptr) {
            if (m_database.m_version >= kVersionR13 && !m_database.m_blockTable.isNull()) {
                diagnose(tag, "block " + platform::wideToUtf8(beginPointer->name()) + " has no BLOCK_RECORD");
            }
            record = synthesizeRecord(beginPointer->name());
        }
        m_database.m_blockOrder.push_back(record->objectId());
        if (!readEntities(record, "ENDBLK", false)) {
            return false;
        }
        if (!m_reader.next(tag) || !tag.is(0, "ENDBLK")) {
            return tag.code == 0 ? fail(tag, "expected 0 ENDBLK") : failAtEnd("0 ENDBLK");
        }
        if (!collect(tag)) {
            return failAtEnd("the groups of ENDBLK");
        }
        const AcDbObjectId endId = build(std::make_unique<AcDbBlockEnd>());
        record->attachLoaded(beginId, endId);
    }
    return failAtEnd("0 ENDSEC of the BLOCKS section");
}

bool DxfLoader::readEntities(AcDbBlockTableRecord* block, std::string_view stopName, bool entitiesSection) {
    const bool stopsAtSectionEnd = stopName == "ENDBLK";
    Placement placement;
    placement.block = block;
    placement.entitiesSection = entitiesSection;
    // The ENTITIES section of a large drawing is read on two threads up to its end (or up to the
    // first thing this loop must see for itself); the loop then reads what is left.
    if (entitiesSection) {
        EntitySectionSplit::read(m_reader, m_parser, m_options,
                                 [&](ParsedEntity& entity) { place(entity, placement); });
    }
    dxf::Tag tag;
    while (true) {
        if (!m_reader.next(tag)) {
            break;
        }
        if (tag.code == dxf::kCommentGroupCode) {
            continue;
        }
        if (tag.code != 0) {
            return fail(tag, "expected 0 and an entity type");
        }
        if (tag.text == stopName || (stopsAtSectionEnd && tag.text == "ENDSEC")) {
            m_reader.pushBack();
            return true;
        }
        ParsedEntity entity;
        if (!m_parser.parseEntity(m_reader, tag, entity)) {
            return failAtEnd("the groups of " + std::string(tag.text));
        }
        place(entity, placement);
    }
    return failAtEnd("0 " + std::string(stopName));
}

void DxfLoader::place(ParsedEntity& entity, Placement& placement) {
    // Only what ParsedEntity says is used here: the entity itself was made on another thread or a
    // while ago and is rarely in this thread's cache.
    if (entity.layer.index() >= m_layerSeen.size()) {
        m_layerSeen.resize(std::max<std::size_t>(entity.layer.index() + 1, 2 * m_layerSeen.size()), false);
    }
    if (!m_layerSeen[entity.layer.index()]) {
        m_layerSeen[entity.layer.index()] = true;
        m_layersUsed.push_back(entity.layer);
    }
    auto* entityPointer = static_cast<AcDbEntity*>(entity.object.get());
    const AcDbObjectId id = adopt(std::move(entity.object), entity.handle, entity.problems, entity.position);
    const SequenceRole role = entity.role;
    const bool isSubEntity =
        role == SequenceRole::Vertex || role == SequenceRole::Attrib || role == SequenceRole::SequenceEnd;
    if (isSubEntity && placement.sequenceOwner != nullptr) {
        AcDbSequence* sequence = placement.sequenceOwner->sequence();
        if (role == SequenceRole::SequenceEnd) {
            sequence->sequenceEnd = id;
            placement.sequenceOwner = nullptr;
        } else {
            sequence->entities.push_back(id);
        }
        return;
    }
    if (isSubEntity) {
        diagnoseAt(entity.position,
                   entityPointer->dxfName() + " outside an INSERT or POLYLINE kept as an entity of its own");
    }
    if (placement.sequenceOwner != nullptr) {
        diagnoseAt(entity.position, "a sequence of ATTRIB or VERTEX entities ends without SEQEND");
        placement.sequenceOwner = nullptr;
    }
    AcDbBlockTableRecord* record = placement.block;
    if (record == nullptr) {
        // Consecutive entities nearly always share their owner: look it up once per run.
        if (entity.ownerHandle != placement.lastOwnerHandle.value() || placement.lastOwner == nullptr) {
            const AcDbObjectId owner = m_database.objectIdOf(AcDbHandle(entity.ownerHandle));
            placement.lastOwner =
                owner.isNull() ? nullptr : AcDbBlockTableRecord::cast(owner.slot()->object.get());
            placement.lastOwnerHandle = AcDbHandle(entity.ownerHandle);
            placement.lastOwnerIsSpace =
                placement.lastOwner != nullptr && isSpaceName(placement.lastOwner->name());
        }
        record = placement.lastOwner;
        if (entity.ownerHandle != 0 && !placement.lastOwnerIsSpace) {
            // Only model space and the active paper space keep entities in this section.
            diagnoseAt(entity.position, entityPointer->dxfName() + " " + entityPointer->handle().toHex() +
                                            " in the ENTITIES section names " +
                                            AcDbHandle(entity.ownerHandle).toHex() +
                                            " as owner, not a space; kept in its space");
            record = nullptr;
        }
        if (record == nullptr) {
            record = spaceRecord(entity.inPaperSpace);
        }
    }
    record->appendLoadedEntity(id);
    // Files without owner groups (R12) still give the entity its block as owner.
    if (entity.ownerHandle == 0) {
        DatabaseAccess::setOwnerHandle(*entityPointer, record->handle());
    }
    if (placement.entitiesSection) {
        m_database.m_entitiesOrder.push_back(id);
    }
    if (entity.opensSequence) {
        placement.sequenceOwner = entityPointer;
    }
}

namespace {

// The classes of the OBJECTS section the database models; any other object is kept as a generic object.
std::unique_ptr<AcDbObject> makeObject(const std::string& name) {
    static const std::pair<std::string_view, std::unique_ptr<AcDbObject> (*)()> kKinds[] = {
        {"DICTIONARY", make<AcDbObject, AcDbDictionary>},
        {"ACDBDICTIONARYWDFLT", make<AcDbObject, AcDbDictionaryWithDefault>},
        {"GROUP", make<AcDbObject, AcDbGroup>},
        {"LAYOUT", make<AcDbObject, AcDbLayout>},
        {"IMAGEDEF", make<AcDbObject, AcDbRasterImageDef>},
        {"MLINESTYLE", make<AcDbObject, AcDbMlineStyle>},
    };
    for (const auto& [kindName, makeKind] : kKinds) {
        if (kindName == name) {
            return makeKind();
        }
    }
    return std::make_unique<AcDbGenericObject>(name);
}

} // namespace

bool DxfLoader::readObjects() {
    dxf::Tag tag;
    while (m_reader.next(tag)) {
        if (tag.is(0, "ENDSEC")) {
            m_reader.pushBack();
            return true;
        }
        if (tag.code == dxf::kCommentGroupCode) {
            continue;
        }
        if (tag.code != 0) {
            return fail(tag, "expected 0 and an object type");
        }
        if (!collect(tag)) {
            return failAtEnd("the groups of " + std::string(tag.text));
        }
        const std::string name(tag.text);
        const AcDbObjectId id = build(makeObject(name));
        if (m_database.m_namedObjects.isNull() && name == "DICTIONARY") {
            m_database.m_namedObjects = id;
        }
        m_database.m_objectsOrder.push_back(id);
    }
    return failAtEnd("0 ENDSEC of the OBJECTS section");
}

void DxfLoader::reserveHandleIndex() {
    const HeaderVariable* seed = m_database.headerVariable("$HANDSEED");
    AcDbHandle handle;
    if (seed == nullptr || seed->values.empty() || !AcDbHandle::parseHex(seed->values.front().text, handle) ||
        !m_database.m_handleIndex.empty()) {
        return;
    }
    // Real objects take well over 64 bytes of the file (type, handle, owner, layer...): with that bound
    // a damaged or sparse $HANDSEED costs at most half the file's size in index.
    constexpr std::uint64_t kSmallestObjectBytes = 64;
    const std::uint64_t expected =
        std::min<std::uint64_t>(handle.value(), m_reader.size() / kSmallestObjectBytes);
    std::size_t capacity = 1024;
    while (capacity < 2 * expected + 2) {
        capacity *= 2;
    }
    m_database.m_handleIndex.assign(capacity, AcDbDatabase::HandleEntry());
}

// Handles for objects that came without one (R12 files, synthesized records, duplicates), above both
// $HANDSEED and every handle in use, so that no handle is given twice.
AcDbSymbolTable* DxfLoader::layerTableForImpliedLayers(std::vector<ObjectSlot*>& implied) {
    if (!m_database.m_layerTable.isNull()) {
        return AcDbSymbolTable::cast(m_database.m_layerTable.slot()->object.get());
    }
    auto table = std::make_unique<AcDbLayerTable>();
    table->setTableName(L"LAYER");
    AcDbSymbolTable* pointer = table.get();
    const AcDbObjectId id = m_database.adopt(std::move(table));
    m_withoutHandle.push_back(id.slot());
    implied.push_back(id.slot());
    m_database.m_layerTable = id;
    m_database.m_tableOrder.push_back(id);
    auto& sections = m_database.m_sectionOrder;
    const auto kindOf = &std::pair<SectionKind, std::size_t>::first;
    if (std::ranges::find(sections, SectionKind::Tables, kindOf) == sections.end()) {
        const auto header = std::ranges::find(sections, SectionKind::Header, kindOf);
        sections.emplace(header == sections.end() ? sections.begin() : header + 1, SectionKind::Tables, 0);
    }
    return pointer;
}

std::vector<ObjectSlot*> DxfLoader::addImpliedLayers() {
    std::vector<Name> missing;
    for (const Name layer : m_layersUsed) {
        if (!layer.isEmpty() && m_database.recordIdByName(m_database.m_layerTable, layer.text()).isNull()) {
            missing.push_back(layer);
        }
    }
    std::vector<ObjectSlot*> implied;
    if (missing.empty()) {
        return implied;
    }
    AcDbSymbolTable* table = layerTableForImpliedLayers(implied);
    for (const Name layer : missing) {
        if (!m_database.recordIdByName(m_database.m_layerTable, layer.text()).isNull()) {
            continue; // the same name in another case
        }
        auto record = std::make_unique<AcDbLayerTableRecord>();
        record->setName(layer.text().c_str());
        const AcDbObjectId id = m_database.adopt(std::move(record));
        m_withoutHandle.push_back(id.slot());
        table->appendLoadedRecord(id, layer.text());
        implied.push_back(id.slot());
    }
    for (ObjectSlot* slot : implied) {
        slot->implied = true;
        DatabaseAccess::clearModified(*slot->object);
    }
    return implied;
}

void DxfLoader::finish() {
    const std::vector<ObjectSlot*> implied = addImpliedLayers();
    spaceRecord(false);
    if (m_database.m_paperSpace.isNull() && recordByName(L"*Paper_Space") != nullptr) {
        spaceRecord(true);
    }
    std::uint64_t next = 1;
    if (const HeaderVariable* seed = m_database.headerVariable("$HANDSEED");
        seed != nullptr && !seed->values.empty()) {
        AcDbHandle handle;
        if (AcDbHandle::parseHex(seed->values.front().text, handle)) {
            next = handle.value();
        }
    }
    next = std::max(next, m_maxHandle + 1);
    for (ObjectSlot* slot : m_withoutHandle) {
        DatabaseAccess::setHandle(*slot->object, AcDbHandle(next++));
        m_database.indexHandle(slot);
        // Blocks made up here own entities that could not name them while they had no handle.
        if (const auto* record = AcDbBlockTableRecord::cast(slot->object.get())) {
            for (const AcDbObjectId& entity : record->entityIds()) {
                AcDbObject& object = *entity.slot()->object;
                if (object.ownerHandle().isNull()) {
                    DatabaseAccess::setOwnerHandle(object, record->handle());
                }
            }
        }
    }
    const AcDbHandle layerTable =
        m_database.m_layerTable.isNull() ? AcDbHandle() : m_database.m_layerTable.slot()->object->handle();
    for (ObjectSlot* slot : implied) {
        if (AcDbLayerTableRecord::cast(slot->object.get()) != nullptr) {
            DatabaseAccess::setOwnerHandle(*slot->object, layerTable);
        }
    }
    m_database.m_handseed = AcDbHandle(next);
    m_database.m_handseedAfterLoad = m_database.m_handseed;
}

} // namespace cad::db

bool AcDbDatabase::readDxfFrom(cad::dxf::TagReader& reader, cad::dxf::TagError& error,
                               const cad::db::DxfReadOptions& options) {
    clear();
    cad::db::DxfLoader loader(*this, reader, options);
    if (!loader.run()) {
        error = loader.error();
        m_lastError = error;
        clear();
        return false;
    }
    return true;
}

bool AcDbDatabase::readDxf(const std::filesystem::path& path, cad::dxf::TagError& error,
                           const cad::db::DxfReadOptions& options) {
    cad::dxf::TagReader reader;
    if (!reader.openFile(path, error)) {
        clear();
        return false;
    }
    if (!readDxfFrom(reader, error, options)) {
        return false;
    }
    m_filePath = path;
    return true;
}

bool AcDbDatabase::readDxfBuffer(std::string_view bytes, cad::dxf::TagError& error, std::string name,
                                 const cad::db::DxfReadOptions& options) {
    cad::dxf::TagReader reader;
    if (!reader.openBuffer(bytes, error, std::move(name))) {
        clear();
        return false;
    }
    return readDxfFrom(reader, error, options);
}
