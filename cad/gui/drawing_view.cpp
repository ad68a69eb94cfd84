// The view keeps one spatial index and one view (centre, scale) per space of its document, renders the
// space into a cached picture when the drawing, the view or the selection changes, and paints the
// rubber band of a drag over that picture: a window (dragged to the right) solid blue, a crossing
// (dragged to the left) dashed green, as CAD programs draw them.

#include "cad/gui/drawing_view.h"

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "cad/ed/entity_geometry.h"
#include "cad/gui/curve_outline.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace cad::gui {
namespace {

constexpr double kPickBoxPixels = 5.0;
constexpr double kDragThreshold = 4.0;
constexpr double kWheelStep = 1.25;
constexpr int kGripSize = 7;
constexpr std::size_t kMaximumGrippedEntities = 1000;

QPointF planar(const AcGePoint3d& point) {
    return {point.x, point.y};
}

} // namespace

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void DrawingView::setDocument(AcApDocument* document) {
    m_document = document;
    m_indexes.clear();
    m_views.clear();
    m_frameDirty = true;
    if (m_document != nullptr) {
        zoomExtents();
    }
    update();
}

AcDbObjectId DrawingView::currentSpace() const {
    return m_document != nullptr ? m_document->database()->currentSpaceId() : AcDbObjectId();
}

const SpatialIndex& DrawingView::indexOf(AcDbObjectId space) const {
    auto found = m_indexes.find(space.asOldId());
    if (found == m_indexes.end()) {
        found = m_indexes.emplace(space.asOldId(), SpatialIndex()).first;
        if (m_document != nullptr) {
            found->second.build(*m_document->database(), space);
        }
    }
    return found->second;
}

void DrawingView::drawingChanged() {
    m_indexes.clear();
    m_frameDirty = true;
    update();
}

void DrawingView::selectionChanged() {
    m_frameDirty = true;
    update();
}

const ViewGeometry& DrawingView::view() const {
    static const ViewGeometry kNone;
    const auto found = m_views.find(currentSpace().asOldId());
    return found != m_views.end() ? found->second : kNone;
}

void DrawingView::setView(const ViewGeometry& view) {
    m_views[currentSpace().asOldId()] = view;
    storeDocumentView();
    m_frameDirty = true;
    update();
}

void DrawingView::storeDocumentView() {
    if (m_document == nullptr) {
        return;
    }
    const ViewGeometry& shown = view();
    DocumentView& stored = m_document->view();
    stored.center[0] = shown.centerX;
    stored.center[1] = shown.centerY;
    stored.height = shown.unitsPerPixel * std::max(1, height());
    m_shownDocumentView = stored;
}

void DrawingView::adoptDocumentView() {
    if (m_document == nullptr) {
        return;
    }
    const DocumentView& stored = m_document->view();
    if (stored.center[0] == m_shownDocumentView.center[0] &&
        stored.center[1] == m_shownDocumentView.center[1] && stored.height == m_shownDocumentView.height) {
        return;
    }
    ViewGeometry adopted;
    adopted.centerX = stored.center[0];
    adopted.centerY = stored.center[1];
    adopted.unitsPerPixel = std::max(stored.height, 1e-9) / std::max(1, height());
    setView(adopted);
}

void DrawingView::zoomExtents() {
    if (m_document == nullptr) {
        return;
    }
    setView(ViewGeometry::fitting(indexOf(currentSpace()).extents(), size()));
}

void DrawingView::zoomBy(double factor, const QPointF& aboutDevice) {
    const QPointF before = toWorld(aboutDevice);
    ViewGeometry changed = view();
    changed.unitsPerPixel /= factor;
    // Keep the drawing point under the cursor where it is.
    changed.centerX +=
        before.x() - (changed.centerX + (aboutDevice.x() - width() / 2.0) * changed.unitsPerPixel);
    changed.centerY +=
        before.y() - (changed.centerY - (aboutDevice.y() - height() / 2.0) * changed.unitsPerPixel);
    setView(changed);
}

void DrawingView::panBy(const QPointF& deviceDelta) {
    ViewGeometry changed = view();
    changed.centerX -= deviceDelta.x() * changed.unitsPerPixel;
    changed.centerY += deviceDelta.y() * changed.unitsPerPixel;
    setView(changed);
}

QPointF DrawingView::toWorld(const QPointF& device) const {
    return view().toDevice(size()).inverted().map(device);
}

QPointF DrawingView::toDevice(const QPointF& world) const {
    return view().toDevice(size()).map(world);
}

double DrawingView::pickAperture() const {
    return kPickBoxPixels * view().unitsPerPixel;
}

AcDbObjectId DrawingView::entityAt(const QPointF& device) const {
    if (m_document == nullptr) {
        return {};
    }
    const QPointF world = toWorld(device);
    const double aperture = pickAperture();
    const SpatialIndex& index = indexOf(currentSpace());
    std::vector<std::uint32_t> near;
    index.query(QRectF(world.x() - aperture, world.y() - aperture, 2.0 * aperture, 2.0 * aperture), near);
    const AcGePoint3d point(world.x(), world.y(), 0.0);
    AcDbObjectId best;
    double bestDistance = aperture;
    const AcDbDatabase& database = *m_document->database();
    for (const std::uint32_t item : near) {
        const AcDbObjectId id = index.entries()[item].id;
        const auto* entity = AcDbEntity::cast(database.peekObject(id));
        if (entity == nullptr || id.isErased()) {
            continue;
        }
        const std::optional<double> distance = ed::pickDistance(database, *entity, point);
        if (distance && *distance <= bestDistance) {
            bestDistance = *distance;
            best = id;
        }
    }
    return best;
}

void DrawingView::renderFrame() {
    m_frame = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&m_frame);
    if (m_document == nullptr) {
        m_frame.fill(backgroundColor(false));
        return;
    }
    std::vector<std::int64_t> highlighted;
    for (const AcDbObjectId& id : m_document->editor().pickFirst) {
        highlighted.push_back(id.asOldId());
    }
    std::sort(highlighted.begin(), highlighted.end());
    SceneOptions options;
    options.highlighted = &highlighted;
    SceneRenderer renderer(*m_document->database(),
                           [this](AcDbObjectId space) -> const SpatialIndex& { return indexOf(space); });
    renderer.render(painter, currentSpace(), view(), size(), options);
    m_frameDirty = false;
}

std::vector<QPointF> DrawingView::gripPoints() const {
    std::vector<QPointF> grips;
    if (m_document == nullptr) {
        return grips;
    }
    const AcDbDatabase& database = *m_document->database();
    std::size_t count = 0;
    for (const AcDbObjectId& id : m_document->editor().pickFirst) {
        if (++count > kMaximumGrippedEntities) {
            break;
        }
        const auto* entity = AcDbEntity::cast(database.peekObject(id));
        if (entity == nullptr || id.isErased()) {
            continue;
        }
        if (const auto* line = AcDbLine::cast(entity)) {
            grips.push_back(planar(line->startPoint()));
            grips.push_back((planar(line->startPoint()) + planar(line->endPoint())) / 2.0);
            grips.push_back(planar(line->endPoint()));
        } else if (const auto* circle = AcDbCircle::cast(entity)) {
            const QPointF center = planar(circle->center());
            const double radius = circle->radius();
            grips.insert(grips.end(), {center, center + QPointF(radius, 0), center + QPointF(0, radius),
                                       center - QPointF(radius, 0), center - QPointF(0, radius)});
        } else if (const auto* arc = AcDbArc::cast(entity)) {
            AcGePoint3d start;
            AcGePoint3d end;
            arc->getStartPoint(start);
            arc->getEndPoint(end);
            grips.insert(grips.end(), {planar(arc->center()), planar(start), planar(end)});
        } else if (const auto* text = AcDbText::cast(entity)) {
            grips.push_back(planar(text->position()));
        } else if (const auto* mtext = AcDbMText::cast(entity)) {
            grips.push_back(planar(mtext->location()));
        } else if (const auto* reference = AcDbBlockReference::cast(entity)) {
            grips.push_back(planar(reference->position()));
        } else if (const std::vector<QPolygonF> outlines = curveOutlines(*entity, 1e300); !outlines.empty()) {
            // Polylines and splines: the vertices of the coarsest outline stand for their defining points.
            for (const QPolygonF& outline : outlines) {
                grips.insert(grips.end(), outline.begin(), outline.end());
            }
        } else if (const std::optional<AcDbExtents> box = ed::entityBox(database, *entity)) {
            grips.emplace_back((box->minPoint().x + box->maxPoint().x) / 2.0,
                               (box->minPoint().y + box->maxPoint().y) / 2.0);
        }
    }
    return grips;
}

void DrawingView::paintEvent(QPaintEvent*) {
    if (m_frameDirty || m_frame.size() != size()) {
        renderFrame();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
    const QColor gripColor(30, 90, 255);
    painter.setPen(QPen(Qt::white, 0.0));
    painter.setBrush(gripColor);
    for (const QPointF& grip : gripPoints()) {
        const QPointF at = toDevice(grip);
        painter.drawRect(QRectF(at.x() - kGripSize / 2.0, at.y() - kGripSize / 2.0, kGripSize, kGripSize));
    }
    if (m_dragStart && QLineF(*m_dragStart, m_dragCurrent).length() >= kDragThreshold) {
        const bool crossing = m_dragCurrent.x() < m_dragStart->x();
        const QRectF band = QRectF(*m_dragStart, m_dragCurrent).normalized();
        QColor fill = crossing ? QColor(60, 200, 80) : QColor(60, 110, 255);
        fill.setAlpha(50);
        QPen border(crossing ? QColor(60, 220, 90) : QColor(80, 140, 255), 1.0);
        border.setStyle(crossing ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(border);
        painter.setBrush(fill);
        painter.drawRect(band);
    }
}

void DrawingView::resizeEvent(QResizeEvent*) {
    m_frameDirty = true;
    if (m_document != nullptr && m_views.find(currentSpace().asOldId()) == m_views.end()) {
        zoomExtents();
    }
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panLast = event->position();
    } else if (event->button() == Qt::LeftButton) {
        m_dragStart = event->position();
        m_dragCurrent = event->position();
    } else if (event->button() == Qt::RightButton) {
        emit contextMenuWanted(event->globalPosition().toPoint());
    }
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    emit cursorMoved(toWorld(event->position()));
    if (m_panLast) {
        panBy(event->position() - *m_panLast);
        m_panLast = event->position();
    }
    if (m_dragStart) {
        m_dragCurrent = event->position();
        update();
    }
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panLast.reset();
        return;
    }
    if (event->button() != Qt::LeftButton || !m_dragStart) {
        return;
    }
    const QPointF start = *m_dragStart;
    m_dragStart.reset();
    update();
    const QPointF end = event->position();
    if (QLineF(start, end).length() < kDragThreshold) {
        emit pointPicked(toWorld(end), event->modifiers());
        return;
    }
    emit windowPicked(toWorld(start), toWorld(end), end.x() < start.x(), event->modifiers());
}

void DrawingView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        zoomExtents();
        return;
    }
    mousePressEvent(event);
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0.0) {
        zoomBy(std::pow(kWheelStep, notches), event->position());
    }
}

void DrawingView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void DrawingView::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
            emit fileDropped(url.toLocalFile());
            event->acceptProposedAction();
            return;
        }
    }
}

} // namespace cad::gui
