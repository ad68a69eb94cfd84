// The test program of the desktop host: one QApplication for every test (offscreen under ctest), the
// host's commands registered once, and QSettings kept out of the user's configuration.

#include "cad/app/command_processor.h"
#include "cad/gui/desktop_host.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QueltoTest"));
    testing::InitGoogleTest(&argc, argv);
    cad::app::CommandProcessor::instance().registerHostCommands();
    cad::gui::registerDesktopCommands();
    return RUN_ALL_TESTS();
}
