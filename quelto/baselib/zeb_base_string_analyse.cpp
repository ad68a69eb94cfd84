// CZEBBaseStringAnalyse, parse phase and interface: the expression text is rewritten step by step, every
// understood sub-expression replaced by a generated record name. Each rewrite streams through the text
// once, so a megabyte of input or ten thousand nested brackets cost linear time and no native recursion.
// The evaluation phase lives in zeb_base_string_analyse_evaluation.cpp.

#include "quelto/baselib/zeb_base_string_analyse.h"

#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/baselib/zeb_formula_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

using quelto::baselib::findLiteralEnd;
using quelto::baselib::generatedNameIndex;
using quelto::baselib::isFormulaDigit;
using quelto::baselib::isFormulaLetter;
using quelto::baselib::isOperandBoundary;
using quelto::baselib::isPlainNumber;
using quelto::baselib::kLiteralQuote;
using quelto::baselib::kNotFound;
using quelto::baselib::OperatorSet;
using quelto::baselib::RunTrackedText;
using quelto::baselib::scanLeftOperand;
using quelto::baselib::scanRightOperand;

namespace {

const wchar_t* const kDefaultErrorTitle = L"翠岭轩基本类库";
// Up to this many records a name is looked for by walking the list; past it through an index.
constexpr std::size_t kLinearLookupLimit = 32;
// Up to this many caller-named records the index is a list; more go into a hash map.
constexpr std::size_t kSmallNameIndex = 16;

// The decimal digits of a non-negative number (std::to_wstring goes through wide printf here).
void appendDecimal(CString& text, std::size_t number) {
    wchar_t digits[24];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (count > 0) {
        text.push_back(digits[--count]);
    }
}

} // namespace

CZEBBaseStringAnalyse::CZEBBaseStringAnalyse() {
    InitParam(TRUE);
}

CZEBBaseStringAnalyse::~CZEBBaseStringAnalyse() {
    InitParam(TRUE);
}

void CZEBBaseStringAnalyse::InitParam(int clearVariables) {
    m_strInput.clear();
    m_strLastError.clear();
    m_bShowError = FALSE;
    m_hMessageWnd = nullptr;
    m_strErrorTitle = kDefaultErrorTitle;
    m_arrOperate.clear();
    if (clearVariables) {
        m_arrVariable.clear();
    }
    ResetNameIndex();
}

void CZEBBaseStringAnalyse::SetInputString(const CString& input) {
    m_strInput = input;
    if (!m_strInput.empty() && m_strInput.front() == L'=') {
        m_strInput.erase(0, 1);
    }
}

CString CZEBBaseStringAnalyse::GetInputString() const {
    return m_strInput;
}

BOOL CZEBBaseStringAnalyse::InputStringIsEmpty() const {
    return m_strInput.empty() ? TRUE : FALSE;
}

CString CZEBBaseStringAnalyse::GetOutputString() const {
    return m_strOutput;
}

int CZEBBaseStringAnalyse::GetOutputType() const {
    return m_nOutputType;
}

CString CZEBBaseStringAnalyse::GetAnalyseErrorInfo() const {
    return m_strLastError;
}

void CZEBBaseStringAnalyse::SetShowErrorInfo(int show) {
    m_bShowError = show;
}

int CZEBBaseStringAnalyse::GetShowErrorInfo() const {
    return m_bShowError;
}

void CZEBBaseStringAnalyse::SetMessageWnd(const HWND& window) {
    m_hMessageWnd = window;
}

HWND CZEBBaseStringAnalyse::GetMessageWnd() const {
    return m_hMessageWnd;
}

void CZEBBaseStringAnalyse::SetErrorTitle(const CString& title) {
    m_strErrorTitle = title;
}

CString CZEBBaseStringAnalyse::GetErrorTitle() const {
    return m_strErrorTitle;
}

void CZEBBaseStringAnalyse::ShowLastError() {
    MessageBox(m_hMessageWnd, m_strLastError, m_strErrorTitle, MB_OK | MB_ICONINFORMATION);
}

void CZEBBaseStringAnalyse::SetLastErrorInfo(const CString& message) {
    m_strLastError = message;
    if (m_bShowError) {
        ShowLastError();
    }
}

CString CZEBBaseStringAnalyse::GetDoubleString(double value, int precision) {
    const int decimals =
        precision < 0 ? (precision < -9 ? 10 : -precision) : (precision > 9 ? 10 : precision);
    // Large enough for the longest fixed notation of a double (309 integer digits) with ten decimals.
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    CString text(buffer, error == std::errc() ? end : buffer);
    if (precision < 0) {
        while (!text.empty() && text.back() == L'0') {
            text.pop_back();
        }
        while (!text.empty() && text.back() == L'.') {
            text.pop_back();
        }
    }
    return text;
}

int CZEBBaseStringAnalyse::DoAnalyse() {
    m_arrOperate.clear();
    m_arrOperate.reserve(m_arrVariable.size() + std::min<std::size_t>(m_strInput.size() / 2 + 2, 256));
    m_arrOperate.insert(m_arrOperate.end(), m_arrVariable.begin(), m_arrVariable.end());
    ResetNameIndex();
    m_nConcatenatedChars = 0;

    if (m_strInput.empty()) {
        SetLastErrorInfo(L"用户输入的表达式为空");
        return ResultEmptyInput;
    }
    CString text = m_strInput;
    int code = DoWithSpace(text);
    if (code == ResultSuccess) {
        code = DoWithBracket(text);
    }
    if (code == ResultSuccess) {
        code = CalChildString(text);
    }
    if (code != ResultSuccess) {
        return code;
    }
    if (!text.empty()) {
        const int found = AddToVarList(text);
        if (found < 0) {
            return ResultVariable;
        }
        if (static_cast<std::size_t>(found) + 1 != m_arrOperate.size()) {
            CZEBOperateVar copy = m_arrOperate[static_cast<std::size_t>(found)];
            m_arrOperate.push_back(std::move(copy));
        }
    }
    code = DoWithAllFun();
    if (code != ResultSuccess) {
        return code;
    }
    const CZEBOperateVar& result = m_arrOperate.back();
    switch (result.m_nType) {
    case CZEBOperateVar::TypeString:
        m_strOutput.assign(1, kLiteralQuote).append(result.m_strValue).push_back(kLiteralQuote);
        break;
    case CZEBOperateVar::TypeInteger:
        m_strOutput = result.GetSValue();
        break;
    case CZEBOperateVar::TypeReal:
        m_strOutput = GetDoubleString(result.m_dValue, -7);
        break;
    case CZEBOperateVar::TypeBoolean:
        m_strOutput = result.m_nValue != 0 ? L"TRUE" : L"FALSE";
        break;
    default:
        // A caller's variable given without a kind has no value to show.
        m_strOutput.clear();
        break;
    }
    m_nOutputType = result.m_nType;
    return ResultSuccess;
}

// An unclosed literal is reported here, before anything else, since its end decides which spaces stay.
int CZEBBaseStringAnalyse::DoWithSpace(CString& text) {
    if (std::none_of(text.begin(), text.end(),
                     [](wchar_t character) { return character == L' ' || character == kLiteralQuote; })) {
        return ResultSuccess;
    }
    CString result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size(); ++position) {
        const wchar_t character = text[position];
        if (character == kLiteralQuote) {
            const std::size_t close = findLiteralEnd(text, position, text.size() - 1);
            if (close == kNotFound) {
                SetLastErrorInfo(L"引号不匹配");
                return ResultQuote;
            }
            result.append(text, position, close - position + 1);
            position = close;
        } else if (character != L' ') {
            result.push_back(character);
        }
    }
    text = std::move(result);
    return ResultSuccess;
}

// Brackets are taken in the order of their ")": each ")" closes the last "(" still open, which is the
// innermost pair first. The text before the "(" is the rewritten one, so a name made by an earlier pair
// can stand in front of it.
int CZEBBaseStringAnalyse::DoWithBracket(CString& text) {
    if (text.find(L')') == kNotFound) {
        return ResultSuccess;
    }
    RunTrackedText rewritten(text.size());
    std::vector<std::size_t> openBrackets;
    for (std::size_t position = 0; position < text.size(); ++position) {
        const wchar_t character = text[position];
        if (character == kLiteralQuote) {
            const std::size_t close = findLiteralEnd(text, position, text.size() - 1);
            if (close == kNotFound) {
                SetLastErrorInfo(L"引号不匹配");
                return ResultQuote;
            }
            rewritten.append(std::wstring_view(text).substr(position, close - position + 1));
            position = close;
            continue;
        }
        if (character == L'(') {
            openBrackets.push_back(rewritten.text().size());
        }
        if (character != L')') {
            rewritten.push(character);
            continue;
        }
        if (openBrackets.empty()) {
            SetLastErrorInfo(L"括号不匹配");
            return ResultBracket;
        }
        const std::size_t open = openBrackets.back();
        openBrackets.pop_back();
        CString inner = rewritten.text().substr(open + 1);
        const std::size_t nameStart = rewritten.runStartBefore(open);
        if (nameStart < open && isFormulaLetter(rewritten.text()[nameStart])) {
            CString recordName;
            const int code =
                GetFunValue(recordName, rewritten.text().substr(nameStart, open - nameStart), inner);
            if (code != ResultSuccess) {
                return code;
            }
            rewritten.truncate(nameStart);
            rewritten.append(recordName);
        } else {
            const int code = CalChildString(inner);
            if (code != ResultSuccess) {
                return code;
            }
            rewritten.truncate(open);
            rewritten.append(inner);
        }
    }
    text = rewritten.take();
    return ResultSuccess;
}

void CZEBBaseStringAnalyse::GetStringMark(int& first, int& last, const CString& text, int start, int end) {
    first = -1;
    last = -1;
    if (text.empty()) {
        return;
    }
    const std::size_t lastIndex = end < 0 || static_cast<std::size_t>(end) >= text.size()
                                      ? text.size() - 1
                                      : static_cast<std::size_t>(end);
    const std::size_t open = text.find(kLiteralQuote, static_cast<std::size_t>(std::max(start, 0)));
    if (open == kNotFound || open > lastIndex) {
        return;
    }
    first = static_cast<int>(open);
    const std::size_t close = findLiteralEnd(text, open, lastIndex);
    last = close == kNotFound ? -1 : static_cast<int>(close);
}

int CZEBBaseStringAnalyse::CalChildString(CString& text) {
    if (!text.empty() && text.front() == L'+') {
        text.erase(0, 1);
    } else if (!text.empty() && text.front() == L'-') {
        text.insert(0, 1, L'0');
    }
    static const OperatorSet kPasses[] = {OperatorSet(L"^"), OperatorSet(L"*/"), OperatorSet(L"+-&"),
                                          OperatorSet(L"><=!")};
    for (const OperatorSet& operators : kPasses) {
        if (std::none_of(text.begin(), text.end(),
                         [&](wchar_t character) { return operators.contains(character); })) {
            continue;
        }
        const int code = ReduceOperatorPass(text, operators);
        if (code != ResultSuccess) {
            return code;
        }
    }
    return ResultSuccess;
}

// Equivalent to replacing the leftmost operator and rescanning from the start: nothing before the
// replaced operand can hold an operator of the pass, so `reduced` (the text already rewritten) only
// ever changes at its end, where the next left operand is taken from.
int CZEBBaseStringAnalyse::ReduceOperatorPass(CString& text, const OperatorSet& operators) {
    CString reduced;
    reduced.reserve(text.size());
    std::size_t literalStart = kNotFound; // where the literal that `reduced` may end with begins
    std::size_t position = 0;
    while (position < text.size()) {
        const wchar_t character = text[position];
        if (character == kLiteralQuote) {
            const std::size_t close = findLiteralEnd(text, position, text.size() - 1);
            if (close == kNotFound) {
                SetLastErrorInfo(L"引号不匹配");
                return ResultQuote;
            }
            literalStart = reduced.size();
            reduced.append(text, position, close - position + 1);
            position = close + 1;
            continue;
        }
        if (!operators.contains(character)) {
            reduced.push_back(character);
            ++position;
            continue;
        }
        std::size_t left = 0;
        std::size_t right = 0;
        const wchar_t* message = nullptr;
        int code = scanRightOperand(text, position, right, message);
        if (code == ResultSuccess) {
            const bool endsWithLiteral = !reduced.empty() && reduced.back() == kLiteralQuote;
            code = scanLeftOperand(reduced, endsWithLiteral ? literalStart : kNotFound, left, message);
        }
        if (code != ResultSuccess) {
            SetLastErrorInfo(message);
            return code;
        }
        const int index =
            AppendOperator(character, reduced.substr(left), text.substr(position + 1, right - position));
        if (index < 0) {
            return ResultVariable;
        }
        reduced.resize(left);
        reduced += m_arrOperate[static_cast<std::size_t>(index)].m_strName;
        position = right + 1;
    }
    text = std::move(reduced);
    return ResultSuccess;
}

int CZEBBaseStringAnalyse::GetMinChildString(int& left, int& right, const CString& text, int position) {
    if (position < 0) {
        throw std::invalid_argument("CZEBBaseStringAnalyse: operator position out of range");
    }
    const std::size_t operatorAt = static_cast<std::size_t>(position);
    std::size_t rightIndex = 0;
    std::size_t leftIndex = 0;
    const wchar_t* message = nullptr;
    int code = scanRightOperand(text, operatorAt, rightIndex, message);
    if (code == ResultSuccess) {
        std::size_t literalStart = kNotFound;
        if (operatorAt > 0 && text[operatorAt - 1] == kLiteralQuote) {
            // Literals are only known from the start of the text.
            std::size_t open = text.find(kLiteralQuote);
            while (open < operatorAt) {
                const std::size_t close = findLiteralEnd(text, open, text.size() - 1);
                if (close == kNotFound || close >= operatorAt) {
                    break;
                }
                if (close == operatorAt - 1) {
                    literalStart = open;
                    break;
                }
                open = text.find(kLiteralQuote, close + 1);
            }
        }
        code =
            scanLeftOperand(std::wstring_view(text).substr(0, operatorAt), literalStart, leftIndex, message);
    }
    if (code != ResultSuccess) {
        SetLastErrorInfo(message);
        return code;
    }
    left = static_cast<int>(leftIndex);
    right = static_cast<int>(rightIndex);
    return ResultSuccess;
}

void CZEBBaseStringAnalyse::ResetNameIndex() {
    m_arrNamedRecords.clear();
    m_mapRecordNames.clear();
    m_nIndexedRecords = 0;
}

// Records are indexed as they appear, whoever appended them; an empty text is no name, so it never
// finds one of the unnamed constant records.
int CZEBBaseStringAnalyse::FindRecordByName(const CString& name) {
    if (name.empty()) {
        return -1;
    }
    const std::size_t count = m_arrOperate.size();
    if (m_nIndexedRecords == 0 && count <= kLinearLookupLimit) {
        for (std::size_t index = 0; index < count; ++index) {
            if (m_arrOperate[index].m_strName == name) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }
    if (m_nIndexedRecords > count) {
        ResetNameIndex();
    }
    for (; m_nIndexedRecords < count; ++m_nIndexedRecords) {
        const CString& recordName = m_arrOperate[m_nIndexedRecords].m_strName;
        if (recordName.empty() ||
            generatedNameIndex(recordName) == static_cast<long long>(m_nIndexedRecords)) {
            continue;
        }
        const int index = static_cast<int>(m_nIndexedRecords);
        if (m_mapRecordNames.empty() && m_arrNamedRecords.size() < kSmallNameIndex) {
            m_arrNamedRecords.push_back(index);
            continue;
        }
        for (const int listed : m_arrNamedRecords) {
            m_mapRecordNames.try_emplace(m_arrOperate[static_cast<std::size_t>(listed)].m_strName, listed);
        }
        m_arrNamedRecords.clear();
        m_mapRecordNames.try_emplace(recordName, index);
    }

    int found = -1;
    const long long generated = generatedNameIndex(name);
    if (generated >= 0 && static_cast<std::size_t>(generated) < count &&
        m_arrOperate[static_cast<std::size_t>(generated)].m_strName == name) {
        found = static_cast<int>(generated);
    }
    if (!m_mapRecordNames.empty()) {
        const auto entry = m_mapRecordNames.find(name);
        if (entry != m_mapRecordNames.end() && (found < 0 || entry->second < found)) {
            found = entry->second;
        }
        return found;
    }
    for (const int listed : m_arrNamedRecords) {
        if (found >= 0 && listed > found) {
            break;
        }
        if (m_arrOperate[static_cast<std::size_t>(listed)].m_strName == name) {
            return listed;
        }
    }
    return found;
}

int CZEBBaseStringAnalyse::AddToVarList(const CString& operand) {
    const int found = FindRecordByName(operand);
    if (found >= 0) {
        return found;
    }
    if (operand.empty()) {
        SetLastErrorInfo(L"常量或变量为空错误");
        return -1;
    }
    CZEBOperateVar constant;
    if (operand.size() >= 2 && operand.front() == kLiteralQuote && operand.back() == kLiteralQuote) {
        constant.m_nType = CZEBOperateVar::TypeString;
        constant.m_strValue = operand.substr(1, operand.size() - 2);
    } else if (std::all_of(operand.begin(), operand.end(), isFormulaDigit)) {
        constant.m_nType = CZEBOperateVar::TypeInteger;
        constant.m_nValue = _wtoi(operand);
    } else if (CheckConst(operand)) {
        constant.m_nType = CZEBOperateVar::TypeReal;
        constant.m_dValue = _wtof(operand);
    } else if (platform::equalsIgnoringAsciiCase(operand, L"TRUE") ||
               platform::equalsIgnoringAsciiCase(operand, L"FALSE")) {
        constant.m_nType = CZEBOperateVar::TypeBoolean;
        constant.m_nValue = operand.size() == 4 ? 1 : 0;
    } else {
        SetLastErrorInfo(platform::formatWide(L"变量或常量%s错误", operand.c_str()));
        return -1;
    }
    m_arrOperate.push_back(std::move(constant));
    return static_cast<int>(m_arrOperate.size() - 1);
}

int CZEBBaseStringAnalyse::AddOperate(CString& name, wchar_t operatorCode, const CString& left,
                                      const CString& right) {
    const int index = AppendOperator(operatorCode, left, right);
    if (index < 0) {
        return ResultVariable;
    }
    name = m_arrOperate[static_cast<std::size_t>(index)].m_strName;
    return ResultSuccess;
}

// Operands are resolved before the record is named, so a record's name always tells its own index.
int CZEBBaseStringAnalyse::AppendOperator(wchar_t operatorCode, const CString& left, const CString& right) {
    const int leftIndex = AddToVarList(left);
    if (leftIndex < 0) {
        return -1;
    }
    const int rightIndex = AddToVarList(right);
    if (rightIndex < 0) {
        return -1;
    }
    CZEBOperateVar record;
    record.m_strOperate.assign(1, operatorCode);
    record.m_arrParamIndex = {leftIndex, rightIndex};
    record.m_strName = GetNewOperateName();
    m_arrOperate.push_back(std::move(record));
    return static_cast<int>(m_arrOperate.size() - 1);
}

int CZEBBaseStringAnalyse::GetFunValue(CString& name, const CString& functionName,
                                       const CString& argumentText) {
    std::vector<std::size_t> commas;
    for (std::size_t position = 0; position < argumentText.size(); ++position) {
        if (argumentText[position] == kLiteralQuote) {
            position = findLiteralEnd(argumentText, position, argumentText.size() - 1);
            if (position == kNotFound) {
                SetLastErrorInfo(L"引号不匹配");
                return ResultQuote;
            }
        } else if (argumentText[position] == L',') {
            commas.push_back(position);
        }
    }
    if (!commas.empty() && (commas.front() == 0 || commas.back() + 1 == argumentText.size())) {
        SetLastErrorInfo(platform::formatWide(L"函数%s参数错误", functionName.c_str()));
        return ResultArgumentValue;
    }
    CStringArray arguments;
    if (!argumentText.empty()) {
        arguments.reserve(commas.size() + 1);
        std::size_t start = 0;
        for (const std::size_t comma : commas) {
            arguments.push_back(argumentText.substr(start, comma - start));
            start = comma + 1;
        }
        arguments.push_back(argumentText.substr(start));
    }
    for (CString& argument : arguments) {
        const int code = CalChildString(argument);
        if (code != ResultSuccess) {
            return code;
        }
    }
    return AddFunValue(name, functionName, arguments);
}

int CZEBBaseStringAnalyse::AddFunValue(CString& name, const CString& functionName,
                                       const CStringArray& arguments) {
    CZEBOperateVar record;
    record.m_strOperate = functionName;
    record.m_arrParamIndex.reserve(arguments.size());
    for (const CString& argument : arguments) {
        const int index = AddToVarList(argument);
        if (index < 0) {
            return ResultVariable;
        }
        record.AddParamIndex(index);
    }
    record.m_strName = GetNewOperateName();
    name = record.m_strName;
    m_arrOperate.push_back(std::move(record));
    return ResultSuccess;
}

BOOL CZEBBaseStringAnalyse::CheckConst(const CString& text) {
    return isPlainNumber(text) ? TRUE : FALSE;
}

BOOL CZEBBaseStringAnalyse::IsOperateCode(wchar_t character) {
    return isOperandBoundary(character) ? TRUE : FALSE;
}

int CZEBBaseStringAnalyse::GetCalIndex(int first, int second, int third, int fourth) {
    int smallest = -1;
    for (const int position : {first, second, third, fourth}) {
        if (position != -1 && (smallest == -1 || position < smallest)) {
            smallest = position;
        }
    }
    return smallest;
}

CString CZEBBaseStringAnalyse::GetNewOperateName() {
    CString name = L"SFV";
    appendDecimal(name, m_arrOperate.size() + 1);
    return name;
}

void CZEBBaseStringAnalyse::ReplaceString(CString& text, int first, int last, const CString& replacement) {
    const std::size_t begin =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(first, 0)), text.size());
    const std::size_t end =
        last < first ? begin
                     : std::min<std::size_t>(static_cast<std::size_t>(std::max(last, 0)) + 1, text.size());
    text.replace(begin, std::max(end, begin) - begin, replacement);
}
