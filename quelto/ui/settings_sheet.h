// The settings sheet "系统设置": the system parameters on three pages, written back only on OK, after
// which the right-click entries follow the new settings at once.
#pragma once

#include "quelto/ui/system_settings.h"

#include <QDialog>

class CQSetEntPage1;
class CQSetEntPage2;
class CQSetEntPage3;
class QDialogButtonBox;
class QTabWidget;

class CQSetEntSheet : public QDialog {
    Q_OBJECT
public:
    // Reads every setting into the pages.
    explicit CQSetEntSheet(QWidget* parent = nullptr);

    // OK: writes every setting, then brings the right-click entries in line with them.
    void accept() override;

    QTabWidget* Tabs() const { return m_tabs; }

private:
    CSystemSettings m_settings;
    QTabWidget* m_tabs = nullptr;
    CQSetEntPage1* m_page1 = nullptr;
    CQSetEntPage2* m_page2 = nullptr;
    CQSetEntPage3* m_page3 = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// Runs the sheet modally over the current drawing, which stays locked while it is open.
void RunSettingsSheet(QWidget* parent);

// What OK calls to apply the right-click settings; the module's entry installs it at load, because the
// menus belong to the layer above the dialogs.
void SetContextMenuSynchroniser(void (*synchronise)());
