// How the module's dialogs run modally in either host: over the desktop host's main window with Qt's
// own modal loop, or, in the console host, offscreen and driven by the script's "@" lines.
#pragma once

class QDialog;
class QWidget;

// The Qt application the dialogs need: the desktop host's own or, in the console host, which has none,
// one made here on the offscreen platform.
void EnsureQtApplication();

// True in the console host, which has no main window: its dialogs run offscreen, driven by script lines.
bool DialogsRunScripted();

// The host's main window, the parent of the module's top-level dialogs; null in the console host.
QWidget* HostMainWindow();

// Runs the dialog modally and answers its result code (QDialog::Accepted or QDialog::Rejected).
int RunModalDialog(QDialog& dialog);
