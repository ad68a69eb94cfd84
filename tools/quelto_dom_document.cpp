// The edited definition file: opening and saving through CFreedomEntityFile, the refusal of content the
// checks reject, and the small edits the window makes, each of which marks the document modified only
// when it really changes a field (so that opening and saving a file unchanged gives its bytes back).

#include "quelto_dom_document.h"

#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <utility>

namespace quelto::dom {
namespace {

CString trimmed(const CString& text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == CString::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::string fieldLabel(const std::string& field) {
    static const std::pair<const char*, const char*> kLabels[] = {
        {"software", "software name"}, {"name", "name"},  {"className", "class name"}, {"kind", "kind"},
        {"groupCode", "group code"},   {"items", "items"}};
    for (const auto& [name, label] : kLabels) {
        if (field == name) {
            return label;
        }
    }
    // "items[2]" counts from one for a person.
    if (field.rfind("items[", 0) == 0) {
        return "item " + std::to_string(std::stoi(field.substr(6)) + 1);
    }
    return field;
}

} // namespace

std::string describeReadFailure(const std::filesystem::path& path, const CFreedomReadResult& result) {
    const std::string reason = platform::wideToUtf8(result.reason);
    switch (result.status) {
    case CFreedomReadResult::Read:
        return {};
    case CFreedomReadResult::CannotOpen:
        return reason.empty() ? path.string() + ": cannot be opened" : reason;
    case CFreedomReadResult::TooNew:
        return path.string() + ": written by a newer editor (" + reason + "), this one reads version 1";
    case CFreedomReadResult::UnknownDataVersion:
        return path.string() + ": unknown data layout (" + reason + ")";
    case CFreedomReadResult::Damaged:
        return path.string() + ": damaged: " + reason;
    }
    return reason;
}

std::string describeWriteFailure(const std::filesystem::path& path) {
    return path.string() + ": cannot be written (is the folder there and writable?)";
}

std::string describeProblem(const CFreedomEntityFile& file, const Problem& problem) {
    std::string place;
    if (problem.entity >= 0) {
        const CFreedomEntity& entity = file.entities[problem.entity];
        place = "class " + (entity.displayName.empty() ? std::to_string(problem.entity + 1)
                                                       : platform::wideToUtf8(entity.displayName));
        if (!entity.className.empty()) {
            place += " (" + platform::wideToUtf8(entity.className) + ")";
        }
        if (problem.property >= 0) {
            const CFreedomProp& prop = entity.props[problem.property];
            place += ", property " + (prop.name.empty() ? std::to_string(problem.property + 1)
                                                        : platform::wideToUtf8(prop.name));
        }
        place += ", ";
    }
    return place + fieldLabel(problem.field) + ": " + problem.reason;
}

CString joinItems(const CStringArray& items) {
    CString text;
    for (const CString& item : items) {
        text += (text.empty() ? L"" : L"; ") + item;
    }
    return text;
}

CStringArray splitItems(const CString& text) {
    CStringArray items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(L';', start), text.size());
        if (CString item = trimmed(text.substr(start, end - start)); !item.empty()) {
            items.push_back(std::move(item));
        }
        start = end + 1;
    }
    return items;
}

bool DefinitionDocument::open(const std::filesystem::path& path, std::string& error) {
    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadFile(platform::pathToWide(path));
    if (result.status != CFreedomReadResult::Read) {
        error = describeReadFailure(path, result);
        return false;
    }
    m_file = std::move(file);
    m_path = path;
    m_modified = false;
    m_lastProblem.reset();
    return true;
}

bool DefinitionDocument::saveAs(const std::filesystem::path& path, std::string& error) {
    m_lastProblem = checkFile(m_file);
    if (m_lastProblem) {
        error = describeProblem(m_file, *m_lastProblem);
        return false;
    }
    if (!m_file.Save(platform::pathToWide(path))) {
        error = describeWriteFailure(path);
        return false;
    }
    m_path = path;
    m_modified = false;
    return true;
}

void DefinitionDocument::clear(const std::filesystem::path& path) {
    *this = DefinitionDocument();
    m_path = path;
}

template <class Value>
void DefinitionDocument::assign(Value& target, const Value& value) {
    if (target != value) {
        target = value;
        m_modified = true;
    }
}

void DefinitionDocument::setSoftware(const CString& name) {
    assign(m_file.softName, name);
}

void DefinitionDocument::setFileNote(int which, const CString& note) {
    assign(which == 0 ? m_file.fileNote : m_file.fileNote2, note);
}

int DefinitionDocument::addEntity() {
    // The first number no class of the file uses yet, so two new classes never share a class name.
    int number = 1;
    const auto taken = [this](const CString& className) {
        return std::any_of(m_file.entities.begin(), m_file.entities.end(),
                           [&](const CFreedomEntity& entity) { return entity.className == className; });
    };
    while (taken(platform::formatWide(L"NEW_ENTITY%d", number))) {
        ++number;
    }
    CFreedomEntity entity;
    entity.displayName = platform::formatWide(L"新实体%d", number);
    entity.className = platform::formatWide(L"NEW_ENTITY%d", number);
    m_file.entities.push_back(std::move(entity));
    m_modified = true;
    return static_cast<int>(m_file.entities.size()) - 1;
}

void DefinitionDocument::removeEntity(int entity) {
    m_file.entities.erase(m_file.entities.begin() + entity);
    m_modified = true;
}

void DefinitionDocument::setEntityText(int entity, EntityText which, const CString& text) {
    CFreedomEntity& target = m_file.entities[entity];
    assign(which == EntityText::DisplayName ? target.displayName
           : which == EntityText::ClassName ? target.className
                                            : target.entityNote,
           text);
}

int DefinitionDocument::addProperty(int entity) {
    CFreedomEntity& target = m_file.entities[entity];
    CFreedomProp prop;
    prop.name = platform::formatWide(L"属性%d", static_cast<int>(target.props.size()) + 1);
    // The first point group code the class does not use yet, so the new property has an id of its own.
    static constexpr int kPointCodes[] = {10,  11,  12,  13,  14,  15,  16,  17,   210,  211,  212,
                                          213, 214, 215, 216, 217, 218, 219, 1010, 1011, 1012, 1013};
    for (const int code : kPointCodes) {
        if (std::none_of(target.props.begin(), target.props.end(),
                         [code](const CFreedomProp& other) { return other.groupCode == code; })) {
            prop.groupCode = code;
            break;
        }
    }
    target.props.push_back(std::move(prop));
    m_modified = true;
    return static_cast<int>(target.props.size()) - 1;
}

void DefinitionDocument::removeProperty(int entity, int property) {
    CArray<CFreedomProp>& props = m_file.entities[entity].props;
    props.erase(props.begin() + property);
    m_modified = true;
}

bool DefinitionDocument::moveProperty(int entity, int property, int direction) {
    CArray<CFreedomProp>& props = m_file.entities[entity].props;
    const int other = property + direction;
    if (other < 0 || other >= static_cast<int>(props.size())) {
        return false;
    }
    std::swap(props[property], props[other]);
    m_modified = true;
    return true;
}

void DefinitionDocument::setPropertyText(int entity, int property, PropertyText which, const CString& text) {
    CFreedomProp& target = m_file.entities[entity].props[property];
    assign(which == PropertyText::Name   ? target.name
           : which == PropertyText::Note ? target.propNote
                                         : target.propNote2,
           text);
}

void DefinitionDocument::setPropertyKind(int entity, int property, int kind) {
    assign(m_file.entities[entity].props[property].kind, kind);
}

void DefinitionDocument::setPropertyGroupCode(int entity, int property, int groupCode) {
    assign(m_file.entities[entity].props[property].groupCode, groupCode);
}

void DefinitionDocument::setPropertyItems(int entity, int property, const CStringArray& items) {
    assign(m_file.entities[entity].props[property].items, items);
}

} // namespace quelto::dom
