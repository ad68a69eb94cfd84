// Conversion between definition files and their JSON description. Texts are UTF-8 in JSON and wide in
// the records. Reading checks the form of every field here and then refuses, with the same checks as the
// window, a description that would give a file the module cannot use or would misread.

#include "quelto_dom_json.h"

#include "platform/code_page.h"
#include "quelto_dom_check.h"

#include <limits>
#include <optional>
#include <set>

namespace quelto::dom {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// Thrown inside the reader only, with the path of the offending field; caught in fromJson.
struct Refusal {
    std::string field;
    std::string reason;
};

// The problem's field as a path into the description, as the reader names fields.
std::string fieldPath(const Problem& problem) {
    std::string path;
    if (problem.entity >= 0) {
        path += "entities[" + std::to_string(problem.entity) + "].";
    }
    if (problem.property >= 0) {
        path += "properties[" + std::to_string(problem.property) + "].";
    }
    return path + problem.field;
}

std::string utf8(const CString& text) {
    return platform::wideToUtf8(text);
}

void requireOnly(const json& object, const std::string& field, std::initializer_list<const char*> known) {
    if (!object.is_object()) {
        throw Refusal{field, "must be an object"};
    }
    const std::set<std::string> names(known.begin(), known.end());
    for (const auto& item : object.items()) {
        if (names.count(item.key()) == 0) {
            throw Refusal{field + "." + item.key(), "is not a field of this description"};
        }
    }
}

const json& member(const json& object, const std::string& field, const char* name, bool required) {
    static const json kAbsent;
    const auto found = object.find(name);
    if (found == object.end()) {
        if (required) {
            throw Refusal{field + "." + name, "is missing"};
        }
        return kAbsent;
    }
    return *found;
}

CString text(const json& object, const std::string& field, const char* name, bool required = false) {
    const json& value = member(object, field, name, required);
    if (value.is_null()) {
        return {};
    }
    if (!value.is_string()) {
        throw Refusal{field + "." + name, "must be a text"};
    }
    return platform::utf8ToWide(value.get<std::string>());
}

int integer(const json& object, const std::string& field, const char* name) {
    const json& value = member(object, field, name, true);
    if (!value.is_number_integer() || value.get<std::int64_t>() < std::numeric_limits<std::int32_t>::min() ||
        value.get<std::int64_t>() > std::numeric_limits<std::int32_t>::max()) {
        throw Refusal{field + "." + name, "must be a 32-bit integer"};
    }
    return value.get<int>();
}

// The two notes of a record as a list of at most two texts.
void notes(const json& object, const std::string& field, CString& first, CString& second) {
    const json& value = member(object, field, "notes", false);
    if (value.is_null()) {
        return;
    }
    if (!value.is_array() || value.size() > 2) {
        throw Refusal{field + ".notes", "must be a list of at most two texts"};
    }
    CString* targets[] = {&first, &second};
    for (std::size_t index = 0; index < value.size(); ++index) {
        if (!value[index].is_string()) {
            throw Refusal{field + ".notes[" + std::to_string(index) + "]", "must be a text"};
        }
        *targets[index] = platform::utf8ToWide(value[index].get<std::string>());
    }
}

CFreedomProp readProperty(const json& object, const std::string& field) {
    requireOnly(object, field, {"name", "kind", "groupCode", "items", "notes", "id"});
    CFreedomProp prop;
    prop.name = text(object, field, "name", true);
    prop.kind = integer(object, field, "kind");
    prop.groupCode = integer(object, field, "groupCode");
    const json& items = member(object, field, "items", false);
    if (!items.is_null() && !items.is_array()) {
        throw Refusal{field + ".items", "must be a list of texts"};
    }
    for (std::size_t index = 0; index < items.size(); ++index) {
        if (!items[index].is_string()) {
            throw Refusal{field + ".items[" + std::to_string(index) + "]", "must be a text"};
        }
        prop.items.push_back(platform::utf8ToWide(items[index].get<std::string>()));
    }
    notes(object, field, prop.propNote, prop.propNote2);
    if (const std::optional<Problem> problem = checkProperty(prop)) {
        throw Refusal{field + "." + problem->field, problem->reason};
    }
    prop.ComputeId();
    const json& id = member(object, field, "id", false);
    if (!id.is_null() && (!id.is_number_integer() || id.get<std::int64_t>() != prop.id)) {
        throw Refusal{field + ".id", "is computed from the group code and must be " +
                                         std::to_string(prop.id) + " (or left out)"};
    }
    return prop;
}

CFreedomEntity readEntity(const json& object, const std::string& field) {
    requireOnly(object, field, {"name", "className", "note", "properties"});
    CFreedomEntity entity;
    entity.displayName = text(object, field, "name", true);
    entity.className = text(object, field, "className", true);
    entity.entityNote = text(object, field, "note");
    const json& properties = member(object, field, "properties", false);
    if (!properties.is_null() && !properties.is_array()) {
        throw Refusal{field + ".properties", "must be a list"};
    }
    for (std::size_t index = 0; index < properties.size(); ++index) {
        entity.props.push_back(
            readProperty(properties[index], field + ".properties[" + std::to_string(index) + "]"));
    }
    return entity;
}

} // namespace

ordered_json toJson(const CFreedomEntityFile& file) {
    ordered_json entities = ordered_json::array();
    for (const CFreedomEntity& entity : file.entities) {
        ordered_json properties = ordered_json::array();
        for (const CFreedomProp& prop : entity.props) {
            ordered_json items = ordered_json::array();
            for (const CString& item : prop.items) {
                items.push_back(utf8(item));
            }
            properties.push_back({{"name", utf8(prop.name)},
                                  {"kind", prop.kind},
                                  {"groupCode", prop.groupCode},
                                  {"items", items},
                                  {"notes", ordered_json::array({utf8(prop.propNote), utf8(prop.propNote2)})},
                                  {"id", computedId(prop)}});
        }
        entities.push_back({{"name", utf8(entity.displayName)},
                            {"className", utf8(entity.className)},
                            {"note", utf8(entity.entityNote)},
                            {"properties", properties}});
    }
    return {{"software", utf8(file.softName)},
            {"notes", ordered_json::array({utf8(file.fileNote), utf8(file.fileNote2)})},
            {"entities", entities}};
}

bool fromJson(const json& description, CFreedomEntityFile& file, std::string& error) {
    try {
        requireOnly(description, "description", {"software", "notes", "entities"});
        file = CFreedomEntityFile();
        file.softName = text(description, "description", "software", true);
        notes(description, "description", file.fileNote, file.fileNote2);
        const json& entities = member(description, "description", "entities", true);
        if (!entities.is_array()) {
            throw Refusal{"entities", "must be a list"};
        }
        for (std::size_t index = 0; index < entities.size(); ++index) {
            file.entities.push_back(readEntity(entities[index], "entities[" + std::to_string(index) + "]"));
        }
        if (const std::optional<Problem> problem = checkFile(file)) {
            throw Refusal{fieldPath(*problem), problem->reason};
        }
    } catch (const Refusal& refusal) {
        std::string field = refusal.field;
        if (field.rfind("description.", 0) == 0) {
            field.erase(0, 12);
        }
        error = field + ": " + refusal.reason;
        return false;
    }
    return true;
}

} // namespace quelto::dom
