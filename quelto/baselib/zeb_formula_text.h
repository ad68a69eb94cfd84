// Text-level rules of the formula language that the analyser's steps share: string literals, operand
// boundaries and operand scans, plain numbers, generated record names, and the rewritten text that keeps
// track of runs of letters and digits. Positions are indexes into wide text.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/baselib/zeb_operate_var.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace quelto::baselib {

inline constexpr wchar_t kLiteralQuote = L'"';
inline constexpr std::size_t kNotFound = std::wstring_view::npos;

// The eight operator characters that end an operand; "^" and "!" are not among them.
inline bool isOperandBoundary(wchar_t character) {
    switch (character) {
    case L'+':
    case L'-':
    case L'*':
    case L'/':
    case L'&':
    case L'=':
    case L'>':
    case L'<':
        return true;
    default:
        return false;
    }
}
inline bool isLetterOrDigit(wchar_t character) {
    return isFormulaLetter(character) || isFormulaDigit(character);
}

// The quote closing the literal opened at `open`, looked for up to `last` (inclusive), or kNotFound.
// A doubled quote stays inside the literal, except a quote at the very end of the range, which closes it.
std::size_t findLiteralEnd(std::wstring_view text, std::size_t open, std::size_t last);

// A plain decimal number: an optional leading "+", "-" or ".", then digits and at most one "." overall.
bool isPlainNumber(std::wstring_view text);

// Operand scans around an operator: a result code (0 on success) with the message of a failure.
// The last index of the operand right of the operator at `position`.
int scanRightOperand(std::wstring_view text, std::size_t position, std::size_t& right,
                     const wchar_t*& message);
// The first index of the operand left of an operator; `before` is all the text before the operator and
// `literalStart` where the literal begins that `before` ends with (kNotFound when unknown).
int scanLeftOperand(std::wstring_view before, std::size_t literalStart, std::size_t& left,
                    const wchar_t*& message);

// The record a generated name "SFV<n>" was made for (index n - 1), or -1 for any other text.
long long generatedNameIndex(std::wstring_view name);

// The operator characters of one precedence pass, as a set tested in constant time.
class OperatorSet {
public:
    explicit OperatorSet(std::wstring_view operators) {
        for (const wchar_t character : operators) {
            m_bits[character >> 6] |= std::uint64_t{1} << (character & 63);
        }
    }
    bool contains(wchar_t character) const {
        return static_cast<std::uint32_t>(character) < 128 &&
               ((m_bits[character >> 6] >> (character & 63)) & 1) != 0;
    }

private:
    std::uint64_t m_bits[2] = {};
};

// Text rewritten by DoWithBracket, with the start of the run of letters and digits that ends at each
// position, so the name in front of "(" is found without walking back over an ever longer run.
class RunTrackedText {
public:
    explicit RunTrackedText(std::size_t capacity) {
        m_text.reserve(capacity);
        m_runStart.reserve(capacity);
    }
    void push(wchar_t character) {
        const bool continuesRun =
            isLetterOrDigit(character) && !m_text.empty() && isLetterOrDigit(m_text.back());
        m_runStart.push_back(continuesRun ? m_runStart.back() : m_text.size());
        m_text.push_back(character);
    }
    void append(std::wstring_view text) {
        for (const wchar_t character : text) {
            push(character);
        }
    }
    void truncate(std::size_t size) {
        m_text.resize(size);
        m_runStart.resize(size);
    }
    // Where the run of letters and digits just before `position` starts (`position` when there is none).
    std::size_t runStartBefore(std::size_t position) const {
        return position > 0 && isLetterOrDigit(m_text[position - 1]) ? m_runStart[position - 1] : position;
    }
    const CString& text() const { return m_text; }
    CString take() { return std::move(m_text); }

private:
    CString m_text;
    std::vector<std::size_t> m_runStart;
};

} // namespace quelto::baselib
