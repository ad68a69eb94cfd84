// The property page as plain values: seven rows A to G, each with a property of the current type, an
// operator list that depends on the property's value kind, and one of two value controls (an edit box
// or a drop-down list); plus the logic box. CPropertyPageModel applies every rule of choosing a property
// or operator, loading from and saving to a CFilter, and checking the user's logic expression; the
// widget page mirrors it.
#pragma once

#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/filter.h"
#include "quelto/ui/criteria_rules.h"

#include <array>
#include <optional>

enum class CValueControl { EditBox, DropDownList };

struct CPropertyRow {
    int property = 0; // 0 is "无"; k + 1 is the type's property at position k
    CStringArray operators;
    int operatorItem = -1;
    CValueControl control = CValueControl::EditBox;
    CString editText;
    CStringArray listItems;
    int listItem = -1;

    // The operator and value controls are usable only with a property chosen.
    bool Enabled() const { return property != 0; }
    CString Operator() const;
    CString ListText() const;
    // The text of the visible value control.
    CString Value() const;
};

class CPropertyPageModel {
public:
    static constexpr int RowCount = 7;
    static constexpr const wchar_t* NoProperty = L"无";

    // The operators offered for a property id's value kind.
    static const CStringArray& OperatorsFor(int propertyId);
    // "A" to "G".
    static CString RowLetter(int row);
    // Spaces removed, trimmed, upper case: the form in which an expression is checked and stored.
    static CString CleanExpression(const CString& expression);
    // Analyses the cleaned expression with one variable per row that has a property; nothing when it is
    // sound.
    static std::optional<CPageRefusal> CheckExpression(const CString& cleaned,
                                                       const std::array<bool, RowCount>& rowsSet);
    static const CStringArray& LogicModes();
    static const CStringArray& LogicExpressions();

    // A new type (null: none). Every row returns to "无"; the operator and value controls keep their
    // contents but are disabled.
    void Refill(const EntityInfo* info);
    const EntityInfo* Info() const { return m_info; }
    // "无" followed by the type's property names in list order.
    CStringArray PropertyItems() const;

    const CPropertyRow& Row(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    void ChooseProperty(int row, int property);
    // Chooses by name; false (and no change) when the type has no such property.
    bool ChoosePropertyByName(int row, const CString& name);
    void ChooseOperator(int row, const CString& op);
    void SetEditText(int row, const CString& text);
    void ChooseListItem(int row, int item);

    BOOL logicChecked = FALSE;
    int logicMode = 0;
    CString logicExpression;
    bool LogicModeEnabled() const { return logicChecked != 0; }
    bool ExpressionEnabled() const { return logicChecked != 0 && logicMode == 2; }

    void Load(const CFilter& record);
    // Checks the user expression (cleaning it in place first), then writes the rows that have a property
    // in place of the record's rows, and the logic fields. On a refusal the record is untouched.
    std::optional<CPageRefusal> Save(CFilter& record);

private:
    const EntityProp* PropertyOf(int row) const;
    // Picks the value control for the row's property and operator and fills it, taking the template's
    // value into an empty edit box or an unmatched list.
    void ApplyValueControl(int row);

    const EntityInfo* m_info = nullptr;
    std::array<CPropertyRow, RowCount> m_rows;
};
