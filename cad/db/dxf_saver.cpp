// Saving a drawing as DXF: the sections in the order they were read, each object through its attribute
// table and plan, erased objects left out, and $HANDSEED raised above every handle in use. Files are
// written to a temporary file that replaces the target only when everything was written.
#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/db/object_io.h"
#include "cad/db/symbol_tables.h"

#include <algorithm>

namespace cad::db {

class DxfSaver {
public:
    DxfSaver(const AcDbDatabase& database, dxf::TagWriter& writer, int version)
        : m_database(database), m_writer(writer), m_context(database.m_codec), m_version(version) {}

    void run();

private:
    void beginSection(std::string_view name) {
        m_writer.writeString(0, "SECTION");
        m_writer.writeString(2, name);
    }
    void endSection() { m_writer.writeString(0, "ENDSEC"); }
    // Erased objects, and implied ones nothing has changed, stay out of the file.
    bool live(AcDbObjectId id) const {
        return !id.isNull() && id.slot()->object != nullptr && !id.isErased() &&
               !(id.slot()->implied && !id.slot()->object->isModified());
    }
    void writeObject(AcDbObjectId id) {
        if (live(id)) {
            writeObjectTags(*id.slot()->object, m_writer, m_context, m_version);
        }
    }
    void writeEntity(AcDbObjectId id);
    void writeHeader();
    void writeTables();
    void writeBlocks();

    const AcDbDatabase& m_database;
    dxf::TagWriter& m_writer;
    TextContext m_context;
    int m_version;
};

void DxfSaver::writeEntity(AcDbObjectId id) {
    if (!live(id)) {
        return;
    }
    const auto* entity = AcDbEntity::cast(id.slot()->object.get());
    writeObject(id);
    const AcDbSequence* sequence = entity != nullptr ? entity->sequence() : nullptr;
    if (sequence == nullptr) {
        return;
    }
    for (const AcDbObjectId& child : sequence->entities) {
        writeObject(child);
    }
    writeObject(sequence->sequenceEnd);
}

void DxfSaver::writeHeader() {
    beginSection("HEADER");
    std::uint64_t seed = m_database.m_handseed.value();
    for (const ObjectSlot& slot : m_database.m_slots) {
        if (slot.object != nullptr) { // an addition that was undone leaves its slot empty
            seed = std::max(seed, slot.object->handle().value() + 1);
        }
    }
    for (const HeaderVariable& variable : m_database.m_header) {
        m_writer.writeString(9, variable.name);
        if (variable.name == "$HANDSEED" && !variable.values.empty()) {
            AcDbHandle original;
            AcDbHandle::parseHex(variable.values.front().text, original);
            // A drawing saved unchanged keeps its seed; one with new objects gets a seed above them.
            if (m_database.m_handseed == m_database.m_handseedAfterLoad) {
                m_writer.write(variable.values.front().view());
            } else {
                m_writer.writeString(5, AcDbHandle(seed).toHex());
            }
            continue;
        }
        for (const dxf::OwnedTag& value : variable.values) {
            m_writer.write(value.view());
        }
    }
    endSection();
}

void DxfSaver::writeTables() {
    // A table is written when it was read or something in it is to be written: an implied table (the
    // file had none) only once one of its records is.
    std::vector<AcDbObjectId> written;
    for (const AcDbObjectId& tableId : m_database.m_tableOrder) {
        if (tableId.isNull() || tableId.slot()->object == nullptr || tableId.isErased()) {
            continue;
        }
        const auto* table = AcDbSymbolTable::cast(tableId.slot()->object.get());
        if (live(tableId) ||
            std::ranges::any_of(table->recordIds(), [this](AcDbObjectId id) { return live(id); })) {
            written.push_back(tableId);
        }
    }
    // The TABLES section the loader added for an implied table is left out while that table is.
    if (written.empty() && !m_database.m_tableOrder.empty() &&
        std::ranges::all_of(m_database.m_tableOrder,
                            [](AcDbObjectId id) { return !id.isNull() && id.slot()->implied; })) {
        return;
    }
    beginSection("TABLES");
    for (const AcDbObjectId& tableId : written) {
        writeObjectTags(*tableId.slot()->object, m_writer, m_context, m_version);
        const auto* table = AcDbSymbolTable::cast(tableId.slot()->object.get());
        for (const AcDbObjectId& record : table->recordIds()) {
            writeObject(record);
        }
        m_writer.writeString(0, "ENDTAB");
    }
    endSection();
}

// Model space and the active paper space keep their entities in the ENTITIES section; their BLOCK and
// ENDBLK are still written here.
void DxfSaver::writeBlocks() {
    beginSection("BLOCKS");
    for (const AcDbObjectId& recordId : m_database.m_blockOrder) {
        if (!live(recordId)) {
            continue;
        }
        const auto* record = AcDbBlockTableRecord::cast(recordId.slot()->object.get());
        if (record->blockBeginId().isNull()) {
            continue;
        }
        writeObject(record->blockBeginId());
        if (recordId != m_database.m_modelSpace && recordId != m_database.m_paperSpace) {
            for (const AcDbObjectId& entity : record->entityIds()) {
                writeEntity(entity);
            }
        }
        writeObject(record->blockEndId());
    }
    endSection();
}

void DxfSaver::run() {
    for (const auto& [kind, rawIndex] : m_database.m_sectionOrder) {
        switch (kind) {
        case SectionKind::Header:
            writeHeader();
            break;
        case SectionKind::Tables:
            writeTables();
            break;
        case SectionKind::Blocks:
            writeBlocks();
            break;
        case SectionKind::Entities:
            beginSection("ENTITIES");
            for (const AcDbObjectId& id : m_database.m_entitiesOrder) {
                writeEntity(id);
            }
            endSection();
            break;
        case SectionKind::Objects:
            beginSection("OBJECTS");
            for (const AcDbObjectId& id : m_database.m_objectsOrder) {
                writeObject(id);
            }
            endSection();
            break;
        case SectionKind::Raw: {
            const RawSection& section = m_database.m_rawSections[rawIndex];
            beginSection(section.name);
            for (const dxf::OwnedTag& tag : section.tags) {
                m_writer.write(tag.view());
            }
            endSection();
            break;
        }
        }
    }
    m_writer.writeString(0, "EOF");
}

} // namespace cad::db

void AcDbDatabase::writeDxfTags(cad::dxf::TagWriter& writer, int version) const {
    cad::db::DxfSaver saver(*this, writer, version != 0 ? version : m_version);
    saver.run();
}

bool AcDbDatabase::writeDxf(const std::filesystem::path& path, const cad::db::SaveOptions& options,
                            cad::dxf::TagError& error) {
    cad::dxf::WriterOptions writerOptions;
    writerOptions.format = options.format;
    writerOptions.acadVersion = options.version != 0 ? options.version : m_version;
    writerOptions.codec = m_codec;
    cad::dxf::FileTagWriter writer(writerOptions);
    if (!writer.open(path, error)) {
        return false;
    }
    writeDxfTags(writer, options.version);
    if (!writer.commit(error)) {
        return false;
    }
    m_filePath = path;
    return true;
}
