// Reads the tag stream of a DXF file, ASCII or binary, from a memory-mapped file or a buffer, one group
// at a time and without allocating per tag. It also finds $ACADVER and $DWGCODEPAGE up front, because
// string values cannot be decoded before the code page is known.
#pragma once

#include "cad/dxf/tag.h"
#include "cad/dxf/text_codec.h"
#include "platform/export.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// API for cad/db
// --------------
//   cad::dxf::TagReader reader;
//   cad::dxf::TagError error;
//   if (!reader.openFile(path, error)) { ...report error.toString()... }
//   const cad::dxf::TextCodec codec = reader.codec();   // from $ACADVER / $DWGCODEPAGE
//   cad::dxf::Tag tag;
//   while (reader.next(tag)) {
//       if (tag.is(0, "SECTION")) ...
//       tag.code / tag.text (raw bytes, decode with codec.decode) / tag.integer / tag.real
//       reader.pushBack();          // the next call of next() yields the same tag again (one level)
//   }
//   if (reader.failed()) { ...reader.error(): file, line (ASCII) or offset (binary), what was expected... }
//   reader.sawEndOfFile()           // false when the stream ended without "0 EOF" (truncated file)
// - Tag views (tag.text) stay valid while the reader lives, except binary chunk text read from binary
//   files, which is valid until the next call of next().
// - Comments (999) are yielded like other tags unless setSkipComments(true).
// - The reader stops at "0 EOF": anything after it is ignored, as AutoCAD does.
// - reader.errorAt(tag, "expected ...") makes an error at a tag's position for structural problems that
//   only the database sees (ENDSEC without SECTION, a LINE without 20).

namespace cad::dxf {

enum class DxfFormat : std::uint8_t { Ascii, Binary };

// Bad input: where (file, line or byte offset) and what was wrong or expected.
struct QUELTO_EXPORT TagError {
    std::string file;         // empty for buffers
    std::uint64_t line = 0;   // 1-based line in ASCII files, 0 in binary files
    std::uint64_t offset = 0; // byte offset from the start of the file
    std::string message;      // e.g. "expected a group code, found \"ABC\""

    // "drawing.dxf:12: expected ..." or "drawing.dxf: offset 345: expected ...".
    std::string toString() const;
};

// The sentinel at the start of binary DXF files: "AutoCAD Binary DXF" CR LF SUB NUL.
inline constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

class QUELTO_EXPORT TagReader {
public:
    TagReader();
    ~TagReader();
    TagReader(TagReader&&) noexcept;
    TagReader& operator=(TagReader&&) noexcept;
    TagReader(const TagReader&) = delete;
    TagReader& operator=(const TagReader&) = delete;

    // Maps the file (or reads it, where mapping fails). False with `error` when the file cannot be read
    // or its header cannot be tokenised.
    bool openFile(const std::filesystem::path& path, TagError& error);
    // Reads from bytes the caller keeps alive while the reader is used. `name` appears in errors.
    bool openBuffer(std::string_view bytes, TagError& error, std::string name = {});
    // Reads from bytes the reader takes over.
    bool openOwnedBuffer(std::string bytes, TagError& error, std::string name = {});

    // The next tag; false at the end of the stream or on an error (see failed()).
    bool next(Tag& tag);
    // Makes the next call of next() yield the tag it yielded last once more.
    void pushBack();

    bool failed() const noexcept;
    const TagError& error() const noexcept;
    bool sawEndOfFile() const noexcept;
    void setSkipComments(bool skip) noexcept;

    DxfFormat format() const noexcept;
    // True for binary files of R13 and later (2-byte group codes); R12 binary has 1-byte codes.
    bool binaryHasWideCodes() const noexcept;
    const std::string& acadVersion() const noexcept; // "AC1015"; empty when the header has none
    int acadVersionNumber() const noexcept;          // 1015; 0 when unknown
    const std::string& codePage() const noexcept;    // $DWGCODEPAGE as written; empty when none
    TextCodec codec() const;
    const std::string& name() const noexcept;
    std::uint64_t size() const noexcept; // bytes of input
    std::uint64_t bytesConsumed() const noexcept;

    // An error located at `tag`, for problems found above the tag layer.
    TagError errorAt(const Tag& tag, std::string message) const;

    // For reading two parts of one stream at once. The whole input; the line of the next tag (ASCII);
    // a reader of the same input (which must outlive it) starting at `offset`, counting lines from 1;
    // and moving this reader to `offset`, whose line is `line`. Offsets must be tag starts.
    std::string_view bytes() const noexcept;
    std::uint64_t nextLine() const noexcept;
    TagReader forkAt(std::uint64_t offset) const;
    void seek(std::uint64_t offset, std::uint64_t line) noexcept;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cad::dxf
