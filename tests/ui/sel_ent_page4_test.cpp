// The command page driven through its widgets offscreen: the enabling rules as a drafter meets them,
// loading under ReadCfgCommand, number fields that refuse text, and the preferences written on close.
#include "platform/message_box.h"
#include "quelto/actions/extend_command.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/sel_ent_page4.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QAbstractButton* button(QWidget& page, const QString& caption) {
    for (QAbstractButton* candidate : page.findChildren<QAbstractButton*>()) {
        if (candidate->text() == caption) {
            return candidate;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

// The control a label names; occurrence tells apart the two "横向偏移：" rows.
QWidget* buddy(QWidget& page, const QString& caption, int occurrence = 0) {
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (label->text() == caption && label->buddy() != nullptr && occurrence-- == 0) {
            return label->buddy();
        }
    }
    ADD_FAILURE() << "no control labelled " << caption.toStdString();
    return nullptr;
}

struct ControlState {
    const char* caption;
    int occurrence;
    bool enabled;
};

void expectEnabled(QWidget& page, std::initializer_list<ControlState> controls) {
    for (const ControlState& control : controls) {
        EXPECT_EQ(buddy(page, QString::fromUtf8(control.caption), control.occurrence)->isEnabled(),
                  control.enabled)
            << control.caption << " #" << control.occurrence;
    }
}

class CommandPage : public testing::Test {
protected:
    void SetUp() override {
        CQLTSystemParam param;
        param.SetHasCmd(0);
        param.SetDoType(1);
        param.SetHasOffset(0);
        param.SetRoateA(0.0);
        param.SetReadCfgCommand(1);
        page = std::make_unique<CQSelEntPage4>();
        page->show();
    }
    void TearDown() override { CQLTSystemParam().SetReadCfgCommand(1); }

    // A check box reacts to its indicator and caption only, not to the empty end of a wide cell.
    void click(const char* caption) {
        QAbstractButton* target = button(*page, QString::fromUtf8(caption));
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    }

    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scopedBoxes{boxes};
    std::unique_ptr<CQSelEntPage4> page;
};

} // namespace

TEST_F(CommandPage, MoveEnablesOnlyTheThreeDistances) {
    EXPECT_FALSE(button(*page, "平移")->isEnabled()) << "command buttons follow the run box";
    click("快速选择有效时执行以下命令");
    click("缩放");
    ASSERT_TRUE(buddy(*page, "基准位置：")->isEnabled());
    click("平移");
    EXPECT_TRUE(button(*page, "命令执行前提示确认")->isEnabled());
    EXPECT_FALSE(button(*page, "参考点相对基准位置偏移")->isEnabled());
    expectEnabled(*page, {{"基准位置：", 0, false},
                          {"横向偏移：", 0, false},
                          {"横向偏移：", 1, false},
                          {"横向平移：", 0, true},
                          {"竖向平移：", 0, true},
                          {"纵向平移：", 0, true},
                          {"缩放比例：", 0, false},
                          {"旋转角度：", 0, false},
                          {"轴线角度：", 0, false}});
}

TEST_F(CommandPage, MirrorWithOffsetEnablesBothOffsetRowsAndTheAxisAngle) {
    click("快速选择有效时执行以下命令");
    click("镜像");
    expectEnabled(*page, {{"基准位置：", 0, true}, {"横向偏移：", 0, false}, {"偏移单位：", 1, false}});
    click("参考点相对基准位置偏移");
    expectEnabled(*page, {{"横向偏移：", 0, true},
                          {"偏移单位：", 0, true},
                          {"横向偏移：", 1, true},
                          {"偏移单位：", 1, true},
                          {"轴线角度：", 0, true},
                          {"缩放比例：", 0, false},
                          {"旋转角度：", 0, false},
                          {"横向平移：", 0, false}});
    click("快速选择有效时执行以下命令");
    expectEnabled(*page, {{"基准位置：", 0, false}, {"横向偏移：", 1, false}, {"轴线角度：", 0, false}});
}

TEST_F(CommandPage, LoadsTheRecordOnlyWhenReadCfgCommandIsOn) {
    CFilter record;
    record.m_bHasCmd = 1;
    record.m_nDoType = CExtendCommand::kScale;
    record.m_dScaleA = 3.0;

    CQLTSystemParam().SetReadCfgCommand(0);
    page->LoadPage(record);
    EXPECT_FALSE(button(*page, "缩放")->isChecked());
    EXPECT_TRUE(button(*page, "平移")->isChecked());
    EXPECT_EQ(static_cast<QLineEdit*>(buddy(*page, "缩放比例："))->text(), "1");

    CQLTSystemParam().SetReadCfgCommand(1);
    page->LoadPage(record);
    EXPECT_TRUE(button(*page, "缩放")->isChecked());
    EXPECT_EQ(static_cast<QLineEdit*>(buddy(*page, "缩放比例："))->text(), "3");
    EXPECT_TRUE(buddy(*page, "缩放比例：")->isEnabled());

    CFilter saved;
    EXPECT_TRUE(page->SavePage(saved));
    EXPECT_EQ(saved.m_nDoType, CExtendCommand::kScale);
    EXPECT_DOUBLE_EQ(saved.m_dScaleA, 3.0);
}

TEST_F(CommandPage, TextThatIsNotANumberIsReportedAndTheFieldKeepsItsValue) {
    click("快速选择有效时执行以下命令");
    click("旋转");
    auto* angle = static_cast<QLineEdit*>(buddy(*page, "旋转角度："));
    angle->selectAll();
    QTest::keyClicks(angle, "30");
    QTest::keyClick(angle, Qt::Key_Return);
    angle->selectAll();
    QTest::keyClicks(angle, "3O");
    QTest::keyClick(angle, Qt::Key_Return);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"请输入一个数字。");
    EXPECT_EQ(angle->text(), "30");
    CExtendCommand command;
    page->CopyTo(command);
    EXPECT_DOUBLE_EQ(command.m_dRoateA, 30.0);
    EXPECT_EQ(command.m_nDoType, CExtendCommand::kRotate);
}

TEST_F(CommandPage, ClosingWithoutSavingStillStoresTheChangedSettings) {
    click("快速选择有效时执行以下命令");
    click("旋转");
    auto* angle = static_cast<QLineEdit*>(buddy(*page, "旋转角度："));
    angle->selectAll();
    QTest::keyClicks(angle, "45");
    page.reset();

    CQLTSystemParam param;
    EXPECT_EQ(param.GetHasCmd(), 1);
    EXPECT_EQ(param.GetDoType(), CExtendCommand::kRotate);
    EXPECT_DOUBLE_EQ(param.GetRoateA(), 45.0);
    param.SetHasCmd(0);
}
