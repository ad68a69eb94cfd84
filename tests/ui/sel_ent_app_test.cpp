// The module's entry driven as the host drives it: the load message prints the banner, registers QS and
// the right-click entries the settings ask for and shows the information dialog only when InitShow is
// on; the unload message takes the command and the entries away.
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

TEST_F(ModuleEntry, LoadPrintsTheBannerAndRegistersQsUntilUnload) {
    const std::size_t before = cad::app::registeredContextMenuCount();
    load(0, 1, 1);
    const std::wstring stars(71, L'*');
    EXPECT_EQ(m_commandLine.transcript(),
              L"\n" + stars + L"\n" + stars +
                  L"\n**翠岭轩快速选择系统3.85a已经加载，启动命令QS            **\n" + stars + L"\n" + stars +
                  L"\n");
    EXPECT_NE(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
    EXPECT_NE(acedRegCmds->lookupGlobalCmd(L"QLT_QS"), nullptr);
    EXPECT_EQ(cad::app::registeredContextMenuCount(), before + 2);

    // Drawing, save and suspend messages, and numbers beyond the host's, are answered at once.
    for (const int message : {3, 9, 16, 99}) {
        EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(message), &m_packet), AcRx::kRetOK);
    }
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &m_packet), AcRx::kRetOK);
    EXPECT_EQ(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"QLT_QS"), nullptr);
    EXPECT_EQ(cad::app::registeredContextMenuCount(), before);
    EXPECT_EQ(m_counter.made, 0);
}

TEST_F(ModuleEntry, InformationDialogOnlyWhenInitShowIsOn) {
    for (const int initShow : {0, 1}) {
        m_counter.made = 0;
        load(initShow, 0, 0);
        EXPECT_EQ(m_counter.made, initShow) << initShow;
        acrxEntryPoint(AcRx::kUnloadAppMsg, &m_packet);
    }
}

TEST_F(ModuleEntry, MenusFollowTheSettingsAtLoadAndOnEverySynchronisation) {
    for (const auto& [nullMenu, objectMenu] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
        load(0, nullMenu, objectMenu);
        // A second synchronisation with unchanged settings changes nothing.
        SyncContextMenus();
        EXPECT_EQ(hasOurEntry(nullptr), nullMenu == 1);
        EXPECT_EQ(hasOurEntry(AcDbLine::desc()), objectMenu == 1);
        EXPECT_EQ(cad::app::applicableContextMenus(nullptr).size(), static_cast<std::size_t>(nullMenu));
        acrxEntryPoint(AcRx::kUnloadAppMsg, &m_packet);
        EXPECT_FALSE(hasOurEntry(nullptr));
        EXPECT_FALSE(hasOurEntry(AcDbLine::desc()));
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
    EXPECT_TRUE(hasOurEntry(nullptr));
    EXPECT_TRUE(hasOurEntry(AcDbLine::desc()));
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
