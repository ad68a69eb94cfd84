// The console program end to end: a script that lists, selects by window, erases and saves a real
// drawing, the saved drawing read back, and the exit statuses of the failures a user meets first.

#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"
#include "support/test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status = -1;
    std::string output;
};

// Runs quelto-cad in `folder` with the arguments (already quoted for the shell), output and errors merged.
ProgramRun runProgram(const fs::path& folder, const std::string& arguments) {
    const std::string command = "cd '" + folder.string() + "' && '" + std::string(QUELTO_CAD_PROGRAM) + "' " +
                                arguments + " 2>&1 </dev/null";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
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

fs::path freshFolder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("quelto_console_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

struct SpaceCounts {
    std::size_t model = 0;
    std::size_t paper = 0;
};

SpaceCounts countEntities(const fs::path& path) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    EXPECT_TRUE(database.readDxf(path, error)) << error.toString();
    SpaceCounts counts;
    for (const AcDbObjectId& recordId : database.blockRecordIds()) {
        const auto* record = AcDbBlockTableRecord::cast(database.peekObject(recordId));
        if (record == nullptr || !(record->isLayout() || recordId == database.paperSpaceId() ||
                                   recordId == database.modelSpaceId())) {
            continue;
        }
        std::size_t live = 0;
        for (const AcDbObjectId& id : record->entityIds()) {
            live += id.isErased() ? 0 : 1;
        }
        (recordId == database.modelSpaceId() ? counts.model : counts.paper) += live;
    }
    return counts;
}

TEST(ConsoleHost, ScriptSelectsErasesAndSavesARealDrawing) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const fs::path drawing = quelto::testing::corpusFile("generated/all_entities_R2000.dxf");
    const fs::path folder = freshFolder("script");
    const SpaceCounts before = countEntities(drawing);
    ASSERT_GT(before.model, 0u);
    ASSERT_GT(before.paper, 0u);

    const ProgramRun run =
        runProgram(folder, "--console '" + drawing.string() + "' --script '" +
                               std::string(QUELTO_APP_TEST_DATA) + "/select_erase_save.scr'");
    ASSERT_EQ(run.status, 0) << run.output;
    // The transcript shows prompts with the script's answers, as typed.
    EXPECT_NE(run.output.find("Command: SELECT\nSelect objects: W\nSpecify first corner: -1e9,-1e9\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(
        run.output.find(std::to_string(before.model) + " found, " + std::to_string(before.model) + " total"),
        std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(std::to_string(before.model) + " erased"), std::string::npos) << run.output;

    // Everything of model space was inside the window; paper space was not the current space.
    const SpaceCounts after = countEntities(folder / "erased.dxf");
    EXPECT_EQ(after.model, 0u);
    EXPECT_EQ(after.paper, before.paper);
    fs::remove_all(folder);
}

TEST(ConsoleHost, ExitStatusTellsWhatWentWrong) {
    const fs::path folder = freshFolder("status");
    std::ofstream(folder / "broken.dxf") << "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nnot a number\n";
    std::ofstream(folder / "quit.scr") << "QUIT\n";
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"--console --script quit.scr", 0, ""},
        {"--bogus", 1, "usage"},
        {"--console --bogus", 1, "unknown option --bogus"},
        {"--console missing.dxf", 2, "cannot open drawing missing.dxf: no such file"},
        {"--console --script missing.scr", 2, "cannot read script missing.scr"},
        {"--console broken.dxf --script quit.scr", 3, "cannot open drawing broken.dxf"},
        {"--console --load missing.so --script quit.scr", 4, "missing.so"},
        {std::string("--console --load '") + QUELTO_TEST_NOT_A_MODULE + "' --script quit.scr", 4,
         "acrxEntryPoint"},
    };
    for (const Case& row : cases) {
        const ProgramRun run = runProgram(folder, row.arguments);
        EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(row.message), std::string::npos) << row.arguments << "\n" << run.output;
    }
    fs::remove_all(folder);
}

TEST(ConsoleHost, BlanksInScriptLinesEndAnswersAndCommandPrefixesResolve) {
    const fs::path folder = freshFolder("blanks");
    std::ofstream(folder / "two lines.dxf")
        << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
           "0\nLINE\n8\n0\n10\n2\n20\n0\n11\n3\n21\n1\n0\nENDSEC\n0\nEOF\n";
    // A file-name prompt takes its blanks; everywhere else a blank ends the answer as Enter does.
    std::ofstream(folder / "blanks.scr")
        << "SELECT W -10,-10 10,10 \n_.ERASE _P \nSAVEAS\nafter erase.dxf\nQSAVE\nQUIT\n";
    const ProgramRun run = runProgram(folder, "--console 'two lines.dxf' --script blanks.scr");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string expected[] = {
        "Command: SELECT\nSelect objects: W\nSpecify first corner: -10,-10\nSpecify opposite corner: 10,10\n"
        "2 found, 2 total\nSelect objects: \n",
        "Command: _.ERASE\nSelect objects: _P\n2 found, 2 total\nSelect objects: \n2 erased\n",
        "Save drawing as <two lines.dxf>: after erase.dxf\n",
        // The drawing now has a name in the working folder: QSAVE asks nothing.
        "Command: QSAVE\nSaved after erase.dxf\nCommand: QUIT\n",
    };
    std::size_t position = 0;
    for (const std::string& part : expected) {
        const std::size_t found = run.output.find(part, position);
        ASSERT_NE(found, std::string::npos) << "missing, in order: " << part << "\n" << run.output;
        position = found + part.size();
    }
    EXPECT_EQ(countEntities(folder / "after erase.dxf").model, 0u);
    fs::remove_all(folder);
}

TEST(ConsoleHost, ModuleCommandsAndMessageBoxAnswersComeFromTheScript) {
    const fs::path folder = freshFolder("module");
    std::ofstream(folder / "module.scr")
        << "hello\n*Cancel*\nARX\nU\nquelto_test_module\nHELLO\nSETVAR\nCMDECHO\n0\n"
           "CMDECHO\n\n";
    const ProgramRun run =
        runProgram(folder, std::string("--console --load '") + QUELTO_TEST_MODULE + "' --script module.scr");
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string expected[] = {
        "test module loaded\n",
        "Command: hello\nSelect objects: *Cancel*\nHELLO found 0\n",
        "Module name: quelto_test_module\ntest module unloaded\nUnloaded quelto_test_module\n",
        "Command: HELLO\nUnknown command \"HELLO\".  Press F1 for help.\n",
        "Enter new value for CMDECHO <1>: 0\n",
        "Enter new value for CMDECHO <0>: \n",
    };
    std::size_t position = 0;
    for (const std::string& part : expected) {
        const std::size_t found = run.output.find(part, position);
        ASSERT_NE(found, std::string::npos) << "missing, in order: " << part << "\n" << run.output;
        position = found + part.size();
    }
    fs::remove_all(folder);
}

} // namespace
