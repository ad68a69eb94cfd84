// The settings sheet: a tab per page, "确定" and "取消", nothing written unless the sheet ends with OK.
#include "quelto/ui/settings_sheet.h"

#include "cad/app/host_api.h"
#include "quelto/ui/modal_dialog.h"
#include "quelto/ui/set_ent_pages.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

void (*contextMenuSynchroniser)() = nullptr;

} // namespace

void SetContextMenuSynchroniser(void (*synchronise)()) {
    contextMenuSynchroniser = synchronise;
}

CQSetEntSheet::CQSetEntSheet(QWidget* parent) : QDialog(parent), m_settings(CSystemSettings::Load()) {
    setWindowTitle(QStringLiteral("系统设置"));
    m_tabs = new QTabWidget(this);
    m_page1 = new CQSetEntPage1(m_tabs);
    m_page2 = new CQSetEntPage2(m_tabs);
    m_page3 = new CQSetEntPage3(m_tabs);
    m_tabs->addTab(m_page1, QStringLiteral("系统"));
    m_tabs->addTab(m_page2, QStringLiteral("配置"));
    m_tabs->addTab(m_page3, QStringLiteral("界面"));
    m_page1->LoadPage(m_settings);
    m_page2->LoadPage(m_settings);
    m_page3->LoadPage(m_settings);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CQSetEntSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CQSetEntSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void CQSetEntSheet::accept() {
    CSystemSettings edited = m_settings;
    m_page1->SavePage(edited);
    m_page2->SavePage(edited);
    m_page3->SavePage(edited);
    edited.Store();
    if (contextMenuSynchroniser != nullptr) {
        contextMenuSynchroniser();
    }
    QDialog::accept();
}

void RunSettingsSheet(QWidget* parent) {
    EnsureQtApplication();
    AcApDocument* document = acDocManager->curDocument();
    const bool locked = document != nullptr && acDocManager->lockDocument(document) == Acad::eOk;
    {
        CQSetEntSheet sheet(parent);
        RunModalDialog(sheet);
    }
    if (locked) {
        acDocManager->unlockDocument(document);
    }
}
