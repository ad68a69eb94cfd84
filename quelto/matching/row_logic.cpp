// Row results and their combination. The logic expression is handed to the analyser as arithmetic:
// "&" becomes "*" and "|" becomes "+", so with row results of 0 and 1 (or the value of "&") a product
// or sum of 1 or more accepts the entity.
#include "quelto/matching/row_logic.h"

#include "platform/message_box.h"
#include "platform/wide_text.h"

#include <algorithm>

namespace quelto::matching {

namespace {

constexpr EnumerationItem kYesNoItems[] = {{L"是", 1}};
constexpr EnumerationNames kYesNo{kYesNoItems, 0};

} // namespace

int EnumerationNames::numberOf(const CString& name) const {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const EnumerationItem& item) { return name == item.name; });
    return found != items.end() ? found->number : otherNumber;
}

RowValue RowValue::yesNo(bool value) {
    return enumeration(value ? 1 : 0, kYesNo);
}

void RowLogic::load(const CArray<int, int>& propertyIds, const CArray<int, int>& letters,
                    const CStringArray& operators, const CStringArray& values, int logicMode,
                    const CString& expression) {
    clear();
    // A damaged record may hold arrays of different lengths; only complete rows count.
    const std::size_t count = std::min({propertyIds.size(), letters.size(), operators.size(), values.size()});
    m_rows.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        m_rows.push_back({propertyIds[index], letters[index], RowOperand(operators[index], values[index])});
    }
    m_logicMode = logicMode;
    m_analyserInput = expression;
    std::replace(m_analyserInput.begin(), m_analyserInput.end(), L'&', L'*');
    std::replace(m_analyserInput.begin(), m_analyserInput.end(), L'|', L'+');
}

void RowLogic::clear() {
    m_rows.clear();
    m_logicMode = 0;
    m_analyserInput.clear();
}

int RowLogic::rowResult(const RowValue& value, const RowOperand& operand) const {
    switch (value.kind) {
    case RowValue::Kind::Real:
        return compareReal(value.realValue, operand, precision);
    case RowValue::Kind::Integer:
        return compareInteger(value.integerValue, operand);
    case RowValue::Kind::Text:
        return compareText(value.textValue, operand);
    case RowValue::Kind::Enumeration:
        // Enumerations always compare for equality, whatever operator the row holds.
        return value.integerValue == value.names->numberOf(operand.value) ? 1 : 0;
    case RowValue::Kind::TranslatedInteger: {
        RowOperand translated = operand;
        translated.integerValue = value.criterion;
        return compareInteger(value.integerValue, translated);
    }
    default:
        return 1;
    }
}

int RowLogic::combine(int rowResult, std::size_t rowIndex, CZEBBaseStringAnalyse* analyser) const {
    switch (m_logicMode) {
    case 0:
        return rowResult == 0 ? -1 : 0;
    case 1:
        return rowResult != 0 ? 1 : 0;
    case 2:
        if (analyser != nullptr && rowIndex < m_rows.size()) {
            CZEBOperateVar variable;
            // Unsigned, so that a damaged record's letter index wraps instead of overflowing.
            variable.m_strName =
                CString(1, static_cast<wchar_t>(static_cast<unsigned>(m_rows[rowIndex].letter) + L'A'));
            variable.m_nType = CZEBOperateVar::TypeBoolean;
            variable.m_nValue = rowResult;
            analyser->m_arrVariable.push_back(std::move(variable));
        }
        return 0;
    default:
        return 0;
    }
}

int RowLogic::finish(int lastRowResult, CZEBBaseStringAnalyse* analyser) const {
    if (m_logicMode != 2 || analyser == nullptr) {
        return lastRowResult;
    }
    analyser->SetInputString(m_analyserInput);
    const int code = analyser->DoAnalyse();
    if (code == CZEBBaseStringAnalyse::ResultSuccess) {
        return _wtoi(analyser->GetOutputString()) >= 1 ? 1 : 0;
    }
    const wchar_t* message = code == CZEBBaseStringAnalyse::ResultVariable
                                 ? L"逻辑表达式中出现了没有定义的逻辑变量，请检查！"
                                 : L"高级选项中的逻辑表达式错误，用&表示且，用|表示或，可以使用括号！";
    MessageBox(nullptr, message, L"表达式错误", MB_OK | MB_ICONINFORMATION);
    return lastRowResult;
}

} // namespace quelto::matching
