// The editor's state of one open drawing: its database, the pick-first and gripped sets, the previous
// selection and the last entity the editor saw created; plus the host's application services, whose
// working database is the current drawing's. The document layer switches both when documents change.
#pragma once

#include "cad/db/database.h"
#include "cad/db/object_id.h"
#include "platform/export.h"

#include <optional>
#include <vector>

namespace cad::ed {

struct QUELTO_EXPORT EditorState {
    AcDbDatabase* database = nullptr;
    std::vector<AcDbObjectId> pickFirst;
    std::vector<AcDbObjectId> gripped;
    std::vector<AcDbObjectId> previous;
    // Set while a command registered as using the pick-first set runs: its first object selection takes
    // the pick-first set instead of prompting, once.
    bool commandUsesPickFirst = false;
};

// The editor state of the current drawing; null when no drawing is open.
QUELTO_EXPORT EditorState* currentEditor();
QUELTO_EXPORT void setCurrentEditor(EditorState* editor);

// The implied selection of a command that may use the pick-first set: the set (erased objects left
// out) once, after which the set and its grips are gone; nothing when the command may not use it or
// the set is empty.
QUELTO_EXPORT std::optional<std::vector<AcDbObjectId>> takePickFirst(EditorState& editor);
// Ends the implied selection: the pick-first set and the grips are emptied.
QUELTO_EXPORT void dropPickFirst(EditorState& editor);

} // namespace cad::ed

class QUELTO_EXPORT AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const;
    void setWorkingDatabase(AcDbDatabase* database);
};

QUELTO_EXPORT AcDbHostApplicationServices* acdbHostApplicationServices();
