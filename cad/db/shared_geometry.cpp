// What the entity geometry files share: extents of any entity under a transform (the engine of block
// and dimension extents), the defaults of unmodelled classes, copying an entity through its groups and
// the drawing's MIRRTEXT setting.
#include "cad/db/shared_geometry.h"

#include "cad/db/curve_geometry.h"
#include "cad/db/object_io.h"
#include "cad/db/other_entities.h"
#include "cad/db/sub_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/db/text_geometry.h"
#include "cad/dxf/tag_writer.h"
#include "cad/ge/ocs.h"
#include "platform/wide_text.h"

#include <cmath>
#include <functional>
#include <memory>
#include <unordered_map>

namespace cad::db {

namespace {

void addCurve(AcDbExtents& box, bool& any, const ge::CircularArc& arc, const AcGeMatrix3d& transform) {
    if (const std::optional<ge::EllipseArc> moved = ge::transformed(ge::toEllipse(arc), transform)) {
        box.addExt(ge::extents(*moved));
        any = true;
    }
}

ge::ExtentsResult pointsBox(const std::vector<AcGePoint3d>& points, const AcGeMatrix3d& transform) {
    if (points.empty()) {
        return ge::ExtentsResult::empty();
    }
    AcDbExtents box;
    for (const AcGePoint3d& point : points) {
        box.addPoint(transform * point);
    }
    return ge::ExtentsResult::finite(box);
}

ge::ExtentsResult bulgeBox(const ge::BulgePolyline& polyline, const AcGeMatrix3d& transform) {
    AcDbExtents box;
    bool any = false;
    if (polyline.vertices.size() == 1) {
        const AcGePoint2d& only = polyline.vertices.front().point;
        box.addPoint(transform *
                     ge::ocsToWcs(AcGePoint3d(only.x, only.y, polyline.elevation), polyline.normal));
        return ge::ExtentsResult::finite(box);
    }
    for (const ge::PolylineSegment& segment : ge::explodeSegments(polyline)) {
        if (const auto* line = std::get_if<ge::LineSegment>(&segment)) {
            box.addPoint(transform * line->start);
            box.addPoint(transform * line->end);
            any = true;
        } else {
            addCurve(box, any, std::get<ge::CircularArc>(segment), transform);
        }
    }
    return any ? ge::ExtentsResult::finite(box) : ge::ExtentsResult::empty();
}

ge::ExtentsResult cornersBox(const std::optional<std::array<AcGePoint3d, 4>>& corners,
                             const AcGeMatrix3d& transform) {
    if (!corners) {
        return ge::ExtentsResult::empty();
    }
    return pointsBox({corners->begin(), corners->end()}, transform);
}

// Rays and construction lines, sibling classes as in the host, share one C++ implementation.
bool isInfiniteLine(const AcDbEntity& entity) {
    return entity.isKindOf(AcDbRay::desc()) || entity.isKindOf(AcDbXline::desc());
}

ge::ExtentsResult arcBox(const ge::CircularArc& arc, const AcGeMatrix3d& transform) {
    AcDbExtents box;
    bool any = false;
    addCurve(box, any, arc, transform);
    return any ? ge::ExtentsResult::finite(box) : ge::ExtentsResult::empty();
}

// The block's contents under the reference's own transform, and its visible attributes.
ge::ExtentsResult referenceExtents(const AcDbBlockReference& reference, const AcGeMatrix3d& transform,
                                   int depth) {
    if (depth >= kMaxBlockNesting || reference.database() == nullptr) {
        return ge::ExtentsResult::empty();
    }
    ge::ExtentsResult result = blockExtents(
        *reference.database(),
        findBlockRecord(*reference.database(), reference.blockTableRecord(), reference.blockName()),
        transform * reference.blockTransform(), depth + 1);
    for (const AcDbEntity* attribute : subEntities(reference)) {
        if (attribute->visibility() == AcDb::kInvisible) {
            continue;
        }
        const ge::ExtentsResult part = transformedExtents(*attribute, &transform, depth + 1);
        if (part.isFinite()) {
            result.box.addExt(part.box);
            result.kind = ge::ExtentsKind::Finite;
        }
    }
    return result;
}

} // namespace

Acad::ErrorStatus reportExtents(const ge::ExtentsResult& result, AcDbExtents& extents) {
    if (!result.isFinite()) {
        return Acad::eInvalidExtents;
    }
    extents = result.box;
    return Acad::eOk;
}

ge::ExtentsResult transformedExtents(const AcDbEntity& entity, const AcGeMatrix3d* transform, int depth) {
    if (transform == nullptr) {
        AcDbExtents box;
        if (entity.getGeomExtents(box) == Acad::eOk) {
            return ge::ExtentsResult::finite(box);
        }
        return isInfiniteLine(entity) ? ge::ExtentsResult::unbounded() : ge::ExtentsResult::empty();
    }
    const AcGeMatrix3d& matrix = *transform;
    if (const AcDbLine* line = AcDbLine::cast(&entity)) {
        return pointsBox({line->startPoint(), line->endPoint()}, matrix);
    }
    if (const AcDbArc* arc = AcDbArc::cast(&entity)) {
        return arcBox(arcGeometry(*arc), matrix);
    }
    if (const AcDbCircle* circle = AcDbCircle::cast(&entity)) {
        return arcBox(circleGeometry(*circle), matrix);
    }
    if (const AcDbEllipse* ellipse = AcDbEllipse::cast(&entity)) {
        const std::optional<ge::EllipseArc> moved = ge::transformed(ellipseGeometry(*ellipse), matrix);
        return moved ? ge::ExtentsResult::finite(ge::extents(*moved)) : ge::ExtentsResult::empty();
    }
    if (const AcDbPolyline* polyline = AcDbPolyline::cast(&entity)) {
        return bulgeBox(polylineGeometry(*polyline), matrix);
    }
    if (const AcDbPolylineEntity* polyline = AcDbPolylineEntity::cast(&entity)) {
        if (polylineKind(*polyline) == PolylineKind::Flat) {
            return bulgeBox(flatPolylineGeometry(*polyline), matrix);
        }
        return pointsBox(spatialPolylineGeometry(*polyline).points, matrix);
    }
    if (const AcDbSpline* spline = AcDbSpline::cast(&entity)) {
        return ge::extents(ge::transformed(splineGeometry(*spline), matrix));
    }
    if (isInfiniteLine(entity)) {
        return ge::ExtentsResult::unbounded();
    }
    if (const AcDbText* text = AcDbText::cast(&entity)) {
        return cornersBox(textCorners(*text), matrix);
    }
    if (const AcDbMText* text = AcDbMText::cast(&entity)) {
        return cornersBox(mtextCorners(*text), matrix);
    }
    if (const AcDbBlockReference* reference = AcDbBlockReference::cast(&entity)) {
        return referenceExtents(*reference, matrix, depth);
    }
    if (const AcDbDimension* dimension = AcDbDimension::cast(&entity)) {
        if (depth >= kMaxBlockNesting || dimension->database() == nullptr) {
            return ge::ExtentsResult::empty();
        }
        const AcDbObjectId block =
            findBlockRecord(*dimension->database(), dimension->dimBlockId(), dimension->dimBlockName());
        if (!block.isNull()) {
            return blockExtents(*dimension->database(), block, matrix, depth + 1);
        }
    }
    // Points, frames, hatches and the rest: the box of their own box's corners.
    AcDbExtents box;
    if (entity.getGeomExtents(box) != Acad::eOk) {
        return ge::ExtentsResult::empty();
    }
    box.transformBy(matrix);
    return ge::ExtentsResult::finite(box);
}

ge::ExtentsResult blockExtents(const AcDbDatabase& database, AcDbObjectId block,
                               const AcGeMatrix3d& transform, int depth) {
    const auto* record = AcDbBlockTableRecord::cast(database.peekObject(block));
    if (record == nullptr) {
        return ge::ExtentsResult::empty();
    }
    ge::ExtentsResult result = ge::ExtentsResult::empty();
    for (const AcDbObjectId& id : record->entityIds()) {
        const AcDbEntity* entity = AcDbEntity::cast(database.peekObject(id));
        if (entity == nullptr || entity->isKindOf(AcDbAttributeDefinition::desc())) {
            continue;
        }
        const ge::ExtentsResult part = transformedExtents(*entity, &transform, depth);
        if (part.kind == ge::ExtentsKind::Unbounded) {
            return part;
        }
        if (part.isFinite()) {
            result.box.addExt(part.box);
            result.kind = ge::ExtentsKind::Finite;
        }
    }
    return result;
}

AcDbObjectId findBlockRecord(const AcDbDatabase& database, AcDbObjectId fromTable, const std::wstring& name) {
    if (!fromTable.isNull() || name.empty()) {
        return fromTable;
    }
    for (const AcDbObjectId& id : database.blockRecordIds()) {
        const auto* record = AcDbBlockTableRecord::cast(database.peekObject(id));
        std::wstring recordName;
        if (record != nullptr && record->getName(recordName) == Acad::eOk &&
            platform::equalsIgnoringAsciiCase(recordName, name)) {
            return id;
        }
    }
    return {};
}

double similarityScale(const AcGeMatrix3d& transform) {
    if (!transform.isUniScaledOrtho()) {
        return 0.0;
    }
    return (transform * AcGeVector3d::kXAxis).length();
}

bool mirrorTextEnabled(const AcDbEntity& entity) {
    const AcDbDatabase* database = entity.database();
    if (database == nullptr) {
        return false;
    }
    const HeaderVariable* variable = database->headerVariable("$MIRRTEXT");
    if (variable == nullptr || variable->values.empty()) {
        return false;
    }
    return variable->values.front().integer != 0;
}

double normalizedAngle(double angle) {
    double result = std::fmod(angle, kFullTurn);
    if (result < 0.0) {
        result += kFullTurn;
    }
    return result >= kFullTurn ? 0.0 : result;
}

void deletePieces(AcDbVoidPtrArray& pieces, std::size_t from) {
    for (std::size_t index = from; index < pieces.size(); ++index) {
        delete static_cast<AcDbEntity*>(pieces[index]);
    }
    pieces.resize(from);
}

namespace {

using EntityMaker = std::function<AcDbEntity*()>;

template <class T>
std::pair<const AcRxClass*, EntityMaker> maker() {
    return {T::desc(), [] { return new T(); }};
}

const std::unordered_map<const AcRxClass*, EntityMaker>& entityMakers() {
    static const std::unordered_map<const AcRxClass*, EntityMaker> kMakers{
        maker<AcDbLine>(),
        maker<AcDbRay>(),
        maker<AcDbXline>(),
        maker<AcDbCircle>(),
        maker<AcDbArc>(),
        maker<AcDbEllipse>(),
        maker<AcDbPolyline>(),
        maker<AcDb2dPolyline>(),
        maker<AcDb3dPolyline>(),
        maker<AcDbPolyFaceMesh>(),
        maker<AcDbPolygonMesh>(),
        maker<AcDbVertex>(),
        maker<AcDb2dVertex>(),
        maker<AcDb3dPolylineVertex>(),
        maker<AcDbPolygonMeshVertex>(),
        maker<AcDbPolyFaceMeshVertex>(),
        maker<AcDbFaceRecord>(),
        maker<AcDbSpline>(),
        maker<AcDbText>(),
        maker<AcDbAttribute>(),
        maker<AcDbAttributeDefinition>(),
        maker<AcDbMText>(),
        maker<AcDbShape>(),
        maker<AcDbPoint>(),
        maker<AcDbHatch>(),
        maker<AcDbRegion>(),
        maker<AcDbMline>(),
        maker<AcDbBlockReference>(),
        maker<AcDbRasterImage>(),
        maker<AcDbWipeout>(),
        maker<AcDbViewport>(),
        maker<AcDbAlignedDimension>(),
        maker<AcDbRotatedDimension>(),
        maker<AcDb2LineAngularDimension>(),
        maker<AcDb3PointAngularDimension>(),
        maker<AcDbDiametricDimension>(),
        maker<AcDbRadialDimension>(),
        maker<AcDbOrdinateDimension>(),
        maker<AcDbArcDimension>(),
        maker<AcDbDimension>()};
    return kMakers;
}

} // namespace

AcDbEntity* copyThroughGroups(const AcDbEntity& entity) {
    const auto found = entityMakers().find(entity.isA());
    if (found == entityMakers().end()) {
        return nullptr;
    }
    std::unique_ptr<AcDbEntity> copy(found->second());
    const dxf::TextCodec fallbackCodec;
    const dxf::TextCodec& codec =
        entity.database() != nullptr ? entity.database()->textCodec() : fallbackCodec;
    const int version = entity.database() != nullptr ? entity.database()->version() : kVersionR2010;
    TextContext context(codec);
    dxf::TagCollector collector;
    writeObjectTags(entity, collector, context, version);
    ObjectReader reader(context);
    reader.begin(*copy);
    for (std::size_t index = 1; index < collector.tags().size(); ++index) {
        const dxf::OwnedTag& tag = collector.tags()[index];
        // The copy is a new object: it takes no handle, owner or reactors from the original.
        if (tag.code == 5 || tag.code == 330 || tag.code == 360) {
            continue;
        }
        reader.add(tag.view());
    }
    reader.finish();
    return copy.release();
}

} // namespace cad::db

// ---- AcDbEntity defaults ----

// Unmodelled kinds (3DFACE, SOLID, TRACE, LEADER, proxies) are measured by the points among their
// groups: x in 10-18, y in 20-28, z in 30-38 of the same point.
Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
    AcDbExtents box;
    bool any = false;
    const std::vector<cad::dxf::OwnedTag>& tags = extraTags();
    for (std::size_t index = 0; index < tags.size(); ++index) {
        const int code = tags[index].code;
        if (code < 10 || code > 18) {
            continue;
        }
        AcGePoint3d point(tags[index].real, 0.0, 0.0);
        for (std::size_t next = index + 1; next < tags.size() && next <= index + 2; ++next) {
            if (tags[next].code == code + 10) {
                point.y = tags[next].real;
            } else if (tags[next].code == code + 20) {
                point.z = tags[next].real;
            }
        }
        box.addPoint(point);
        any = true;
    }
    if (!any) {
        return Acad::eInvalidExtents;
    }
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}

AcDbEntity* AcDbEntity::clone() const {
    std::unique_ptr<AcDbEntity> copy(cad::db::copyThroughGroups(*this));
    if (copy == nullptr || !cad::db::copySubEntities(*this, *copy)) {
        return nullptr;
    }
    return copy.release();
}

AcDbSequence::AcDbSequence(const AcDbSequence& other)
    : entities(other.entities), sequenceEnd(other.sequenceEnd) {
    for (const std::unique_ptr<AcDbEntity>& child : other.pending) {
        pending.emplace_back(child->clone());
    }
}
