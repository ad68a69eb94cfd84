// The start-up module list: how its file is read, STARTUPSUITE editing it, and the host loading what it
// lists while skipping what cannot be loaded.
#include "cad/app/command_processor.h"
#include "cad/app/module_manager.h"
#include "cad/app/startup_modules.h"
#include "cad/ed/command_line.h"
#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using cad::app::ModuleManager;

class StartupModules : public testing::Test {
protected:
    void SetUp() override {
        setenv("QUELTO_REGISTRY_DIR", m_folder.path().c_str(), 1);
        cad::app::CommandProcessor::instance().registerHostCommands();
    }
    void TearDown() override {
        ModuleManager::instance().unloadAll();
        unsetenv("QUELTO_REGISTRY_DIR");
    }
    std::vector<std::string> list() {
        std::string error;
        const auto modules = cad::app::readStartupModules(cad::app::startupModulesFile(), error);
        EXPECT_TRUE(modules.has_value()) << error;
        return modules.value_or(std::vector<std::string>());
    }

    quelto::testing::TemporaryFolder m_folder{"quelto-startup"};
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_scope{m_commandLine};
};

TEST_F(StartupModules, ListFileSkipsCommentsAndBlanksAndTakesRelativePathsFromItsFolder) {
    EXPECT_EQ(cad::app::startupModulesFile(), m_folder.path() / "startup-modules");
    EXPECT_TRUE(list().empty()) << "a missing list is an empty one";
    std::ofstream(cad::app::startupModulesFile())
        << "# comment\n\n  /opt/a.so \r\n\tmodules/b.so\n#/not/this.so\n";
    EXPECT_EQ(list(), (std::vector<std::string>{"/opt/a.so", (m_folder.path() / "modules/b.so").string()}));

    std::string error;
    EXPECT_FALSE(cad::app::readStartupModules(m_folder.path(), error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST_F(StartupModules, StartupSuiteAddsExistingFilesOnceAndRemovesByName) {
    const std::string module = QUELTO_TEST_MODULE;
    const std::string name = fs::path(module).filename().string();
    const std::pair<std::vector<std::wstring>, std::vector<std::string>> steps[] = {
        {{L"A", std::wstring(module.begin(), module.end())}, {module}},
        {{L"ADD", std::wstring(module.begin(), module.end())}, {module}},
        {{L"A", L"/no/such/module.so"}, {module}},
        {{L"X"}, {module}},
        {{L"R", L"other.so"}, {module}},
        {{L"Remove", std::wstring(name.begin(), name.end())}, {}},
    };
    for (const auto& [answers, expected] : steps) {
        for (const std::wstring& answer : answers) {
            m_commandLine.queueLine(answer);
        }
        EXPECT_TRUE(cad::app::CommandProcessor::instance().execute(L"STARTUPSUITE"));
        EXPECT_EQ(list(), expected) << std::string(answers[0].begin(), answers[0].end());
    }
    for (const wchar_t* message :
         {L"Added ", L"is a start-up module already", L"Cannot add /no/such/module.so", L"Invalid option.",
          L"No start-up module other.so", L"Removed "}) {
        EXPECT_NE(m_commandLine.transcript().find(message), std::wstring::npos)
            << m_commandLine.transcript().size();
    }
}

TEST_F(StartupModules, HostLoadsWhatItCanAndReportsTheRest) {
    std::string error;
    ASSERT_TRUE(cad::app::writeStartupModules(cad::app::startupModulesFile(),
                                              {QUELTO_TEST_NOT_A_MODULE, QUELTO_TEST_MODULE}, error))
        << error;
    std::ostringstream errors;
    const std::vector<std::string> loaded = cad::app::loadStartupModules(errors);
    EXPECT_EQ(loaded, std::vector<std::string>{QUELTO_TEST_MODULE});
    EXPECT_NE(errors.str().find("start-up module skipped"), std::string::npos);
    EXPECT_NE(errors.str().find(fs::path(QUELTO_TEST_NOT_A_MODULE).filename().string()), std::string::npos)
        << errors.str();
    EXPECT_TRUE(cad::app::loadedAtStartup(QUELTO_TEST_MODULE, loaded));
    EXPECT_FALSE(cad::app::loadedAtStartup(QUELTO_TEST_MODULE_WRONG_VERSION, loaded));
    // A second pass finds the module loaded and does not load it again.
    EXPECT_TRUE(cad::app::loadStartupModules(errors).empty());
}

} // namespace
