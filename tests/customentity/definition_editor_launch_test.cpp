// Launching the definition editor from the install location: the installation error without a location
// or without the editor there, a detached start of the editor that is there, and without a location the
// editor found beside the module, where an installation and the build tree put it.

#include "customentity_test_support.h"
#include "platform/message_box.h"
#include "quelto/customentity/definition_editor_launch.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using customentity_test::IsolatedSettings;
using customentity_test::writeBytes;

namespace {

void setLocation(const IsolatedSettings& settings, const std::filesystem::path& location) {
    writeBytes(settings.machineStore(), "Windows Registry Editor Version 5.00\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统]\n"
                                        "\"Location\"=\"" +
                                            location.string() + "\"\n");
}

TEST(DefinitionEditor, AMissingLocationOrEditorIsAnInstallationErrorAndAPresentEditorIsStarted) {
    const IsolatedSettings settings;
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scope(boxes);
    const std::filesystem::path bin = settings.folder() / "bin";
    std::filesystem::create_directories(bin);

    EXPECT_EQ(CFreedomEntityMangage::RunDefinitionEditor(), FALSE);
    setLocation(settings, bin);
    EXPECT_EQ(CFreedomEntityMangage::RunDefinitionEditor(), FALSE);
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const platform::MessageBoxRequest& box : boxes.shown()) {
        EXPECT_EQ(box.text, L"没有正确安装翠岭轩快速选择系统或系统安装信息丢失！");
        EXPECT_EQ(box.caption, L"安装错误");
        EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
    }

    // A stand-in editor that leaves a mark; the launch does not wait for it.
    const std::filesystem::path mark = settings.folder() / "started";
    writeBytes(bin / CFreedomEntityMangage::EditorProgramName, "#!/bin/sh\ntouch '" + mark.string() + "'\n");
    ::chmod((bin / CFreedomEntityMangage::EditorProgramName).c_str(), 0755);
    boxes.clear();
    EXPECT_EQ(CFreedomEntityMangage::RunDefinitionEditor(), TRUE);
    EXPECT_TRUE(boxes.shown().empty());
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(mark); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(mark));
}

TEST(DefinitionEditor, WithoutALocationItIsFoundBesideTheModuleInstalledOrBuilt) {
    using quelto::customentity::findEditorBesideModule;
    const IsolatedSettings settings;
    const std::filesystem::path prefix = settings.folder() / "prefix";
    std::filesystem::create_directories(prefix / "lib");
    std::filesystem::create_directories(prefix / "bin");
    const std::filesystem::path editor = prefix / "bin" / CFreedomEntityMangage::EditorProgramName;
    writeBytes(editor, "#!/bin/sh\n");
    EXPECT_TRUE(findEditorBesideModule(prefix / "lib" / "libquelto.so").empty()) << "not executable yet";
    ::chmod(editor.c_str(), 0755);
    EXPECT_EQ(findEditorBesideModule(prefix / "lib" / "libquelto.so"), editor);
    EXPECT_TRUE(findEditorBesideModule(prefix / "lib" / "deeper" / "libquelto.so").empty());

    EXPECT_EQ(findEditorBesideModule(QUELTO_MODULE_FILE), std::filesystem::canonical(QUELTO_DOM_PROGRAM));
    // Linked into this test program, the module's code is found in the program's file.
    EXPECT_EQ(quelto::customentity::moduleFile(), std::filesystem::canonical("/proc/self/exe"));
}

} // namespace
