// What the module says about itself in its dialogs: the start-up information dialog, the about box and
// the main dialog's "软件信息" page.
#pragma once

class QWidget;

// The start-up information dialog (CCmdInfoDlg), modal; its check box is stored as InitShow on close.
void ShowStartupInfoDialog(QWidget* parent);
// The about box: product name, version and the licence of our code.
void ShowAboutBox(QWidget* parent);
// The main dialog's "软件信息" tab page.
QWidget* CreateAboutPage(QWidget* parent);
