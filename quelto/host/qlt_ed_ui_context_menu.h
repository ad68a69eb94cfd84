// CQLTEdUiContextMenu: the module's entry "快速选择" in the host's right-click menus, one object for the
// default menu (nothing selected) and one for the object menu, and SyncContextMenus, which keeps the two
// registered exactly as the settings AcadNullMenu and AcadObjectMenu ask.
#pragma once

#include "cad/app/host_api.h"

#include <cstdint>
#include <memory>

class CQLTEdUiContextMenu : public AcEdUIContext {
public:
    static constexpr int DefaultMenu = 0;
    static constexpr int ObjectMenu = 1;
    static constexpr int MenuResourceId = 200;
    static constexpr std::uint32_t QuickSelectCommandId = 32768;

    // Loads the menu resource; when it cannot be loaded the object holds no menu (IsLoaded is false).
    explicit CQLTEdUiContextMenu(int kind, int resourceId = MenuResourceId);
    ~CQLTEdUiContextMenu() override;

    bool IsLoaded() const { return m_menu != nullptr; }
    int Kind() const { return m_kind; }

    void* getMenuContext(const AcRxClass* objectClass, const AcDbObjectIdArray& selectedIds) override;
    void onCommand(std::uint32_t commandId) override;

private:
    int m_kind;
    std::unique_ptr<cad::app::MenuItem> m_menu;
};

// The menu resource by its id: for 200 the two pop-ups "默认" and "对象"; nothing for an unknown id.
std::unique_ptr<cad::app::MenuItem> LoadMenuResource(int resourceId);

// The application id (the load message's packet) the menus are registered under.
void SetContextMenuApplicationId(const void* applicationId);

// Adds or removes the default and object menus so that they follow AcadNullMenu and AcadObjectMenu. A
// menu that cannot be loaded, or that the host refuses, is destroyed and its slot stays empty.
void SyncContextMenus(int resourceId = CQLTEdUiContextMenu::MenuResourceId);

// Removes and destroys both menus (module unload).
void RemoveContextMenus();

// The registered menu of a kind, null when its slot is empty.
const CQLTEdUiContextMenu* RegisteredContextMenu(int kind);
