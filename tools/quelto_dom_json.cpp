// Conversion between definition files and their JSON description. Texts are UTF-8 in JSON and wide in
// the records. A property is accepted only when the module can use it: a known kind, a group code that
// has an id and whose value has the kind's form, and items (only for short integers) written value=text.

#include "quelto_dom_json.h"

#include "platform/code_page.h"
#include "platform/wide_text.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <limits>
#include <set>

namespace quelto::dom {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

const char* const kindNames[] = {"", "3D point", "2D point", "real", "short integer", "long integer", "text"};

const char* resultTypeName(int resultType) {
    switch (resultType) {
    case 5001:
        return "a real";
    case 5003:
        return "a 16-bit integer";
    case 5005:
        return "a text";
    case 5006:
        return "an entity name";
    case 5009:
        return "a 3D point";
    case 5010:
        return "a 32-bit integer";
    default:
        return "no value the module reads";
    }
}

// Thrown inside the reader only, with the path of the offending field; caught in fromJson.
struct Refusal {
    std::string field;
    std::string reason;
};

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
    static const json absent;
    const auto found = object.find(name);
    if (found == object.end()) {
        if (required) {
            throw Refusal{field + "." + name, "is missing"};
        }
        return absent;
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
    if (prop.kind < CFreedomProp::Point3d || prop.kind > CFreedomProp::Text) {
        throw Refusal{field + ".kind", "must be 1 (3D point), 2 (2D point), 3 (real), 4 (short integer), "
                                       "5 (long integer) or 6 (text), not " +
                                           std::to_string(prop.kind)};
    }
    prop.groupCode = integer(object, field, "groupCode");
    const json& items = member(object, field, "items", false);
    if (!items.is_null() && !items.is_array()) {
        throw Refusal{field + ".items", "must be a list of texts"};
    }
    for (std::size_t index = 0; index < items.size(); ++index) {
        const std::string itemField = field + ".items[" + std::to_string(index) + "]";
        if (!items[index].is_string()) {
            throw Refusal{itemField, "must be a text"};
        }
        const CString item = platform::utf8ToWide(items[index].get<std::string>());
        const std::size_t separator = item.find(L'=');
        const CString value = item.substr(0, separator);
        if (separator == CString::npos || value.empty() ||
            platform::formatWide(L"%d", _wtoi(value)) != value) {
            throw Refusal{itemField, "must be written value=text with an integer value, as 1=red"};
        }
        prop.items.push_back(item);
    }
    if (!prop.items.empty() && prop.kind != CFreedomProp::Short) {
        throw Refusal{field + ".items", "are only for kind 4 (short integer): other kinds get no usable id"};
    }
    notes(object, field, prop.propNote, prop.propNote2);

    prop.ComputeId();
    if (prop.id == 0 || prop.id == 3000) {
        throw Refusal{field + ".groupCode", "group code " + std::to_string(prop.groupCode) +
                                                " has no property id, so no criterion could name it"};
    }
    const int resultType = CFreedomEntityMangage::ExpectedResultType(prop.groupCode);
    if (resultType != prop.GetResultType()) {
        throw Refusal{field + ".groupCode", "group code " + std::to_string(prop.groupCode) + " holds " +
                                                resultTypeName(resultType) + ", which a property of kind " +
                                                std::to_string(prop.kind) + " (" + kindNames[prop.kind] +
                                                ") cannot read"};
    }
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
    if (entity.className.empty()) {
        throw Refusal{field + ".className", "must name the DXF type of the entities (group 0)"};
    }
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
        for (CFreedomProp prop : entity.props) {
            prop.ComputeId();
            ordered_json items = ordered_json::array();
            for (const CString& item : prop.items) {
                items.push_back(utf8(item));
            }
            properties.push_back({{"name", utf8(prop.name)},
                                  {"kind", prop.kind},
                                  {"groupCode", prop.groupCode},
                                  {"items", items},
                                  {"notes", ordered_json::array({utf8(prop.propNote), utf8(prop.propNote2)})},
                                  {"id", prop.id}});
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
