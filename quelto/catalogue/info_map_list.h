// CInfoMapList: the catalogue of entity types the quick-select criteria can name (DXF name and Chinese
// display name) and of each type's properties (name, id, items), which doubles as the buffer into which
// ReadEntity writes one entity's property values as the property page shows them.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"
#include "quelto/actions/world_to_user.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <optional>
#include <vector>

struct EntityName {
    CString dxfName;
    CString displayName;
};

struct EntityProp {
    CStringArray items;
    CString name;
    CString value;
    int id = 0;
};

struct EntityInfo {
    CString typeName;
    int isCustom = 0;
    std::vector<EntityProp> props;
};

class CInfoMapList {
public:
    // Builds the whole catalogue: the 25 built-in types and 21 property lists, then the custom types
    // when the setting HasFreedom is on.
    CInfoMapList();
    virtual ~CInfoMapList();

    // Exact, case-sensitive look-ups; the empty text when there is no such row.
    CString GetDisplayName(const CString& dxfName) const;
    CString GetDxfName(const CString& displayName) const;
    // The first property list of the type, built-in or custom; `isDxfName` 0 means `name` is a display
    // name. Null when the type has no list (the dimension subtypes, unknown names).
    EntityInfo* GetEntityInfo(const CString& name, BOOL isDxfName);
    // The first property list with the DXF name and the custom flag; null when there is none.
    EntityInfo* FindEntityInfo(const CString& dxfName, int isCustom);

    // A type-table name "DIMENSION" followed by decimal digits stands for the dimensions whose type flags
    // (group 70) equal the number: TRUE with `flags` set for such a name, FALSE for any other.
    static BOOL SplitDimensionName(const CString& dxfName, int& flags);

    const std::vector<EntityName>& GetTypeTable() const { return m_typeTable; }
    const std::vector<EntityInfo>& GetPropertyTable() const { return m_propertyTable; }

    // Value kinds by id range: 101-199 and 1001-1999 integer, 201-299 and 2001-2999 real, 301-399 and
    // 3001-3999 text, 401-499 and 4001-4999 enumeration.
    static BOOL IsIntegerProp(int id);
    static BOOL IsRealProp(int id);
    static BOOL IsTextProp(int id);
    static BOOL IsEnumProp(int id);

    // The entity's DXF type name as the host's entity data list gives it (group 0); empty for an entity
    // the host cannot list (null, unknown or erased).
    static CString GetEntityDxfName(AcDbObjectId objectId);

    // Fills the values of the entity's type list with the entity's values, using the settings
    // UseUserCoord and UseRadius as they are now. Lists of other types keep their values.
    void ReadEntity(AcDbObjectId objectId);
    // The same with the two settings given, for callers that read many entities under one setting.
    void ReadEntity(AcDbObjectId objectId, BOOL userCoordinates, BOOL radians);

    // Converts a world point into the current user system, which is asked of the host once per read;
    // FALSE, point unchanged, when there is no drawing.
    BOOL ToUserCoordinates(AcGePoint3d& point);

    AcDbObjectId currentObject;
    BOOL useUserCoord = 1;
    BOOL useRadians = 0;
    // The custom entity definitions the custom types come from (empty when HasFreedom is off).
    CFreedomEntityMangage customEntities;

private:
    void BuildTypeTable();
    void BuildPropertyTable();

    // Custom entity types of other applications: their rows in both tables, and reading their values
    // from the entity's DXF data. Both live in custom_types.cpp.
    void AppendCustomTypes();
    void ReadCustomEntity();

    // One reader per built-in kind, called in this order by ReadEntity; each writes only when the
    // entity is of its host class (or derives from it) and the catalogue has the kind's list.
    void ReadPoint(const AcDbEntity& entity);
    void ReadText(const AcDbEntity& entity);
    void ReadMText(const AcDbEntity& entity);
    void ReadArc(const AcDbEntity& entity);
    void ReadCircle(const AcDbEntity& entity);
    void ReadLine(const AcDbEntity& entity);
    void ReadLwPolyline(const AcDbEntity& entity);
    void ReadInsert(const AcDbEntity& entity);
    void ReadHatch(const AcDbEntity& entity);
    void ReadEllipse(const AcDbEntity& entity);
    void ReadRay(const AcDbEntity& entity);
    void ReadXline(const AcDbEntity& entity);
    void ReadPolyline(const AcDbEntity& entity);
    void ReadMline(const AcDbEntity& entity);
    void ReadSpline(const AcDbEntity& entity);
    void ReadRegion(const AcDbEntity& entity);
    void ReadImage(const AcDbEntity& entity);
    void ReadDimension(const AcDbEntity& entity);
    void ReadShape(const AcDbEntity& entity);
    void ReadViewport(const AcDbEntity& entity);

    // The readers that apply to entities of one host class, as bits in ReadEntity's reader order;
    // worked out once per class so that each read calls only those instead of testing every kind.
    using Reader = void (CInfoMapList::*)(const AcDbEntity&);
    struct ClassReaders {
        const AcRxClass* type = nullptr;
        std::vector<Reader> readers;
    };
    const std::vector<Reader>& ReadersOf(const AcRxClass* type);

    std::vector<EntityName> m_typeTable;
    std::vector<EntityInfo> m_propertyTable;
    std::vector<ClassReaders> m_readersByClass;
    std::optional<WorldToUser> m_worldToUser;
};
