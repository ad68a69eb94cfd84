// Spreadsheet-style text functions of the formula language: lengths, slices by 1-based positions,
// searches, case and white space, marked spans, numerals, and nested evaluation (strcal, calreplace).
// Comparisons are case-sensitive; argument values are checked in a fixed order before a result is made.
#include "platform/wide_text.h"
#include "quelto/baselib/zeb_function_table.h"
#include "quelto/baselib/zeb_string.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace quelto::baselib {
namespace {

// Repetition and zero padding stop at this many characters, so that a formula such as
// rept("a",2000000000) gives a long text instead of exhausting the host's memory.
constexpr std::size_t kMaximumGeneratedLength = 1U << 24;

int length(const CString& text) {
    return static_cast<int>(text.size());
}

bool startsWith(const CString& text, const CString& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const CString& text, const CString& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The text between a start mark and the next end mark after it, as [begin, end) of the text.
struct MarkedSpan {
    std::size_t begin;
    std::size_t end;
};

// position is 1-based; -1 takes the last occurrence of the start mark. The end mark is sought from one
// character after the start of the start mark, so an end mark inside the start mark yields an empty span.
std::optional<MarkedSpan> findMarkedSpan(const CString& text, const CString& startMark,
                                         const CString& endMark, int position) {
    const std::size_t start =
        position == -1 ? text.rfind(startMark) : text.find(startMark, static_cast<std::size_t>(position - 1));
    if (start == CString::npos) {
        return std::nullopt;
    }
    const std::size_t end = text.find(endMark, start + 1);
    if (end == CString::npos) {
        return std::nullopt;
    }
    const std::size_t begin = start + startMark.size();
    return MarkedSpan{begin, end < begin ? begin : end};
}

// The position checks shared by mid3 and calreplace, worded with the function and argument they name.
std::optional<CString> checkMarkPosition(const CString& text, int position, const wchar_t* tooSmall,
                                         const wchar_t* tooLarge) {
    if (position < 1 && position != -1) {
        return CString(tooSmall);
    }
    if (position > length(text)) {
        return CString(tooLarge);
    }
    return std::nullopt;
}

// The range of delete and replace, or nothing when the text stays unchanged.
std::optional<MarkedSpan> deletedRange(const CString& text, int start, int count) {
    if (start < 1 || start > length(text) || count < 1) {
        return std::nullopt;
    }
    const std::size_t begin = static_cast<std::size_t>(start - 1);
    const std::size_t available = text.size() - begin;
    return MarkedSpan{begin, begin + std::min(static_cast<std::size_t>(count), available)};
}

// A nested analysis shows its errors where the calling one does; its own message stays its business.
std::optional<CString> evaluateNested(const CZEBBaseStringAnalyse& outer, const CString& formula,
                                      const CZEBOperateVar* variable) {
    CZEBBaseStringAnalyse nested;
    nested.SetShowErrorInfo(outer.GetShowErrorInfo());
    nested.SetMessageWnd(outer.GetMessageWnd());
    if (variable != nullptr) {
        nested.m_arrVariable.push_back(*variable);
    }
    nested.SetInputString(formula);
    if (nested.DoAnalyse() != CZEBBaseStringAnalyse::ResultSuccess) {
        return std::nullopt;
    }
    return nested.GetOutputString();
}

int computeLen(CZEBFunctionAccess& call) {
    return call.SetInteger(length(call.Text(0)));
}

int computeAtoi(CZEBFunctionAccess& call) {
    return call.SetInteger(_wtoi(call.Text(0)));
}

int computeAtof(CZEBFunctionAccess& call) {
    return call.SetReal(_wtof(call.Text(0)));
}

int computeChina(CZEBFunctionAccess& call) {
    return call.SetString(CZEBString::GetChineseNumber(call.Integer(0) - 1, call.Boolean(1)));
}

int computeAlpha(CZEBFunctionAccess& call) {
    return call.SetString(CZEBString::GetAlpha(call.Integer(0) - 1, call.Boolean(1)));
}

int computeStrindex(CZEBFunctionAccess& call) {
    CString number = platform::formatWide(L"%d", call.Integer(0));
    const int width = call.Integer(1);
    if (width > length(number)) {
        const std::size_t padded = std::min(static_cast<std::size_t>(width), kMaximumGeneratedLength);
        number.insert(0, padded - std::min(padded, number.size()), L'0');
    }
    return call.SetString(number);
}

int computeLeft(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int count = call.Integer(1);
    if (count < 0) {
        return call.Fail(L"left函数第二个参数必须大于或等于0");
    }
    return call.SetString(text.substr(0, static_cast<std::size_t>(count)));
}

int computeRight(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int count = call.Integer(1);
    if (count < 0) {
        return call.Fail(L"right函数的第二个参数必须大于或等于0");
    }
    const std::size_t kept = std::min(static_cast<std::size_t>(count), text.size());
    return call.SetString(text.substr(text.size() - kept));
}

int computeStartsWith(CZEBFunctionAccess& call) {
    return call.SetBoolean(startsWith(call.Text(0), call.Text(1)));
}

int computeEndsWith(CZEBFunctionAccess& call) {
    return call.SetBoolean(endsWith(call.Text(0), call.Text(1)));
}

int computeDell(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const CString prefix = call.Text(1);
    return call.SetString(startsWith(text, prefix) ? text.substr(prefix.size()) : text);
}

int computeDelr(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const CString suffix = call.Text(1);
    return call.SetString(endsWith(text, suffix) ? text.substr(0, text.size() - suffix.size()) : text);
}

int computeMid(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int start = call.Integer(1);
    const int count = call.Integer(2);
    if (start < 1) {
        return call.Fail(L"mid函数的第二个参数必须大于0");
    }
    if (start > length(text)) {
        return call.Fail(L"mid函数的第二个参数必须小于或等于字符串长度");
    }
    if (count < 0) {
        return call.Fail(L"mid函数的第三个参数必须大于0");
    }
    return call.SetString(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int computeMid2(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int from = call.Integer(1);
    const int to = call.Integer(2);
    if (from < 1) {
        return call.Fail(L"mid2函数的第二个参数必须大于0");
    }
    if (from > length(text)) {
        return call.Fail(L"mid2函数的第二个参数必须小于或等于字符串长度");
    }
    if (to < from || to > length(text)) {
        return call.Fail(L"mid2函数的第三个参数必须大于第二个参数且小于或等于字符串长度");
    }
    return call.SetString(
        text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1)));
}

int computeMid3(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int position = call.Integer(3);
    if (const auto failure = checkMarkPosition(text, position, L"mid3函数的第4个参数必须大于0",
                                               L"mid3函数的第4个参数必须小于或等于字符串长度")) {
        return call.Fail(*failure);
    }
    const auto span = findMarkedSpan(text, call.Text(1), call.Text(2), position);
    return call.SetString(span ? text.substr(span->begin, span->end - span->begin) : CString());
}

int computeFind(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const CString sought = call.Text(1);
    const int start = call.Integer(2);
    if (start < 1) {
        return call.Fail(L"find函数的第3个参数必须大于0");
    }
    const std::size_t found = text.find(sought, static_cast<std::size_t>(start - 1));
    return call.SetInteger(found == CString::npos ? 0 : static_cast<int>(found) + 1);
}

int computeFindr(CZEBFunctionAccess& call) {
    const std::size_t found = call.Text(0).rfind(call.Text(1));
    return call.SetInteger(found == CString::npos ? 0 : static_cast<int>(found) + 1);
}

int computeChar(CZEBFunctionAccess& call) {
    const int code = call.Integer(0);
    if (code <= 0) {
        return call.Fail(L"char函数的第一个参数必须大于0");
    }
    // Only Unicode scalar values are characters of a wide text; other codes give the replacement character.
    const bool scalar = code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return call.SetString(CString(1, scalar ? static_cast<wchar_t>(code) : L'\xFFFD'));
}

int computeUpper(CZEBFunctionAccess& call) {
    return call.SetString(platform::toUpperAscii(call.Text(0)));
}

int computeLower(CZEBFunctionAccess& call) {
    return call.SetString(platform::toLowerAscii(call.Text(0)));
}

int computeTriml(CZEBFunctionAccess& call) {
    return call.SetString(trimWhiteSpace(call.Text(0), true, false));
}

int computeTrimr(CZEBFunctionAccess& call) {
    return call.SetString(trimWhiteSpace(call.Text(0), false, true));
}

int computeTrimlr(CZEBFunctionAccess& call) {
    return call.SetString(trimWhiteSpace(call.Text(0), true, true));
}

int computeExact(CZEBFunctionAccess& call) {
    return call.SetBoolean(call.Text(0) == call.Text(1));
}

int computeProper(CZEBFunctionAccess& call) {
    CString text = platform::toLowerAscii(call.Text(0));
    bool afterLetter = false;
    for (wchar_t& character : text) {
        const bool letter = platform::isAsciiAlpha(character);
        if (letter && !afterLetter) {
            character = static_cast<wchar_t>(character - L'a' + L'A');
        }
        afterLetter = letter;
    }
    return call.SetString(text);
}

int computeDelete(CZEBFunctionAccess& call) {
    CString text = call.Text(0);
    if (const auto range = deletedRange(text, call.Integer(1), call.Integer(2))) {
        text.erase(range->begin, range->end - range->begin);
    }
    return call.SetString(text);
}

int computeReplace(CZEBFunctionAccess& call) {
    CString text = call.Text(0);
    if (const auto range = deletedRange(text, call.Integer(1), call.Integer(2))) {
        text.replace(range->begin, range->end - range->begin, call.Text(3));
    }
    return call.SetString(text);
}

int computeReplace2(CZEBFunctionAccess& call) {
    CString text = call.Text(0);
    if (const auto span = findMarkedSpan(text, call.Text(1), call.Text(2), 1)) {
        text.replace(span->begin, span->end - span->begin, call.Text(3));
    }
    return call.SetString(text);
}

int computeText(CZEBFunctionAccess& call) {
    return call.SetString(CZEBBaseStringAnalyse::GetDoubleString(call.Real(0), call.Integer(1)));
}

int computeRept(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const int count = call.Integer(1);
    CString repeated;
    for (int copy = 0; copy < count && repeated.size() + text.size() <= kMaximumGeneratedLength; ++copy) {
        if (text.empty()) {
            break;
        }
        repeated += text;
    }
    return call.SetString(repeated);
}

int computeSubstitute(CZEBFunctionAccess& call) {
    const CString text = call.Text(0);
    const CString old = call.Text(1);
    const CString replacement = call.Text(2);
    if (old.empty()) {
        return call.SetString(text);
    }
    CString result;
    std::size_t from = 0;
    for (std::size_t found = text.find(old); found != CString::npos; found = text.find(old, from)) {
        result.append(text, from, found - from);
        result += replacement;
        from = found + old.size();
    }
    result.append(text, from, CString::npos);
    return call.SetString(result);
}

int computeStrcal(CZEBFunctionAccess& call) {
    const CString formula = call.Text(0);
    const auto output = evaluateNested(call.analyser, formula, nullptr);
    return call.SetString(output ? *output : formula);
}

int computeCalreplace(CZEBFunctionAccess& call) {
    CString text = call.Text(0);
    const int position = call.Integer(4);
    if (const auto failure = checkMarkPosition(text, position, L"strcal函数的第5个参数必须大于0",
                                               L"strcal函数的第5个参数必须小于或等于字符串长度")) {
        return call.Fail(*failure);
    }
    const auto span = findMarkedSpan(text, call.Text(1), call.Text(2), position);
    if (span) {
        CZEBOperateVar variable;
        variable.m_strName = L"x";
        variable.m_nType = CZEBOperateVar::TypeString;
        variable.m_strValue = text.substr(span->begin, span->end - span->begin);
        if (const auto output = evaluateNested(call.analyser, call.Text(3), &variable)) {
            text.replace(span->begin, span->end - span->begin, *output);
        }
    }
    return call.SetString(text);
}

constexpr FunctionEntry kTextTable[] = {
    {L"len", 1, computeLen},
    {L"atoi", 1, computeAtoi},
    {L"atof", 1, computeAtof},
    {L"china", 2, computeChina},
    {L"alpha", 2, computeAlpha},
    {L"strindex", 2, computeStrindex},
    {L"left", 2, computeLeft},
    {L"lequ", 2, computeStartsWith},
    {L"dell", 2, computeDell},
    {L"right", 2, computeRight},
    {L"requ", 2, computeEndsWith},
    {L"delr", 2, computeDelr},
    {L"mid", 3, computeMid},
    {L"mid2", 3, computeMid2},
    {L"mid3", 4, computeMid3},
    {L"find", 3, computeFind},
    {L"findr", 2, computeFindr},
    {L"char", 1, computeChar},
    {L"upper", 1, computeUpper},
    {L"lower", 1, computeLower},
    {L"triml", 1, computeTriml},
    {L"trimr", 1, computeTrimr},
    {L"trimlr", 1, computeTrimlr},
    {L"exact", 2, computeExact},
    {L"exactl", 2, computeStartsWith},
    {L"exactr", 2, computeEndsWith},
    {L"proper", 1, computeProper},
    {L"delete", 3, computeDelete},
    {L"replace", 4, computeReplace},
    {L"replace2", 4, computeReplace2},
    {L"text", 2, computeText},
    {L"rept", 2, computeRept},
    {L"substitute", 3, computeSubstitute},
    {L"strcal", 1, computeStrcal},
    {L"calreplace", 5, computeCalreplace},
};

} // namespace

std::span<const FunctionEntry> textFunctions() {
    return kTextTable;
}

} // namespace quelto::baselib
