// Draws entities with QPainter: every modelled kind tessellated in drawing units and mapped to device
// pixels through one affine transform (view times block transforms), dash patterns applied in drawing
// units, text set in a CJK-capable font fitted to the box the text metric model gives.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/gui/entity_style.h"

#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <functional>
#include <map>
#include <vector>

class AcDbDimension;
class AcDbRay;
class AcDbViewport;

namespace cad::gui {

class EntityPainter {
public:
    // `deviceBounds`: the device rectangle that is drawn (for rays, lines and level of detail).
    EntityPainter(const AcDbDatabase& database, const StyleResolver& styles, QPainter& painter,
                  const QRectF& deviceBounds);

    // Draws the entity; `toDevice` maps its coordinates (world, or block definition coordinates
    // inside a block) to device pixels.
    void paint(const AcDbEntity& entity, const QTransform& toDevice,
               const InheritedStyle* inherited = nullptr, int depth = 0);
    // Selected entities are drawn dashed over their normal look.
    void setHighlight(bool highlight) { m_highlight = highlight; }
    // Paper-space viewports show model space through this callback (viewport, paper-to-device).
    void setViewportPainter(std::function<void(const AcDbViewport&, const QTransform&)> painter) {
        m_viewportPainter = std::move(painter);
    }
    // Pixels per millimetre of lineweight (screen: about 3.8; print: the output resolution).
    void setPixelsPerMillimetre(double pixels) { m_pixelsPerMillimetre = pixels; }
    QColor background() const { return m_background; }
    void setBackground(QColor color) { m_background = color; }

    // Device points of a polyline with the style's pen and dash pattern (`unitsToPixels`: the length
    // of one drawing unit on the device, for dash lengths).
    void strokePolyline(const QPolygonF& points, const EffectiveStyle& style, double linetypeScale,
                        double unitsToPixels);
    QPen penFor(const EffectiveStyle& style) const;

private:
    void paintInsert(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style,
                     int depth);
    void paintBlock(AcDbObjectId block, const QTransform& toDevice, const InheritedStyle& inherited,
                    int depth);
    void paintDimension(const AcDbDimension& dimension, const QTransform& toDevice,
                        const EffectiveStyle& style, int depth);
    void paintDimensionWithoutBlock(const AcDbDimension& dimension, const QTransform& toDevice,
                                    const EffectiveStyle& style);
    void paintViewport(const AcDbViewport& viewport, const QTransform& toDevice, const EffectiveStyle& style,
                       double linetypeScale, double unitsToPixels);
    void paintRay(const AcDbRay& ray, bool bothWays, const QTransform& toDevice, const EffectiveStyle& style,
                  double linetypeScale, double unitsToPixels);
    // Everything drawn as its curve outlines: lines, arcs, circles, ellipses, splines, polylines, regions.
    void paintCurves(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style,
                     double linetypeScale, double unitsToPixels);
    void paintText(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style);
    void paintGeneric(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style,
                      double unitsToPixels);
    void paintImage(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style);
    void paintMline(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style,
                    double unitsToPixels);
    void paintHatch(const AcDbEntity& entity, const QTransform& toDevice, const EffectiveStyle& style,
                    double unitsToPixels);
    void drawTextRun(const std::wstring& text, const QPointF& baselineStart, const QPointF& baselineEnd,
                     const QPointF& topStart, const QColor& color);
    const QImage* image(const std::wstring& path);

    const AcDbDatabase& m_database;
    const StyleResolver& m_styles;
    QPainter& m_painter;
    QRectF m_deviceBounds;
    bool m_highlight = false;
    double m_pixelsPerMillimetre = 96.0 / 25.4;
    QColor m_background = Qt::black;
    std::function<void(const AcDbViewport&, const QTransform&)> m_viewportPainter;
    std::map<std::wstring, QImage> m_images;
};

// The length on the device of one unit under the transform (the mean of its axis scales).
double deviceScale(const QTransform& transform);
// World XY of an AcGeMatrix3d as a QTransform (row-vector convention).
QTransform planarTransform(const class AcGeMatrix3d& matrix);

} // namespace cad::gui
