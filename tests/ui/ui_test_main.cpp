// The test program of the module's dialogs: one offscreen QApplication for every test, the host's
// commands registered once, and the settings and configuration files kept in a temporary folder.
#include "cad/app/command_processor.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir settingsFolder;
    const QByteArray folder = settingsFolder.path().toLocal8Bit();
    setenv("QUELTO_REGISTRY_DIR", folder.constData(), 1);
    setenv("QUELTO_COMMON_APPDATA", folder.constData(), 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    cad::app::CommandProcessor::instance().registerHostCommands();
    return RUN_ALL_TESTS();
}
