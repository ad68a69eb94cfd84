// The remaining modelled kinds: POINT, HATCH, REGION, MLINE, INSERT, IMAGE, WIPEOUT, VIEWPORT and the
// DIMENSION family. Boundary paths, ACIS bodies and multiline element data stay as read groups; the
// members are those the selection module reads.
#pragma once

#include "cad/db/db_entity.h"
#include "cad/ge/point2d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/scale3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <string>
#include <vector>

class QUELTO_EXPORT AcDbPoint : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbPoint)
    QUELTO_ENTITY_GEOMETRY
    AcDbPoint() = default;
    explicit AcDbPoint(const AcGePoint3d& position) : m_position(position) {}
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }

private:
    AcGePoint3d m_position;
    double m_thickness = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_xAxisAngle = 0.0;
};

class QUELTO_EXPORT AcDbHatch : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbHatch)
    QUELTO_ENTITY_GEOMETRY
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };
    std::wstring patternName() const { return m_patternName; }
    HatchPatternType patternType() const { return static_cast<HatchPatternType>(m_patternType); }
    double patternAngle() const; // radians
    double patternScale() const { return m_patternScaleOrSpace; }
    double patternSpace() const { return m_patternScaleOrSpace; }
    bool patternDouble() const { return m_patternDouble != 0; }
    double elevation() const { return m_elevationPoint.z; }
    AcGeVector3d normal() const { return m_normal; }
    bool associative() const { return m_associative != 0; }
    bool isSolidFill() const { return m_solidFill != 0; }
    HatchStyle hatchStyle() const { return static_cast<HatchStyle>(m_style); }
    // Boundary paths, pattern lines and seed points, as read.
    std::vector<cad::dxf::OwnedTag> boundaryTags() const;

private:
    AcGePoint3d m_elevationPoint;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    std::wstring m_patternName;
    Adesk::Int16 m_solidFill = 0;
    Adesk::Int16 m_associative = 0;
    Adesk::Int16 m_style = 0;
    Adesk::Int16 m_patternType = 1;
    double m_patternAngleDegrees = 0.0;
    double m_patternScaleOrSpace = 1.0;
    Adesk::Int16 m_patternDouble = 0;
};

// REGION (and the ACIS bodies like it): the modeler data stays as read.
class QUELTO_EXPORT AcDbRegion : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbRegion)
    QUELTO_ENTITY_GEOMETRY
    int modelerVersion() const { return m_version; }
    // The ACIS text lines (groups 1 and 3) as stored.
    std::vector<std::string> acisData() const;
    // The body's change count; bodies read from DXF report none.
    int numChanges() const { return 0; }
    // Area and perimeter of a planar region from its ACIS text data (see region_geometry.h for what is
    // read); eNotApplicable for an empty body, eNotImplementedYet for data this reader does not model.
    Acad::ErrorStatus getArea(double& area) const;
    Acad::ErrorStatus getPerimeter(double& perimeter) const;

private:
    Adesk::Int16 m_version = 1;
};

class QUELTO_EXPORT AcDbMline : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbMline)
    QUELTO_ENTITY_GEOMETRY
    enum MlineJustification { kTop = 0, kZero = 1, kBottom = 2 };
    int numVertices() const { return static_cast<int>(m_vertices.size()); }
    AcGePoint3d vertexAt(int index) const;
    // The direction of the segment that starts at the vertex, and the direction the element lines
    // meet along there.
    AcGeVector3d axisAt(int index) const;
    AcGeVector3d miterAt(int index) const;
    double scale() const { return m_scale; }
    MlineJustification justification() const { return static_cast<MlineJustification>(m_justification); }
    bool closedMline() const { return (m_flags & 2) != 0; }
    AcDbObjectId style() const;
    std::wstring styleName() const { return m_styleName; }
    AcGeVector3d normal() const { return m_normal; }

    struct Vertex {
        AcGePoint3d position;
        AcGeVector3d direction;
        AcGeVector3d miter;
    };

private:
    std::wstring m_styleName;
    AcDbHandle m_styleHandle;
    double m_scale = 1.0;
    Adesk::Int16 m_justification = 0;
    Adesk::Int16 m_flags = 0;
    Adesk::Int16 m_elementCount = 0;
    AcGePoint3d m_start;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    std::vector<Vertex> m_vertices;
};

// INSERT, with the ATTRIBs that follow it.
class QUELTO_EXPORT AcDbBlockReference : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbBlockReference)
    QUELTO_ENTITY_GEOMETRY
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockRecord);
    AcDbSequence* sequence() override { return &m_sequence; }
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGeScale3d scaleFactors() const { return {m_scale.x, m_scale.y, m_scale.z}; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
    double rotation() const; // radians
    Acad::ErrorStatus setRotation(double radians);
    AcGeVector3d normal() const { return m_normal; }
    // Block coordinates to world: scale, rotation, the object system of the normal, the insertion point,
    // applied after moving the block's base point to the origin.
    AcGeMatrix3d blockTransform() const;
    // The record of the block named by group 2; null when the drawing has no such block.
    AcDbObjectId blockTableRecord() const;
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId record);
    std::wstring blockName() const { return m_blockName.text(); }
    // ATTRIB ids in order.
    const std::vector<AcDbObjectId>& attributeIds() const { return m_sequence.entities; }
    Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbEntity* attribute);
    int columnCount() const { return m_columns; }
    // Group 66: ATTRIBs and a SEQEND follow the INSERT in the file.
    bool attributesFollowFlag() const { return m_attributesFollow != 0; }
    int rowCount() const { return m_rows; }

private:
    Adesk::Int16 m_attributesFollow = 0;
    cad::db::Name m_blockName;
    AcGePoint3d m_position;
    AcGePoint3d m_scale{1.0, 1.0, 1.0};
    double m_rotationDegrees = 0.0;
    Adesk::Int16 m_columns = 1;
    Adesk::Int16 m_rows = 1;
    double m_columnSpacing = 0.0;
    double m_rowSpacing = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcDbSequence m_sequence;
};

class QUELTO_EXPORT AcDbRasterImage : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbRasterImage)
    QUELTO_ENTITY_GEOMETRY
    enum ImageDisplayOpt { kShow = 1, kShowUnAligned = 2, kClip = 4, kTransparent = 8 };
    AcDbObjectId imageDefId() const;
    // Origin, width vector (u times pixel columns) and height vector (v times pixel rows).
    bool getOrientation(AcGePoint3d& origin, AcGeVector3d& u, AcGeVector3d& v) const;
    AcGeVector2d scale() const;
    AcGeVector2d imageSize() const { return {m_size.x, m_size.y}; }
    bool isSetDisplayOpt(ImageDisplayOpt option) const { return (m_display & option) != 0; }
    bool isClipped() const { return m_clipping != 0; }
    Adesk::Int8 brightness() const { return static_cast<Adesk::Int8>(m_brightness); }
    Adesk::Int8 contrast() const { return static_cast<Adesk::Int8>(m_contrast); }
    Adesk::Int8 fade() const { return static_cast<Adesk::Int8>(m_fade); }
    const std::vector<AcGePoint2d>& clipBoundary() const { return m_clipVertices; }

protected:
    Adesk::Int32 m_classVersion = 0;
    AcGePoint3d m_origin;
    AcGeVector3d m_u{1.0, 0.0, 0.0};
    AcGeVector3d m_v{0.0, 1.0, 0.0};
    AcGePoint2d m_size{1.0, 1.0};
    AcDbHandle m_imageDef;
    Adesk::Int16 m_display = 7;
    Adesk::Int16 m_clipping = 0;
    Adesk::Int16 m_brightness = 50;
    Adesk::Int16 m_contrast = 50;
    Adesk::Int16 m_fade = 0;
    AcDbHandle m_reactor;
    Adesk::Int16 m_clipType = 1;
    std::vector<AcGePoint2d> m_clipVertices;
};

class QUELTO_EXPORT AcDbWipeout : public AcDbRasterImage {
public:
    QUELTO_DXF_CLASS(AcDbWipeout)
};

class QUELTO_EXPORT AcDbViewport : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbViewport)
    QUELTO_ENTITY_GEOMETRY
    AcGePoint3d centerPoint() const { return m_center; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    AcGePoint2d viewCenter() const { return m_viewCenter; }
    double viewHeight() const { return m_viewHeight; }
    // Paper height over model view height.
    double customScale() const { return m_viewHeight != 0.0 ? m_height / m_viewHeight : 1.0; }
    Adesk::Int16 number() const { return m_id; }
    bool isOn() const { return m_status != 0 && (m_flags & 131072) == 0; }
    bool isLocked() const { return (m_flags & 16384) != 0; }
    bool isNonRectClipOn() const { return (m_flags & 65536) != 0; }
    bool hiddenLinesRemoved() const { return (m_flags & 2048) != 0; }
    bool isUcsSavedWithViewport() const { return m_ucsPerViewport != 0; }

private:
    AcGePoint3d m_center;
    double m_width = 0.0;
    double m_height = 0.0;
    Adesk::Int16 m_status = 0;
    Adesk::Int16 m_id = 0;
    AcGePoint2d m_viewCenter;
    double m_viewHeight = 0.0;
    Adesk::Int32 m_flags = 0;
    Adesk::Int16 m_ucsPerViewport = 0;
};

// DIMENSION: the groups every kind shares; the kind (group 70 & 7) picks the class.
class QUELTO_EXPORT AcDbDimension : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbDimension)
    QUELTO_ENTITY_GEOMETRY
    AcGePoint3d textPosition() const { return m_textPosition; }
    AcGePoint3d definitionPoint() const { return m_definitionPoint; }
    double textRotation() const; // radians
    std::wstring dimensionText() const { return m_text; }
    Acad::ErrorStatus setDimensionText(const ACHAR* text);
    // The measured value DXF stores (group 42).
    Acad::ErrorStatus measurement(double& value) const {
        value = m_measurement;
        return Acad::eOk;
    }
    double measurement() const { return m_measurement; }
    std::wstring dimensionStyleName() const {
        return m_styleName.isEmpty() ? std::wstring(L"STANDARD") : m_styleName.text();
    }
    AcDbObjectId dimensionStyle() const;
    // The anonymous block holding the dimension's graphics.
    AcDbObjectId dimBlockId() const;
    std::wstring dimBlockName() const { return m_blockName; }
    int dimensionKind() const { return m_type & 7; }
    AcGeVector3d normal() const { return m_normal; }
    // Style variables with the dimension's own overrides (extended data ACAD, {DSTYLE}) applied.
    int dimdec() const;
    int dimzin() const;
    double dimscale() const;
    double dimasz() const;
    std::wstring dimpost() const;

protected:
    static cad::db::ClassTable& addDimensionFields(cad::db::ClassTable& table);
    // The override of one style variable by its DXF code; false when the dimension has none.
    bool findOverride(int code, cad::dxf::OwnedTag& value) const;

    std::wstring m_blockName;
    AcGePoint3d m_definitionPoint;
    AcGePoint3d m_textPosition;
    Adesk::Int16 m_type = 0;
    Adesk::Int16 m_attachment = 5;
    std::wstring m_text;
    double m_measurement = 0.0;
    double m_textRotationDegrees = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    cad::db::Name m_styleName;
    AcGePoint3d m_point13;
    AcGePoint3d m_point14;
    AcGePoint3d m_point15;
    AcGePoint3d m_point16;
    double m_angleDegrees = 0.0;
    double m_leaderLength = 0.0;
};

class QUELTO_EXPORT AcDbAlignedDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbAlignedDimension)
    AcGePoint3d xLine1Point() const { return m_point13; }
    AcGePoint3d xLine2Point() const { return m_point14; }
};
class QUELTO_EXPORT AcDbRotatedDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbRotatedDimension)
    AcGePoint3d xLine1Point() const { return m_point13; }
    AcGePoint3d xLine2Point() const { return m_point14; }
    double rotation() const; // radians
};
class QUELTO_EXPORT AcDb2LineAngularDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDb2LineAngularDimension)
    AcGePoint3d xLine1Start() const;
    AcGePoint3d xLine1End() const;
    AcGePoint3d xLine2Start() const;
    AcGePoint3d xLine2End() const;
    AcGePoint3d arcPoint() const; // world
};
class QUELTO_EXPORT AcDb3PointAngularDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDb3PointAngularDimension)
    AcGePoint3d centerPoint() const;
    AcGePoint3d xLine1Point() const;
    AcGePoint3d xLine2Point() const;
};
class QUELTO_EXPORT AcDbDiametricDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbDiametricDimension)
    AcGePoint3d chordPoint() const { return m_point15; }
};
class QUELTO_EXPORT AcDbRadialDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbRadialDimension)
    AcGePoint3d chordPoint() const { return m_point15; }
};
class QUELTO_EXPORT AcDbOrdinateDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbOrdinateDimension)
    AcGePoint3d origin() const;
    AcGePoint3d definingPoint() const;
    bool isUsingXAxis() const;
};
// ARC_DIMENSION: an arc length dimension, its own DXF type. The extension line points lie on the arc
// (world coordinates); the arc's own start and end parameters are angles in the dimension's plane.
class QUELTO_EXPORT AcDbArcDimension : public AcDbDimension {
public:
    QUELTO_DXF_CLASS(AcDbArcDimension)
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& transform) override;
    AcGePoint3d centerPoint() const { return m_point15; }
    AcGePoint3d xLine1Point() const { return m_point13; }
    AcGePoint3d xLine2Point() const { return m_point14; }
    double arcStartParam() const { return m_arcStartParameter; }
    double arcEndParam() const { return m_arcEndParameter; }
    // The dimension measures part of its arc only.
    bool isPartial() const { return m_partial != 0; }
    bool hasLeader() const { return m_hasLeader != 0; }
    AcGePoint3d leader1Point() const { return m_leader1; }
    AcGePoint3d leader2Point() const { return m_leader2; }

private:
    Adesk::Int16 m_partial = 0;
    double m_arcStartParameter = 0.0;
    double m_arcEndParameter = 0.0;
    Adesk::Int16 m_hasLeader = 0;
    AcGePoint3d m_leader1;
    AcGePoint3d m_leader2;
};
