// A DXF group: its code, its value typed by the code's range, and where it came from in the file.
// The code range fixes the value type in both the ASCII and the binary form, so the classification lives
// here once and both readers and writers consult it.
#pragma once

#include "platform/export.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cad::dxf {

// Value types of group codes. Integers are kept apart by width because binary DXF stores them so;
// the value itself is always held as a 64-bit integer.
enum class ValueType : std::uint8_t {
    String, // text in the drawing's encoding (handles and hex ids are strings too)
    Double,
    Int16,
    Int32,
    Int64,
    Bool,   // 290-299: one byte in binary DXF, "0"/"1" in ASCII
    Binary, // 310-319, 1004: hex text in ASCII, length-prefixed bytes in binary
};

// Codes outside 0..1071 are never written by CAD programs; the readers reject them.
inline constexpr int kMinimumGroupCode = 0;
inline constexpr int kMaximumGroupCode = 1071;
inline constexpr int kCommentGroupCode = 999;

namespace detail {
constexpr ValueType classifyGroupCode(int code) noexcept {
    auto within = [code](int first, int last) { return code >= first && code <= last; };
    if (within(10, 59) || within(110, 149) || within(210, 239) || within(460, 469) || within(1010, 1059)) {
        return ValueType::Double;
    }
    if (within(60, 79) || within(170, 179) || within(270, 289) || within(370, 389) || within(400, 409) ||
        within(1060, 1070)) {
        return ValueType::Int16;
    }
    if (within(90, 99) || within(420, 429) || within(440, 459) || code == 1071) {
        return ValueType::Int32;
    }
    if (within(160, 169)) {
        return ValueType::Int64;
    }
    if (within(290, 299)) {
        return ValueType::Bool;
    }
    if (within(310, 319) || code == 1004) {
        return ValueType::Binary;
    }
    return ValueType::String;
}

// Looked up once per tag by readers and writers, so it is a table rather than the range tests above.
struct ValueTypeTable {
    ValueType types[kMaximumGroupCode + 1];
    constexpr ValueTypeTable() : types() {
        for (int code = 0; code <= kMaximumGroupCode; ++code) {
            types[code] = classifyGroupCode(code);
        }
    }
};
inline constexpr ValueTypeTable kValueTypeTable{};
} // namespace detail

// The value type of a group code; unassigned codes inside the valid range read as strings.
constexpr ValueType valueTypeOf(int code) noexcept {
    return code >= kMinimumGroupCode && code <= kMaximumGroupCode ? detail::kValueTypeTable.types[code]
                                                                  : ValueType::String;
}
inline bool isIntegerType(ValueType type) noexcept {
    return type == ValueType::Int16 || type == ValueType::Int32 || type == ValueType::Int64 ||
           type == ValueType::Bool;
}
inline bool isTextType(ValueType type) noexcept {
    return type == ValueType::String || type == ValueType::Binary;
}

// One group as the readers yield it. It does not own its text: `text` points into the reader's buffer
// (or the writer caller's storage) and stays valid while the reader lives.
//  - String codes: `text` holds the raw bytes of the value (not decoded; see TextCodec), CR stripped.
//  - Binary codes: `text` holds the value as upper- or lower-case hex digits, whatever the file form.
//  - Numeric codes: `integer` or `real` holds the value (both are filled for integers); from ASCII files
//    `text` also holds the value's trimmed source text, from binary files it is empty.
// `position` is the 1-based line of the group code in ASCII files and the byte offset of the group
// code in binary files.
struct QUELTO_EXPORT Tag {
    int code = 0;
    ValueType type = ValueType::String;
    std::string_view text;
    std::int64_t integer = 0;
    double real = 0.0;
    std::uint64_t position = 0;

    bool isString() const noexcept { return isTextType(type); }
    bool isInteger() const noexcept { return isIntegerType(type); }
    bool isDouble() const noexcept { return type == ValueType::Double; }
    bool is(int groupCode, std::string_view value) const noexcept {
        return code == groupCode && text == value;
    }

    // Builders for writers: the type follows the code, so a value of the "wrong" kind is converted by
    // the writer (an integer given for a double code is written as a double).
    static Tag makeString(int code, std::string_view value) noexcept;
    static Tag makeDouble(int code, double value) noexcept;
    static Tag makeInteger(int code, std::int64_t value) noexcept;
    static Tag makeBool(int code, bool value) noexcept;
};

// A tag that owns its text: what the in-memory collector stores and what tests compare.
struct QUELTO_EXPORT OwnedTag {
    int code = 0;
    ValueType type = ValueType::String;
    std::string text; // strings and hex chunks only; numbers are compared by value
    std::int64_t integer = 0;
    double real = 0.0;

    OwnedTag() = default;
    explicit OwnedTag(const Tag& tag);
    Tag view() const noexcept;

    friend bool operator==(const OwnedTag& left, const OwnedTag& right) noexcept;
};

inline Tag OwnedTag::view() const noexcept {
    Tag tag;
    tag.code = code;
    tag.type = type;
    tag.text = text;
    tag.integer = integer;
    tag.real = real;
    return tag;
}

// Hex text <-> bytes for binary chunks. `hexToBytes` returns false on an odd length or a non-hex digit.
QUELTO_EXPORT bool hexToBytes(std::string_view hex, std::string& bytes);
QUELTO_EXPORT void bytesToHex(std::string_view bytes, std::string& hex);

} // namespace cad::dxf
