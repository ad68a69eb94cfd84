// The grid is sized from the entity count (about eight entities per cell on an even spread) and
// stored as one flat array of cell lists. A query that covers most of the grid scans the entries
// directly, which is faster than visiting cells and sorting.

#include "cad/gui/spatial_index.h"

#include "cad/db/curve_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/entity_geometry.h"

#include <algorithm>
#include <cmath>

namespace cad::gui {
namespace {

constexpr int kMaximumGridSide = 2048;
constexpr int kLargeEntityCells = 64;

bool meets(const SpatialIndex::Entry& entry, const QRectF& area) {
    return entry.maximumX >= area.left() && entry.minimumX <= area.right() && entry.maximumY >= area.top() &&
           entry.minimumY <= area.bottom();
}

} // namespace

void SpatialIndex::build(const AcDbDatabase& database, AcDbObjectId space) {
    m_entries.clear();
    m_unbounded.clear();
    m_large.clear();
    m_extents = QRectF();
    if (const auto* record = AcDbBlockTableRecord::cast(database.peekObject(space))) {
        collectEntries(database, *record);
    }
    buildGrid();
    m_seen.assign(m_entries.size(), 0);
    m_stamp = 0;
}

void SpatialIndex::collectEntries(const AcDbDatabase& database, const AcDbBlockTableRecord& record) {
    double low[2] = {1e300, 1e300};
    double high[2] = {-1e300, -1e300};
    m_entries.reserve(record.entityIds().size());
    for (const AcDbObjectId& id : record.entityIds()) {
        if (id.isErased()) {
            continue;
        }
        const auto* entity = AcDbEntity::cast(database.peekObject(id));
        if (entity == nullptr) {
            continue;
        }
        Entry entry{id};
        if (AcDbRay::cast(entity) != nullptr) {
            m_unbounded.push_back(static_cast<std::uint32_t>(m_entries.size()));
            m_entries.push_back(entry);
            continue;
        }
        const std::optional<AcDbExtents> box = ed::entityBox(database, *entity);
        if (!box) {
            continue;
        }
        entry.minimumX = box->minPoint().x;
        entry.minimumY = box->minPoint().y;
        entry.maximumX = box->maxPoint().x;
        entry.maximumY = box->maxPoint().y;
        low[0] = std::min(low[0], entry.minimumX);
        low[1] = std::min(low[1], entry.minimumY);
        high[0] = std::max(high[0], entry.maximumX);
        high[1] = std::max(high[1], entry.maximumY);
        m_entries.push_back(entry);
    }
    if (m_entries.size() > m_unbounded.size()) {
        m_extents = QRectF(QPointF(low[0], low[1]), QPointF(high[0], high[1]));
    }
}

void SpatialIndex::buildGrid() {
    const std::size_t bounded = m_entries.size() - m_unbounded.size();
    if (bounded == 0) {
        m_columns = m_rows = 0;
        m_cellStart.assign(1, 0);
        m_cellItems.clear();
        return;
    }
    const int side =
        std::clamp(static_cast<int>(std::sqrt(static_cast<double>(bounded) / 8.0)), 1, kMaximumGridSide);
    m_columns = m_rows = side;
    const double left = m_extents.left();
    const double top = m_extents.top();
    const double cellWidth = std::max(m_extents.width(), 1e-12) / m_columns;
    const double cellHeight = std::max(m_extents.height(), 1e-12) / m_rows;
    const auto cellRange = [&](const Entry& entry, int range[4]) {
        range[0] = std::clamp(static_cast<int>((entry.minimumX - left) / cellWidth), 0, m_columns - 1);
        range[1] = std::clamp(static_cast<int>((entry.minimumY - top) / cellHeight), 0, m_rows - 1);
        range[2] = std::clamp(static_cast<int>((entry.maximumX - left) / cellWidth), 0, m_columns - 1);
        range[3] = std::clamp(static_cast<int>((entry.maximumY - top) / cellHeight), 0, m_rows - 1);
    };
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(m_columns) * m_rows + 1, 0);
    std::vector<char> isUnbounded(m_entries.size(), 0);
    for (const std::uint32_t index : m_unbounded) {
        isUnbounded[index] = 1;
    }
    // Two passes: count per cell, then place, so the lists sit in one array in drawing order.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::uint32_t index = 0; index < m_entries.size(); ++index) {
            if (isUnbounded[index] != 0) {
                continue;
            }
            int range[4];
            cellRange(m_entries[index], range);
            const long long cells =
                static_cast<long long>(range[2] - range[0] + 1) * (range[3] - range[1] + 1);
            if (cells > kLargeEntityCells) {
                if (pass == 0) {
                    m_large.push_back(index);
                }
                continue;
            }
            for (int row = range[1]; row <= range[3]; ++row) {
                for (int column = range[0]; column <= range[2]; ++column) {
                    const std::size_t cell = static_cast<std::size_t>(row) * m_columns + column;
                    if (pass == 0) {
                        ++counts[cell];
                    } else {
                        m_cellItems[m_cellStart[cell] + counts[cell]++] = index;
                    }
                }
            }
        }
        if (pass == 0) {
            m_cellStart.assign(counts.size(), 0);
            std::uint32_t total = 0;
            for (std::size_t cell = 0; cell + 1 < counts.size(); ++cell) {
                m_cellStart[cell] = total;
                total += counts[cell];
            }
            m_cellStart.back() = total;
            m_cellItems.assign(total, 0);
            std::fill(counts.begin(), counts.end(), 0);
        }
    }
}

void SpatialIndex::query(const QRectF& area, std::vector<std::uint32_t>& found) const {
    found.clear();
    if (m_entries.empty()) {
        return;
    }
    if (m_columns == 0 || !area.intersects(m_extents.adjusted(-1e-9, -1e-9, 1e-9, 1e-9))) {
        found = m_unbounded;
        return;
    }
    const double cellWidth = std::max(m_extents.width(), 1e-12) / m_columns;
    const double cellHeight = std::max(m_extents.height(), 1e-12) / m_rows;
    const int firstColumn =
        std::clamp(static_cast<int>((area.left() - m_extents.left()) / cellWidth), 0, m_columns - 1);
    const int lastColumn =
        std::clamp(static_cast<int>((area.right() - m_extents.left()) / cellWidth), 0, m_columns - 1);
    const int firstRow =
        std::clamp(static_cast<int>((area.top() - m_extents.top()) / cellHeight), 0, m_rows - 1);
    const int lastRow =
        std::clamp(static_cast<int>((area.bottom() - m_extents.top()) / cellHeight), 0, m_rows - 1);
    const long long cells = static_cast<long long>(lastColumn - firstColumn + 1) * (lastRow - firstRow + 1);
    if (cells * 4 > static_cast<long long>(m_columns) * m_rows) {
        for (std::uint32_t index = 0; index < m_entries.size(); ++index) {
            if (meets(m_entries[index], area) ||
                std::binary_search(m_unbounded.begin(), m_unbounded.end(), index)) {
                found.push_back(index);
            }
        }
        return;
    }
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 1;
    }
    const auto take = [&](std::uint32_t index) {
        if (m_seen[index] != m_stamp && meets(m_entries[index], area)) {
            m_seen[index] = m_stamp;
            found.push_back(index);
        }
    };
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const std::size_t cell = static_cast<std::size_t>(row) * m_columns + column;
            for (std::uint32_t item = m_cellStart[cell]; item < m_cellStart[cell + 1]; ++item) {
                take(m_cellItems[item]);
            }
        }
    }
    for (const std::uint32_t index : m_large) {
        take(index);
    }
    found.insert(found.end(), m_unbounded.begin(), m_unbounded.end());
    std::sort(found.begin(), found.end());
}

} // namespace cad::gui
