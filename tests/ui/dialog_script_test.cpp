// The "@" lines on a dialog built here as the pages are laid out: grid rows led by a check box or a
// label, a buddy label, radio buttons, tabs, a "逻辑增强：" box and buttons; and RunModalDialog reading
// such lines from the command line while the dialog is open offscreen.
#include "cad/app/host_api.h"
#include "quelto/ui/dialog_script.h"
#include "quelto/ui/modal_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class ScriptedDialog : public QDialog, public CScriptableDialog {
public:
    ScriptedDialog() {
        setWindowTitle(QStringLiteral("测试对话框"));
        auto* layout = new QVBoxLayout(this);
        tabs = new QTabWidget(this);
        layout->addWidget(tabs);

        auto* first = new QWidget();
        auto* grid = new QGridLayout(first);
        type = new QCheckBox(QStringLiteral("对象类型："), first);
        typeOperator = new QComboBox(first);
        typeOperator->addItem("=");
        typeName = new QComboBox(first);
        typeName->addItems({QStringLiteral("直线"), QStringLiteral("圆")});
        grid->addWidget(type, 0, 0);
        grid->addWidget(typeOperator, 0, 1);
        grid->addWidget(typeName, 0, 2);
        for (int row = 1; row <= 2; ++row) {
            grid->addWidget(new QLabel(QStringLiteral("横向偏移："), first), row, 0);
            offsets[row - 1] = new QLineEdit(first);
            grid->addWidget(offsets[row - 1], row, 1);
        }
        fromUser = new QRadioButton(QStringLiteral("在用户选择集中过滤"), first);
        fromAll = new QRadioButton(QStringLiteral("在全部实体中过滤"), first);
        fromUser->setChecked(true);
        grid->addWidget(fromUser, 3, 0);
        grid->addWidget(fromAll, 3, 1);
        auto* groupLabel = new QLabel(QStringLiteral("组名："), first);
        groupName = new QLineEdit(first);
        groupLabel->setBuddy(groupName);
        grid->addWidget(groupLabel, 4, 0);
        grid->addWidget(groupName, 4, 1);
        tabs->addTab(first, QStringLiteral("常规选项"));

        auto* second = new QWidget();
        auto* rows = new QGridLayout(second);
        rows->addWidget(new QLabel(QStringLiteral("A："), second), 0, 0);
        property = new QComboBox(second);
        property->addItems({QStringLiteral("无"), QStringLiteral("长度"), QStringLiteral("图层")});
        operation = new QComboBox(second);
        operation->addItems({"=", ">", "<"});
        value = new QLineEdit(second);
        valueList = new QComboBox(second);
        valueList->addItems({QStringLiteral("墙"), QStringLiteral("门")});
        rows->addWidget(property, 0, 1);
        rows->addWidget(operation, 0, 2);
        rows->addWidget(value, 0, 3);
        rows->addWidget(valueList, 0, 3);
        valueList->hide();
        // The value control follows the property as the property page's does.
        connect(property, &QComboBox::activated, this, [this](int index) {
            value->setVisible(index != 2);
            valueList->setVisible(index == 2);
        });
        auto* box = new QGroupBox(QStringLiteral("逻辑增强："), second);
        auto* boxLayout = new QHBoxLayout(box);
        logic = new QCheckBox(box);
        mode = new QComboBox(box);
        mode->addItems(
            {QStringLiteral("全部为且[默认]"), QStringLiteral("全部为或"), QStringLiteral("用户定义")});
        expression = new QComboBox(box);
        expression->setEditable(true);
        expression->setEnabled(false);
        connect(mode, &QComboBox::currentIndexChanged, this,
                [this](int index) { expression->setEnabled(index == 2); });
        boxLayout->addWidget(logic);
        boxLayout->addWidget(mode);
        boxLayout->addWidget(expression);
        rows->addWidget(box, 1, 0, 1, 4);
        tabs->addTab(second, QStringLiteral("实体特性"));

        auto* ok = new QPushButton(QStringLiteral("确定"), this);
        auto* cancel = new QPushButton(QStringLiteral("取消"), this);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        connect(groupName, &QLineEdit::textEdited, this, [this] { ++edits; });
    }
    bool RunScriptMenuEntry(const QString& entry) override {
        menuEntries << entry;
        return entry == QStringLiteral("新建配制");
    }
    std::optional<long> FinishLiveCount() override { return count; }

    QTabWidget* tabs;
    QCheckBox* type;
    QComboBox* typeOperator;
    QComboBox* typeName;
    QLineEdit* offsets[2];
    QRadioButton* fromUser;
    QRadioButton* fromAll;
    QLineEdit* groupName;
    QComboBox* property;
    QComboBox* operation;
    QLineEdit* value;
    QComboBox* valueList;
    QCheckBox* logic;
    QComboBox* mode;
    QComboBox* expression;
    QStringList menuEntries;
    std::optional<long> count = 12;
    int edits = 0;
};

CDialogScript::Outcome run(QDialog& dialog, const char* line) {
    return CDialogScript::Run(dialog, QString::fromUtf8(line));
}

TEST(DialogScript, LinesActOnTheControlsOfTheirCaptions) {
    ScriptedDialog dialog;
    dialog.show();
    const char* lines[] = {"@check 对象类型：",  "@choose 对象类型： 圆",   "@type 横向偏移：#2 2.5",
                           "@type 横向偏移： 1", "@check 在全部实体中过滤", "@type 组名： 墙体 组",
                           "@menu 新建配制",     "@expect count 12"};
    for (const char* line : lines) {
        const CDialogScript::Outcome outcome = run(dialog, line);
        EXPECT_TRUE(outcome.ok) << line << ": " << outcome.message.toStdString();
    }
    EXPECT_TRUE(dialog.type->isChecked());
    EXPECT_EQ(dialog.typeName->currentText(), QStringLiteral("圆"));
    EXPECT_EQ(dialog.offsets[0]->text(), "1");
    EXPECT_EQ(dialog.offsets[1]->text(), "2.5");
    EXPECT_TRUE(dialog.fromAll->isChecked());
    EXPECT_FALSE(dialog.fromUser->isChecked());
    EXPECT_EQ(dialog.groupName->text(), QStringLiteral("墙体 组"));
    EXPECT_EQ(dialog.edits, 1);
    EXPECT_EQ(dialog.menuEntries, QStringList{QStringLiteral("新建配制")});

    // The property tab: rows with their value control by property, the logic box.
    EXPECT_TRUE(run(dialog, "@tab 实体特性").ok);
    EXPECT_TRUE(run(dialog, "@row A 长度 > 10").ok);
    EXPECT_EQ(dialog.value->text(), "10");
    EXPECT_EQ(dialog.operation->currentText(), ">");
    EXPECT_TRUE(run(dialog, "@row A 图层 = 门").ok);
    EXPECT_EQ(dialog.valueList->currentText(), QStringLiteral("门"));
    EXPECT_TRUE(run(dialog, "@logic 用户定义 (A&B)|C").ok);
    EXPECT_TRUE(dialog.logic->isChecked());
    EXPECT_EQ(dialog.expression->currentText(), "(A&B)|C");
}

TEST(DialogScript, RefusedLinesSayWhatFailedAndWhatIsThere) {
    ScriptedDialog dialog;
    dialog.show();
    dialog.count = 11;
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        // A caption on a hidden tab is not visible.
        {"@check A：",
         "@check A：: no visible control \"A：\"; visible: 常规选项, 实体特性, 对象类型：, 横向偏移：, "
         "在用户选择集中过滤, 在全部实体中过滤, 组名：, 确定, 取消"},
        {"@choose 对象类型： 椭圆",
         "@choose 对象类型： 椭圆: no usable list of \"对象类型：\" offers \"椭圆\"; "
         "offered: [=] [直线, 圆]"},
        {"@uncheck 在用户选择集中过滤",
         "@uncheck 在用户选择集中过滤: a radio button is unchecked by checking another"},
        {"@menu 删除配制",
         "@menu 删除配制: the dialog \"测试对话框\" has no enabled menu entry \"删除配制\""},
        {"@expect count 12", "@expect count 12: the live count is 11"},
        {"@press 应用", nullptr},
        {"@frobnicate", nullptr},
    };
    for (const auto& row : cases) {
        const CDialogScript::Outcome outcome = run(dialog, row.line);
        EXPECT_FALSE(outcome.ok) << row.line;
        if (row.message != nullptr) {
            EXPECT_EQ(outcome.message.toStdString(), row.message);
        }
    }
    EXPECT_TRUE(run(dialog, "@tab 实体特性").ok);
    const CDialogScript::Outcome disabled = run(dialog, "@logic 全部为或 A|B");
    EXPECT_EQ(disabled.message.toStdString(),
              "@logic 全部为或 A|B: the expression field is disabled for mode \"全部为或\"");
}

TEST(RunModalDialog, ReadsDialogLinesUntilTheDialogClosesAndStopsTheScriptOnAFault) {
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    {
        ScriptedDialog dialog;
        commandLine.queueLine(L"@check 对象类型：");
        commandLine.queueLine(L"@press 确定");
        commandLine.queueLine(L"LINE");
        EXPECT_EQ(RunModalDialog(dialog), QDialog::Accepted);
        EXPECT_TRUE(dialog.type->isChecked());
        EXPECT_EQ(commandLine.transcript(), L"测试对话框> @check 对象类型：\n测试对话框> @press 确定\n");
    }
    // The end of the input is Esc; a line for the command line closes the dialog as Esc does and is
    // read again at the next prompt; an "@" line that cannot be carried out stops the script.
    AcApDocument* document = acDocManager->newDocument();
    for (const wchar_t* line : {L"", L"LINE", L"@press 没有"}) {
        commandLine.clear();
        cad::app::CommandProcessor::instance().clearQuit();
        ScriptedDialog dialog;
        if (*line != 0) {
            commandLine.queueLine(line);
        }
        EXPECT_EQ(RunModalDialog(dialog), QDialog::Rejected) << line;
        EXPECT_EQ(cad::app::CommandProcessor::instance().quitRequested(), line[0] == L'@') << line;
        const std::optional<AcApDocManager::QueuedLine> queued = acDocManager->takeQueuedLine();
        EXPECT_EQ(queued.has_value() ? queued->text : L"", std::wstring(line[0] == L'L' ? line : L""))
            << line;
    }
    EXPECT_NE(commandLine.transcript().find(L"Script stopped: @press 没有"), std::wstring::npos);
    acDocManager->closeDocument(document);
    cad::app::CommandProcessor::instance().clearQuit();
}

} // namespace
