// Cutting a large ENTITIES section into chunks, parsing the chunks on two threads and placing their
// entities in stream order on the loader's thread.
#include "cad/db/entity_section_split.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

namespace cad::db {
namespace {

constexpr std::string_view kObjectsName = "OBJECTS";
std::atomic<bool> splitEnabled{true};
std::atomic<std::uint64_t> chunkSize{EntitySectionSplit::kDefaultChunkBytes};
std::atomic<std::uint64_t> smallestSplitSection{EntitySectionSplit::kDefaultSmallestSection};

// Where the ENTITIES section probably ends: at the OBJECTS section's header, looked for from the end
// of the input because that section comes last; the end of the input when there is none.
std::uint64_t estimatedSectionEnd(std::string_view bytes, std::uint64_t from, dxf::DxfFormat format) {
    std::size_t at = bytes.size();
    while (at > from) {
        at = bytes.rfind(kObjectsName, at - 1);
        if (at == std::string_view::npos || at < from)
            break;
        const std::size_t after = at + kObjectsName.size();
        if (after < bytes.size()) {
            const bool isHeader =
                format == dxf::DxfFormat::Binary
                    ? at >= 2 && bytes[at - 2] == '\x02' && bytes[at - 1] == '\0' && bytes[after] == '\0'
                    : at >= 1 && bytes[at - 1] == '\n' && (bytes[after] == '\r' || bytes[after] == '\n');
            if (isHeader)
                return at;
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

bool isHexText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char character) {
        return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'F') ||
               (character >= 'a' && character <= 'f');
    });
}

// A line holding only group code 0 (leading blanks allowed), as the tag reader's fast path takes it.
bool isGroupZeroLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    return line == "0";
}

// Lines alternate between group codes (digits) and values, so a line "0" followed by a line that
// starts with a letter can only be group code 0 and an entity type.
std::uint64_t nextAsciiCandidate(std::string_view bytes, std::uint64_t from, std::uint64_t to) {
    std::size_t lineStart = bytes.find('\n', from);
    while (lineStart != std::string_view::npos && lineStart + 1 < to) {
        ++lineStart;
        const std::size_t lineEnd = bytes.find('\n', lineStart);
        if (lineEnd == std::string_view::npos || lineEnd + 1 >= bytes.size())
            return 0;
        if (isGroupZeroLine(bytes.substr(lineStart, lineEnd - lineStart)) &&
            isTypeNameStart(bytes[lineEnd + 1]))
            return lineStart;
        lineStart = lineEnd;
    }
    return 0;
}

// Binary: code 0 as two zero bytes, then the type name. The bytes can also occur inside a value, so
// candidates are checked by reading from them.
std::uint64_t nextBinaryCandidate(std::string_view bytes, std::uint64_t from, std::uint64_t to) {
    for (std::size_t at = bytes.find('\0', from); at != std::string_view::npos && at + 2 < to;
         at = bytes.find('\0', at + 1)) {
        if (bytes[at + 1] == '\0' && isTypeNameStart(bytes[at + 2]))
            return at;
    }
    return 0;
}

bool startsEntity(const dxf::TagReader& reader, std::uint64_t offset) {
    dxf::TagReader probe = reader.forkAt(offset);
    dxf::Tag tag;
    if (!probe.next(tag) || tag.code != 0 || !isTypeName(tag.text))
        return false;
    if (tag.text == "ENDSEC" || tag.text == "EOF" || tag.text == "SECTION")
        return false;
    if (reader.format() == dxf::DxfFormat::Ascii)
        return true;
    // Binary files with 2-byte codes are R13 or later, where every entity has a handle.
    return probe.next(tag) && tag.code == 5 && isHexText(tag.text);
}

// The first checked group 0 at or after `from` and before `to`; 0 when none is found nearby.
std::uint64_t findGroupZero(const dxf::TagReader& reader, std::uint64_t from, std::uint64_t to) {
    const bool binary = reader.format() == dxf::DxfFormat::Binary;
    const std::string_view bytes = reader.bytes();
    // A binary candidate that fails its check is nearly always followed closely by a good one.
    constexpr int kAttempts = 64;
    std::uint64_t at = from;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        at = binary ? nextBinaryCandidate(bytes, at, to) : nextAsciiCandidate(bytes, at, to);
        if (at == 0)
            return 0;
        if (startsEntity(reader, at))
            return at;
        ++at;
    }
    return 0;
}

// Each chunk on a cache line of its own: the two threads fill neighbouring chunks at the same time.
struct alignas(64) Chunk {
    std::uint64_t start = 0;
    std::uint64_t limit = 0; // the next chunk's start
    std::vector<ParsedEntity> entities;
    std::uint64_t endOffset = 0; // where reading stopped, and its line counted from 1 at `start`
    std::uint64_t endLine = 1;
    std::atomic<bool> done{false};
};

// The chunks and who takes which: each thread takes the next chunk nobody has taken yet.
class ChunkWork {
public:
    ChunkWork(const dxf::TagReader& reader, const std::vector<std::uint64_t>& starts)
        : m_reader(reader), m_chunks(starts.size()) {
        for (std::size_t index = 0; index < starts.size(); ++index) {
            m_chunks[index].start = starts[index];
            m_chunks[index].limit =
                index + 1 < starts.size() ? starts[index + 1] : std::numeric_limits<std::uint64_t>::max();
        }
    }

    std::vector<Chunk>& chunks() { return m_chunks; }

    // Parses one chunk if one is left; false otherwise.
    bool parseOne(ObjectParser& parser) {
        if (m_stopped.load(std::memory_order_relaxed))
            return false;
        const std::size_t index = m_next.fetch_add(1);
        if (index >= m_chunks.size())
            return false;
        parse(m_chunks[index], parser);
        return true;
    }

    void waitFor(const Chunk& chunk) {
        std::unique_lock lock(m_mutex);
        m_chunkDone.wait(lock, [&chunk] { return chunk.done.load(std::memory_order_acquire); });
    }

    void stop() { m_stopped.store(true, std::memory_order_relaxed); }

private:
    // Reads entities the way the loader does and stops wherever the loader would do something else
    // (end of the section, damage, a group that cannot start an entity), or at the next chunk.
    void parse(Chunk& chunk, ObjectParser& parser) {
        dxf::TagReader reader = m_reader.forkAt(chunk.start);
        // One block for the chunk's list: the loader's thread frees it, and one free of another
        // thread's memory costs far less than thousands.
        constexpr std::uint64_t kSmallestEntityBytes = 64;
        if (chunk.limit != std::numeric_limits<std::uint64_t>::max())
            chunk.entities.reserve((chunk.limit - chunk.start) / kSmallestEntityBytes);
        dxf::Tag tag;
        std::uint64_t endOffset = 0;
        std::uint64_t endLine = 1;
        while (true) {
            endOffset = reader.bytesConsumed();
            endLine = reader.nextLine();
            if (endOffset >= chunk.limit || m_stopped.load(std::memory_order_relaxed) || !reader.next(tag))
                break;
            if (tag.code == dxf::commentGroupCode)
                continue;
            if (tag.code != 0 || tag.text == "ENDSEC" || tag.text == "EOF" || tag.text == "SECTION")
                break;
            ParsedEntity entity;
            if (!parser.parseEntity(reader, tag, entity))
                break;
            chunk.entities.push_back(std::move(entity));
        }
        {
            const std::lock_guard lock(m_mutex);
            chunk.endOffset = endOffset;
            chunk.endLine = endLine;
            chunk.done.store(true, std::memory_order_release);
        }
        m_chunkDone.notify_all();
    }

    const dxf::TagReader& m_reader;
    std::vector<Chunk> m_chunks;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stopped{false};
    std::mutex m_mutex;
    std::condition_variable m_chunkDone;
};

} // namespace

void EntitySectionSplit::setEnabled(bool enabled) {
    splitEnabled.store(enabled);
}

bool EntitySectionSplit::isEnabled() {
    return splitEnabled.load();
}

void EntitySectionSplit::setChunking(std::uint64_t chunkBytes, std::uint64_t smallestSection) {
    chunkSize.store(chunkBytes);
    smallestSplitSection.store(smallestSection);
}

std::vector<std::uint64_t> EntitySectionSplit::findChunkStarts(const dxf::TagReader& reader,
                                                               std::uint64_t chunkBytes,
                                                               std::uint64_t smallestSection) {
    if (reader.format() == dxf::DxfFormat::Binary && !reader.binaryHasWideCodes())
        return {};
    const std::uint64_t from = reader.bytesConsumed();
    const std::uint64_t to = estimatedSectionEnd(reader.bytes(), from, reader.format());
    if (to <= from || to - from < smallestSection || chunkBytes == 0)
        return {};
    constexpr std::uint64_t kMostChunks = 4096;
    const std::uint64_t count = std::clamp<std::uint64_t>((to - from) / chunkBytes, 2, kMostChunks);
    std::vector<std::uint64_t> starts{from};
    for (std::uint64_t index = 1; index < count; ++index) {
        const std::uint64_t target = from + (to - from) / count * index;
        const std::uint64_t start = findGroupZero(reader, std::max(target, starts.back() + 1), to);
        if (start > starts.back())
            starts.push_back(start);
    }
    return starts;
}

bool EntitySectionSplit::read(dxf::TagReader& reader, ObjectParser& parser, const PlaceFunction& place) {
    if (!isEnabled() || std::thread::hardware_concurrency() < 2)
        return false;
    const std::vector<std::uint64_t> starts =
        findChunkStarts(reader, chunkSize.load(), smallestSplitSection.load());
    if (starts.size() < 2)
        return false;

    ChunkWork work(reader, starts);
    std::thread helper([&work, &parser] {
        ObjectParser helperParser(parser.codec());
        while (work.parseOne(helperParser)) {
        }
    });
    // Whatever way this function is left, the helper is stopped and waited for.
    struct HelperStop {
        ChunkWork& work;
        std::thread& thread;
        ~HelperStop() {
            work.stop();
            thread.join();
        }
    } helperStop{work, helper};
    const bool ascii = reader.format() == dxf::DxfFormat::Ascii;
    std::uint64_t offset = starts.front();
    std::uint64_t line = reader.nextLine();
    std::size_t placed = 0;
    bool ended = false;
    // Places finished chunks in order; a chunk that does not start where the one before it ended, or
    // one that stopped short of the next, ends the parallel reading.
    const auto placeFinished = [&](bool wait) {
        std::vector<Chunk>& chunks = work.chunks();
        while (!ended && placed < chunks.size()) {
            Chunk& chunk = chunks[placed];
            if (wait)
                work.waitFor(chunk);
            else if (!chunk.done.load(std::memory_order_acquire))
                return;
            if (chunk.start != offset) {
                ended = true;
                break;
            }
            // The parsed entities were written by the other thread or a while ago: fetch the records
            // ahead of placing, and the entities (which placing writes) a little less far ahead.
            constexpr std::size_t kRecordDistance = 16;
            constexpr std::size_t kEntityDistance = 8;
            for (std::size_t index = 0; index < chunk.entities.size(); ++index) {
                if (index + kRecordDistance < chunk.entities.size())
                    __builtin_prefetch(&chunk.entities[index + kRecordDistance]);
                if (index + kEntityDistance < chunk.entities.size())
                    __builtin_prefetch(chunk.entities[index + kEntityDistance].object.get(), 1);
                ParsedEntity& entity = chunk.entities[index];
                if (ascii)
                    entity.position += line - 1;
                place(entity);
            }
            std::vector<ParsedEntity>().swap(chunk.entities);
            offset = chunk.endOffset;
            line += chunk.endLine - 1;
            ++placed;
            if (chunk.endOffset != chunk.limit)
                ended = true;
        }
        if (ended)
            work.stop();
    };
    while (work.parseOne(parser))
        placeFinished(false);
    placeFinished(true);
    reader.seek(offset, line);
    return true;
}

} // namespace cad::db
