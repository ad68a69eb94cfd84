// AcDbDatabase: one drawing in memory. It owns every object through slots that give the objects their
// ids, maps handles to ids, keeps the section structure of the file it was read from (header variables,
// classes, unknown sections, the order of tables, blocks, entities and objects) so that saving writes the
// drawing back as it came, and provides the open/close discipline the host's interface documents.
#pragma once

#include "cad/db/db_object.h"
#include "cad/db/db_types.h"
#include "cad/db/dxf_read_options.h"
#include "cad/db/object_id.h"
#include "cad/dxf/tag.h"
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/tag_writer.h"
#include "cad/dxf/text_codec.h"
#include "platform/export.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AcDbBlockTableRecord;
class AcDbDictionary;
class AcDbEntity;
class AcDbSymbolTable;

namespace cad::db {

// An anomaly that still leaves a usable drawing (a duplicate handle, a LINE without y...): where it
// was found (line of ASCII files, byte offset of binary ones) and what it was.
struct QUELTO_EXPORT Diagnostic {
    std::uint64_t line = 0;
    std::uint64_t offset = 0;
    std::string message;
    std::string toString() const;
};

struct QUELTO_EXPORT HeaderVariable {
    std::string name; // "$ACADVER"
    std::vector<dxf::OwnedTag> values;
};

struct QUELTO_EXPORT SaveOptions {
    dxf::DxfFormat format = dxf::DxfFormat::Ascii;
    // 0: the version the drawing was read in (R2000 for new drawings).
    int version = 0;
};

// A section the database does not model (THUMBNAILIMAGE, ACDSDATA, CLASSES...), kept as read.
struct QUELTO_EXPORT RawSection {
    std::string name;
    std::vector<dxf::OwnedTag> tags; // between "2 <name>" and "0 ENDSEC"
};

enum class SectionKind : std::uint8_t { Header, Tables, Blocks, Entities, Objects, Raw };

class DxfLoader;
class DxfSaver;
class UndoLog;

// Opens an object by id, for read (many readers at a time) or for write (one writer, no readers),
// as acdbOpenObject does: eNullObjectId, eWasErased (unless openErased), eWasOpenForWrite,
// eWasOpenForRead, eAtMaxReaders.
QUELTO_EXPORT Acad::ErrorStatus openObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                           bool openErased = false);

// openObject with a class check: eNotThatKindOfClass (and nothing stays open) for another class.
template <class T>
Acad::ErrorStatus openObjectAs(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    object = nullptr;
    AcDbObject* opened = nullptr;
    const Acad::ErrorStatus status = openObject(opened, id, mode, openErased);
    if (status != Acad::eOk) {
        return status;
    }
    object = T::cast(opened);
    if (object == nullptr) {
        opened->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}

} // namespace cad::db

class QUELTO_EXPORT AcDbDatabase {
public:
    // A new drawing (R2000) with the default tables, model space, one paper-space layout and the named
    // object dictionary; or, with buildDefaultDrawing false, an empty database for dxfIn/readDxf.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase();
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // ---- Files ----
    // Reads a DXF file into an empty database. A damaged file gives false, `error` (file, line or offset,
    // what was expected) and leaves the database empty.
    bool readDxf(const std::filesystem::path& path, cad::dxf::TagError& error,
                 const cad::db::DxfReadOptions& options = {});
    bool readDxfBuffer(std::string_view bytes, cad::dxf::TagError& error, std::string name = {},
                       const cad::db::DxfReadOptions& options = {});
    bool readDxfFrom(cad::dxf::TagReader& reader, cad::dxf::TagError& error,
                     const cad::db::DxfReadOptions& options = {});
    // Writes the drawing through a temporary file renamed over the target; on failure the target stays.
    bool writeDxf(const std::filesystem::path& path, const cad::db::SaveOptions& options,
                  cad::dxf::TagError& error);
    // Writes every group of the drawing to `writer` in `version` (0: the version read).
    void writeDxfTags(cad::dxf::TagWriter& writer, int version = 0) const;
    // The host's names for the same: eOk, or eDxfReadAborted / eFileAccessErr with lastError() set.
    Acad::ErrorStatus dxfIn(const ACHAR* fileName);
    Acad::ErrorStatus dxfOut(const ACHAR* fileName);
    const cad::dxf::TagError& lastError() const { return m_lastError; }
    const std::vector<cad::db::Diagnostic>& diagnostics() const { return m_diagnostics; }
    const std::filesystem::path& filePath() const { return m_filePath; }

    // ---- Versions, text, header ----
    int version() const { return m_version; } // 1015 for AC1015
    std::string acadVersionText() const;
    cad::dxf::DxfFormat formatRead() const { return m_formatRead; }
    const cad::dxf::TextCodec& textCodec() const { return m_codec; }
    const std::vector<cad::db::HeaderVariable>& headerVariables() const { return m_header; }
    const cad::db::HeaderVariable* headerVariable(std::string_view name) const;
    void setHeaderVariable(cad::db::HeaderVariable variable);
    AcDbHandle handseed() const { return m_handseed; }
    int insunits() const;

    // ---- Objects and handles ----
    // Adds an object (taking ownership), gives it a fresh handle above $HANDSEED and leaves it open for
    // write; the caller closes it.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                      Adesk::UInt32 xRefId = 0) const;
    AcDbObjectId objectIdOf(AcDbHandle handle) const;
    std::size_t objectCount() const { return m_slots.size(); }
    // Every live object, in creation order.
    template <class Visitor>
    void forEachObject(Visitor&& visit) const {
        for (const cad::db::ObjectSlot& slot : m_slots) {
            if (slot.object != nullptr && !slot.erased) {
                visit(AcDbObjectId(const_cast<cad::db::ObjectSlot*>(&slot)));
            }
        }
    }
    // Direct read access without the open discipline, for fast whole-drawing scans that only read
    // (selection over every entity): null for erased or missing objects.
    const AcDbObject* peekObject(AcDbObjectId id) const;

    // ---- Tables and dictionaries ----
    AcDbObjectId blockTableId() const { return m_blockTable; }
    AcDbObjectId layerTableId() const { return m_layerTable; }
    AcDbObjectId linetypeTableId() const { return m_linetypeTable; }
    AcDbObjectId textStyleTableId() const { return m_textStyleTable; }
    AcDbObjectId dimStyleTableId() const { return m_dimStyleTable; }
    AcDbObjectId viewportTableId() const { return tableIdByName(L"VPORT"); }
    AcDbObjectId viewTableId() const { return tableIdByName(L"VIEW"); }
    AcDbObjectId UCSTableId() const { return tableIdByName(L"UCS"); }
    AcDbObjectId regAppTableId() const { return tableIdByName(L"APPID"); }
    AcDbObjectId namedObjectsDictionaryId() const { return m_namedObjects; }
    AcDbObjectId groupDictionaryId() const;
    AcDbObjectId layoutDictionaryId() const;
    AcDbObjectId mLStyleDictionaryId() const;
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode) const;
    Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode) const;
    Acad::ErrorStatus getLayoutDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode) const;
    AcDbObjectId modelSpaceId() const { return m_modelSpace; }
    AcDbObjectId paperSpaceId() const { return m_paperSpace; }
    // The block record of the current space: model space, or the paper-space layout CTAB names. It
    // follows the editor's CTAB; a space that was erased or never set gives model space.
    AcDbObjectId currentSpaceId() const;
    // Host side of CTAB: false, and no change, for a record that is not a space of this drawing.
    bool setCurrentSpace(AcDbObjectId space);
    AcDbObjectId clayer() const;
    // The symbol table record named `name` (case-insensitive) in the table of `tableId`.
    AcDbObjectId recordIdByName(AcDbObjectId tableId, std::wstring_view name) const;
    // Block records in BLOCKS order (model and paper space included).
    const std::vector<AcDbObjectId>& blockRecordIds() const { return m_blockOrder; }
    // Symbol tables in TABLES order.
    const std::vector<AcDbObjectId>& tableIds() const { return m_tableOrder; }
    const std::vector<AcDbObjectId>& objectsSectionIds() const { return m_objectsOrder; }

    // ---- Undo ----
    // Null until the host turns recording on for the drawing (documents do; plain databases do not pay
    // for it).
    cad::db::UndoLog* undoLog() const { return m_undoLog.get(); }
    cad::db::UndoLog& enableUndo();

    // Called by block records when an entity is appended to model or paper space.
    void noteEntityAppended(AcDbObjectId record, AcDbObjectId entity);
    // Called by the block table when a record is added: gives it its BLOCK and ENDBLK.
    void noteBlockAdded(AcDbObjectId record);

private:
    friend class cad::db::DxfLoader;
    friend class cad::db::DxfSaver;
    friend class cad::db::DatabaseAccess;
    friend class cad::db::UndoLog;

    AcDbObjectId tableIdByName(std::wstring_view name) const;
    AcDbObjectId dictionaryEntry(AcDbObjectId dictionary, std::wstring_view key) const;
    // Takes ownership; for the loader: keeps the handle read (or assigns one when it has none). The
    // loader passes the handle it already knows, which spares reading an object that is not in cache.
    AcDbObjectId adopt(std::unique_ptr<AcDbObject> object);
    AcDbObjectId adopt(std::unique_ptr<AcDbObject> object, std::uint64_t handle);
    void indexHandle(cad::db::ObjectSlot* slot);
    void indexHandle(cad::db::ObjectSlot* slot, std::uint64_t handle);
    cad::db::ObjectSlot* findHandle(std::uint64_t handle) const;
    void unindexHandle(std::uint64_t handle);
    void growHandleIndex();
    void clear();
    void buildDefaultDrawing();
    void resolveWellKnownIds();

    std::deque<cad::db::ObjectSlot> m_slots;
    // Open addressing, power-of-two size; the handle sits beside the slot so probing touches one line.
    struct HandleEntry {
        std::uint64_t handle = 0;
        cad::db::ObjectSlot* slot = nullptr;
    };
    std::vector<HandleEntry> m_handleIndex;
    std::size_t m_handleCount = 0;
    AcDbHandle m_handseed{1};
    AcDbHandle m_handseedAfterLoad; // $HANDSEED is written back as read while no object was added

    int m_version = 1015;
    cad::dxf::DxfFormat m_formatRead = cad::dxf::DxfFormat::Ascii;
    cad::dxf::TextCodec m_codec;
    std::filesystem::path m_filePath;
    std::vector<cad::db::HeaderVariable> m_header;
    std::vector<cad::db::RawSection> m_rawSections;
    std::vector<std::pair<cad::db::SectionKind, std::size_t>> m_sectionOrder; // kind, raw section index
    std::vector<AcDbObjectId> m_tableOrder;
    std::vector<AcDbObjectId> m_blockOrder;
    std::vector<AcDbObjectId> m_entitiesOrder;
    std::vector<AcDbObjectId> m_objectsOrder;
    std::vector<cad::db::Diagnostic> m_diagnostics;
    cad::dxf::TagError m_lastError;

    AcDbObjectId m_blockTable;
    AcDbObjectId m_layerTable;
    AcDbObjectId m_linetypeTable;
    AcDbObjectId m_textStyleTable;
    AcDbObjectId m_dimStyleTable;
    AcDbObjectId m_namedObjects;
    AcDbObjectId m_modelSpace;
    AcDbObjectId m_paperSpace;
    AcDbObjectId m_currentSpace;
    std::unique_ptr<cad::db::UndoLog> m_undoLog;
};
