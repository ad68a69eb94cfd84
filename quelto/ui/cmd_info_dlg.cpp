// The start-up information dialog: a text, the check box "启动时显示本对话框（推荐）" bound to InitShow,
// "关于" and a close button.
#include "quelto/ui/cmd_info_dlg.h"

#include "platform/wide_text.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/module_info.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CString CCmdInfoDlg::InfoText() {
    return platform::formatWide(
        L"    %s%s已经加载，命令信息为：\n\n命令组名：QLT\n全局命令：QLT_QS\n本地命令：QS",
        ModuleProductName().c_str(), ModuleVersionText().c_str());
}

CCmdInfoDlg::CCmdInfoDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdWString(ModuleProductName()));
    m_bInitShow = CQLTSystemParam().GetInitShow() != 0 ? 1 : 0;
    m_strInfo = InfoText();

    m_infoLabel = new QLabel(QString::fromStdWString(m_strInfo), this);
    m_showCheck = new QCheckBox(QStringLiteral("启动时显示本对话框（推荐）"), this);
    m_showCheck->setChecked(m_bInitShow != 0);
    m_aboutButton = new QPushButton(QStringLiteral("关于"), this);
    m_closeButton = new QPushButton(QStringLiteral("关闭"), this);
    m_closeButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showCheck);
    buttons->addStretch();
    buttons->addWidget(m_aboutButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_infoLabel);
    layout->addLayout(buttons);

    connect(m_aboutButton, &QPushButton::clicked, this, [this] { ShowAboutBox(this); });
    connect(m_closeButton, &QPushButton::clicked, this, &CCmdInfoDlg::CloseWithButton);
}

void CCmdInfoDlg::CloseWithButton() {
    m_bInitShow = m_showCheck->isChecked() ? 1 : 0;
    CQLTSystemParam().SetInitShow(m_bInitShow);
    accept();
}
