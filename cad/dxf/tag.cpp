// The small value helpers of Tag: builders for writers, owned copies and their comparison, and the hex
// form of binary chunks.
#include "cad/dxf/tag.h"

#include "platform/hex_digits.h"

#include <algorithm>
#include <cmath>

namespace cad::dxf {

Tag Tag::makeString(int code, std::string_view value) noexcept {
    Tag tag;
    tag.code = code;
    tag.type = valueTypeOf(code) == ValueType::Binary ? ValueType::Binary : ValueType::String;
    tag.text = value;
    return tag;
}

Tag Tag::makeDouble(int code, double value) noexcept {
    Tag tag;
    tag.code = code;
    tag.type = ValueType::Double;
    tag.real = value;
    return tag;
}

Tag Tag::makeInteger(int code, std::int64_t value) noexcept {
    Tag tag;
    tag.code = code;
    const ValueType codeType = valueTypeOf(code);
    tag.type = isIntegerType(codeType) ? codeType : ValueType::Int64;
    tag.integer = value;
    tag.real = static_cast<double>(value);
    return tag;
}

Tag Tag::makeBool(int code, bool value) noexcept {
    Tag tag = makeInteger(code, value ? 1 : 0);
    tag.type = ValueType::Bool;
    return tag;
}

OwnedTag::OwnedTag(const Tag& tag) : code(tag.code), type(tag.type), integer(tag.integer), real(tag.real) {
    if (isTextType(tag.type)) {
        text.assign(tag.text);
    }
}

bool operator==(const OwnedTag& left, const OwnedTag& right) noexcept {
    if (left.code != right.code || left.type != right.type) {
        return false;
    }
    if (left.type == ValueType::Binary) {
        // The same bytes, whatever case the hex digits were written in.
        return left.text.size() == right.text.size() &&
               std::equal(left.text.begin(), left.text.end(), right.text.begin(),
                          [](char first, char second) { return (first | 0x20) == (second | 0x20); });
    }
    if (left.type == ValueType::String) {
        return left.text == right.text;
    }
    if (left.type == ValueType::Double) {
        return left.real == right.real || (std::isnan(left.real) && std::isnan(right.real));
    }
    return left.integer == right.integer;
}

bool hexToBytes(std::string_view hex, std::string& bytes) {
    bytes.clear();
    if (hex.size() % 2 != 0) {
        return false;
    }
    bytes.reserve(hex.size() / 2);
    for (std::size_t index = 0; index < hex.size(); index += 2) {
        const int high = platform::hexDigitValue(hex[index]);
        const int low = platform::hexDigitValue(hex[index + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

void bytesToHex(std::string_view bytes, std::string& hex) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    hex.clear();
    hex.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex.push_back(kDigits[value >> 4]);
        hex.push_back(kDigits[value & 0x0F]);
    }
}

} // namespace cad::dxf
