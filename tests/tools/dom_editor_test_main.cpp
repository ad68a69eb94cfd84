// The test program of quelto-dom's editor: one offscreen QApplication for every test, and the common
// application-data folder (where the definition folder lies) in a temporary folder.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir dataFolder;
    setenv("QUELTO_COMMON_APPDATA", dataFolder.path().toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
