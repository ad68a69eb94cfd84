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

} // namespace platform

// The runtime names, used by module code wherever a value text is read as a number.
inline double _wtof(const std::wstring& text) {
    return platform::wideToDouble(text);
}
inline int _wtoi(const std::wstring& text) {
    return platform::wideToInt(text);
}
