// The checks behind every refusal of quelto-dom. A property is usable only with a known kind, a group code
// that has an id and holds a value of the kind's form, and items (short integers only) written
// value=text with a 16-bit value. Within a class no two properties may share an id, since a criterion
// names a property by id and the registry answers with the first one; no two classes may share a DXF
// class name, since the registry only ever uses the later one.

#include "quelto_dom_check.h"

#include "platform/code_page.h"
#include "platform/wide_text.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <cwctype>
#include <limits>

namespace quelto::dom {
namespace {

const char* const kIndNames[] = {"", "3D point", "2D point", "real", "short integer", "long integer", "text"};

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

std::string utf8(const CString& text) {
    return platform::wideToUtf8(text);
}

std::optional<Problem> problem(std::string field, std::string reason) {
    return Problem{-1, -1, std::move(field), std::move(reason)};
}

// The stored value of an item ("1=红" stores 1) when the item is written value=text with a 16-bit value.
std::optional<int> itemValue(const CString& item) {
    const std::size_t separator = item.find(L'=');
    if (separator == CString::npos || separator == 0 || separator + 1 == item.size()) {
        return std::nullopt;
    }
    const CString value = item.substr(0, separator);
    const int number = _wtoi(value);
    if (platform::formatWide(L"%d", number) != value) {
        return std::nullopt;
    }
    return number;
}

std::optional<Problem> checkItems(const CFreedomProp& prop) {
    for (std::size_t index = 0; index < prop.items.size(); ++index) {
        const std::string field = "items[" + std::to_string(index) + "]";
        const std::optional<int> value = itemValue(prop.items[index]);
        if (!value) {
            return problem(field, "must be written value=text with an integer value, as 1=red");
        }
        if (*value < std::numeric_limits<std::int16_t>::min() ||
            *value > std::numeric_limits<std::int16_t>::max()) {
            return problem(field,
                           "value " + std::to_string(*value) +
                               " does not fit the 16-bit integer the entity stores, so it never matches");
        }
        const CString shown = prop.items[index].substr(prop.items[index].find(L'=') + 1);
        for (std::size_t earlier = 0; earlier < index; ++earlier) {
            if (prop.items[earlier].substr(prop.items[earlier].find(L'=') + 1) == shown) {
                return problem(field, "shows the same text as item " + std::to_string(earlier + 1) +
                                          ", so a criterion could never choose it");
            }
        }
    }
    if (!prop.items.empty() && prop.kind != CFreedomProp::Short) {
        return problem("items", "are only for kind 4 (short integer): other kinds get no usable id");
    }
    return std::nullopt;
}

bool isOneWord(const CString& text) {
    for (const wchar_t character : text) {
        if (std::iswspace(static_cast<wint_t>(character))) {
            return false;
        }
    }
    return !text.empty();
}

std::string describeProperty(const CFreedomProp& prop, std::size_t index) {
    return prop.name.empty() ? "property " + std::to_string(index + 1) : utf8(prop.name);
}

// A property against the earlier ones of its class: the ids each covers (three for a 3D point) may not
// meet, or a criterion on the later one would read the earlier one.
std::optional<Problem> checkAgainstEarlier(const CFreedomEntity& entity, std::size_t index) {
    const CFreedomProp& prop = entity.props[index];
    const int first = computedId(prop);
    const int last = first + prop.GetSlotCount() - 1;
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
        const CFreedomProp& other = entity.props[earlier];
        const int otherFirst = computedId(other);
        const int otherLast = otherFirst + other.GetSlotCount() - 1;
        if (first <= otherLast && otherFirst <= last) {
            return problem("groupCode", "group code " + std::to_string(prop.groupCode) + " gives id " +
                                            std::to_string(first) + ", which " +
                                            describeProperty(other, earlier) + " (group code " +
                                            std::to_string(other.groupCode) +
                                            ") already covers; a criterion would always read that one");
        }
    }
    return std::nullopt;
}

std::optional<Problem> checkEntity(const CFreedomEntityFile& file, std::size_t index) {
    const CFreedomEntity& entity = file.entities[index];
    if (entity.displayName.empty()) {
        return problem("name", "must not be empty: it is what the type list shows");
    }
    if (entity.className.empty()) {
        return problem("className", "must name the DXF type of the entities (group 0)");
    }
    if (!isOneWord(entity.className)) {
        return problem("className", "must be one word, as DXF type names in group 0 are");
    }
    for (std::size_t prop = 0; prop < entity.props.size(); ++prop) {
        std::optional<Problem> found = checkProperty(entity.props[prop]);
        if (!found) {
            found = checkAgainstEarlier(entity, prop);
        }
        if (found) {
            found->property = static_cast<int>(prop);
            return found;
        }
    }
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
        if (file.entities[earlier].className == entity.className) {
            return problem("className", utf8(entity.className) + " is also the class of " +
                                            utf8(file.entities[earlier].displayName) + " (class " +
                                            std::to_string(earlier + 1) +
                                            "); the module would only ever use the later definition");
        }
    }
    return std::nullopt;
}

} // namespace

int computedId(const CFreedomProp& prop) {
    CFreedomProp loaded = prop;
    loaded.id = 0;
    loaded.ComputeId();
    return loaded.id;
}

std::optional<Problem> checkProperty(const CFreedomProp& prop) {
    if (prop.name.empty()) {
        return problem("name", "must not be empty: it is what the criteria show");
    }
    if (prop.kind < CFreedomProp::Point3d || prop.kind > CFreedomProp::Text) {
        return problem("kind", "must be 1 (3D point), 2 (2D point), 3 (real), 4 (short integer), "
                               "5 (long integer) or 6 (text), not " +
                                   std::to_string(prop.kind));
    }
    if (std::optional<Problem> found = checkItems(prop)) {
        return found;
    }
    const int id = computedId(prop);
    if (id == 0 || id == 3000) {
        return problem("groupCode", "group code " + std::to_string(prop.groupCode) +
                                        " has no property id, so no criterion could name it");
    }
    const int resultType = CFreedomEntityMangage::ExpectedResultType(prop.groupCode);
    if (resultType != prop.GetResultType()) {
        return problem("groupCode", "group code " + std::to_string(prop.groupCode) + " holds " +
                                        resultTypeName(resultType) + ", which a property of kind " +
                                        std::to_string(prop.kind) + " (" + kIndNames[prop.kind] +
                                        ") cannot read");
    }
    return std::nullopt;
}

std::optional<Problem> checkFile(const CFreedomEntityFile& file) {
    if (file.softName.empty() && !file.entities.empty()) {
        return problem("software", "must not be empty: the type list shows it before each class");
    }
    for (std::size_t index = 0; index < file.entities.size(); ++index) {
        if (std::optional<Problem> found = checkEntity(file, index)) {
            found->entity = static_cast<int>(index);
            return found;
        }
    }
    return std::nullopt;
}

} // namespace quelto::dom
