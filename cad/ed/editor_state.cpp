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

AcDbObjectId currentSpaceOf(const EditorState& editor) {
    if (!editor.currentSpace.isNull() && editor.currentSpace.isValid() && !editor.currentSpace.isErased()) {
        return editor.currentSpace;
    }
    return editor.database != nullptr ? editor.database->modelSpaceId() : AcDbObjectId();
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
