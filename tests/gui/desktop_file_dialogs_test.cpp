// APPLOAD and ARX Load in the desktop host: a file dialog for modules over the window, loading what is
// chosen and nothing on Cancel; without the desktop's dialogs the name is read from the command line.
#include "cad/app/command_processor.h"
#include "cad/app/module_manager.h"
#include "cad/ed/system_variables.h"
#include "cad/gui/desktop_file_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kModuleName = std::filesystem::path(QUELTO_TEST_MODULE).filename().string();

bool moduleLoaded() {
    const std::vector<std::string> names = cad::app::ModuleManager::instance().loadedNames();
    return std::find(names.begin(), names.end(), kModuleName) != names.end();
}

// Answers the next modal file dialog once it runs: records its title and filters, then picks the
// file or cancels.
struct DialogAnswer {
    QString title;
    QStringList filters;
    bool seen = false;

    void arm(const QString& file) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [this, timer, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            seen = true;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            }
            timer->deleteLater();
        });
        timer->start(10);
    }
};

} // namespace

TEST(DesktopFileDialogs, AppLoadAndArxLoadChooseTheModuleInAFileDialog) {
    const struct {
        const wchar_t* command;
        std::vector<std::wstring> typed;
        QString chosen;
    } rows[] = {
        {L"APPLOAD", {}, QStringLiteral(QUELTO_TEST_MODULE)},
        {L"ARX", {L"L"}, QStringLiteral(QUELTO_TEST_MODULE)},
        {L"APPLOAD", {}, QString()},
    };
    const cad::gui::ScopedDesktopFileDialogs dialogs;
    for (const auto& row : rows) {
        SCOPED_TRACE(QString::fromWCharArray(row.command).toStdString() + " " + row.chosen.toStdString());
        cad::ed::QueuedCommandLine commandLine;
        const cad::ed::ScopedCommandLine scope(commandLine);
        for (const std::wstring& line : row.typed) {
            commandLine.queueLine(line);
        }
        DialogAnswer answer;
        answer.arm(row.chosen);
        cad::app::CommandProcessor::instance().execute(row.command);

        ASSERT_TRUE(answer.seen);
        EXPECT_EQ(answer.title, "Load Module");
        EXPECT_TRUE(answer.filters.contains("Modules (*.so)"));
        EXPECT_EQ(moduleLoaded(), !row.chosen.isEmpty());
        if (moduleLoaded()) {
            EXPECT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_TEST_MODULE), std::nullopt);
        }
    }
}

TEST(DesktopFileDialogs, WithFileDiaOffATildeAtThePromptOpensTheDialog) {
    const cad::gui::ScopedDesktopFileDialogs dialogs;
    resbuf off{};
    off.restype = RTSHORT;
    off.resval.rint = 0;
    ASSERT_EQ(acedSetVar(L"FILEDIA", &off), RTNORM);
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    commandLine.queueLine(L"~");
    DialogAnswer answer;
    answer.arm(QStringLiteral(QUELTO_TEST_MODULE));
    cad::app::CommandProcessor::instance().execute(L"APPLOAD");
    EXPECT_TRUE(answer.seen);
    EXPECT_NE(commandLine.transcript().find(L"Module file name: "), std::wstring::npos);
    ASSERT_TRUE(moduleLoaded());
    EXPECT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_TEST_MODULE), std::nullopt);
}

TEST(DesktopFileDialogs, WithoutTheDesktopTheCommandLineGivesTheName) {
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    commandLine.queueLine(L"" QUELTO_TEST_MODULE);
    cad::app::CommandProcessor::instance().execute(L"APPLOAD");
    EXPECT_NE(commandLine.transcript().find(L"Module file name: "), std::wstring::npos);
    ASSERT_TRUE(moduleLoaded());
    EXPECT_EQ(cad::app::ModuleManager::instance().unload(QUELTO_TEST_MODULE), std::nullopt);
}
