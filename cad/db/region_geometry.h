// Measuring planar regions from the ACIS text (SAT) data a REGION stores in DXF groups 1 and 3: area,
// perimeter, extents and the boundary edges that exploding gives. Only what planar regions drawn from lines,
// arcs, circles and ellipses need is read; everything else is reported, with the record that stopped the
// reader, rather than guessed.
#pragma once

#include "cad/db/db_types.h"
#include "cad/ge/ellipse_arc.h"
#include "cad/ge/extents.h"
#include "platform/export.h"

#include <optional>
#include <string>
#include <vector>

namespace cad::db {

// One boundary edge in the direction of its curve: a segment from start to end, or an elliptical arc
// (circular when its ratio is 1) running counter-clockwise about its normal.
struct RegionEdge {
    AcGePoint3d start;
    AcGePoint3d end;
    std::optional<ge::EllipseArc> arc;
};

struct RegionMeasure {
    Acad::ErrorStatus status = Acad::eOk;
    std::string error; // what failed and where (record index), empty when status is eOk
    double area = 0.0;
    double perimeter = 0.0;
    AcDbExtents extents;
    std::vector<RegionEdge> edges;
};

// `lines` are the ACIS lines as a DXF stores them (encoded, as R2000-R2010 write them) or as plain SAT.
// eNotApplicable: no data (an empty body); eInvalidInput: data that does not parse; eNotImplementedYet:
// well-formed data with surfaces other than planes or curves other than straight and elliptical ones.
QUELTO_EXPORT RegionMeasure measureRegion(const std::vector<std::string>& lines);

// Undoes the character substitution DXF applies to ACIS text (every character but the space becomes
// 159 minus its code; the caret escape "^ " stands for the encoded caret). Plain SAT is returned as is.
QUELTO_EXPORT std::vector<std::string> decodeAcisLines(const std::vector<std::string>& lines);

} // namespace cad::db
