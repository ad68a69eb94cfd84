// The archive's byte layouts. Text lengths follow the framework's escalating prefix: one byte below 255,
// else 0xFF and a 16-bit length below 0xFFFE, else 0xFF 0xFFFF and a 32-bit length; the Unicode form
// puts 0xFF 0xFFFE in front. Every length is checked against the bytes left before anything is allocated.

#include "platform/binary_archive.h"

#include "platform/code_page.h"

#include <bit>

namespace platform {
namespace {

constexpr std::uint64_t kLengthEscape8 = 0xFF;
constexpr std::uint64_t kUnicodeMark = 0xFFFE;
constexpr std::uint64_t kLengthEscape16 = 0xFFFF;
constexpr std::uint64_t kLengthEscape32 = 0xFFFFFFFF;

std::string describe(ArchiveReadError::Cause cause, std::size_t offset, const std::string& detail) {
    const char* kind =
        cause == ArchiveReadError::Cause::EndOfStream ? "unexpected end of archive" : "damaged text length";
    return std::string(kind) + " at byte " + std::to_string(offset) + ": " + detail;
}

} // namespace

ArchiveReadError::ArchiveReadError(Cause cause, std::size_t offset, const std::string& detail)
    : std::runtime_error(describe(cause, offset, detail)), m_cause(cause), m_offset(offset) {}

BinaryArchive::BinaryArchive(Mode mode, std::string bytes) : m_mode(mode), m_bytes(std::move(bytes)) {}

void BinaryArchive::appendLittleEndian(std::uint64_t value, int byteCount) {
    for (int index = 0; index < byteCount; ++index) {
        m_bytes.push_back(static_cast<char>((value >> (8 * index)) & 0xFF));
    }
}

std::string_view BinaryArchive::takeBytes(std::size_t count, std::size_t itemOffset, const char* what) {
    const std::size_t left = m_bytes.size() - m_position;
    if (count > left) {
        throw ArchiveReadError(ArchiveReadError::Cause::EndOfStream, itemOffset,
                               std::string(what) + " needs " + std::to_string(count) + " bytes, " +
                                   std::to_string(left) + " left");
    }
    const std::string_view taken(m_bytes.data() + m_position, count);
    m_position += count;
    return taken;
}

std::uint64_t BinaryArchive::takeLittleEndian(int byteCount, std::size_t itemOffset, const char* what) {
    const std::string_view taken = takeBytes(static_cast<std::size_t>(byteCount), itemOffset, what);
    std::uint64_t value = 0;
    for (int index = byteCount - 1; index >= 0; --index) {
        value = (value << 8) | static_cast<unsigned char>(taken[static_cast<std::size_t>(index)]);
    }
    return value;
}

BinaryArchive& BinaryArchive::operator<<(std::int32_t value) {
    appendLittleEndian(static_cast<std::uint32_t>(value), 4);
    return *this;
}

BinaryArchive& BinaryArchive::operator<<(std::uint32_t value) {
    appendLittleEndian(value, 4);
    return *this;
}

BinaryArchive& BinaryArchive::operator<<(double value) {
    appendLittleEndian(std::bit_cast<std::uint64_t>(value), 8);
    return *this;
}

BinaryArchive& BinaryArchive::operator<<(const std::wstring& text) {
    const std::string units = wideToUtf16Le(text);
    const std::uint64_t length = units.size() / 2;
    appendLittleEndian(kLengthEscape8, 1);
    appendLittleEndian(kUnicodeMark, 2);
    if (length < kLengthEscape8) {
        appendLittleEndian(length, 1);
    } else if (length < kUnicodeMark) {
        appendLittleEndian(kLengthEscape8, 1);
        appendLittleEndian(length, 2);
    } else {
        appendLittleEndian(kLengthEscape8, 1);
        appendLittleEndian(kLengthEscape16, 2);
        appendLittleEndian(length, 4);
    }
    m_bytes += units;
    return *this;
}

BinaryArchive& BinaryArchive::operator>>(std::int32_t& value) {
    value = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(takeLittleEndian(4, m_position, "a 32-bit integer")));
    return *this;
}

BinaryArchive& BinaryArchive::operator>>(std::uint32_t& value) {
    value = static_cast<std::uint32_t>(takeLittleEndian(4, m_position, "a 32-bit integer"));
    return *this;
}

BinaryArchive& BinaryArchive::operator>>(double& value) {
    value = std::bit_cast<double>(takeLittleEndian(8, m_position, "a double"));
    return *this;
}

BinaryArchive& BinaryArchive::operator>>(std::wstring& text) {
    const std::size_t itemOffset = m_position;
    bool unicode = false;
    std::uint64_t length = takeLittleEndian(1, itemOffset, "a text length");
    if (length == kLengthEscape8) {
        std::uint64_t wideLength = takeLittleEndian(2, itemOffset, "a text length");
        if (wideLength == kUnicodeMark) {
            // After the mark the framework starts the length over with its one-byte form, and a
            // 16-bit 0xFFFE there is a plain length again.
            unicode = true;
            length = takeLittleEndian(1, itemOffset, "a text length");
            if (length == kLengthEscape8) {
                wideLength = takeLittleEndian(2, itemOffset, "a text length");
            }
        }
        if (length == kLengthEscape8) {
            length = wideLength;
            if (wideLength == kLengthEscape16) {
                length = takeLittleEndian(4, itemOffset, "a text length");
                if (length == kLengthEscape32) {
                    throw ArchiveReadError(ArchiveReadError::Cause::BadLength, itemOffset,
                                           "the 64-bit text length form is not used by these files");
                }
            }
        }
    }
    const std::size_t byteCount = static_cast<std::size_t>(length) * (unicode ? 2 : 1);
    const std::string_view body =
        takeBytes(byteCount, itemOffset, unicode ? "a Unicode text" : "an 8-bit text");
    if (unicode) {
        text = utf16LeToWide(body);
    } else {
        text = decodeBytes(body, m_codeSet.empty() ? systemCodeSet() : m_codeSet);
    }
    return *this;
}

} // namespace platform
