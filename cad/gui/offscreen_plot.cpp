// The plot opens the drawing in a database of its own (no document, no modules), picks the layout's
// space and renders it with the same SceneRenderer the view uses, so what a thumbnail shows is what
// the window shows, on paper colours.

#include "cad/gui/offscreen_plot.h"

#include "cad/ed/layouts.h"
#include "cad/gui/scene_renderer.h"
#include "platform/code_page.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <filesystem>
#include <map>

namespace cad::gui {

int plotDrawing(const PlotRequest& request, std::ostream& errors) {
    if (!std::filesystem::exists(request.drawing)) {
        errors << "quelto-cad: cannot open drawing " << request.drawing << ": no such file\n";
        return 2;
    }
    AcDbDatabase database(false);
    cad::dxf::TagError readError;
    if (!database.readDxf(request.drawing, readError)) {
        errors << "quelto-cad: cannot open drawing " << request.drawing << ": " << readError.toString()
               << "\n";
        return 3;
    }
    AcDbObjectId space = database.modelSpaceId();
    if (request.layout) {
        space = ed::spaceOfLayout(database, platform::utf8ToWide(*request.layout));
        if (space.isNull()) {
            errors << "quelto-cad: the drawing has no layout named " << *request.layout << "\n";
            return 1;
        }
    }
    std::map<std::int64_t, SpatialIndex> indexes;
    const auto indexOf = [&](AcDbObjectId indexed) -> const SpatialIndex& {
        auto found = indexes.find(indexed.asOldId());
        if (found == indexes.end()) {
            found = indexes.emplace(indexed.asOldId(), SpatialIndex()).first;
            found->second.build(database, indexed);
        }
        return found->second;
    };
    const ViewGeometry view = ViewGeometry::fitting(indexOf(space).extents(), request.size);
    SceneRenderer renderer(database, indexOf);
    SceneOptions options;
    options.paper = true;
    const std::string extension = std::filesystem::path(request.output).extension().string();
    if (extension == ".png" || extension == ".PNG") {
        QImage image(request.size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            renderer.render(painter, space, view, request.size, options);
        }
        if (!image.save(QString::fromStdString(request.output), "PNG")) {
            errors << "quelto-cad: cannot write " << request.output << "\n";
            return 5;
        }
        return 0;
    }
    if (extension == ".pdf" || extension == ".PDF") {
        QPdfWriter writer(QString::fromStdString(request.output));
        // One device pixel per point: the page has the requested size in points, the drawing stays vectors.
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(request.size), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("Quelto CAD"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            errors << "quelto-cad: cannot write " << request.output << "\n";
            return 5;
        }
        options.pixelsPerMillimetre = 72.0 / 25.4;
        renderer.render(painter, space, view, request.size, options);
        painter.end();
        return 0;
    }
    errors << "quelto-cad: --render writes .png or .pdf files, not " << request.output << "\n";
    return 1;
}

} // namespace cad::gui
