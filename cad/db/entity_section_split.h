// Reading a large ENTITIES section on two cores. The section is cut into chunks at points found by
// looking at the bytes; the loader's thread and a helper thread parse chunks as they come free, and
// the loader's thread places the entities in their blocks in stream order. A chunk's entities are used
// only when the chunk before it ended exactly where it starts (at the start of a group 0), so a badly
// chosen point costs time, never a different drawing: the loader reads on alone from there.
#pragma once

#include "cad/db/object_parser.h"
#include "cad/dxf/tag_reader.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace cad::db {

class EntitySectionSplit {
public:
    using PlaceFunction = std::function<void(ParsedEntity&)>;

    // On by default. Off, every section is read on the loader's thread: for hosts that must not start
    // threads, and for checking that both ways give the same drawing.
    static void setEnabled(bool enabled);
    static bool isEnabled();
    // Chunks of about `chunkBytes`, for sections of at least `smallestSection` bytes. The defaults make
    // chunks small enough that the two threads finish close together and large enough that finding
    // their starts costs nothing; below a few megabytes a thread is not worth starting. Tests make
    // both tiny so that small drawings are cut too.
    static void setChunking(std::uint64_t chunkBytes, std::uint64_t smallestSection);
    static constexpr std::uint64_t kDefaultChunkBytes = 2U << 20;
    static constexpr std::uint64_t kDefaultSmallestSection = 4U << 20;

    // Reads the entities of the section that starts at the reader's position with `parser` on this
    // thread and a second parser on a helper thread, handing each entity to `place` on this thread in
    // stream order, with its position as if one reader had read it. Leaves the reader where the
    // parallel reading stopped: at the section's end, or at the first group it leaves to the caller
    // (damage, a group that cannot start an entity). False, with nothing read, when the section is too
    // small to be worth a thread or splitting is off.
    static bool read(dxf::TagReader& reader, ObjectParser& parser, const PlaceFunction& place);

    // The offsets of group 0s that cut the section starting at the reader's position into chunks of
    // about `chunkBytes` (the first is the reader's position); empty when the section is smaller than
    // `smallestSection` bytes.
    static std::vector<std::uint64_t> findChunkStarts(const dxf::TagReader& reader, std::uint64_t chunkBytes,
                                                      std::uint64_t smallestSection);
};

} // namespace cad::db
