// The JSON form of a definition file that quelto-dom prints and reads: the software, its notes, the
// entity classes and their properties with the computed ids. Reading checks every field and refuses a
// description that would give a file whose properties cannot be used, naming the field and the reason.
#pragma once

#include "quelto/customentity/freedom_entity_file.h"

#include <nlohmann/json.hpp>
#include <string>

namespace quelto::dom {

nlohmann::ordered_json toJson(const CFreedomEntityFile& file);

// Fills `file` from the description; false with `error` ("entities[0].properties[2].kind: ...") when a
// field is missing, of the wrong type, unknown, or would make an unusable property.
bool fromJson(const nlohmann::json& description, CFreedomEntityFile& file, std::string& error);

} // namespace quelto::dom
