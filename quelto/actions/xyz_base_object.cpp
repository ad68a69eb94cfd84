// The number-to-text rule. Most values are rounded with integer arithmetic and written trimmed as wide
// characters; the rest go to std::to_chars, which prints the same correctly rounded digits as "%.7f"
// without touching the locale. Speed matters when a whole drawing's values are listed.

#include "quelto/actions/xyz_base_object.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

CXYZBaseObject::~CXYZBaseObject() = default;

CString CXYZBaseObject::FormatReal(double value) {
    CString text;
    FormatRealInto(value, text);
    return text;
}

namespace {

// Writes the decimal digits of `number` at `out` and returns their end.
template <typename Character>
Character* writeDigits(std::uint64_t number, Character* out) {
    Character reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<Character>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (count > 0) {
        *out++ = reversed[--count];
    }
    return out;
}

// Seven-decimal rounding with integers, for the common case of a value whose scaled form lies clearly
// away from a rounding tie, where the rounding error of the scaling cannot change the digits. Writes the
// "%.7f" text already trimmed and returns its end, or null when the value needs exact decimal conversion.
wchar_t* formatSevenDecimals(double value, wchar_t* out) {
    const double scaled = std::fabs(value) * 1e7;
    if (!(scaled < 1e15)) {
        return nullptr;
    }
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= scaled * 1e-15 + 1e-9) {
        return nullptr;
    }
    const auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (std::signbit(value)) {
        *out++ = L'-';
    }
    out = writeDigits(units / 10000000, out);
    auto decimals = static_cast<std::uint32_t>(units % 10000000);
    if (decimals == 0) {
        return out;
    }
    int width = 7;
    while (decimals % 10 == 0) {
        decimals /= 10;
        --width;
    }
    *out++ = L'.';
    for (int digit = width - 1; digit >= 0; --digit) {
        out[digit] = static_cast<wchar_t>(L'0' + decimals % 10);
        decimals /= 10;
    }
    return out + width;
}

// The exact conversion, for ties and for values too large for the integer path.
wchar_t* formatExactly(double value, wchar_t* out) {
    // Large enough for the 309 integer digits of the largest double, the sign, the point and 7 decimals.
    char buffer[352];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 7).ptr;
    while (end > buffer && end[-1] == '0') {
        --end;
    }
    if (end > buffer && end[-1] == '.') {
        --end;
    }
    return std::copy(static_cast<const char*>(buffer), end, out);
}

} // namespace

// Written as wide characters straight away: assigning a range of narrow characters would build a
// temporary text first.
void CXYZBaseObject::FormatRealInto(double value, CString& text) {
    wchar_t buffer[352];
    wchar_t* end = formatSevenDecimals(value, buffer);
    if (end == nullptr) {
        end = formatExactly(value, buffer);
    }
    text.assign(buffer, static_cast<std::size_t>(end - buffer));
}

CString CXYZBaseObject::FormatInteger(int value) {
    wchar_t buffer[12];
    wchar_t* out = buffer;
    if (value < 0) {
        *out++ = L'-';
    }
    // Through the unsigned magnitude, which also holds the most negative int.
    const std::uint64_t magnitude = value < 0
                                        ? 0U - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
                                        : static_cast<std::uint64_t>(value);
    out = writeDigits(magnitude, out);
    return CString(buffer, static_cast<std::size_t>(out - buffer));
}
