// Layouts from the layout dictionary, with the model and paper spaces as fallbacks for old drawings.

#include "cad/ed/layouts.h"

#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "platform/wide_text.h"

#include <algorithm>

namespace cad::ed {

std::vector<LayoutSpace> layoutSpaces(const AcDbDatabase& database) {
    std::vector<LayoutSpace> layouts;
    const AcDbDictionary* dictionary =
        AcDbDictionary::cast(database.peekObject(database.layoutDictionaryId()));
    if (dictionary != nullptr) {
        for (const AcDbDictionaryEntry& entry : dictionary->entries()) {
            const AcDbLayout* layout =
                AcDbLayout::cast(database.peekObject(database.objectIdOf(entry.handle())));
            if (layout == nullptr) {
                continue;
            }
            LayoutSpace space{layout->layoutName(), layout->getBlockTableRecordId(), layout->getTabOrder()};
            if (space.space == database.modelSpaceId()) {
                space.name = L"Model";
                space.tabOrder = -1;
            }
            layouts.push_back(std::move(space));
        }
    }
    const auto hasSpace = [&layouts](AcDbObjectId id) {
        return std::any_of(layouts.begin(), layouts.end(),
                           [id](const LayoutSpace& layout) { return layout.space == id; });
    };
    if (!hasSpace(database.modelSpaceId())) {
        layouts.push_back({L"Model", database.modelSpaceId(), -1});
    }
    if (!database.paperSpaceId().isNull() && !hasSpace(database.paperSpaceId())) {
        layouts.push_back({L"Layout1", database.paperSpaceId(), 1});
    }
    std::stable_sort(layouts.begin(), layouts.end(), [](const LayoutSpace& left, const LayoutSpace& right) {
        return left.tabOrder < right.tabOrder;
    });
    return layouts;
}

std::wstring layoutNameOfSpace(const AcDbDatabase& database, AcDbObjectId space) {
    for (const LayoutSpace& layout : layoutSpaces(database)) {
        if (layout.space == space) {
            return layout.name;
        }
    }
    return {};
}

AcDbObjectId spaceOfLayout(const AcDbDatabase& database, std::wstring_view name) {
    const std::wstring wanted = platform::toUpperAscii(name);
    for (const LayoutSpace& layout : layoutSpaces(database)) {
        if (platform::toUpperAscii(layout.name) == wanted) {
            return layout.space;
        }
    }
    return {};
}

} // namespace cad::ed
