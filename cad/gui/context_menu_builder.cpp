// Building the right-click menu. Each registered context is asked for its pop-up when the menu opens
// (after OnUpdateMenu, so it can grey or check entries for the moment), as the host does.

#include "cad/gui/context_menu_builder.h"

#include "cad/app/context_menu.h"
#include "cad/db/database.h"
#include "cad/db/db_entity.h"

namespace cad::gui {
namespace {

void addItems(QMenu& menu, const std::vector<app::MenuItem>& items, AcEdUIContext* context,
              const std::function<void()>& after) {
    for (const app::MenuItem& item : items) {
        if (item.text.empty() && item.children.empty()) {
            menu.addSeparator();
            continue;
        }
        const QString text = QString::fromStdWString(item.text);
        if (!item.children.empty()) {
            QMenu* sub = menu.addMenu(text);
            sub->setEnabled(!item.grayed);
            addItems(*sub, item.children, context, after);
            continue;
        }
        QAction* action = menu.addAction(text);
        action->setEnabled(!item.grayed);
        const std::uint32_t commandId = item.commandId;
        QObject::connect(action, &QAction::triggered, &menu, [context, commandId, after] {
            context->onCommand(commandId);
            if (after) {
                after();
            }
        });
    }
}

} // namespace

AcRxClass* selectionClass(const std::vector<AcDbObjectId>& selection) {
    AcRxClass* common = nullptr;
    for (const AcDbObjectId& id : selection) {
        const AcDbDatabase* database = id.database();
        const AcDbObject* object = database != nullptr ? database->peekObject(id) : nullptr;
        if (object == nullptr) {
            continue;
        }
        if (common == nullptr) {
            common = object->isA();
        } else if (common != object->isA()) {
            return AcDbEntity::desc();
        }
    }
    return common;
}

QMenu* buildHostContextMenu(QWidget* parent, const std::vector<AcDbObjectId>& selection,
                            const HostMenuActions& host) {
    auto* menu = new QMenu(parent);
    if (!host.lastCommand.empty()) {
        QAction* repeat =
            menu->addAction(QStringLiteral("Repeat ") + QString::fromStdWString(host.lastCommand).toUpper());
        QObject::connect(repeat, &QAction::triggered, menu, host.repeat);
    }
    if (!selection.empty()) {
        QObject::connect(menu->addAction(QStringLiteral("Erase")), &QAction::triggered, menu, host.erase);
    }
    AcRxClass* objectClass = selectionClass(selection);
    AcDbObjectIdArray ids(selection.begin(), selection.end());
    const std::vector<app::ContextMenuEntry> entries = app::applicableContextMenus(objectClass);
    if (!entries.empty()) {
        menu->addSeparator();
    }
    for (const app::ContextMenuEntry& entry : entries) {
        entry.context->OnUpdateMenu();
        const auto* root = static_cast<const app::MenuItem*>(entry.context->getMenuContext(objectClass, ids));
        if (root != nullptr) {
            addItems(*menu, root->children, entry.context, host.afterModuleCommand);
        }
    }
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("Zoom Extents")), &QAction::triggered, menu,
                     host.zoomExtents);
    QObject::connect(menu->addAction(QStringLiteral("Select All")), &QAction::triggered, menu,
                     host.selectAll);
    QObject::connect(menu->addAction(QStringLiteral("Undo")), &QAction::triggered, menu, host.undo);
    return menu;
}

} // namespace cad::gui
