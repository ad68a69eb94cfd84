// The batch edit and the grouping run by a module in the console host: the saved drawing, reopened in the
// console host and read by ezdxf, holds the mirrored geometry and the new group's members; after U the
// group is gone again while the earlier edit stays.
#include "edit_drawing.h"

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status = -1;
    std::string output;
};

ProgramRun runCommand(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, read);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The console host on the drawing with the test module loaded, running `script` from `folder`.
ProgramRun runConsole(const fs::path& folder, const fs::path& drawing, const std::string& script) {
    std::ofstream(folder / "test.scr") << script;
    return runCommand("cd '" + folder.string() + "' && '" + QUELTO_CAD_PROGRAM + "' --console '" +
                      drawing.string() + "' --load '" + QUELTO_ACTIONS_TEST_MODULE + "' --script test.scr");
}

ProgramRun ezdxfCheck(const fs::path& drawing) {
    return runCommand("/usr/bin/python3 '" + std::string(QUELTO_SOURCE_DIR) +
                      "/tests/actions/ezdxf_edit_check.py' '" + drawing.string() + "'");
}

TEST(EditConsole, EditedAndGroupedDrawingReopensInTheConsoleHostAndInEzdxf) {
    const fs::path folder = fs::temp_directory_path() / ("quelto_edit_console_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    actiontest::ScopedRegistry registry;

    const ProgramRun edit =
        runConsole(folder, actiontest::editKindsPath(),
                   "QLTMIRROR\nQLTGROUP\nSAVEAS\nedited.dxf\nU\nSAVEAS\nungrouped.dxf\nQUIT\n");
    ASSERT_EQ(edit.status, 0) << edit.output;
    EXPECT_NE(edit.output.find("有效选择2个,编辑实体2个\n"), std::string::npos) << edit.output;
    EXPECT_NE(edit.output.find("Command: U\nQLTGROUP\n"), std::string::npos) << edit.output;

    // The line (8A) from (0,0) to (10,0) and the arc (8B) about (20,0), mirrored in y = x.
    const ProgramRun reopened = runConsole(folder, folder / "edited.dxf", "QLTLISTGROUP\nLIST\n8A\n\nQUIT\n");
    ASSERT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_NE(reopened.output.find("编辑组: 8A 8B\n"), std::string::npos) << reopened.output;
    // The end point's X may come out as a negative zero.
    EXPECT_TRUE(reopened.output.find("(11 . (0 10 0))") != std::string::npos ||
                reopened.output.find("(11 . (-0 10 0))") != std::string::npos)
        << reopened.output;

    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) {
        GTEST_SKIP() << "ezdxf is not installed";
    }
    const std::string mirrored = "8A LINE 0.000000 0.000000 0.000000 0.000000 10.000000 0.000000\n"
                                 "8B ARC 0.000000 20.000000 5.000000\n";
    const ProgramRun edited = ezdxfCheck(folder / "edited.dxf");
    ASSERT_EQ(edited.status, 0) << edited.output;
    EXPECT_EQ(edited.output, mirrored + "GROUP 门窗 8A 8B\nGROUP 编辑组 8A 8B\n");
    const ProgramRun ungrouped = ezdxfCheck(folder / "ungrouped.dxf");
    ASSERT_EQ(ungrouped.status, 0) << ungrouped.output;
    EXPECT_EQ(ungrouped.output, mirrored + "GROUP 门窗 8A 8B\n");
    fs::remove_all(folder);
}

} // namespace
