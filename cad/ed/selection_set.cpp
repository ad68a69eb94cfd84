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
#include "cad/ed/window_crossing.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <cmath>

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

double pickAperture = 0.0;

double pickTolerance(const AcDbDatabase& database, AcDbObjectId space) {
    if (pickAperture > 0.0) {
        return pickAperture;
    }
    // No screen, so no pick box in pixels: a thousandth of the space's size stands in for it.
    double minimum[2] = {0.0, 0.0};
    double maximum[2] = {0.0, 0.0};
    bool any = false;
    forEachEntityOfSpace(database, space, [&](AcDbObjectId, const AcDbEntity& entity) {
        const std::optional<Box> box = entityBox(database, entity);
        if (!box) {
            return;
        }
        for (int axis = 0; axis < 2; ++axis) {
            minimum[axis] = any ? std::min(minimum[axis], box->minimum[axis]) : box->minimum[axis];
            maximum[axis] = any ? std::max(maximum[axis], box->maximum[axis]) : box->maximum[axis];
        }
        any = true;
    });
    const double size = std::hypot(maximum[0] - minimum[0], maximum[1] - minimum[1]);
    return std::max(1e-6, size * 1e-3);
}

bool promptPoint(const wchar_t* text, double point[3]) {
    while (true) {
        const PromptAnswer answer = prompt(text);
        if (answer.kind != PromptAnswer::Kind::Text) {
            return false;
        }
        if (parsePoint(answer.text, point)) {
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

void SelectionSets::create(std::vector<AcDbObjectId> members, ads_name name) {
    name[0] = m_nextSerial++;
    name[1] = kSelectionSetTag;
    m_sets.emplace_back(name[0], std::move(members));
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
    for (const AcDbObjectId& recordId : database.blockRecordIds()) {
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

std::vector<AcDbObjectId> selectWindow(const AcDbDatabase& database, AcDbObjectId space,
                                       const double corner1[3], const double corner2[3], bool crossing,
                                       const SelectionFilter& filter) {
    const double low[2] = {std::min(corner1[0], corner2[0]), std::min(corner1[1], corner2[1])};
    const double high[2] = {std::max(corner1[0], corner2[0]), std::max(corner1[1], corner2[1])};
    std::vector<AcDbObjectId> inside;
    forEachEntityOfSpace(database, space, [&](AcDbObjectId id, const AcDbEntity& entity) {
        const std::optional<Box> box = entityBox(database, entity);
        if (!box) {
            return;
        }
        const bool contained = box->minimum[0] >= low[0] && box->maximum[0] <= high[0] &&
                               box->minimum[1] >= low[1] && box->maximum[1] <= high[1];
        const bool overlapping = box->minimum[0] <= high[0] && box->maximum[0] >= low[0] &&
                                 box->minimum[1] <= high[1] && box->maximum[1] >= low[1];
        bool selected = crossing ? overlapping : contained;
        // A box that only overlaps the window says nothing certain: the curve itself decides where
        // its kind allows.
        if (crossing && overlapping && !contained) {
            if (const std::optional<bool> touches = touchesWindow(entity, low, high))
                selected = *touches;
        }
        if (selected) {
            inside.push_back(id);
        }
    });
    return filtered(database, inside, filter);
}

void setPickAperture(double drawingUnits) {
    pickAperture = drawingUnits > 0.0 ? drawingUnits : 0.0;
}

AcDbObjectId pickEntity(const AcDbDatabase& database, AcDbObjectId space, const double point[3]) {
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
    if (text.empty() || text.size() > 16) {
        return {};
    }
    std::uint64_t value = 0;
    for (wchar_t character : text) {
        int digit = -1;
        if (character >= L'0' && character <= L'9') {
            digit = character - L'0';
        } else if (character >= L'A' && character <= L'F') {
            digit = character - L'A' + 10;
        } else if (character >= L'a' && character <= L'f') {
            digit = character - L'a' + 10;
        }
        if (digit < 0) {
            return {};
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    const AcDbObjectId id = database.objectIdOf(AcDbHandle(value));
    if (id.isNull() || id.isErased() || peekEntity(database, id) == nullptr) {
        return {};
    }
    return id;
}

std::optional<std::vector<AcDbObjectId>> promptForObjects(EditorState& editor,
                                                          const SelectionFilter& filter) {
    const AcDbDatabase& database = *editor.database;
    const AcDbObjectId space = currentSpaceOf(editor);
    std::vector<AcDbObjectId> selection;
    bool removing = false;
    while (true) {
        const PromptAnswer answer = prompt(removing ? L"Remove objects: " : L"Select objects: ");
        if (answer.kind == PromptAnswer::Kind::Cancel) {
            return std::nullopt;
        }
        if (answer.kind == PromptAnswer::Kind::Enter) {
            return selection;
        }
        const std::wstring word = platform::toUpperAscii(answer.text);
        std::vector<AcDbObjectId> found;
        double point[3] = {0.0, 0.0, 0.0};
        if (word == L"ALL") {
            std::vector<AcDbObjectId> all;
            forEachEntityOfSpace(database, space,
                                 [&all](AcDbObjectId id, const AcDbEntity&) { all.push_back(id); });
            found = filtered(database, all, filter);
        } else if (word == L"W" || word == L"C") {
            double corner1[3] = {0.0, 0.0, 0.0};
            double corner2[3] = {0.0, 0.0, 0.0};
            if (!promptPoint(L"Specify first corner: ", corner1) ||
                !promptPoint(L"Specify opposite corner: ", corner2)) {
                return std::nullopt;
            }
            found = selectWindow(database, space, corner1, corner2, word == L"C", filter);
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
            const AcDbObjectId picked = pickEntity(database, space, point);
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
}

} // namespace cad::ed

namespace {

using cad::ed::EditorState;
using cad::ed::SelectionSets;

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
    const AcDbObjectId space = cad::ed::currentSpaceOf(*editor);
    const std::wstring word = normalisedMode(mode);
    std::vector<AcDbObjectId> members;
    if (word.empty() && editor->commandUsesPickFirst && !editor->pickFirst.empty()) {
        // The implied selection of a pick-first command: used once, then the grips go.
        members = cad::ed::filtered(database, editor->pickFirst, *compiled);
        editor->commandUsesPickFirst = false;
        editor->pickFirst.clear();
        editor->gripped.clear();
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
        members = cad::ed::selectWindow(database, space, static_cast<const double*>(point1),
                                        static_cast<const double*>(point2), word == L"C", *compiled);
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
    SelectionSets::instance().create(std::move(members), set);
    return RTNORM;
}

int acedSSFree(const ads_name set) {
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
    if (entity != nullptr && id.isNull()) {
        return RTERROR;
    }
    if (set == nullptr) {
        std::vector<AcDbObjectId> members;
        if (!id.isNull()) {
            members.push_back(id);
        }
        SelectionSets::instance().create(std::move(members), result);
        return RTNORM;
    }
    std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    if (members == nullptr) {
        return RTERROR;
    }
    if (!id.isNull() && std::find(members->begin(), members->end(), id) == members->end()) {
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
    if (members == nullptr || id.isNull()) {
        return RTERROR;
    }
    return std::erase(*members, id) > 0 ? RTNORM : RTERROR;
}

int acedSSMemb(const ads_name entity, const ads_name set) {
    const std::vector<AcDbObjectId>* members = SelectionSets::instance().find(set);
    const AcDbObjectId id = entity != nullptr ? cad::ed::objectIdOfName(entity) : AcDbObjectId();
    if (members == nullptr || id.isNull()) {
        return RTERROR;
    }
    return std::find(members->begin(), members->end(), id) != members->end() ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name gripped, const ads_name pickFirst) {
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr) {
        return RTERROR;
    }
    const std::vector<AcDbObjectId>* grippedMembers =
        gripped != nullptr ? SelectionSets::instance().find(gripped) : nullptr;
    const std::vector<AcDbObjectId>* pickMembers =
        pickFirst != nullptr ? SelectionSets::instance().find(pickFirst) : nullptr;
    if ((gripped != nullptr && grippedMembers == nullptr) ||
        (pickFirst != nullptr && pickMembers == nullptr)) {
        return RTERROR;
    }
    editor->gripped = grippedMembers != nullptr ? *grippedMembers : std::vector<AcDbObjectId>();
    editor->pickFirst = pickMembers != nullptr ? *pickMembers : std::vector<AcDbObjectId>();
    return RTNORM;
}

int acedSSGetFirst(resbuf** gripped, resbuf** pickFirst) {
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr) {
        return RTERROR;
    }
    const auto makeSetBuffer = [](const std::vector<AcDbObjectId>& members) {
        resbuf* buffer = acutNewRb(RTPICKS);
        SelectionSets::instance().create(members, buffer->resval.rlname);
        return buffer;
    };
    if (gripped != nullptr) {
        *gripped = makeSetBuffer(editor->gripped);
    }
    if (pickFirst != nullptr) {
        *pickFirst = makeSetBuffer(editor->pickFirst);
    }
    return RTNORM;
}

int acedEntSel(const ACHAR* promptText, ads_name entity, ads_point point) {
    EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr || editor->database == nullptr || entity == nullptr) {
        return RTERROR;
    }
    const cad::ed::PromptAnswer answer =
        cad::ed::prompt(promptText != nullptr ? promptText : L"Select object: ");
    if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
        return RTCAN;
    }
    if (answer.kind == cad::ed::PromptAnswer::Kind::Enter) {
        return RTERROR;
    }
    const AcDbDatabase& database = *editor->database;
    const AcDbObjectId space = cad::ed::currentSpaceOf(*editor);
    double picked[3] = {0.0, 0.0, 0.0};
    AcDbObjectId id;
    if (cad::ed::parsePoint(answer.text, picked)) {
        id = cad::ed::pickEntity(database, space, picked);
    } else {
        id = cad::ed::entityByHandleText(database, answer.text);
    }
    if (id.isNull()) {
        cad::ed::commandLine().write(L"Nothing selected.\n");
        return RTERROR;
    }
    acdbGetAdsName(entity, id);
    if (point != nullptr) {
        point[0] = picked[0];
        point[1] = picked[1];
        point[2] = picked[2];
    }
    return RTNORM;
}
