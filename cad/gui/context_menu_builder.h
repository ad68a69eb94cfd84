// Right-click menus: the host's own entries (repeat the last command, erase, zoom extents, select all,
// undo) and, in between, the entries the loaded modules registered for the default menu (nothing
// selected) or for the class of the selection, shown as registered: texts, sub-menus, separators,
// greyed entries. Choosing a module entry calls the module back with its command id.
#pragma once

#include "cad/db/object_id.h"

#include <QMenu>
#include <functional>
#include <string>
#include <vector>

class AcRxClass;

namespace cad::gui {

struct HostMenuActions {
    std::wstring lastCommand;
    std::function<void()> repeat;
    std::function<void()> erase;
    std::function<void()> zoomExtents;
    std::function<void()> selectAll;
    std::function<void()> undo;
    // Runs after a module's entry was chosen (the module may have queued input).
    std::function<void()> afterModuleCommand;
};

// The class an object menu is chosen by: the selection's common class, or AcDbEntity when the
// selected objects differ; null for an empty selection.
AcRxClass* selectionClass(const std::vector<AcDbObjectId>& selection);

QMenu* buildHostContextMenu(QWidget* parent, const std::vector<AcDbObjectId>& selection,
                            const HostMenuActions& host);

} // namespace cad::gui
