// Edits and grouping run as commands of the host: one U gives back a drawing that saves exactly as it
// did before the command, REDO the edited one, and UNDO with a count goes back several commands, across
// a save.
#include "edit_drawing.h"
#include "platform/code_page.h"
#include "quelto/actions/extend_command.h"
#include "quelto/actions/qlt_group_operate.h"

#include <functional>
#include <string>

namespace {

std::function<void()> g_commandBody;

void testCommand() {
    g_commandBody();
}

class EditUndo : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_document = acDocManager->openDocument(actiontest::editKindsPath(), error);
        ASSERT_NE(m_document, nullptr) << error;
        cad::app::CommandProcessor::instance().registerHostCommands();
        acedRegCmds->addCommand(L"QUELTO_ACTIONS_TEST", L"TESTEDIT", L"TESTEDIT", ACRX_CMD_MODAL,
                                testCommand);
    }
    void TearDown() override {
        acedRegCmds->removeGroup(L"QUELTO_ACTIONS_TEST");
        acDocManager->closeDocument(m_document);
    }

    std::string saved() const {
        const AcDbDatabase& database = *m_document->database();
        cad::dxf::WriterOptions options;
        options.acadVersion = database.version();
        options.codec = database.textCodec();
        cad::dxf::BufferTagWriter writer(options);
        database.writeDxfTags(writer);
        return writer.takeBytes();
    }
    AcDbObjectIdArray allEntities() const {
        const AcDbDatabase& database = *m_document->database();
        const std::vector<AcDbObjectId>& ids =
            AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()))->entityIds();
        return AcDbObjectIdArray(ids.begin(), ids.end());
    }
    void run(const std::wstring& typed) { cad::app::CommandProcessor::instance().execute(typed); }

    AcApDocument* m_document = nullptr;
    actiontest::ScopedRegistry m_registry;
    cad::ed::QueuedCommandLine m_output;
    cad::ed::ScopedCommandLine m_outputScope{m_output};
};

TEST_F(EditUndo, OneUTakesBackEachEditAndGroupingAndRedoBringsItAgain) {
    struct Row {
        const char* name;
        std::function<void(const AcDbObjectIdArray&)> body;
    };
    auto edit = [](int doType) {
        return [doType](const AcDbObjectIdArray& ids) {
            CExtendCommand command;
            command.m_bHasCmd = 1;
            command.m_bHasPrompt = 0;
            command.m_nDoType = doType;
            command.m_nPosIndex = 2;
            command.m_dMoveX = 3.0;
            command.m_dScaleA = 0.5;
            command.m_dRoateA = 33.0;
            command.m_dAxiusA = 20.0;
            command.SetIdArray(ids);
            command.Run();
        };
    };
    auto group = [](int rule, const wchar_t* name) {
        return [rule, name](const AcDbObjectIdArray& ids) { CQLTGroupOperate().Apply(name, rule, ids); };
    };
    const std::vector<Row> rows = {
        {"erase", edit(CExtendCommand::kErase)},   {"move", edit(CExtendCommand::kMove)},
        {"scale", edit(CExtendCommand::kScale)},   {"rotate", edit(CExtendCommand::kRotate)},
        {"mirror", edit(CExtendCommand::kMirror)}, {"explode", edit(CExtendCommand::kExplode)},
        {"replace group", group(2, L"门窗")},      {"new group", group(4, L"新组")},
        {"remove from group", group(5, L"门窗")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string before = saved();
        const AcDbObjectIdArray ids = allEntities();
        g_commandBody = [&] { row.body(ids); };
        run(L"TESTEDIT");
        const std::string after = saved();
        ASSERT_NE(after, before);
        run(L"U");
        EXPECT_TRUE(after != saved() && saved() == before);
        run(L"REDO");
        EXPECT_TRUE(saved() == after);
        run(L"U");
        EXPECT_TRUE(saved() == before);
    }
    EXPECT_NE(m_output.transcript().find(L"TESTEDIT\n"), std::wstring::npos);
}

TEST_F(EditUndo, UndoWithACountGoesBackSeveralCommandsAcrossASave) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quelto_edit_undo.dxf";
    std::vector<std::string> states = {saved()};
    for (int doType : {CExtendCommand::kMove, CExtendCommand::kMirror, CExtendCommand::kExplode}) {
        g_commandBody = [&, doType] {
            CExtendCommand command;
            command.m_bHasCmd = 1;
            command.m_bHasPrompt = 0;
            command.m_nDoType = doType;
            command.m_dMoveY = -2.0;
            command.m_dAxiusA = 90.0;
            command.SetIdArray(allEntities());
            command.Run();
        };
        run(L"TESTEDIT");
        states.push_back(saved());
        m_output.queueLine(platform::utf8ToWide(file.string()));
        run(L"SAVEAS");
    }
    m_output.queueLine(L"2");
    run(L"UNDO");
    EXPECT_TRUE(saved() == states[1]);
    run(L"REDO");
    EXPECT_TRUE(saved() == states[2]);
    m_output.queueLine(L"");
    run(L"UNDO");
    EXPECT_TRUE(saved() == states[1]);
    m_output.queueLine(L"9");
    run(L"UNDO");
    EXPECT_TRUE(saved() == states[0]);
    EXPECT_NE(m_output.transcript().find(L"Everything has been undone\n"), std::wstring::npos);
    // Commands that change nothing (a save) leave the history alone.
    run(L"REDO");
    m_output.queueLine(platform::utf8ToWide(file.string()));
    run(L"SAVEAS");
    run(L"REDO");
    EXPECT_TRUE(saved() == states[2]);
    std::filesystem::remove(file);
}

} // namespace
