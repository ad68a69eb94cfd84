// The configuration-name dialog's OK: empty and reserved names refused, an existing name confirmed first,
// each message exactly as the drafter reads it.
#include "platform/message_box.h"
#include "quelto/ui/input_cfg_name.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Qt Test types only ASCII; Chinese names go in as key events carrying their text, as an input method
// delivers them.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

struct Box {
    const wchar_t* caption;
    const wchar_t* text;
    UINT style;
};

} // namespace

TEST(InputCfgName, RefusesOrConfirmsNamesBeforeClosing) {
    const CStringArray names = {L"<本次模板>", L"<上一次配制>", L"<批量处理配置>", L"墙体"};
    const struct {
        const char* typed;
        std::vector<int> answers;
        std::vector<Box> expectedBoxes;
        bool closes;
    } rows[] = {
        {"",
         {},
         {{L"配制名称为空", L"配制名称不能为空，请输入其他配制名称！", MB_OK | MB_ICONINFORMATION}},
         false},
        {"<上一次配制>",
         {},
         {{L"系统保留", L"<上一次配制>为系统保留的配制名称，请使用其他配制名称！",
           MB_OK | MB_ICONINFORMATION}},
         false},
        {"<本次模板>",
         {},
         {{L"系统保留", L"<本次模板>为系统保留的配制名称，请使用其他配制名称！", MB_OK | MB_ICONINFORMATION}},
         false},
        {"墙体", {IDNO}, {{L"确认覆盖", L"确实需要覆盖配制墙体吗？", MB_YESNO | MB_ICONQUESTION}}, false},
        {"墙体", {IDYES}, {{L"确认覆盖", L"确实需要覆盖配制墙体吗？", MB_YESNO | MB_ICONQUESTION}}, true},
        {"<批量处理配置>",
         {IDYES},
         {{L"确认覆盖", L"确实需要覆盖配制<批量处理配置>吗？", MB_YESNO | MB_ICONQUESTION}},
         true},
        {"墙体 ", {}, {}, true},
        {"新配制", {}, {}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        platform::QueuedMessageBoxService boxes;
        platform::ScopedMessageBoxService scoped(boxes);
        for (int answer : row.answers) {
            boxes.queueAnswer(answer);
        }

        CInputCfgName dialog(names);
        dialog.show();
        auto* nameBox = dialog.findChild<QComboBox*>();
        ASSERT_EQ(nameBox->count(), 4);
        EXPECT_EQ(nameBox->itemText(3), "墙体");
        typeText(nameBox->lineEdit(), QString::fromUtf8(row.typed));
        QPushButton* ok = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "确定") {
                ok = button;
            }
        }
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);

        ASSERT_EQ(boxes.shown().size(), row.expectedBoxes.size());
        for (size_t i = 0; i < row.expectedBoxes.size(); ++i) {
            EXPECT_EQ(boxes.shown()[i].caption, row.expectedBoxes[i].caption);
            EXPECT_EQ(boxes.shown()[i].text, row.expectedBoxes[i].text);
            EXPECT_EQ(boxes.shown()[i].style, row.expectedBoxes[i].style);
        }
        EXPECT_EQ(dialog.isVisible(), !row.closes);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, row.closes);
        if (row.closes) {
            EXPECT_EQ(dialog.GetName(), QString::fromUtf8(row.typed).toStdWString());
        } else {
            EXPECT_EQ(nameBox->currentText(), QString::fromUtf8(row.typed)) << "a refusal keeps the text";
        }
    }
}

TEST(InputCfgName, EnterAcceptsAndEscapeCancels) {
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scoped(boxes);
    CInputCfgName accepted({L"墙体"});
    accepted.show();
    auto* nameBox = accepted.findChild<QComboBox*>();
    typeText(nameBox->lineEdit(), "梁");
    QTest::keyClick(nameBox->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(accepted.result(), QDialog::Accepted);
    EXPECT_EQ(accepted.GetName(), L"梁");
    EXPECT_EQ(nameBox->count(), 1) << "the typed name is not added to the list";

    CInputCfgName cancelled({L"墙体"});
    cancelled.show();
    typeText(cancelled.findChild<QComboBox*>()->lineEdit(), "梁");
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.GetName(), L"");
    EXPECT_TRUE(boxes.shown().empty());
}
