// Text-level rules of the formula language: literals, operand boundaries and scans, plain numbers and
// generated record names.

#include "quelto/baselib/zeb_formula_text.h"

#include "quelto/baselib/zeb_base_string_analyse.h"

namespace quelto::baselib {

std::size_t findLiteralEnd(std::wstring_view text, std::size_t open, std::size_t last) {
    std::size_t position = open + 1;
    while (position <= last) {
        position = text.find(kLiteralQuote, position);
        if (position == kNotFound || position > last) {
            return kNotFound;
        }
        if (position == last || text[position + 1] != kLiteralQuote) {
            return position;
        }
        position += 2;
    }
    return kNotFound;
}

bool isPlainNumber(std::wstring_view text) {
    if (text.empty()) {
        return true;
    }
    int points = text.front() == L'.' ? 1 : 0;
    const bool leadingMark = text.front() == L'+' || text.front() == L'-' || text.front() == L'.';
    for (std::size_t position = leadingMark ? 1 : 0; position < text.size(); ++position) {
        if (text[position] == L'.') {
            ++points;
        } else if (!isFormulaDigit(text[position])) {
            return false;
        }
    }
    return points <= 1;
}

namespace {

// An operand found by scanning (not a literal) is a name when it starts with a letter, else a number.
int checkScannedOperand(std::wstring_view operand, const wchar_t*& message) {
    if (isFormulaLetter(operand.front()) || isPlainNumber(operand)) {
        return CZEBBaseStringAnalyse::ResultSuccess;
    }
    message = L"常量错误";
    return CZEBBaseStringAnalyse::ResultConstant;
}

} // namespace

int scanRightOperand(std::wstring_view text, std::size_t position, std::size_t& right,
                     const wchar_t*& message) {
    if (position + 1 >= text.size()) {
        message = L"运算符号后面没有参数";
        return CZEBBaseStringAnalyse::ResultOperand;
    }
    const std::size_t first = position + 1;
    if (text[first] == kLiteralQuote) {
        right = findLiteralEnd(text, first, text.size() - 1);
        if (right == kNotFound) {
            message = L"引号不匹配";
            return CZEBBaseStringAnalyse::ResultQuote;
        }
        return CZEBBaseStringAnalyse::ResultSuccess;
    }
    std::size_t end = first;
    while (end < text.size() && !isOperandBoundary(text[end])) {
        if (text[end] == kLiteralQuote) {
            message = L"运算符号后面参数中出现意外引号";
            return CZEBBaseStringAnalyse::ResultOperand;
        }
        ++end;
    }
    if (end == first) {
        message = L"出现连续运算符号或运算符号后面没有参数";
        return CZEBBaseStringAnalyse::ResultOperand;
    }
    right = end - 1;
    return checkScannedOperand(text.substr(first, end - first), message);
}

int scanLeftOperand(std::wstring_view before, std::size_t literalStart, std::size_t& left,
                    const wchar_t*& message) {
    if (before.empty()) {
        message = L"运算符号前面没有参数";
        return CZEBBaseStringAnalyse::ResultOperand;
    }
    if (before.back() == kLiteralQuote) {
        if (literalStart == kNotFound) {
            message = L"引号不匹配";
            return CZEBBaseStringAnalyse::ResultQuote;
        }
        left = literalStart;
        return CZEBBaseStringAnalyse::ResultSuccess;
    }
    std::size_t start = before.size();
    while (start > 0 && !isOperandBoundary(before[start - 1])) {
        if (before[start - 1] == kLiteralQuote) {
            message = L"运算符号前面参数中出现意外引号";
            return CZEBBaseStringAnalyse::ResultOperand;
        }
        --start;
    }
    if (start == before.size()) {
        message = L"出现连续运算符号或运算符号前面没有参数";
        return CZEBBaseStringAnalyse::ResultOperand;
    }
    left = start;
    return checkScannedOperand(before.substr(start), message);
}

long long generatedNameIndex(std::wstring_view name) {
    if (name.size() < 4 || name.size() > 13 || name.substr(0, 3) != L"SFV" || name[3] == L'0') {
        return -1;
    }
    long long number = 0;
    for (const wchar_t character : name.substr(3)) {
        if (!isFormulaDigit(character)) {
            return -1;
        }
        number = number * 10 + (character - L'0');
    }
    return number - 1;
}

} // namespace quelto::baselib
