// Draws one space of a drawing into a device rectangle for a view (centre and drawing units per
// pixel): the entities the spatial index finds in view, with a level of detail that plots entities
// smaller than a pixel as single points, and paper-space viewports showing model space.
#pragma once

#include "cad/db/database.h"
#include "cad/gui/spatial_index.h"

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QTransform>
#include <functional>
#include <vector>

namespace cad::gui {

struct ViewGeometry {
    double centerX = 0.0;
    double centerY = 0.0;
    double unitsPerPixel = 1.0;

    // World (y up) to device (y down) for a device of that size.
    QTransform toDevice(const QSize& device) const;
    QRectF visibleWorld(const QSize& device) const;
    // The view that shows the rectangle whole with a margin of `margin` (a fraction) around it.
    static ViewGeometry fitting(const QRectF& world, const QSize& device, double margin = 0.03);
};

struct SceneOptions {
    bool paper = false; // white background, colour 7 black: plots and thumbnails
    double pixelsPerMillimetre = 96.0 / 25.4;
    // Entities drawn highlighted (dashed), sorted by asOldId().
    const std::vector<std::int64_t>* highlighted = nullptr;
};

class SceneRenderer {
public:
    // `indexOf` answers the index of a space (built on first use by the caller's cache).
    using IndexProvider = std::function<const SpatialIndex&(AcDbObjectId space)>;

    SceneRenderer(const AcDbDatabase& database, IndexProvider indexOf);
    void render(QPainter& painter, AcDbObjectId space, const ViewGeometry& view, const QSize& device,
                const SceneOptions& options);

private:
    const AcDbDatabase& m_database;
    IndexProvider m_indexOf;
};

QColor backgroundColor(bool paper);

} // namespace cad::gui
