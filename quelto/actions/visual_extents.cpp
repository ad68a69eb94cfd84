// Visual extents. For single-line text in a TrueType style the host's box is stretched by the width
// factor; the correction divides that stretch out again along the text's direction. For a slanting text
// the box mixes the text's length and height, so the share of the length in each box side is estimated
// from the box of an unrotated copy.

#include "quelto/actions/visual_extents.h"

#include "quelto/actions/xyz_base_draw.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kAxisTolerance = 1e-5;

bool nearly(double value, double target) {
    return std::fabs(value - target) < kAxisTolerance;
}

// The width and height of the text's box when its rotation is 0; false when there is none.
bool unrotatedSize(const AcDbText& text, double& width, double& height) {
    std::unique_ptr<AcDbEntity> copy(text.clone());
    AcDbText* copiedText = AcDbText::cast(copy.get());
    if (copiedText == nullptr || copiedText->setRotation(0.0) != Acad::eOk) {
        return false;
    }
    AcDbExtents box;
    if (copiedText->getGeomExtents(box) != Acad::eOk) {
        return false;
    }
    width = box.maxPoint().x - box.minPoint().x;
    height = box.maxPoint().y - box.minPoint().y;
    return width != 0.0 && height != 0.0;
}

AcDbExtents correctedTextExtents(const AcDbText& text, const AcDbExtents& measured) {
    const double factor = text.widthFactor();
    if (factor == 0.0 || CXYZBaseDraw::GetTypefaceLength(text.textStyle()) == 0) {
        return measured;
    }
    double width = 0.0;
    double height = 0.0;
    if (!unrotatedSize(text, width, height)) {
        return measured;
    }
    const AcGePoint3d low = measured.minPoint();
    const AcGePoint3d high = measured.maxPoint();
    const double sine = std::sin(text.rotation());
    const double cosine = std::cos(text.rotation());
    if (nearly(sine, 1.0)) {
        return {low, AcGePoint3d(high.x, low.y + (high.y - low.y) / factor, high.z)};
    }
    if (nearly(sine, -1.0)) {
        return {AcGePoint3d(low.x, high.y - (high.y - low.y) / factor, low.z), high};
    }
    if (nearly(cosine, 1.0)) {
        return {low, AcGePoint3d(low.x + (high.x - low.x) / factor, high.y, high.z)};
    }
    if (nearly(cosine, -1.0)) {
        return {AcGePoint3d(high.x - (high.x - low.x) / factor, low.y, low.z), high};
    }
    const double absSine = std::fabs(sine);
    const double absCosine = std::fabs(cosine);
    const double lengthShareX = absCosine * width / (absSine * height + absCosine * width);
    const double heightShareX = absSine * height / (absSine * height + absCosine * width);
    const double sizeX = (lengthShareX / factor + heightShareX) * (high.x - low.x);
    const double lengthShareY = absSine * width / (absCosine * height + absSine * width);
    const double heightShareY = absCosine * height / (absCosine * height + absSine * width);
    const double sizeY = (lengthShareY / factor + heightShareY) * (high.y - low.y);
    // The box keeps the corner at which the text starts.
    const double minimumX = cosine > 0.0 ? low.x : high.x - sizeX;
    const double minimumY = sine >= 0.0 ? low.y : high.y - sizeY;
    return {AcGePoint3d(minimumX, minimumY, low.z), AcGePoint3d(minimumX + sizeX, minimumY + sizeY, high.z)};
}

} // namespace

Acad::ErrorStatus GetVisualExtents(const AcDbEntity& entity, AcDbExtents& extents) {
    AcDbExtents measured;
    const Acad::ErrorStatus status = entity.getGeomExtents(measured);
    if (status != Acad::eOk) {
        return status;
    }
    const AcDbText* text = AcDbText::cast(&entity);
    extents = text != nullptr ? correctedTextExtents(*text, measured) : measured;
    return Acad::eOk;
}

Acad::ErrorStatus GetVisualExtents(AcDbObjectId entityId, AcDbExtents& extents) {
    AcDbEntity* entity = nullptr;
    const Acad::ErrorStatus status = acdbOpenAcDbEntity(entity, entityId, AcDb::kForRead);
    if (status != Acad::eOk) {
        return status;
    }
    const Acad::ErrorStatus measured = GetVisualExtents(*entity, extents);
    entity->close();
    return measured;
}
