// The text kinds: TEXT, ATTRIB and ATTDEF (single-line text with a tag), MTEXT and SHAPE. Angles are
// stored as DXF has them (degrees, radians for MTEXT) and answered in radians.
#pragma once

#include "cad/db/db_entity.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <string>
#include <vector>

class QUELTO_EXPORT AcDbText : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbText)
    QUELTO_ENTITY_GEOMETRY
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGePoint3d alignmentPoint() const { return m_alignment; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
    double height() const { return m_height; }
    Acad::ErrorStatus setHeight(double height);
    double widthFactor() const { return m_widthFactor; }
    Acad::ErrorStatus setWidthFactor(double factor);
    double oblique() const; // radians
    Acad::ErrorStatus setOblique(double radians);
    double rotation() const; // radians
    Acad::ErrorStatus setRotation(double radians);
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }
    const ACHAR* textStringConst() const { return m_text.c_str(); }
    std::wstring textString() const { return m_text; }
    Acad::ErrorStatus setTextString(const ACHAR* text);
    // The style's name ("STANDARD" when the text names none) and record.
    std::wstring textStyleName() const {
        return m_style.isEmpty() ? std::wstring(L"STANDARD") : m_style.text();
    }
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyleName(const ACHAR* name);
    // The drawing whose style table the text's style is looked up in: its own, or for a copy made with
    // clone() the drawing of the original, since the host's copies keep their style record.
    const AcDbDatabase* styleDatabase() const { return database() != nullptr ? database() : m_copiedFrom; }
    AcDbEntity* clone() const override;
    bool isMirroredInX() const { return (m_generation & 2) != 0; }
    bool isMirroredInY() const { return (m_generation & 4) != 0; }
    AcDb::TextHorzMode horizontalMode() const { return static_cast<AcDb::TextHorzMode>(m_horizontal); }
    AcDb::TextVertMode verticalMode() const { return static_cast<AcDb::TextVertMode>(m_vertical); }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);

protected:
    static cad::db::ClassTable& addTextFields(cad::db::ClassTable& table);

    double m_thickness = 0.0;
    AcGePoint3d m_position;
    double m_height = 0.0;
    std::wstring m_text;
    double m_rotationDegrees = 0.0;
    double m_widthFactor = 1.0;
    double m_obliqueDegrees = 0.0;
    cad::db::Name m_style;
    Adesk::Int16 m_generation = 0;
    Adesk::Int16 m_horizontal = 0;
    AcGePoint3d m_alignment;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    Adesk::Int16 m_vertical = 0;
    const AcDbDatabase* m_copiedFrom = nullptr;
};

// ATTRIB: a text owned by an INSERT, with a tag. Its vertical mode is group 74 (73 is the field length).
class QUELTO_EXPORT AcDbAttribute : public AcDbText {
public:
    QUELTO_DXF_CLASS(AcDbAttribute)
    const std::wstring& tagConst() const { return m_tag; }
    std::wstring tag() const { return m_tag; }
    Acad::ErrorStatus setTag(const ACHAR* tag);
    bool isInvisible() const { return (m_attributeFlags & 1) != 0; }
    bool isConstant() const { return (m_attributeFlags & 2) != 0; }

protected:
    std::wstring m_tag;
    Adesk::Int16 m_attributeFlags = 0;
    Adesk::Int16 m_fieldLength = 0;
};

class QUELTO_EXPORT AcDbAttributeDefinition : public AcDbAttribute {
public:
    QUELTO_DXF_CLASS(AcDbAttributeDefinition)
    const std::wstring& prompt() const { return m_prompt; }

private:
    std::wstring m_prompt;
};

class QUELTO_EXPORT AcDbMText : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbMText)
    QUELTO_ENTITY_GEOMETRY
    enum AttachmentPoint {
        kTopLeft = 1,
        kTopCenter,
        kTopRight,
        kMiddleLeft,
        kMiddleCenter,
        kMiddleRight,
        kBottomLeft,
        kBottomCenter,
        kBottomRight
    };
    enum FlowDirection { kLtoR = 1, kRtoL = 2, kTtoB = 3, kBtoT = 4, kByStyle = 5 };

    AcGePoint3d location() const { return m_location; }
    Acad::ErrorStatus setLocation(const AcGePoint3d& location);
    AcGeVector3d normal() const { return m_normal; }
    AcGeVector3d direction() const { return m_direction; }
    double textHeight() const { return m_textHeight; }
    double width() const { return m_width; }
    // Measured by the text metric model (see text_metrics.h), not the values the file stored.
    double actualHeight() const;
    double actualWidth() const;
    double rotation() const; // radians
    double lineSpacingFactor() const { return m_lineSpacingFactor; }
    int lineSpacingStyle() const { return m_lineSpacingStyle; } // 1 at least, 2 exactly
    FlowDirection flowDirection() const { return static_cast<FlowDirection>(m_flowDirection); }
    AttachmentPoint attachment() const { return static_cast<AttachmentPoint>(m_attachment); }
    // The text with its formatting codes, as stored.
    std::wstring contents() const { return m_contents; }
    Acad::ErrorStatus setContents(const ACHAR* text);
    std::wstring textStyleName() const {
        return m_style.isEmpty() ? std::wstring(L"STANDARD") : m_style.text();
    }
    AcDbObjectId textStyle() const;

protected:
    void dxfLoaded(cad::db::TextContext& context) override;

private:
    AcGePoint3d m_location;
    double m_textHeight = 0.0;
    double m_width = 0.0;
    Adesk::Int16 m_attachment = 1;
    Adesk::Int16 m_flowDirection = 1;
    std::vector<std::string> m_chunks; // groups 3, bytes as stored
    std::string m_lastChunk;           // group 1
    std::wstring m_contents;
    cad::db::Name m_style;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    AcGeVector3d m_direction{1.0, 0.0, 0.0};
    double m_actualWidth = 0.0;
    double m_actualHeight = 0.0;
    double m_rotation = 0.0;
    Adesk::Int16 m_lineSpacingStyle = 1;
    double m_lineSpacingFactor = 1.0;
};

class QUELTO_EXPORT AcDbShape : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbShape)
    QUELTO_ENTITY_GEOMETRY
    AcGePoint3d position() const { return m_position; }
    double size() const { return m_size; }
    std::wstring name() const { return m_name; }
    double rotation() const; // radians
    double oblique() const;  // radians
    double widthFactor() const { return m_widthFactor; }
    double thickness() const { return m_thickness; }
    AcGeVector3d normal() const { return m_normal; }

private:
    double m_thickness = 0.0;
    AcGePoint3d m_position;
    double m_size = 1.0;
    std::wstring m_name;
    double m_rotationDegrees = 0.0;
    double m_widthFactor = 1.0;
    double m_obliqueDegrees = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};
