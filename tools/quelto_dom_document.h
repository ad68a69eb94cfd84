// DefinitionDocument: the definition file the quelto-dom window edits, with its path and whether it has
// changed since it was opened or saved. Reading and writing go through the module's own file class;
// saving is refused while the checks find a problem, so no file the module would misread is written.
#pragma once

#include "quelto/customentity/freedom_entity_file.h"
#include "quelto_dom_check.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quelto::dom {

// Why a file could not be opened, in the words quelto-dom uses everywhere ("<path>: damaged: ...").
std::string describeReadFailure(const std::filesystem::path& path, const CFreedomReadResult& result);

std::string describeWriteFailure(const std::filesystem::path& path);

// The place of a problem for a person: "class 管道 (QLT_PIPE), property 起点, group code: <reason>".
std::string describeProblem(const CFreedomEntityFile& file, const Problem& problem);

// Items as one line of text ("1=钢管; 2=塑料管") and back; blanks around each item are dropped.
CString joinItems(const CStringArray& items);
CStringArray splitItems(const CString& text);

class DefinitionDocument {
public:
    enum class EntityText { DisplayName, ClassName, Note };
    enum class PropertyText { Name, Note, Note2 };

    // False with `error` when the file cannot be read; the document is then unchanged.
    bool open(const std::filesystem::path& path, std::string& error);
    // False with `error` when a check refuses the content (the problem is kept for `lastProblem`) or the
    // file cannot be written; on success the document takes the path and is no longer modified.
    bool saveAs(const std::filesystem::path& path, std::string& error);
    // An empty document, to be saved under `path` (none: save asks for one).
    void clear(const std::filesystem::path& path = {});

    const CFreedomEntityFile& file() const { return m_file; }
    const std::filesystem::path& path() const { return m_path; }
    bool modified() const { return m_modified; }
    const std::optional<Problem>& lastProblem() const { return m_lastProblem; }

    // Edits; each marks the document modified only when it changes something.
    void setSoftware(const CString& name);
    void setFileNote(int which, const CString& note);
    // A new class "新实体<n>" with class name "NEW_ENTITY<n>" at the end; its index.
    int addEntity();
    void removeEntity(int entity);
    void setEntityText(int entity, EntityText which, const CString& text);
    // A new property at the end of the class: a 3D point on the first free point group code; its index.
    int addProperty(int entity);
    void removeProperty(int entity, int property);
    // Swaps the property with its neighbour (-1 above, +1 below); false at either end.
    bool moveProperty(int entity, int property, int direction);
    void setPropertyText(int entity, int property, PropertyText which, const CString& text);
    void setPropertyKind(int entity, int property, int kind);
    void setPropertyGroupCode(int entity, int property, int groupCode);
    void setPropertyItems(int entity, int property, const CStringArray& items);

private:
    template <class Value>
    void assign(Value& target, const Value& value);

    CFreedomEntityFile m_file;
    std::filesystem::path m_path;
    bool m_modified = false;
    std::optional<Problem> m_lastProblem;
};

} // namespace quelto::dom
