// What makes a definition unusable or misread by the module, checked before quelto-dom writes a file: the
// window and the JSON form refuse the same things. A problem names the class and the property by position
// and the field, so each front end can word the place its own way.
#pragma once

#include "quelto/customentity/freedom_entity_file.h"

#include <optional>
#include <string>

namespace quelto::dom {

struct Problem {
    int entity = -1;   // index of the class, -1 for the file's own fields
    int property = -1; // index of the property within the class, -1 for the class's own fields
    std::string field; // as the JSON description names it: "className", "groupCode", "items[2]", ...
    std::string reason;
};

// The first problem of one property, in the order name, kind, items, group code; `entity` and `property`
// are left at -1.
std::optional<Problem> checkProperty(const CFreedomProp& prop);

// The first problem of the file in file order: each class's own fields, then its properties one by one
// (alone, then against the earlier ones of the class), then the class against the earlier classes.
std::optional<Problem> checkFile(const CFreedomEntityFile& file);

// The id the registry gives the property on load.
int computedId(const CFreedomProp& prop);

} // namespace quelto::dom
