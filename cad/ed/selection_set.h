// Selection sets: acedSSGet with its modes (the user's object selection, "I" pick-first, "X" the whole
// drawing, "W"/"C" windows, "P" previous, "L" last), the calls that read and edit a set, and the
// pick-first/gripped sets of the current drawing. Sets are named by ads_name and live until freed.
#pragma once

#include "cad/db/database.h"
#include "cad/ed/resbuf.h"
#include "cad/ed/selection_filter.h"
#include "platform/export.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace cad::ed {

struct EditorState;

// The live sets of the process.
class QUELTO_EXPORT SelectionSets {
public:
    static SelectionSets& instance();
    void create(std::vector<AcDbObjectId> members, ads_name name);
    std::vector<AcDbObjectId>* find(const ads_name name);
    bool release(const ads_name name);
    std::size_t liveCount() const { return m_sets.size(); }

private:
    std::vector<std::pair<std::int64_t, std::vector<AcDbObjectId>>> m_sets;
    std::int64_t m_nextSerial = 1;
};

// Every entity of model space and of all paper-space layouts (never of block definitions) that the
// filter accepts, layout by layout in drawing order.
QUELTO_EXPORT std::vector<AcDbObjectId> selectAll(const AcDbDatabase& database,
                                                  const SelectionFilter& filter);
// Entities of the space inside the window (every point inside) or, crossing, touching it: lines, arcs,
// circles and lightweight polylines by their curve, other kinds by their extents box.
QUELTO_EXPORT std::vector<AcDbObjectId> selectWindow(const AcDbDatabase& database, AcDbObjectId space,
                                                     const double corner1[3], const double corner2[3],
                                                     bool crossing, const SelectionFilter& filter);
// The pick box of an interactive host: half its side in drawing units at the current zoom. Zero (the
// default) measures the tolerance from the size of the space instead, as a host without a screen must.
QUELTO_EXPORT void setPickAperture(double drawingUnits);
// The entity of the space nearest the point within the pick tolerance; null when none is.
QUELTO_EXPORT AcDbObjectId pickEntity(const AcDbDatabase& database, AcDbObjectId space,
                                      const double point[3]);
// The last entity of the space that is not erased.
QUELTO_EXPORT AcDbObjectId lastEntity(const AcDbDatabase& database, AcDbObjectId space);
// The entity with the handle typed as hexadecimal digits; null when there is none.
QUELTO_EXPORT AcDbObjectId entityByHandleText(const AcDbDatabase& database, std::wstring_view text);

// The interactive "Select objects:" prompt: ALL, W, C, P, L, R(emove), A(dd), handles and points, until
// Enter. Nothing on Esc.
QUELTO_EXPORT std::optional<std::vector<AcDbObjectId>> promptForObjects(EditorState& editor,
                                                                        const SelectionFilter& filter);

} // namespace cad::ed

QUELTO_EXPORT int acedSSGet(const ACHAR* mode, const void* point1, const void* point2, const resbuf* filter,
                            ads_name set);
QUELTO_EXPORT int acedSSFree(const ads_name set);
QUELTO_EXPORT int acedSSLength(const ads_name set, std::int32_t* length);
QUELTO_EXPORT int acedSSName(const ads_name set, std::int32_t index, ads_name entity);
// Null entity and set: a new empty set; null set: a new set of the entity; otherwise the entity is added
// to the set (once) and `result` names that set.
QUELTO_EXPORT int acedSSAdd(const ads_name entity, const ads_name set, ads_name result);
QUELTO_EXPORT int acedSSDel(const ads_name entity, const ads_name set);
QUELTO_EXPORT int acedSSMemb(const ads_name entity, const ads_name set);
// The gripped set and the pick-first set of the current drawing; null clears.
QUELTO_EXPORT int acedSSSetFirst(const ads_name gripped, const ads_name pickFirst);
QUELTO_EXPORT int acedSSGetFirst(resbuf** gripped, resbuf** pickFirst);
// Prompts for one entity: RTNORM with its name and the picked point, RTERROR on Enter or a miss, RTCAN
// on Esc.
QUELTO_EXPORT int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point);
