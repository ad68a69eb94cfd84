// Matchers of the remaining kinds: INSERT, HATCH, POINT, MLINE, REGION, the DIMENSION family, IMAGE and
// WIPEOUT, and VIEWPORT. DIMENSION and IMAGE evaluate only their own id sets; rows with other ids of
// their catalogue lists are true.
#include "platform/angle_units.h"
#include "quelto/matching/type_matchers.h"

#include <cmath>

namespace quelto::matching {

namespace {

using platform::kTwoPi;

constexpr EnumerationItem kHatchPatternTypeItems[] = {{L"用户定义", 0}, {L"预定义", 1}};
constexpr EnumerationNames kHatchPatternTypes{kHatchPatternTypeItems, 2};
constexpr EnumerationItem kHatchStyleItems[] = {{L"普通", 0}, {L"外部", 1}};
constexpr EnumerationNames kHatchStyles{kHatchStyleItems, 2};
constexpr EnumerationItem kMlineJustificationItems[] = {{L"上", 0}, {L"中", 1}};
constexpr EnumerationNames kMlineJustifications{kMlineJustificationItems, 2};

// The dimension's DIMPOST text around its first "<>": the prefix before it (empty when it is missing or
// first) and the suffix after it (empty when it is missing).
CString dimensionPrefix(const CString& post) {
    const std::size_t mark = post.find(L"<>");
    return mark == CString::npos ? CString() : post.substr(0, mark);
}
CString dimensionSuffix(const CString& post) {
    const std::size_t mark = post.find(L"<>");
    return mark == CString::npos ? CString() : post.substr(mark + 2);
}

// Direction of the image's width vector: acos against X, negated when it does not point up, made
// positive; 0 for a vector of no length.
double imageRotation(const AcGeVector3d& widthVector) {
    const double length = widthVector.length();
    if (length == 0.0) {
        return 0.0;
    }
    double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, widthVector.x / length)));
    if (widthVector.y <= 0.0) {
        angle = -angle;
    }
    if (angle < 0.0) {
        angle += kTwoPi;
    }
    return angle;
}

} // namespace

int matchBlockReference(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbBlockReference>(id, [&](const AcDbBlockReference& reference) {
        const AcGePoint3d position = context.point(reference.position());
        const AcGeScale3d scale = reference.scaleFactors();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, position, value) ||
                pointComponent(row.propertyId, 204, AcGePoint3d(scale.sx, scale.sy, scale.sz), value)) {
                return value;
            }
            switch (row.propertyId) {
            case 207:
                return RowValue::real(context.angle(reference.rotation()));
            case 301:
                return RowValue::text(recordName<AcDbBlockTableRecord>(reference.blockTableRecord()));
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchHatch(const MatchContext& context, AcDbObjectId id) {
    return evaluateAs<AcDbHatch>(context, id, [&](const AcDbHatch& hatch, int propertyId) {
        switch (propertyId) {
        case 401:
            return RowValue::enumeration(static_cast<int>(hatch.patternType()), kHatchPatternTypes);
        case 301:
            return RowValue::text(hatch.patternName());
        case 201:
            return RowValue::real(context.angle(hatch.patternAngle()));
        case 202:
            return RowValue::real(hatch.patternScale());
        case 203:
            return RowValue::real(hatch.patternSpace());
        case 204:
            return RowValue::real(hatch.elevation());
        case 402:
            return RowValue::yesNo(hatch.associative());
        case 403:
            return RowValue::enumeration(static_cast<int>(hatch.hatchStyle()), kHatchStyles);
        default:
            return RowValue::unknown();
        }
    });
}

int matchPoint(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbPoint>(id, [&](const AcDbPoint& point) {
        const AcGePoint3d position = context.point(point.position());
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, position, value)) {
                return value;
            }
            return row.propertyId == 204 ? RowValue::real(point.thickness()) : RowValue::unknown();
        });
    });
}

int matchMline(const MatchContext& context, AcDbObjectId id) {
    return evaluateAs<AcDbMline>(context, id, [&](const AcDbMline& mline, int propertyId) {
        switch (propertyId) {
        case 101:
            return RowValue::integer(mline.numVertices());
        case 201:
            return RowValue::real(mline.scale());
        case 401:
            return RowValue::enumeration(static_cast<int>(mline.justification()), kMlineJustifications);
        case 402:
            return RowValue::yesNo(mline.closedMline());
        case 301:
            return RowValue::text(recordName<AcDbMlineStyle>(mline.style()));
        default:
            return RowValue::unknown();
        }
    });
}

int matchRegion(const MatchContext& context, AcDbObjectId id) {
    return evaluateAs<AcDbRegion>(context, id, [&](const AcDbRegion& region, int propertyId) {
        double measure = 0.0;
        switch (propertyId) {
        case 101:
            return RowValue::integer(region.numChanges());
        case 201:
            region.getArea(measure);
            return RowValue::real(measure);
        case 202:
            region.getPerimeter(measure);
            return RowValue::real(measure);
        default:
            return RowValue::unknown();
        }
    });
}

int matchDimension(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbDimension>(id, [&](const AcDbDimension& dimension) {
        const AcGePoint3d textPosition = context.point(dimension.textPosition());
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 203, textPosition, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 101:
                return RowValue::integer(dimension.dimdec());
            case 201:
                return RowValue::real(context.angle(dimension.textRotation()));
            case 202:
                return RowValue::real(dimension.measurement());
            case 206:
                return RowValue::real(dimension.dimscale());
            case 207:
                return RowValue::real(dimension.dimasz());
            case 301:
                return RowValue::text(dimension.dimensionText());
            case 302:
                return RowValue::text(recordName<AcDbDimStyleTableRecord>(dimension.dimensionStyle()));
            case 303:
                return RowValue::text(dimensionPrefix(dimension.dimpost()));
            case 304:
                return RowValue::text(dimensionSuffix(dimension.dimpost()));
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchRasterImage(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbRasterImage>(id, [&](const AcDbRasterImage& image) {
        AcGePoint3d origin;
        AcGeVector3d widthVector;
        AcGeVector3d heightVector;
        image.getOrientation(origin, widthVector, heightVector);
        origin = context.point(origin);
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, origin, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 101:
                return RowValue::integer(image.brightness());
            case 102:
                return RowValue::integer(image.contrast());
            case 103:
                return RowValue::integer(image.fade());
            case 204:
                return RowValue::real(image.scale().x);
            case 205:
                return RowValue::real(image.scale().y);
            case 206:
                return RowValue::real(widthVector.length());
            case 207:
                return RowValue::real(heightVector.length());
            case 208:
                return RowValue::real(context.angle(imageRotation(widthVector)));
            case 301: {
                AcDbRasterImageDef* definition = nullptr;
                CString path;
                if (acdbOpenObject(definition, image.imageDefId(), AcDb::kForRead) == Acad::eOk) {
                    path = definition->sourceFileName();
                    definition->close();
                }
                return RowValue::text(path);
            }
            default:
                return RowValue::unknown();
            }
        });
    });
}

int matchViewport(const MatchContext& context, AcDbObjectId id) {
    return matchAs<AcDbViewport>(id, [&](const AcDbViewport& viewport) {
        // Paper-space coordinates: never converted.
        const AcGePoint3d center = viewport.centerPoint();
        return context.rows.evaluate([&](const PropertyRow& row) {
            RowValue value;
            if (pointComponent(row.propertyId, 201, center, value)) {
                return value;
            }
            switch (row.propertyId) {
            case 204:
                return RowValue::real(viewport.width());
            case 205:
                return RowValue::real(viewport.height());
            case 206:
                return RowValue::real(viewport.customScale());
            case 207:
                return RowValue::real(viewport.viewCenter().x);
            case 208:
                return RowValue::real(viewport.viewCenter().y);
            case 401:
                return RowValue::yesNo(viewport.isOn());
            case 402:
                return RowValue::yesNo(viewport.isNonRectClipOn());
            case 403:
                return RowValue::yesNo(viewport.isLocked());
            case 404:
                return RowValue::yesNo(viewport.isUcsSavedWithViewport());
            case 405:
                return RowValue::yesNo(viewport.hiddenLinesRemoved());
            default:
                return RowValue::unknown();
            }
        });
    });
}

} // namespace quelto::matching
