// The right-click entries of the module and the two module-wide slots that hold the registered ones.
// The menu resource is the host's menu model; choosing the entry types "qs" into the current drawing,
// so the command runs exactly as if the drafter had typed it.
#include "quelto/host/qlt_ed_ui_context_menu.h"

#include "quelto/filter/qlt_system_param.h"

namespace {

constexpr const wchar_t* kMenuTitle = L"翠岭轩";
constexpr const wchar_t* kQuickSelectText = L"快速选择";

const void* applicationId = nullptr;
std::unique_ptr<CQLTEdUiContextMenu> slots[2];

cad::app::MenuItem quickSelectItem() {
    cad::app::MenuItem item;
    item.text = kQuickSelectText;
    item.commandId = CQLTEdUiContextMenu::QuickSelectCommandId;
    return item;
}

bool addToHost(CQLTEdUiContextMenu& menu) {
    if (menu.Kind() == CQLTEdUiContextMenu::DefaultMenu) {
        return acedAddDefaultContextMenu(&menu, applicationId, kMenuTitle);
    }
    return acedAddObjectContextMenu(AcDbEntity::desc(), &menu, applicationId);
}

void removeFromHost(CQLTEdUiContextMenu& menu) {
    if (menu.Kind() == CQLTEdUiContextMenu::DefaultMenu) {
        acedRemoveDefaultContextMenu(&menu);
    } else {
        acedRemoveObjectContextMenu(AcDbEntity::desc(), &menu);
    }
}

void syncSlot(int kind, bool wanted, int resourceId) {
    std::unique_ptr<CQLTEdUiContextMenu>& slot = slots[kind];
    if (wanted && slot == nullptr) {
        auto menu = std::make_unique<CQLTEdUiContextMenu>(kind, resourceId);
        if (menu->IsLoaded() && addToHost(*menu)) {
            slot = std::move(menu);
        }
    } else if (!wanted && slot != nullptr) {
        removeFromHost(*slot);
        slot.reset();
    }
}

} // namespace

std::unique_ptr<cad::app::MenuItem> LoadMenuResource(int resourceId) {
    if (resourceId != CQLTEdUiContextMenu::MenuResourceId) {
        return nullptr;
    }
    auto resource = std::make_unique<cad::app::MenuItem>();
    cad::app::MenuItem defaultPopup;
    defaultPopup.text = L"默认";
    defaultPopup.children.push_back(quickSelectItem());
    cad::app::MenuItem objectPopup;
    objectPopup.text = L"对象";
    cad::app::MenuItem makerPopup;
    makerPopup.text = kMenuTitle;
    makerPopup.children.push_back(quickSelectItem());
    objectPopup.children.push_back(std::move(makerPopup));
    resource->children.push_back(std::move(defaultPopup));
    resource->children.push_back(std::move(objectPopup));
    return resource;
}

CQLTEdUiContextMenu::CQLTEdUiContextMenu(int kind, int resourceId) : m_kind(kind) {
    std::unique_ptr<cad::app::MenuItem> resource = LoadMenuResource(resourceId);
    if (resource != nullptr && kind >= 0 && static_cast<std::size_t>(kind) < resource->children.size()) {
        m_menu = std::make_unique<cad::app::MenuItem>(std::move(resource->children[kind]));
    }
}

CQLTEdUiContextMenu::~CQLTEdUiContextMenu() = default;

void* CQLTEdUiContextMenu::getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) {
    return m_menu.get();
}

void CQLTEdUiContextMenu::onCommand(std::uint32_t commandId) {
    if (commandId == QuickSelectCommandId) {
        acDocManager->sendStringToExecute(acDocManager->curDocument(), L"qs\n", false, false, true);
    }
}

void SetContextMenuApplicationId(const void* id) {
    applicationId = id;
}

void SyncContextMenus(int resourceId) {
    CQLTSystemParam parameters;
    syncSlot(CQLTEdUiContextMenu::DefaultMenu, parameters.GetAcadNullMenu() != 0, resourceId);
    syncSlot(CQLTEdUiContextMenu::ObjectMenu, parameters.GetAcadObjectMenu() != 0, resourceId);
}

void RemoveContextMenus() {
    for (std::unique_ptr<CQLTEdUiContextMenu>& slot : slots) {
        if (slot != nullptr) {
            removeFromHost(*slot);
            slot.reset();
        }
    }
}

const CQLTEdUiContextMenu* RegisteredContextMenu(int kind) {
    return kind == CQLTEdUiContextMenu::DefaultMenu || kind == CQLTEdUiContextMenu::ObjectMenu
               ? slots[kind].get()
               : nullptr;
}
