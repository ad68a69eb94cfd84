// What the module says about itself: its name and version, the start-up information dialog
// (CCmdInfoDlg), the about box and the main dialog's "软件信息" page.
#pragma once

#include "platform/mfc_types.h"

class QWidget;

// The product name and the version text "3.85a" ("%.2f%c" of the number and the letter).
CString ModuleProductName();
CString ModuleVersionText();

// The start-up information dialog, modal; its check box is stored as InitShow when it is closed with
// its button.
void ShowStartupInfoDialog(QWidget* parent);
// The about box: product name, version and the licence of our code.
void ShowAboutBox(QWidget* parent);
// The main dialog's "软件信息" tab page: what the about box says, as a page.
QWidget* CreateAboutPage(QWidget* parent);
