// The persistent identity of a drawing object: a 64-bit number written in hexadecimal as DXF group 5
// (105 for dimension styles). Handles survive saving and loading; object ids do not, they map to handles.
#pragma once

#include "platform/export.h"

#include <cstdint>
#include <string>
#include <string_view>

class QUELTO_EXPORT AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(std::uint64_t value) : m_value(value) {}
    // From hexadecimal text; text that is not hexadecimal gives the null handle.
    explicit AcDbHandle(const wchar_t* hexText);

    bool isNull() const { return m_value == 0; }
    void setNull() { m_value = 0; }
    std::uint64_t value() const { return m_value; }
    AcDbHandle& operator++() {
        ++m_value;
        return *this;
    }
    AcDbHandle operator+(std::uint64_t increment) const { return AcDbHandle(m_value + increment); }
    friend bool operator==(AcDbHandle left, AcDbHandle right) { return left.m_value == right.m_value; }
    friend bool operator<(AcDbHandle left, AcDbHandle right) { return left.m_value < right.m_value; }

    // Upper-case hexadecimal without leading zeros, as DXF writes handles ("1F").
    void getIntoAsciiBuffer(wchar_t* buffer, std::size_t bufferSize = 17) const;
    std::string toHex() const;
    std::wstring toWideHex() const;

    // Reads hexadecimal digits; false (and `handle` untouched) for empty text, other characters or
    // more than 16 digits.
    static bool parseHex(std::string_view text, AcDbHandle& handle);
    static bool parseHex(std::wstring_view text, AcDbHandle& handle);

private:
    std::uint64_t m_value = 0;
};
