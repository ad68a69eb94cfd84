// The main dialog over stand-in pages: the item chosen at opening, the tabs, the configuration menu and
// its reserved items, OK and Cancel against the configuration file, the template pick, the live count.
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/dialog_script.h"
#include "quelto/ui/modal_dialog.h"
#include "tests/ui/qs_drawing.h"
#include "tests/ui/stand_in_pages.h"

#include <QTabBar>

namespace {

class MainDialog : public qs_test::QsDrawing {
protected:
    std::string configurationBytes() {
        CFilterCfgFile file;
        std::ifstream stream(platform::wideToPath(file.m_strFileName), std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }
    void run(CSelEntMain& dialog, std::initializer_list<const wchar_t*> lines) {
        for (const wchar_t* line : lines) {
            m_commandLine.queueLine(line);
        }
        m_result = RunModalDialog(dialog);
    }
    std::optional<CString> m_name;
    int m_result = -1;
};

TEST_F(MainDialog, OpensOnTheTemplateOrTheLastRecordWithTheTabsInOrder) {
    struct Case {
        const char* name;
        const wchar_t* templateHandle;
        int noTempLast;
        int startPage;
        int selected;
    };
    const Case cases[] = {
        {"no template, NoTempLast on", nullptr, 1, 0, 1},
        {"no template, NoTempLast off", nullptr, 0, 1, 0},
        {"template, NoTempLast on", L"2A", 1, 2, 0},
    };
    for (const Case& row : cases) {
        CQLTSystemParam settings;
        settings.SetNoTempLast(row.noTempLast);
        settings.SetStartPage(row.startPage);
        CSelEntMain dialog(nullptr, stand_in::factory());
        if (row.templateHandle != nullptr) {
            dialog.SetTemplate(idOf(row.templateHandle), L"CIRCLE");
        }
        dialog.show();
        EXPECT_EQ(dialog.ConfigurationBox()->currentIndex(), row.selected) << row.name;
        EXPECT_EQ(dialog.Tabs()->currentIndex(), row.startPage) << row.name;
        const QStringList captions = CDialogScript::VisibleCaptions(dialog);
        EXPECT_EQ(captions.mid(0, 5),
                  (QStringList{"常规选项", "扩展选项", "实体特性", "选后操作", "软件信息"}));
        auto* type = dialog.findChild<QComboBox*>();
        ASSERT_NE(type, nullptr);
        if (row.templateHandle != nullptr) {
            EXPECT_EQ(CDialogScript::Run(dialog, "@expect count 1").message.toStdString(), "") << row.name;
        }
        dialog.reject();
    }
}

TEST_F(MainDialog, ConfigurationMenuGreysTheReservedItemsAndNewOverwritesInPlace) {
    m_name = CString(L"墙");
    {
        CSelEntMain dialog(nullptr, stand_in::factory(&m_name));
        run(dialog, {L"@check 对象图层：", L"@type 对象图层： WALL", L"@menu 新建配制", L"@menu 新建配制",
                     L"@press 确定"});
        ASSERT_EQ(m_result, QDialog::Accepted);
    }
    CSelEntMain dialog(nullptr, stand_in::factory(&m_name));
    dialog.show();
    ASSERT_EQ(dialog.ConfigurationBox()->count(), 4) << "a second new 墙 overwrote the first";
    EXPECT_EQ(dialog.ConfigurationMenuEntries(), (QStringList{"新建配制", "保存配制", "删除配制"}));
    for (int position = 0; position < 4; ++position) {
        dialog.ConfigurationBox()->setCurrentIndex(position);
        EXPECT_TRUE(dialog.ConfigurationMenuEntryEnabled("新建配制"));
        EXPECT_EQ(dialog.ConfigurationMenuEntryEnabled("保存配制"), position == 3) << position;
        EXPECT_EQ(dialog.ConfigurationMenuEntryEnabled("删除配制"), position == 3) << position;
    }
    dialog.reject();
}

TEST_F(MainDialog, CancelLeavesTheFileAndOkUpdatesTheLastRecord) {
    m_name = CString(L"门");
    {
        CSelEntMain dialog(nullptr, stand_in::factory(&m_name));
        run(dialog, {L"@menu 新建配制", L"@press 确定"});
    }
    const std::string before = configurationBytes();
    {
        CSelEntMain dialog(nullptr, stand_in::factory(&m_name));
        m_messageBoxes.queueAnswer(IDYES);
        run(dialog, {L"@config 门", L"@menu 删除配制", L"@press 取消"});
        EXPECT_EQ(m_result, QDialog::Rejected);
        ASSERT_EQ(m_messageBoxes.shown().size(), 1u);
        EXPECT_EQ(m_messageBoxes.shown()[0].text, L"删除的配制无法恢复，确实需要删除当前配制“门”吗？");
        EXPECT_EQ(m_messageBoxes.shown()[0].caption, L"确认删除");
    }
    EXPECT_EQ(configurationBytes(), before);

    CQLTSystemParam().SetNoTempLast(1);
    {
        CSelEntMain dialog(nullptr, stand_in::factory(&m_name));
        run(dialog,
            {L"@check 对象类型：", L"@choose 对象类型： 圆", L"@check 在全部实体中过滤", L"@press 确定"});
        ASSERT_EQ(m_result, QDialog::Accepted);
        EXPECT_EQ(dialog.GetFilter().m_strType, L"圆");
    }
    EXPECT_NE(configurationBytes(), before);
    CSelEntMain next(nullptr, stand_in::factory(&m_name));
    next.show();
    EXPECT_EQ(next.ConfigurationBox()->currentText(), QStringLiteral("<上一次配制>"));
    EXPECT_EQ(next.ConfigurationBox()->count(), 4);
    EXPECT_EQ(next.FinishLiveCount(), 1) << "the last record selects the circle";
    EXPECT_EQ(CQLTSystemParam().GetSelectFromAll(), 1);
    next.reject();
}

TEST_F(MainDialog, SamplePicksANewTemplateWhileTheDialogIsHidden) {
    CQLTSystemParam().SetNoTempLast(0);
    CSelEntMain dialog(nullptr, stand_in::factory());
    run(dialog, {L"@press 样本", L"5,0", L"@expect count 2", L"@press 样本", L"*Cancel*", L"@expect count 2",
                 L"@press 确定"});
    EXPECT_EQ(m_result, QDialog::Accepted);
    EXPECT_NE(m_commandLine.transcript().find(L"请选择模板实体(直接会车忽略模板实体):5,0"),
              std::wstring::npos);
    EXPECT_EQ(dialog.GetFilter().m_strType, L"直线");
    EXPECT_EQ(dialog.GetFilter().m_strLayer, L"WALL");
    EXPECT_EQ(dialog.LiveCountText(), QStringLiteral("将选择 2 个实体"));
}

} // namespace
