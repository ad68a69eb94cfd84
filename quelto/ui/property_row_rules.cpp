// The property page's rules: operators per value kind, the value control per operator, template
// pre-fill, load and save of the property rows, and the logic expression check.

#include "quelto/ui/property_row_rules.h"

#include "platform/wide_text.h"
#include "quelto/baselib/zeb_base_string_analyse.h"
#include "quelto/matching/in_matching_string.h"

#include <algorithm>

namespace {

const CStringArray& integerOperators() {
    static const CStringArray kItems = {L"=", L"!=", L">", L"<", L">=", L"<=", L"%2=", L"&", L"&="};
    return kItems;
}

const CStringArray& realOperators() {
    static const CStringArray kItems = {L"=", L"!=", L">", L"<", L">=", L"<=", L"||="};
    return kItems;
}

const CStringArray& textOperators() {
    static const CStringArray kItems = {L"=",      L"!=",     L">",      L"<",        L">=",
                                        L"<=",     L"包含",   L"不包含", L"左边=",    L"右边=",
                                        L"左边!=", L"右边!=", L"通配符", L"反通配符", L"特征"};
    return kItems;
}

const CStringArray& featureNames() {
    static const CStringArray kItems = [] {
        CStringArray names;
        for (int index = 0; index < CINMatchingString::GetFeatureCount(); ++index) {
            names.push_back(CINMatchingString::GetFeatureName(index));
        }
        return names;
    }();
    return kItems;
}

CString itemAt(const CStringArray& items, int item) {
    return item >= 0 && item < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(item)]
                                                              : CString();
}

constexpr const wchar_t* kExpressionTitle = L"表达式错误";

} // namespace

CString CPropertyRow::Operator() const {
    return itemAt(operators, operatorItem);
}

CString CPropertyRow::ListText() const {
    return itemAt(listItems, listItem);
}

CString CPropertyRow::Value() const {
    return control == CValueControl::EditBox ? editText : ListText();
}

const CStringArray& CPropertyPageModel::OperatorsFor(int propertyId) {
    static const CStringArray kEqualOnly = {L"="};
    if (CInfoMapList::IsIntegerProp(propertyId)) {
        return integerOperators();
    }
    if (CInfoMapList::IsRealProp(propertyId)) {
        return realOperators();
    }
    if (CInfoMapList::IsTextProp(propertyId)) {
        return textOperators();
    }
    return kEqualOnly;
}

CString CPropertyPageModel::RowLetter(int row) {
    return CString(1, static_cast<wchar_t>(L'A' + row));
}

CString CPropertyPageModel::CleanExpression(const CString& expression) {
    CString cleaned;
    std::copy_if(expression.begin(), expression.end(), std::back_inserter(cleaned),
                 [](wchar_t character) { return character != L' '; });
    return platform::toUpperAscii(TrimText(cleaned));
}

std::optional<CPageRefusal> CPropertyPageModel::CheckExpression(const CString& cleaned,
                                                                const std::array<bool, RowCount>& rowsSet) {
    if (cleaned.empty()) {
        return CPageRefusal{L"请输入高级选项中的逻辑表达式，用&表示且，用|表示或，可以使用括号",
                            kExpressionTitle};
    }
    // The analyser knows no logical operators; with every variable 1, "*" and "+" stand in for and/or.
    CString arithmetic = cleaned;
    std::replace(arithmetic.begin(), arithmetic.end(), L'&', L'*');
    std::replace(arithmetic.begin(), arithmetic.end(), L'|', L'+');
    CZEBBaseStringAnalyse analyser;
    for (int row = 0; row < RowCount; ++row) {
        if (rowsSet[static_cast<std::size_t>(row)]) {
            CZEBOperateVar variable;
            variable.m_strName = RowLetter(row);
            variable.m_nType = CZEBOperateVar::TypeInteger;
            variable.m_nValue = 1;
            variable.m_dValue = 1.0;
            analyser.m_arrVariable.push_back(std::move(variable));
        }
    }
    analyser.SetInputString(arithmetic);
    const int code = analyser.DoAnalyse();
    if (code == CZEBBaseStringAnalyse::ResultSuccess) {
        return std::nullopt;
    }
    if (code == CZEBBaseStringAnalyse::ResultVariable) {
        return CPageRefusal{L"逻辑表达式中出现了没有定义的逻辑变量，请检查！", kExpressionTitle};
    }
    return CPageRefusal{L"高级选项中的逻辑表达式错误，用&表示且，用|表示或，可以使用括号！",
                        kExpressionTitle};
}

const CStringArray& CPropertyPageModel::LogicModes() {
    static const CStringArray kItems = {L"全部为且[默认]", L"全部为或", L"用户定义"};
    return kItems;
}

const CStringArray& CPropertyPageModel::LogicExpressions() {
    static const CStringArray kItems = {L"A&B&C&D&E&F&G", L"A|B|C|D|E|F|G", L"(A&B)|(C&D)", L"(A|B)&(C|D)"};
    return kItems;
}

void CPropertyPageModel::Refill(const EntityInfo* info) {
    m_info = info;
    for (CPropertyRow& row : m_rows) {
        row.property = 0;
    }
}

CStringArray CPropertyPageModel::PropertyItems() const {
    CStringArray items = {NoProperty};
    if (m_info != nullptr) {
        for (const EntityProp& property : m_info->props) {
            items.push_back(property.name);
        }
    }
    return items;
}

const EntityProp* CPropertyPageModel::PropertyOf(int row) const {
    const int property = Row(row).property;
    if (m_info == nullptr || property <= 0 || property > static_cast<int>(m_info->props.size())) {
        return nullptr;
    }
    return &m_info->props[static_cast<std::size_t>(property - 1)];
}

void CPropertyPageModel::ChooseProperty(int row, int property) {
    CPropertyRow& target = m_rows.at(static_cast<std::size_t>(row));
    target.property = property;
    const EntityProp* chosen = PropertyOf(row);
    if (chosen == nullptr) {
        target.property = 0;
        return;
    }
    const CString previous = target.Operator();
    target.operators = OperatorsFor(chosen->id);
    target.operatorItem = std::max(FindItem(target.operators, previous), 0);
    ApplyValueControl(row);
}

bool CPropertyPageModel::ChoosePropertyByName(int row, const CString& name) {
    const int item = FindItem(PropertyItems(), name);
    if (item < 0) {
        return false;
    }
    ChooseProperty(row, item);
    return true;
}

void CPropertyPageModel::ChooseOperator(int row, const CString& op) {
    CPropertyRow& target = m_rows.at(static_cast<std::size_t>(row));
    const int item = FindItem(target.operators, op);
    if (item < 0 || !target.Enabled()) {
        return;
    }
    target.operatorItem = item;
    ApplyValueControl(row);
}

void CPropertyPageModel::SetEditText(int row, const CString& text) {
    m_rows.at(static_cast<std::size_t>(row)).editText = text;
}

void CPropertyPageModel::ChooseListItem(int row, int item) {
    CPropertyRow& target = m_rows.at(static_cast<std::size_t>(row));
    target.listItem = item >= 0 && item < static_cast<int>(target.listItems.size()) ? item : -1;
}

void CPropertyPageModel::ApplyValueControl(int row) {
    const EntityProp* property = PropertyOf(row);
    if (property == nullptr) {
        return;
    }
    CPropertyRow& target = m_rows.at(static_cast<std::size_t>(row));
    const CString op = target.Operator();
    const CString previous = target.ListText();
    const bool text = CInfoMapList::IsTextProp(property->id) != 0;
    if (text && op == L"特征") {
        target.control = CValueControl::DropDownList;
        target.listItems = featureNames();
        target.listItem = std::max(FindItem(target.listItems, previous), 0);
        return;
    }
    if (text && op != L"=" && op != L"!=") {
        target.control = CValueControl::EditBox;
    } else if (!property->items.empty()) {
        target.control = CValueControl::DropDownList;
        target.listItems = property->items;
    } else {
        target.control = CValueControl::EditBox;
    }
    if (target.control == CValueControl::EditBox) {
        if (target.editText.empty()) {
            target.editText = property->value;
        }
        return;
    }
    target.listItem = FindItem(target.listItems, previous);
    if (target.listItem < 0) {
        target.listItem = std::max(FindItem(target.listItems, property->value), 0);
    }
}

void CPropertyPageModel::Load(const CFilter& record) {
    for (CPropertyRow& row : m_rows) {
        row.property = 0;
    }
    const std::size_t stored = std::min({record.m_arrPropId.size(), record.m_arrPropRow.size(),
                                         record.m_arrPropOp.size(), record.m_arrPropValue.size()});
    for (std::size_t entry = 0; entry < stored; ++entry) {
        const int row = record.m_arrPropRow[entry];
        if (row < 0 || row >= RowCount || m_info == nullptr) {
            continue;
        }
        const auto& props = m_info->props;
        const auto found = std::find_if(props.begin(), props.end(), [&](const EntityProp& property) {
            return property.id == record.m_arrPropId[entry];
        });
        if (found == props.end()) {
            m_rows[static_cast<std::size_t>(row)].property = 0;
            continue;
        }
        ChooseProperty(row, static_cast<int>(found - props.begin()) + 1);
        ChooseOperator(row, record.m_arrPropOp[entry]);
        CPropertyRow& target = m_rows[static_cast<std::size_t>(row)];
        if (target.control == CValueControl::EditBox) {
            target.editText = record.m_arrPropValue[entry];
        } else {
            target.listItem = std::max(FindItem(target.listItems, record.m_arrPropValue[entry]), 0);
        }
    }
    logicChecked = record.m_bLogic;
    logicMode = record.m_nLogicMode;
    logicExpression = record.m_strLogic;
}

std::optional<CPageRefusal> CPropertyPageModel::Save(CFilter& record) {
    if (logicChecked && logicMode == 2) {
        logicExpression = CleanExpression(logicExpression);
        std::array<bool, RowCount> rowsSet{};
        for (int row = 0; row < RowCount; ++row) {
            rowsSet[static_cast<std::size_t>(row)] = Row(row).Enabled();
        }
        if (auto refusal = CheckExpression(logicExpression, rowsSet)) {
            return refusal;
        }
    }
    // The page owns the record's rows: a record that already held rows gets these instead.
    record.m_arrPropId.clear();
    record.m_arrPropRow.clear();
    record.m_arrPropOp.clear();
    record.m_arrPropValue.clear();
    for (int row = 0; row < RowCount; ++row) {
        const EntityProp* property = PropertyOf(row);
        if (property == nullptr) {
            continue;
        }
        record.m_arrPropId.push_back(property->id);
        record.m_arrPropRow.push_back(row);
        record.m_arrPropOp.push_back(Row(row).Operator());
        record.m_arrPropValue.push_back(Row(row).Value());
    }
    record.m_bLogic = logicChecked;
    record.m_nLogicMode = logicMode;
    record.m_strLogic = logicExpression;
    return std::nullopt;
}
