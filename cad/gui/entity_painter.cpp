// Entity drawing. Geometry comes from the geometry layer (curves, text boxes, block transforms) in the
// entity's own coordinates and is mapped to the device by one QTransform per block level; nothing is
// cached between redraws, so an edited entity always shows as it is now.

#include "cad/gui/entity_painter.h"

#include "cad/db/block_geometry.h"
#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/db/text_geometry.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/ocs.h"
#include "cad/ge/text_metrics.h"
#include "cad/gui/curve_outline.h"
#include "cad/gui/entity_data.h"
#include "cad/gui/hatch_outline.h"
#include "platform/code_page.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace cad::gui {
namespace {

constexpr int kMaximumNesting = 32;
// Chord error of tessellated curves, in device pixels.
constexpr double kPixelTolerance = 0.3;
// Dash patterns shorter than this on the device read as a continuous line, as CAD programs show them.
constexpr double kShortestVisiblePattern = 4.0;
constexpr int kMaximumPatternLines = 20000;
// CJK fonts put the bottom of the ideographic em box this far (in ems) below the baseline.
constexpr double kIdeographicDescent = 0.12;

QPointF toPoint(const AcGePoint3d& point) {
    return {point.x, point.y};
}

const QFont& textFont() {
    static const QFont kFont = [] {
        QFont chosen(QStringLiteral("Noto Sans CJK SC"));
        chosen.setStyleHint(QFont::SansSerif);
        chosen.setPixelSize(100);
        return chosen;
    }();
    return kFont;
}

// Device line segments of a dashed polyline; the pattern runs on along the whole polyline.
void dashPolyline(const QPolygonF& points, const std::vector<double>& dashes, std::vector<QLineF>& out) {
    std::size_t dashIndex = 0;
    double remaining = std::fabs(dashes[0]);
    for (int index = 1; index < points.size(); ++index) {
        QPointF from = points[index - 1];
        const QPointF to = points[index];
        double length = QLineF(from, to).length();
        if (length <= 0.0) {
            continue;
        }
        const QPointF step = (to - from) / length;
        while (length > 0.0) {
            const double piece = std::min(remaining, length);
            const double dash = dashes[dashIndex];
            if (dash > 0.0) {
                out.emplace_back(from, from + step * piece);
            } else if (dash == 0.0) {
                out.emplace_back(from, from + step * 0.5);
            }
            from += step * piece;
            length -= piece;
            remaining -= piece;
            if (remaining <= 1e-9) {
                dashIndex = (dashIndex + 1) % dashes.size();
                remaining = std::fabs(dashes[dashIndex]);
                // A dot has no length: it shows at once and the pattern moves on.
                if (remaining == 0.0) {
                    out.emplace_back(from, from + step * 0.5);
                    dashIndex = (dashIndex + 1) % dashes.size();
                    remaining = std::fabs(dashes[dashIndex]);
                }
            }
        }
    }
}

// The three-point affine map: (0,0) to `origin`, (width,0) to `xEnd`, (0,height) to `yEnd`.
QTransform mapRectangle(double width, double height, const QPointF& origin, const QPointF& xEnd,
                        const QPointF& yEnd) {
    return QTransform((xEnd.x() - origin.x()) / width, (xEnd.y() - origin.y()) / width,
                      (yEnd.x() - origin.x()) / height, (yEnd.y() - origin.y()) / height, origin.x(),
                      origin.y());
}

std::vector<QPointF> genericPoints(const AcDbEntity& entity, int code) {
    std::vector<QPointF> points;
    const std::vector<cad::dxf::OwnedTag>& tags = entity.extraTags();
    for (std::size_t index = 0; index + 1 < tags.size(); ++index) {
        if (tags[index].code == code && tags[index + 1].code == code + 10) {
            points.emplace_back(tags[index].real, tags[index + 1].real);
        }
    }
    return points;
}

} // namespace

// The device lines of one pattern line family across the bounds (in the hatch's plane); false when
// the family's lines lie closer than two pixels.
bool appendPatternLines(const PatternLine& family, const QRectF& bounds, const QTransform& planeToDevice,
                        double planeScale, std::vector<QLineF>& lines) {
    const QPointF direction(std::cos(family.angle), std::sin(family.angle));
    const QPointF across(-direction.y(), direction.x());
    const double spacing = std::fabs(QPointF::dotProduct(family.offset, across));
    if (spacing * planeScale < 2.0) {
        return false;
    }
    const QPointF corners[] = {bounds.topLeft(), bounds.topRight(), bounds.bottomLeft(),
                               bounds.bottomRight()};
    double lowest = 1e300;
    double highest = -1e300;
    for (const QPointF& corner : corners) {
        const double distance = QPointF::dotProduct(corner - family.base, across);
        lowest = std::min(lowest, distance);
        highest = std::max(highest, distance);
    }
    const double shift = QPointF::dotProduct(family.offset, across);
    const long long first = static_cast<long long>(std::floor(std::min(lowest / shift, highest / shift)));
    const long long last = static_cast<long long>(std::ceil(std::max(lowest / shift, highest / shift)));
    if (last - first > kMaximumPatternLines) {
        return true;
    }
    double patternLength = 0.0;
    for (const double dash : family.dashes) {
        patternLength += std::fabs(dash);
    }
    for (long long index = first; index <= last; ++index) {
        const QPointF origin = family.base + family.offset * static_cast<double>(index);
        double from = 1e300;
        double to = -1e300;
        for (const QPointF& corner : corners) {
            const double along = QPointF::dotProduct(corner - origin, direction);
            from = std::min(from, along);
            to = std::max(to, along);
        }
        if (family.dashes.empty() || patternLength * planeScale < kShortestVisiblePattern) {
            lines.emplace_back(planeToDevice.map(origin + direction * from),
                               planeToDevice.map(origin + direction * to));
            continue;
        }
        double position = std::floor(from / patternLength) * patternLength;
        while (position < to) {
            for (const double dash : family.dashes) {
                const double length = std::fabs(dash);
                if (dash >= 0.0 && position + length >= from && position <= to) {
                    lines.emplace_back(
                        planeToDevice.map(origin + direction * position),
                        planeToDevice.map(origin + direction * (position + std::max(length, 1e-9))));
                }
                position += length;
            }
        }
    }
    return true;
}

double deviceScale(const QTransform& transform) {
    return std::sqrt(std::fabs(transform.determinant()));
}

QTransform planarTransform(const AcGeMatrix3d& matrix) {
    return QTransform(matrix(0, 0), matrix(1, 0), matrix(0, 1), matrix(1, 1), matrix(0, 3), matrix(1, 3));
}

EntityPainter::EntityPainter(const AcDbDatabase& database, const StyleResolver& styles, QPainter& painter,
                             const QRectF& deviceBounds)
    : m_database(database), m_styles(styles), m_painter(painter), m_deviceBounds(deviceBounds) {}

QPen EntityPainter::penFor(const EffectiveStyle& style) const {
    double width = 0.0;
    if (m_styles.showLineWeights() && style.lineWeightMillimetres > 0.0) {
        width = std::max(1.0, style.lineWeightMillimetres * m_pixelsPerMillimetre);
    }
    QPen pen(style.color, width);
    pen.setCosmetic(width == 0.0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (m_highlight) {
        pen.setStyle(Qt::DashLine);
    }
    return pen;
}

void EntityPainter::strokePolyline(const QPolygonF& points, const EffectiveStyle& style, double linetypeScale,
                                   double unitsToPixels) {
    if (points.size() < 2) {
        return;
    }
    m_painter.setPen(penFor(style));
    m_painter.setBrush(Qt::NoBrush);
    const double patternPixels =
        style.pattern != nullptr ? style.pattern->length * linetypeScale * unitsToPixels : 0.0;
    if (m_highlight || style.pattern == nullptr || patternPixels < kShortestVisiblePattern) {
        m_painter.drawPolyline(points);
        return;
    }
    std::vector<double> dashes;
    dashes.reserve(style.pattern->dashes.size());
    for (const double dash : style.pattern->dashes) {
        dashes.push_back(dash * linetypeScale * unitsToPixels);
    }
    std::vector<QLineF> lines;
    dashPolyline(points, dashes, lines);
    if (!lines.empty()) {
        m_painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
}

void EntityPainter::paint(const AcDbEntity& entity, const QTransform& toDevice,
                          const InheritedStyle* inherited, int depth) {
    if (depth > kMaximumNesting) {
        return;
    }
    const EffectiveStyle style = m_styles.resolve(entity, inherited);
    if (!style.visible) {
        return;
    }
    const double unitsToPixels = deviceScale(toDevice);
    const double linetypeScale = entity.linetypeScale() * m_styles.linetypeScale();

    if (AcDbBlockReference::cast(&entity) != nullptr) {
        paintInsert(entity, toDevice, style, depth);
        return;
    }
    if (const auto* dimension = AcDbDimension::cast(&entity)) {
        paintDimension(*dimension, toDevice, style, depth);
        return;
    }
    if (AcDbText::cast(&entity) != nullptr || AcDbMText::cast(&entity) != nullptr) {
        // Attribute definitions are templates: references show their attributes instead.
        if (AcDbAttributeDefinition::cast(&entity) == nullptr || depth == 0) {
            paintText(entity, toDevice, style);
        }
        return;
    }
    if (AcDbHatch::cast(&entity) != nullptr) {
        paintHatch(entity, toDevice, style, unitsToPixels);
        return;
    }
    if (AcDbRasterImage::cast(&entity) != nullptr) {
        paintImage(entity, toDevice, style);
        return;
    }
    if (AcDbMline::cast(&entity) != nullptr) {
        paintMline(entity, toDevice, style, unitsToPixels);
        return;
    }
    if (const auto* viewport = AcDbViewport::cast(&entity)) {
        paintViewport(*viewport, toDevice, style, linetypeScale, unitsToPixels);
        return;
    }
    if (const auto* ray = AcDbRay::cast(&entity)) {
        paintRay(*ray, AcDbXline::cast(&entity) != nullptr, toDevice, style, linetypeScale, unitsToPixels);
        return;
    }
    if (const auto* point = AcDbPoint::cast(&entity)) {
        const QPointF at = toDevice.map(toPoint(point->position()));
        m_painter.setPen(penFor(style));
        m_painter.drawLine(at - QPointF(1.0, 0.0), at + QPointF(1.0, 0.0));
        m_painter.drawLine(at - QPointF(0.0, 1.0), at + QPointF(0.0, 1.0));
        return;
    }
    if (const auto* shape = AcDbShape::cast(&entity)) {
        // Without shape fonts a shape shows as a square of its size at its insertion point.
        const AcGePoint3d at = shape->position();
        const double size = shape->size();
        const QRectF box(at.x, at.y, size * shape->widthFactor(), size);
        strokePolyline(toDevice.map(QPolygonF(box)), style, linetypeScale, unitsToPixels);
        return;
    }
    paintCurves(entity, toDevice, style, linetypeScale, unitsToPixels);
}

void EntityPainter::paintDimension(const AcDbDimension& dimension, const QTransform& toDevice,
                                   const EffectiveStyle& style, int depth) {
    const auto* block = AcDbBlockTableRecord::cast(m_database.peekObject(dimension.dimBlockId()));
    if (block == nullptr || block->entityIds().empty()) {
        paintDimensionWithoutBlock(dimension, toDevice, style);
        return;
    }
    const InheritedStyle handed{style.color, style.layerIndex, style.pattern, style.lineWeightMillimetres};
    paintBlock(dimension.dimBlockId(), toDevice, handed, depth + 1);
}

void EntityPainter::paintViewport(const AcDbViewport& viewport, const QTransform& toDevice,
                                  const EffectiveStyle& style, double linetypeScale, double unitsToPixels) {
    // Viewport 1 is the paper sheet itself, not a window onto model space.
    if (viewport.number() == 1) {
        return;
    }
    const AcGePoint3d center = viewport.centerPoint();
    const QRectF frame(center.x - viewport.width() / 2.0, center.y - viewport.height() / 2.0,
                       viewport.width(), viewport.height());
    if (m_viewportPainter && viewport.isOn()) {
        m_viewportPainter(viewport, toDevice);
    }
    strokePolyline(toDevice.map(QPolygonF(frame)), style, linetypeScale, unitsToPixels);
}

// Rays and construction lines reach well past the view on either side they run to.
void EntityPainter::paintRay(const AcDbRay& ray, bool bothWays, const QTransform& toDevice,
                             const EffectiveStyle& style, double linetypeScale, double unitsToPixels) {
    const QPointF base = toDevice.map(toPoint(ray.basePoint()));
    const QPointF ahead = toDevice.map(toPoint(ray.basePoint() + ray.unitDir()));
    const QLineF direction(base, ahead);
    if (direction.length() <= 0.0) {
        return;
    }
    const double reach = 4.0 * (m_deviceBounds.width() + m_deviceBounds.height() +
                                QLineF(base, m_deviceBounds.center()).length());
    const QPointF step = (ahead - base) / direction.length();
    const QPointF start = bothWays ? base - step * reach : base;
    strokePolyline(QPolygonF({start, base + step * reach}), style, linetypeScale, unitsToPixels);
}

void EntityPainter::paintCurves(const AcDbEntity& entity, const QTransform& toDevice,
                                const EffectiveStyle& style, double linetypeScale, double unitsToPixels) {
    const double tolerance = kPixelTolerance / std::max(unitsToPixels, 1e-300);
    if (AcDbRegion::cast(&entity) != nullptr) {
        AcDbVoidPtrArray pieces;
        if (entity.explode(pieces) == Acad::eOk) {
            for (void* piece : pieces) {
                std::unique_ptr<AcDbEntity> owned(static_cast<AcDbEntity*>(piece));
                for (const QPolygonF& outline : curveOutlines(*owned, tolerance)) {
                    strokePolyline(toDevice.map(outline), style, linetypeScale, unitsToPixels);
                }
            }
        }
        return;
    }
    std::vector<QPolygonF> outlines = curveOutlines(entity, tolerance);
    if (outlines.empty()) {
        paintGeneric(entity, toDevice, style, unitsToPixels);
        return;
    }
    double constantWidth = 0.0;
    if (const auto* polyline = AcDbPolyline::cast(&entity);
        polyline != nullptr && polyline->getConstantWidth(constantWidth) == Acad::eOk &&
        constantWidth * unitsToPixels >= 2.0 && !m_highlight) {
        // Wide polylines are filled bands of their width.
        m_painter.setPen(
            QPen(style.color, constantWidth * unitsToPixels, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        m_painter.setBrush(Qt::NoBrush);
        for (const QPolygonF& outline : outlines) {
            m_painter.drawPolyline(toDevice.map(outline));
        }
        return;
    }
    for (const QPolygonF& outline : outlines) {
        strokePolyline(toDevice.map(outline), style, linetypeScale, unitsToPixels);
    }
}

void EntityPainter::paintDimensionWithoutBlock(const AcDbDimension& dimension, const QTransform& toDevice,
                                               const EffectiveStyle& style) {
    // Writers may leave out the block that draws a dimension. Its definition points still say where
    // it goes: the dimension line between the extension lines (or across the circle), and the value.
    const double unitsToPixels = deviceScale(toDevice);
    const QPointF textAt = toPoint(dimension.textPosition());
    QPolygonF line;
    std::vector<QPolygonF> extensions;
    const auto linear = [&](const AcGePoint3d& first, const AcGePoint3d& second, const QPointF& direction) {
        const QPointF through = toPoint(dimension.definitionPoint());
        const auto onLine = [&](const AcGePoint3d& point) {
            return through + direction * QPointF::dotProduct(toPoint(point) - through, direction);
        };
        line << onLine(first) << onLine(second);
        extensions.push_back(QPolygonF({toPoint(first), onLine(first)}));
        extensions.push_back(QPolygonF({toPoint(second), onLine(second)}));
    };
    if (const auto* rotated = AcDbRotatedDimension::cast(&dimension)) {
        linear(rotated->xLine1Point(), rotated->xLine2Point(),
               QPointF(std::cos(rotated->rotation()), std::sin(rotated->rotation())));
    } else if (const auto* aligned = AcDbAlignedDimension::cast(&dimension)) {
        QLineF along(toPoint(aligned->xLine1Point()), toPoint(aligned->xLine2Point()));
        if (along.length() > 0.0) {
            linear(aligned->xLine1Point(), aligned->xLine2Point(),
                   (along.p2() - along.p1()) / along.length());
        }
    } else if (const auto* diametric = AcDbDiametricDimension::cast(&dimension)) {
        line << toPoint(diametric->chordPoint()) << toPoint(dimension.definitionPoint());
    } else if (const auto* radial = AcDbRadialDimension::cast(&dimension)) {
        line << toPoint(dimension.definitionPoint()) << toPoint(radial->chordPoint());
    }
    strokePolyline(toDevice.map(line), style, 1.0, unitsToPixels);
    for (const QPolygonF& extension : extensions) {
        strokePolyline(toDevice.map(extension), style, 1.0, unitsToPixels);
    }
    // Closed filled arrowheads of the style's size, tips on the line's ends; a radius has one, at the
    // circle.
    const double arrowSize = dimension.dimasz() * dimension.dimscale();
    if (line.size() == 2 && arrowSize > 0.0) {
        const bool radius = AcDbRadialDimension::cast(&dimension) != nullptr;
        m_painter.setPen(penFor(style));
        m_painter.setBrush(m_highlight ? QBrush(Qt::NoBrush) : QBrush(style.color));
        for (int end = radius ? 1 : 0; end < 2; ++end) {
            const QLineF inward(line[end], line[1 - end]);
            if (inward.length() <= 0.0) {
                continue;
            }
            const QPointF along = (inward.p2() - inward.p1()) / inward.length() * arrowSize;
            const QPointF across(-along.y() / 6.0, along.x() / 6.0);
            const QPointF base = line[end] + along;
            m_painter.drawPolygon(toDevice.map(QPolygonF({line[end], base + across, base - across})));
        }
        m_painter.setBrush(Qt::NoBrush);
    }
    std::wstring text = dimension.dimensionText();
    const std::wstring value =
        QString::number(db::measuredValue(dimension), 'f', std::clamp(dimension.dimdec(), 0, 8))
            .toStdWString();
    if (text.empty()) {
        text = value;
    } else if (const std::size_t marker = text.find(L"<>"); marker != std::wstring::npos) {
        text.replace(marker, 2, value);
    }
    const double height = dimension.dimasz() * dimension.dimscale();
    const double width = ge::advanceWidth(text) * height;
    const QPointF start = textAt - QPointF(width / 2.0, height / 2.0);
    drawTextRun(text, toDevice.map(start), toDevice.map(start + QPointF(width, 0.0)),
                toDevice.map(start + QPointF(0.0, height)), style.color);
}

void EntityPainter::paintBlock(AcDbObjectId block, const QTransform& toDevice,
                               const InheritedStyle& inherited, int depth) {
    const auto* record = AcDbBlockTableRecord::cast(m_database.peekObject(block));
    if (record == nullptr) {
        return;
    }
    for (const AcDbObjectId& id : record->entityIds()) {
        if (const auto* child = AcDbEntity::cast(m_database.peekObject(id))) {
            paint(*child, toDevice, &inherited, depth);
        }
    }
}

void EntityPainter::paintInsert(const AcDbEntity& entity, const QTransform& toDevice,
                                const EffectiveStyle& style, int depth) {
    const auto& reference = *AcDbBlockReference::cast(&entity);
    AcDbObjectId block = reference.blockTableRecord();
    if (block.isNull()) {
        block = m_database.recordIdByName(m_database.blockTableId(), reference.blockName());
    }
    const InheritedStyle handed{style.color, style.layerIndex, style.pattern, style.lineWeightMillimetres};
    const QTransform toBlock = planarTransform(reference.blockTransform());
    const int columns = std::max(reference.columnCount(), 1);
    const int rows = std::max(reference.rowCount(), 1);
    if (columns == 1 && rows == 1) {
        paintBlock(block, toBlock * toDevice, handed, depth + 1);
    } else {
        // A rectangular array (MINSERT): the block again at every column and row spacing, the steps
        // turned with the reference's rotation.
        std::map<int, double> spacing = groupNumbers(reference, {44, 45});
        const QTransform turn = QTransform().rotateRadians(reference.rotation());
        const QPointF columnStep = turn.map(QPointF(spacing[44], 0.0));
        const QPointF rowStep = turn.map(QPointF(0.0, spacing[45]));
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const QPointF offset = columnStep * column + rowStep * row;
                paintBlock(block, toBlock * QTransform::fromTranslate(offset.x(), offset.y()) * toDevice,
                           handed, depth + 1);
            }
        }
    }
    for (const AcDbObjectId& id : reference.attributeIds()) {
        const auto* attribute = AcDbAttribute::cast(m_database.peekObject(id));
        if (attribute != nullptr && !attribute->isInvisible()) {
            paint(*attribute, toDevice, nullptr, depth);
        }
    }
}

void EntityPainter::drawTextRun(const std::wstring& text, const QPointF& baselineStart,
                                const QPointF& baselineEnd, const QPointF& topStart, const QColor& color) {
    const double height = QLineF(baselineStart, topStart).length();
    if (text.empty() || height < 0.5) {
        return;
    }
    m_painter.setPen(QPen(color, 0.0));
    if (height < 2.5) {
        // Text too small to read shows as the line it occupies.
        m_painter.drawLine(baselineStart, baselineEnd);
        return;
    }
    // Character by character in the advance boxes of the metric model: a narrow character's capitals
    // fill the text height, a full-width character's ideographic em box fills the height and its advance.
    const QFontMetricsF metrics(textFont());
    const double capHeight = metrics.capHeight();
    const double em = textFont().pixelSize();
    const double total = ge::advanceWidth(text);
    if (total <= 0.0 || capHeight <= 0.0) {
        return;
    }
    const QPointF along = (baselineEnd - baselineStart) / total;
    const QPointF up = topStart - baselineStart;
    m_painter.setFont(textFont());
    double start = 0.0;
    for (const wchar_t character : text) {
        const bool fullWidth = ge::isFullWidth(character);
        const double advance = fullWidth ? ge::kFullWidthAdvance : ge::kNarrowAdvance;
        const QString glyph = QString::fromWCharArray(&character, 1);
        const double glyphAdvance = metrics.horizontalAdvance(glyph);
        if (glyphAdvance > 0.0 && character != L' ') {
            const double bottom = fullWidth ? kIdeographicDescent * em : 0.0;
            const double top = fullWidth ? -(1.0 - kIdeographicDescent) * em : -capHeight;
            const QPointF origin = baselineStart + along * start;
            const QPointF xStep = along * advance / glyphAdvance;
            const QPointF yStep = up / (bottom - top);
            const QTransform fitted(xStep.x(), xStep.y(), -yStep.x(), -yStep.y(),
                                    origin.x() + yStep.x() * bottom, origin.y() + yStep.y() * bottom);
            m_painter.save();
            m_painter.setTransform(fitted, true);
            m_painter.drawText(QPointF(0.0, 0.0), glyph);
            m_painter.restore();
        }
        start += advance;
    }
}

void EntityPainter::paintText(const AcDbEntity& entity, const QTransform& toDevice,
                              const EffectiveStyle& style) {
    if (const auto* text = AcDbText::cast(&entity)) {
        const std::optional<std::array<AcGePoint3d, 4>> corners = db::textCorners(*text);
        if (!corners) {
            return;
        }
        const std::wstring shown = db::textLayout(*text).text;
        // The box reaches a third of the height below the baseline when a letter descends.
        const double baseline = ge::hasDescender(shown) ? ge::kDescent / (1.0 + ge::kDescent) : 0.0;
        const auto at = [&](int bottom, int top, double fraction) {
            return toDevice.map(
                toPoint((*corners)[bottom] + ((*corners)[top] - (*corners)[bottom]) * fraction));
        };
        drawTextRun(shown, at(0, 3, baseline), at(1, 2, baseline), at(0, 3, 1.0), style.color);
        return;
    }
    const auto& mtext = *AcDbMText::cast(&entity);
    const std::optional<std::array<AcGePoint3d, 4>> corners = db::mtextCorners(mtext);
    if (!corners) {
        return;
    }
    const ge::MTextLayout layout = db::mtextLayout(mtext);
    const AcGePoint3d topLeft = (*corners)[3];
    AcGeVector3d across = (*corners)[2] - topLeft;
    const double boxWidth = across.length();
    across = boxWidth > 0.0 ? across / boxWidth
                            : AcGeVector3d(std::cos(mtext.rotation()), std::sin(mtext.rotation()), 0.0);
    const AcGeVector3d down(across.y, -across.x, 0.0);
    const double height = layout.textHeight;
    const double spacing = ge::kLineSpacing * height * layout.lineSpacingFactor;
    const int column = (std::clamp(layout.attachment, 1, 9) - 1) % 3;
    const std::vector<std::wstring> lines = ge::wrappedMTextLines(layout);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const double lineWidth = ge::advanceWidth(lines[index]) * height * layout.widthFactor;
        const double start = column == 0   ? 0.0
                             : column == 1 ? (boxWidth - lineWidth) / 2.0
                                           : boxWidth - lineWidth;
        const AcGePoint3d baselineStart =
            topLeft + across * start + down * (height + spacing * static_cast<double>(index));
        drawTextRun(lines[index], toDevice.map(toPoint(baselineStart)),
                    toDevice.map(toPoint(baselineStart + across * lineWidth)),
                    toDevice.map(toPoint(baselineStart - down * height)), style.color);
    }
}

void EntityPainter::paintHatch(const AcDbEntity& entity, const QTransform& toDevice,
                               const EffectiveStyle& style, double unitsToPixels) {
    const auto& hatch = *AcDbHatch::cast(&entity);
    const HatchOutline outline =
        readHatchOutline(hatch.boundaryTags(), kPixelTolerance / std::max(unitsToPixels, 1e-300));
    const AcGeVector3d normal = hatch.normal();
    const bool world = ge::isWorldNormal(normal);
    // Boundaries and pattern lines live in the hatch's plane: from there to world, then to the device.
    QTransform planeToDevice = toDevice;
    if (!world) {
        const AcGePoint3d origin = ge::ocsToWcs(AcGePoint3d(0.0, 0.0, hatch.elevation()), normal);
        const AcGePoint3d xEnd = ge::ocsToWcs(AcGePoint3d(1.0, 0.0, hatch.elevation()), normal);
        const AcGePoint3d yEnd = ge::ocsToWcs(AcGePoint3d(0.0, 1.0, hatch.elevation()), normal);
        planeToDevice = mapRectangle(1.0, 1.0, toPoint(origin), toPoint(xEnd), toPoint(yEnd)) * toDevice;
    }
    QPainterPath region;
    region.setFillRule(Qt::OddEvenFill);
    for (const QPolygonF& loop : outline.loops) {
        region.addPolygon(planeToDevice.map(loop));
        region.closeSubpath();
    }
    if (region.isEmpty()) {
        return;
    }
    if (m_highlight) {
        m_painter.setPen(penFor(style));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(region);
        return;
    }
    if (hatch.isSolidFill() || outline.patternLines.empty()) {
        m_painter.fillPath(region, style.color);
        return;
    }
    const double planeScale = deviceScale(planeToDevice);
    QRectF bounds;
    for (const QPolygonF& loop : outline.loops) {
        bounds = bounds.united(loop.boundingRect());
    }
    std::vector<QLineF> lines;
    for (const PatternLine& family : outline.patternLines) {
        if (!appendPatternLines(family, bounds, planeToDevice, planeScale, lines)) {
            // Lines closer than two pixels merge into a tone: a light fill says the same faster.
            QColor tone = style.color;
            tone.setAlphaF(0.35);
            m_painter.fillPath(region, tone);
            lines.clear();
            break;
        }
    }
    if (!lines.empty()) {
        m_painter.save();
        m_painter.setClipPath(region, Qt::IntersectClip);
        m_painter.setPen(penFor(style));
        m_painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        m_painter.restore();
    }
}

const QImage* EntityPainter::image(const std::wstring& path) {
    auto found = m_images.find(path);
    if (found == m_images.end()) {
        std::filesystem::path file = platform::wideToUtf8(path);
        if (file.is_relative()) {
            file = m_database.filePath().parent_path() / file;
        }
        QImage loaded(QString::fromStdString(file.string()));
        found = m_images.emplace(path, std::move(loaded)).first;
    }
    return found->second.isNull() ? nullptr : &found->second;
}

void EntityPainter::paintImage(const AcDbEntity& entity, const QTransform& toDevice,
                               const EffectiveStyle& style) {
    const auto& raster = *AcDbRasterImage::cast(&entity);
    AcGePoint3d origin;
    AcGeVector3d width;
    AcGeVector3d height;
    raster.getOrientation(origin, width, height);
    const AcGeVector2d size = raster.imageSize();
    if (size.x <= 0.0 || size.y <= 0.0) {
        return;
    }
    // Image pixel space: x to the right, y down from the top-left corner, as the clip boundary uses it.
    const QTransform pixelToDevice = mapRectangle(size.x, size.y, toPoint(origin + height),
                                                  toPoint(origin + height + width), toPoint(origin)) *
                                     toDevice;
    QPolygonF boundary;
    const std::vector<AcGePoint2d>& clip = raster.clipBoundary();
    if (raster.isClipped() && clip.size() == 2) {
        boundary =
            QPolygonF(QRectF(QPointF(clip[0].x, clip[0].y), QPointF(clip[1].x, clip[1].y)).normalized());
    } else if (raster.isClipped() && clip.size() > 2) {
        for (const AcGePoint2d& vertex : clip) {
            boundary << QPointF(vertex.x, vertex.y);
        }
    } else {
        boundary = QPolygonF(QRectF(-0.5, -0.5, size.x, size.y));
    }
    // Clip vertices count from the centre of the first pixel.
    boundary.translate(0.5, 0.5);
    const QPolygonF deviceBoundary = pixelToDevice.map(boundary);
    QPainterPath clipPath;
    clipPath.addPolygon(deviceBoundary);
    clipPath.closeSubpath();
    if (AcDbWipeout::cast(&entity) != nullptr) {
        if (!m_highlight) {
            m_painter.fillPath(clipPath, m_background);
        } else {
            m_painter.setPen(penFor(style));
            m_painter.drawPath(clipPath);
        }
        return;
    }
    const auto* definition = AcDbRasterImageDef::cast(m_database.peekObject(raster.imageDefId()));
    const QImage* picture = definition != nullptr ? image(definition->sourceFileName()) : nullptr;
    if (picture != nullptr && !m_highlight) {
        m_painter.save();
        m_painter.setClipPath(clipPath, Qt::IntersectClip);
        m_painter.setTransform(QTransform::fromScale(size.x / picture->width(), size.y / picture->height()) *
                                   pixelToDevice,
                               true);
        m_painter.drawImage(QPointF(0.0, 0.0), *picture);
        m_painter.restore();
        return;
    }
    // An image that cannot be read shows its frame.
    m_painter.setPen(penFor(style));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(clipPath);
}

void EntityPainter::paintMline(const AcDbEntity& entity, const QTransform& toDevice,
                               const EffectiveStyle& style, double unitsToPixels) {
    const auto& mline = *AcDbMline::cast(&entity);
    std::vector<double> offsets;
    if (const AcDbObject* mlineStyle = m_database.peekObject(mline.style())) {
        for (const cad::dxf::OwnedTag& tag : mlineStyle->extraTags()) {
            if (tag.code == 49) {
                offsets.push_back(tag.view().isDouble() ? tag.real : static_cast<double>(tag.integer));
            }
        }
    }
    if (offsets.empty()) {
        offsets.push_back(0.0);
    }
    double shift = 0.0;
    if (mline.justification() == AcDbMline::kTop) {
        shift = *std::max_element(offsets.begin(), offsets.end());
    } else if (mline.justification() == AcDbMline::kBottom) {
        shift = *std::min_element(offsets.begin(), offsets.end());
    }
    for (const double offset : offsets) {
        QPolygonF element;
        const double distance = (offset - shift) * mline.scale();
        for (int index = 0; index < mline.numVertices(); ++index) {
            const AcGeVector3d acrossAxis = mline.normal().crossProduct(mline.axisAt(index));
            const AcGeVector3d miter = mline.miterAt(index);
            const double lean = miter.dotProduct(acrossAxis);
            const AcGePoint3d point = std::fabs(lean) > 1e-9
                                          ? mline.vertexAt(index) + miter * (distance / lean)
                                          : mline.vertexAt(index) + acrossAxis * distance;
            element << toPoint(point);
        }
        if (mline.closedMline() && !element.isEmpty()) {
            element << element.front();
        }
        strokePolyline(toDevice.map(element), style, entity.linetypeScale() * m_styles.linetypeScale(),
                       unitsToPixels);
    }
}

void EntityPainter::paintGeneric(const AcDbEntity& entity, const QTransform& toDevice,
                                 const EffectiveStyle& style, double unitsToPixels) {
    const std::string& kind = entity.dxfName();
    const double linetypeScale = entity.linetypeScale() * m_styles.linetypeScale();
    if (kind == "SOLID" || kind == "TRACE" || kind == "3DFACE") {
        std::vector<QPointF> corners;
        for (int code = 10; code <= 13; ++code) {
            const std::vector<QPointF> found = genericPoints(entity, code);
            if (!found.empty()) {
                corners.push_back(found.front());
            }
        }
        if (corners.size() < 3) {
            return;
        }
        if (corners.size() == 3) {
            corners.push_back(corners.back());
        }
        if (kind == "3DFACE") {
            QPolygonF outline({corners[0], corners[1], corners[2], corners[3], corners[0]});
            strokePolyline(toDevice.map(outline), style, linetypeScale, unitsToPixels);
            return;
        }
        // Solids list their corners in a zigzag: the third and fourth are swapped around the outline.
        const QPolygonF outline = toDevice.map(QPolygonF({corners[0], corners[1], corners[3], corners[2]}));
        m_painter.setPen(penFor(style));
        m_painter.setBrush(m_highlight ? QBrush(Qt::NoBrush) : QBrush(style.color));
        m_painter.drawPolygon(outline);
        m_painter.setBrush(Qt::NoBrush);
        return;
    }
    if (kind == "LEADER") {
        const std::vector<QPointF> vertices = genericPoints(entity, 10);
        strokePolyline(toDevice.map(QPolygonF(QList<QPointF>(vertices.begin(), vertices.end()))), style,
                       linetypeScale, unitsToPixels);
    }
}

} // namespace cad::gui
