// The named objects of the OBJECTS section the database models: dictionaries (the named object
// dictionary, ACAD_GROUP, ACAD_LAYOUT...), groups, layouts, image definitions and multiline styles.
// Dictionaries keep their entries in file order; keys compare case-insensitively, as the host's do.
#pragma once

#include "cad/db/db_object.h"
#include "cad/ge/point2d.h"
#include "platform/export.h"

#include <string>
#include <vector>

struct AcDbDictionaryEntry {
    std::wstring name;
    AcDbHandle softOwner; // group 350
    AcDbHandle hardOwner; // group 360
    AcDbHandle handle() const { return hardOwner.isNull() ? softOwner : hardOwner; }
};

class QUELTO_EXPORT AcDbDictionary : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbDictionary)

    bool has(const ACHAR* key) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus getAt(const ACHAR* key, AcDbObjectId& id) const;
    Acad::ErrorStatus getAt(const ACHAR* key, AcDbObject*& object, AcDb::OpenMode mode) const;
    Acad::ErrorStatus nameAt(AcDbObjectId id, std::wstring& key) const;
    // Stores `object` under `key`: a new object (not yet in a database) is added to the dictionary's
    // database, owned by the dictionary and left open for write. The dictionary must be open for write.
    Acad::ErrorStatus setAt(const ACHAR* key, AcDbObject* object, AcDbObjectId& id);
    Acad::ErrorStatus remove(const ACHAR* key);
    Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& id);
    Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(m_entries.size()); }
    const std::vector<AcDbDictionaryEntry>& entries() const { return m_entries; }
    bool isHardOwner() const { return m_hardOwner != 0; }

private:
    const AcDbDictionaryEntry* find(std::wstring_view key) const;
    Adesk::Int16 m_hardOwner = 0;
    Adesk::Int16 m_cloning = 1;
    std::vector<AcDbDictionaryEntry> m_entries;
};

// ACDBDICTIONARYWDFLT: a dictionary with a default entry (plot styles).
class QUELTO_EXPORT AcDbDictionaryWithDefault : public AcDbDictionary {
public:
    QUELTO_DXF_CLASS(AcDbDictionaryWithDefault)
    AcDbHandle defaultHandle() const { return m_default; }

private:
    AcDbHandle m_default;
};

class QUELTO_EXPORT AcDbGroup : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbGroup)
    AcDbGroup() = default;
    explicit AcDbGroup(const ACHAR* description, bool selectable = true);

    const std::wstring& description() const { return m_description; }
    Acad::ErrorStatus setDescription(const ACHAR* description);
    bool isSelectable() const { return m_selectable != 0; }
    Acad::ErrorStatus setSelectable(bool selectable);
    bool isAnonymous() const { return m_unnamed != 0; }
    Acad::ErrorStatus setAnonymous();
    Adesk::UInt32 numEntities() const;
    // Member ids in order; members that no longer exist (or are erased) are left out.
    Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
    bool has(const AcDbObjectId& id) const;
    Acad::ErrorStatus append(AcDbObjectId id);
    Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
    Acad::ErrorStatus remove(AcDbObjectId id);
    Acad::ErrorStatus clear();

private:
    std::wstring m_description;
    Adesk::Int16 m_unnamed = 0;
    Adesk::Int16 m_selectable = 1;
    std::vector<AcDbHandle> m_members;
};

class QUELTO_EXPORT AcDbLayout : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbLayout)
    Acad::ErrorStatus getLayoutName(const ACHAR*& name) const {
        name = m_name.c_str();
        return Acad::eOk;
    }
    const std::wstring& layoutName() const { return m_name; }
    Acad::ErrorStatus setLayoutName(const ACHAR* name);
    int getTabOrder() const { return m_tabOrder; }
    Acad::ErrorStatus setTabOrder(int order);
    AcDbObjectId getBlockTableRecordId() const;
    Acad::ErrorStatus setBlockTableRecordId(AcDbObjectId record);
    bool modelType() const;

private:
    std::wstring m_pageSetupName;
    std::wstring m_name;
    Adesk::Int16 m_layoutFlags = 1;
    Adesk::Int16 m_tabOrder = 0;
    AcDbHandle m_blockRecord;
};

class QUELTO_EXPORT AcDbRasterImageDef : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbRasterImageDef)
    const std::wstring& sourceFileName() const { return m_fileName; }
    Acad::ErrorStatus setSourceFileName(const ACHAR* path);
    const std::wstring& activeFileName() const { return m_fileName; }
    AcGeVector2d size() const { return {m_size.x, m_size.y}; }

private:
    Adesk::Int32 m_classVersion = 0;
    std::wstring m_fileName;
    AcGePoint2d m_size;
    AcGePoint2d m_pixelSize{1.0, 1.0};
    Adesk::Int16 m_loaded = 1;
    Adesk::Int16 m_resolutionUnits = 0;
};

class QUELTO_EXPORT AcDbMlineStyle : public AcDbObject {
public:
    QUELTO_DXF_CLASS(AcDbMlineStyle)
    const std::wstring& name() const { return m_name; }
    const std::wstring& description() const { return m_description; }

private:
    std::wstring m_name;
    Adesk::Int16 m_flags = 0;
    std::wstring m_description;
};
