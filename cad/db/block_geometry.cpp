// Geometry of the kinds drawn by a block: INSERT (the block's contents through the reference's
// transform) and the dimensions (their anonymous block, already in world coordinates), plus the value a
// dimension measures, recomputed from its definition points when a transform changes them.
#include "cad/db/block_geometry.h"

#include "cad/db/curve_geometry.h"
#include "cad/db/shared_geometry.h"
#include "cad/db/sub_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace {

using platform::kDegreesPerRadian;

AcGeMatrix3d diagonalScale(const AcGeScale3d& scale) {
    AcGeMatrix3d matrix;
    return scale.getMatrix(matrix);
}

// `target` (a copy of `source`) with every vertex of `source` carried by an affine `transform`; false
// when the transform flattens the polyline's plane.
bool stretchPolyline(AcDbPolyline& target, const AcDbPolyline& source, const AcGeMatrix3d& transform) {
    const cad::ge::OcsAxes axes = cad::ge::ocsAxes(source.normal());
    const AcGeVector3d normal = (transform * axes.xAxis).crossProduct(transform * axes.yAxis);
    if (normal.isZeroLength()) {
        return false;
    }
    double elevation = 0.0;
    for (unsigned int index = 0; index < source.numVerts(); ++index) {
        AcGePoint2d point;
        source.getPointAt(index, point);
        const AcGePoint3d world =
            transform * cad::ge::ocsToWcs(AcGePoint3d(point.x, point.y, source.elevation()), source.normal());
        const AcGePoint3d local = cad::ge::wcsToOcs(world, normal.normal());
        target.setPointAt(index, AcGePoint2d(local.x, local.y));
        elevation = local.z;
    }
    target.setNormal(normal);
    target.setElevation(elevation);
    return true;
}

// A copy of `entity` carried by `transform`. Circles and arcs under a transform that does not keep them
// round become ellipses, and bulged polylines become their pieces, as the host explodes such blocks.
Acad::ErrorStatus appendTransformedCopy(const AcDbEntity& entity, const AcGeMatrix3d& transform,
                                        AcDbVoidPtrArray& pieces) {
    std::unique_ptr<AcDbEntity> copy(entity.clone());
    if (copy == nullptr) {
        return Acad::eCannotExplodeEntity;
    }
    if (copy->transformBy(transform) == Acad::eOk) {
        pieces.push_back(copy.release());
        return Acad::eOk;
    }
    std::optional<cad::ge::EllipseArc> ellipse;
    if (const AcDbArc* arc = AcDbArc::cast(&entity)) {
        ellipse = cad::ge::transformed(cad::ge::toEllipse(cad::db::arcGeometry(*arc)), transform);
    } else if (const AcDbCircle* circle = AcDbCircle::cast(&entity)) {
        ellipse = cad::ge::transformed(cad::ge::toEllipse(cad::db::circleGeometry(*circle)), transform);
    }
    // A transform that scales only across the arc's plane (a block stretched in Z) leaves it round.
    if (ellipse) {
        AcDbEntity* piece = cad::db::makeConicEntity(*ellipse, entity);
        if (piece == nullptr) {
            return Acad::eCannotExplodeEntity;
        }
        pieces.push_back(piece);
        return Acad::eOk;
    }
    // Straight segments stay straight under any transform: such a polyline is carried whole, in the
    // plane the transform makes of its own.
    if (const AcDbPolyline* polyline = AcDbPolyline::cast(&entity);
        polyline != nullptr && polyline->isOnlyLines()) {
        if (stretchPolyline(*static_cast<AcDbPolyline*>(copy.get()), *polyline, transform)) {
            pieces.push_back(copy.release());
            return Acad::eOk;
        }
    }
    AcDbVoidPtrArray parts;
    const bool flatPolyline =
        entity.isKindOf(AcDbPolyline::desc()) || entity.isKindOf(AcDb2dPolyline::desc());
    if (flatPolyline && entity.explode(parts) == Acad::eOk) {
        Acad::ErrorStatus status = Acad::eOk;
        for (void* part : parts) {
            std::unique_ptr<AcDbEntity> owned(static_cast<AcDbEntity*>(part));
            if (status == Acad::eOk) {
                status = appendTransformedCopy(*owned, transform, pieces);
            }
        }
        return status;
    }
    return Acad::eCannotExplodeEntity;
}

// The angle of a world direction in the plane of `normal`, measured from that plane's X axis.
double planeAngle(const AcGeVector3d& direction, const AcGeVector3d& normal) {
    const AcGeVector3d local = cad::ge::wcsToOcs(direction, normal);
    return std::atan2(local.y, local.x);
}

// The length of the arc between the extension line points. They split the circle into two arcs; the
// measured one runs counter-clockwise from the first point unless its middle falls outside the arc the
// dimension belongs to (its start and end parameters), in which case it is the other one.
double arcLength(const AcDbArcDimension& dimension) {
    const AcGeVector3d normal = dimension.normal();
    const AcGeVector3d toFirst = dimension.xLine1Point() - dimension.centerPoint();
    const AcGeVector3d toSecond = dimension.xLine2Point() - dimension.centerPoint();
    const double first = planeAngle(toFirst, normal);
    double sweep = cad::db::normalizedAngle(planeAngle(toSecond, normal) - first);
    if (sweep == 0.0 && !toFirst.isZeroLength()) {
        sweep = cad::db::kFullTurn;
    }
    const double arcSweep = cad::db::normalizedAngle(dimension.arcEndParam() - dimension.arcStartParam());
    if (arcSweep > 0.0 &&
        cad::db::normalizedAngle(first + sweep / 2.0 - dimension.arcStartParam()) > arcSweep) {
        sweep = cad::db::kFullTurn - sweep;
    }
    return toFirst.length() * sweep;
}

} // namespace

namespace cad::db {

// Distances and angles by kind; the host's own stored value where the kind keeps its geometry elsewhere.
double measuredValue(const AcDbDimension& dimension) {
    // An arc length dimension carries the angular kind in group 70; its own class tells it apart.
    if (const AcDbArcDimension* arc = AcDbArcDimension::cast(&dimension)) {
        return arcLength(*arc);
    }
    const AcGePoint3d p10 = dimension.definitionPoint();
    switch (dimension.dimensionKind()) {
    case 0: {
        const auto& rotated = static_cast<const AcDbRotatedDimension&>(dimension);
        const AcGeVector3d along(std::cos(rotated.rotation()), std::sin(rotated.rotation()), 0.0);
        return std::fabs((rotated.xLine2Point() - rotated.xLine1Point()).dotProduct(along));
    }
    case 1: {
        const auto& aligned = static_cast<const AcDbAlignedDimension&>(dimension);
        return aligned.xLine1Point().distanceTo(aligned.xLine2Point());
    }
    case 2: {
        const auto& angular = static_cast<const AcDb2LineAngularDimension&>(dimension);
        return (angular.xLine1End() - angular.xLine1Start())
            .angleTo(angular.xLine2End() - angular.xLine2Start());
    }
    case 3:
    case 4:
        return (dimension.dimensionKind() == 3
                    ? static_cast<const AcDbDiametricDimension&>(dimension).chordPoint()
                    : static_cast<const AcDbRadialDimension&>(dimension).chordPoint())
            .distanceTo(p10);
    case 5: {
        const auto& angular = static_cast<const AcDb3PointAngularDimension&>(dimension);
        return (angular.xLine1Point() - angular.centerPoint())
            .angleTo(angular.xLine2Point() - angular.centerPoint());
    }
    case 6: {
        const auto& ordinate = static_cast<const AcDbOrdinateDimension&>(dimension);
        const AcGeVector3d offset = ordinate.definingPoint() - ordinate.origin();
        return std::fabs(ordinate.isUsingXAxis() ? offset.x : offset.y);
    }
    default:
        return dimension.measurement();
    }
}

} // namespace cad::db

// ---- Dimension kinds: which definition point plays which part ----

AcGePoint3d AcDb2LineAngularDimension::xLine1Start() const {
    return m_point13;
}
AcGePoint3d AcDb2LineAngularDimension::xLine1End() const {
    return m_point14;
}
AcGePoint3d AcDb2LineAngularDimension::xLine2Start() const {
    return m_point15;
}
AcGePoint3d AcDb2LineAngularDimension::xLine2End() const {
    return m_definitionPoint;
}
AcGePoint3d AcDb2LineAngularDimension::arcPoint() const {
    return cad::ge::ocsToWcs(m_point16, m_normal);
}
AcGePoint3d AcDb3PointAngularDimension::centerPoint() const {
    return m_point15;
}
AcGePoint3d AcDb3PointAngularDimension::xLine1Point() const {
    return m_point13;
}
AcGePoint3d AcDb3PointAngularDimension::xLine2Point() const {
    return m_point14;
}
AcGePoint3d AcDbOrdinateDimension::origin() const {
    return m_definitionPoint;
}
AcGePoint3d AcDbOrdinateDimension::definingPoint() const {
    return m_point13;
}
// Group 70 bit 64: the dimension gives the X coordinate of its feature.
bool AcDbOrdinateDimension::isUsingXAxis() const {
    return (m_type & 64) != 0;
}

// ---- INSERT ----

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    AcGePoint3d base;
    if (const AcDbDatabase* owner = database()) {
        if (const auto* record = AcDbBlockTableRecord::cast(
                owner->peekObject(cad::db::findBlockRecord(*owner, blockTableRecord(), blockName())))) {
            base = record->origin();
        }
    }
    return AcGeMatrix3d::planeToWorld(m_normal) * AcGeMatrix3d::translation(m_position.asVector()) *
           AcGeMatrix3d::rotation(rotation(), AcGeVector3d::kZAxis) * diagonalScale(scaleFactors()) *
           AcGeMatrix3d::translation(-base.asVector());
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const {
    const AcDbDatabase* owner = database();
    if (owner == nullptr) {
        return Acad::eInvalidExtents;
    }
    const AcGeMatrix3d transform = blockTransform();
    cad::ge::ExtentsResult result = cad::db::blockExtents(
        *owner, cad::db::findBlockRecord(*owner, blockTableRecord(), blockName()), transform, 1);
    // A rectangular array repeats the contents at its column and row spacing in the reference's plane.
    if (result.isFinite() && (m_columns > 1 || m_rows > 1)) {
        const AcGeMatrix3d turn =
            AcGeMatrix3d::planeToWorld(m_normal) * AcGeMatrix3d::rotation(rotation(), AcGeVector3d::kZAxis);
        const AcGeVector3d columnStep = turn * AcGeVector3d(m_columnSpacing, 0.0, 0.0);
        const AcGeVector3d rowStep = turn * AcGeVector3d(0.0, m_rowSpacing, 0.0);
        result.box.expandBy(columnStep * (std::max<int>(m_columns, 1) - 1));
        AcDbExtents swept = result.box;
        swept.expandBy(rowStep * (std::max<int>(m_rows, 1) - 1));
        result.box = swept;
    }
    for (const AcDbEntity* attribute : cad::db::subEntities(*this)) {
        AcDbExtents box;
        if (attribute->visibility() == AcDb::kVisible && attribute->getGeomExtents(box) == Acad::eOk) {
            result.box.addExt(box);
            result.kind = cad::ge::ExtentsKind::Finite;
        }
    }
    return cad::db::reportExtents(result, extents);
}

// The new block transform is the old one followed by `transform`; it is taken apart again into an
// insertion point, a normal, a rotation and three scale factors (a mirrored reference gets a negative X
// scale). A transform that would shear the block cannot be taken apart: eNotApplicable.
Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const AcGeMatrix3d placed =
        transform * AcGeMatrix3d::planeToWorld(m_normal) * AcGeMatrix3d::translation(m_position.asVector()) *
        AcGeMatrix3d::rotation(rotation(), AcGeVector3d::kZAxis) * diagonalScale(scaleFactors());
    const AcGeVector3d xColumn = placed * AcGeVector3d::kXAxis;
    const AcGeVector3d yColumn = placed * AcGeVector3d::kYAxis;
    const AcGeVector3d zColumn = placed * AcGeVector3d::kZAxis;
    const AcGeVector3d mappedNormal = transform * m_normal;
    if (xColumn.isZeroLength() || yColumn.isZeroLength() || mappedNormal.isZeroLength()) {
        return Acad::eNotApplicable;
    }
    const AcGeVector3d normal = mappedNormal.normal();
    const double tolerance = 1e-9 * xColumn.length() * yColumn.length();
    if (std::fabs(xColumn.dotProduct(yColumn)) > tolerance ||
        std::fabs(xColumn.dotProduct(normal)) > 1e-9 * xColumn.length()) {
        return Acad::eNotApplicable;
    }
    double angle = std::atan2(cad::ge::wcsToOcs(xColumn, normal).y, cad::ge::wcsToOcs(xColumn, normal).x);
    double scaleX = xColumn.length();
    const AcGeVector3d yDirection = normal.crossProduct(xColumn.normal());
    double scaleY = yColumn.dotProduct(yDirection);
    if (scaleY < 0.0) {
        scaleX = -scaleX;
        scaleY = -scaleY;
        angle += std::numbers::pi;
    }
    const double scaleZ = zColumn.dotProduct(normal);
    m_normal = normal;
    m_position = cad::ge::wcsToOcs(placed * AcGePoint3d::kOrigin, normal);
    m_rotationDegrees = cad::db::normalizedAngle(angle) * kDegreesPerRadian;
    m_scale.set(scaleX, scaleY, scaleZ);
    const double spacingScale = cad::db::similarityScale(transform);
    if (spacingScale > 0.0) {
        m_columnSpacing *= spacingScale;
        m_rowSpacing *= spacingScale;
    }
    cad::db::editSubEntities(*this, [&](AcDbEntity& attribute) { attribute.transformBy(transform); });
    return Acad::eOk;
}

// The block's entities (attribute definitions included, as the host turns attributes back into their
// definitions) carried by the block transform. Arrays (MINSERT) do not explode.
Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entitySet) const {
    const AcDbDatabase* owner = database();
    if (owner == nullptr || m_columns > 1 || m_rows > 1) {
        return Acad::eNotApplicable;
    }
    const auto* record = AcDbBlockTableRecord::cast(
        owner->peekObject(cad::db::findBlockRecord(*owner, blockTableRecord(), blockName())));
    if (record == nullptr) {
        return Acad::eInvalidInput;
    }
    const AcGeMatrix3d transform = blockTransform();
    const std::size_t first = entitySet.size();
    for (const AcDbObjectId& id : record->entityIds()) {
        const AcDbEntity* entity = AcDbEntity::cast(owner->peekObject(id));
        if (entity == nullptr) {
            continue;
        }
        const Acad::ErrorStatus status = appendTransformedCopy(*entity, transform, entitySet);
        if (status != Acad::eOk) {
            cad::db::deletePieces(entitySet, first);
            return status;
        }
    }
    return Acad::eOk;
}

bool AcDbBlockReference::isPlanar() const {
    return false;
}

// ---- DIMENSION ----

Acad::ErrorStatus AcDbDimension::getGeomExtents(AcDbExtents& extents) const {
    const AcDbDatabase* owner = database();
    const AcDbObjectId block =
        owner != nullptr ? cad::db::findBlockRecord(*owner, dimBlockId(), m_blockName) : AcDbObjectId();
    if (!block.isNull()) {
        return cad::db::reportExtents(cad::db::blockExtents(*owner, block, AcGeMatrix3d::kIdentity, 1),
                                      extents);
    }
    // No graphics block: the definition points are all there is to measure.
    AcDbExtents box;
    for (const AcGePoint3d& point :
         {m_definitionPoint, cad::ge::ocsToWcs(m_textPosition, m_normal), m_point13, m_point14, m_point15}) {
        box.addPoint(point);
    }
    extents = box;
    return Acad::eOk;
}

// The definition points move with the dimension, and so do the graphics in its own block, which no
// other entity shares; the measured value follows the new geometry.
Acad::ErrorStatus AcDbDimension::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const AcGeVector3d mappedNormal = transform * m_normal;
    if (mappedNormal.isZeroLength()) {
        return Acad::eInvalidInput;
    }
    const AcGeVector3d normal = mappedNormal.normal();
    const AcGeVector3d oldDirection(std::cos(m_angleDegrees / kDegreesPerRadian),
                                    std::sin(m_angleDegrees / kDegreesPerRadian), 0.0);
    m_definitionPoint = transform * m_definitionPoint;
    m_textPosition = cad::ge::wcsToOcs(transform * cad::ge::ocsToWcs(m_textPosition, m_normal), normal);
    m_point16 = cad::ge::wcsToOcs(transform * cad::ge::ocsToWcs(m_point16, m_normal), normal);
    m_point13 = transform * m_point13;
    m_point14 = transform * m_point14;
    m_point15 = transform * m_point15;
    const AcGeVector3d newDirection = transform * oldDirection;
    if (!newDirection.isZeroLength()) {
        m_angleDegrees = std::atan2(newDirection.y, newDirection.x) * kDegreesPerRadian;
    }
    m_normal = normal;
    m_measurement = cad::db::measuredValue(*this);
    AcDbDatabase* owner = database();
    AcDbBlockTableRecord* record = nullptr;
    const AcDbObjectId block =
        owner != nullptr ? cad::db::findBlockRecord(*owner, dimBlockId(), m_blockName) : AcDbObjectId();
    if (!block.isNull() && m_blockName.rfind(L"*", 0) == 0 &&
        cad::db::openObjectAs(record, block, AcDb::kForRead) == Acad::eOk) {
        for (const AcDbObjectId& id : record->entityIds()) {
            AcDbEntity* entity = nullptr;
            if (cad::db::openObjectAs(entity, id, AcDb::kForWrite) != Acad::eOk) {
                continue;
            }
            entity->transformBy(transform);
            entity->close();
        }
        record->close();
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::explode(AcDbVoidPtrArray& entitySet) const {
    const AcDbDatabase* owner = database();
    const auto* record = owner != nullptr ? AcDbBlockTableRecord::cast(owner->peekObject(
                                                cad::db::findBlockRecord(*owner, dimBlockId(), m_blockName)))
                                          : nullptr;
    if (record == nullptr) {
        return Acad::eCannotExplodeEntity;
    }
    const std::size_t first = entitySet.size();
    for (const AcDbObjectId& id : record->entityIds()) {
        const AcDbEntity* entity = AcDbEntity::cast(owner->peekObject(id));
        if (entity == nullptr) {
            continue;
        }
        AcDbEntity* copy = entity->clone();
        if (copy == nullptr) {
            cad::db::deletePieces(entitySet, first);
            return Acad::eCannotExplodeEntity;
        }
        entitySet.push_back(copy);
    }
    return Acad::eOk;
}

bool AcDbDimension::isPlanar() const {
    return true;
}

// The arc's parameters are angles in the dimension's plane: they turn with it, and a mirror image runs
// the other way round, so start and end trade places.
Acad::ErrorStatus AcDbArcDimension::transformBy(const AcGeMatrix3d& transform) {
    const AcGeVector3d oldNormal = m_normal;
    const Acad::ErrorStatus status = AcDbDimension::transformBy(transform);
    if (status != Acad::eOk) {
        return status;
    }
    auto turned = [&](double angle) {
        const AcGeVector3d direction =
            cad::ge::ocsToWcs(AcGeVector3d(std::cos(angle), std::sin(angle), 0.0), oldNormal);
        const AcGeVector3d moved = transform * direction;
        return moved.isZeroLength() ? angle : cad::db::normalizedAngle(planeAngle(moved, m_normal));
    };
    const double start = turned(m_arcStartParameter);
    const double end = turned(m_arcEndParameter);
    const bool mirrored = transform.det() < 0.0;
    m_arcStartParameter = mirrored ? end : start;
    m_arcEndParameter = mirrored ? start : end;
    m_measurement = cad::db::measuredValue(*this);
    return Acad::eOk;
}
