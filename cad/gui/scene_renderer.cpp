// Redraws walk only what the index finds in view. Entities whose box is under a pixel are not
// tessellated at all: they are gathered by colour and plotted as points in one call per colour,
// which keeps a zoomed-out view of a million entities fast and still shows where they are.

#include "cad/gui/scene_renderer.h"

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/gui/entity_painter.h"
#include "cad/gui/entity_style.h"

#include <algorithm>
#include <unordered_map>

namespace cad::gui {
namespace {

constexpr double kPointSizedPixels = 1.0;

} // namespace

QTransform ViewGeometry::toDevice(const QSize& device) const {
    const double scale = 1.0 / unitsPerPixel;
    return QTransform(scale, 0.0, 0.0, -scale, device.width() / 2.0 - centerX * scale,
                      device.height() / 2.0 + centerY * scale);
}

QRectF ViewGeometry::visibleWorld(const QSize& device) const {
    const double width = device.width() * unitsPerPixel;
    const double height = device.height() * unitsPerPixel;
    return {centerX - width / 2.0, centerY - height / 2.0, width, height};
}

ViewGeometry ViewGeometry::fitting(const QRectF& world, const QSize& device, double margin) {
    ViewGeometry view;
    if (world.isNull() || device.isEmpty()) {
        view.unitsPerPixel = world.isNull() ? 0.05 : 1.0;
        view.centerX = world.isNull() ? 0.0 : world.center().x();
        view.centerY = world.isNull() ? 0.0 : world.center().y();
        return view;
    }
    view.centerX = world.center().x();
    view.centerY = world.center().y();
    const double across = std::max(world.width() / device.width(), world.height() / device.height());
    view.unitsPerPixel = std::max(across * (1.0 + 2.0 * margin), 1e-9);
    return view;
}

QColor backgroundColor(bool paper) {
    // A dark grey-blue rather than black: drafters' usual model background, and black entities stay visible.
    return paper ? QColor(Qt::white) : QColor(33, 40, 48);
}

SceneRenderer::SceneRenderer(const AcDbDatabase& database, IndexProvider indexOf)
    : m_database(database), m_indexOf(std::move(indexOf)) {}

void SceneRenderer::render(QPainter& painter, AcDbObjectId space, const ViewGeometry& view,
                           const QSize& device, const SceneOptions& options) {
    const QColor background = backgroundColor(options.paper);
    painter.fillRect(QRect(QPoint(0, 0), device), background);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const StyleResolver styles(m_database, options.paper);
    EntityPainter entityPainter(m_database, styles, painter, QRectF(QPointF(0.0, 0.0), QSizeF(device)));
    entityPainter.setBackground(background);
    entityPainter.setPixelsPerMillimetre(options.pixelsPerMillimetre);

    std::vector<std::uint32_t> visible;
    // Draws the entities of a space seen through `toDevice`, within `world` (their visible area).
    const auto drawSpace = [&](AcDbObjectId drawn, const QTransform& toDevice, const QRectF& world) {
        const SpatialIndex& index = m_indexOf(drawn);
        std::vector<std::uint32_t> found;
        index.query(world, found);
        const double unitsToPixels = deviceScale(toDevice);
        std::unordered_map<QRgb, QList<QPointF>> points;
        for (const std::uint32_t item : found) {
            const SpatialIndex::Entry& entry = index.entries()[item];
            const auto* entity = AcDbEntity::cast(m_database.peekObject(entry.id));
            if (entity == nullptr || entry.id.isErased()) {
                continue;
            }
            const bool highlighted = options.highlighted != nullptr &&
                                     std::binary_search(options.highlighted->begin(),
                                                        options.highlighted->end(), entry.id.asOldId());
            const double size = std::max(entry.maximumX - entry.minimumX, entry.maximumY - entry.minimumY);
            if (!highlighted && size * unitsToPixels < kPointSizedPixels &&
                AcDbRay::cast(entity) == nullptr && AcDbViewport::cast(entity) == nullptr) {
                const EffectiveStyle style = styles.resolve(*entity, nullptr);
                if (style.visible) {
                    points[style.color.rgb()].append(toDevice.map(QPointF(
                        (entry.minimumX + entry.maximumX) / 2.0, (entry.minimumY + entry.maximumY) / 2.0)));
                }
                continue;
            }
            entityPainter.setHighlight(highlighted);
            entityPainter.paint(*entity, toDevice);
        }
        entityPainter.setHighlight(false);
        for (const auto& [rgb, plotted] : points) {
            painter.setPen(QPen(QColor::fromRgb(rgb), 0.0));
            painter.drawPoints(plotted.data(), static_cast<int>(plotted.size()));
        }
    };

    // Paper-space viewports: model space seen at the viewport's scale, clipped to its frame.
    entityPainter.setViewportPainter([&](const AcDbViewport& viewport, const QTransform& paperToDevice) {
        const double scale = viewport.customScale();
        if (scale <= 0.0) {
            return;
        }
        const AcGePoint3d center = viewport.centerPoint();
        const AcGePoint2d viewCenter = viewport.viewCenter();
        const QTransform modelToPaper = QTransform::fromTranslate(-viewCenter.x, -viewCenter.y) *
                                        QTransform::fromScale(scale, scale) *
                                        QTransform::fromTranslate(center.x, center.y);
        const QRectF frame(center.x - viewport.width() / 2.0, center.y - viewport.height() / 2.0,
                           viewport.width(), viewport.height());
        const QRectF modelArea(viewCenter.x - viewport.width() / (2.0 * scale),
                               viewCenter.y - viewport.height() / (2.0 * scale), viewport.width() / scale,
                               viewport.height() / scale);
        painter.save();
        painter.setClipRect(paperToDevice.mapRect(frame), Qt::IntersectClip);
        drawSpace(m_database.modelSpaceId(), modelToPaper * paperToDevice, modelArea);
        painter.restore();
    });
    drawSpace(space, view.toDevice(device), view.visibleWorld(device));
}

} // namespace cad::gui
