// The current editor and the application services that answer the working database from it.

#include "cad/ed/editor_state.h"

namespace cad::ed {
namespace {

EditorState* current = nullptr;
AcDbDatabase* workingDatabaseOverride = nullptr;

} // namespace

EditorState* currentEditor() {
    return current;
}

void setCurrentEditor(EditorState* editor) {
    current = editor;
    workingDatabaseOverride = nullptr;
}

std::optional<std::vector<AcDbObjectId>> takePickFirst(EditorState& editor) {
    if (!editor.commandUsesPickFirst || editor.pickFirst.empty()) {
        return std::nullopt;
    }
    std::vector<AcDbObjectId> implied = std::move(editor.pickFirst);
    std::erase_if(implied, [](const AcDbObjectId& id) { return id.isErased(); });
    editor.commandUsesPickFirst = false;
    dropPickFirst(editor);
    return implied;
}

void dropPickFirst(EditorState& editor) {
    editor.pickFirst.clear();
    editor.gripped.clear();
}

} // namespace cad::ed

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
    if (cad::ed::workingDatabaseOverride != nullptr) {
        return cad::ed::workingDatabaseOverride;
    }
    const cad::ed::EditorState* editor = cad::ed::currentEditor();
    return editor != nullptr ? editor->database : nullptr;
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* database) {
    cad::ed::workingDatabaseOverride = database;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static AcDbHostApplicationServices services;
    return &services;
}
