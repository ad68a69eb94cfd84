// The dialogs' parent and Qt application in the test program, where a QApplication already exists.
#include "quelto/ui/modal_dialog.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(ModalDialog, UsesTheRunningApplicationAndHasNoHostWindowWithoutDesktop) {
    QCoreApplication* before = QCoreApplication::instance();
    EnsureQtApplication();
    EXPECT_EQ(QCoreApplication::instance(), before);
    EXPECT_TRUE(DialogsRunScripted());
    EXPECT_EQ(HostMainWindow(), nullptr);
}
