// The drawing view: shows the current space of a document, pans with the middle button, zooms with the
// wheel about the cursor, zooms to extents on a double middle click, and turns left clicks and drags
// into picks and window or crossing selections that its owner applies (to the pick-first set, or as
// answers to a waiting prompt). The pick-first set is drawn dashed with its grips.
#pragma once

#include "cad/app/document_manager.h"
#include "cad/gui/scene_renderer.h"
#include "cad/gui/spatial_index.h"

#include <QImage>
#include <QWidget>
#include <map>
#include <optional>

namespace cad::gui {

class DrawingView final : public QWidget {
    Q_OBJECT
public:
    explicit DrawingView(QWidget* parent = nullptr);

    void setDocument(AcApDocument* document);
    AcApDocument* document() const { return m_document; }
    AcDbObjectId currentSpace() const;

    // The drawing changed: indexes and the picture are rebuilt on the next paint.
    void drawingChanged();
    // The selection changed: the picture is redrawn.
    void selectionChanged();
    void zoomExtents();
    // Takes the view the document's ZOOM command left, when it differs from the one shown.
    void adoptDocumentView();
    void zoomBy(double factor, const QPointF& aboutDevice);
    void panBy(const QPointF& deviceDelta);
    const ViewGeometry& view() const;
    void setView(const ViewGeometry& view);

    QPointF toWorld(const QPointF& device) const;
    QPointF toDevice(const QPointF& world) const;
    // Half the pick box, in drawing units at the current zoom.
    double pickAperture() const;
    // The entity under the device point (within the pick box, the nearest; later ones on top), or null.
    AcDbObjectId entityAt(const QPointF& device) const;
    const SpatialIndex& indexOf(AcDbObjectId space) const;

signals:
    void cursorMoved(const QPointF& world);
    void pointPicked(const QPointF& world, Qt::KeyboardModifiers modifiers);
    void windowPicked(const QPointF& corner1, const QPointF& corner2, bool crossing,
                      Qt::KeyboardModifiers modifiers);
    void contextMenuWanted(const QPoint& globalPosition);
    void fileDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void renderFrame();
    void storeDocumentView();
    std::vector<QPointF> gripPoints() const;

    AcApDocument* m_document = nullptr;
    mutable std::map<std::int64_t, SpatialIndex> m_indexes;
    std::map<std::int64_t, ViewGeometry> m_views;
    QImage m_frame;
    bool m_frameDirty = true;
    DocumentView m_shownDocumentView;
    std::optional<QPointF> m_dragStart;
    QPointF m_dragCurrent;
    std::optional<QPointF> m_panLast;
};

} // namespace cad::gui
