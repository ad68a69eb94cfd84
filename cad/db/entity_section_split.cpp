// Parsing the chunks of a large ENTITIES section the chunks on two threads and placing their
// entities in stream order on the loader's thread.
#include "cad/db/entity_section_split.h"

#include "cad/dxf/entity_boundaries.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

namespace cad::db {
namespace {

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
        if (m_stopped.load(std::memory_order_relaxed)) {
            return false;
        }
        const std::size_t index = m_next.fetch_add(1);
        if (index >= m_chunks.size()) {
            return false;
        }
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
        if (chunk.limit != std::numeric_limits<std::uint64_t>::max()) {
            chunk.entities.reserve((chunk.limit - chunk.start) / kSmallestEntityBytes);
        }
        dxf::Tag tag;
        std::uint64_t endOffset = 0;
        std::uint64_t endLine = 1;
        while (true) {
            endOffset = reader.bytesConsumed();
            endLine = reader.nextLine();
            if (endOffset >= chunk.limit || m_stopped.load(std::memory_order_relaxed) || !reader.next(tag)) {
                break;
            }
            if (tag.code == dxf::kCommentGroupCode) {
                continue;
            }
            if (tag.code != 0 || tag.text == "ENDSEC" || tag.text == "EOF" || tag.text == "SECTION") {
                break;
            }
            ParsedEntity entity;
            if (!parser.parseEntity(reader, tag, entity)) {
                break;
            }
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

// Places the entities of a chunk in order, `lineShift` added to their positions (ASCII line numbers
// counted from the chunk's start), and frees them. The parsed entities were written by the other
// thread or a while ago: fetch the records ahead of placing, and the entities (which placing writes) a
// little less far ahead.
void placeChunk(Chunk& chunk, std::uint64_t lineShift, const EntitySectionSplit::PlaceFunction& place) {
    constexpr std::size_t kRecordDistance = 16;
    constexpr std::size_t kEntityDistance = 8;
    for (std::size_t index = 0; index < chunk.entities.size(); ++index) {
        if (index + kRecordDistance < chunk.entities.size()) {
            __builtin_prefetch(&chunk.entities[index + kRecordDistance]);
        }
        if (index + kEntityDistance < chunk.entities.size()) {
            __builtin_prefetch(chunk.entities[index + kEntityDistance].object.get(), 1);
        }
        ParsedEntity& entity = chunk.entities[index];
        entity.position += lineShift;
        place(entity);
    }
    std::vector<ParsedEntity>().swap(chunk.entities);
}

} // namespace

bool EntitySectionSplit::read(dxf::TagReader& reader, ObjectParser& parser, const DxfReadOptions& options,
                              const PlaceFunction& place) {
    if (!options.entitiesOnTwoThreads || std::thread::hardware_concurrency() < 2) {
        return false;
    }
    const std::vector<std::uint64_t> starts =
        dxf::findEntityBoundaries(reader, options.chunkBytes, options.smallestSplitSection);
    if (starts.size() < 2) {
        return false;
    }

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
            if (wait) {
                work.waitFor(chunk);
            } else if (!chunk.done.load(std::memory_order_acquire)) {
                return;
            }
            if (chunk.start != offset) {
                ended = true;
                break;
            }
            placeChunk(chunk, ascii ? line - 1 : 0, place);
            offset = chunk.endOffset;
            line += chunk.endLine - 1;
            ++placed;
            if (chunk.endOffset != chunk.limit) {
                ended = true;
            }
        }
        if (ended) {
            work.stop();
        }
    };
    while (work.parseOne(parser)) {
        placeFinished(false);
    }
    placeFinished(true);
    reader.seek(offset, line);
    return true;
}

} // namespace cad::db
