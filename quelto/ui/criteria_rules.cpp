// The basic and advanced pages' lists, load and save rules and the advanced page's validation table.

#include "quelto/ui/criteria_rules.h"

#include "platform/wide_text.h"
#include "quelto/actions/xyz_base_object.h"

#include <algorithm>
#include <cwctype>

namespace {

// One row of the advanced page's validation: which row, its operator and value, and the messages.
struct AdvancedCheck {
    BOOL CAdvancedCriteria::*checked;
    CString CAdvancedCriteria::*op;
    const wchar_t* operatorMessage;
    const wchar_t* valueMessage;
    const wchar_t* negativeMessage; // null: the value is not a number
};

constexpr const wchar_t* kOperatorTitle = L"运算符号错误";
constexpr const wchar_t* kValueTitle = L"运算值错误";

CString firstOrEmpty(const CStringArray& items) {
    return items.empty() ? CString() : items.front();
}

} // namespace

int FindItem(const CStringArray& items, const CString& text) {
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

int FindItemFromLast(const CStringArray& items, const CString& text) {
    for (std::size_t index = items.size(); index > 0; --index) {
        if (items[index - 1] == text) {
            return static_cast<int>(index - 1);
        }
    }
    return -1;
}

int FindTableNameFromLast(const CStringArray& names, const CString& name) {
    for (std::size_t index = names.size(); index > 0; --index) {
        if (platform::equalsIgnoringAsciiCase(names[index - 1], name)) {
            return static_cast<int>(index - 1);
        }
    }
    return -1;
}

CString TrimText(const CString& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::iswspace(text[first]) != 0) {
        ++first;
    }
    while (last > first && std::iswspace(text[last - 1]) != 0) {
        --last;
    }
    return text.substr(first, last - first);
}

const CStringArray& CBasicCriteriaRules::EqualOperator() {
    static const CStringArray kItems = {L"="};
    return kItems;
}

const CStringArray& CBasicCriteriaRules::ComparisonOperators() {
    static const CStringArray kItems = {L"=", L"!=", L"<", L">", L"<=", L">="};
    return kItems;
}

const CStringArray& CBasicCriteriaRules::GroupModes() {
    static const CStringArray kItems = {L"无（不作任何操作）", L"新建（存在时放弃）", L"新建（存在时覆盖）",
                                        L"追加（没有时放弃）", L"追加（没有时新建）", L"删除（没有时放弃）"};
    return kItems;
}

CString CBasicCriteriaRules::ChosenType(const CBasicCriteria& criteria) {
    return criteria.typeChecked ? criteria.typeName : CString();
}

void CBasicCriteriaRules::Load(CBasicCriteria& criteria, const CFilter& record, BOOL readPick,
                               BOOL readGroup) {
    criteria.typeChecked = record.m_bType;
    criteria.layerChecked = record.m_bLayer;
    criteria.lineWeightChecked = record.m_bLineWeight;
    criteria.colorChecked = record.m_bColor;
    if (readPick) {
        criteria.selectFromAll = record.m_bSelectFromAll;
    }
    if (readGroup) {
        criteria.groupMode = record.m_nGroupMode;
        criteria.groupName = record.m_strGroupName;
    }
    criteria.typeName = record.m_strType;
    criteria.layerName = record.m_strLayer;
    criteria.colorOp = record.m_strColorOp;
    criteria.lineWeightOp = record.m_strLineWeightOp;
    criteria.color = record.m_nColor;
    criteria.lineWeight = record.m_nLineWeight;
}

void CBasicCriteriaRules::Save(const CBasicCriteria& criteria, CFilter& record) {
    record.m_bType = criteria.typeChecked;
    record.m_strType = criteria.typeName;
    record.m_bLayer = criteria.layerChecked;
    record.m_strLayer = criteria.layerName;
    record.m_bColor = criteria.colorChecked;
    record.m_strColorOp = criteria.colorOp;
    record.m_nColor = criteria.color;
    record.m_bLineWeight = criteria.lineWeightChecked;
    record.m_strLineWeightOp = criteria.lineWeightOp;
    record.m_nLineWeight = criteria.lineWeight;
    record.m_bSelectFromAll = criteria.selectFromAll;
    record.m_nGroupMode = criteria.groupMode;
    record.m_strGroupName = criteria.groupName;
}

const CStringArray& CAdvancedCriteriaRules::SpaceOperators() {
    static const CStringArray kItems = {L"=", L"!="};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::LineTypeOperators() {
    return CBasicCriteriaRules::EqualOperator();
}

const CStringArray& CAdvancedCriteriaRules::LtScaleOperators() {
    return CBasicCriteriaRules::ComparisonOperators();
}

const CStringArray& CAdvancedCriteriaRules::PlotStyleOperators() {
    static const CStringArray kItems = {L"=", L"!=", L">", L"<", L">=", L"<=", L"包含", L"左边", L"右边="};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::VisibilityOperators() {
    return CBasicCriteriaRules::EqualOperator();
}

const CStringArray& CAdvancedCriteriaRules::ExtentOperators() {
    static const CStringArray kItems = {L"=", L"!=", L">", L"<", L">=", L"<=", L"||="};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::LtScaleValues() {
    static const CStringArray kItems = {L"0.1", L"0.2", L"0.5", L"1.0", L"2.0", L"5.0"};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::ExtentValues() {
    static const CStringArray kItems = {L"1", L"10"};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::YesNo() {
    static const CStringArray kItems = {L"否", L"是"};
    return kItems;
}

const CStringArray& CAdvancedCriteriaRules::PlotStyles() {
    static const CStringArray kItems = {L"随颜色"};
    return kItems;
}

CStringArray CAdvancedCriteriaRules::SpaceItems(const CStringArray& layoutNames) {
    CStringArray items = {L"[*模型*]", L"[*当前*]"};
    items.insert(items.end(), layoutNames.begin(), layoutNames.end());
    return items;
}

CString CAdvancedCriteriaRules::LinetypeDisplayName(const CString& tableName) {
    if (tableName == L"ByBlock") {
        return L"随块";
    }
    if (tableName == L"ByLayer") {
        return L"随层";
    }
    return tableName;
}

CString CAdvancedCriteriaRules::LinetypeDescription(const CString& tableName, const CString& comments) {
    return platform::toUpperAscii(tableName) == L"CONTINUOUS" ? CString(L"________________________")
                                                              : comments;
}

CAdvancedCriteria CAdvancedCriteriaRules::Opening(const CStringArray& spaceItems,
                                                  const CStringArray& linetypeNames) {
    CAdvancedCriteria criteria;
    criteria.spaceOp = SpaceOperators().front();
    criteria.space = firstOrEmpty(spaceItems);
    criteria.lineTypeOp = LineTypeOperators().front();
    criteria.lineType = firstOrEmpty(linetypeNames);
    criteria.ltScaleOp = LtScaleOperators().front();
    criteria.ltScale = L"1.0";
    criteria.visibleOp = VisibilityOperators().front();
    criteria.visible = L"是";
    criteria.planarOp = VisibilityOperators().front();
    criteria.planar = L"是";
    criteria.widthOp = ExtentOperators().front();
    criteria.width = L"0";
    criteria.heightOp = ExtentOperators().front();
    criteria.height = L"0";
    return criteria;
}

void CAdvancedCriteriaRules::Load(CAdvancedCriteria& criteria, const CFilter& record,
                                  const CStringArray& spaceItems, const CStringArray& linetypeNames) {
    criteria.space =
        FindItemFromLast(spaceItems, record.m_strSpace) >= 0 ? record.m_strSpace : firstOrEmpty(spaceItems);
    const int lineType = FindTableNameFromLast(linetypeNames, record.m_strLineType);
    criteria.lineType =
        lineType >= 0 ? linetypeNames[static_cast<std::size_t>(lineType)] : firstOrEmpty(linetypeNames);
    criteria.ltScale = CXYZBaseObject::FormatReal(record.m_dLtScale);
    criteria.width = CXYZBaseObject::FormatReal(record.m_dWidth);
    criteria.height = CXYZBaseObject::FormatReal(record.m_dHeight);
    // The record counts visibility as "invisible": 1 for "否".
    criteria.visible = record.m_nVisibility == 1 ? L"否" : L"是";
    criteria.planar = record.m_nPlanar == 1 ? L"是" : L"否";
    criteria.spaceChecked = record.m_bSpace;
    criteria.spaceOp = record.m_strSpaceOp;
    criteria.lineTypeChecked = record.m_bLineType;
    criteria.lineTypeOp = record.m_strLineTypeOp;
    criteria.ltScaleChecked = record.m_bLtScale;
    criteria.ltScaleOp = record.m_strLtScaleOp;
    criteria.visibleChecked = record.m_bVisible;
    criteria.visibleOp = record.m_strVisibleOp;
    criteria.planarChecked = record.m_bPlanar;
    criteria.planarOp = record.m_strPlanarOp;
    criteria.widthChecked = record.m_bWidth;
    criteria.widthOp = record.m_strWidthOp;
    criteria.heightChecked = record.m_bHeight;
    criteria.heightOp = record.m_strHeightOp;
}

std::optional<CPageRefusal> CAdvancedCriteriaRules::Validate(const CAdvancedCriteria& criteria) {
    static const AdvancedCheck kChecks[] = {
        {&CAdvancedCriteria::spaceChecked, &CAdvancedCriteria::spaceOp, L"空间运算符号没有选择，请重新选择！",
         L"空间运算值没有选择，请重新选择！", nullptr},
        {&CAdvancedCriteria::lineTypeChecked, &CAdvancedCriteria::lineTypeOp,
         L"线型运算符号没有选择，请重新选择！", L"线型运算值没有选择，请重新选择！", nullptr},
        {&CAdvancedCriteria::ltScaleChecked, &CAdvancedCriteria::ltScaleOp,
         L"线型比例运算符号没有选择，请重新选择！", L"线型比例运算值没有选择，请重新选择！",
         L"线型比例运算值不得小于0，请重新输入！"},
        {&CAdvancedCriteria::widthChecked, &CAdvancedCriteria::widthOp,
         L"外观宽度运算符号没有选择，请重新选择！", L"外观宽度运算值没有选择，请重新选择！",
         L"外观宽度运算值必须不得小于0，请重新输入！"},
        {&CAdvancedCriteria::heightChecked, &CAdvancedCriteria::heightOp,
         L"外观高度运算符号没有选择，请重新选择！", L"外观高度运算值没有选择，请重新选择！",
         L"外观高度运算值必须不得小于0，请重新输入！"},
    };
    // The value of each checked row, in the same order as the table above.
    const CString values[] = {criteria.space, criteria.lineType, criteria.ltScale, criteria.width,
                              criteria.height};
    for (std::size_t row = 0; row < std::size(kChecks); ++row) {
        const AdvancedCheck& check = kChecks[row];
        if (!(criteria.*check.checked)) {
            continue;
        }
        if (TrimText(criteria.*check.op).empty()) {
            return CPageRefusal{check.operatorMessage, kOperatorTitle};
        }
        const CString value = TrimText(values[row]);
        if (value.empty()) {
            return CPageRefusal{check.valueMessage, kValueTitle};
        }
        if (check.negativeMessage != nullptr && platform::wideToDouble(value) < 0.0) {
            return CPageRefusal{check.negativeMessage, kValueTitle};
        }
    }
    return std::nullopt;
}

void CAdvancedCriteriaRules::Save(const CAdvancedCriteria& criteria, const CStringArray& linetypeNames,
                                  CFilter& record) {
    record.m_bSpace = criteria.spaceChecked;
    record.m_strSpaceOp = criteria.spaceOp;
    record.m_strSpace = criteria.space;
    record.m_bLineType = criteria.lineTypeChecked;
    record.m_strLineTypeOp = criteria.lineTypeOp;
    // With no entry chosen the record takes the list's first linetype.
    record.m_strLineType = criteria.lineType.empty() ? firstOrEmpty(linetypeNames) : criteria.lineType;
    record.m_bLtScale = criteria.ltScaleChecked;
    record.m_strLtScaleOp = criteria.ltScaleOp;
    record.m_dLtScale = platform::wideToDouble(criteria.ltScale);
    record.m_bVisible = criteria.visibleChecked;
    record.m_strVisibleOp = criteria.visibleOp;
    record.m_nVisibility = criteria.visible == L"否" ? 1 : 0;
    record.m_bPlanar = criteria.planarChecked;
    record.m_strPlanarOp = criteria.planarOp;
    record.m_nPlanar = criteria.planar == L"是" ? 1 : 0;
    record.m_bWidth = criteria.widthChecked;
    record.m_strWidthOp = criteria.widthOp;
    record.m_dWidth = platform::wideToDouble(criteria.width);
    record.m_bHeight = criteria.heightChecked;
    record.m_strHeightOp = criteria.heightOp;
    record.m_dHeight = platform::wideToDouble(criteria.height);
}
