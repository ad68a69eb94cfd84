// Right-click menu extensions: modules derive from AcEdUIContext and register it for the default menu
// (nothing selected) or for the object menu of a class. The host asks each registered context for its
// menu when the menu opens and tells it which item was chosen.
#pragma once

#include "cad/db/object_id.h"
#include "cad/db/rx_class.h"
#include "platform/export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cad::app {
// A menu as the host shows it: a pop-up has children, an item has a command id, an item without text
// or children is a separator. A context's getMenuContext answers a pointer to one of these (the host's
// menu handle).
struct MenuItem {
    std::wstring text;
    std::uint32_t commandId = 0;
    std::vector<MenuItem> children;
    bool grayed = false; // shown, but cannot be chosen
};
} // namespace cad::app

class QUELTO_EXPORT AcEdUIContext {
public:
    virtual ~AcEdUIContext();
    // The pop-up to show for the selection (class of the selected objects, their ids); null shows nothing.
    virtual void* getMenuContext(const AcRxClass* objectClass, const AcDbObjectIdArray& selectedIds) = 0;
    virtual void onCommand(std::uint32_t commandId) = 0;
    virtual void OnUpdateMenu() {}
};

QUELTO_EXPORT bool acedAddDefaultContextMenu(AcEdUIContext* context, const void* appId,
                                             const wchar_t* appName = nullptr);
QUELTO_EXPORT bool acedRemoveDefaultContextMenu(AcEdUIContext* context);
QUELTO_EXPORT bool acedAddObjectContextMenu(AcRxClass* objectClass, AcEdUIContext* context,
                                            const void* appId);
QUELTO_EXPORT bool acedRemoveObjectContextMenu(AcRxClass* objectClass, AcEdUIContext* context);

namespace cad::app {

// One registered extension as the host's menu code sees it.
struct ContextMenuEntry {
    AcEdUIContext* context = nullptr;
    const void* appId = nullptr;
    std::wstring title;
    AcRxClass* objectClass = nullptr; // null for the default menu
};

// The extensions that apply: the default ones when nothing is selected, otherwise those registered for
// the class of the selection or one of its parents.
QUELTO_EXPORT std::vector<ContextMenuEntry> applicableContextMenus(const AcRxClass* selectionClass);
QUELTO_EXPORT std::size_t registeredContextMenuCount();

} // namespace cad::app
