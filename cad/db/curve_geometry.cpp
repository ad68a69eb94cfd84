// Extents, curve queries, transforms and explode of the curve entities. Every member converts the
// entity into its kernel curve (world coordinates, radians), asks the kernel, and for transforms writes
// the transformed curve back in the entity's own storage (object coordinates, degrees).
#include "cad/db/curve_geometry.h"

#include "cad/db/shared_geometry.h"
#include "cad/db/sub_entities.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

using platform::kDegreesPerRadian;

template <class Value>
Acad::ErrorStatus answer(const std::optional<Value>& value, Value& result) {
    if (!value) {
        return Acad::eInvalidInput;
    }
    result = *value;
    return Acad::eOk;
}

AcGeVector3d transformedNormal(const AcGeVector3d& normal, const AcGeMatrix3d& transform) {
    const AcGeVector3d mapped = transform * normal;
    return mapped.isZeroLength() ? normal : mapped.normal();
}

} // namespace

namespace cad::db {

ge::CircularArc circleGeometry(const AcDbCircle& circle) {
    return ge::makeCircle(circle.center(), circle.radius(), circle.normal());
}

ge::CircularArc arcGeometry(const AcDbArc& arc) {
    ge::CircularArc result;
    result.center = arc.center();
    result.radius = arc.radius();
    result.startAngle = arc.startAngle();
    result.endAngle = arc.endAngle();
    result.normal = arc.normal();
    return result;
}

ge::EllipseArc ellipseGeometry(const AcDbEllipse& ellipse) {
    ge::EllipseArc result;
    result.center = ellipse.center();
    result.majorAxis = ellipse.majorAxis();
    result.normal = ellipse.normal();
    result.radiusRatio = ellipse.radiusRatio();
    result.startParam = ellipse.startParam();
    result.endParam = ellipse.endParam();
    return result;
}

ge::BulgePolyline polylineGeometry(const AcDbPolyline& polyline) {
    ge::BulgePolyline result;
    result.vertices.reserve(polyline.vertices().size());
    for (const AcDbPolylineVertex& vertex : polyline.vertices()) {
        result.vertices.push_back({vertex.point, vertex.bulge});
    }
    result.closed = polyline.isClosed();
    result.elevation = polyline.elevation();
    result.normal = polyline.normal();
    return result;
}

ge::NurbsCurve splineGeometry(const AcDbSpline& spline) {
    ge::NurbsCurve result;
    result.degree = spline.degree();
    result.knots = spline.knots();
    result.controlPoints = spline.controlPoints();
    if (spline.weights().size() == spline.controlPoints().size()) {
        result.weights = spline.weights();
    }
    result.fitPoints = spline.fitPoints();
    return result;
}

PolylineKind polylineKind(const AcDbPolylineEntity& polyline) {
    const int flags = polyline.polylineFlags();
    if ((flags & 64) != 0) {
        return PolylineKind::PolyfaceMesh;
    }
    if ((flags & 16) != 0) {
        return PolylineKind::PolygonMesh;
    }
    return (flags & 8) != 0 ? PolylineKind::Spatial : PolylineKind::Flat;
}

std::vector<const AcDbVertex*> polylineVertices(const AcDbPolylineEntity& polyline) {
    std::vector<const AcDbVertex*> vertices;
    forEachSubEntity(polyline, [&](const AcDbEntity& child) {
        const AcDbVertex* vertex = AcDbVertex::cast(&child);
        // 16: a spline frame control point, not on the curve; 128 without 64: a polyface face record.
        if (vertex != nullptr && (vertex->vertexFlags() & 16) == 0 && (vertex->vertexFlags() & 192) != 128) {
            vertices.push_back(vertex);
        }
    });
    return vertices;
}

ge::BulgePolyline flatPolylineGeometry(const AcDbPolylineEntity& polyline) {
    ge::BulgePolyline result;
    for (const AcDbVertex* vertex : polylineVertices(polyline)) {
        const AcGePoint3d position = vertex->position();
        result.vertices.push_back({AcGePoint2d(position.x, position.y), vertex->bulge()});
    }
    result.closed = polyline.isClosed();
    result.elevation = polyline.elevation();
    result.normal = polyline.normal();
    return result;
}

ge::Polyline3d spatialPolylineGeometry(const AcDbPolylineEntity& polyline) {
    ge::Polyline3d result;
    for (const AcDbVertex* vertex : polylineVertices(polyline)) {
        result.points.push_back(vertex->position());
    }
    result.closed = polyline.isClosed();
    return result;
}

void copyCommonProperties(const AcDbEntity& source, AcDbEntity& target) {
    target.setLayer(source.layerName().c_str());
    target.setColorIndex(source.colorIndex());
    if (source.trueColor() >= 0) {
        target.setTrueColor(source.trueColor());
    }
    target.setLinetype(source.linetype().c_str());
    target.setLinetypeScale(source.linetypeScale());
    target.setLineWeight(source.lineWeight());
    target.setVisibility(source.visibility());
}

AcDbEntity* makeLineEntity(const ge::LineSegment& line, const AcDbEntity& source) {
    auto* entity = new AcDbLine(line.start, line.end);
    copyCommonProperties(source, *entity);
    return entity;
}

AcDbEntity* makeArcEntity(const ge::CircularArc& arc, const AcDbEntity& source) {
    // Built in the arc's own plane and carried into the world, so the normal and the object-system
    // angles come out as the arc has them.
    std::unique_ptr<AcDbEntity> entity;
    const AcGePoint3d center = ge::wcsToOcs(arc.center, arc.normal);
    if (arc.fullCircle) {
        entity = std::make_unique<AcDbCircle>(center, AcGeVector3d::kZAxis, arc.radius);
    } else {
        entity = std::make_unique<AcDbArc>(center, arc.radius, arc.startAngle, arc.endAngle);
    }
    if (!ge::isWorldNormal(arc.normal) &&
        entity->transformBy(AcGeMatrix3d::planeToWorld(arc.normal)) != Acad::eOk) {
        return nullptr;
    }
    copyCommonProperties(source, *entity);
    return entity.release();
}

AcDbEntity* makeEllipseEntity(const ge::EllipseArc& ellipse, const AcDbEntity& source) {
    auto* entity = new AcDbEllipse();
    entity->set(ellipse.center, ellipse.normal, ellipse.majorAxis, ellipse.radiusRatio,
                ge::angleFromParameter(ellipse.radiusRatio, ellipse.startParam),
                ge::angleFromParameter(ellipse.radiusRatio, ellipse.endParam));
    copyCommonProperties(source, *entity);
    return entity;
}

// A round ellipse's parameters are angles from its major axis; the arc's angles are counted from the
// X axis of the object system of the normal.
AcDbEntity* makeConicEntity(const ge::EllipseArc& ellipse, const AcDbEntity& source) {
    if (std::fabs(ellipse.radiusRatio - 1.0) > 1e-9) {
        return makeEllipseEntity(ellipse, source);
    }
    const AcGeVector3d axis = ge::wcsToOcs(ellipse.majorAxis, ellipse.normal);
    const double offset = std::atan2(axis.y, axis.x);
    ge::CircularArc arc;
    arc.center = ellipse.center;
    arc.radius = ellipse.majorAxis.length();
    arc.normal = ellipse.normal;
    arc.startAngle = normalizedAngle(ellipse.startParam + offset);
    arc.endAngle = normalizedAngle(ellipse.endParam + offset);
    arc.fullCircle = ellipse.endParam - ellipse.startParam >= ge::EllipseArc::kFullTurn - 1e-9;
    return makeArcEntity(arc, source);
}

} // namespace cad::db

using cad::db::reportExtents;
using cad::db::similarityScale;

// ---- AcDbCurve defaults ----

Acad::ErrorStatus AcDbCurve::getStartParam(double&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getEndParam(double&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getPointAtParam(double, AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getDistAtParam(double, double&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbCurve::getArea(double&) const {
    return Acad::eNotApplicable;
}
bool AcDbCurve::isClosed() const {
    AcGePoint3d start;
    AcGePoint3d end;
    return getStartPoint(start) == Acad::eOk && getEndPoint(end) == Acad::eOk && start.isEqualTo(end);
}

// ---- LINE ----

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(
        cad::ge::ExtentsResult::finite(cad::ge::extents(cad::ge::LineSegment{m_start, m_end})), extents);
}
Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_start = transform * m_start;
    m_end = transform * m_end;
    m_normal = transformedNormal(m_normal, transform);
    m_thickness *= similarityScale(transform) > 0.0 ? similarityScale(transform) : 1.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbLine::isPlanar() const {
    return true;
}
Acad::ErrorStatus AcDbLine::getStartParam(double& parameter) const {
    parameter = 0.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndParam(double& parameter) const {
    parameter = m_start.distanceTo(m_end);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const {
    point = m_start;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const {
    point = m_end;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::ge::LineSegment{m_start, m_end}, parameter), point);
}
Acad::ErrorStatus AcDbLine::getDistAtParam(double parameter, double& distance) const {
    if (parameter < 0.0 || parameter > m_start.distanceTo(m_end) + AcGeContext::gTol.equalPoint()) {
        return Acad::eInvalidInput;
    }
    distance = parameter;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getArea(double& area) const {
    area = 0.0;
    return Acad::eOk;
}

// ---- RAY and XLINE ----

Acad::ErrorStatus AcDbRay::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::ExtentsResult::unbounded(), extents);
}
Acad::ErrorStatus AcDbRay::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const AcGeVector3d direction = transform * m_direction;
    if (direction.isZeroLength()) {
        return Acad::eInvalidInput;
    }
    m_base = transform * m_base;
    m_direction = direction.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbRay::isPlanar() const {
    return true;
}
// A ray starts at parameter 0 and never ends; a construction line has neither end.
Acad::ErrorStatus AcDbRay::getStartParam(double& parameter) const {
    if (isKindOf(AcDbXline::desc())) {
        return Acad::eNotApplicable;
    }
    parameter = 0.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getEndParam(double&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbRay::getStartPoint(AcGePoint3d& point) const {
    if (isKindOf(AcDbXline::desc())) {
        return Acad::eNotApplicable;
    }
    point = m_base;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getEndPoint(AcGePoint3d&) const {
    return Acad::eNotApplicable;
}
Acad::ErrorStatus AcDbRay::getPointAtParam(double parameter, AcGePoint3d& point) const {
    const cad::ge::RayLine ray{m_base, m_direction, isKindOf(AcDbXline::desc())};
    return answer(cad::ge::pointAtParameter(ray, parameter), point);
}
Acad::ErrorStatus AcDbRay::getDistAtParam(double parameter, double& distance) const {
    if (isKindOf(AcDbXline::desc()) || parameter < 0.0) {
        return Acad::eInvalidInput;
    }
    distance = parameter;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbRay::getArea(double& area) const {
    area = 0.0;
    return Acad::eOk;
}

// ---- CIRCLE ----

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::ExtentsResult::finite(cad::ge::extents(cad::db::circleGeometry(*this))),
                         extents);
}
Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const std::optional<cad::ge::CircularArc> moved =
        cad::ge::transformed(cad::db::circleGeometry(*this), transform);
    if (!moved) {
        return Acad::eNotApplicable;
    }
    m_normal = moved->normal;
    m_center = cad::ge::wcsToOcs(moved->center, m_normal);
    m_thickness *= moved->radius > 0.0 && m_radius > 0.0 ? moved->radius / m_radius : 1.0;
    m_radius = moved->radius;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbCircle::isPlanar() const {
    return true;
}
Acad::ErrorStatus AcDbCircle::getStartParam(double& parameter) const {
    parameter = 0.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getEndParam(double& parameter) const {
    parameter = cad::db::kFullTurn;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& point) const {
    point = cad::ge::startPoint(cad::db::circleGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& point) const {
    point = cad::ge::endPoint(cad::db::circleGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::circleGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbCircle::getDistAtParam(double parameter, double& distance) const {
    return answer(cad::ge::distanceAtParameter(cad::db::circleGeometry(*this), parameter), distance);
}
Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
    area = cad::ge::area(cad::db::circleGeometry(*this));
    return Acad::eOk;
}

// ---- ARC ----

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::ExtentsResult::finite(cad::ge::extents(cad::db::arcGeometry(*this))),
                         extents);
}
Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const std::optional<cad::ge::CircularArc> moved =
        cad::ge::transformed(cad::db::arcGeometry(*this), transform);
    if (!moved) {
        return Acad::eNotApplicable;
    }
    m_normal = moved->normal;
    m_center = cad::ge::wcsToOcs(moved->center, m_normal);
    m_thickness *= moved->radius > 0.0 && m_radius > 0.0 ? moved->radius / m_radius : 1.0;
    m_radius = moved->radius;
    m_startDegrees = cad::db::normalizedAngle(moved->startAngle) * kDegreesPerRadian;
    m_endDegrees = cad::db::normalizedAngle(moved->endAngle) * kDegreesPerRadian;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbArc::isPlanar() const {
    return true;
}
Acad::ErrorStatus AcDbArc::getStartParam(double& parameter) const {
    parameter = cad::ge::startParameter(cad::db::arcGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndParam(double& parameter) const {
    parameter = cad::ge::endParameter(cad::db::arcGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& point) const {
    point = cad::ge::startPoint(cad::db::arcGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& point) const {
    point = cad::ge::endPoint(cad::db::arcGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::arcGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbArc::getDistAtParam(double parameter, double& distance) const {
    return answer(cad::ge::distanceAtParameter(cad::db::arcGeometry(*this), parameter), distance);
}
Acad::ErrorStatus AcDbArc::getArea(double& area) const {
    area = cad::ge::area(cad::db::arcGeometry(*this));
    return Acad::eOk;
}

// ---- ELLIPSE ----

Acad::ErrorStatus AcDbEllipse::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::ExtentsResult::finite(cad::ge::extents(cad::db::ellipseGeometry(*this))),
                         extents);
}
Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const std::optional<cad::ge::EllipseArc> moved =
        cad::ge::transformed(cad::db::ellipseGeometry(*this), transform);
    if (!moved) {
        return Acad::eInvalidInput;
    }
    m_center = moved->center;
    m_majorAxis = moved->majorAxis;
    m_normal = moved->normal;
    m_ratio = moved->radiusRatio;
    m_startParameter = moved->startParam;
    m_endParameter = moved->endParam;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbEllipse::isPlanar() const {
    return true;
}
Acad::ErrorStatus AcDbEllipse::getStartParam(double& parameter) const {
    parameter = m_startParameter;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getEndParam(double& parameter) const {
    parameter = cad::ge::endParameter(cad::db::ellipseGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getStartPoint(AcGePoint3d& point) const {
    point = cad::ge::startPoint(cad::db::ellipseGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getEndPoint(AcGePoint3d& point) const {
    point = cad::ge::endPoint(cad::db::ellipseGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbEllipse::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::ellipseGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbEllipse::getDistAtParam(double parameter, double& distance) const {
    return answer(cad::ge::distanceAtParameter(cad::db::ellipseGeometry(*this), parameter), distance);
}
Acad::ErrorStatus AcDbEllipse::getArea(double& area) const {
    area = cad::ge::area(cad::db::ellipseGeometry(*this));
    return Acad::eOk;
}

// ---- LWPOLYLINE ----

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::extents(cad::db::polylineGeometry(*this)), extents);
}
Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const std::optional<cad::ge::BulgePolyline> moved =
        cad::ge::transformed(cad::db::polylineGeometry(*this), transform);
    if (!moved) {
        return Acad::eNotApplicable;
    }
    const double scale = similarityScale(transform) > 0.0 ? similarityScale(transform) : 1.0;
    for (std::size_t index = 0; index < m_vertices.size(); ++index) {
        m_vertices[index].point = moved->vertices[index].point;
        m_vertices[index].bulge = moved->vertices[index].bulge;
        m_vertices[index].startWidth *= scale;
        m_vertices[index].endWidth *= scale;
    }
    m_constantWidth *= scale;
    m_thickness *= scale;
    m_elevation = moved->elevation;
    m_normal = moved->normal;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entitySet) const {
    const std::size_t first = entitySet.size();
    for (const cad::ge::PolylineSegment& segment :
         cad::ge::explodeSegments(cad::db::polylineGeometry(*this))) {
        AcDbEntity* piece = std::holds_alternative<cad::ge::LineSegment>(segment)
                                ? cad::db::makeLineEntity(std::get<cad::ge::LineSegment>(segment), *this)
                                : cad::db::makeArcEntity(std::get<cad::ge::CircularArc>(segment), *this);
        if (piece == nullptr) {
            cad::db::deletePieces(entitySet, first);
            return Acad::eCannotExplodeEntity;
        }
        entitySet.push_back(piece);
    }
    return Acad::eOk;
}
bool AcDbPolyline::isPlanar() const {
    return true;
}
Acad::ErrorStatus AcDbPolyline::getStartParam(double& parameter) const {
    parameter = 0.0;
    return m_vertices.empty() ? Acad::eDegenerateGeometry : Acad::eOk;
}
Acad::ErrorStatus AcDbPolyline::getEndParam(double& parameter) const {
    parameter = cad::ge::endParameter(cad::db::polylineGeometry(*this));
    return m_vertices.empty() ? Acad::eDegenerateGeometry : Acad::eOk;
}
Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::polylineGeometry(*this), 0.0), point);
}
Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& point) const {
    const cad::ge::BulgePolyline geometry = cad::db::polylineGeometry(*this);
    return answer(cad::ge::pointAtParameter(geometry, cad::ge::endParameter(geometry)), point);
}
Acad::ErrorStatus AcDbPolyline::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::polylineGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbPolyline::getDistAtParam(double parameter, double& distance) const {
    return answer(cad::ge::distanceAtParameter(cad::db::polylineGeometry(*this), parameter), distance);
}
Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
    area = cad::ge::area(cad::db::polylineGeometry(*this));
    return Acad::eOk;
}

// ---- POLYLINE (2D, 3D and meshes) ----

Acad::ErrorStatus AcDbVertex::setBulge(double bulge) {
    return assignWhenWritable(m_bulge, bulge);
}

Acad::ErrorStatus AcDbPolylineEntity::getGeomExtents(AcDbExtents& extents) const {
    switch (cad::db::polylineKind(*this)) {
    case cad::db::PolylineKind::Flat:
        return reportExtents(cad::ge::extents(cad::db::flatPolylineGeometry(*this)), extents);
    default:
        return reportExtents(cad::ge::extents(cad::db::spatialPolylineGeometry(*this)), extents);
    }
}
Acad::ErrorStatus AcDbPolylineEntity::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const bool flat = cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat;
    std::optional<cad::ge::BulgePolyline> movedFlat;
    if (flat) {
        movedFlat = cad::ge::transformed(cad::db::flatPolylineGeometry(*this), transform);
        if (!movedFlat) {
            return Acad::eNotApplicable;
        }
    }
    const AcGeVector3d newNormal =
        movedFlat ? movedFlat->normal : transformedNormal(m_header.normal, transform);
    const bool mirrored = transform.det() < 0.0;
    // Every vertex, frame points included, moves; in a flat polyline they stay in object coordinates.
    cad::db::editSubEntities(*this, [&](AcDbEntity& child) {
        AcDbVertex* vertex = AcDbVertex::cast(&child);
        if (vertex == nullptr) {
            return;
        }
        if (flat) {
            const AcGePoint3d world = cad::ge::ocsToWcs(
                AcGePoint3d(vertex->position().x, vertex->position().y, m_header.elevationPoint.z),
                m_header.normal);
            AcGePoint3d local = cad::ge::wcsToOcs(transform * world, newNormal);
            vertex->setPosition(AcGePoint3d(local.x, local.y, 0.0));
            if (mirrored) {
                vertex->setBulge(-vertex->bulge());
            }
        } else {
            vertex->setPosition(transform * vertex->position());
        }
    });
    if (flat) {
        m_header.elevationPoint.z = movedFlat->elevation;
        m_header.normal = newNormal;
    }
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPolylineEntity::explode(AcDbVoidPtrArray& entitySet) const {
    const std::size_t first = entitySet.size();
    switch (cad::db::polylineKind(*this)) {
    case cad::db::PolylineKind::Flat:
        for (const cad::ge::PolylineSegment& segment :
             cad::ge::explodeSegments(cad::db::flatPolylineGeometry(*this))) {
            AcDbEntity* piece = std::holds_alternative<cad::ge::LineSegment>(segment)
                                    ? cad::db::makeLineEntity(std::get<cad::ge::LineSegment>(segment), *this)
                                    : cad::db::makeArcEntity(std::get<cad::ge::CircularArc>(segment), *this);
            if (piece == nullptr) {
                cad::db::deletePieces(entitySet, first);
                return Acad::eCannotExplodeEntity;
            }
            entitySet.push_back(piece);
        }
        return Acad::eOk;
    case cad::db::PolylineKind::Spatial:
        for (const cad::ge::LineSegment& segment :
             cad::ge::explodeSegments(cad::db::spatialPolylineGeometry(*this))) {
            entitySet.push_back(cad::db::makeLineEntity(segment, *this));
        }
        return Acad::eOk;
    default:
        // Meshes explode into faces, which this database does not model.
        return Acad::eNotApplicable;
    }
}
bool AcDbPolylineEntity::isPlanar() const {
    if (cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat) {
        return true;
    }
    cad::ge::NurbsCurve asPoints;
    asPoints.fitPoints = cad::db::spatialPolylineGeometry(*this).points;
    return cad::ge::isPlanar(asPoints);
}

namespace {
bool isCurveKind(const AcDbPolylineEntity& polyline) {
    const cad::db::PolylineKind kind = cad::db::polylineKind(polyline);
    return kind == cad::db::PolylineKind::Flat || kind == cad::db::PolylineKind::Spatial;
}
} // namespace

Acad::ErrorStatus AcDbPolylineEntity::getStartParam(double& parameter) const {
    if (!isCurveKind(*this)) {
        return Acad::eNotApplicable;
    }
    parameter = 0.0;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPolylineEntity::getEndParam(double& parameter) const {
    if (!isCurveKind(*this)) {
        return Acad::eNotApplicable;
    }
    parameter = cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat
                    ? cad::ge::endParameter(cad::db::flatPolylineGeometry(*this))
                    : cad::ge::endParameter(cad::db::spatialPolylineGeometry(*this));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPolylineEntity::getPointAtParam(double parameter, AcGePoint3d& point) const {
    if (!isCurveKind(*this)) {
        return Acad::eNotApplicable;
    }
    return cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat
               ? answer(cad::ge::pointAtParameter(cad::db::flatPolylineGeometry(*this), parameter), point)
               : answer(cad::ge::pointAtParameter(cad::db::spatialPolylineGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbPolylineEntity::getStartPoint(AcGePoint3d& point) const {
    return getPointAtParam(0.0, point);
}
Acad::ErrorStatus AcDbPolylineEntity::getEndPoint(AcGePoint3d& point) const {
    double parameter = 0.0;
    const Acad::ErrorStatus status = getEndParam(parameter);
    return status != Acad::eOk ? status : getPointAtParam(parameter, point);
}
Acad::ErrorStatus AcDbPolylineEntity::getDistAtParam(double parameter, double& distance) const {
    if (!isCurveKind(*this)) {
        return Acad::eNotApplicable;
    }
    return cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat
               ? answer(cad::ge::distanceAtParameter(cad::db::flatPolylineGeometry(*this), parameter),
                        distance)
               : answer(cad::ge::distanceAtParameter(cad::db::spatialPolylineGeometry(*this), parameter),
                        distance);
}
Acad::ErrorStatus AcDbPolylineEntity::getArea(double& area) const {
    if (!isCurveKind(*this)) {
        return Acad::eNotApplicable;
    }
    area = cad::db::polylineKind(*this) == cad::db::PolylineKind::Flat
               ? cad::ge::area(cad::db::flatPolylineGeometry(*this))
               : cad::ge::area(cad::db::spatialPolylineGeometry(*this));
    return Acad::eOk;
}

// ---- SPLINE ----

Acad::ErrorStatus AcDbSpline::getGeomExtents(AcDbExtents& extents) const {
    return reportExtents(cad::ge::extents(cad::db::splineGeometry(*this)), extents);
}
Acad::ErrorStatus AcDbSpline::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const cad::ge::NurbsCurve moved = cad::ge::transformed(cad::db::splineGeometry(*this), transform);
    m_controlPoints = moved.controlPoints;
    m_fitPoints = moved.fitPoints;
    m_startTangent = transform * m_startTangent;
    m_endTangent = transform * m_endTangent;
    if (!m_normal.isZeroLength()) {
        m_normal = transformedNormal(m_normal, transform);
    }
    return Acad::eOk;
}
// Splines stay whole: the host explodes them only into themselves.
Acad::ErrorStatus AcDbSpline::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}
bool AcDbSpline::isPlanar() const {
    return cad::ge::isPlanar(cad::db::splineGeometry(*this));
}
Acad::ErrorStatus AcDbSpline::getStartParam(double& parameter) const {
    const std::optional<cad::ge::NurbsCurve> curve =
        cad::ge::controlPointForm(cad::db::splineGeometry(*this));
    if (!curve) {
        return Acad::eDegenerateGeometry;
    }
    parameter = cad::ge::startParameter(*curve);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getEndParam(double& parameter) const {
    const std::optional<cad::ge::NurbsCurve> curve =
        cad::ge::controlPointForm(cad::db::splineGeometry(*this));
    if (!curve) {
        return Acad::eDegenerateGeometry;
    }
    parameter = cad::ge::endParameter(*curve);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbSpline::getStartPoint(AcGePoint3d& point) const {
    return answer(cad::ge::startPoint(cad::db::splineGeometry(*this)), point);
}
Acad::ErrorStatus AcDbSpline::getEndPoint(AcGePoint3d& point) const {
    return answer(cad::ge::endPoint(cad::db::splineGeometry(*this)), point);
}
Acad::ErrorStatus AcDbSpline::getPointAtParam(double parameter, AcGePoint3d& point) const {
    return answer(cad::ge::pointAtParameter(cad::db::splineGeometry(*this), parameter), point);
}
Acad::ErrorStatus AcDbSpline::getDistAtParam(double parameter, double& distance) const {
    return answer(cad::ge::distanceAtParameter(cad::db::splineGeometry(*this), parameter), distance);
}
Acad::ErrorStatus AcDbSpline::getArea(double& area) const {
    if (!cad::ge::isValid(cad::db::splineGeometry(*this))) {
        return Acad::eDegenerateGeometry;
    }
    area = cad::ge::area(cad::db::splineGeometry(*this));
    return Acad::eOk;
}
