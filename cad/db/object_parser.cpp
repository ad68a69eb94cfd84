// Reading one object or entity from the tag stream: the groups either streamed straight into the
// object or, for the few types whose class depends on a group (POLYLINE, VERTEX, DIMENSION) and for
// table records and objects, collected first.
#include "cad/db/object_parser.h"

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"

#include <unordered_map>

namespace cad::db {
namespace {

using EntityFactory = std::unique_ptr<AcDbObject> (*)();
template <class T>
std::unique_ptr<AcDbObject> makeOf() {
    return std::make_unique<T>();
}
// Type names are short and few: a cheap mix of length and end bytes spreads them well enough.
struct TypeNameHash {
    std::size_t operator()(std::string_view name) const noexcept {
        if (name.empty()) {
            return 0;
        }
        return name.size() * 131 + static_cast<unsigned char>(name.front()) * 31 +
               static_cast<unsigned char>(name.back()) +
               static_cast<unsigned char>(name[name.size() / 2]) * 7;
    }
};

const std::unordered_map<std::string_view, EntityFactory, TypeNameHash>& entityFactories() {
    static const std::unordered_map<std::string_view, EntityFactory, TypeNameHash> kFactories{
        {"LINE", makeOf<AcDbLine>},
        {"CIRCLE", makeOf<AcDbCircle>},
        {"ARC", makeOf<AcDbArc>},
        {"LWPOLYLINE", makeOf<AcDbPolyline>},
        {"TEXT", makeOf<AcDbText>},
        {"MTEXT", makeOf<AcDbMText>},
        {"INSERT", makeOf<AcDbBlockReference>},
        {"ATTRIB", makeOf<AcDbAttribute>},
        {"ATTDEF", makeOf<AcDbAttributeDefinition>},
        {"POINT", makeOf<AcDbPoint>},
        {"ELLIPSE", makeOf<AcDbEllipse>},
        {"SPLINE", makeOf<AcDbSpline>},
        {"RAY", makeOf<AcDbRay>},
        {"XLINE", makeOf<AcDbXline>},
        {"HATCH", makeOf<AcDbHatch>},
        {"REGION", makeOf<AcDbRegion>},
        {"MLINE", makeOf<AcDbMline>},
        {"IMAGE", makeOf<AcDbRasterImage>},
        {"WIPEOUT", makeOf<AcDbWipeout>},
        {"VIEWPORT", makeOf<AcDbViewport>},
        {"SHAPE", makeOf<AcDbShape>},
        {"SEQEND", makeOf<AcDbSequenceEnd>},
        {"ARC_DIMENSION", makeOf<AcDbArcDimension>},
    };
    return kFactories;
}

} // namespace

SequenceRole sequenceRoleOf(std::string_view name) {
    if (name == "VERTEX") {
        return SequenceRole::Vertex;
    }
    if (name == "ATTRIB") {
        return SequenceRole::Attrib;
    }
    if (name == "SEQEND") {
        return SequenceRole::SequenceEnd;
    }
    if (name == "POLYLINE") {
        return SequenceRole::Polyline;
    }
    if (name == "DIMENSION") {
        return SequenceRole::Dimension;
    }
    return SequenceRole::None;
}

bool ObjectParser::collect(dxf::TagReader& reader) {
    m_collected.clear();
    m_chunkCopies.clear();
    dxf::Tag tag;
    while (reader.next(tag)) {
        if (tag.code == 0) {
            reader.pushBack();
            return true;
        }
        // Binary chunks of binary files are only valid until the next read: keep a copy.
        if (tag.type == dxf::ValueType::Binary && reader.format() == dxf::DxfFormat::Binary) {
            tag.text = m_chunkCopies.emplace_back(tag.text);
        }
        m_collected.push_back(tag);
    }
    return !reader.failed();
}

std::int64_t ObjectParser::collectedInteger(int code) const {
    for (const dxf::Tag& tag : m_collected) {
        if (tag.code == code) {
            return tag.integer;
        }
    }
    return 0;
}

std::vector<std::string> ObjectParser::readCollected(AcDbObject& object) {
    m_objects.begin(object);
    for (const dxf::Tag& tag : m_collected) {
        m_objects.add(tag);
    }
    return m_objects.finish();
}

bool ObjectParser::stream(dxf::TagReader& reader, AcDbObject& object) {
    m_objects.begin(object);
    dxf::Tag tag;
    while (reader.next(tag)) {
        if (tag.code == 0) {
            reader.pushBack();
            return true;
        }
        m_objects.add(tag);
    }
    return !reader.failed();
}

std::unique_ptr<AcDbObject> ObjectParser::makeEntity(std::string_view name) const {
    const auto& factories = entityFactories();
    const auto found = factories.find(name);
    if (found != factories.end()) {
        return found->second();
    }
    if (name == "POLYLINE") {
        const std::int64_t flags = collectedInteger(70);
        if ((flags & 8) != 0) {
            return std::make_unique<AcDb3dPolyline>();
        }
        if ((flags & 16) != 0) {
            return std::make_unique<AcDbPolygonMesh>();
        }
        if ((flags & 64) != 0) {
            return std::make_unique<AcDbPolyFaceMesh>();
        }
        return std::make_unique<AcDb2dPolyline>();
    }
    if (name == "VERTEX") {
        const std::int64_t flags = collectedInteger(70);
        if ((flags & 32) != 0) {
            return std::make_unique<AcDb3dPolylineVertex>();
        }
        if ((flags & 128) != 0) {
            return (flags & 64) != 0 ? std::unique_ptr<AcDbObject>(std::make_unique<AcDbPolyFaceMeshVertex>())
                                     : std::make_unique<AcDbFaceRecord>();
        }
        if ((flags & 64) != 0) {
            return std::make_unique<AcDbPolygonMeshVertex>();
        }
        return std::make_unique<AcDb2dVertex>();
    }
    if (name == "DIMENSION") {
        switch (collectedInteger(70) & 7) {
        case 0:
            return std::make_unique<AcDbRotatedDimension>();
        case 1:
            return std::make_unique<AcDbAlignedDimension>();
        case 2:
            return std::make_unique<AcDb2LineAngularDimension>();
        case 3:
            return std::make_unique<AcDbDiametricDimension>();
        case 4:
            return std::make_unique<AcDbRadialDimension>();
        case 5:
            return std::make_unique<AcDb3PointAngularDimension>();
        default:
            return std::make_unique<AcDbOrdinateDimension>();
        }
    }
    return std::make_unique<AcDbGenericEntity>(std::string(name));
}

bool ObjectParser::parseEntity(dxf::TagReader& reader, const dxf::Tag& start, ParsedEntity& entity) {
    entity.position = start.position;
    entity.role = sequenceRoleOf(start.text);
    // Only POLYLINE, VERTEX and DIMENSION need their group 70 before the class can be chosen.
    const bool needsLookahead = entity.role == SequenceRole::Polyline ||
                                entity.role == SequenceRole::Vertex || entity.role == SequenceRole::Dimension;
    if (needsLookahead) {
        if (!collect(reader)) {
            return false;
        }
        entity.object = makeEntity(start.text);
        entity.problems = readCollected(*entity.object);
    } else {
        entity.object = makeEntity(start.text);
        if (!stream(reader, *entity.object)) {
            return false;
        }
        entity.problems = m_objects.finish();
    }
    const auto& made = static_cast<const AcDbEntity&>(*entity.object);
    entity.handle = made.handle().value();
    entity.ownerHandle = made.ownerHandle().value();
    entity.layer = made.layerNameId();
    entity.inPaperSpace = made.isInPaperSpaceFlag();
    const auto* insert = AcDbBlockReference::cast(&made);
    entity.opensSequence =
        entity.role == SequenceRole::Polyline || (insert != nullptr && insert->attributesFollowFlag());
    return true;
}

} // namespace cad::db
