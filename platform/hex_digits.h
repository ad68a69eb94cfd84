// Hexadecimal digits, the one rule for every parser that reads them (DXF handles and binary chunks,
// \U+XXXX escapes, registry dwords and byte lists): 0-9, A-F and a-f, nothing else.
#pragma once

#include <algorithm>
#include <string_view>

namespace platform {

// The value of a hex digit of any character type, or -1 for anything else.
template <typename Character>
constexpr int hexDigitValue(Character digit) noexcept {
    if (digit >= Character('0') && digit <= Character('9')) {
        return static_cast<int>(digit - Character('0'));
    }
    if (digit >= Character('A') && digit <= Character('F')) {
        return static_cast<int>(digit - Character('A')) + 10;
    }
    if (digit >= Character('a') && digit <= Character('f')) {
        return static_cast<int>(digit - Character('a')) + 10;
    }
    return -1;
}

template <typename Character>
constexpr bool isHexDigit(Character digit) noexcept {
    return hexDigitValue(digit) >= 0;
}

// Non-empty and hex digits only.
template <typename Character>
constexpr bool isHexText(std::basic_string_view<Character> text) noexcept {
    return !text.empty() && std::all_of(text.begin(), text.end(), isHexDigit<Character>);
}
constexpr bool isHexText(std::string_view text) noexcept {
    return isHexText<char>(text);
}

} // namespace platform
