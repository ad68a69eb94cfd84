// Wide-text helpers with the semantics of the Windows C runtime that the module was written against:
// leading-number conversions (_wtof/_wtoi), printf-style formatting where %s means a wide text, and
// ASCII-only case mapping. Number reading and writing never depend on the process locale.
#pragma once

#include "platform/export.h"

#include <cstdarg>
#include <string>
#include <string_view>

namespace platform {

// The leading decimal number of the text (after white space), 0 when there is none. Accepts an optional
// sign, digits, one '.', and an exponent introduced by e, E, d or D as the Windows runtime does.
QUELTO_EXPORT double wideToDouble(std::wstring_view text);

// The leading integer of the text (after white space), 0 when there is none; clamped to the 32-bit range
// on overflow, as the Windows runtime does (a Linux `long` is 64 bits wide).
QUELTO_EXPORT int wideToInt(std::wstring_view text);

// printf-style formatting of wide text with the Windows meaning of the conversions: %s and %c take
// wide arguments (%S and %C narrow ones), %ld/%d take 32-bit integers. Numbers always use "." as the
// decimal point whatever the process locale.
QUELTO_EXPORT std::wstring formatWide(const wchar_t* format, ...);
QUELTO_EXPORT std::wstring formatWideList(const wchar_t* format, std::va_list arguments);

// Case mapping of the C locale: only A-Z and a-z change.
QUELTO_EXPORT std::wstring toUpperAscii(std::wstring_view text);
QUELTO_EXPORT std::wstring toLowerAscii(std::wstring_view text);
QUELTO_EXPORT bool isAsciiAlpha(wchar_t character);
QUELTO_EXPORT bool isAsciiDigit(wchar_t character);

constexpr wchar_t toUpperAscii(wchar_t character) noexcept {
    return character >= L'a' && character <= L'z' ? static_cast<wchar_t>(character - L'a' + L'A') : character;
}

// Comparisons that ignore ASCII letter case, as the registry, symbol-table names and the runtime's
// _wcsicmp do, without building upper-case copies. The three-way form orders by upper-case code point.
constexpr int compareIgnoringAsciiCase(std::wstring_view left, std::wstring_view right) noexcept {
    const std::size_t common = left.size() < right.size() ? left.size() : right.size();
    for (std::size_t index = 0; index < common; ++index) {
        const wchar_t first = toUpperAscii(left[index]);
        const wchar_t second = toUpperAscii(right[index]);
        if (first != second) {
            return first < second ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

constexpr bool equalsIgnoringAsciiCase(std::wstring_view left, std::wstring_view right) noexcept {
    return left.size() == right.size() && compareIgnoringAsciiCase(left, right) == 0;
}

constexpr bool startsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    return text.size() >= prefix.size() && equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

} // namespace platform

// The runtime names, used by module code wherever a value text is read as a number.
inline double _wtof(const std::wstring& text) {
    return platform::wideToDouble(text);
}
inline int _wtoi(const std::wstring& text) {
    return platform::wideToInt(text);
}
