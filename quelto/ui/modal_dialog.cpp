// Modal dialogs in the desktop host (Qt's modal loop) and, in the console host, offscreen dialogs driven
// by the script: while one is open every script line is read at its prompt, "@" lines act on it, Esc,
// the end of the script or a line for the command line cancels it, and an "@" line that cannot be
// carried out stops the script.
#include "quelto/ui/modal_dialog.h"

#include "cad/app/host_api.h"
#include "quelto/ui/dialog_script.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>

namespace {

void stopScript(QDialog& dialog, const QString& reason) {
    cad::ed::commandLine().write((QStringLiteral("Script stopped: ") + reason + u'\n').toStdWString());
    cad::app::CommandProcessor::instance().requestQuit();
    dialog.reject();
}

int runScriptedDialog(QDialog& dialog) {
    bool finished = false;
    const QMetaObject::Connection watch =
        QObject::connect(&dialog, &QDialog::finished, [&finished](int) { finished = true; });
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    const std::wstring prompt = (dialog.windowTitle() + QStringLiteral("> ")).toStdWString();
    while (!finished) {
        // Idle work of the dialog (timers, deferred layout) runs between script lines.
        QCoreApplication::processEvents();
        if (finished) {
            break;
        }
        if (cad::app::CommandProcessor::instance().quitRequested()) {
            dialog.reject();
            break;
        }
        const cad::ed::PromptAnswer answer = cad::ed::prompt(prompt, true);
        if (answer.kind == cad::ed::PromptAnswer::Kind::Cancel) {
            dialog.reject();
            break;
        }
        const QString line = QString::fromStdWString(answer.text).trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (!line.startsWith(u'@')) {
            // A script written without this dialog in mind (the start-up information dialog shown at
            // load, say) goes on: its line closes the dialog as Esc does and is read again at the
            // prompt that follows.
            acDocManager->sendStringToExecute(curDoc(), (answer.text + L"\n").c_str(), false, true);
            dialog.reject();
            break;
        }
        const CDialogScript::Outcome outcome = CDialogScript::Run(dialog, line);
        if (!outcome.ok) {
            stopScript(dialog, outcome.message);
            break;
        }
    }
    QObject::disconnect(watch);
    dialog.hide();
    return dialog.result();
}

} // namespace

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

bool DialogsRunScripted() {
    EnsureQtApplication();
    return HostMainWindow() == nullptr;
}

QWidget* HostMainWindow() {
    return static_cast<QWidget*>(acedGetAcadFrame());
}

int RunModalDialog(QDialog& dialog) {
    if (DialogsRunScripted()) {
        return runScriptedDialog(dialog);
    }
    // Not QDialog::exec: its loop ends as soon as the dialog is hidden, and a dialog hides while the
    // drafter picks in the drawing ("样本") and then comes back. Hidden, it blocks nothing; shown
    // again, it is modal again.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setResult(QDialog::Rejected);
    QEventLoop loop;
    const QMetaObject::Connection watch =
        QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    QObject::disconnect(watch);
    return dialog.result();
}
