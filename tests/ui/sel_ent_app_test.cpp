// The module's entry driven as the host drives it: the information dialog only when InitShow is on,
// other messages answered at once, the right-click entries following the settings sheet's OK and
// surviving a menu that cannot be loaded. (The banner and the entries per setting are checked on the
// real module in the real host.)
#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/document_manager.h"
#include "cad/app/rx_entry.h"
#include "cad/db/curve_entities.h"
#include "cad/ed/command_line.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/host/qlt_ed_ui_context_menu.h"
#include "quelto/ui/cmd_info_dlg.h"
#include "quelto/ui/settings_sheet.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet);

namespace {

// Counts the information dialogs made, whether or not a modal loop shows them.
class InfoDialogCounter : public QObject {
public:
    int made = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange && qobject_cast<CCmdInfoDlg*>(object) != nullptr) {
            ++made;
        }
        return false;
    }
};

bool hasOurEntry(const AcRxClass* selectionClass) {
    for (const cad::app::ContextMenuEntry& entry : cad::app::applicableContextMenus(selectionClass)) {
        if (dynamic_cast<CQLTEdUiContextMenu*>(entry.context) != nullptr) {
            return true;
        }
    }
    return false;
}

class ModuleEntry : public testing::Test {
protected:
    void SetUp() override { qApp->installEventFilter(&m_counter); }
    void TearDown() override {
        acrxEntryPoint(AcRx::kUnloadAppMsg, &m_packet);
        qApp->removeEventFilter(&m_counter);
    }
    void load(int initShow, int nullMenu, int objectMenu) {
        CQLTSystemParam parameters;
        parameters.SetInitShow(initShow);
        parameters.SetAcadNullMenu(nullMenu);
        parameters.SetAcadObjectMenu(objectMenu);
        ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &m_packet), AcRx::kRetOK);
    }

    int m_packet = 0;
    InfoDialogCounter m_counter;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_scope{m_commandLine};
};

TEST_F(ModuleEntry, MessagesOutsideLoadAndUnloadAreAnsweredAtOnce) {
    load(0, 0, 0);
    const std::size_t menus = cad::app::registeredContextMenuCount();
    // Drawing, save and suspend messages, and the highest message number, change nothing.
    for (const int message : {0, 3, 4, 5, 9, 15, 16, 31}) {
        EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(message), &m_packet), AcRx::kRetOK) << message;
    }
    EXPECT_NE(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
    EXPECT_EQ(cad::app::registeredContextMenuCount(), menus);
}

TEST_F(ModuleEntry, InformationDialogOnlyWhenInitShowIsOn) {
    for (const int initShow : {0, 1}) {
        m_counter.made = 0;
        load(initShow, 0, 0);
        EXPECT_EQ(m_counter.made, initShow) << initShow;
        acrxEntryPoint(AcRx::kUnloadAppMsg, &m_packet);
    }
}

TEST_F(ModuleEntry, SettingsSheetOkChangesTheMenusAtOnceCancelDoesNot) {
    load(0, 1, 0);
    for (const char* button : {"取消", "确定"}) {
        CQSetEntSheet sheet;
        sheet.show();
        sheet.Tabs()->setCurrentIndex(2);
        for (QAbstractButton* control : sheet.findChildren<QAbstractButton*>()) {
            if (control->text() == QStringLiteral("编辑模式（有选择对象）快捷菜单中嵌入快速选择") ||
                control->text() == QStringLiteral("默认模式（无选择对象）快捷菜单中嵌入快速选择")) {
                QTest::mouseClick(control, Qt::LeftButton);
            }
        }
        for (QPushButton* control : sheet.findChildren<QPushButton*>()) {
            if (control->text() == QString::fromUtf8(button)) {
                QTest::mouseClick(control, Qt::LeftButton);
            }
        }
    }
    EXPECT_FALSE(hasOurEntry(nullptr));
    EXPECT_TRUE(hasOurEntry(AcDbLine::desc()));
}

TEST_F(ModuleEntry, MenuThatCannotBeLoadedLeavesItsSlotEmptyAndTheModuleWorking) {
    load(0, 0, 0);
    CQLTSystemParam parameters;
    parameters.SetAcadNullMenu(1);
    parameters.SetAcadObjectMenu(1);
    SyncContextMenus(CQLTEdUiContextMenu::MenuResourceId + 1);
    EXPECT_EQ(RegisteredContextMenu(CQLTEdUiContextMenu::DefaultMenu), nullptr);
    EXPECT_EQ(RegisteredContextMenu(CQLTEdUiContextMenu::ObjectMenu), nullptr);
    EXPECT_NE(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
    SyncContextMenus();
    SyncContextMenus();
    EXPECT_TRUE(hasOurEntry(nullptr));
    EXPECT_TRUE(hasOurEntry(AcDbLine::desc()));
    EXPECT_EQ(cad::app::applicableContextMenus(nullptr).size(), 1U) << "synchronising twice adds nothing";
}

TEST(QuickSelectMenu, LayoutOfBothMenusAndTheChosenEntryTypesQs) {
    const std::pair<int, std::vector<std::wstring>> layouts[] = {
        {CQLTEdUiContextMenu::DefaultMenu, {L"快速选择"}},
        {CQLTEdUiContextMenu::ObjectMenu, {L"翠岭轩", L"快速选择"}},
    };
    AcApDocument* document = acDocManager->newDocument();
    for (const auto& [kind, path] : layouts) {
        CQLTEdUiContextMenu menu(kind);
        ASSERT_TRUE(menu.IsLoaded());
        const auto* item = static_cast<const cad::app::MenuItem*>(menu.getMenuContext(nullptr, {}));
        ASSERT_NE(item, nullptr);
        for (const std::wstring& text : path) {
            ASSERT_EQ(item->children.size(), 1U) << kind;
            item = &item->children[0];
            EXPECT_EQ(item->text, text);
        }
        EXPECT_EQ(item->commandId, 32768U);

        menu.onCommand(32768);
        menu.onCommand(32769);
        const std::optional<AcApDocManager::QueuedLine> queued = acDocManager->takeQueuedLine();
        ASSERT_TRUE(queued.has_value());
        EXPECT_EQ(queued->text, L"qs");
        EXPECT_TRUE(queued->echo);
        EXPECT_FALSE(acDocManager->takeQueuedLine().has_value());
    }
    EXPECT_FALSE(CQLTEdUiContextMenu(CQLTEdUiContextMenu::DefaultMenu, 201).IsLoaded());
    acDocManager->closeDocument(document);
}

} // namespace
