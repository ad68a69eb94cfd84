// Writes tag streams: ASCII or binary DXF bytes into memory or into a file that replaces its target only
// when everything was written (temporary file + rename), and an in-memory collector for tests.
// Writers format each value by its group code, so a tag read from ASCII can be written as binary.
#pragma once

#include "cad/dxf/tag.h"
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/text_codec.h"
#include "platform/export.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cad::dxf {

struct QUELTO_EXPORT WriterOptions {
    DxfFormat format = DxfFormat::Ascii;
    // Binary files of R12 and earlier (1009 and below) use 1-byte group codes, later ones 2-byte codes.
    int acadVersion = 1015;
    // "\r\n" (what AutoCAD writes) or "\n" (accepted by every reader); anything else means "\r\n".
    std::string lineEnding = "\r\n";
    // Used by writeText to turn text into the drawing's bytes.
    TextCodec codec;
};

class QUELTO_EXPORT TagWriter {
public:
    virtual ~TagWriter();
    virtual void write(const Tag& tag) = 0;

    void writeString(int code, std::string_view bytes) { write(Tag::makeString(code, bytes)); }
    void writeDouble(int code, double value) { write(Tag::makeDouble(code, value)); }
    void writeInteger(int code, std::int64_t value) { write(Tag::makeInteger(code, value)); }
    void writeBool(int code, bool value) { write(Tag::makeBool(code, value)); }
    // Writes `code`, `code + 10` (and `code + 20`): the x, y (z) groups of a point.
    void writePoint(int code, double x, double y);
    void writePoint(int code, double x, double y, double z);
    // Encodes `text` with the writer's codec (for writers without one: UTF-8).
    void writeText(int code, std::wstring_view text);

protected:
    virtual const TextCodec* codec() const { return nullptr; }
};

// Formats tags into DXF bytes held in memory.
class QUELTO_EXPORT BufferTagWriter : public TagWriter {
public:
    explicit BufferTagWriter(WriterOptions options = {});
    void write(const Tag& tag) override;
    const std::string& bytes() const noexcept { return m_bytes; }
    std::string takeBytes() noexcept;

protected:
    const TextCodec* codec() const override { return &m_options.codec; }
    // Hands formatted bytes on; the file writer flushes them to disk from here.
    std::string& buffer() noexcept { return m_bytes; }
    const WriterOptions& options() const noexcept { return m_options; }

private:
    void startIfNeeded();
    void writeAscii(const Tag& tag);
    void writeBinary(const Tag& tag);

    WriterOptions m_options;
    std::string m_bytes;
    std::string m_scratch;
    bool m_started = false;
};

// Writes DXF into "<target>.<pid>.tmp" beside the target and renames it over the target in commit().
// A writer destroyed without a successful commit removes its temporary file and leaves the target as it
// was. Write failures are remembered and reported by commit().
class QUELTO_EXPORT FileTagWriter : public BufferTagWriter {
public:
    explicit FileTagWriter(WriterOptions options = {});
    ~FileTagWriter() override;
    FileTagWriter(const FileTagWriter&) = delete;
    FileTagWriter& operator=(const FileTagWriter&) = delete;

    bool open(const std::filesystem::path& target, TagError& error);
    void write(const Tag& tag) override;
    // Flushes, syncs and renames over the target; false with `error` when any step (or an earlier
    // write) failed, in which case the temporary file is gone and the target untouched.
    bool commit(TagError& error);
    void discard() noexcept;
    std::uint64_t bytesWritten() const noexcept { return m_bytesWritten; }
    const std::filesystem::path& temporaryPath() const noexcept { return m_temporaryPath; }

private:
    void flush();
    void fail(std::string message);

    std::filesystem::path m_target;
    std::filesystem::path m_temporaryPath;
    int m_descriptor = -1;
    std::uint64_t m_bytesWritten = 0;
    bool m_failed = false;
    TagError m_error;
};

// Keeps every tag written, owning its text: for tests and for comparing streams.
class QUELTO_EXPORT TagCollector : public TagWriter {
public:
    void write(const Tag& tag) override { m_tags.emplace_back(tag); }
    const std::vector<OwnedTag>& tags() const noexcept { return m_tags; }

private:
    std::vector<OwnedTag> m_tags;
};

} // namespace cad::dxf
