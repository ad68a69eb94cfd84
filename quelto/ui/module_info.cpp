// The module's name and version, the start-up information dialog, the about box and the about page.
// The about texts are built once here so the box and the page say the same.
#include "quelto/ui/module_info.h"

#include "platform/wide_text.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/cmd_info_dlg.h"
#include "quelto/ui/modal_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr double kVersionNumber = 3.85;
constexpr char kVersionLetter = 'a';

void addAboutTexts(QWidget& page, QVBoxLayout& layout) {
    auto* name = new QLabel(QString::fromStdWString(ModuleProductName()), &page);
    QFont font = name->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    name->setFont(font);
    layout.addWidget(name);
    layout.addWidget(
        new QLabel(QStringLiteral("版本 ") + QString::fromStdWString(ModuleVersionText()), &page));
    layout.addWidget(new QLabel(QStringLiteral("快速选择命令 QS（命令组 QUELTOS，全局命令 QLT_QS）"), &page));
    auto* licence = new QLabel(QStringLiteral("本软件代码以 Apache-2.0 许可证发布。\n"
                                              "Licensed under the Apache License, Version 2.0."),
                               &page);
    licence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout.addWidget(licence);
}

} // namespace

CString ModuleProductName() {
    return CQLTSystemParam::ProductName;
}

CString ModuleVersionText() {
    return platform::formatWide(L"%.2f%c", kVersionNumber, kVersionLetter);
}

void ShowStartupInfoDialog(QWidget* parent) {
    EnsureQtApplication();
    CCmdInfoDlg dialog(parent);
    RunModalDialog(dialog);
}

void ShowAboutBox(QWidget* parent) {
    EnsureQtApplication();
    QDialog box(parent);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QStringLiteral("关于") + QString::fromStdWString(ModuleProductName()));
    auto* layout = new QVBoxLayout(&box);
    addAboutTexts(box, *layout);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    RunModalDialog(box);
}

QWidget* CreateAboutPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    addAboutTexts(*page, *layout);
    layout->addStretch();
    return page;
}
