// The desktop window driven as a drafter drives it, offscreen: drags and clicks on the view, keys on the
// command line, right-click menus with a loaded module's entries, prompts answered by picking, and the
// question before closing a changed drawing.

#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/module_manager.h"
#include "cad/db/dictionary.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/selection_set.h"
#include "cad/gui/command_line_panel.h"
#include "cad/gui/drawing_view.h"
#include "cad/gui/main_window.h"
#include "drawing_builder.h"
#include "platform/message_box.h"
#include "support/test_support.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

using cad::gui::MainWindow;

int tickCount = 0;
void tickCommand() {
    ++tickCount;
}

int entitySelectionResult = 0;
AcDbObjectId entitySelected;
void pickOneCommand() {
    ads_name name = {0, 0};
    ads_point point = {0, 0, 0};
    entitySelectionResult = acedEntSel(L"Select object: ", name, point);
    entitySelected = entitySelectionResult == RTNORM ? cad::ed::objectIdOfName(name) : AcDbObjectId();
}

std::int32_t collectedCount = -1;
void collectCommand() {
    ads_name set;
    collectedCount = -1;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) == RTNORM) {
        acedSSLength(set, &collectedCount);
        acedSSFree(set);
    }
}

// Lines at known places: A and B inside x 8..42, y 5..25; D long across y = 40; C far up right.
class DesktopWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        acedRegCmds->addCommand(L"GUI_TEST", L"TICK", L"TICK", ACRX_CMD_MODAL, tickCommand);
        acedRegCmds->addCommand(L"GUI_TEST", L"PICKONE", L"PICKONE", ACRX_CMD_MODAL, pickOneCommand);
        acedRegCmds->addCommand(L"GUI_TEST", L"COLLECT", L"COLLECT", ACRX_CMD_MODAL, collectCommand);
    }
    static void TearDownTestSuite() { acedRegCmds->removeGroup(L"GUI_TEST"); }

    void SetUp() override {
        m_window = std::make_unique<MainWindow>();
        m_commandLineScope = std::make_unique<cad::ed::ScopedCommandLine>(*m_window->commandLine());
        m_window->newDrawing();
        AcDbDatabase& database = *document()->database();
        m_a = gui_test::line(database, 10, 10, 20, 10);
        m_b = gui_test::line(database, 30, 10, 40, 20);
        m_c = gui_test::line(database, 60, 60, 70, 70);
        m_d = gui_test::line(database, 5, 40, 45, 40);
        m_window->resize(900, 700);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        view()->drawingChanged();
        cad::gui::ViewGeometry shown;
        shown.centerX = 40;
        shown.centerY = 40;
        shown.unitsPerPixel = 0.2;
        view()->setView(shown);
        m_window->commandLine()->input()->setFocus();
    }
    void TearDown() override {
        m_window->commandLine()->cancelAll();
        m_commandLineScope.reset();
        m_window.reset();
        acDocManager->closeAll();
    }

    AcApDocument* document() const { return m_window->view()->document(); }
    cad::gui::DrawingView* view() const { return m_window->view(); }
    QPoint at(double x, double y) const { return view()->toDevice(QPointF(x, y)).toPoint(); }
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view(), Qt::LeftButton, modifiers, at(from.x(), from.y()));
        QTest::mouseMove(view(), at(to.x(), to.y()));
        QTest::mouseRelease(view(), Qt::LeftButton, modifiers, at(to.x(), to.y()));
    }
    std::set<std::string> selected() const {
        std::set<std::string> handles;
        for (const AcDbObjectId& id : document()->editor().pickFirst) {
            handles.insert(gui_test::handleOf(id));
        }
        return handles;
    }
    std::set<std::string> handles(std::initializer_list<AcDbObjectId> ids) const {
        std::set<std::string> result;
        for (const AcDbObjectId& id : ids) {
            result.insert(gui_test::handleOf(id));
        }
        return result;
    }
    bool waitForHistory(const QString& text) const {
        for (int attempt = 0; attempt < 200 && !m_window->commandLine()->historyText().contains(text);
             ++attempt) {
            QTest::qWait(10);
        }
        return m_window->commandLine()->historyText().contains(text);
    }

    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<cad::ed::ScopedCommandLine> m_commandLineScope;
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_boxScope{m_boxes};
    AcDbObjectId m_a, m_b, m_c, m_d;
};

TEST_F(DesktopWindow, WindowAndCrossingDragsSelectTheExpectedHandles) {
    struct Row {
        const char* what;
        QPointF from;
        QPointF to;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> expected; // 0..3 for A..D
    };
    const std::vector<Row> rows = {
        {"window to the right takes what lies wholly inside", {8, 5}, {42, 25}, {}, {0, 1}},
        {"Shift with a window takes those away again", {28, 5}, {42, 25}, Qt::ShiftModifier, {0}},
        {"crossing to the left takes what it touches", {42, 5}, {15, 45}, {}, {0, 1, 3}},
        {"Shift with a crossing removes what it touches", {50, 35}, {44, 45}, Qt::ShiftModifier, {0, 1}},
    };
    const AcDbObjectId ids[] = {m_a, m_b, m_c, m_d};
    for (const Row& row : rows) {
        drag(row.from, row.to, row.modifiers);
        std::set<std::string> expected;
        for (const int index : row.expected) {
            expected.insert(gui_test::handleOf(ids[index]));
        }
        EXPECT_EQ(selected(), expected) << row.what;
        EXPECT_EQ(document()->editor().gripped, document()->editor().pickFirst) << row.what;
    }
}

TEST_F(DesktopWindow, ClickPicksTheEntityUnderTheCursorShiftClickRemovesAndEscClears) {
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(15, 10.2));
    EXPECT_EQ(selected(), handles({m_a}));
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(35, 15));
    EXPECT_EQ(selected(), handles({m_a, m_b}));
    // Empty space picks nothing and keeps the selection.
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(50, 20));
    EXPECT_EQ(selected(), handles({m_a, m_b}));
    QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, at(15, 10));
    EXPECT_EQ(selected(), handles({m_b}));
    QTest::keyClick(m_window->commandLine()->input(), Qt::Key_Escape);
    EXPECT_TRUE(selected().empty());
}

// A click on a member of a group selects the group (PICKSTYLE 1, the default); Shift-click takes it off
// whole.
TEST_F(DesktopWindow, ClickOnAGroupMemberSelectsTheGroup) {
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(document()->database()->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
    auto* group = new AcDbGroup(L"", true);
    AcDbObjectId groupId;
    ASSERT_EQ(groups->setAt(L"A和C", group, groupId), Acad::eOk);
    ASSERT_EQ(group->append(m_a), Acad::eOk);
    ASSERT_EQ(group->append(m_c), Acad::eOk);
    group->close();
    groups->close();
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(15, 10.2));
    EXPECT_EQ(selected(), handles({m_a, m_c}));
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(35, 15));
    EXPECT_EQ(selected(), handles({m_a, m_b, m_c}));
    QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, at(65, 65));
    EXPECT_EQ(selected(), handles({m_b}));
}

TEST_F(DesktopWindow, CommandLineRunsACommandAndRepeatsItOnEnterOrSpace) {
    tickCount = 0;
    QLineEdit* input = m_window->commandLine()->input();
    QTest::keyClicks(input, QStringLiteral("tick"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_EQ(tickCount, 1);
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_EQ(tickCount, 2);
    QTest::keyClick(input, Qt::Key_Space);
    EXPECT_EQ(tickCount, 3);
    EXPECT_EQ(m_window->commandLine()->historyText().count(QStringLiteral("Command: tick")), 3);
    QTest::keyClicks(input, QStringLiteral("nosuch"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(
        m_window->commandLine()->historyText().contains(QStringLiteral("Unknown command \"NOSUCH\"")));
}

TEST_F(DesktopWindow, EntitySelectionPromptTakesAClickEnterOrEsc) {
    struct Row {
        const char* what;
        std::function<void()> act;
        int result;
        AcDbObjectId expected;
    };
    cad::gui::DrawingView* shown = view();
    QLineEdit* input = m_window->commandLine()->input();
    const std::vector<Row> rows = {
        {"a click on B picks B", [&] { QTest::mouseClick(shown, Qt::LeftButton, {}, at(35, 15)); }, RTNORM,
         m_b},
        {"Enter picks nothing", [&] { QTest::keyClick(input, Qt::Key_Return); }, RTERROR, {}},
        {"Esc cancels", [&] { QTest::keyClick(input, Qt::Key_Escape); }, RTCAN, {}},
        {"a click on empty space misses",
         [&] { QTest::mouseClick(shown, Qt::LeftButton, {}, at(50, 30)); },
         RTERROR,
         {}},
    };
    for (const Row& row : rows) {
        entitySelectionResult = -1;
        QTimer::singleShot(0, m_window.get(), row.act);
        m_window->runCommand(QStringLiteral("PICKONE"));
        EXPECT_EQ(entitySelectionResult, row.result) << row.what;
        EXPECT_EQ(entitySelected, row.expected) << row.what;
    }
    EXPECT_TRUE(m_window->commandLine()->historyText().contains(QStringLiteral("Select object: ")));
}

TEST_F(DesktopWindow, ObjectSelectionPromptCollectsDragsAndClicksUntilEnter) {
    QTimer::singleShot(0, m_window.get(), [&] {
        drag({8, 5}, {42, 25});                                                   // A and B
        QTest::mouseClick(view(), Qt::LeftButton, {}, at(65, 65));                // C
        QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, at(15, 10)); // not A
        QTest::keyClick(m_window->commandLine()->input(), Qt::Key_Return);
    });
    m_window->runCommand(QStringLiteral("COLLECT"));
    EXPECT_EQ(collectedCount, 2);
    const QString history = m_window->commandLine()->historyText();
    EXPECT_TRUE(history.contains(QStringLiteral("Select objects: W"))) << history.toStdString();
    EXPECT_TRUE(history.contains(QStringLiteral("Remove objects: "))) << history.toStdString();
}

// A module-style context with a sub-menu, a separator and a greyed entry.
class ShapedMenu final : public AcEdUIContext {
public:
    ShapedMenu() {
        cad::app::MenuItem sub{L"More", 0, {{L"Inner", 2, {}}}};
        m_menu.children = {{L"First", 1, {}}, {}, sub, {L"Greyed", 3, {}, true}};
    }
    void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override { return &m_menu; }
    void onCommand(std::uint32_t commandId) override { chosen = commandId; }
    std::uint32_t chosen = 0;

private:
    cad::app::MenuItem m_menu;
};

QAction* findAction(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

TEST_F(DesktopWindow, RightClickMenusShowModuleEntriesAndChoosingOneRunsItsCommand) {
    ASSERT_EQ(cad::app::ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    ShapedMenu shaped;
    ASSERT_TRUE(acedAddDefaultContextMenu(&shaped, this, L"Shaped"));
    tickCount = 0;
    m_window->runCommand(QStringLiteral("TICK"));
    {
        std::unique_ptr<QMenu> menu(m_window->buildContextMenu());
        for (const char* text :
             {"Repeat TICK", "Hello", "First", "More", "Greyed", "Zoom Extents", "Select All", "Undo"}) {
            EXPECT_NE(findAction(*menu, QString::fromLatin1(text)), nullptr) << text;
        }
        EXPECT_EQ(findAction(*menu, QStringLiteral("Erase")), nullptr);
        EXPECT_FALSE(findAction(*menu, QStringLiteral("Greyed"))->isEnabled());
        QMenu* more = findAction(*menu, QStringLiteral("More"))->menu();
        ASSERT_NE(more, nullptr);
        ASSERT_NE(findAction(*more, QStringLiteral("Inner")), nullptr);
        const QList<QAction*> actions = menu->actions();
        const auto first =
            std::find(actions.begin(), actions.end(), findAction(*menu, QStringLiteral("First")));
        ASSERT_NE(first + 1, actions.end());
        EXPECT_TRUE((*(first + 1))->isSeparator());
        findAction(*more, QStringLiteral("Inner"))->trigger();
        EXPECT_EQ(shaped.chosen, 2U);
        // Hello queues HELLO, which selects everything on layer 0: the four lines.
        m_window->commandLine()->answer(L"ALL");
        m_window->commandLine()->answer(L"");
        findAction(*menu, QStringLiteral("Hello"))->trigger();
        EXPECT_TRUE(waitForHistory(QStringLiteral("HELLO found 4")))
            << m_window->commandLine()->historyText().toStdString();
        findAction(*menu, QStringLiteral("Repeat TICK"))->trigger();
        EXPECT_EQ(tickCount, 2);
    }
    // With a selection the object menu opens: no default-menu entries, but Erase.
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(15, 10));
    {
        std::unique_ptr<QMenu> menu(m_window->buildContextMenu());
        EXPECT_EQ(findAction(*menu, QStringLiteral("Hello")), nullptr);
        ASSERT_NE(findAction(*menu, QStringLiteral("Erase")), nullptr);
        findAction(*menu, QStringLiteral("Erase"))->trigger();
        EXPECT_TRUE(m_a.isErased());
    }
    acedRemoveDefaultContextMenu(&shaped);
    EXPECT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_TEST_MODULE), std::nullopt);
}

TEST_F(DesktopWindow, ClosingWithChangesAsksFirst) {
    // Lines added behind the window's back are changes too; saving makes the drawing clean.
    EXPECT_TRUE(m_window->isDrawingModified());
    const std::filesystem::path saved = std::filesystem::temp_directory_path() / "quelto_gui_close_test.dxf";
    m_window->commandLine()->answer(QString::fromStdString(saved.string()).toStdWString());
    m_window->runCommand(QStringLiteral("SAVEAS"));
    EXPECT_FALSE(m_window->isDrawingModified());
    EXPECT_TRUE(m_window->windowTitle().startsWith(QStringLiteral("quelto_gui_close_test.dxf")));
    std::filesystem::remove(saved);
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(15, 10));
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_TRUE(m_a.isErased());
    EXPECT_TRUE(m_window->isDrawingModified());
    EXPECT_TRUE(m_window->isWindowModified());
    m_boxes.queueAnswer(IDCANCEL);
    m_window->close();
    ASSERT_EQ(m_boxes.shown().size(), 1U);
    EXPECT_EQ(m_boxes.shown()[0].style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(m_boxes.shown()[0].text, L"Save changes to quelto_gui_close_test.dxf?");
    EXPECT_TRUE(m_window->isVisible());
    m_boxes.queueAnswer(IDNO);
    m_window->close();
    EXPECT_EQ(m_boxes.shown().size(), 2U);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(DesktopWindow, CtrlZUndoesAnErase) {
    if (acedRegCmds->lookupGlobalCmd(L"U") == nullptr) {
        GTEST_SKIP() << "this build of the host has no U command yet";
    }
    QTest::mouseClick(view(), Qt::LeftButton, {}, at(15, 10));
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_TRUE(m_a.isErased());
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(m_a.isErased());
    QTest::keyClick(view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(m_a.isErased());
}

TEST_F(DesktopWindow, LayoutTabsSitCompactAtTheLeftAndTheCommandLineDocksThreeLinesHigh) {
    const QTabBar* tabs = m_window->layoutTabs();
    ASSERT_GE(tabs->count(), 1);
    EXPECT_EQ(tabs->x(), 0);
    EXPECT_LT(tabs->width(), m_window->width() / 3) << "tabs are not stretched over the window";
    EXPECT_EQ(tabs->tabRect(0).left(), 0);

    // Two lines of history over the input line: the history's text area holds two lines, give or take
    // part of one, and the drawing keeps most of the window.
    const auto* history = m_window->commandLine()->findChild<QPlainTextEdit*>();
    ASSERT_NE(history, nullptr);
    const double lines = history->viewport()->height() / double(history->fontMetrics().lineSpacing());
    EXPECT_GE(lines, 1.5);
    EXPECT_LE(lines, 3.0);
    EXPECT_GT(view()->height(), m_window->height() / 2);
}

TEST_F(DesktopWindow, OpensACorpusDrawingWithItsLayoutTabs) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::filesystem::path drawing = quelto::testing::corpusFile("generated/all_entities_R2018.dxf");
    ASSERT_TRUE(m_window->openDrawing(QString::fromStdString(drawing.string())));
    EXPECT_TRUE(m_window->windowTitle().startsWith(QStringLiteral("all_entities_R2018.dxf")));
    EXPECT_FALSE(m_window->isDrawingModified());
    ASSERT_EQ(m_window->layoutTabs()->count(), 2);
    EXPECT_EQ(m_window->layoutTabs()->tabText(0), QStringLiteral("Model"));
    EXPECT_EQ(m_window->layoutTabs()->tabText(1), QStringLiteral("布局1"));
    const std::size_t modelEntities = view()->indexOf(view()->currentSpace()).entries().size();
    EXPECT_GT(modelEntities, 20U);
    m_window->layoutTabs()->setCurrentIndex(1);
    EXPECT_NE(view()->currentSpace(), document()->database()->modelSpaceId());
    // Window selection over the whole layout takes its entities, not model space's.
    const QRectF extents = view()->indexOf(view()->currentSpace()).extents();
    drag(extents.topLeft() - QPointF(1, 1), extents.bottomRight() + QPointF(1, 1));
    EXPECT_FALSE(selected().empty());
    for (const AcDbObjectId& id : document()->editor().pickFirst) {
        const AcDbObject* object = document()->database()->peekObject(id);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->ownerId(), view()->currentSpace());
    }
}

} // namespace
