// Attribute tables and accessors of the curve kinds. Arcs keep DXF's degrees so that a drawing read and
// written back keeps its numbers exactly; the host's radians are computed on access.
#include "cad/db/curve_entities.h"

#include "cad/db/database.h"
#include "cad/db/sub_entities.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <cmath>

using cad::db::addNormal;
using cad::db::addPoint;
using cad::db::ClassTable;
using cad::db::field;
using cad::db::listField;

ACRX_DEFINE_MEMBERS(AcDbLine, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbRay, AcDbCurve)
// In the host a construction line is no ray: both derive from AcDbCurve, whatever code they share here.
ACRX_DEFINE_MEMBERS(AcDbXline, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbArc, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDbVertex, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex)
ACRX_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex)
ACRX_DEFINE_MEMBERS(AcDbPolygonMeshVertex, AcDbVertex)
ACRX_DEFINE_MEMBERS(AcDbPolyFaceMeshVertex, AcDbVertex)
ACRX_DEFINE_MEMBERS(AcDbFaceRecord, AcDbVertex)
ACRX_DEFINE_MEMBERS(AcDbPolylineEntity, AcDbCurve)
ACRX_DEFINE_MEMBERS(AcDb2dPolyline, AcDbPolylineEntity)
ACRX_DEFINE_MEMBERS(AcDb3dPolyline, AcDbPolylineEntity)
ACRX_DEFINE_MEMBERS(AcDbPolyFaceMesh, AcDbPolylineEntity)
ACRX_DEFINE_MEMBERS(AcDbPolygonMesh, AcDbPolylineEntity)
ACRX_DEFINE_MEMBERS(AcDbSpline, AcDbCurve)

namespace {
using platform::kDegreesPerRadian;
using platform::kTwoPi;
} // namespace

const ClassTable& AcDbLine::classTable() {
    static ClassTable table = [] {
        ClassTable result("LINE");
        addEntityFields(result).marker("AcDbLine");
        result.add(field<&AcDbLine::m_thickness>(39).byDefault(0.0));
        addPoint<&AcDbLine::m_start>(result, 10);
        addPoint<&AcDbLine::m_end>(result, 11);
        addNormal<&AcDbLine::m_normal>(result);
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
    return assignWhenWritable(m_start, point);
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
    return assignWhenWritable(m_end, point);
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness) {
    return assignWhenWritable(m_thickness, thickness);
}

static ClassTable makeRayTable(const char* name, const char* subclass) {
    ClassTable result(name);
    AcDbEntity::addEntityFields(result).marker(subclass);
    return result;
}

const ClassTable& AcDbRay::classTable() {
    static ClassTable table = [] {
        ClassTable result = makeRayTable("RAY", "AcDbRay");
        addPoint<&AcDbRay::m_base>(result, 10);
        addPoint<&AcDbRay::m_direction>(result, 11);
        return result;
    }();
    return table;
}

const ClassTable& AcDbXline::classTable() {
    static ClassTable table = [] {
        ClassTable result = makeRayTable("XLINE", "AcDbXline");
        addPoint<&AcDbXline::m_base>(result, 10);
        addPoint<&AcDbXline::m_direction>(result, 11);
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbRay::setBasePoint(const AcGePoint3d& point) {
    return assignWhenWritable(m_base, point);
}

Acad::ErrorStatus AcDbRay::setUnitDir(const AcGeVector3d& direction) {
    if (direction.isZeroLength()) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_direction, direction.normal());
}

const ClassTable& AcDbCircle::classTable() {
    static ClassTable table = [] {
        ClassTable result("CIRCLE");
        addEntityFields(result).marker("AcDbCircle");
        result.add(field<&AcDbCircle::m_thickness>(39).byDefault(0.0));
        addPoint<&AcDbCircle::m_center>(result, 10);
        result.add(field<&AcDbCircle::m_radius>(40));
        addNormal<&AcDbCircle::m_normal>(result);
        return result;
    }();
    return table;
}

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(cad::ge::wcsToOcs(center, normal)), m_radius(radius), m_normal(normal) {}

AcGePoint3d AcDbCircle::center() const {
    return cad::ge::ocsToWcs(m_center, m_normal);
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
    return assignWhenWritable(m_center, cad::ge::wcsToOcs(center, m_normal));
}

Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
    if (!(radius > 0.0)) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_radius, radius);
}

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : m_center(center), m_radius(radius), m_startDegrees(startAngle * kDegreesPerRadian),
      m_endDegrees(endAngle * kDegreesPerRadian) {}

const ClassTable& AcDbArc::classTable() {
    static ClassTable table = [] {
        ClassTable result("ARC");
        addEntityFields(result).marker("AcDbCircle");
        result.add(field<&AcDbArc::m_thickness>(39).byDefault(0.0));
        addPoint<&AcDbArc::m_center>(result, 10);
        result.add(field<&AcDbArc::m_radius>(40));
        addNormal<&AcDbArc::m_normal>(result);
        result.marker("AcDbArc");
        result.add(field<&AcDbArc::m_startDegrees>(50));
        result.add(field<&AcDbArc::m_endDegrees>(51));
        return result;
    }();
    return table;
}

double AcDbArc::startAngle() const {
    return m_startDegrees / kDegreesPerRadian;
}

double AcDbArc::endAngle() const {
    return m_endDegrees / kDegreesPerRadian;
}

AcGePoint3d AcDbArc::center() const {
    return cad::ge::ocsToWcs(m_center, m_normal);
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center) {
    return assignWhenWritable(m_center, cad::ge::wcsToOcs(center, m_normal));
}

Acad::ErrorStatus AcDbArc::setRadius(double radius) {
    if (!(radius > 0.0)) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_radius, radius);
}

Acad::ErrorStatus AcDbArc::setStartAngle(double radians) {
    return assignWhenWritable(m_startDegrees, radians * kDegreesPerRadian);
}

Acad::ErrorStatus AcDbArc::setEndAngle(double radians) {
    return assignWhenWritable(m_endDegrees, radians * kDegreesPerRadian);
}

const ClassTable& AcDbEllipse::classTable() {
    static ClassTable table = [] {
        ClassTable result("ELLIPSE");
        addEntityFields(result).marker("AcDbEllipse");
        addPoint<&AcDbEllipse::m_center>(result, 10);
        addPoint<&AcDbEllipse::m_majorAxis>(result, 11);
        addNormal<&AcDbEllipse::m_normal>(result);
        result.add(field<&AcDbEllipse::m_ratio>(40));
        result.add(field<&AcDbEllipse::m_startParameter>(41));
        result.add(field<&AcDbEllipse::m_endParameter>(42));
        return result;
    }();
    return table;
}

AcGeVector3d AcDbEllipse::minorAxis() const {
    return m_normal.crossProduct(m_majorAxis).normal() * (m_majorAxis.length() * m_ratio);
}

static double parameterToAngle(double parameter, double ratio) {
    double angle = std::atan2(ratio * std::sin(parameter), std::cos(parameter));
    if (angle < 0.0) {
        angle += kTwoPi;
    }
    if (parameter >= kTwoPi - 1e-12 && angle < 1e-12) {
        angle = kTwoPi;
    }
    return angle;
}

double AcDbEllipse::startAngle() const {
    return parameterToAngle(m_startParameter, m_ratio);
}

double AcDbEllipse::endAngle() const {
    return parameterToAngle(m_endParameter, m_ratio);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& normal,
                                   const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle) {
    if (majorAxis.isZeroLength() || !(radiusRatio > 0.0) || radiusRatio > 1.0) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_center = center;
    m_normal = normal;
    m_majorAxis = majorAxis;
    m_ratio = radiusRatio;
    // Angles to parameters: the inverse of parameterToAngle.
    m_startParameter = std::atan2(std::sin(startAngle) / radiusRatio, std::cos(startAngle));
    if (m_startParameter < 0.0) {
        m_startParameter += kTwoPi;
    }
    m_endParameter = std::atan2(std::sin(endAngle) / radiusRatio, std::cos(endAngle));
    if (m_endParameter <= m_startParameter) {
        m_endParameter += kTwoPi;
    }
    return Acad::eOk;
}

const ClassTable& AcDbPolyline::classTable() {
    static ClassTable table = [] {
        ClassTable result("LWPOLYLINE");
        addEntityFields(result).marker("AcDbPolyline");
        const int vertices = result.addList(cad::db::listOf<&AcDbPolyline::m_vertices>());
        result.add(cad::db::countField(90, vertices));
        result.add(field<&AcDbPolyline::m_flags>(70));
        result.add(field<&AcDbPolyline::m_constantWidth>(43).byDefault(0.0));
        result.add(field<&AcDbPolyline::m_elevation>(38).byDefault(0.0));
        result.add(field<&AcDbPolyline::m_thickness>(39).byDefault(0.0));
        using Vertex = AcDbPolylineVertex;
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::point, &AcGePoint2d::x>(10, vertices, true));
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::point, &AcGePoint2d::y>(20, vertices));
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::identifier>(91, vertices).byDefault(0));
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::startWidth>(40, vertices).byDefault(0.0));
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::endWidth>(41, vertices).byDefault(0.0));
        result.add(listField<&AcDbPolyline::m_vertices, &Vertex::bulge>(42, vertices).byDefault(0.0));
        addNormal<&AcDbPolyline::m_normal>(result);
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    point = m_vertices[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    point = cad::ge::ocsToWcs(AcGePoint3d(m_vertices[index].point.x, m_vertices[index].point.y, m_elevation),
                              m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    bulge = m_vertices[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    startWidth = m_vertices[index].startWidth;
    endWidth = m_vertices[index].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge,
                                            double startWidth, double endWidth) {
    if (index > m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    AcDbPolylineVertex vertex;
    vertex.point = point;
    vertex.bulge = bulge;
    vertex.startWidth = startWidth < 0.0 ? m_constantWidth : startWidth;
    vertex.endWidth = endWidth < 0.0 ? m_constantWidth : endWidth;
    m_vertices.insert(m_vertices.begin() + index, vertex);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_vertices.erase(m_vertices.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& point) {
    if (index >= m_vertices.size()) {
        return Acad::eInvalidIndex;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_vertices[index].point = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setElevation(double elevation) {
    return assignWhenWritable(m_elevation, elevation);
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal) {
    if (normal.isZeroLength()) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_normal, normal.normal());
}

Acad::ErrorStatus AcDbPolyline::setClosed(bool closed) {
    return assignWhenWritable(m_flags, static_cast<Adesk::Int16>(closed ? (m_flags | 1) : (m_flags & ~1)));
}

// The host answers eNotApplicable when the segments' widths differ.
Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
    width = m_constantWidth;
    for (const AcDbPolylineVertex& vertex : m_vertices) {
        if (vertex.startWidth != m_vertices.front().startWidth || vertex.endWidth != vertex.startWidth) {
            return Acad::eNotApplicable;
        }
    }
    if (!m_vertices.empty()) {
        width = m_vertices.front().startWidth != 0.0 ? m_vertices.front().startWidth : m_constantWidth;
    }
    return Acad::eOk;
}

bool AcDbPolyline::isOnlyLines() const {
    for (const AcDbPolylineVertex& vertex : m_vertices) {
        if (vertex.bulge != 0.0) {
            return false;
        }
    }
    return true;
}

ClassTable AcDbVertex::makeTable(const char* kindMarker) {
    ClassTable result("VERTEX");
    addEntityFields(result).marker("AcDbVertex");
    if (kindMarker != nullptr) {
        result.marker(kindMarker);
    }
    result.anySubclass();
    addPoint<&AcDbVertex::m_position>(result, 10);
    result.add(field<&AcDbVertex::m_startWidth>(40).byDefault(0.0));
    result.add(field<&AcDbVertex::m_endWidth>(41).byDefault(0.0));
    result.add(field<&AcDbVertex::m_bulge>(42).byDefault(0.0));
    result.add(field<&AcDbVertex::m_flags>(70));
    result.add(field<&AcDbVertex::m_tangentDegrees>(50).byDefault(0.0));
    return result;
}

const ClassTable& AcDbVertex::classTable() {
    static const ClassTable kTable = makeTable(nullptr);
    return kTable;
}
const ClassTable& AcDb2dVertex::classTable() {
    static const ClassTable kTable = makeTable("AcDb2dVertex");
    return kTable;
}
const ClassTable& AcDb3dPolylineVertex::classTable() {
    static const ClassTable kTable = makeTable("AcDb3dPolylineVertex");
    return kTable;
}
const ClassTable& AcDbPolygonMeshVertex::classTable() {
    static const ClassTable kTable = makeTable("AcDbPolygonMeshVertex");
    return kTable;
}
const ClassTable& AcDbPolyFaceMeshVertex::classTable() {
    static const ClassTable kTable = makeTable("AcDbPolyFaceMeshVertex");
    return kTable;
}
const ClassTable& AcDbFaceRecord::classTable() {
    static const ClassTable kTable = makeTable("AcDbFaceRecord");
    return kTable;
}

Acad::ErrorStatus AcDbVertex::setPosition(const AcGePoint3d& position) {
    return assignWhenWritable(m_position, position);
}

ClassTable AcDbPolylineEntity::makeTable(const char* kindMarker) {
    ClassTable result("POLYLINE");
    addEntityFields(result);
    if (kindMarker != nullptr) {
        result.marker(kindMarker);
    }
    // A read polyline keeps whatever kind marker it came with; its groups follow any marker.
    result.anySubclass();
    using Header = AcDbPolylineHeader;
    result.add(field<&AcDbPolylineEntity::m_header, &Header::verticesFollow>(66));
    addPoint<&AcDbPolylineEntity::m_header, &Header::elevationPoint>(result, 10);
    result.add(field<&AcDbPolylineEntity::m_header, &Header::thickness>(39).byDefault(0.0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::flags>(70));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::startWidth>(40).byDefault(0.0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::endWidth>(41).byDefault(0.0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::meshM>(71).byDefault(0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::meshN>(72).byDefault(0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::smoothM>(73).byDefault(0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::smoothN>(74).byDefault(0));
    result.add(field<&AcDbPolylineEntity::m_header, &Header::curveType>(75).byDefault(0));
    addNormal<&AcDbPolylineEntity::m_header, &Header::normal>(result);
    return result;
}

const ClassTable& AcDbPolylineEntity::classTable() {
    static const ClassTable kTable = makeTable(nullptr);
    return kTable;
}
const ClassTable& AcDb2dPolyline::classTable() {
    static const ClassTable kTable = makeTable("AcDb2dPolyline");
    return kTable;
}
const ClassTable& AcDb3dPolyline::classTable() {
    static const ClassTable kTable = makeTable("AcDb3dPolyline");
    return kTable;
}
const ClassTable& AcDbPolyFaceMesh::classTable() {
    static const ClassTable kTable = makeTable("AcDbPolyFaceMesh");
    return kTable;
}
const ClassTable& AcDbPolygonMesh::classTable() {
    static const ClassTable kTable = makeTable("AcDbPolygonMesh");
    return kTable;
}

Acad::ErrorStatus AcDbPolylineEntity::setClosed(bool closed) {
    return assignWhenWritable(
        m_header.flags, static_cast<Adesk::Int16>(closed ? (m_header.flags | 1) : (m_header.flags & ~1)));
}

Acad::ErrorStatus AcDbPolylineEntity::appendVertex(AcDbObjectId& id, AcDbVertex* vertex) {
    if (vertex == nullptr) {
        return Acad::eNullObjectPointer;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    return cad::db::appendSubEntity(*this, id, vertex);
}

AcDb::Poly2dType AcDb2dPolyline::polyType() const {
    if ((m_header.flags & 2) != 0) {
        return AcDb::k2dFitCurvePoly;
    }
    if ((m_header.flags & 4) != 0) {
        return m_header.curveType == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    }
    return AcDb::k2dSimplePoly;
}

AcDb::Poly3dType AcDb3dPolyline::polyType() const {
    if ((m_header.flags & 4) == 0) {
        return AcDb::k3dSimplePoly;
    }
    return m_header.curveType == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly;
}

const ClassTable& AcDbSpline::classTable() {
    static ClassTable table = [] {
        ClassTable result("SPLINE");
        addEntityFields(result).marker("AcDbSpline");
        addNormal<&AcDbSpline::m_normal>(result);
        result.add(field<&AcDbSpline::m_flags>(70));
        result.add(field<&AcDbSpline::m_degree>(71));
        const int knots = result.addList(cad::db::listOf<&AcDbSpline::m_knots>());
        const int weights = result.addList(cad::db::listOf<&AcDbSpline::m_weights>());
        const int controls = result.addList(cad::db::listOf<&AcDbSpline::m_controlPoints>());
        const int fits = result.addList(cad::db::listOf<&AcDbSpline::m_fitPoints>());
        result.add(cad::db::countField(72, knots));
        result.add(cad::db::countField(73, controls));
        result.add(cad::db::countField(74, fits));
        result.add(field<&AcDbSpline::m_knotTolerance>(42));
        result.add(field<&AcDbSpline::m_controlTolerance>(43));
        result.add(field<&AcDbSpline::m_fitTolerance>(44).byDefault(1e-10));
        result.add(field<&AcDbSpline::m_startTangent, &AcGeVector3d::x>(12).byDefault(0.0));
        result.add(field<&AcDbSpline::m_startTangent, &AcGeVector3d::y>(22).byDefault(0.0));
        result.add(field<&AcDbSpline::m_startTangent, &AcGeVector3d::z>(32).byDefault(0.0));
        result.add(field<&AcDbSpline::m_endTangent, &AcGeVector3d::x>(13).byDefault(0.0));
        result.add(field<&AcDbSpline::m_endTangent, &AcGeVector3d::y>(23).byDefault(0.0));
        result.add(field<&AcDbSpline::m_endTangent, &AcGeVector3d::z>(33).byDefault(0.0));
        result.add(listField<&AcDbSpline::m_knots>(40, knots, true));
        result.add(listField<&AcDbSpline::m_weights>(41, weights, true));
        result.add(listField<&AcDbSpline::m_controlPoints, &AcGePoint3d::x>(10, controls, true));
        result.add(listField<&AcDbSpline::m_controlPoints, &AcGePoint3d::y>(20, controls));
        result.add(listField<&AcDbSpline::m_controlPoints, &AcGePoint3d::z>(30, controls));
        result.add(listField<&AcDbSpline::m_fitPoints, &AcGePoint3d::x>(11, fits, true));
        result.add(listField<&AcDbSpline::m_fitPoints, &AcGePoint3d::y>(21, fits));
        result.add(listField<&AcDbSpline::m_fitPoints, &AcGePoint3d::z>(31, fits));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= numControlPoints()) {
        return Acad::eInvalidIndex;
    }
    point = m_controlPoints[static_cast<std::size_t>(index)];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= numFitPoints()) {
        return Acad::eInvalidIndex;
    }
    point = m_fitPoints[static_cast<std::size_t>(index)];
    return Acad::eOk;
}
