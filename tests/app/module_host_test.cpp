// The host side of modules, driven the way a module drives it: loading and unloading a real module
// file, its command in the command stack, its context menu, and the refusals of what is no module.

#include "cad/app/command_processor.h"
#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/document_manager.h"
#include "cad/app/module_manager.h"
#include "cad/db/curve_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

using cad::app::CommandProcessor;
using cad::app::ModuleManager;

void addLine(AcDbDatabase& database, const wchar_t* layer, double x) {
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(space, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 1, 0));
    line->setLayer(layer);
    ASSERT_EQ(space->appendAcDbEntity(line), Acad::eOk);
    line->close();
    space->close();
}

class ModuleHost : public testing::Test {
protected:
    void SetUp() override {
        CommandProcessor::instance().registerHostCommands();
        AcApDocument* document = acDocManager->newDocument();
        addLine(*document->database(), L"0", 0);
        addLine(*document->database(), L"0", 5);
        addLine(*document->database(), L"WALL", 10);
    }
    void TearDown() override {
        ModuleManager::instance().unloadAll();
        acDocManager->closeAll();
    }

    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_scope{m_commandLine};
};

TEST_F(ModuleHost, LoadedModuleCommandRunsUntilTheModuleIsUnloaded) {
    ASSERT_EQ(ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    EXPECT_NE(m_commandLine.transcript().find(L"test module loaded"), std::wstring::npos);
    ASSERT_NE(acedRegCmds->lookupLocalCmd(L"HELLO"), nullptr);

    // Local name in any case; the selection prompt takes ALL and Enter; the filter keeps layer "0".
    m_commandLine.queueLine(L"ALL");
    m_commandLine.queueLine(L"");
    EXPECT_TRUE(CommandProcessor::instance().execute(L"hello"));
    EXPECT_NE(m_commandLine.transcript().find(L"HELLO found 2"), std::wstring::npos);

    // The global name with its underscore, and the pick-first set taken without a prompt.
    m_commandLine.clear();
    ads_name all;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, all), RTNORM);
    ASSERT_EQ(acedSSSetFirst(all, all), RTNORM);
    acedSSFree(all);
    EXPECT_TRUE(CommandProcessor::instance().execute(L"_QTEST_HELLO"));
    EXPECT_EQ(m_commandLine.transcript().find(L"Select objects"), std::wstring::npos);
    EXPECT_NE(m_commandLine.transcript().find(L"HELLO found 2"), std::wstring::npos);

    m_commandLine.clear();
    ASSERT_EQ(ModuleManager::instance().unload("quelto_test_module.so"), std::nullopt);
    EXPECT_EQ(acedRegCmds->lookupLocalCmd(L"HELLO"), nullptr);
    EXPECT_FALSE(CommandProcessor::instance().execute(L"HELLO"));
    EXPECT_EQ(m_commandLine.transcript(),
              L"test module unloaded\nUnknown command \"HELLO\".  Press F1 for help.\n");
}

TEST_F(ModuleHost, ModuleHearsOfDrawingsOpenAtLoadAndOfEveryClosingDrawing) {
    AcApDocument* first = acDocManager->curDocument();
    first->setPath("first.dxf");
    AcApDocument* second = acDocManager->newDocument();
    second->setPath("second.dxf");
    ASSERT_EQ(ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    const auto messages = reinterpret_cast<const wchar_t* (*)()>(dlsym(
        ModuleManager::instance().findByName("quelto_test_module.so")->library, "testModuleDrawingMessages"));
    ASSERT_NE(messages, nullptr);
    EXPECT_STREQ(messages(), L"+first.dxf +second.dxf ");
    EXPECT_EQ(acDocManager->curDocument(), second);

    // A drawing that is not the current one closes in its own name; the current one stays.
    acDocManager->closeDocument(first);
    EXPECT_STREQ(messages(), L"+first.dxf +second.dxf -first.dxf ");
    EXPECT_EQ(acDocManager->curDocument(), second);
    acDocManager->closeAll();
    EXPECT_STREQ(messages(), L"+first.dxf +second.dxf -first.dxf -second.dxf ");
}

TEST_F(ModuleHost, CommandCallTakesSelectionSetsAndEntityNamesWherePromptsAskForObjects) {
    ads_name onZero;
    resbuf* filter = acutBuildList(8, L"0", 0);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, filter, onZero), RTNORM);
    acutRelRb(filter);
    ASSERT_EQ(acedCommand(RTSTR, L"_.ERASE", RTPICKS, onZero, RTSTR, L"", RTNONE), RTNORM);
    acedSSFree(onZero);
    EXPECT_NE(m_commandLine.transcript().find(L"2 found, 2 total\nSelect objects: \n2 erased"),
              std::wstring::npos)
        << testing::PrintToString(m_commandLine.transcript());

    ads_name wall;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, wall), RTNORM);
    ads_name wallLine;
    ASSERT_EQ(acedSSName(wall, 0, wallLine), RTNORM);
    acedSSFree(wall);
    ASSERT_EQ(acedCommand(RTSTR, L"._erase", RTENAME, wallLine, RTSTR, L"", RTNONE), RTNORM);
    ads_name none;
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, none), RTERROR);
    // A name that no longer stands for anything is refused before the command runs.
    const ads_name stale = {0, 0};
    EXPECT_EQ(acedCommand(RTSTR, L"ERASE", RTPICKS, stale, RTNONE), RTERROR);
}

TEST_F(ModuleHost, PickFirstSetReachesOnlyPickSetCommandsWhilePickfirstIsOn) {
    ASSERT_EQ(ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    const auto selectAll = [] {
        ads_name all;
        ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, all), RTNORM);
        ASSERT_EQ(acedSSSetFirst(all, nullptr), RTNORM);
        acedSSFree(all);
    };
    cad::ed::EditorState& editor = acDocManager->curDocument()->editor();
    // A command not registered for it starts with nothing selected; a transparent one keeps it.
    selectAll();
    m_commandLine.queueLine(L"");
    EXPECT_TRUE(CommandProcessor::instance().execute(L"ZOOM"));
    EXPECT_EQ(editor.pickFirst.size(), 3u);
    m_commandLine.queueLine(L"");
    EXPECT_TRUE(CommandProcessor::instance().execute(L"SELECT"));
    EXPECT_TRUE(editor.pickFirst.empty());

    // With PICKFIRST off even a pick-set command asks for its objects.
    selectAll();
    const resbuf off = {nullptr, RTSHORT, {.rint = 0}};
    ASSERT_EQ(acedSetVar(L"PICKFIRST", &off), RTNORM);
    m_commandLine.clear();
    m_commandLine.queueLine(L"L");
    m_commandLine.queueLine(L"");
    EXPECT_TRUE(CommandProcessor::instance().execute(L"HELLO"));
    const resbuf on = {nullptr, RTSHORT, {.rint = 1}};
    ASSERT_EQ(acedSetVar(L"PICKFIRST", &on), RTNORM);
    EXPECT_NE(m_commandLine.transcript().find(L"Select objects: L\n"), std::wstring::npos);
    EXPECT_NE(m_commandLine.transcript().find(L"HELLO found 0"), std::wstring::npos);
    EXPECT_TRUE(editor.pickFirst.empty());
}

TEST_F(ModuleHost, ModuleContextMenuQueuesItsCommandAsTypedInput) {
    ASSERT_EQ(ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    const auto menus = cad::app::applicableContextMenus(nullptr);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].title, L"Test");
    const auto* menu = static_cast<const cad::app::MenuItem*>(menus[0].context->getMenuContext(nullptr, {}));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->children.size(), 1u);
    menus[0].context->onCommand(menu->children[0].commandId);
    const auto queued = acDocManager->takeQueuedLine();
    ASSERT_TRUE(queued.has_value());
    EXPECT_EQ(queued->text, L"HELLO");
    EXPECT_FALSE(acDocManager->takeQueuedLine().has_value());
    // An object menu for entities was never registered.
    EXPECT_TRUE(cad::app::applicableContextMenus(AcDbLine::desc()).empty());
    ASSERT_EQ(ModuleManager::instance().unload("quelto_test_module"), std::nullopt);
    EXPECT_EQ(cad::app::registeredContextMenuCount(), 0u);
}

TEST_F(ModuleHost, RefusesWhatIsNoModuleWithTheReason) {
    struct Case {
        const char* path;
        const char* reason;
    };
    const Case cases[] = {
        {"/nonexistent/module.so", "no such file"},
        {QUELTO_TEST_NOT_A_MODULE, "exports no acrxEntryPoint"},
        {QUELTO_TEST_MODULE_WRONG_VERSION, "built for interface version 99, this host has version 17"},
    };
    for (const Case& row : cases) {
        const std::optional<std::string> error = ModuleManager::instance().load(row.path);
        ASSERT_TRUE(error.has_value()) << row.path;
        EXPECT_NE(error->find(row.reason), std::string::npos) << *error;
        EXPECT_NE(error->find(row.path), std::string::npos) << *error;
    }
    EXPECT_TRUE(ModuleManager::instance().loadedNames().empty());
    ASSERT_EQ(ModuleManager::instance().load(QUELTO_TEST_MODULE), std::nullopt);
    EXPECT_NE(ModuleManager::instance().load(QUELTO_TEST_MODULE)->find("already loaded"), std::string::npos);
    EXPECT_NE(ModuleManager::instance().unload("other.so")->find("not loaded"), std::string::npos);
}

TEST(CommandStack, FindsCommandsAsTypedAndForgetsRemovedOnes) {
    AcEdCommandStack stack;
    const auto function = [] {};
    EXPECT_EQ(stack.addCommand(L"GROUPA", L"GLOBAL_ONE", L"ONE", ACRX_CMD_MODAL, function), Acad::eOk);
    EXPECT_EQ(stack.addCommand(L"groupa", L"global_one", L"UNO", ACRX_CMD_MODAL, function),
              Acad::eDuplicateKey);
    EXPECT_EQ(stack.addCommand(L"GROUPB", L"GLOBAL_TWO", nullptr, ACRX_CMD_USEPICKSET, function), Acad::eOk);
    EXPECT_EQ(stack.addCommand(L"GROUPB", L"", L"X", ACRX_CMD_MODAL, function), Acad::eInvalidInput);
    struct Lookup {
        const wchar_t* typed;
        const wchar_t* global;
    };
    const Lookup lookups[] = {
        {L"one", L"GLOBAL_ONE"},
        {L"ONE", L"GLOBAL_ONE"},
        {L"_global_one", L"GLOBAL_ONE"},
        {L"global_one", L"GLOBAL_ONE"},
        {L"GLOBAL_TWO", L"GLOBAL_TWO"},
        {L"_ONE", nullptr},
        {L"THREE", nullptr},
    };
    for (const Lookup& row : lookups) {
        const AcEdCommand* command = stack.lookupTyped(row.typed);
        if (row.global == nullptr) {
            EXPECT_EQ(command, nullptr) << testing::PrintToString(std::wstring(row.typed));
        } else {
            ASSERT_NE(command, nullptr) << testing::PrintToString(std::wstring(row.typed));
            EXPECT_STREQ(command->globalName(), row.global);
        }
    }
    EXPECT_EQ(stack.removeCmd(L"GROUPA", L"GLOBAL_ONE"), Acad::eOk);
    EXPECT_EQ(stack.lookupTyped(L"ONE"), nullptr);
    EXPECT_EQ(stack.removeCmd(L"GROUPA", L"GLOBAL_ONE"), Acad::eKeyNotFound);
    EXPECT_EQ(stack.removeGroup(L"GROUPB"), Acad::eOk);
    EXPECT_TRUE(stack.commands().empty());
}

} // namespace
