// Plotting without a window: one layout of a drawing (model space by default) zoomed to its extents,
// on white paper, drawn by the view's own renderer into a PNG or, through Qt's PDF writer, into a
// vector PDF.
#pragma once

#include <QSize>
#include <optional>
#include <ostream>
#include <string>

namespace cad::gui {

struct PlotRequest {
    std::string output; // .png or .pdf
    std::string drawing;
    std::optional<std::string> layout;
    QSize size{1600, 1200};
};

// Exit statuses: 0 written, 1 bad request (unknown layout, output kind), 2 missing drawing,
// 3 unreadable drawing, 5 output not written.
int plotDrawing(const PlotRequest& request, std::ostream& errors);

} // namespace cad::gui
