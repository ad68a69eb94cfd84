// A hatch read for drawing: its boundary loops as closed point lists and its pattern line families,
// both from the boundary and pattern groups the database keeps as read (loops of polyline or edge
// boundaries: lines, arcs, elliptic arcs, splines).
#pragma once

#include "cad/dxf/tag.h"
#include "cad/ge/vector3d.h"

#include <QPolygonF>
#include <vector>

namespace cad::gui {

// One family of parallel pattern lines: through `base` at `angle` (radians), repeated every `offset`,
// dashed by `dashes` (drawing units; positive draws, negative skips).
struct PatternLine {
    double angle = 0.0;
    QPointF base;
    QPointF offset;
    std::vector<double> dashes;
};

struct HatchOutline {
    std::vector<QPolygonF> loops; // object coordinates of the hatch plane
    std::vector<PatternLine> patternLines;
};

// `tolerance`: the chord error allowed for curved edges, in drawing units.
HatchOutline readHatchOutline(const std::vector<cad::dxf::OwnedTag>& tags, double tolerance);

} // namespace cad::gui
