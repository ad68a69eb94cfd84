// The real module in the real host: quelto-cad --console loading libquelto.so from the command line or
// from the start-up list, the banner on the transcript, QS gone after ARX U; and, in process, the
// right-click entries registered exactly as the settings ask.
#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/document_manager.h"
#include "cad/app/module_manager.h"
#include "cad/app/startup_modules.h"
#include "cad/db/curve_entities.h"
#include "cad/ed/command_line.h"
#include "support/module_settings.h"
#include "support/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const std::string kStars(71, '*');
const std::string kBanner = "\n" + kStars + "\n" + kStars +
                            "\n**翠岭轩快速选择系统3.85a已经加载，启动命令QS            **\n" + kStars +
                            "\n" + kStars + "\n";

using quelto::testing::writeModuleSetting;

// Settings and the start-up list live in a private folder for the whole test.
class RealModule : public testing::Test {
protected:
    void SetUp() override {
        setenv("QUELTO_REGISTRY_DIR", m_folder.path().c_str(), 1);
        setenv("QUELTO_COMMON_APPDATA", m_folder.path().c_str(), 1);
        writeModuleSetting(L"InitShow", 0);
    }
    void TearDown() override {
        unsetenv("QUELTO_REGISTRY_DIR");
        unsetenv("QUELTO_COMMON_APPDATA");
    }

    // quelto-cad --console with the arguments and the script; standard output only.
    std::string runConsole(const std::string& arguments, const std::string& script) {
        const fs::path scriptFile = m_folder.path() / "run.scr";
        std::ofstream(scriptFile) << script;
        const std::string command = "'" + std::string(QUELTO_CAD_PROGRAM) + "' --console --script '" +
                                    scriptFile.string() + "' " + arguments + " 2>/dev/null </dev/null";
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t read = 0;
            while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
                output.append(buffer, read);
            }
            pclose(pipe);
        }
        return output;
    }

    quelto::testing::TemporaryFolder m_folder{"quelto-module-entry"};
};

TEST_F(RealModule, ConsoleLoadPrintsTheBannerFirstAndUnloadLeavesQsUnknown) {
    const std::string name = fs::path(QUELTO_MODULE).filename().string();
    const std::string output =
        runConsole("--load '" + std::string(QUELTO_MODULE) + "'", "ARX\n?\nARX\nU\n" + name + "\nQS\n");
    EXPECT_EQ(output.substr(0, kBanner.size()), kBanner);
    EXPECT_NE(output.find("Unloaded " + name + "\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Command: QS\nUnknown command \"QS\"."), std::string::npos) << output;
}

TEST_F(RealModule, StartupListLoadsTheModuleOnceUnlessTurnedOff) {
    std::string error;
    ASSERT_TRUE(cad::app::writeStartupModules(cad::app::startupModulesFile(), {QUELTO_MODULE}, error))
        << error;
    const auto bannerCount = [](const std::string& output) {
        std::size_t count = 0;
        for (std::size_t at = output.find(kBanner); at != std::string::npos;
             at = output.find(kBanner, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(bannerCount(runConsole("", "ARX\n?\n")), 1U);
    // Named again on the command line, the same file is not loaded twice.
    EXPECT_EQ(bannerCount(runConsole("--load '" + std::string(QUELTO_MODULE) + "'", "")), 1U);
    EXPECT_EQ(bannerCount(runConsole("--no-startup", "")), 0U);

    // STARTUPSUITE edits the list: removing the module by its file name empties it.
    const std::string name = fs::path(QUELTO_MODULE).filename().string();
    runConsole("--no-startup", "STARTUPSUITE\nR\n" + name + "\n");
    const std::optional<std::vector<std::string>> left =
        cad::app::readStartupModules(cad::app::startupModulesFile(), error);
    ASSERT_TRUE(left.has_value()) << error;
    EXPECT_TRUE(left->empty());
}

TEST_F(RealModule, RightClickEntriesFollowTheSettingsAndGoWithTheModule) {
    // The desktop host has Qt loaded before any module; here the module brings it, and unloading Qt's
    // libraries with the module would lose their own start-up allocations. Keep them, as that host does.
    ASSERT_NE(dlopen("libQt6Widgets.so.6", RTLD_NOW | RTLD_NODELETE), nullptr) << dlerror();
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    const std::size_t before = cad::app::registeredContextMenuCount();
    for (const auto& [nullMenu, objectMenu] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
        writeModuleSetting(L"AcadNullMenu", nullMenu);
        writeModuleSetting(L"AcadObjectMenu", objectMenu);
        ASSERT_EQ(cad::app::ModuleManager::instance().load(QUELTO_MODULE), std::nullopt);
        EXPECT_NE(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
        const std::vector<cad::app::ContextMenuEntry> defaults = cad::app::applicableContextMenus(nullptr);
        ASSERT_EQ(defaults.size(), static_cast<std::size_t>(nullMenu));
        if (nullMenu == 1) {
            EXPECT_EQ(defaults[0].title, L"翠岭轩");
        }
        EXPECT_EQ(cad::app::applicableContextMenus(AcDbCircle::desc()).size(),
                  static_cast<std::size_t>(objectMenu));
        EXPECT_EQ(cad::app::registeredContextMenuCount(), before + nullMenu + objectMenu);
        ASSERT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_MODULE), std::nullopt);
        EXPECT_EQ(cad::app::registeredContextMenuCount(), before);
        EXPECT_EQ(acedRegCmds->lookupLocalCmd(L"QS"), nullptr);
    }
}

} // namespace
