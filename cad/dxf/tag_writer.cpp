// Formatting of tags into ASCII and binary DXF, and the file writer that only replaces its target once
// everything reached the disk. Reals are written in the shortest form that reads back to the same
// double, so a read-write-read cycle keeps every value exactly.
#include "cad/dxf/tag_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cad::dxf {

namespace {

constexpr std::size_t kFlushThreshold = std::size_t{1} << 20;
// A binary chunk's length is one byte. Longer data is split the way AutoCAD splits it, into chunks of
// 127 bytes; data that fits is kept in one chunk so that binary files round-trip tag for tag.
constexpr std::size_t kLargestChunk = 255;
constexpr std::size_t kSplitChunk = 127;

// Shortest round-trip form, with ".0" added to integral values so the text still reads as a real.
std::string_view formatReal(double value, char (&buffer)[32]) {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 2, value);
    char* end = result.ptr;
    bool integral = std::isfinite(value);
    for (const char* digit = buffer; digit < end && integral; ++digit) {
        integral = *digit != '.' && *digit != 'e';
    }
    if (integral) {
        *end++ = '.';
        *end++ = '0';
    }
    return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
}

std::string_view formatInteger(std::int64_t value, char (&buffer)[32]) {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

double realOf(const Tag& tag) {
    if (tag.type == ValueType::Double) {
        return tag.real;
    }
    if (isIntegerType(tag.type)) {
        return static_cast<double>(tag.integer);
    }
    double value = 0.0;
    std::from_chars(tag.text.data(), tag.text.data() + tag.text.size(), value);
    return value;
}

std::int64_t integerOf(const Tag& tag) {
    if (isIntegerType(tag.type)) {
        return tag.integer;
    }
    if (tag.type == ValueType::Double) {
        const double rounded = std::round(tag.real);
        return std::isfinite(rounded) && std::fabs(rounded) < 9.0e18 ? static_cast<std::int64_t>(rounded) : 0;
    }
    std::int64_t value = 0;
    std::from_chars(tag.text.data(), tag.text.data() + tag.text.size(), value);
    return value;
}

// Text of a tag whose code holds text; numbers given for such codes are formatted.
std::string_view textOf(const Tag& tag, char (&buffer)[32]) {
    if (isTextType(tag.type)) {
        return tag.text;
    }
    return tag.type == ValueType::Double ? formatReal(tag.real, buffer) : formatInteger(tag.integer, buffer);
}

// A byte that would end the value early (a line break in ASCII, NUL in binary) is caret-encoded, the
// form AutoCAD itself uses for control characters in strings.
void appendGuarded(std::string& out, std::string_view text, bool binary) {
    for (const char byte : text) {
        const bool breaks = binary ? byte == '\0' : (byte == '\n' || byte == '\r');
        if (breaks) {
            out += '^';
            out += static_cast<char>(byte + 0x40);
        } else {
            out += byte;
        }
    }
}

// Values are short, so one pass with a cheap first test beats library searches for each byte.
bool needsGuard(std::string_view text, bool binary) {
    for (const char byte : text) {
        if (static_cast<unsigned char>(byte) <= '\r' &&
            (binary ? byte == '\0' : (byte == '\n' || byte == '\r'))) {
            return true;
        }
    }
    return false;
}

template <typename Value>
void appendLittleEndian(std::string& out, Value value) {
    using Unsigned = std::make_unsigned_t<Value>;
    const auto bits = static_cast<Unsigned>(value);
    for (std::size_t index = 0; index < sizeof(Value); ++index) {
        out += static_cast<char>((bits >> (8 * index)) & 0xFF);
    }
}

} // namespace

TagWriter::~TagWriter() = default;

void TagWriter::writePoint(int code, double x, double y) {
    writeDouble(code, x);
    writeDouble(code + 10, y);
}

void TagWriter::writePoint(int code, double x, double y, double z) {
    writePoint(code, x, y);
    writeDouble(code + 20, z);
}

void TagWriter::writeText(int code, std::wstring_view text) {
    const TextCodec* textCodec = codec();
    const std::string bytes = textCodec != nullptr ? textCodec->encode(text) : TextCodec::utf8().encode(text);
    writeString(code, bytes);
}

BufferTagWriter::BufferTagWriter(WriterOptions options) : m_options(std::move(options)) {}

std::string BufferTagWriter::takeBytes() noexcept {
    std::string bytes = std::move(m_bytes);
    m_bytes.clear();
    return bytes;
}

void BufferTagWriter::write(const Tag& tag) {
    startIfNeeded();
    if (m_options.format == DxfFormat::Ascii) {
        writeAscii(tag);
    } else {
        writeBinary(tag);
    }
}

void BufferTagWriter::startIfNeeded() {
    if (m_started) {
        return;
    }
    m_started = true;
    if (m_options.format == DxfFormat::Binary) {
        m_bytes += kBinarySentinel;
    }
}

void BufferTagWriter::writeAscii(const Tag& tag) {
    // The code line and a numeric value line are assembled on the stack and appended at once: most tags
    // are a few bytes long, and each append to the buffer costs more than the formatting.
    const bool crlf = m_options.lineEnding != "\n";
    char line[96];
    char* out = line;
    // Codes are right-aligned in three columns, as AutoCAD writes them.
    if (tag.code >= 0 && tag.code < 10) {
        *out++ = ' ';
        *out++ = ' ';
    } else if (tag.code >= 0 && tag.code < 100) {
        *out++ = ' ';
    }
    out = std::to_chars(out, line + 16, tag.code).ptr;
    const auto endLine = [crlf](char* at) {
        if (crlf) {
            *at++ = '\r';
        }
        *at++ = '\n';
        return at;
    };
    out = endLine(out);
    const ValueType type = valueTypeOf(tag.code);
    char buffer[32];
    if (isTextType(type)) {
        m_bytes.append(line, static_cast<std::size_t>(out - line));
        const std::string_view text = textOf(tag, buffer);
        if (needsGuard(text, false)) {
            appendGuarded(m_bytes, text, false);
        } else {
            m_bytes += text;
        }
        m_bytes.append(crlf ? "\r\n" : "\n", crlf ? 2 : 1);
        return;
    }
    const std::string_view value =
        type == ValueType::Double ? formatReal(realOf(tag), buffer) : formatInteger(integerOf(tag), buffer);
    std::memcpy(out, value.data(), value.size());
    out = endLine(out + value.size());
    m_bytes.append(line, static_cast<std::size_t>(out - line));
}

void BufferTagWriter::writeBinary(const Tag& tag) {
    // R12 binary spells codes in one byte, escaping larger ones with 255; R13 and later use two bytes.
    const auto appendCode = [this](int code) {
        if (m_options.acadVersion > 1009) {
            appendLittleEndian<std::int16_t>(m_bytes, static_cast<std::int16_t>(code));
        } else if (code < 255) {
            m_bytes += static_cast<char>(code);
        } else {
            m_bytes += '\xFF';
            appendLittleEndian<std::int16_t>(m_bytes, static_cast<std::int16_t>(code));
        }
    };
    const ValueType type = valueTypeOf(tag.code);
    if (type == ValueType::Binary) {
        // Longer data than one chunk holds is split into several groups of the same code.
        char buffer[32];
        if (!hexToBytes(textOf(tag, buffer), m_scratch)) {
            m_scratch.clear();
        }
        std::size_t start = 0;
        do {
            const std::size_t left = m_scratch.size() - start;
            const std::size_t length = m_scratch.size() <= kLargestChunk ? left : std::min(kSplitChunk, left);
            appendCode(tag.code);
            m_bytes += static_cast<char>(length);
            m_bytes.append(m_scratch, start, length);
            start += length;
        } while (start < m_scratch.size());
        return;
    }
    appendCode(tag.code);
    char buffer[32];
    switch (type) {
    case ValueType::String: {
        const std::string_view text = textOf(tag, buffer);
        if (needsGuard(text, true)) {
            appendGuarded(m_bytes, text, true);
        } else {
            m_bytes += text;
        }
        m_bytes += '\0';
        break;
    }
    case ValueType::Double: {
        const double value = realOf(tag);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        appendLittleEndian(m_bytes, bits);
        break;
    }
    case ValueType::Int16:
        appendLittleEndian(m_bytes, static_cast<std::int16_t>(integerOf(tag)));
        break;
    case ValueType::Int32:
        appendLittleEndian(m_bytes, static_cast<std::int32_t>(integerOf(tag)));
        break;
    case ValueType::Int64:
        appendLittleEndian(m_bytes, integerOf(tag));
        break;
    case ValueType::Bool:
        // The flag byte is kept as read (some writers store values other than 0 and 1 in it), like the
        // low bits of the wider integers.
        m_bytes += static_cast<char>(integerOf(tag) & 0xFF);
        break;
    case ValueType::Binary:
        break;
    }
}

FileTagWriter::FileTagWriter(WriterOptions options) : BufferTagWriter(std::move(options)) {}

FileTagWriter::~FileTagWriter() {
    discard();
}

bool FileTagWriter::open(const std::filesystem::path& target, TagError& error) {
    discard();
    m_target = target;
    m_temporaryPath = target;
    m_temporaryPath += "." + std::to_string(getpid()) + ".tmp";
    m_failed = false;
    m_error = {};
    m_bytesWritten = 0;
    buffer().clear();
    buffer().reserve(kFlushThreshold + 4096);
    m_descriptor = ::open(m_temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_descriptor < 0) {
        error = {};
        error.file = m_temporaryPath.string();
        error.message = std::string("cannot create the temporary file: ") + std::strerror(errno);
        m_temporaryPath.clear();
        return false;
    }
    // A saved drawing keeps the permissions of the file it replaces.
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        fchmod(m_descriptor, status.st_mode & 07777);
    }
    return true;
}

void FileTagWriter::write(const Tag& tag) {
    BufferTagWriter::write(tag);
    if (buffer().size() >= kFlushThreshold) {
        flush();
    }
}

void FileTagWriter::fail(std::string message) {
    if (!m_failed) {
        m_failed = true;
        m_error.file = m_temporaryPath.string();
        m_error.offset = m_bytesWritten;
        m_error.message = std::move(message);
    }
}

void FileTagWriter::flush() {
    std::string& pending = buffer();
    if (m_descriptor < 0) {
        fail("the writer has no open file");
        pending.clear();
        return;
    }
    std::size_t done = 0;
    while (done < pending.size() && !m_failed) {
        const ssize_t count = ::write(m_descriptor, pending.data() + done, pending.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            fail(std::string("cannot write: ") + std::strerror(errno));
            break;
        }
        done += static_cast<std::size_t>(count);
        m_bytesWritten += static_cast<std::uint64_t>(count);
    }
    pending.clear();
}

bool FileTagWriter::commit(TagError& error) {
    flush();
    if (!m_failed && fsync(m_descriptor) != 0) {
        fail(std::string("cannot flush the file to disk: ") + std::strerror(errno));
    }
    if (m_descriptor >= 0 && ::close(m_descriptor) != 0) {
        fail(std::string("cannot close the file: ") + std::strerror(errno));
    }
    m_descriptor = -1;
    if (!m_failed && std::rename(m_temporaryPath.c_str(), m_target.c_str()) != 0) {
        fail("cannot replace " + m_target.string() + ": " + std::strerror(errno));
    }
    if (m_failed) {
        error = m_error;
        discard();
        return false;
    }
    m_temporaryPath.clear();
    return true;
}

void FileTagWriter::discard() noexcept {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
    if (!m_temporaryPath.empty()) {
        ::unlink(m_temporaryPath.c_str());
        m_temporaryPath.clear();
    }
}

} // namespace cad::dxf
