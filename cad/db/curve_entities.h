// The curve kinds: LINE, RAY, XLINE, CIRCLE, ARC, ELLIPSE, LWPOLYLINE, POLYLINE (2D and 3D, with their
// VERTEX sub-entities) and SPLINE. Members hold the values as DXF stores them (angles of arcs in
// degrees, points in the entity's own system); accessors answer in the host's units (radians).
#pragma once

#include "cad/db/db_entity.h"
#include "cad/ge/point2d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <vector>

class QUELTO_EXPORT AcDbLine : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbLine)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    bool isClosed() const override { return false; }
    AcDbLine() = default;
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
    AcGePoint3d startPoint() const { return m_start; }
    AcGePoint3d endPoint() const { return m_end; }
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double thickness);
    AcGeVector3d normal() const { return m_normal; }

private:
    double m_thickness = 0.0;
    AcGePoint3d m_start;
    AcGePoint3d m_end;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};

// RAY and XLINE share their groups: a base point and a unit direction.
class QUELTO_EXPORT AcDbRay : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbRay)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    AcGePoint3d basePoint() const { return m_base; }
    AcGeVector3d unitDir() const { return m_direction; }
    Acad::ErrorStatus setBasePoint(const AcGePoint3d& point);
    Acad::ErrorStatus setUnitDir(const AcGeVector3d& direction);

protected:
    AcGePoint3d m_base;
    AcGeVector3d m_direction{1.0, 0.0, 0.0};
};

class QUELTO_EXPORT AcDbXline : public AcDbRay {
public:
    QUELTO_DXF_CLASS(AcDbXline)
};

class QUELTO_EXPORT AcDbCircle : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbCircle)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    AcDbCircle() = default;
    // The centre in world coordinates (the file keeps it in the circle's own coordinate system).
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
    AcGePoint3d center() const;
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double radius);
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }

protected:
    double m_thickness = 0.0;
    AcGePoint3d m_center;
    double m_radius = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};

class QUELTO_EXPORT AcDbArc : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbArc)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    AcDbArc() = default;
    // The centre in world coordinates (the file keeps it in the arc's own coordinate system); the angles
    // are measured in the arc's plane.
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcGePoint3d center() const;
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double radius);
    double startAngle() const; // radians
    double endAngle() const;   // radians
    Acad::ErrorStatus setStartAngle(double radians);
    Acad::ErrorStatus setEndAngle(double radians);
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }

private:
    double m_thickness = 0.0;
    AcGePoint3d m_center;
    double m_radius = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_startDegrees = 0.0;
    double m_endDegrees = 0.0;
};

class QUELTO_EXPORT AcDbEllipse : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbEllipse)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    AcGePoint3d center() const { return m_center; }
    AcGeVector3d majorAxis() const { return m_majorAxis; }
    AcGeVector3d minorAxis() const;
    AcGeVector3d normal() const { return m_normal; }
    double radiusRatio() const { return m_ratio; }
    // DXF 41/42 store parameters; the host's start and end angles are measured on the ellipse itself.
    double startParam() const { return m_startParameter; }
    double endParam() const { return m_endParameter; }
    double startAngle() const;
    double endAngle() const;
    Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& normal,
                          const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                          double endAngle = 6.283185307179586);

private:
    AcGePoint3d m_center;
    AcGeVector3d m_majorAxis{1.0, 0.0, 0.0};
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_ratio = 1.0;
    double m_startParameter = 0.0;
    double m_endParameter = 6.283185307179586;
};

struct AcDbPolylineVertex {
    AcGePoint2d point;
    double startWidth = 0.0;
    double endWidth = 0.0;
    double bulge = 0.0;
    Adesk::Int32 identifier = 0;
};

// LWPOLYLINE: vertices in the entity's own system (OCS) at one elevation.
class QUELTO_EXPORT AcDbPolyline : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbPolyline)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const; // world, for a flat normal
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
    Acad::ErrorStatus setElevation(double elevation);
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    bool isClosed() const override { return (m_flags & 1) != 0; }
    Acad::ErrorStatus setClosed(bool closed);
    bool hasPlinegen() const { return (m_flags & 128) != 0; }
    Acad::ErrorStatus getConstantWidth(double& width) const;
    double elevation() const { return m_elevation; }
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }
    bool isOnlyLines() const;
    const std::vector<AcDbPolylineVertex>& vertices() const { return m_vertices; }

private:
    Adesk::Int16 m_flags = 0;
    double m_constantWidth = 0.0;
    double m_elevation = 0.0;
    double m_thickness = 0.0;
    std::vector<AcDbPolylineVertex> m_vertices;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};

// The groups of POLYLINE that every kind shares (2D, 3D, polyface and polygon mesh).
struct AcDbPolylineHeader {
    Adesk::Int16 verticesFollow = 1;
    AcGePoint3d elevationPoint;
    double thickness = 0.0;
    Adesk::Int16 flags = 0;
    double startWidth = 0.0;
    double endWidth = 0.0;
    Adesk::Int16 meshM = 0;
    Adesk::Int16 meshN = 0;
    Adesk::Int16 smoothM = 0;
    Adesk::Int16 smoothN = 0;
    Adesk::Int16 curveType = 0;
    AcGeVector3d normal{0.0, 0.0, 1.0};
};

// VERTEX of a POLYLINE: position (OCS for 2D, world for 3D), widths, bulge and flags. Each kind writes
// its own subclass marker after AcDbVertex when it is new; read vertices keep the markers they had.
class QUELTO_EXPORT AcDbVertex : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbVertex)
    AcDbVertex() = default;
    explicit AcDbVertex(const AcGePoint3d& position, double bulge = 0.0, Adesk::Int16 flags = 0)
        : m_position(position), m_bulge(bulge), m_flags(flags) {}
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    double bulge() const { return m_bulge; }
    Acad::ErrorStatus setBulge(double bulge);
    double startWidth() const { return m_startWidth; }
    double endWidth() const { return m_endWidth; }
    Adesk::Int16 vertexFlags() const { return m_flags; }

protected:
    static cad::db::ClassTable makeTable(const char* kindMarker);

private:
    AcGePoint3d m_position;
    double m_startWidth = 0.0;
    double m_endWidth = 0.0;
    double m_bulge = 0.0;
    Adesk::Int16 m_flags = 0;
    double m_tangentDegrees = 0.0;
};

class QUELTO_EXPORT AcDb2dVertex : public AcDbVertex {
public:
    QUELTO_DXF_CLASS(AcDb2dVertex)
    AcDb2dVertex() = default;
    explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0) : AcDbVertex(position, bulge) {}
};
class QUELTO_EXPORT AcDb3dPolylineVertex : public AcDbVertex {
public:
    QUELTO_DXF_CLASS(AcDb3dPolylineVertex)
    AcDb3dPolylineVertex() : AcDbVertex(AcGePoint3d(), 0.0, 32) {}
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : AcDbVertex(position, 0.0, 32) {}
};
class QUELTO_EXPORT AcDbPolygonMeshVertex : public AcDbVertex {
public:
    QUELTO_DXF_CLASS(AcDbPolygonMeshVertex)
    AcDbPolygonMeshVertex() : AcDbVertex(AcGePoint3d(), 0.0, 64) {}
};
class QUELTO_EXPORT AcDbPolyFaceMeshVertex : public AcDbVertex {
public:
    QUELTO_DXF_CLASS(AcDbPolyFaceMeshVertex)
    AcDbPolyFaceMeshVertex() : AcDbVertex(AcGePoint3d(), 0.0, 192) {}
};
class QUELTO_EXPORT AcDbFaceRecord : public AcDbVertex {
public:
    QUELTO_DXF_CLASS(AcDbFaceRecord)
    AcDbFaceRecord() : AcDbVertex(AcGePoint3d(), 0.0, 128) {}
};

// A POLYLINE of any kind: the header and its vertices. The kind follows group 70 (8: 3D polyline,
// 16: polygon mesh, 64: polyface mesh, otherwise 2D).
class QUELTO_EXPORT AcDbPolylineEntity : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbPolylineEntity)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    AcDbSequence* sequence() override { return &m_sequence; }
    bool isClosed() const override { return (m_header.flags & 1) != 0; }
    Acad::ErrorStatus setClosed(bool closed);
    double elevation() const { return m_header.elevationPoint.z; }
    double thickness() const { return m_header.thickness; }
    AcGeVector3d normal() const { return m_header.normal; }
    Adesk::Int16 polylineFlags() const { return m_header.flags; }
    Adesk::Int16 curveType() const { return m_header.curveType; }
    // Vertex ids in order (the VERTEX sub-entities).
    const std::vector<AcDbObjectId>& vertexIds() const { return m_sequence.entities; }
    // Adds a vertex (taking ownership). A polyline in a database must be open for write and `id` names
    // the new vertex; one outside a database keeps it until it is appended to a block (`id` null).
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbVertex* vertex);

protected:
    // POLYLINE's groups; new polylines write `kindMarker` after AcDbEntity (R12 has no markers).
    static cad::db::ClassTable makeTable(const char* kindMarker);

    AcDbPolylineHeader m_header;
    AcDbSequence m_sequence;
};

class QUELTO_EXPORT AcDb2dPolyline : public AcDbPolylineEntity {
public:
    QUELTO_DXF_CLASS(AcDb2dPolyline)
    AcDb::Poly2dType polyType() const;
    double defaultStartWidth() const { return m_header.startWidth; }
    double defaultEndWidth() const { return m_header.endWidth; }
};

class QUELTO_EXPORT AcDb3dPolyline : public AcDbPolylineEntity {
public:
    QUELTO_DXF_CLASS(AcDb3dPolyline)
    AcDb3dPolyline() { m_header.flags = 8; }
    AcDb::Poly3dType polyType() const;
};

class QUELTO_EXPORT AcDbPolyFaceMesh : public AcDbPolylineEntity {
public:
    QUELTO_DXF_CLASS(AcDbPolyFaceMesh)
    AcDbPolyFaceMesh() { m_header.flags = 64; }
};
class QUELTO_EXPORT AcDbPolygonMesh : public AcDbPolylineEntity {
public:
    QUELTO_DXF_CLASS(AcDbPolygonMesh)
    AcDbPolygonMesh() { m_header.flags = 16; }
};

class QUELTO_EXPORT AcDbSpline : public AcDbCurve {
public:
    QUELTO_DXF_CLASS(AcDbSpline)
    QUELTO_ENTITY_GEOMETRY
    QUELTO_CURVE_GEOMETRY
    int degree() const { return m_degree; }
    int numControlPoints() const { return static_cast<int>(m_controlPoints.size()); }
    int numFitPoints() const { return static_cast<int>(m_fitPoints.size()); }
    int numKnots() const { return static_cast<int>(m_knots.size()); }
    bool hasFitData() const { return !m_fitPoints.empty(); }
    double fitTolerance() const { return m_fitTolerance; }
    bool isRational() const { return (m_flags & 4) != 0; }
    bool isPeriodic() const { return (m_flags & 2) != 0; }
    bool isClosedFlag() const { return (m_flags & 1) != 0; }
    bool isPlanarFlag() const { return (m_flags & 8) != 0; }
    Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
    const std::vector<AcGePoint3d>& controlPoints() const { return m_controlPoints; }
    const std::vector<AcGePoint3d>& fitPoints() const { return m_fitPoints; }
    const std::vector<double>& knots() const { return m_knots; }
    const std::vector<double>& weights() const { return m_weights; }
    AcGeVector3d normal() const { return m_normal; }

private:
    AcGeVector3d m_normal;
    Adesk::Int16 m_flags = 8;
    Adesk::Int16 m_degree = 3;
    double m_knotTolerance = 1e-10;
    double m_controlTolerance = 1e-10;
    double m_fitTolerance = 1e-10;
    AcGeVector3d m_startTangent;
    AcGeVector3d m_endTangent;
    std::vector<double> m_knots;
    std::vector<double> m_weights;
    std::vector<AcGePoint3d> m_controlPoints;
    std::vector<AcGePoint3d> m_fitPoints;
};
