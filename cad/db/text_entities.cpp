// Attribute tables and accessors of TEXT, ATTRIB, ATTDEF, MTEXT and SHAPE. MTEXT keeps its text in the
// 250-byte chunks it was stored in, so an unchanged text is written back with the same chunking.
#include "cad/db/text_entities.h"

#include "cad/db/database.h"
#include "platform/angle_units.h"

#include <cmath>

using cad::db::addNormal;
using cad::db::addPoint;
using cad::db::ClassTable;
using cad::db::field;

ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbAttribute, AcDbText)
ACRX_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbAttribute)
ACRX_DEFINE_MEMBERS(AcDbMText, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbShape, AcDbEntity)

namespace {
using platform::kDegreesPerRadian;
// MTEXT splits its text into groups of at most this many bytes.
constexpr std::size_t kChunkBytes = 250;
} // namespace

ClassTable& AcDbText::addTextFields(ClassTable& table) {
    addEntityFields(table).marker("AcDbText");
    table.add(field<&AcDbText::m_thickness>(39).byDefault(0.0));
    addPoint<&AcDbText::m_position>(table, 10);
    table.add(field<&AcDbText::m_height>(40));
    table.add(field<&AcDbText::m_text>(1));
    table.add(field<&AcDbText::m_rotationDegrees>(50).byDefault(0.0));
    table.add(field<&AcDbText::m_widthFactor>(41).byDefault(1.0));
    table.add(field<&AcDbText::m_obliqueDegrees>(51).byDefault(0.0));
    table.add(field<&AcDbText::m_style>(7).byDefaultText(""));
    table.add(field<&AcDbText::m_generation>(71).byDefault(0));
    table.add(field<&AcDbText::m_horizontal>(72).byDefault(0));
    table.add(field<&AcDbText::m_alignment, &AcGePoint3d::x>(11).byDefault(0.0));
    table.add(field<&AcDbText::m_alignment, &AcGePoint3d::y>(21).byDefault(0.0));
    table.add(field<&AcDbText::m_alignment, &AcGePoint3d::z>(31).byDefault(0.0));
    addNormal<&AcDbText::m_normal>(table);
    return table;
}

const ClassTable& AcDbText::classTable() {
    static ClassTable table = [] {
        ClassTable result("TEXT");
        addTextFields(result);
        result.marker("AcDbText");
        result.add(field<&AcDbText::m_vertical>(73).byDefault(0));
        return result;
    }();
    return table;
}

double AcDbText::oblique() const {
    return m_obliqueDegrees / kDegreesPerRadian;
}

double AcDbText::rotation() const {
    return m_rotationDegrees / kDegreesPerRadian;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
    return assignWhenWritable(m_position, position);
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
    return assignWhenWritable(m_alignment, point);
}

Acad::ErrorStatus AcDbText::setHeight(double height) {
    if (!(height > 0.0)) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_height, height);
}

Acad::ErrorStatus AcDbText::setRotation(double radians) {
    return assignWhenWritable(m_rotationDegrees, radians * kDegreesPerRadian);
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
    return assignTextWhenWritable(m_text, text);
}

Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
    if (!(factor > 0.0)) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_widthFactor, factor);
}

Acad::ErrorStatus AcDbText::setOblique(double radians) {
    return assignWhenWritable(m_obliqueDegrees, radians * kDegreesPerRadian);
}

AcDbObjectId AcDbText::textStyle() const {
    const AcDbDatabase* owner = styleDatabase();
    return owner != nullptr ? owner->recordIdByName(owner->textStyleTableId(), textStyleName())
                            : AcDbObjectId();
}

AcDbEntity* AcDbText::clone() const {
    AcDbEntity* copy = AcDbEntity::clone();
    if (AcDbText* text = AcDbText::cast(copy)) {
        text->m_copiedFrom = styleDatabase();
    }
    return copy;
}

Acad::ErrorStatus AcDbText::setTextStyleName(const ACHAR* name) {
    if (name == nullptr) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_style, cad::db::Name(name));
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
    return assignWhenWritable(m_horizontal, static_cast<Adesk::Int16>(mode));
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
    return assignWhenWritable(m_vertical, static_cast<Adesk::Int16>(mode));
}

const ClassTable& AcDbAttribute::classTable() {
    static ClassTable table = [] {
        ClassTable result("ATTRIB");
        addTextFields(result);
        result.marker("AcDbAttribute");
        result.add(field<&AcDbAttribute::m_tag>(2));
        result.add(field<&AcDbAttribute::m_attributeFlags>(70));
        result.add(field<&AcDbAttribute::m_fieldLength>(73).byDefault(0));
        result.add(field<&AcDbAttribute::m_vertical>(74).byDefault(0));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) {
    if (tag == nullptr || *tag == 0) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_tag, tag);
}

const ClassTable& AcDbAttributeDefinition::classTable() {
    static ClassTable table = [] {
        ClassTable result("ATTDEF");
        addTextFields(result);
        result.marker("AcDbAttributeDefinition");
        result.add(field<&AcDbAttributeDefinition::m_prompt>(3));
        result.add(field<&AcDbAttributeDefinition::m_tag>(2));
        result.add(field<&AcDbAttributeDefinition::m_attributeFlags>(70));
        result.add(field<&AcDbAttributeDefinition::m_fieldLength>(73).byDefault(0));
        result.add(field<&AcDbAttributeDefinition::m_vertical>(74).byDefault(0));
        return result;
    }();
    return table;
}

const ClassTable& AcDbMText::classTable() {
    static ClassTable table = [] {
        ClassTable result("MTEXT");
        addEntityFields(result).marker("AcDbMText");
        addPoint<&AcDbMText::m_location>(result, 10);
        result.add(field<&AcDbMText::m_textHeight>(40));
        result.add(field<&AcDbMText::m_width>(41));
        result.add(field<&AcDbMText::m_attachment>(71));
        result.add(field<&AcDbMText::m_flowDirection>(72));
        const int chunks = result.addList(cad::db::listOf<&AcDbMText::m_chunks>());
        result.add(cad::db::listField<&AcDbMText::m_chunks>(3, chunks, true));
        result.add(field<&AcDbMText::m_lastChunk>(1));
        result.add(field<&AcDbMText::m_style>(7).byDefaultText(""));
        addNormal<&AcDbMText::m_normal>(result);
        result.add(field<&AcDbMText::m_direction, &AcGeVector3d::x>(11).byDefault(1.0));
        result.add(field<&AcDbMText::m_direction, &AcGeVector3d::y>(21).byDefault(0.0));
        result.add(field<&AcDbMText::m_direction, &AcGeVector3d::z>(31).byDefault(0.0));
        result.add(field<&AcDbMText::m_actualWidth>(42).byDefault(0.0));
        result.add(field<&AcDbMText::m_actualHeight>(43).byDefault(0.0));
        result.add(field<&AcDbMText::m_rotation>(50).byDefault(0.0));
        result.add(field<&AcDbMText::m_lineSpacingStyle>(73).byDefault(1));
        result.add(field<&AcDbMText::m_lineSpacingFactor>(44).byDefault(1.0));
        return result;
    }();
    return table;
}

void AcDbMText::dxfLoaded(cad::db::TextContext& context) {
    std::string bytes;
    for (const std::string& chunk : m_chunks) {
        bytes += chunk;
    }
    bytes += m_lastChunk;
    m_contents = context.decode(bytes);
}

double AcDbMText::rotation() const {
    // Older writers give only the direction vector (group 11).
    if (m_rotation == 0.0 && (m_direction.y != 0.0 || m_direction.x < 0.0)) {
        return std::atan2(m_direction.y, m_direction.x);
    }
    return m_rotation;
}

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& location) {
    return assignWhenWritable(m_location, location);
}

Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) {
    if (text == nullptr) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_contents = text;
    const cad::dxf::TextCodec codec =
        database() != nullptr ? database()->textCodec() : cad::dxf::TextCodec::utf8();
    const std::string bytes = codec.encode(m_contents);
    m_chunks.clear();
    std::size_t start = 0;
    while (bytes.size() - start > kChunkBytes) {
        std::size_t length = kChunkBytes;
        // Never split a UTF-8 sequence between two groups.
        while (length > 1 && (static_cast<unsigned char>(bytes[start + length]) & 0xc0) == 0x80) {
            --length;
        }
        m_chunks.push_back(bytes.substr(start, length));
        start += length;
    }
    m_lastChunk = bytes.substr(start);
    return Acad::eOk;
}

AcDbObjectId AcDbMText::textStyle() const {
    return recordInTable(&AcDbDatabase::textStyleTableId, textStyleName());
}

const ClassTable& AcDbShape::classTable() {
    static ClassTable table = [] {
        ClassTable result("SHAPE");
        addEntityFields(result).marker("AcDbShape");
        result.add(field<&AcDbShape::m_thickness>(39).byDefault(0.0));
        addPoint<&AcDbShape::m_position>(result, 10);
        result.add(field<&AcDbShape::m_size>(40));
        result.add(field<&AcDbShape::m_name>(2));
        result.add(field<&AcDbShape::m_rotationDegrees>(50).byDefault(0.0));
        result.add(field<&AcDbShape::m_widthFactor>(41).byDefault(1.0));
        result.add(field<&AcDbShape::m_obliqueDegrees>(51).byDefault(0.0));
        addNormal<&AcDbShape::m_normal>(result);
        return result;
    }();
    return table;
}

double AcDbShape::rotation() const {
    return m_rotationDegrees / kDegreesPerRadian;
}

double AcDbShape::oblique() const {
    return m_obliqueDegrees / kDegreesPerRadian;
}
