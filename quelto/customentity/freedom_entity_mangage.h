// CFreedomEntityMangage: every custom entity definition found in the definition folder, in load order,
// and the two questions the catalogue and the matching engine ask of it: which definition describes a
// DXF type, and what value a defined property has in one entity (read from its DXF data by group code).
#pragma once

#include "platform/mfc_types.h"
#include "quelto/customentity/freedom_entity.h"

#include <functional>
#include <optional>
#include <vector>

class AcDbObjectId;

class CFreedomEntityMangage {
public:
    // The catalogue's value texts of a DXF type's custom entry in the entry's property order, or nothing
    // when the catalogue has no custom entry for the type; the registry writes into them.
    using SlotFinder = std::function<std::optional<std::vector<CString*>>(const CString& typeName)>;

    CFreedomEntityMangage();

    // Appends the definitions of every file in the folder, with "<software> - " in front of each display
    // name when `hasEntSoft` is set.
    void Load(BOOL hasEntSoft);
    int GetCount() const { return static_cast<int>(entities.size()); }
    // The definition of the class, the last loaded first (a later file overrides an earlier one); exact
    // and case-sensitive. Null when none.
    const CFreedomEntity* FindByClassName(const CString& className) const;
    // The result type of a group code's value in the host's data list.
    static int ExpectedResultType(int groupCode);

    // Writes the custom property values of the entity into the catalogue's slots of its type.
    void ReadCustomEntity(const AcDbObjectId& id, BOOL useUserCoord, const SlotFinder& slotsOf) const;

    // Launches the definition editor from the install location ("Location" of the machine settings);
    // "安装错误" when the location is unknown or the editor is not there. TRUE when it was started.
    static BOOL RunDefinitionEditor();
    static constexpr const char* EditorProgramName = "quelto-dom";

    CArray<CFreedomEntity> entities;
};
