// Reading a large ENTITIES section on two cores. The section is cut into chunks at points found by
// looking at the bytes; the loader's thread and a helper thread parse chunks as they come free, and
// the loader's thread places the entities in their blocks in stream order. A chunk's entities are used
// only when the chunk before it ended exactly where it starts (at the start of a group 0), so a badly
// chosen point costs time, never a different drawing: the loader reads on alone from there.
#pragma once

#include "cad/db/dxf_read_options.h"
#include "cad/db/object_parser.h"
#include "cad/dxf/tag_reader.h"

#include <functional>

namespace cad::db {

class EntitySectionSplit {
public:
    using PlaceFunction = std::function<void(ParsedEntity&)>;

    // Reads the entities of the section that starts at the reader's position with `parser` on this
    // thread and a second parser on a helper thread, handing each entity to `place` on this thread in
    // stream order, with its position as if one reader had read it. Leaves the reader where the
    // parallel reading stopped: at the section's end, or at the first group it leaves to the caller
    // (damage, a group that cannot start an entity). False, with nothing read, when the section is too
    // small to be worth a thread or splitting is off.
    static bool read(dxf::TagReader& reader, ObjectParser& parser, const DxfReadOptions& options,
                     const PlaceFunction& place);
};

} // namespace cad::db
