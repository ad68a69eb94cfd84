// The tag reader: input ownership (mapping, owned or borrowed bytes), format detection, the header scan
// for version and code page, and the two tokenisers. The hot paths work on raw pointers into the input
// and parse plain numbers by hand (std::from_chars for the rest), so a tag costs no allocation.
#include "cad/dxf/tag_reader.h"

#include "platform/hex_digits.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cad::dxf {

namespace {

constexpr std::string_view kUtf8ByteOrderMark{"\xEF\xBB\xBF"};

// Releases a read-only file mapping.
struct Mapping {
    void* address = nullptr;
    std::size_t length = 0;

    Mapping() = default;
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping() {
        if (address != nullptr) {
            munmap(address, length);
        }
    }
};

// A mapped file is read front to back once: the pages a reader has left behind are given back to the
// system every kReleaseStep bytes, so that a large drawing and the objects read from it are not resident
// at the same time. A page read again (a rewind, a tag text still in use) faults in from the file anew,
// so giving one back too early costs time, never a different byte.
constexpr std::ptrdiff_t kReleaseStep = std::ptrdiff_t{4} << 20;
constexpr std::ptrdiff_t kKeepBehind = std::ptrdiff_t{1} << 20;

bool isBlank(char character) noexcept {
    return character == ' ' || character == '\t';
}

inline std::string_view trimBlanks(std::string_view text) noexcept {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Text of a value for an error message: at most 40 bytes, control bytes shown as \xNN.
std::string quoteForMessage(std::string_view text) {
    constexpr std::size_t limit = 40;
    std::string quoted = "\"";
    for (std::size_t index = 0; index < text.size() && index < limit; ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            quoted += "\\x";
            quoted += kDigits[byte >> 4];
            quoted += kDigits[byte & 0x0F];
        } else {
            quoted += static_cast<char>(byte);
        }
    }
    if (text.size() > limit) {
        quoted += "...";
    }
    quoted += '"';
    return quoted;
}

const char* describeType(ValueType type) noexcept {
    switch (type) {
    case ValueType::Double:
        return "a real number";
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
        return "an integer";
    case ValueType::Bool:
        return "0 or 1";
    case ValueType::Binary:
        return "hex digits";
    case ValueType::String:
        break;
    }
    return "a string";
}

bool parseDouble(std::string_view text, double& value) noexcept {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Integers are sometimes written with a fraction ("1.0") by small exporters; an integral real is taken.
bool parseInteger(std::string_view text, std::int64_t& value) noexcept {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
        return true;
    }
    double real = 0.0;
    if (!parseDouble(text, real) || real != std::trunc(real) || std::fabs(real) > 9.0e18) {
        return false;
    }
    value = static_cast<std::int64_t>(real);
    return true;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isDigit(char character) noexcept {
    return static_cast<unsigned>(character - '0') < 10u;
}

// Nearly every number in a DXF file is a plain decimal. When its digits fit in 53 bits and it has at
// most 22 decimals, digits and power of ten are both exact doubles, so one division gives the correctly
// rounded value; everything else (exponents, long mantissas) goes to std::from_chars.
bool parseSimpleDecimal(const char* text, const char* end, double& value) noexcept {
    bool negative = false;
    if (text < end && (*text == '-' || *text == '+')) {
        negative = *text == '-';
        ++text;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    for (; text < end && isDigit(*text); ++text, ++digits) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*text - '0');
        if (digits >= 18) {
            return false;
        }
    }
    if (text < end && *text == '.') {
        for (++text; text < end && isDigit(*text); ++text, ++digits, ++decimals) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*text - '0');
            if (digits >= 18) {
                return false;
            }
        }
    }
    if (text != end || digits == 0 || mantissa > (std::uint64_t{1} << 53) || decimals > 22) {
        return false;
    }
    double result = static_cast<double>(mantissa);
    if (decimals > 0) {
        result /= kPowersOfTen[decimals];
    }
    value = negative ? -result : result;
    return true;
}

bool parseSimpleInteger(const char* text, const char* end, std::int64_t& value) noexcept {
    bool negative = false;
    if (text < end && (*text == '-' || *text == '+')) {
        negative = *text == '-';
        ++text;
    }
    if (text == end || end - text > 18) {
        return false;
    }
    std::int64_t result = 0;
    for (; text < end; ++text) {
        if (!isDigit(*text)) {
            return false;
        }
        result = result * 10 + (*text - '0');
    }
    value = negative ? -result : result;
    return true;
}

// A binary chunk's text: whole bytes, possibly none.
bool isHexChunk(std::string_view text) noexcept {
    return text.size() % 2 == 0 && (text.empty() || platform::isHexText(text));
}

template <typename Value>
Value readLittleEndian(const char* bytes) noexcept {
    using Unsigned = std::make_unsigned_t<Value>;
    Unsigned value = 0;
    for (std::size_t index = 0; index < sizeof(Value); ++index) {
        value = static_cast<Unsigned>(
            value | (static_cast<Unsigned>(static_cast<unsigned char>(bytes[index])) << (8 * index)));
    }
    return static_cast<Value>(value);
}

double readDouble(const char* bytes) noexcept {
    const auto bits = readLittleEndian<std::uint64_t>(bytes);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Only blanks, line breaks, NULs or a DOS end-of-file mark left: a clean end of the stream.
bool onlyPaddingLeft(const char* from, const char* end) noexcept {
    return std::all_of(from, end, [](char byte) {
        return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == '\0' || byte == '\x1a';
    });
}

// Binary files carry no flag for the width of group codes. The first group is 0 SECTION or a 999 comment:
// R13 and later spell 0 as two NUL bytes where R12 follows one NUL with the text, and R12 escapes 999 with
// 255. Anything else is read as a 2-byte code when that gives a valid code.
bool hasWideFirstCode(std::string_view stream) noexcept {
    if (stream.size() < 2) {
        return true;
    }
    const auto first = static_cast<unsigned char>(stream[0]);
    const auto second = static_cast<unsigned char>(stream[1]);
    if (first == 0) {
        return second == 0;
    }
    if (first == 255) {
        return false;
    }
    return first + 256 * second <= kMaximumGroupCode;
}

} // namespace

std::string TagError::toString() const {
    std::string text = file.empty() ? std::string("<memory>") : file;
    if (line > 0) {
        text += ':' + std::to_string(line) + ": ";
    } else {
        text += ": offset " + std::to_string(offset) + ": ";
    }
    return text + message;
}

struct TagReader::State {
    Mapping mapping;
    std::string ownedBytes;
    std::string name;

    const char* begin = nullptr;
    const char* end = nullptr;
    const char* cursor = nullptr;
    std::uint64_t nextLine = 1; // line number of the line at `cursor` (ASCII)

    DxfFormat format = DxfFormat::Ascii;
    bool wideCodes = true;
    bool failed = false;
    bool finished = false;
    bool sawEndOfFile = false;
    bool skipComments = false;
    // Where the last tag yielded began, for pushBack().
    const char* previousCursor = nullptr;
    std::uint64_t previousLine = 1;
    TagError error;
    std::string chunkHex; // binary chunk of a binary file as hex text

    std::string acadVersion;
    std::string codePage;

    // Whether the bytes are a read-only file mapping (owned here or by the reader this one was forked
    // from), and where its pages have been given back up to. A forked reader reads one part of the
    // stream and gives back the whole pages of what it read when it is destroyed.
    bool mapped = false;
    bool forked = false;
    const char* releasedTo = nullptr;

    ~State() {
        if (mapped && forked) {
            releaseBehind(0);
        }
    }

    void releaseBehind(std::ptrdiff_t keep) {
        static const auto kPageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        const char* until = cursor - std::min(keep, cursor - begin);
        const auto from = (reinterpret_cast<std::uintptr_t>(releasedTo) + kPageSize - 1) & ~(kPageSize - 1);
        const auto to = reinterpret_cast<std::uintptr_t>(until) & ~(kPageSize - 1);
        if (to > from) {
            ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
        }
        releasedTo = until;
    }

    bool fail(std::uint64_t line, const char* at, std::string message) {
        failed = true;
        finished = true;
        error.file = name;
        error.line = line;
        error.offset = static_cast<std::uint64_t>(at - begin);
        error.message = std::move(message);
        return false;
    }

    const char* readGroupCodeSlowly(int& code, std::uint64_t codeLine);
    bool nextAscii(Tag& tag);
    bool nextBinary(Tag& tag);
    bool next(Tag& tag) { return format == DxfFormat::Ascii ? nextAscii(tag) : nextBinary(tag); }
    bool start(std::string_view bytes, TagError& openError);
    void scanHeader();
};

// The group code line the slow way, for everything the fast path in nextAscii does not take: blanks
// after the code, tabs, codes out of range, junk and the padding some programs leave at the end.
const char* TagReader::State::readGroupCodeSlowly(int& code, std::uint64_t codeLine) {
    const char* codeStart = cursor;
    const char* codeEnd =
        static_cast<const char*>(std::memchr(cursor, '\n', static_cast<std::size_t>(end - cursor)));
    if (codeEnd == nullptr) {
        codeEnd = end;
    }
    std::string_view codeText(codeStart, static_cast<std::size_t>(codeEnd - codeStart));
    if (!codeText.empty() && codeText.back() == '\r') {
        codeText.remove_suffix(1);
    }
    codeText = trimBlanks(codeText);
    const auto parsed = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (codeText.empty() || parsed.ptr != codeText.data() + codeText.size() ||
        (parsed.ec != std::errc() && parsed.ec != std::errc::result_out_of_range)) {
        if (onlyPaddingLeft(codeStart, end)) {
            finished = true;
            return nullptr;
        }
        fail(codeLine, codeStart, "expected a group code, found " + quoteForMessage(codeText));
        return nullptr;
    }
    if (parsed.ec != std::errc() || code < kMinimumGroupCode || code > kMaximumGroupCode) {
        fail(codeLine, codeStart,
             "group code " + std::string(codeText) + " is out of range (expected 0 to 1071)");
        return nullptr;
    }
    return codeEnd;
}

bool TagReader::State::nextAscii(Tag& tag) {
    if (cursor >= end) {
        finished = true;
        return false;
    }
    const std::uint64_t codeLine = nextLine;
    // Fast path: optional leading spaces, up to four digits, then LF or CR LF.
    const char* scan = cursor;
    while (scan < end && *scan == ' ') {
        ++scan;
    }
    const char* digits = scan;
    int code = 0;
    while (scan < end && isDigit(*scan) && scan - digits < 4) {
        code = code * 10 + (*scan - '0');
        ++scan;
    }
    const char* codeEnd = nullptr;
    if (scan > digits && scan < end && code <= kMaximumGroupCode) {
        if (*scan == '\n') {
            codeEnd = scan;
        } else if (*scan == '\r' && scan + 1 < end && scan[1] == '\n') {
            codeEnd = scan + 1;
        }
    }
    if (codeEnd == nullptr) {
        codeEnd = readGroupCodeSlowly(code, codeLine);
        if (codeEnd == nullptr) {
            return false;
        }
    }
    if (codeEnd >= end || codeEnd + 1 >= end) {
        return fail(codeLine + 1, end,
                    "unexpected end of file: expected the value of group code " + std::to_string(code));
    }

    const char* valueStart = codeEnd + 1;
    const char* valueEnd =
        static_cast<const char*>(std::memchr(valueStart, '\n', static_cast<std::size_t>(end - valueStart)));
    cursor = valueEnd == nullptr ? end : valueEnd + 1;
    if (valueEnd == nullptr) {
        valueEnd = end;
    }
    nextLine = codeLine + 2;
    if (valueEnd > valueStart && valueEnd[-1] == '\r') {
        --valueEnd;
    }
    const std::string_view value(valueStart, static_cast<std::size_t>(valueEnd - valueStart));

    tag.code = code;
    tag.position = codeLine;
    tag.type = valueTypeOf(code);
    switch (tag.type) {
    case ValueType::String:
        tag.text = value;
        break;
    case ValueType::Double:
        tag.text = trimBlanks(value);
        if (!parseSimpleDecimal(tag.text.data(), tag.text.data() + tag.text.size(), tag.real) &&
            !parseDouble(tag.text, tag.real)) {
            return fail(codeLine + 1, valueStart,
                        "expected a real number for group code " + std::to_string(code) + ", found " +
                            quoteForMessage(value));
        }
        break;
    case ValueType::Binary:
        tag.text = trimBlanks(value);
        if (!isHexChunk(tag.text)) {
            return fail(codeLine + 1, valueStart,
                        "expected hex digits for group code " + std::to_string(code) + ", found " +
                            quoteForMessage(value));
        }
        break;
    default:
        tag.text = trimBlanks(value);
        if (!parseSimpleInteger(tag.text.data(), tag.text.data() + tag.text.size(), tag.integer) &&
            !parseInteger(tag.text, tag.integer)) {
            return fail(codeLine + 1, valueStart,
                        "expected " + std::string(describeType(tag.type)) + " for group code " +
                            std::to_string(code) + ", found " + quoteForMessage(value));
        }
        tag.real = static_cast<double>(tag.integer);
        break;
    }
    return true;
}

bool TagReader::State::nextBinary(Tag& tag) {
    if (cursor >= end) {
        finished = true;
        return false;
    }
    const char* tagStart = cursor;
    const auto remaining = [this] { return static_cast<std::size_t>(end - cursor); };
    int code = 0;
    if (wideCodes) {
        if (remaining() < 2) {
            return fail(0, cursor, "unexpected end of file: expected a 2-byte group code");
        }
        code = readLittleEndian<std::int16_t>(cursor);
        cursor += 2;
    } else {
        code = static_cast<unsigned char>(*cursor);
        ++cursor;
        // R12 binary spells codes above 254 as 255 followed by a 2-byte code.
        if (code == 255) {
            if (remaining() < 2) {
                return fail(0, cursor, "unexpected end of file: expected a 2-byte group code after 255");
            }
            code = readLittleEndian<std::int16_t>(cursor);
            cursor += 2;
        }
    }
    if (code < kMinimumGroupCode || code > kMaximumGroupCode) {
        return fail(0, tagStart,
                    "group code " + std::to_string(code) + " is out of range (expected 0 to 1071)");
    }

    tag.code = code;
    tag.position = static_cast<std::uint64_t>(tagStart - begin);
    tag.type = valueTypeOf(code);
    tag.text = {};
    // Cold path: the value is cut off by the end of the input.
    const auto truncated = [&](const char* what) {
        return fail(0, cursor,
                    "unexpected end of file: expected " + std::string(what) + " for group code " +
                        std::to_string(code));
    };
    switch (tag.type) {
    case ValueType::String: {
        const char* terminator = static_cast<const char*>(std::memchr(cursor, '\0', remaining()));
        if (terminator == nullptr) {
            return fail(0, cursor,
                        "unexpected end of file: expected a NUL-terminated string for group code " +
                            std::to_string(code));
        }
        tag.text = std::string_view(cursor, static_cast<std::size_t>(terminator - cursor));
        cursor = terminator + 1;
        break;
    }
    case ValueType::Double:
        if (remaining() < 8) {
            return truncated("an 8-byte real");
        }
        tag.real = readDouble(cursor);
        cursor += 8;
        break;
    case ValueType::Int16:
        if (remaining() < 2) {
            return truncated("a 2-byte integer");
        }
        tag.integer = readLittleEndian<std::int16_t>(cursor);
        cursor += 2;
        break;
    case ValueType::Int32:
        if (remaining() < 4) {
            return truncated("a 4-byte integer");
        }
        tag.integer = readLittleEndian<std::int32_t>(cursor);
        cursor += 4;
        break;
    case ValueType::Int64:
        if (remaining() < 8) {
            return truncated("an 8-byte integer");
        }
        tag.integer = readLittleEndian<std::int64_t>(cursor);
        cursor += 8;
        break;
    case ValueType::Bool:
        if (remaining() < 1) {
            return truncated("a 1-byte flag");
        }
        tag.integer = static_cast<unsigned char>(*cursor);
        cursor += 1;
        break;
    case ValueType::Binary: {
        if (remaining() < 1) {
            return truncated("the length of a binary chunk");
        }
        const auto length = static_cast<unsigned char>(*cursor);
        ++cursor;
        if (remaining() < length) {
            return truncated("the bytes of a binary chunk");
        }
        bytesToHex(std::string_view(cursor, length), chunkHex);
        tag.text = chunkHex;
        cursor += length;
        break;
    }
    }
    if (isIntegerType(tag.type)) {
        tag.real = static_cast<double>(tag.integer);
    }
    return true;
}

bool TagReader::State::start(std::string_view bytes, TagError& openError) {
    begin = bytes.data();
    end = bytes.data() + bytes.size();
    cursor = begin;
    releasedTo = begin;
    if (bytes.empty()) {
        fail(0, begin, "the input is empty: expected a DXF tag stream");
        openError = error;
        return false;
    }
    if (bytes.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
        format = DxfFormat::Binary;
        cursor = begin + kBinarySentinel.size();
        wideCodes = hasWideFirstCode(bytes.substr(kBinarySentinel.size()));
    } else {
        format = DxfFormat::Ascii;
        if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
            cursor += kUtf8ByteOrderMark.size();
        }
    }
    scanHeader();
    return true;
}

// Reads ahead to the end of the HEADER section for $ACADVER and $DWGCODEPAGE, then rewinds. Errors are
// left for next() to report in stream order.
void TagReader::State::scanHeader() {
    const char* savedCursor = cursor;
    const std::uint64_t savedLine = nextLine;
    Tag tag;
    std::string_view pendingVariable;
    bool inHeader = false;
    while (next(tag)) {
        if (tag.code == 0) {
            if (inHeader || tag.text == "EOF") {
                break;
            }
            continue;
        }
        if (tag.code == 2 && tag.text == "HEADER") {
            inHeader = true;
        } else if (tag.code == 2 && !inHeader) {
            break; // a file without HEADER (R12 fragments): nothing to find
        } else if (tag.code == 9) {
            pendingVariable = tag.text;
        } else if (pendingVariable == "$ACADVER" && tag.code == 1) {
            acadVersion.assign(trimBlanks(tag.text));
            pendingVariable = {};
        } else if (pendingVariable == "$DWGCODEPAGE" && tag.code == 3) {
            codePage.assign(trimBlanks(tag.text));
            pendingVariable = {};
        }
        if (!acadVersion.empty() && !codePage.empty()) {
            break;
        }
    }
    cursor = savedCursor;
    nextLine = savedLine;
    failed = false;
    finished = false;
    error = {};
}

TagReader::TagReader() : m_state(std::make_unique<State>()) {}
TagReader::~TagReader() = default;
TagReader::TagReader(TagReader&&) noexcept = default;
TagReader& TagReader::operator=(TagReader&&) noexcept = default;

bool TagReader::openFile(const std::filesystem::path& path, TagError& error) {
    m_state = std::make_unique<State>();
    m_state->name = path.string();
    const auto failOpen = [&](const std::string& why) {
        error = {};
        error.file = path.string();
        error.message = why + ": " + std::strerror(errno);
        m_state->error = error;
        m_state->failed = true;
        m_state->finished = true;
        return false;
    };
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return failOpen("cannot open the file");
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        const bool result = failOpen("cannot read the file's size");
        ::close(descriptor);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        errno = EISDIR;
        return failOpen("not a regular file");
    }
    const auto length = static_cast<std::size_t>(status.st_size);
    if (length > 0) {
        // Every byte is read once, front to back: mapping all pages at once spares a page fault per
        // 4 KiB of drawing.
        void* address = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
        if (address != MAP_FAILED) {
            madvise(address, length, MADV_SEQUENTIAL);
            m_state->mapping.address = address;
            m_state->mapping.length = length;
            m_state->mapped = true;
        } else {
            // Some file systems cannot map; read the file instead.
            m_state->ownedBytes.resize(length);
            std::size_t done = 0;
            while (done < length) {
                const ssize_t count = ::read(descriptor, m_state->ownedBytes.data() + done, length - done);
                if (count < 0 && errno == EINTR) {
                    continue;
                }
                if (count <= 0) {
                    const bool result = failOpen("cannot read the file");
                    ::close(descriptor);
                    return result;
                }
                done += static_cast<std::size_t>(count);
            }
        }
    }
    ::close(descriptor);
    const std::string_view bytes =
        m_state->mapping.address != nullptr
            ? std::string_view(static_cast<const char*>(m_state->mapping.address), length)
            : std::string_view(m_state->ownedBytes);
    return m_state->start(bytes, error);
}

bool TagReader::openBuffer(std::string_view bytes, TagError& error, std::string name) {
    m_state = std::make_unique<State>();
    m_state->name = std::move(name);
    return m_state->start(bytes, error);
}

bool TagReader::openOwnedBuffer(std::string bytes, TagError& error, std::string name) {
    m_state = std::make_unique<State>();
    m_state->name = std::move(name);
    m_state->ownedBytes = std::move(bytes);
    return m_state->start(m_state->ownedBytes, error);
}

bool TagReader::next(Tag& tag) {
    State& state = *m_state;
    while (!state.finished) {
        state.previousCursor = state.cursor;
        state.previousLine = state.nextLine;
        if (!state.next(tag)) {
            return false;
        }
        if (state.mapped && state.cursor - state.releasedTo >= kReleaseStep) {
            state.releaseBehind(kKeepBehind);
        }
        if (tag.code == kCommentGroupCode && state.skipComments) {
            continue;
        }
        if (tag.code == 0 && tag.text == "EOF") {
            // What follows the end mark is not part of the drawing (some programs leave junk there).
            state.finished = true;
            state.sawEndOfFile = true;
        }
        return true;
    }
    return false;
}

// Rewinding re-reads the tag, which costs less than keeping a copy of every tag in case it is wanted.
void TagReader::pushBack() {
    State& state = *m_state;
    if (state.failed || state.previousCursor == nullptr) {
        return;
    }
    state.cursor = state.previousCursor;
    state.nextLine = state.previousLine;
    state.finished = false;
    state.sawEndOfFile = false;
}

bool TagReader::failed() const noexcept {
    return m_state->failed;
}

const TagError& TagReader::error() const noexcept {
    return m_state->error;
}

bool TagReader::sawEndOfFile() const noexcept {
    return m_state->sawEndOfFile;
}

void TagReader::setSkipComments(bool skip) noexcept {
    m_state->skipComments = skip;
}

DxfFormat TagReader::format() const noexcept {
    return m_state->format;
}

bool TagReader::binaryHasWideCodes() const noexcept {
    return m_state->format == DxfFormat::Binary && m_state->wideCodes;
}

const std::string& TagReader::acadVersion() const noexcept {
    return m_state->acadVersion;
}

int TagReader::acadVersionNumber() const noexcept {
    return cad::dxf::acadVersionNumber(m_state->acadVersion);
}

const std::string& TagReader::codePage() const noexcept {
    return m_state->codePage;
}

TextCodec TagReader::codec() const {
    return TextCodec(acadVersionNumber(), m_state->codePage);
}

const std::string& TagReader::name() const noexcept {
    return m_state->name;
}

std::uint64_t TagReader::size() const noexcept {
    return static_cast<std::uint64_t>(m_state->end - m_state->begin);
}

std::uint64_t TagReader::bytesConsumed() const noexcept {
    return static_cast<std::uint64_t>(m_state->cursor - m_state->begin);
}

std::string_view TagReader::bytes() const noexcept {
    return {m_state->begin, static_cast<std::size_t>(m_state->end - m_state->begin)};
}

std::uint64_t TagReader::nextLine() const noexcept {
    return m_state->nextLine;
}

TagReader TagReader::forkAt(std::uint64_t offset) const {
    TagReader fork;
    fork.m_state = std::make_unique<State>();
    State& state = *fork.m_state;
    state.name = m_state->name;
    state.begin = m_state->begin;
    state.end = m_state->end;
    state.cursor = m_state->begin + std::min<std::uint64_t>(offset, size());
    state.format = m_state->format;
    state.wideCodes = m_state->wideCodes;
    state.skipComments = m_state->skipComments;
    state.acadVersion = m_state->acadVersion;
    state.codePage = m_state->codePage;
    state.mapped = m_state->mapped;
    state.forked = true;
    state.releasedTo = state.cursor;
    return fork;
}

void TagReader::seek(std::uint64_t offset, std::uint64_t line) noexcept {
    State& state = *m_state;
    state.cursor = state.begin + std::min<std::uint64_t>(offset, size());
    state.nextLine = line;
    state.previousCursor = nullptr;
    state.finished = state.failed;
    state.sawEndOfFile = false;
}

TagError TagReader::errorAt(const Tag& tag, std::string message) const {
    TagError error;
    error.file = m_state->name;
    error.message = std::move(message);
    if (m_state->format == DxfFormat::Binary) {
        error.offset = tag.position;
    } else {
        error.line = tag.position;
    }
    return error;
}

} // namespace cad::dxf
