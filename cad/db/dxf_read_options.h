// How a drawing is read from DXF: the settings a caller may tune, passed to each read, so that two
// reads in one process never share or race on them.
#pragma once

#include <cstdint>

namespace cad::db {

struct DxfReadOptions {
    // A large ENTITIES section is read on the caller's thread and a helper thread. Off, for hosts that
    // must not start threads and for checking that both ways give the same drawing.
    bool entitiesOnTwoThreads = true;
    // Pieces of about `chunkBytes`, for sections of at least `smallestSplitSection` bytes. The defaults
    // make pieces small enough that the two threads finish close together and large enough that finding
    // their starts costs nothing; below a few megabytes a thread is not worth starting. Tests make both
    // tiny so that small drawings are cut too.
    std::uint64_t chunkBytes = 2U << 20;
    std::uint64_t smallestSplitSection = 4U << 20;
};

} // namespace cad::db
