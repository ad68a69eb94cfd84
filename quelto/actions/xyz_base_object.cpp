// The number-to-text rule. std::to_chars prints the same correctly rounded digits as "%.7f" without
// touching the locale, and much faster, which matters when a whole drawing's values are listed.

#include "quelto/actions/xyz_base_object.h"

#include <charconv>

CXYZBaseObject::~CXYZBaseObject() = default;

CString CXYZBaseObject::FormatReal(double value) {
    // Large enough for the 309 integer digits of the largest double, the sign, the point and 7 decimals.
    char buffer[352];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 7);
    const char* end = result.ptr;
    while (end > buffer && end[-1] == '0') {
        --end;
    }
    if (end > buffer && end[-1] == '.') {
        --end;
    }
    return CString(static_cast<const char*>(buffer), end);
}

CString CXYZBaseObject::FormatInteger(int value) {
    return std::to_wstring(value);
}
