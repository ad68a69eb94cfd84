// A uniform grid over the extents of one space's entities, so that a redraw visits only the entities
// whose boxes meet the visible rectangle and a pick measures only those near the cursor. Entities
// without finite extents (rays, construction lines) are always visited.
#pragma once

#include "cad/db/database.h"

#include <QRectF>
#include <cstdint>
#include <vector>

namespace cad::gui {

class SpatialIndex {
public:
    struct Entry {
        AcDbObjectId id;
        double minimumX = 0.0;
        double minimumY = 0.0;
        double maximumX = 0.0;
        double maximumY = 0.0;
    };

    // Measures every entity of the space (in drawing order) and files it into the grid.
    void build(const AcDbDatabase& database, AcDbObjectId space);
    const std::vector<Entry>& entries() const { return m_entries; }
    // The box around every bounded entity; empty when there is none.
    QRectF extents() const { return m_extents; }
    // Indices into entries() of the entities whose boxes meet the rectangle, unbounded ones included,
    // in drawing order.
    void query(const QRectF& area, std::vector<std::uint32_t>& found) const;

private:
    void collectEntries(const AcDbDatabase& database, const AcDbBlockTableRecord& record);
    // Each bounded entry in the cells its box covers; boxes over too many cells go to m_large.
    void buildGrid();
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_unbounded;
    QRectF m_extents;
    int m_columns = 0;
    int m_rows = 0;
    // Cell c holds m_cellItems[m_cellStart[c] .. m_cellStart[c + 1]).
    std::vector<std::uint32_t> m_cellStart;
    std::vector<std::uint32_t> m_cellItems;
    // Entities that span many cells are tested on their own instead of filling every cell.
    std::vector<std::uint32_t> m_large;
    mutable std::vector<std::uint32_t> m_seen;
    mutable std::uint32_t m_stamp = 0;
};

} // namespace cad::gui
