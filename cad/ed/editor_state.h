// The editor's state of one open drawing: its database, the pick-first and gripped sets, the previous
// selection and the last entity the editor saw created; plus the host's application services, whose
// working database is the current drawing's. The document layer switches both when documents change.
#pragma once

#include "cad/db/database.h"
#include "cad/db/object_id.h"
#include "platform/export.h"

#include <vector>

namespace cad::ed {

struct QUELTO_EXPORT EditorState {
    AcDbDatabase* database = nullptr;
    std::vector<AcDbObjectId> pickFirst;
    std::vector<AcDbObjectId> gripped;
    std::vector<AcDbObjectId> previous;
    // The block record of the current space (CTAB): model space or a paper-space layout's block.
    AcDbObjectId currentSpace;
    // Set while a command registered as using the pick-first set runs: its first object selection takes
    // the pick-first set instead of prompting, once.
    bool commandUsesPickFirst = false;
};

// The editor state of the current drawing; null when no drawing is open.
QUELTO_EXPORT EditorState* currentEditor();
QUELTO_EXPORT void setCurrentEditor(EditorState* editor);

// The current space of the editor: its own choice, or model space of its database.
QUELTO_EXPORT AcDbObjectId currentSpaceOf(const EditorState& editor);

} // namespace cad::ed

class QUELTO_EXPORT AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const;
    void setWorkingDatabase(AcDbDatabase* database);
};

QUELTO_EXPORT AcDbHostApplicationServices* acdbHostApplicationServices();
