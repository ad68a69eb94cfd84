// The number-to-text rule. Most values are rounded with integer arithmetic; the rest go to std::to_chars,
// which prints the same correctly rounded digits as "%.7f" without touching the locale. Speed matters
// when a whole drawing's values are listed.

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

// Seven-decimal rounding with integers, for the common case of a value whose scaled form lies clearly
// away from a rounding tie, where the rounding error of the scaling cannot change the digits. Writes the
// "%.7f" text and returns its end, or null when the value needs exact decimal conversion.
char* formatSevenDecimals(double value, char* out) {
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
        *out++ = '-';
    }
    out = std::to_chars(out, out + 24, units / 10000000).ptr;
    *out++ = '.';
    std::uint64_t decimals = units % 10000000;
    for (int digit = 6; digit >= 0; --digit) {
        out[digit] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
    }
    return out + 7;
}

} // namespace

void CXYZBaseObject::FormatRealInto(double value, CString& text) {
    // Large enough for the 309 integer digits of the largest double, the sign, the point and 7 decimals.
    char buffer[352];
    const char* end = formatSevenDecimals(value, buffer);
    if (end == nullptr) {
        end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 7).ptr;
    }
    while (end > buffer && end[-1] == '0') {
        --end;
    }
    if (end > buffer && end[-1] == '.') {
        --end;
    }
    // Widened here: assigning a range of narrow characters would build a temporary text first.
    wchar_t wide[sizeof buffer];
    const auto length = static_cast<std::size_t>(end - buffer);
    std::copy(buffer, buffer + length, wide);
    text.assign(wide, length);
}

CString CXYZBaseObject::FormatInteger(int value) {
    return std::to_wstring(value);
}
