// Turning the groups of one object or entity into a database object, without touching the database:
// the loader uses it on its own reader, and a second thread uses a second one on the later part of
// a large ENTITIES section, so everything it needs (text context, plan cache, scratch tags) is its own.
#pragma once

#include "cad/db/db_object.h"
#include "cad/db/name_pool.h"
#include "cad/db/object_io.h"
#include "cad/dxf/tag_reader.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cad::db {

// The entity types the section reader treats apart from the rest, told once per entity.
enum class SequenceRole : std::uint8_t { None, Polyline, Vertex, Dimension, Attrib, SequenceEnd };
SequenceRole sequenceRoleOf(std::string_view name);

// One entity as read, waiting to be placed in its block: where it started (line or byte offset of its
// group 0), the problems that still left a usable entity, and what placing it needs to know of it,
// taken while the entity is still in the reading thread's cache.
struct ParsedEntity {
    std::unique_ptr<AcDbObject> object;
    std::uint64_t position = 0;
    std::uint64_t handle = 0;
    std::uint64_t ownerHandle = 0;
    Name layer;
    std::vector<std::string> problems;
    SequenceRole role = SequenceRole::None;
    bool inPaperSpace = false;
    bool opensSequence = false; // a POLYLINE, or an INSERT whose ATTRIBs follow
};

class ObjectParser {
public:
    explicit ObjectParser(const dxf::TextCodec& codec)
        : m_codec(codec), m_context(m_codec), m_objects(m_context) {}
    ObjectParser(const ObjectParser&) = delete;
    ObjectParser& operator=(const ObjectParser&) = delete;

    // Collects the groups of one object, from the one after its group 0 up to the next group 0.
    bool collect(dxf::TagReader& reader);
    const std::vector<dxf::Tag>& collected() const { return m_collected; }
    std::int64_t collectedInteger(int code) const;
    // Reads the collected groups into `object`; the problems found are returned.
    std::vector<std::string> readCollected(AcDbObject& object);

    // Reads the entity whose group 0 (`start`) the reader just yielded. False when the stream ends or
    // fails inside it.
    bool parseEntity(dxf::TagReader& reader, const dxf::Tag& start, ParsedEntity& entity);

    const dxf::TextCodec& codec() const { return m_codec; }

private:
    bool stream(dxf::TagReader& reader, AcDbObject& object);
    std::unique_ptr<AcDbObject> makeEntity(std::string_view name) const;

    dxf::TextCodec m_codec;
    TextContext m_context;
    ObjectReader m_objects;
    std::vector<dxf::Tag> m_collected;
    std::deque<std::string> m_chunkCopies;
};

} // namespace cad::db
