// Modal dialogs in the desktop host (Qt's modal loop) and the offscreen Qt application of the console
// host.
#include "quelto/ui/modal_dialog.h"

#include "cad/app/host_api.h"

#include <QApplication>
#include <QDialog>

void EnsureQtApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    // The console host has no window system of its own; QApplication keeps argc and argv for its life.
    static int argumentCount = 3;
    static char programName[] = "quelto";
    static char platformOption[] = "-platform";
    static char platformName[] = "offscreen";
    static char* arguments[] = {programName, platformOption, platformName, nullptr};
    new QApplication(argumentCount, arguments);
}

bool DialogsRunOffscreen() {
    EnsureQtApplication();
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

QWidget* HostMainWindow() {
    return static_cast<QWidget*>(acedGetAcadFrame());
}

int RunModalDialog(QDialog& dialog) {
    if (DialogsRunOffscreen()) {
        return QDialog::Rejected;
    }
    return dialog.exec();
}
