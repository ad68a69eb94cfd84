// Entity boundaries of a DXF stream found from its bytes: candidates by the byte patterns of a group 0
// followed by a type name, each confirmed by reading from it.
#include "cad/dxf/entity_boundaries.h"

#include "platform/hex_digits.h"

#include <algorithm>
#include <string_view>

namespace cad::dxf {
namespace {

constexpr std::string_view kObjectsName = "OBJECTS";

// Where the ENTITIES section probably ends: at the OBJECTS section's header, looked for from the end
// of the input because that section comes last; the end of the input when there is none.
std::uint64_t estimatedSectionEnd(std::string_view bytes, std::uint64_t from, DxfFormat format) {
    std::size_t at = bytes.size();
    while (at > from) {
        at = bytes.rfind(kObjectsName, at - 1);
        if (at == std::string_view::npos || at < from) {
            break;
        }
        const std::size_t after = at + kObjectsName.size();
        if (after < bytes.size()) {
            const bool isHeader =
                format == DxfFormat::Binary
                    ? at >= 2 && bytes[at - 2] == '\x02' && bytes[at - 1] == '\0' && bytes[after] == '\0'
                    : at >= 1 && bytes[at - 1] == '\n' && (bytes[after] == '\r' || bytes[after] == '\n');
            if (isHeader) {
                return at;
            }
        }
    }
    return bytes.size();
}

bool isTypeNameStart(char character) {
    return (character >= 'A' && character <= 'Z') || character == '_';
}

bool isTypeName(std::string_view text) {
    return !text.empty() && isTypeNameStart(text.front()) &&
           std::all_of(text.begin(), text.end(), [](char character) {
               return isTypeNameStart(character) || (character >= '0' && character <= '9');
           });
}

// A line holding only group code 0 (leading blanks allowed), as the tag reader's fast path takes it.
bool isGroupZeroLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    return line == "0";
}

// Lines alternate between group codes (digits) and values, so a line "0" followed by a line that
// starts with a letter can only be group code 0 and an entity type.
std::uint64_t nextAsciiCandidate(std::string_view bytes, std::uint64_t from, std::uint64_t to) {
    std::size_t lineStart = bytes.find('\n', from);
    while (lineStart != std::string_view::npos && lineStart + 1 < to) {
        ++lineStart;
        const std::size_t lineEnd = bytes.find('\n', lineStart);
        if (lineEnd == std::string_view::npos || lineEnd + 1 >= bytes.size()) {
            return 0;
        }
        if (isGroupZeroLine(bytes.substr(lineStart, lineEnd - lineStart)) &&
            isTypeNameStart(bytes[lineEnd + 1])) {
            return lineStart;
        }
        lineStart = lineEnd;
    }
    return 0;
}

// Binary: code 0 as two zero bytes, then the type name. The bytes can also occur inside a value, so
// candidates are checked by reading from them.
std::uint64_t nextBinaryCandidate(std::string_view bytes, std::uint64_t from, std::uint64_t to) {
    for (std::size_t at = bytes.find('\0', from); at != std::string_view::npos && at + 2 < to;
         at = bytes.find('\0', at + 1)) {
        if (bytes[at + 1] == '\0' && isTypeNameStart(bytes[at + 2])) {
            return at;
        }
    }
    return 0;
}

bool startsEntity(const TagReader& reader, std::uint64_t offset) {
    TagReader probe = reader.forkAt(offset);
    Tag tag;
    if (!probe.next(tag) || tag.code != 0 || !isTypeName(tag.text)) {
        return false;
    }
    if (tag.text == "ENDSEC" || tag.text == "EOF" || tag.text == "SECTION") {
        return false;
    }
    if (reader.format() == DxfFormat::Ascii) {
        return true;
    }
    // Binary files with 2-byte codes are R13 or later, where every entity has a handle.
    return probe.next(tag) && tag.code == 5 && platform::isHexText(tag.text);
}

} // namespace

std::uint64_t nextEntityBoundary(const TagReader& reader, std::uint64_t from, std::uint64_t to) {
    const bool binary = reader.format() == DxfFormat::Binary;
    const std::string_view bytes = reader.bytes();
    // A binary candidate that fails its check is nearly always followed closely by a good one.
    constexpr int kAttempts = 64;
    std::uint64_t at = from;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        at = binary ? nextBinaryCandidate(bytes, at, to) : nextAsciiCandidate(bytes, at, to);
        if (at == 0) {
            return 0;
        }
        if (startsEntity(reader, at)) {
            return at;
        }
        ++at;
    }
    return 0;
}

std::vector<std::uint64_t> findEntityBoundaries(const TagReader& reader, std::uint64_t pieceBytes,
                                                std::uint64_t smallestSection) {
    if (reader.format() == DxfFormat::Binary && !reader.binaryHasWideCodes()) {
        return {};
    }
    const std::uint64_t from = reader.bytesConsumed();
    const std::uint64_t to = estimatedSectionEnd(reader.bytes(), from, reader.format());
    if (to <= from || to - from < smallestSection || pieceBytes == 0) {
        return {};
    }
    constexpr std::uint64_t kMostPieces = 4096;
    const std::uint64_t count = std::clamp<std::uint64_t>((to - from) / pieceBytes, 2, kMostPieces);
    std::vector<std::uint64_t> starts{from};
    for (std::uint64_t index = 1; index < count; ++index) {
        const std::uint64_t target = from + (to - from) / count * index;
        const std::uint64_t start = nextEntityBoundary(reader, std::max(target, starts.back() + 1), to);
        if (start > starts.back()) {
            starts.push_back(start);
        }
    }
    return starts;
}

} // namespace cad::dxf
