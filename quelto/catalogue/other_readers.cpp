// The readers of the text, block, hatch, multiline, region, image, dimension, shape and viewport kinds.
// A record an entity refers to (style, block, image definition) that cannot be opened leaves its one
// value as the previous read of the kind left it; the image path is the exception and becomes empty.

#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "platform/angle_units.h"
#include "platform/wide_text.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/catalogue/property_writer.h"

#include <cmath>

namespace {

using platform::kTwoPi;

// The item of the justification list for the text's vertical and horizontal modes.
const wchar_t* justificationItem(AcDb::TextVertMode vertical, AcDb::TextHorzMode horizontal) {
    static const wchar_t* const kBaseline[] = {L"左", L"中心", L"右", L"对齐", L"中间", L"调整"};
    static const wchar_t* const kTop[] = {L"左上", L"中上", L"右上"};
    static const wchar_t* const kMiddle[] = {L"左中", L"正中", L"右中"};
    static const wchar_t* const kBottom[] = {L"左下", L"中下", L"右下"};
    const int column = static_cast<int>(horizontal);
    if (vertical == AcDb::kTextBase && column >= 0 && column < 6) {
        return kBaseline[column];
    }
    if (column < 0 || column > 2) {
        return L"正中";
    }
    switch (vertical) {
    case AcDb::kTextTop:
        return kTop[column];
    case AcDb::kTextVertMid:
        return kMiddle[column];
    case AcDb::kTextBottom:
        return kBottom[column];
    default:
        return L"正中";
    }
}

void writeRecordName(PropertyWriter& write, bool found, const CString& name) {
    if (found) {
        write.text(name);
    } else {
        write.keep();
    }
}

} // namespace

void CInfoMapList::ReadText(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbText* text = ReaderTarget<AcDbText>(*this, entity, L"TEXT", info);
    if (text == nullptr) {
        return;
    }
    CString styleName;
    const bool styleFound = RecordName<AcDbTextStyleTableRecord>(text->textStyle(), styleName);
    PropertyWriter write(*info, *this);
    write.point(text->position());
    write.point(text->alignmentPoint());
    write.real(text->height());
    write.real(text->widthFactor());
    write.angle(text->oblique());
    write.angle(text->rotation());
    write.real(text->thickness());
    write.real(_wtof(text->textString()));
    writeRecordName(write, styleFound, styleName);
    write.text(justificationItem(text->verticalMode(), text->horizontalMode()));
    write.text(text->textString());
    write.yesNo(text->isMirroredInY());
    write.yesNo(text->isMirroredInX());
}

void CInfoMapList::ReadMText(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbMText* text = ReaderTarget<AcDbMText>(*this, entity, L"MTEXT", info);
    if (text == nullptr) {
        return;
    }
    CString styleName;
    const bool styleFound = RecordName<AcDbTextStyleTableRecord>(text->textStyle(), styleName);
    const CString contents = text->contents();
    PropertyWriter write(*info, *this);
    write.point(text->location());
    write.real(text->actualHeight());
    write.real(text->actualWidth());
    write.real(text->textHeight());
    write.real(text->width());
    write.angle(text->rotation());
    write.real(text->lineSpacingFactor());
    write.real(_wtof(contents));
    writeRecordName(write, styleFound, styleName);
    write.text(contents);
    switch (text->flowDirection()) {
    case AcDbMText::kLtoR:
        write.text(L"水平");
        break;
    case AcDbMText::kTtoB:
        write.text(L"垂直");
        break;
    case AcDbMText::kByStyle:
        write.text(L"随样式");
        break;
    default:
        write.keep();
        break;
    }
    if (text->lineSpacingStyle() == 1) {
        write.text(L"至少");
    } else if (text->lineSpacingStyle() == 2) {
        write.text(L"精确");
    }
}

void CInfoMapList::ReadInsert(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbBlockReference* reference = ReaderTarget<AcDbBlockReference>(*this, entity, L"INSERT", info);
    if (reference == nullptr) {
        return;
    }
    CString blockName;
    const bool blockFound = RecordName<AcDbBlockTableRecord>(reference->blockTableRecord(), blockName);
    const AcGeScale3d scale = reference->scaleFactors();
    PropertyWriter write(*info, *this);
    write.point(reference->position());
    write.real(scale.sx);
    write.real(scale.sy);
    write.real(scale.sz);
    write.angle(reference->rotation());
    writeRecordName(write, blockFound, blockName);
}

void CInfoMapList::ReadHatch(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbHatch* hatch = ReaderTarget<AcDbHatch>(*this, entity, L"HATCH", info);
    if (hatch == nullptr) {
        return;
    }
    static const wchar_t* const kPatternTypes[] = {L"用户定义", L"预定义", L"自定义"};
    static const wchar_t* const kStyles[] = {L"普通", L"外部", L"忽略"};
    const int patternType = static_cast<int>(hatch->patternType());
    const int style = static_cast<int>(hatch->hatchStyle());
    PropertyWriter write(*info, *this);
    if (patternType >= 0 && patternType < 3) {
        write.text(kPatternTypes[patternType]);
    } else {
        write.keep();
    }
    write.text(hatch->patternName());
    write.angle(hatch->patternAngle());
    write.real(hatch->patternScale());
    write.real(hatch->patternSpace());
    write.real(hatch->elevation());
    write.yesNo(hatch->associative());
    if (style >= 0 && style < 3) {
        write.text(kStyles[style]);
    }
}

void CInfoMapList::ReadMline(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbMline* mline = ReaderTarget<AcDbMline>(*this, entity, L"MLINE", info);
    if (mline == nullptr) {
        return;
    }
    static const wchar_t* const kJustifications[] = {L"上", L"中", L"下"};
    const int justification = static_cast<int>(mline->justification());
    CString styleName;
    const bool styleFound = RecordName<AcDbMlineStyle>(mline->style(), styleName);
    PropertyWriter write(*info, *this);
    write.integer(mline->numVertices());
    write.real(mline->scale());
    if (justification >= 0 && justification < 3) {
        write.text(kJustifications[justification]);
    } else {
        write.keep();
    }
    write.yesNo(mline->closedMline());
    writeRecordName(write, styleFound, styleName);
}

void CInfoMapList::ReadRegion(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbRegion* region = ReaderTarget<AcDbRegion>(*this, entity, L"REGION", info);
    if (region == nullptr) {
        return;
    }
    double area = 0.0;
    double perimeter = 0.0;
    region->getArea(area);
    region->getPerimeter(perimeter);
    PropertyWriter write(*info, *this);
    write.integer(region->numChanges());
    write.real(area);
    write.real(perimeter);
}

void CInfoMapList::ReadImage(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbRasterImage* image = ReaderTarget<AcDbRasterImage>(*this, entity, L"IMAGE", info);
    if (image == nullptr) {
        return;
    }
    AcGePoint3d origin;
    AcGeVector3d widthVector;
    AcGeVector3d heightVector;
    image->getOrientation(origin, widthVector, heightVector);
    const double width = widthVector.length();
    double rotation = 0.0;
    if (width != 0.0) {
        rotation = std::acos(widthVector.x / width);
        if (widthVector.y <= 0.0) {
            rotation = -rotation;
        }
        if (rotation < 0.0) {
            rotation += kTwoPi;
        }
    }
    CString path;
    AcDbRasterImageDef* definition = nullptr;
    if (acdbOpenObject(definition, image->imageDefId(), AcDb::kForRead) == Acad::eOk) {
        path = definition->sourceFileName();
        definition->close();
    }
    PropertyWriter write(*info, *this);
    write.integer(image->brightness());
    write.integer(image->contrast());
    write.integer(image->fade());
    write.point(origin);
    write.real(image->scale().x);
    write.real(image->scale().y);
    write.real(width);
    write.real(heightVector.length());
    write.angle(rotation);
    write.yesNo(image->isSetDisplayOpt(AcDbRasterImage::kShow));
    write.yesNo(image->isSetDisplayOpt(AcDbRasterImage::kClip));
    write.yesNo(image->isSetDisplayOpt(AcDbRasterImage::kTransparent));
    write.text(path);
}

void CInfoMapList::ReadDimension(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbDimension* dimension = ReaderTarget<AcDbDimension>(*this, entity, L"DIMENSION", info);
    if (dimension == nullptr) {
        return;
    }
    CString styleName;
    const bool styleFound = RecordName<AcDbDimStyleTableRecord>(dimension->dimensionStyle(), styleName);
    const CString post = dimension->dimpost();
    const std::size_t marker = post.find(L"<>");
    const int zeroSuppression = dimension->dimzin();
    PropertyWriter write(*info, *this);
    write.integer(dimension->dimdec());
    write.angle(dimension->textRotation());
    write.real(dimension->measurement());
    write.point(dimension->textPosition());
    write.real(dimension->dimscale());
    write.text(dimension->dimensionText());
    writeRecordName(write, styleFound, styleName);
    write.real(dimension->dimasz());
    write.text(marker == CString::npos ? CString() : post.substr(0, marker));
    write.text(marker == CString::npos ? CString() : post.substr(marker + 2));
    write.yesNo((zeroSuppression & 4) != 0);
    write.yesNo((zeroSuppression & 8) != 0);
}

void CInfoMapList::ReadShape(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbShape* shape = ReaderTarget<AcDbShape>(*this, entity, L"SHAPE", info);
    if (shape == nullptr) {
        return;
    }
    const CString name = shape->name();
    PropertyWriter write(*info, *this);
    write.point(shape->position());
    write.angle(shape->rotation());
    write.real(shape->size());
    write.angle(shape->oblique());
    write.real(shape->widthFactor());
    write.real(shape->thickness());
    writeRecordName(write, !name.empty(), name);
}

void CInfoMapList::ReadViewport(const AcDbEntity& entity) {
    EntityInfo* info = nullptr;
    const AcDbViewport* viewport = ReaderTarget<AcDbViewport>(*this, entity, L"VIEWPORT", info);
    if (viewport == nullptr) {
        return;
    }
    PropertyWriter write(*info, *this);
    // Paper-space coordinates, never converted.
    write.worldPoint(viewport->centerPoint());
    write.real(viewport->width());
    write.real(viewport->height());
    write.real(viewport->customScale());
    write.real(viewport->viewCenter().x);
    write.real(viewport->viewCenter().y);
    write.yesNo(viewport->isOn());
    write.yesNo(viewport->isNonRectClipOn());
    write.yesNo(viewport->isLocked());
    write.yesNo(viewport->isUcsSavedWithViewport());
    write.yesNo(viewport->hiddenLinesRemoved());
}
