// Attribute tables and accessors of POINT, HATCH, REGION, MLINE, INSERT, IMAGE, WIPEOUT, VIEWPORT and the
// dimensions. Dimension style variables come from the dimension's own overrides (extended data of
// application ACAD between "DSTYLE" braces, pairs of 1070 code and value) before its style's values.
#include "cad/db/other_entities.h"

#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/sub_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "platform/angle_units.h"

#include <cmath>

using cad::db::addNormal;
using cad::db::addPoint;
using cad::db::ClassTable;
using cad::db::field;
using cad::db::listField;

ACRX_DEFINE_MEMBERS(AcDbPoint, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbHatch, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbRegion, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbMline, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbRasterImage, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbWipeout, AcDbRasterImage)
ACRX_DEFINE_MEMBERS(AcDbViewport, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbDimension, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbAlignedDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDbRotatedDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDb2LineAngularDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDb3PointAngularDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDbDiametricDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDbRadialDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDbOrdinateDimension, AcDbDimension)
ACRX_DEFINE_MEMBERS(AcDbArcDimension, AcDbDimension)

namespace {
using platform::kDegreesPerRadian;
} // namespace

const ClassTable& AcDbPoint::classTable() {
    static ClassTable table = [] {
        ClassTable result("POINT");
        addEntityFields(result).marker("AcDbPoint");
        addPoint<&AcDbPoint::m_position>(result, 10);
        result.add(field<&AcDbPoint::m_thickness>(39).byDefault(0.0));
        addNormal<&AcDbPoint::m_normal>(result);
        result.add(field<&AcDbPoint::m_xAxisAngle>(50).byDefault(0.0));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position) {
    return assignWhenWritable(m_position, position);
}

// Only the groups before the boundary paths and after them are mapped; the paths themselves, the
// pattern lines and the seed points repeat codes and stay as read.
const ClassTable& AcDbHatch::classTable() {
    static ClassTable table = [] {
        ClassTable result("HATCH");
        addEntityFields(result).marker("AcDbHatch");
        addPoint<&AcDbHatch::m_elevationPoint>(result, 10);
        addNormal<&AcDbHatch::m_normal>(result);
        result.add(field<&AcDbHatch::m_patternName>(2));
        result.add(field<&AcDbHatch::m_solidFill>(70));
        result.add(field<&AcDbHatch::m_associative>(71));
        result.add(field<&AcDbHatch::m_style>(75));
        result.add(field<&AcDbHatch::m_patternType>(76));
        result.add(field<&AcDbHatch::m_patternAngleDegrees>(52).byDefault(0.0));
        result.add(field<&AcDbHatch::m_patternScaleOrSpace>(41).byDefault(1.0));
        result.add(field<&AcDbHatch::m_patternDouble>(77).byDefault(0));
        return result;
    }();
    return table;
}

double AcDbHatch::patternAngle() const {
    return m_patternAngleDegrees / kDegreesPerRadian;
}

std::vector<cad::dxf::OwnedTag> AcDbHatch::boundaryTags() const {
    std::vector<cad::dxf::OwnedTag> tags;
    for (const cad::dxf::OwnedTag& tag : extraTags()) {
        if (tag.code != 102 && tag.code < 1000) {
            tags.push_back(tag);
        }
    }
    return tags;
}

const ClassTable& AcDbRegion::classTable() {
    static ClassTable table = [] {
        ClassTable result("REGION");
        addEntityFields(result).marker("AcDbModelerGeometry");
        result.add(field<&AcDbRegion::m_version>(70));
        return result;
    }();
    return table;
}

std::vector<std::string> AcDbRegion::acisData() const {
    std::vector<std::string> lines;
    for (const cad::dxf::OwnedTag& tag : extraTags()) {
        if (tag.code == 1) {
            lines.push_back(tag.text);
        } else if (tag.code == 3 && !lines.empty()) {
            lines.back() += tag.text;
        }
    }
    return lines;
}

const ClassTable& AcDbMline::classTable() {
    static ClassTable table = [] {
        ClassTable result("MLINE");
        addEntityFields(result).marker("AcDbMline");
        result.add(field<&AcDbMline::m_styleName>(2));
        result.add(field<&AcDbMline::m_styleHandle>(340));
        result.add(field<&AcDbMline::m_scale>(40));
        result.add(field<&AcDbMline::m_justification>(70));
        result.add(field<&AcDbMline::m_flags>(71));
        const int vertices = result.addList(cad::db::listOf<&AcDbMline::m_vertices>());
        result.add(cad::db::countField(72, vertices));
        result.add(field<&AcDbMline::m_elementCount>(73));
        addPoint<&AcDbMline::m_start>(result, 10);
        addNormal<&AcDbMline::m_normal>(result);
        using Vertex = AcDbMline::Vertex;
        result.add(listField<&AcDbMline::m_vertices, &Vertex::position, &AcGePoint3d::x>(11, vertices, true));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::position, &AcGePoint3d::y>(21, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::position, &AcGePoint3d::z>(31, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::direction, &AcGeVector3d::x>(12, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::direction, &AcGeVector3d::y>(22, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::direction, &AcGeVector3d::z>(32, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::miter, &AcGeVector3d::x>(13, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::miter, &AcGeVector3d::y>(23, vertices));
        result.add(listField<&AcDbMline::m_vertices, &Vertex::miter, &AcGeVector3d::z>(33, vertices));
        return result;
    }();
    return table;
}

AcGePoint3d AcDbMline::vertexAt(int index) const {
    if (index < 0 || index >= numVertices()) {
        return {};
    }
    return m_vertices[static_cast<std::size_t>(index)].position;
}

AcGeVector3d AcDbMline::axisAt(int index) const {
    if (index < 0 || index >= numVertices()) {
        return {};
    }
    return m_vertices[static_cast<std::size_t>(index)].direction;
}

AcGeVector3d AcDbMline::miterAt(int index) const {
    if (index < 0 || index >= numVertices()) {
        return {};
    }
    return m_vertices[static_cast<std::size_t>(index)].miter;
}

AcDbObjectId AcDbMline::style() const {
    return database() != nullptr ? database()->objectIdOf(m_styleHandle) : AcDbObjectId();
}

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockRecord)
    : m_position(position) {
    setBlockTableRecord(blockRecord);
}

const ClassTable& AcDbBlockReference::classTable() {
    static ClassTable table = [] {
        ClassTable result("INSERT");
        // MINSERT writes AcDbMInsertBlock in place of AcDbBlockReference; the groups are the same.
        addEntityFields(result).marker("AcDbBlockReference").anySubclass();
        result.add(field<&AcDbBlockReference::m_attributesFollow>(66).byDefault(0));
        result.add(field<&AcDbBlockReference::m_blockName>(2));
        addPoint<&AcDbBlockReference::m_position>(result, 10);
        result.add(field<&AcDbBlockReference::m_scale, &AcGePoint3d::x>(41).byDefault(1.0));
        result.add(field<&AcDbBlockReference::m_scale, &AcGePoint3d::y>(42).byDefault(1.0));
        result.add(field<&AcDbBlockReference::m_scale, &AcGePoint3d::z>(43).byDefault(1.0));
        result.add(field<&AcDbBlockReference::m_rotationDegrees>(50).byDefault(0.0));
        result.add(field<&AcDbBlockReference::m_columns>(70).byDefault(1));
        result.add(field<&AcDbBlockReference::m_rows>(71).byDefault(1));
        result.add(field<&AcDbBlockReference::m_columnSpacing>(44).byDefault(0.0));
        result.add(field<&AcDbBlockReference::m_rowSpacing>(45).byDefault(0.0));
        addNormal<&AcDbBlockReference::m_normal>(result);
        return result;
    }();
    return table;
}

double AcDbBlockReference::rotation() const {
    return m_rotationDegrees / kDegreesPerRadian;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double radians) {
    return assignWhenWritable(m_rotationDegrees, radians * kDegreesPerRadian);
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
    return assignWhenWritable(m_position, position);
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
    if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_scale.set(scale.sx, scale.sy, scale.sz);
    return Acad::eOk;
}

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
    return recordInTable(&AcDbDatabase::blockTableId, m_blockName.text());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId record) {
    const AcDbDatabase* owner = record.database();
    const AcDbObject* object = owner != nullptr ? owner->peekObject(record) : nullptr;
    const AcDbBlockTableRecord* block = AcDbBlockTableRecord::cast(object);
    if (block == nullptr) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_blockName = cad::db::Name(block->name());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbEntity* attribute) {
    if (AcDbAttribute::cast(attribute) == nullptr) {
        return Acad::eWrongObjectType;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const Acad::ErrorStatus status = cad::db::appendSubEntity(*this, id, attribute);
    if (status == Acad::eOk) {
        m_attributesFollow = 1;
    }
    return status;
}

const ClassTable& AcDbRasterImage::classTable() {
    static ClassTable table = [] {
        ClassTable result("IMAGE");
        addEntityFields(result).marker("AcDbRasterImage");
        result.add(field<&AcDbRasterImage::m_classVersion>(90));
        addPoint<&AcDbRasterImage::m_origin>(result, 10);
        addPoint<&AcDbRasterImage::m_u>(result, 11);
        addPoint<&AcDbRasterImage::m_v>(result, 12);
        addPoint<&AcDbRasterImage::m_size>(result, 13);
        result.add(field<&AcDbRasterImage::m_imageDef>(340));
        result.add(field<&AcDbRasterImage::m_display>(70));
        result.add(field<&AcDbRasterImage::m_clipping>(280));
        result.add(field<&AcDbRasterImage::m_brightness>(281));
        result.add(field<&AcDbRasterImage::m_contrast>(282));
        result.add(field<&AcDbRasterImage::m_fade>(283));
        result.add(field<&AcDbRasterImage::m_reactor>(360));
        result.add(field<&AcDbRasterImage::m_clipType>(71));
        const int clip = result.addList(cad::db::listOf<&AcDbRasterImage::m_clipVertices>());
        result.add(cad::db::countField(91, clip));
        result.add(listField<&AcDbRasterImage::m_clipVertices, &AcGePoint2d::x>(14, clip, true));
        result.add(listField<&AcDbRasterImage::m_clipVertices, &AcGePoint2d::y>(24, clip));
        return result;
    }();
    return table;
}

const ClassTable& AcDbWipeout::classTable() {
    static ClassTable table =
        AcDbRasterImage::classTable().renamed("WIPEOUT", "AcDbRasterImage", "AcDbWipeout");
    return table;
}

AcDbObjectId AcDbRasterImage::imageDefId() const {
    return database() != nullptr ? database()->objectIdOf(m_imageDef) : AcDbObjectId();
}

bool AcDbRasterImage::getOrientation(AcGePoint3d& origin, AcGeVector3d& u, AcGeVector3d& v) const {
    origin = m_origin;
    u = m_u * m_size.x;
    v = m_v * m_size.y;
    return true;
}

// Drawing units per pixel along the image's width and height.
AcGeVector2d AcDbRasterImage::scale() const {
    return {m_u.length(), m_v.length()};
}

const ClassTable& AcDbViewport::classTable() {
    static ClassTable table = [] {
        ClassTable result("VIEWPORT");
        addEntityFields(result).marker("AcDbViewport");
        addPoint<&AcDbViewport::m_center>(result, 10);
        result.add(field<&AcDbViewport::m_width>(40));
        result.add(field<&AcDbViewport::m_height>(41));
        result.add(field<&AcDbViewport::m_status>(68));
        result.add(field<&AcDbViewport::m_id>(69));
        addPoint<&AcDbViewport::m_viewCenter>(result, 12);
        result.add(field<&AcDbViewport::m_viewHeight>(45));
        result.add(field<&AcDbViewport::m_flags>(90));
        result.add(field<&AcDbViewport::m_ucsPerViewport>(71).byDefault(0));
        return result;
    }();
    return table;
}

ClassTable& AcDbDimension::addDimensionFields(ClassTable& table) {
    addEntityFields(table).marker("AcDbDimension");
    table.add(field<&AcDbDimension::m_blockName>(2));
    addPoint<&AcDbDimension::m_definitionPoint>(table, 10);
    addPoint<&AcDbDimension::m_textPosition>(table, 11);
    table.add(field<&AcDbDimension::m_type>(70));
    table.add(field<&AcDbDimension::m_attachment>(71).byDefault(5));
    table.add(field<&AcDbDimension::m_measurement>(42).byDefault(0.0));
    table.add(field<&AcDbDimension::m_text>(1).byDefaultText(""));
    table.add(field<&AcDbDimension::m_textRotationDegrees>(53).byDefault(0.0));
    addNormal<&AcDbDimension::m_normal>(table);
    table.add(field<&AcDbDimension::m_styleName>(3));
    return table;
}

const ClassTable& AcDbDimension::classTable() {
    static ClassTable table = [] {
        ClassTable result("DIMENSION");
        return addDimensionFields(result);
    }();
    return table;
}

#define QUELTO_DIMENSION_TABLE(CLASS, DXF_NAME, BODY)                                                        \
    const ClassTable& CLASS::classTable() {                                                                  \
        static ClassTable table = [] {                                                                       \
            ClassTable result(DXF_NAME);                                                                     \
            addDimensionFields(result);                                                                      \
            BODY;                                                                                            \
            return result;                                                                                   \
        }();                                                                                                 \
        return table;                                                                                        \
    }

QUELTO_DIMENSION_TABLE(AcDbAlignedDimension, "DIMENSION", {
    result.marker("AcDbAlignedDimension");
    addPoint<&AcDbAlignedDimension::m_point13>(result, 13);
    addPoint<&AcDbAlignedDimension::m_point14>(result, 14);
    result.add(field<&AcDbAlignedDimension::m_angleDegrees>(50).byDefault(0.0));
})
QUELTO_DIMENSION_TABLE(AcDbRotatedDimension, "DIMENSION", {
    result.marker("AcDbAlignedDimension");
    addPoint<&AcDbRotatedDimension::m_point13>(result, 13);
    addPoint<&AcDbRotatedDimension::m_point14>(result, 14);
    result.add(field<&AcDbRotatedDimension::m_angleDegrees>(50).byDefault(0.0));
    result.marker("AcDbRotatedDimension");
})
QUELTO_DIMENSION_TABLE(AcDb2LineAngularDimension, "DIMENSION", {
    result.marker("AcDb2LineAngularDimension");
    addPoint<&AcDb2LineAngularDimension::m_point13>(result, 13);
    addPoint<&AcDb2LineAngularDimension::m_point14>(result, 14);
    addPoint<&AcDb2LineAngularDimension::m_point15>(result, 15);
    addPoint<&AcDb2LineAngularDimension::m_point16>(result, 16);
})
QUELTO_DIMENSION_TABLE(AcDb3PointAngularDimension, "DIMENSION", {
    result.marker("AcDb3PointAngularDimension");
    addPoint<&AcDb3PointAngularDimension::m_point13>(result, 13);
    addPoint<&AcDb3PointAngularDimension::m_point14>(result, 14);
    addPoint<&AcDb3PointAngularDimension::m_point15>(result, 15);
})
QUELTO_DIMENSION_TABLE(AcDbDiametricDimension, "DIMENSION", {
    result.marker("AcDbDiametricDimension");
    addPoint<&AcDbDiametricDimension::m_point15>(result, 15);
    result.add(field<&AcDbDiametricDimension::m_leaderLength>(40));
})
QUELTO_DIMENSION_TABLE(AcDbRadialDimension, "DIMENSION", {
    result.marker("AcDbRadialDimension");
    addPoint<&AcDbRadialDimension::m_point15>(result, 15);
    result.add(field<&AcDbRadialDimension::m_leaderLength>(40));
})
QUELTO_DIMENSION_TABLE(AcDbOrdinateDimension, "DIMENSION", {
    result.marker("AcDbOrdinateDimension");
    addPoint<&AcDbOrdinateDimension::m_point13>(result, 13);
    addPoint<&AcDbOrdinateDimension::m_point14>(result, 14);
})
QUELTO_DIMENSION_TABLE(AcDbArcDimension, "ARC_DIMENSION", {
    result.marker("AcDbArcDimension");
    addPoint<&AcDbArcDimension::m_point13>(result, 13);
    addPoint<&AcDbArcDimension::m_point14>(result, 14);
    addPoint<&AcDbArcDimension::m_point15>(result, 15);
    result.add(field<&AcDbArcDimension::m_partial>(70).byDefault(0));
    result.add(field<&AcDbArcDimension::m_arcStartParameter>(40));
    result.add(field<&AcDbArcDimension::m_arcEndParameter>(41));
    result.add(field<&AcDbArcDimension::m_hasLeader>(71).byDefault(0));
    addPoint<&AcDbArcDimension::m_leader1>(result, 16);
    addPoint<&AcDbArcDimension::m_leader2>(result, 17);
})

double AcDbRotatedDimension::rotation() const {
    return m_angleDegrees / kDegreesPerRadian;
}

double AcDbDimension::textRotation() const {
    return m_textRotationDegrees / kDegreesPerRadian;
}

Acad::ErrorStatus AcDbDimension::setDimensionText(const ACHAR* text) {
    return assignTextWhenWritable(m_text, text);
}

AcDbObjectId AcDbDimension::dimensionStyle() const {
    return recordInTable(&AcDbDatabase::dimStyleTableId, dimensionStyleName());
}

AcDbObjectId AcDbDimension::dimBlockId() const {
    return recordInTable(&AcDbDatabase::blockTableId, m_blockName);
}

bool AcDbDimension::findOverride(int code, cad::dxf::OwnedTag& value) const {
    const std::vector<cad::dxf::OwnedTag> data = xData("ACAD");
    bool inStyle = false;
    for (std::size_t index = 0; index < data.size(); ++index) {
        const cad::dxf::OwnedTag& tag = data[index];
        if (tag.code == 1000 && tag.text == "DSTYLE") {
            inStyle = true;
        }
        if (!inStyle) {
            continue;
        }
        if (tag.code == 1002 && tag.text == "}") {
            break;
        }
        if (tag.code == 1070 && tag.integer == code && index + 1 < data.size()) {
            value = data[index + 1];
            return true;
        }
    }
    return false;
}

namespace {
const AcDbDimStyleTableRecord* styleOf(const AcDbDimension& dimension) {
    const AcDbDatabase* owner = dimension.database();
    if (owner == nullptr) {
        return nullptr;
    }
    return AcDbDimStyleTableRecord::cast(owner->peekObject(dimension.dimensionStyle()));
}
double numberOf(const cad::dxf::OwnedTag& tag) {
    return tag.type == cad::dxf::ValueType::Double ? tag.real : static_cast<double>(tag.integer);
}
} // namespace

int AcDbDimension::dimdec() const {
    cad::dxf::OwnedTag value;
    if (findOverride(271, value)) {
        return static_cast<int>(numberOf(value));
    }
    const AcDbDimStyleTableRecord* style = styleOf(*this);
    return style != nullptr ? style->dimdec() : 4;
}

int AcDbDimension::dimzin() const {
    cad::dxf::OwnedTag value;
    if (findOverride(78, value)) {
        return static_cast<int>(numberOf(value));
    }
    const AcDbDimStyleTableRecord* style = styleOf(*this);
    return style != nullptr ? style->dimzin() : 0;
}

double AcDbDimension::dimscale() const {
    cad::dxf::OwnedTag value;
    if (findOverride(40, value)) {
        return numberOf(value);
    }
    const AcDbDimStyleTableRecord* style = styleOf(*this);
    return style != nullptr ? style->dimscale() : 1.0;
}

double AcDbDimension::dimasz() const {
    cad::dxf::OwnedTag value;
    if (findOverride(41, value)) {
        return numberOf(value);
    }
    const AcDbDimStyleTableRecord* style = styleOf(*this);
    return style != nullptr ? style->dimasz() : 0.18;
}

std::wstring AcDbDimension::dimpost() const {
    cad::dxf::OwnedTag value;
    const AcDbDatabase* owner = database();
    if (findOverride(3, value)) {
        return owner != nullptr ? owner->textCodec().decode(value.text) : std::wstring();
    }
    const AcDbDimStyleTableRecord* style = styleOf(*this);
    return style != nullptr ? style->dimpost() : std::wstring();
}
