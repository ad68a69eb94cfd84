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

// The live sets of the process. The host keeps at most 128 sets open at once.
class QUELTO_EXPORT SelectionSets {
public:
    static constexpr std::size_t kMaximumOpen = 128;
    static SelectionSets& instance();
    // False, with ERRNO 3 and the name cleared, when the limit of open sets is reached.
    bool create(std::vector<AcDbObjectId> members, ads_name name);
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
                                                     const AcGePoint3d& corner1, const AcGePoint3d& corner2,
                                                     bool crossing, const SelectionFilter& filter);
// The same with corners in the space's current user system, the window square to its axes.
QUELTO_EXPORT std::vector<AcDbObjectId> selectUserWindow(const AcDbDatabase& database, AcDbObjectId space,
                                                         const AcGePoint3d& corner1,
                                                         const AcGePoint3d& corner2, bool crossing,
                                                         const SelectionFilter& filter);
// The pick box of an interactive host: half its side in drawing units at the current zoom. Zero (the
// default) measures the tolerance from the size of the space instead, as a host without a screen must.
QUELTO_EXPORT void setPickAperture(double drawingUnits);
// The entity of the space nearest the point within the pick tolerance; null when none is.
QUELTO_EXPORT AcDbObjectId pickEntity(const AcDbDatabase& database, AcDbObjectId space,
                                      const AcGePoint3d& point);
// The last entity of the space that is not erased.
QUELTO_EXPORT AcDbObjectId lastEntity(const AcDbDatabase& database, AcDbObjectId space);
// The entity with the handle typed as hexadecimal digits; null when there is none.
QUELTO_EXPORT AcDbObjectId entityByHandleText(const AcDbDatabase& database, std::wstring_view text);

// The interactive "Select objects:" prompt: ALL, W, C, P, L, R(emove), A(dd), handles and points, until
// Enter. Nothing on Esc.
QUELTO_EXPORT std::optional<std::vector<AcDbObjectId>> promptForObjects(EditorState& editor,
                                                                        const SelectionFilter& filter);

} // namespace cad::ed

// "W"/"C" corners are points of the current user system. RTERROR when nothing is selected or 128 sets are
// open already (ERRNO 3).
QUELTO_EXPORT int acedSSGet(const ACHAR* mode, const void* point1, const void* point2, const resbuf* filter,
                            ads_name set);
QUELTO_EXPORT int acedSSFree(const ads_name set);
QUELTO_EXPORT int acedSSLength(const ads_name set, std::int32_t* length);
QUELTO_EXPORT int acedSSName(const ads_name set, std::int32_t index, ads_name entity);
// Null entity and set: a new empty set; null set: a new set of the entity; otherwise the entity is added
// to the set (once) and `result` names that set. An erased or unknown entity is refused (RTERROR).
QUELTO_EXPORT int acedSSAdd(const ads_name entity, const ads_name set, ads_name result);
QUELTO_EXPORT int acedSSDel(const ads_name entity, const ads_name set);
QUELTO_EXPORT int acedSSMemb(const ads_name entity, const ads_name set);
// The set becomes the current drawing's pick-first set, selected and gripped; null clears it. The second
// argument is ignored, as on the host.
QUELTO_EXPORT int acedSSSetFirst(const ads_name pickFirst, const ads_name unused);
// The gripped set is always nil (RTNIL); the pick-first set is an RTPICKS buffer naming a new set the
// caller frees, or nil when nothing is selected.
QUELTO_EXPORT int acedSSGetFirst(resbuf** gripped, resbuf** pickFirst);
// Prompts for one entity: RTNORM with its name and the picked point (in the current user system),
// RTKWORD for a keyword acedInitGet offered, RTCAN on Esc, RTERROR with ERRNO 7 for a pick that hits
// nothing and 52 for Enter.
QUELTO_EXPORT int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point);
