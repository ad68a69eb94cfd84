#include "cad/ed/group_selection.h"

#include "cad/db/dictionary.h"
#include "cad/ed/system_variables.h"

#include <algorithm>
#include <unordered_set>

namespace cad::ed {

std::vector<AcDbObjectId> withTheirGroups(const AcDbDatabase& database, AcDbObjectId space,
                                          const std::vector<AcDbObjectId>& ids) {
    VariableValue pickStyle;
    if (ids.empty() || !SystemVariables::instance().getValue(L"PICKSTYLE", pickStyle) ||
        (pickStyle.integer & 1) == 0) {
        return ids;
    }
    const auto* groups = AcDbDictionary::cast(database.peekObject(database.groupDictionaryId()));
    if (groups == nullptr) {
        return ids;
    }
    const std::unordered_set<AcDbObjectId> picked(ids.begin(), ids.end());
    std::unordered_set<AcDbObjectId> chosen = picked;
    std::vector<AcDbObjectId> result = ids;
    for (const AcDbDictionaryEntry& entry : groups->entries()) {
        const auto* group = AcDbGroup::cast(database.peekObject(database.objectIdOf(entry.handle())));
        if (group == nullptr || !group->isSelectable()) {
            continue;
        }
        AcDbObjectIdArray members;
        group->allEntityIds(members);
        const bool touched = std::any_of(members.begin(), members.end(),
                                         [&](const AcDbObjectId& id) { return picked.contains(id); });
        if (!touched) {
            continue;
        }
        for (const AcDbObjectId& member : members) {
            const AcDbObject* object = database.peekObject(member);
            if (object != nullptr && object->ownerId() == space && chosen.insert(member).second) {
                result.push_back(member);
            }
        }
    }
    return result;
}

} // namespace cad::ed
