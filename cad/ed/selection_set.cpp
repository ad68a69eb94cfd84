// Selection sets and the selection modes. "X" runs the compiled filter over the typed accessors of each
// entity (EntitySubject), so a whole-drawing selection builds no result buffers. Every successful
// selection becomes the drawing's previous selection, as on the host.

#include "cad/ed/selection_set.h"

#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/editor_state.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/entity_geometry.h"
#include "cad/ed/entity_subject.h"
#include "cad/ed/group_selection.h"
#include "cad/ed/keyword_input.h"
#include "cad/ed/user_coordinates.h"
#include "cad/ed/window_crossing.h"
#include "cad/ge/matrix3d.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace cad::ed {
namespace {

constexpr std::int64_t kSelectionSetTag = 0x535354; // "SST"

const AcDbBlockTableRecord* peekRecord(const AcDbDatabase& database, AcDbObjectId id) {
    return AcDbBlockTableRecord::cast(database.peekObject(id));
}

const AcDbEntity* peekEntity(const AcDbDatabase& database, AcDbObjectId id) {
    return AcDbEntity::cast(database.peekObject(id));
}

bool isSelectableSpace(const AcDbDatabase& database, AcDbObjectId recordId,
                       const AcDbBlockTableRecord& record) {
    return record.isLayout() || recordId == database.modelSpaceId() || recordId == database.paperSpaceId();
}

template <class Visitor>
void forEachEntityOfSpace(const AcDbDatabase& database, AcDbObjectId space, Visitor&& visit) {
    const AcDbBlockTableRecord* record = peekRecord(database, space);
    if (record == nullptr) {
        return;
    }
    const std::vector<AcDbObjectId>& ids = record->entityIds();
    // Entities live apart on the heap: fetching a few ahead hides most of the memory latency of a
    // whole-drawing scan.
    constexpr std::size_t lookAhead = 16;
    for (std::size_t index = 0; index < ids.size(); ++index) {
        if (index + lookAhead < ids.size()) {
            const db::ObjectSlot* ahead = ids[index + lookAhead].slot();
            if (ahead != nullptr) {
                __builtin_prefetch(ahead->object.get());
            }
        }
        const AcDbObjectId& id = ids[index];
        if (id.isErased()) {
            continue;
        }
        if (const AcDbEntity* entity = peekEntity(database, id)) {
            visit(id, *entity);
        }
    }
}

std::vector<AcDbObjectId> filtered(const AcDbDatabase& database, const std::vector<AcDbObjectId>& ids,
                                   const SelectionFilter& filter) {
    std::vector<AcDbObjectId> result;
    EntitySubject subject(database);
    for (const AcDbObjectId& id : ids) {
        if (id.isNull() || id.isErased() || id.database() != &database) {
            continue;
        }
        const AcDbEntity* entity = peekEntity(database, id);
        if (entity == nullptr) {
            continue;
        }
        subject.reset(*entity);
        if (filter.matches(subject)) {
            result.push_back(id);
        }
    }
    return result;
}

void addUnique(std::vector<AcDbObjectId>& set, const std::vector<AcDbObjectId>& added) {
    for (const AcDbObjectId& id : added) {
        if (std::find(set.begin(), set.end(), id) == set.end()) {
            set.push_back(id);
        }
    }
}

// Adds the objects found to the selection (or removes them) and reports the count as the host does.
void addOrRemove(std::vector<AcDbObjectId>& selection, const std::vector<AcDbObjectId>& found,
                 bool removing) {
    if (removing) {
        const std::size_t before = selection.size();
        std::erase_if(selection, [&found](const AcDbObjectId& id) {
            return std::find(found.begin(), found.end(), id) != found.end();
        });
        commandLine().write(platform::formatWide(
            L"%d found, %d removed, %d total\n", static_cast<int>(found.size()),
            static_cast<int>(before - selection.size()), static_cast<int>(selection.size())));
    } else {
        addUnique(selection, found);
        commandLine().write(platform::formatWide(L"%d found, %d total\n", static_cast<int>(found.size()),
                                                 static_cast<int>(selection.size())));
    }
}

double pickAperture = 0.0;

double pickTolerance(const AcDbDatabase& database, AcDbObjectId space) {
    if (pickAperture > 0.0) {
        return pickAperture;
    }
    // No screen, so no pick box in pixels: a thousandth of the space's size stands in for it.
    const std::optional<AcDbExtents> extents = spaceExtents(database, space);
    const AcGeVector3d diagonal = extents ? extents->maxPoint() - extents->minPoint() : AcGeVector3d();
    return std::max(1e-6, std::hypot(diagonal.x, diagonal.y) * 1e-3);
}

// Points are typed in the current user system; picks work in the world.
AcGePoint3d userToWorld(const ads_point user) {
    ads_point typed = {0.0, 0.0, 0.0};
    ads_point_set(user, typed);
    ads_point world;
    return acdbUcs2Wcs(typed, world, false) ? asPnt3d(world) : asPnt3d(user);
}

bool promptPoint(const wchar_t* text, AcGePoint3d& point) {
    while (true) {
        const PromptAnswer answer = prompt(text);
        if (answer.kind != PromptAnswer::Kind::Text) {
            return false;
        }
        ads_point typed = {0.0, 0.0, 0.0};
        if (parsePoint(answer.text, typed)) {
            point = asPnt3d(typed);
            return true;
        }
        commandLine().write(L"Invalid point.\n");
    }
}

} // namespace

SelectionSets& SelectionSets::instance() {
    static SelectionSets sets;
    return sets;
}

bool SelectionSets::create(std::vector<AcDbObjectId> members, ads_name name) {
    if (m_sets.size() >= kMaximumOpen) {
        name[0] = 0;
        name[1] = 0;
        setErrorNumber(3);
        return false;
    }
    name[0] = m_nextSerial++;
    name[1] = kSelectionSetTag;
    m_sets.emplace_back(name[0], std::move(members));
    return true;
}

std::vector<AcDbObjectId>* SelectionSets::find(const ads_name name) {
    if (name == nullptr || name[1] != kSelectionSetTag) {
        return nullptr;
    }
    for (auto& [serial, members] : m_sets) {
        if (serial == name[0]) {
            return &members;
        }
    }
    return nullptr;
}

bool SelectionSets::release(const ads_name name) {
    if (name == nullptr || name[1] != kSelectionSetTag) {
        return false;
    }
    return std::erase_if(m_sets, [name](const auto& entry) { return entry.first == name[0]; }) > 0;
}

std::vector<AcDbObjectId> selectAll(const AcDbDatabase& database, const SelectionFilter& filter) {
    std::vector<AcDbObjectId> result;
    EntitySubject subject(database);
    // Drawings without a block for a space (R12 and older files that only have an ENTITIES section) get
    // that space made up while loading, outside the block order: it is selectable all the same.
    std::vector<AcDbObjectId> spaces = database.blockRecordIds();
    for (const AcDbObjectId& space : {database.paperSpaceId(), database.modelSpaceId()}) {
        if (!space.isNull() && std::find(spaces.begin(), spaces.end(), space) == spaces.end()) {
            spaces.insert(spaces.begin(), space);
        }
    }
    for (const AcDbObjectId& recordId : spaces) {
        const AcDbBlockTableRecord* record = peekRecord(database, recordId);
        if (record == nullptr || !isSelectableSpace(database, recordId, *record)) {
            continue;
        }
        forEachEntityOfSpace(database, recordId, [&](AcDbObjectId id, const AcDbEntity& entity) {
            subject.reset(entity);
            if (filter.matches(subject)) {
                result.push_back(id);
            }
        });
    }
    return result;
}

namespace {

// Inside the window (every point inside) or, crossing, touching it.
bool liesInWindow(const AcDbDatabase& database, const AcDbEntity& entity, const double low[2],
                  const double high[2], bool crossing) {
    const std::optional<AcDbExtents> box = entityBox(database, entity);
    if (!box) {
        return false;
    }
    const AcGePoint3d minimum = box->minPoint();
    const AcGePoint3d maximum = box->maxPoint();
    const bool contained =
        minimum.x >= low[0] && maximum.x <= high[0] && minimum.y >= low[1] && maximum.y <= high[1];
    const bool overlapping =
        minimum.x <= high[0] && maximum.x >= low[0] && minimum.y <= high[1] && maximum.y >= low[1];
    // A box that only overlaps the window says nothing certain: the curve itself decides where its kind
    // allows.
    if (crossing && overlapping && !contained) {
        if (const std::optional<bool> touches = touchesWindow(entity, low, high)) {
            return *touches;
        }
    }
    return crossing ? overlapping : contained;
}

} // namespace

std::vector<AcDbObjectId> selectWindow(const AcDbDatabase& database, AcDbObjectId space,
                                       const AcGePoint3d& corner1, const AcGePoint3d& corner2, bool crossing,
                                       const SelectionFilter& filter) {
    const double low[2] = {std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y)};
    const double high[2] = {std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y)};
    std::vector<AcDbObjectId> inside;
    forEachEntityOfSpace(database, space, [&](AcDbObjectId id, const AcDbEntity& entity) {
        if (liesInWindow(database, entity, low, high, crossing)) {
            inside.push_back(id);
        }
    });
    return filtered(database, inside, filter);
}

std::vector<AcDbObjectId> selectUserWindow(const AcDbDatabase& database, AcDbObjectId space,
                                           const AcGePoint3d& corner1, const AcGePoint3d& corner2,
                                           bool crossing, const SelectionFilter& filter) {
    const UserCoordinateSystem system = userCoordinateSystem(database, space != database.modelSpaceId());
    const auto alongWorldAxis = [](const AcGeVector3d& axis) {
        return (axis.x == 0.0) + (axis.y == 0.0) + (axis.z == 0.0) == 2;
    };
    if (alongWorldAxis(system.xAxis) && alongWorldAxis(system.yAxis) && system.xAxis.z == 0.0 &&
        system.yAxis.z == 0.0) {
        // The window stays a box of the world: only its corners move.
        return selectWindow(database, space, system.toWorld(corner1), system.toWorld(corner2), crossing,
                            filter);
    }
    // Square to rotated user axes, the window is no box of the world: each entity is measured on a copy
    // moved into user coordinates.
    const AcGeMatrix3d worldToUser = AcGeMatrix3d::alignCoordSys(
        system.origin, system.xAxis, system.yAxis, system.zAxis(), AcGePoint3d::kOrigin, AcGeVector3d::kXAxis,
        AcGeVector3d::kYAxis, AcGeVector3d::kZAxis);
    const double low[2] = {std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y)};
    const double high[2] = {std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y)};
    std::vector<AcDbObjectId> inside;
    forEachEntityOfSpace(database, space, [&](AcDbObjectId id, const AcDbEntity& entity) {
        const std::unique_ptr<AcDbEntity> copy(entity.clone());
        if (copy != nullptr && copy->transformBy(worldToUser) == Acad::eOk &&
            liesInWindow(database, *copy, low, high, crossing)) {
            inside.push_back(id);
        }
    });
    return filtered(database, inside, filter);
}

void setPickAperture(double drawingUnits) {
    pickAperture = drawingUnits > 0.0 ? drawingUnits : 0.0;
}

AcDbObjectId pickEntity(const AcDbDatabase& database, AcDbObjectId space, const AcGePoint3d& point) {
    const double tolerance = pickTolerance(database, space);
    AcDbObjectId best;
    double bestDistance = tolerance;
    forEachEntityOfSpace(database, space, [&](AcDbObjectId id, const AcDbEntity& entity) {
        const std::optional<double> distance = pickDistance(database, entity, point);
        // Later entities lie on top, so at equal distance the later one wins.
        if (distance && *distance <= bestDistance) {
            bestDistance = *distance;
            best = id;
        }
    });
    return best;
}

AcDbObjectId lastEntity(const AcDbDatabase& database, AcDbObjectId space) {
    AcDbObjectId last;
    forEachEntityOfSpace(database, space, [&last](AcDbObjectId id, const AcDbEntity&) { last = id; });
    return last;
}

AcDbObjectId entityByHandleText(const AcDbDatabase& database, std::wstring_view text) {
    AcDbHandle handle;
    if (!AcDbHandle::parseHex(text, handle)) {
        return {};
    }
    const AcDbObjectId id = database.objectIdOf(handle);
    if (id.isNull() || id.isErased() || peekEntity(database, id) == nullptr) {
        return {};
    }
    return id;
}

std::optional<std::vector<AcDbObjectId>> promptForObjects(EditorState& editor,
                                                          const SelectionFilter& filter) {
    const AcDbDatabase& database = *editor.database;
    const AcDbObjectId space = database.currentSpaceId();
    std::vector<AcDbObjectId> selection;
    bool removing = false;
    while (true) {
        const wchar_t* const promptText = removing ? L"Remove objects: " : L"Select objects: ";
        std::vector<AcDbObjectId> found;
        if (std::optional<std::vector<AcDbObjectId>> given = commandLine().takeObjects(promptText)) {
            found = filtered(database, *given, filter);
            addOrRemove(selection, found, removing);
            continue;
        }
        const PromptAnswer answer = prompt(promptText);
        if (answer.kind == PromptAnswer::Kind::Cancel) {
            return std::nullopt;
        }
        if (answer.kind == PromptAnswer::Kind::Enter) {
            return selection;
        }
        // A leading "_" asks for the language-independent keyword.
        std::wstring word = platform::toUpperAscii(answer.text);
        if (word.size() > 1 && word.front() == L'_') {
            word.erase(0, 1);
        }
        ads_point point = {0.0, 0.0, 0.0};
        if (word == L"ALL") {
            std::vector<AcDbObjectId> all;
            forEachEntityOfSpace(database, space,
                                 [&all](AcDbObjectId id, const AcDbEntity&) { all.push_back(id); });
            found = filtered(database, all, filter);
        } else if (word == L"W" || word == L"C") {
            AcGePoint3d corner1;
            AcGePoint3d corner2;
            if (!promptPoint(L"Specify first corner: ", corner1) ||
                !promptPoint(L"Specify opposite corner: ", corner2)) {
                return std::nullopt;
            }
            found = selectUserWindow(database, space, corner1, corner2, word == L"C", filter);
        } else if (word == L"P") {
            found = filtered(database, editor.previous, filter);
        } else if (word == L"L") {
            const AcDbObjectId last = lastEntity(database, space);
            if (!last.isNull()) {
                found = filtered(database, {last}, filter);
            }
        } else if (word == L"R") {
            removing = true;
            continue;
        } else if (word == L"A") {
            removing = false;
            continue;
        } else if (parsePoint(answer.text, point)) {
            const AcDbObjectId picked = pickEntity(database, space, userToWorld(point));
            if (picked.isNull()) {
                commandLine().write(L"0 found\n");
                continue;
            }
            found = filtered(database, {picked}, filter);
        } else if (const AcDbObjectId byHandle = entityByHandleText(database, answer.text);
                   !byHandle.isNull()) {
            found = filtered(database, {byHandle}, filter);
        } else {
            commandLine().write(L"*Invalid selection*\nExpects a point or ALL/Window/Crossing/Previous/Last/"
                                L"Add/Remove or a handle\n");
            continue;
        }
        addOrRemove(selection, filtered(database, withTheirGroups(database, space, found), filter), removing);
    }
}

} // namespace cad::ed

namespace {

using cad::ed::EditorState;
using cad::ed::SelectionSets;

// Membership of the sets that acedSSAdd and acedSSDel work on, built the first time one of them touches
// a set: growing or emptying a large set one entity at a time then stays linear, as on the host.
class MemberIndex {
public:
    static MemberIndex& instance() {
        static MemberIndex index;
        return index;
    }
    std::unordered_set<AcDbObjectId>& of(std::int64_t serial, const std::vector<AcDbObjectId>& members) {
        auto [entry, created] = m_sets.try_emplace(serial);
        if (created) {
            entry->second.insert(members.begin(), members.end());
        }
        return entry->second;
    }
    void forget(std::int64_t serial) { m_sets.erase(serial); }

private:
    std::unordered_map<std::int64_t, std::unordered_set<AcDbObjectId>> m_sets;
};

std::wstring normalisedMode(const ACHAR* mode) {
    std::wstring text = mode != nullptr ? platform::toUpperAscii(mode) : std::wstring();
    // "_X" is the language-independent spelling of "X".
    if (!text.empty() && text.front() == L'_') {
        text.erase(0, 1);
    }
    return text;
}

} // namespace

int acedSSGet(const ACHAR* mode, const void* point1, const void* point2, const resbuf* filter, ads_name set) {
    if (set == nullptr) {
        return RTERROR;
    }
    set[0] = 0;
    set[1] = 0;
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr || editor->database == nullptr) {
        return RTERROR;
    }
    cad::ed::FilterError filterError;
    const std::optional<cad::ed::SelectionFilter> compiled =
        cad::ed::SelectionFilter::compile(filter, &filterError);
    if (!compiled) {
        cad::ed::commandLine().write(platform::formatWide(L"ssget: invalid filter list at item %d: %s\n",
                                                          filterError.itemIndex + 1,
                                                          filterError.message.c_str()));
        return RTERROR;
    }
    const AcDbDatabase& database = *editor->database;
    const AcDbObjectId space = database.currentSpaceId();
    const std::wstring word = normalisedMode(mode);
    std::vector<AcDbObjectId> members;
    std::optional<std::vector<AcDbObjectId>> implied =
        word.empty() ? cad::ed::takePickFirst(*editor) : std::nullopt;
    if (implied) {
        members = cad::ed::filtered(database, *implied, *compiled);
    } else if (word.empty()) {
        std::optional<std::vector<AcDbObjectId>> chosen = cad::ed::promptForObjects(*editor, *compiled);
        if (!chosen) {
            return RTCAN;
        }
        members = std::move(*chosen);
    } else if (word == L"I") {
        members = cad::ed::filtered(database, editor->pickFirst, *compiled);
    } else if (word == L"X") {
        members = cad::ed::selectAll(database, *compiled);
    } else if (word == L"W" || word == L"C") {
        if (point1 == nullptr || point2 == nullptr) {
            return RTERROR;
        }
        members =
            cad::ed::selectUserWindow(database, space, asPnt3d(static_cast<const double*>(point1)),
                                      asPnt3d(static_cast<const double*>(point2)), word == L"C", *compiled);
    } else if (word == L"P") {
        members = cad::ed::filtered(database, editor->previous, *compiled);
    } else if (word == L"L") {
        const AcDbObjectId last = cad::ed::lastEntity(database, space);
        if (!last.isNull()) {
            members = cad::ed::filtered(database, {last}, *compiled);
        }
    } else {
        return RTERROR;
    }
    if (members.empty()) {
        return RTERROR;
    }
    editor->previous = members;
    return SelectionSets::instance().create(std::move(members), set) ? RTNORM : RTERROR;
}

int acedSSFree(const ads_name set) {
    if (set != nullptr) {
        MemberIndex::instance().forget(set[0]);
    }
    return SelectionSets::instance().release(set) ? RTNORM : RTERROR;
}

int acedSSLength(const ads_name set, std::int32_t* length) {
    const std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    if (members == nullptr || length == nullptr) {
        return RTERROR;
    }
    *length = static_cast<std::int32_t>(members->size());
    return RTNORM;
}

int acedSSName(const ads_name set, std::int32_t index, ads_name entity) {
    const std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    if (members == nullptr || entity == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= members->size()) {
        return RTERROR;
    }
    acdbGetAdsName(entity, (*members)[static_cast<std::size_t>(index)]);
    return RTNORM;
}

int acedSSAdd(const ads_name entity, const ads_name set, ads_name result) {
    if (result == nullptr) {
        return RTERROR;
    }
    const AcDbObjectId id = entity != nullptr ? cad::ed::objectIdOfName(entity) : AcDbObjectId();
    const bool known = !id.isNull() && id.database() != nullptr &&
                       AcDbEntity::cast(id.database()->peekObject(id)) != nullptr;
    if (entity != nullptr && (!known || id.isErased())) {
        return RTERROR;
    }
    if (set == nullptr) {
        std::vector<AcDbObjectId> members;
        if (!id.isNull()) {
            members.push_back(id);
        }
        return SelectionSets::instance().create(std::move(members), result) ? RTNORM : RTERROR;
    }
    std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    if (members == nullptr) {
        return RTERROR;
    }
    if (!id.isNull() && MemberIndex::instance().of(set[0], *members).insert(id).second) {
        members->push_back(id);
    }
    if (result != set) {
        result[0] = set[0];
        result[1] = set[1];
    }
    return RTNORM;
}

int acedSSDel(const ads_name entity, const ads_name set) {
    std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    const AcDbObjectId id = entity != nullptr ? cad::ed::objectIdOfName(entity) : AcDbObjectId();
    if (members == nullptr || id.isNull() || MemberIndex::instance().of(set[0], *members).erase(id) == 0) {
        return RTERROR;
    }
    if (members->back() == id) {
        members->pop_back();
    } else {
        std::erase(*members, id);
    }
    return RTNORM;
}

int acedSSMemb(const ads_name entity, const ads_name set) {
    const std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    const AcDbObjectId id = entity != nullptr ? cad::ed::objectIdOfName(entity) : AcDbObjectId();
    if (members == nullptr || id.isNull()) {
        return RTERROR;
    }
    return std::find(members->begin(), members->end(), id) != members->end() ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name pickFirst, const ads_name) {
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr) {
        return RTERROR;
    }
    if (pickFirst == nullptr) {
        cad::ed::dropPickFirst(*editor);
        return RTNORM;
    }
    const std::vector<AcDbObjectId>* members = SelectionSets::instance().find(pickFirst);
    if (members == nullptr) {
        return RTERROR;
    }
    // The host grips what it selects: both sets are the same objects.
    editor->pickFirst = *members;
    std::erase_if(editor->pickFirst, [](const AcDbObjectId& id) { return id.isErased(); });
    editor->gripped = editor->pickFirst;
    return RTNORM;
}

int acedSSGetFirst(resbuf** gripped, resbuf** pickFirst) {
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr) {
        return RTERROR;
    }
    // The first set is nil: the host grips nothing it has not selected.
    if (gripped != nullptr) {
        *gripped = acutNewRb(RTNIL);
    }
    if (pickFirst != nullptr) {
        std::vector<AcDbObjectId> members = editor->pickFirst;
        std::erase_if(members, [](const AcDbObjectId& id) { return id.isErased(); });
        *pickFirst = acutNewRb(RTPICKS);
        if (members.empty() ||
            !SelectionSets::instance().create(std::move(members), (*pickFirst)->resval.rlname)) {
            (*pickFirst)->restype = RTNIL;
        }
    }
    return RTNORM;
}

int acedEntSel(const ACHAR* promptText, ads_name entity, ads_point point) {
    const cad::ed::InputRules rules = cad::ed::takeInputRules();
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr || editor->database == nullptr || entity == nullptr) {
        return RTERROR;
    }
    const std::wstring text = promptText != nullptr ? promptText : L"Select object: ";
    const AcDbDatabase& database = *editor->database;
    AcDbObjectId id;
    ads_point typed = {0.0, 0.0, 0.0};
    if (std::optional<std::vector<AcDbObjectId>> given = cad::ed::commandLine().takeObjects(text)) {
        id = given->empty() ? AcDbObjectId() : given->front();
    } else {
        const cad::ed::PromptAnswer answer = cad::ed::prompt(text);
        if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
            return RTCAN;
        }
        if (answer.kind == cad::ed::PromptAnswer::Kind::Enter) {
            cad::ed::setErrorNumber(52);
            return RTERROR;
        }
        if (const std::optional<std::wstring> keyword = rules.keywordOf(answer.text)) {
            cad::ed::setLastKeyword(*keyword);
            return RTKWORD;
        }
        // The point is typed in the current user system; the pick happens in the world.
        if (cad::ed::parsePoint(answer.text, typed)) {
            id = cad::ed::pickEntity(database, database.currentSpaceId(), cad::ed::userToWorld(typed));
        } else {
            id = cad::ed::entityByHandleText(database, answer.text);
        }
    }
    if (id.isNull()) {
        cad::ed::setErrorNumber(7);
        return RTERROR;
    }
    acdbGetAdsName(entity, id);
    if (point != nullptr) {
        ads_point_set(typed, point);
    }
    return RTNORM;
}
