// Finding where entities start by looking at the bytes of a DXF stream, ASCII or binary, without reading
// the tags before them: what lets a loader cut a large ENTITIES section into pieces that two threads
// read at once. A found offset is checked by reading a tag or two from it, but a value can still look
// like a group 0, so the reader of a piece must confirm that the piece before it ends there.
#pragma once

#include "cad/dxf/tag_reader.h"
#include "platform/export.h"

#include <cstdint>
#include <vector>

namespace cad::dxf {

// The offsets of group 0s that cut the section starting at the reader's position into pieces of about
// `pieceBytes` (the first is the reader's position), in increasing order. Empty when the section is
// smaller than `smallestSection` bytes, when `pieceBytes` is 0, and for R12 binary files.
QUELTO_EXPORT std::vector<std::uint64_t>
findEntityBoundaries(const TagReader& reader, std::uint64_t pieceBytes, std::uint64_t smallestSection);

// The first offset in [from, to) that holds a group 0 naming an entity (not ENDSEC, EOF or SECTION)
// and, in binary files, followed by its handle; 0 when none is found close to `from`.
QUELTO_EXPORT std::uint64_t nextEntityBoundary(const TagReader& reader, std::uint64_t from, std::uint64_t to);

} // namespace cad::dxf
