// The symbol tables (TABLE objects of the TABLES section) and their records: layers, linetypes, text
// styles, dimension styles, block records and the tables the database keeps without a typed model
// (VPORT, VIEW, UCS, APPID). Names are looked up case-insensitively, as the host does.
#pragma once

#include "cad/db/db_entity.h"
#include "cad/db/db_object.h"
#include "platform/export.h"

#include <string>
#include <unordered_map>
#include <vector>

class AcDbSymbolTableRecord;

class QUELTO_EXPORT AcDbSymbolTable : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbSymbolTable)
    AcDbSymbolTable() = default;

    // The table's name as DXF group 2 gives it ("LAYER", "BLOCK_RECORD").
    const std::wstring& tableName() const { return m_tableName; }
    void setTableName(std::wstring name) { m_tableName = std::move(name); }

    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                            bool openErasedRecord = false) const;
    // Adds a record (taking ownership) to the database and the table, open for write; the table must be
    // open for write. eDuplicateKey when the name exists.
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record) {
        AcDbObjectId id;
        return add(id, record);
    }
    const std::vector<AcDbObjectId>& recordIds() const { return m_records; }

    // For the loader: records in file order.
    void appendLoadedRecord(AcDbObjectId id, const std::wstring& name);

private:
    friend class AcDbDimStyleTable;
    static std::wstring key(std::wstring_view name);
    std::wstring m_tableName;
    Adesk::Int16 m_maxEntries = 0;
    std::vector<AcDbObjectId> m_records;
    std::unordered_map<std::wstring, AcDbObjectId> m_byName;
};

class QUELTO_EXPORT AcDbLayerTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayerTable)
};
class QUELTO_EXPORT AcDbLinetypeTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTable)
};
class QUELTO_EXPORT AcDbTextStyleTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTable)
};
class QUELTO_EXPORT AcDbDimStyleTable : public AcDbSymbolTable {
public:
    QUELTO_DXF_CLASS(AcDbDimStyleTable)
};
class QUELTO_EXPORT AcDbBlockTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTable)
};

class QUELTO_EXPORT AcDbSymbolTableRecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord)
    Acad::ErrorStatus getName(const ACHAR*& name) const {
        name = m_name.c_str();
        return Acad::eOk;
    }
    Acad::ErrorStatus getName(std::wstring& name) const {
        name = m_name;
        return Acad::eOk;
    }
    const std::wstring& name() const { return m_name; }
    Acad::ErrorStatus setName(const ACHAR* name);
    Adesk::Int16 flags() const { return m_flags; }
    bool isDependent() const { return (m_flags & 16) != 0; }

    static cad::db::ClassTable& addRecordFields(cad::db::ClassTable& table, std::string_view subclass);

protected:
    std::wstring m_name;
    Adesk::Int16 m_flags = 0;
};

// VPORT, VIEW, UCS and APPID records: name and flags, the rest kept as read.
class QUELTO_EXPORT AcDbGenericTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbGenericTableRecord)
    explicit AcDbGenericTableRecord(std::string dxfName) : m_dxfName(std::move(dxfName)) {}
    const std::string& dxfName() const override { return m_dxfName; }

private:
    std::string m_dxfName;
};

class QUELTO_EXPORT AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbLayerTableRecord)

    // A layer that is off stores its colour negated.
    Adesk::UInt16 colorIndex() const { return static_cast<Adesk::UInt16>(m_color < 0 ? -m_color : m_color); }
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 color);
    bool isOff() const { return m_color < 0; }
    Acad::ErrorStatus setIsOff(bool off);
    bool isFrozen() const { return (m_flags & 1) != 0; }
    Acad::ErrorStatus setIsFrozen(bool frozen);
    bool isLocked() const { return (m_flags & 4) != 0; }
    Acad::ErrorStatus setIsLocked(bool locked);
    bool isPlottable() const { return m_plottable != 0; }
    std::wstring linetypeName() const { return m_linetype.text(); }
    AcDbObjectId linetypeObjectId() const;
    Acad::ErrorStatus setLinetypeName(const ACHAR* name);
    AcDb::LineWeight lineWeight() const { return static_cast<AcDb::LineWeight>(m_lineWeight); }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
    Adesk::Int32 trueColor() const { return m_trueColor; }

private:
    Adesk::Int16 m_color = 7;
    cad::db::Name m_linetype{L"Continuous"};
    Adesk::Int16 m_lineWeight = AcDb::kLnWtByLwDefault;
    Adesk::Int16 m_plottable = 1;
    Adesk::Int32 m_trueColor = -1;
};

class QUELTO_EXPORT AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbLinetypeTableRecord)
    const std::wstring& comments() const { return m_description; }
    Acad::ErrorStatus setComments(const ACHAR* description);
    int numDashes() const { return m_dashCount; }
    double patternLength() const { return m_patternLength; }

private:
    std::wstring m_description;
    Adesk::Int16 m_alignment = 65;
    Adesk::Int16 m_dashCount = 0;
    double m_patternLength = 0.0;
};

class QUELTO_EXPORT AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbTextStyleTableRecord)
    const std::wstring& fileName() const { return m_fontFile; }
    const std::wstring& bigFontFileName() const { return m_bigFontFile; }
    double textSize() const { return m_fixedHeight; }
    double xScale() const { return m_widthFactor; }
    double obliquingAngle() const; // radians
    // The TrueType typeface of the style (extended data of application ACAD, group 1000); empty for a
    // shape font.
    std::wstring typeface() const;
    // The host's font query: the typeface (a new text the caller frees with acutDelString; empty for a
    // shape font), and bold, italic, character set and pitch-and-family from the flags the typeface
    // carries (group 1071: italic 0x1000000, bold 0x2000000, character set in bits 8-15, pitch and family
    // in bits 0-7).
    Acad::ErrorStatus font(ACHAR*& typeface, Adesk::Boolean& bold, Adesk::Boolean& italic, int& charset,
                           int& pitchAndFamily) const;
    bool isShapeFile() const { return (m_flags & 1) != 0; }

private:
    double m_fixedHeight = 0.0;
    double m_widthFactor = 1.0;
    double m_obliqueDegrees = 0.0;
    Adesk::Int16 m_generation = 0;
    double m_lastHeight = 2.5;
    std::wstring m_fontFile;
    std::wstring m_bigFontFile;
};

class QUELTO_EXPORT AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbDimStyleTableRecord)
    std::wstring dimpost() const { return m_dimpost; }
    double dimscale() const { return m_dimscale; }
    double dimasz() const { return m_dimasz; }
    int dimdec() const { return m_dimdec; }
    int dimzin() const { return m_dimzin; }

private:
    std::wstring m_dimpost;
    double m_dimscale = 1.0;
    double m_dimasz = 0.18;
    Adesk::Int16 m_dimzin = 0;
    Adesk::Int16 m_dimdec = 4;
};

class AcDbBlockTableRecordIterator;

class QUELTO_EXPORT AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    QUELTO_DXF_CLASS(AcDbBlockTableRecord)
    static const ACHAR* const kModelSpace; // "*Model_Space"
    static const ACHAR* const kPaperSpace; // "*Paper_Space"

    // Adds the entity (taking ownership) to the database and to the end of this block, open for write;
    // the record must be open for write.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity) {
        AcDbObjectId id;
        return appendAcDbEntity(id, entity);
    }
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    // Entities of the block in order (erased ones included: check isErased()).
    const std::vector<AcDbObjectId>& entityIds() const { return m_entities; }

    AcDbObjectId getLayoutId() const;
    Acad::ErrorStatus setLayoutId(AcDbObjectId layout);
    bool isLayout() const;
    bool isAnonymous() const;
    bool hasAttributeDefinitions() const;
    bool isFromExternalReference() const;
    AcGePoint3d origin() const;
    std::wstring pathName() const;
    AcDbObjectId blockBeginId() const { return m_blockBegin; }
    AcDbObjectId blockEndId() const { return m_blockEnd; }
    // Made up by the loader for drawings without BLOCK_RECORD table (R12): written as BLOCKs only.
    bool isSynthesized() const { return m_synthesized; }

    void attachLoaded(AcDbObjectId begin, AcDbObjectId end) {
        m_blockBegin = begin;
        m_blockEnd = end;
    }
    void appendLoadedEntity(AcDbObjectId entity) { m_entities.push_back(entity); }
    void setSynthesized(bool synthesized) { m_synthesized = synthesized; }

private:
    AcDbHandle m_layout;
    std::vector<AcDbObjectId> m_entities;
    AcDbObjectId m_blockBegin;
    AcDbObjectId m_blockEnd;
    bool m_synthesized = false;
};

// Walks the entities of a block record in order, skipping erased ones.
class QUELTO_EXPORT AcDbBlockTableRecordIterator {
public:
    AcDbBlockTableRecordIterator(const std::vector<AcDbObjectId>& entities, bool skipDeleted)
        : m_entities(entities), m_skipDeleted(skipDeleted) {
        skip();
    }
    void start() {
        m_index = 0;
        skip();
    }
    bool done() const { return m_index >= m_entities.size(); }
    void step() {
        ++m_index;
        skip();
    }
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const {
        if (done()) {
            return Acad::eInvalidIndex;
        }
        id = m_entities[m_index];
        return Acad::eOk;
    }
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased = false) const;

private:
    void skip() {
        while (m_skipDeleted && m_index < m_entities.size() && m_entities[m_index].isErased()) {
            ++m_index;
        }
    }
    std::vector<AcDbObjectId> m_entities;
    bool m_skipDeleted;
    std::size_t m_index = 0;
};
