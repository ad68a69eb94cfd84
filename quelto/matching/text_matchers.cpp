// Matchers of the text kinds: single-line TEXT (with its mirror flags and justification index), MTEXT
// (flow direction and line-spacing style by the host's numbers) and SHAPE.
#include "platform/wide_text.h"
#include "quelto/matching/type_matchers.h"

namespace quelto::matching {

namespace {

// The justification names in the order of their index.
constexpr EnumerationItem kJustificationItems[] = {{L"左", 0},    {L"中心", 1},  {L"右", 2},    {L"对齐", 3},
                                                   {L"中间", 4},  {L"调整", 5},  {L"左上", 6},  {L"中上", 7},
                                                   {L"右上", 8},  {L"左中", 9},  {L"正中", 10}, {L"右中", 11},
                                                   {L"左下", 12}, {L"中下", 13}, {L"右下", 14}};
constexpr EnumerationNames kJustifications{kJustificationItems, -1};

constexpr EnumerationItem kFlowDirectionItems[] = {{L"水平", AcDbMText::kLtoR}, {L"垂直", AcDbMText::kTtoB}};
constexpr EnumerationNames kFlowDirections{kFlowDirectionItems, AcDbMText::kByStyle};

constexpr EnumerationItem kLineSpacingItems[] = {{L"至少", 1}};
constexpr EnumerationNames kLineSpacingStyles{kLineSpacingItems, 2};

constexpr int kMiddleCenterIndex = 10;

// Baseline texts take their horizontal mode as the index; top, middle and bottom texts that are left,
// centred or right take 6-8, 9-11 and 12-14. Anything else reads as middle centre.
int justificationIndex(AcDb::TextHorzMode horizontal, AcDb::TextVertMode vertical) {
    const int across = static_cast<int>(horizontal);
    if (vertical == AcDb::kTextBase) {
        return across >= 0 && across <= 5 ? across : kMiddleCenterIndex;
    }
    if (across < 0 || across > 2) {
        return kMiddleCenterIndex;
    }
    switch (vertical) {
    case AcDb::kTextTop:
        return 6 + across;
    case AcDb::kTextVertMid:
        return 9 + across;
    case AcDb::kTextBottom:
        return 12 + across;
    default:
        return kMiddleCenterIndex;
    }
}

} // namespace

int matchText(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbText>(id, [&](const AcDbText& text) {
        const AcGePoint3d position = context.point(text.position());
        const AcGePoint3d alignment = context.point(text.alignmentPoint());
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, position, value) ||
                pointComponent(row.propertyId, 204, alignment, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 207:
                return RowValue::real(text.height());
            case 208:
                return RowValue::real(text.widthFactor());
            case 209:
                return RowValue::real(context.angle(text.oblique()));
            case 210:
                return RowValue::real(context.angle(text.rotation()));
            case 211:
                return RowValue::real(text.thickness());
            case 212:
                return RowValue::real(_wtof(text.textString()));
            case 301:
                return RowValue::text(recordName<AcDbTextStyleTableRecord>(text.textStyle()));
            case 302:
                return RowValue::text(text.textString());
            case 401:
                return RowValue::yesNo(text.isMirroredInY());
            case 402:
                return RowValue::yesNo(text.isMirroredInX());
            case 403:
                return RowValue::enumeration(justificationIndex(text.horizontalMode(), text.verticalMode()),
                                             kJustifications);
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchMText(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbMText>(id, [&](const AcDbMText& text) {
        const AcGePoint3d location = context.point(text.location());
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, location, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 207:
                return RowValue::real(text.actualHeight());
            case 208:
                return RowValue::real(text.actualWidth());
            case 209:
                return RowValue::real(text.textHeight());
            case 210:
                return RowValue::real(text.width());
            case 211:
                return RowValue::real(context.angle(text.rotation()));
            case 212:
                return RowValue::real(text.lineSpacingFactor());
            case 214:
                return RowValue::real(_wtof(text.contents()));
            case 301:
                return RowValue::text(recordName<AcDbTextStyleTableRecord>(text.textStyle()));
            case 302:
                return RowValue::text(text.contents());
            case 403:
                return RowValue::enumeration(static_cast<int>(text.flowDirection()), kFlowDirections);
            case 404:
                return RowValue::enumeration(text.lineSpacingStyle(), kLineSpacingStyles);
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchShape(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbShape>(id, [&](const AcDbShape& shape) {
        const AcGePoint3d position = context.point(shape.position());
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, position, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 204:
                return RowValue::real(context.angle(shape.rotation()));
            case 205:
                return RowValue::real(shape.size());
            case 206:
                return RowValue::real(context.angle(shape.oblique()));
            case 207:
                return RowValue::real(shape.widthFactor());
            case 208:
                return RowValue::real(shape.thickness());
            case 301:
                return RowValue::text(shape.name());
            default:
                return RowValue::unknown();
            }
        });
    });
}

} // namespace quelto::matching
