// Extents, transforms and explode of TEXT (with ATTRIB and ATTDEF), MTEXT and SHAPE.
// Mirroring: a transform that turns the text into its mirror image gives, with MIRRTEXT 1, the mirror
// image itself (TEXT by its backward / upside-down flags, MTEXT, which has no flags, by facing the other
// way), and with MIRRTEXT 0 (the default) readable text that occupies the mirrored box.
#include "cad/db/text_geometry.h"

#include "cad/db/curve_geometry.h"
#include "cad/db/mtext_format.h"
#include "cad/db/shared_geometry.h"
#include "cad/db/symbol_tables.h"
#include "cad/ge/ocs.h"
#include "platform/angle_units.h"

#include <cmath>
#include <memory>

namespace {

using platform::kDegreesPerRadian;

// Rotation of a world direction about a normal, from the X axis of the normal's object system.
double angleInPlane(const AcGeVector3d& direction, const AcGeVector3d& normal) {
    const AcGeVector3d local = cad::ge::wcsToOcs(direction, normal);
    return cad::db::normalizedAngle(std::atan2(local.y, local.x));
}

double angularDistance(double first, double second) {
    const double difference = cad::db::normalizedAngle(first - second);
    return std::min(difference, cad::db::kFullTurn - difference);
}

struct ReadingChoice {
    bool backward;
    double rotation;
};

// Reading along `readingWay` or backward against it: the one whose rotation lies nearest the old one.
ReadingChoice nearestReading(const AcGeVector3d& readingWay, const AcGeVector3d& normal, double oldRotation) {
    ReadingChoice best{false, 0.0};
    double bestDistance = 1e300;
    for (const bool backward : {false, true}) {
        const double candidate = angleInPlane(backward ? -readingWay : readingWay, normal);
        const double distance = angularDistance(candidate, oldRotation);
        if (distance < bestDistance - 1e-9) {
            bestDistance = distance;
            best = {backward, candidate};
        }
    }
    return best;
}

AcGePoint3d centroid(const std::array<AcGePoint3d, 4>& corners) {
    AcGeVector3d sum;
    for (const AcGePoint3d& corner : corners) {
        sum += corner.asVector();
    }
    return AcGePoint3d::kOrigin + sum / 4.0;
}

// The world X and Y axes of an MTEXT: its direction vector when it has one in its plane, else its
// rotation about the normal.
std::pair<AcGeVector3d, AcGeVector3d> mtextAxes(const cad::ge::MTextLayout& layout) {
    const cad::ge::OcsAxes axes = cad::ge::ocsAxes(layout.normal);
    AcGeVector3d xAxis = axes.xAxis * std::cos(layout.rotation) + axes.yAxis * std::sin(layout.rotation);
    const AcGeVector3d inPlane = layout.direction - axes.zAxis * layout.direction.dotProduct(axes.zAxis);
    if (!inPlane.isZeroLength()) {
        xAxis = inPlane.normal();
    }
    return {xAxis, axes.zAxis.crossProduct(xAxis)};
}

} // namespace

namespace cad::db {

ge::TextWidthFactor textWidthFactorMode(const AcDbText& text) {
    const AcDbDatabase* database = text.styleDatabase();
    if (database == nullptr) {
        return ge::TextWidthFactor::AppliedOnce;
    }
    const auto* style = AcDbTextStyleTableRecord::cast(database->peekObject(text.textStyle()));
    return style != nullptr && !style->typeface().empty() ? ge::TextWidthFactor::AppliedTwice
                                                          : ge::TextWidthFactor::AppliedOnce;
}

ge::TextLayout textLayout(const AcDbText& text) {
    ge::TextLayout layout;
    layout.text = ge::decodeTextControlCodes(text.textString());
    layout.height = text.height();
    layout.widthFactor = text.widthFactor();
    layout.oblique = text.oblique();
    layout.rotation = text.rotation();
    layout.horizontal = static_cast<ge::TextHorizontalMode>(text.horizontalMode());
    layout.vertical = static_cast<ge::TextVerticalMode>(text.verticalMode());
    layout.normal = text.normal();
    layout.position = ge::ocsToWcs(text.position(), text.normal());
    layout.alignmentPoint = ge::ocsToWcs(text.alignmentPoint(), text.normal());
    layout.mirroredInX = text.isMirroredInX();
    layout.mirroredInY = text.isMirroredInY();
    layout.trueTypeFont = textWidthFactorMode(text) == ge::TextWidthFactor::AppliedTwice;
    return layout;
}

std::optional<std::array<AcGePoint3d, 4>> textCorners(const AcDbText& text) {
    const ge::TextLayout layout = textLayout(text);
    if (layout.text.empty()) {
        return std::nullopt;
    }
    return ge::textBoxCorners(layout, textWidthFactorMode(text));
}

ge::MTextLayout mtextLayout(const AcDbMText& text) {
    ge::MTextLayout layout;
    layout.lines = mtextLines(text.contents());
    layout.textHeight = text.textHeight();
    layout.referenceWidth = text.width();
    layout.attachment = text.attachment();
    layout.rotation = text.rotation();
    layout.direction = text.direction();
    layout.location = text.location();
    layout.normal = text.normal();
    layout.lineSpacingFactor = text.lineSpacingFactor();
    return layout;
}

// The same box as the kernel's MTEXT extents, as corners.
std::optional<std::array<AcGePoint3d, 4>> mtextCorners(const AcDbMText& text) {
    const ge::MTextLayout layout = mtextLayout(text);
    const double width = ge::mtextActualWidth(layout);
    const double height = ge::mtextActualHeight(layout);
    if (width <= 0.0) {
        return std::nullopt;
    }
    const auto [xAxis, yAxis] = mtextAxes(layout);
    const int attachment = std::clamp(layout.attachment, 1, 9);
    const double left = -0.5 * width * ((attachment - 1) % 3);
    const double top = height * (0.5 * ((attachment - 1) / 3));
    const AcGePoint3d origin = layout.location;
    return std::array<AcGePoint3d, 4>{origin + xAxis * left + yAxis * (top - height),
                                      origin + xAxis * (left + width) + yAxis * (top - height),
                                      origin + xAxis * (left + width) + yAxis * top,
                                      origin + xAxis * left + yAxis * top};
}

} // namespace cad::db

// ---- TEXT ----

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const {
    const cad::ge::TextLayout layout = cad::db::textLayout(*this);
    return cad::db::reportExtents(cad::ge::textExtents(layout, cad::db::textWidthFactorMode(*this)), extents);
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    if (scale <= 0.0) {
        return Acad::eNotApplicable;
    }
    const std::optional<std::array<AcGePoint3d, 4>> oldCorners = cad::db::textCorners(*this);
    // The directions the characters read and stand in, flags included, carried by the transform.
    const cad::ge::OcsAxes axes = cad::ge::ocsAxes(m_normal);
    const double angle = rotation();
    const AcGeVector3d baseX = axes.xAxis * std::cos(angle) + axes.yAxis * std::sin(angle);
    const AcGeVector3d reading = transform * (isMirroredInX() ? -baseX : baseX) / scale;
    const AcGeVector3d up =
        transform * (isMirroredInY() ? -axes.zAxis.crossProduct(baseX) : axes.zAxis.crossProduct(baseX)) /
        scale;
    const AcGeVector3d normal = (transform * m_normal).normal();
    const AcGePoint3d position = transform * cad::ge::ocsToWcs(m_position, m_normal);
    const AcGePoint3d alignment = transform * cad::ge::ocsToWcs(m_alignment, m_normal);
    const bool wasMirrorImage = isMirroredInX() != isMirroredInY();
    const bool nowMirrorImage = reading.crossProduct(up).dotProduct(normal) < 0.0;
    const bool turnsMirrored = wasMirrorImage != nowMirrorImage;

    // Both flag settings can draw the characters along `readingWay` standing along `upWay` (one turned
    // half a turn against the other); the one whose rotation stays nearest the old one is kept (a text
    // mirrored in a vertical line reads backward, one mirrored in a horizontal line stands upside down).
    auto apply = [&](const AcGeVector3d& readingWay, const AcGeVector3d& upWay) {
        const ReadingChoice best = nearestReading(readingWay, normal, angle);
        const AcGeVector3d xAxis = best.backward ? -readingWay : readingWay;
        const bool upsideDown = normal.crossProduct(xAxis).dotProduct(upWay) < 0.0;
        m_generation =
            static_cast<Adesk::Int16>((m_generation & ~6) | (best.backward ? 2 : 0) | (upsideDown ? 4 : 0));
        m_rotationDegrees = best.rotation * kDegreesPerRadian;
    };

    m_normal = normal;
    m_position = cad::ge::wcsToOcs(position, normal);
    m_alignment = cad::ge::wcsToOcs(alignment, normal);
    m_height *= scale;
    m_thickness *= scale;
    if (!turnsMirrored || cad::db::mirrorTextEnabled(*this) || !oldCorners) {
        apply(reading, up);
        return Acad::eOk;
    }
    // Readable text in the mirrored box: reverse the reading or the standing direction, whichever keeps
    // the rotation nearer, and move the text so that its box lands where the mirror image lies.
    AcGePoint3d mirroredCentre = AcGePoint3d::kOrigin;
    {
        std::array<AcGePoint3d, 4> moved = *oldCorners;
        for (AcGePoint3d& corner : moved) {
            corner = transform * corner;
        }
        mirroredCentre = centroid(moved);
    }
    const double flipReading = angularDistance(angleInPlane(-reading, normal), angle);
    const double flipUp = angularDistance(angleInPlane(reading, normal), angle);
    if (flipReading <= flipUp) {
        apply(-reading, up);
    } else {
        apply(reading, -up);
    }
    if (const std::optional<std::array<AcGePoint3d, 4>> corners = cad::db::textCorners(*this)) {
        const AcGeVector3d shift = cad::ge::wcsToOcs(mirroredCentre - centroid(*corners), normal);
        m_position += shift;
        m_alignment += shift;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}

bool AcDbText::isPlanar() const {
    return true;
}

// ---- MTEXT ----

Acad::ErrorStatus AcDbMText::getGeomExtents(AcDbExtents& extents) const {
    return cad::db::reportExtents(cad::ge::mtextExtents(cad::db::mtextLayout(*this)), extents);
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    if (scale <= 0.0) {
        return Acad::eNotApplicable;
    }
    const cad::ge::MTextLayout layout = cad::db::mtextLayout(*this);
    const double angle = cad::db::normalizedAngle(rotation());
    const std::optional<std::array<AcGePoint3d, 4>> oldCorners = cad::db::mtextCorners(*this);
    const auto [oldX, oldY] = mtextAxes(layout);
    const AcGeVector3d xAxis = (transform * oldX) / scale;
    const AcGeVector3d yAxis = (transform * oldY) / scale;
    AcGeVector3d normal = (transform * m_normal).normal();
    m_location = transform * m_location;
    m_textHeight *= scale;
    m_width *= scale;
    m_actualWidth *= scale;
    m_actualHeight *= scale;
    const bool mirrorImage = xAxis.crossProduct(yAxis).dotProduct(normal) < 0.0;
    AcGeVector3d direction = xAxis;
    if (mirrorImage && cad::db::mirrorTextEnabled(*this)) {
        // Seen from the other side, the text shows its mirror image.
        normal = -normal;
    } else if (mirrorImage) {
        const double flipReading = angularDistance(angleInPlane(-xAxis, normal), angle);
        const double flipUp = angularDistance(angleInPlane(xAxis, normal), angle);
        direction = flipReading <= flipUp ? -xAxis : xAxis;
    }
    m_normal = normal;
    m_direction = direction;
    m_rotation = angleInPlane(direction, normal);
    if (mirrorImage && !cad::db::mirrorTextEnabled(*this) && oldCorners) {
        std::array<AcGePoint3d, 4> moved = *oldCorners;
        for (AcGePoint3d& corner : moved) {
            corner = transform * corner;
        }
        if (const std::optional<std::array<AcGePoint3d, 4>> corners = cad::db::mtextCorners(*this)) {
            m_location += centroid(moved) - centroid(*corners);
        }
    }
    return Acad::eOk;
}

// One TEXT per displayed line, aligned as the attachment aligns the lines, in the MTEXT's style.
Acad::ErrorStatus AcDbMText::explode(AcDbVoidPtrArray& entitySet) const {
    const cad::ge::MTextLayout layout = cad::db::mtextLayout(*this);
    const std::vector<std::wstring> lines = cad::ge::wrappedMTextLines(layout);
    const std::optional<std::array<AcGePoint3d, 4>> corners = cad::db::mtextCorners(*this);
    if (!corners) {
        return Acad::eOk;
    }
    const auto [xAxis, yAxis] = mtextAxes(layout);
    const int column = (std::clamp(layout.attachment, 1, 9) - 1) % 3;
    const double width = (*corners)[1].distanceTo((*corners)[0]);
    const double lineStep = cad::ge::kLineSpacing * layout.textHeight * layout.lineSpacingFactor;
    const AcGePoint3d topLeft = (*corners)[3];
    const double rotationInPlane = angleInPlane(xAxis, m_normal);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (lines[index].empty()) {
            continue;
        }
        const AcGePoint3d baseline = topLeft +
                                     yAxis * -(layout.textHeight + lineStep * static_cast<double>(index)) +
                                     xAxis * (0.5 * width * column);
        auto text = std::make_unique<AcDbText>();
        cad::db::copyCommonProperties(*this, *text);
        text->setTextString(lines[index].c_str());
        text->setHeight(layout.textHeight);
        text->setTextStyleName(textStyleName().c_str());
        const AcGePoint3d local = cad::ge::wcsToOcs(baseline, m_normal);
        text->setPosition(local);
        text->setAlignmentPoint(local);
        text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(column));
        text->setRotation(rotationInPlane);
        if (!cad::ge::isWorldNormal(m_normal)) {
            text->transformBy(AcGeMatrix3d::planeToWorld(m_normal));
        }
        entitySet.push_back(text.release());
    }
    return Acad::eOk;
}

bool AcDbMText::isPlanar() const {
    return true;
}

// ---- SHAPE ----

// Shape files are not read: a shape is measured as the square of its size standing on its insertion
// point, stretched by its width factor and turned by its rotation.
Acad::ErrorStatus AcDbShape::getGeomExtents(AcDbExtents& extents) const {
    const cad::ge::OcsAxes axes = cad::ge::ocsAxes(m_normal);
    const double angle = rotation();
    const AcGeVector3d xAxis = axes.xAxis * std::cos(angle) + axes.yAxis * std::sin(angle);
    const AcGeVector3d yAxis = axes.zAxis.crossProduct(xAxis);
    const AcGePoint3d origin = cad::ge::ocsToWcs(m_position, m_normal);
    AcDbExtents box;
    for (const double x : {0.0, m_size * m_widthFactor}) {
        for (const double y : {0.0, m_size}) {
            box.addPoint(origin + xAxis * x + yAxis * y);
        }
    }
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbShape::transformBy(const AcGeMatrix3d& transform) {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    const double scale = cad::db::similarityScale(transform);
    if (scale <= 0.0) {
        return Acad::eNotApplicable;
    }
    const cad::ge::OcsAxes axes = cad::ge::ocsAxes(m_normal);
    const double angle = rotation();
    const AcGeVector3d xAxis = transform * (axes.xAxis * std::cos(angle) + axes.yAxis * std::sin(angle));
    const AcGePoint3d origin = transform * cad::ge::ocsToWcs(m_position, m_normal);
    m_normal = (transform * m_normal).normal();
    m_position = cad::ge::wcsToOcs(origin, m_normal);
    m_rotationDegrees = angleInPlane(xAxis, m_normal) * kDegreesPerRadian;
    m_size *= scale;
    m_thickness *= scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbShape::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}

bool AcDbShape::isPlanar() const {
    return true;
}
