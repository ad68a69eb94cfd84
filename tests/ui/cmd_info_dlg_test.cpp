// The start-up information dialog: its text, and its check box read from InitShow and stored only when
// it is closed with its button.
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/cmd_info_dlg.h"
#include "quelto/ui/module_info.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QCheckBox* showCheck(CCmdInfoDlg& dialog) {
    return dialog.findChild<QCheckBox*>();
}

QPushButton* button(CCmdInfoDlg& dialog, const QString& caption) {
    for (QPushButton* control : dialog.findChildren<QPushButton*>()) {
        if (control->text() == caption) {
            return control;
        }
    }
    return nullptr;
}

TEST(CmdInfoDlg, CheckBoxFollowsInitShowAndIsStoredOnlyByTheCloseButton) {
    CQLTSystemParam parameters;
    parameters.SetInitShow(1);
    {
        CCmdInfoDlg dialog;
        dialog.show();
        EXPECT_EQ(dialog.findChild<QLabel*>()->text().toStdWString(),
                  L"    "
                  L"翠岭轩快速选择系统3.85a已经加载，命令信息为：\n\n命令组名：QLT\n全局命令：QLT_"
                  L"QS\n本地命令：QS");
        ASSERT_TRUE(showCheck(dialog)->isChecked());
        QTest::mouseClick(showCheck(dialog), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(parameters.GetInitShow(), 1);
    {
        CCmdInfoDlg dialog;
        dialog.show();
        QTest::mouseClick(showCheck(dialog), Qt::LeftButton);
        QTest::mouseClick(button(dialog, QStringLiteral("关闭")), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(parameters.GetInitShow(), 0);
    CCmdInfoDlg reopened;
    EXPECT_FALSE(showCheck(reopened)->isChecked());
    parameters.SetInitShow(1);
}

TEST(AboutPage, NamesTheProductTheVersionAndTheLicence) {
    std::unique_ptr<QWidget> page(CreateAboutPage(nullptr));
    QString texts;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        texts += label->text() + QLatin1Char('\n');
    }
    for (const char* part : {"翠岭轩快速选择系统", "3.85a", "Apache-2.0"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(part))) << part;
    }
}

} // namespace
