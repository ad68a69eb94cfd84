// What the basic and advanced criteria pages show, as plain values, and the rules between those values
// and a CFilter record: the fixed lists, which fields a load takes, the validation order and messages
// of the advanced page, and the linetype names as the list shows them. The pages only bind widgets here.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/filter.h"

#include <optional>

// A refused save: the one message box the page shows.
struct CPageRefusal {
    CString message;
    CString title;
};

// Index of the item equal to the text, or -1. The advanced page searches its lists from the end, so a
// name that occurs twice finds its last occurrence.
int FindItem(const CStringArray& items, const CString& text);
int FindItemFromLast(const CStringArray& items, const CString& text);
// The same for symbol table names, which the host compares without case: an entity's "BYLAYER" is the
// table's "ByLayer".
int FindTableNameFromLast(const CStringArray& names, const CString& name);
// The text without white space at either end, as the dialogs' Trim() gives it.
CString TrimText(const CString& text);

// The basic page's controls; an empty name means the list has no item chosen.
struct CBasicCriteria {
    BOOL typeChecked = FALSE;
    CString typeName;
    BOOL layerChecked = FALSE;
    CString layerName;
    BOOL colorChecked = FALSE;
    CString colorOp;
    int color = 256;
    BOOL lineWeightChecked = FALSE;
    CString lineWeightOp;
    int lineWeight = 0;
    BOOL selectFromAll = FALSE;
    int groupMode = 0;
    CString groupName;
};

class CBasicCriteriaRules {
public:
    static const CStringArray& EqualOperator();
    static const CStringArray& ComparisonOperators();
    static const CStringArray& GroupModes();
    // The group name (and its label) is editable only for a rule that names a group.
    static BOOL GroupNameEnabled(int groupMode) { return groupMode > 0; }
    // The type the property page should list: empty when the type criterion is off or none is chosen.
    static CString ChosenType(const CBasicCriteria& criteria);

    // The preselection rule and the grouping rule come from the record only when the settings
    // ReadCfgPick and ReadCfgGroup ask for it; otherwise those controls keep what they show.
    static void Load(CBasicCriteria& criteria, const CFilter& record, BOOL readPick, BOOL readGroup);
    static void Save(const CBasicCriteria& criteria, CFilter& record);
};

// The advanced page's controls as texts; the linetype by the table name of the chosen entry (empty:
// none chosen), since the list shows ByLayer and ByBlock by other names.
struct CAdvancedCriteria {
    BOOL spaceChecked = FALSE;
    CString spaceOp;
    CString space;
    BOOL lineTypeChecked = FALSE;
    CString lineTypeOp;
    CString lineType;
    BOOL ltScaleChecked = FALSE;
    CString ltScaleOp;
    CString ltScale;
    BOOL visibleChecked = FALSE;
    CString visibleOp;
    CString visible;
    BOOL planarChecked = FALSE;
    CString planarOp;
    CString planar;
    BOOL widthChecked = FALSE;
    CString widthOp;
    CString width;
    BOOL heightChecked = FALSE;
    CString heightOp;
    CString height;
};

class CAdvancedCriteriaRules {
public:
    static const CStringArray& SpaceOperators();
    static const CStringArray& LineTypeOperators();
    static const CStringArray& LtScaleOperators();
    static const CStringArray& PlotStyleOperators();
    static const CStringArray& VisibilityOperators();
    static const CStringArray& ExtentOperators();
    static const CStringArray& LtScaleValues();
    static const CStringArray& ExtentValues();
    static const CStringArray& YesNo();
    static const CStringArray& PlotStyles();

    // "[*模型*]", "[*当前*]", then the layout names.
    static CStringArray SpaceItems(const CStringArray& layoutNames);
    // How the linetype list shows a table entry: ByBlock and ByLayer by their Chinese names, and the
    // continuous line's description as a drawn rule.
    static CString LinetypeDisplayName(const CString& tableName);
    static CString LinetypeDescription(const CString& tableName, const CString& comments);

    // What the page shows when it opens, before any record is loaded.
    static CAdvancedCriteria Opening(const CStringArray& spaceItems, const CStringArray& linetypeNames);
    static void Load(CAdvancedCriteria& criteria, const CFilter& record, const CStringArray& spaceItems,
                     const CStringArray& linetypeNames);
    // The first failing test of the ticked rows, in the page's order; nothing when every test passes.
    static std::optional<CPageRefusal> Validate(const CAdvancedCriteria& criteria);
    // Writes every field, ticked or not; call after Validate.
    static void Save(const CAdvancedCriteria& criteria, const CStringArray& linetypeNames, CFilter& record);
};
