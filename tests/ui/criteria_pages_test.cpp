// The three criteria pages driven through their widgets offscreen, over a small drawing built here:
// the type check box emptying the property rows, the settings that keep the preselection and grouping
// controls, the advanced page's validation through real typing, and the property rows' value controls,
// template pre-fill and expression clean-up.

#include "platform/message_box.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/sel_ent_page1.h"
#include "quelto/ui/sel_ent_page2.h"
#include "quelto/ui/sel_ent_page3.h"
#include "tests/actions/host_drawing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <class Widget>
Widget* withText(QWidget* root, const QString& text) {
    for (Widget* widget : root->findChildren<Widget*>()) {
        if (widget->text() == text) {
            return widget;
        }
    }
    ADD_FAILURE() << "no control captioned " << text.toStdString();
    return nullptr;
}

// The controls after a criterion's check box in its grid row, left to right.
std::vector<QWidget*> rowOf(QCheckBox* check) {
    auto* grid = static_cast<QGridLayout*>(check->parentWidget()->layout());
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(check), &row, &column, &rowSpan, &columnSpan);
    std::vector<QWidget*> controls;
    for (int next = column + 1; next < grid->columnCount(); ++next) {
        if (QLayoutItem* item = grid->itemAtPosition(row, next);
            item != nullptr && item->widget() != nullptr) {
            controls.push_back(item->widget());
        }
    }
    return controls;
}

QComboBox* propertyList(QWidget* page, const char* letter) {
    return qobject_cast<QComboBox*>(
        withText<QLabel>(page, QString::fromUtf8(letter) + QStringLiteral("："))->buddy());
}

// A property row's other controls by name: "operator", "valueEdit" or "valueList" and the letter.
template <class Widget>
Widget* rowControl(QWidget* page, const char* kind, const char* letter) {
    auto* control = page->findChild<Widget*>(QString::fromUtf8(kind) + QString::fromUtf8(letter));
    EXPECT_NE(control, nullptr) << kind << letter;
    return control;
}

void typeInto(QComboBox* comboBox, const QString& text) {
    comboBox->lineEdit()->selectAll();
    QTest::keyClick(comboBox->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(comboBox->lineEdit(), text);
}

void choose(QComboBox* comboBox, const QString& item) {
    const int found = comboBox->findText(item);
    ASSERT_GE(found, 0) << item.toStdString();
    comboBox->setCurrentIndex(found);
}

// Stands in for the main dialog: the chosen type's property list goes to the property page.
class TypeRelay : public CTypeChangeListener {
public:
    TypeRelay(CInfoMapList& catalogue, CQSelEntPage3& page) : m_catalogue(catalogue), m_page(page) {}
    void OnTypeChanged(const CString& displayName) override {
        reports.push_back(displayName);
        m_page.Refill(displayName.empty() ? nullptr : m_catalogue.GetEntityInfo(displayName, FALSE));
    }
    CStringArray reports;

private:
    CInfoMapList& m_catalogue;
    CQSelEntPage3& m_page;
};

class CriteriaPages : public hosttest::HostDrawing {
protected:
    void SetUp() override {
        HostDrawing::SetUp();
        m_line = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(6, 8, 0)));
    }
    void TearDown() override {
        CQLTSystemParam settings;
        settings.SetReadCfgPick(1);
        settings.SetReadCfgGroup(1);
        HostDrawing::TearDown();
    }

    AcDbObjectId m_line;
    CInfoMapList m_catalogue;
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_boxScope{m_boxes};
};

TEST_F(CriteriaPages, UncheckingTheTypeEmptiesEveryPropertyRow) {
    CQSelEntPage3 properties;
    TypeRelay relay(m_catalogue, properties);
    CQSelEntPage1 basic(m_catalogue, relay);
    CFilter record;
    record.m_bType = TRUE;
    record.m_strType = L"直线";
    basic.LoadPage(record);
    ASSERT_EQ(relay.reports, CStringArray{L"直线"});
    const int lineProperties = static_cast<int>(m_catalogue.GetEntityInfo(L"LINE", TRUE)->props.size());
    EXPECT_EQ(propertyList(&properties, "G")->count(), lineProperties + 1);

    QTest::mouseClick(withText<QCheckBox>(&basic, QStringLiteral("对象类型：")), Qt::LeftButton);
    EXPECT_EQ(relay.reports.back(), L"");
    for (const char* letter : {"A", "B", "C", "D", "E", "F", "G"}) {
        QComboBox* list = propertyList(&properties, letter);
        ASSERT_EQ(list->count(), 1) << letter;
        EXPECT_EQ(list->itemText(0), QStringLiteral("无"));
    }
    for (QWidget* control : rowOf(withText<QCheckBox>(&basic, QStringLiteral("对象类型：")))) {
        EXPECT_FALSE(control->isEnabled());
    }
}

TEST_F(CriteriaPages, SettingsOffKeepThePreselectionAndGroupingControls) {
    CQSelEntPage3 properties;
    TypeRelay relay(m_catalogue, properties);
    CQSelEntPage1 basic(m_catalogue, relay);
    QTest::mouseClick(withText<QRadioButton>(&basic, QStringLiteral("在全部实体中过滤")), Qt::LeftButton);
    auto* groupName = qobject_cast<QLineEdit*>(withText<QLabel>(&basic, QStringLiteral("组名："))->buddy());
    auto* groupMode = qobject_cast<QComboBox*>(withText<QLabel>(&basic, QStringLiteral("原则："))->buddy());
    EXPECT_FALSE(groupName->isEnabled());
    groupMode->setCurrentIndex(2);
    EXPECT_TRUE(groupName->isEnabled());
    QTest::keyClicks(groupName, QStringLiteral("doors-1"));

    CFilter record;
    record.m_bColor = TRUE;
    record.m_strColorOp = L">=";
    record.m_nColor = 30;
    record.m_nLineWeight = 35;
    CQLTSystemParam settings;
    settings.SetReadCfgPick(0);
    settings.SetReadCfgGroup(0);
    basic.LoadPage(record);
    CFilter saved;
    basic.SavePage(saved);
    EXPECT_TRUE(saved.m_bSelectFromAll);
    EXPECT_EQ(saved.m_nGroupMode, 2);
    EXPECT_EQ(saved.m_strGroupName, L"doors-1");
    EXPECT_TRUE(saved.m_bColor);
    EXPECT_EQ(saved.m_strColorOp, L">=");
    EXPECT_EQ(saved.m_nColor, 30) << "a colour outside the standard ones comes in as a recent colour";
    EXPECT_EQ(saved.m_nLineWeight, 35);
    EXPECT_EQ(saved.m_strLayer, L"0");

    settings.SetReadCfgPick(1);
    settings.SetReadCfgGroup(1);
    basic.LoadPage(record);
    basic.SavePage(saved);
    EXPECT_FALSE(saved.m_bSelectFromAll);
    EXPECT_EQ(saved.m_nGroupMode, 0);
    EXPECT_EQ(saved.m_strGroupName, L"");
    EXPECT_FALSE(groupName->isEnabled());
}

TEST_F(CriteriaPages, AdvancedPageRefusesTheFirstFailingTickedRow) {
    CQSelEntPage2 advanced(m_catalogue);
    QCheckBox* width = withText<QCheckBox>(&advanced, QStringLiteral("外观宽度："));
    QTest::mouseClick(width, Qt::LeftButton);
    typeInto(qobject_cast<QComboBox*>(rowOf(width).at(1)), QStringLiteral("-1"));
    CFilter record;
    EXPECT_FALSE(advanced.SavePage(record));
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, L"外观宽度运算值必须不得小于0，请重新输入！");
    EXPECT_EQ(m_boxes.shown()[0].caption, L"运算值错误");
    EXPECT_FALSE(record.m_bWidth) << "a refused save writes nothing";

    // A stored scale row without operator comes before the width row.
    CFilter stored;
    stored.m_bLtScale = TRUE;
    stored.m_strLtScaleOp = L"";
    stored.m_bWidth = TRUE;
    stored.m_dWidth = 0.0;
    advanced.LoadPage(stored);
    typeInto(qobject_cast<QComboBox*>(rowOf(width).at(1)), QStringLiteral("-1"));
    m_boxes.clear();
    EXPECT_FALSE(advanced.SavePage(record));
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, L"线型比例运算符号没有选择，请重新选择！");
    EXPECT_FALSE(withText<QCheckBox>(&advanced, QStringLiteral("打印样式："))->isEnabled());
}

TEST_F(CriteriaPages, AdvancedPageListsLinetypesByShownNameAndStoresTableNames) {
    CQSelEntPage2 advanced(m_catalogue);
    QCheckBox* lineType = withText<QCheckBox>(&advanced, QStringLiteral("对象线型："));
    auto* list = qobject_cast<QComboBox*>(rowOf(lineType).at(1));
    ASSERT_NE(list->findText(QStringLiteral("随层")), -1);
    EXPECT_EQ(list->findText(QStringLiteral("ByLayer")), -1);
    QTest::mouseClick(lineType, Qt::LeftButton);
    choose(list, QStringLiteral("随层"));
    CFilter record;
    ASSERT_TRUE(advanced.SavePage(record));
    EXPECT_TRUE(record.m_bLineType);
    EXPECT_EQ(record.m_strLineType, L"ByLayer");
    EXPECT_EQ(record.m_nVisibility, 0) << "the page opens with visibility \"是\"";
    EXPECT_DOUBLE_EQ(record.m_dLtScale, 1.0);
}

TEST_F(CriteriaPages, PropertyRowsShowTheValueControlOfTheirPropertyAndOperator) {
    CQSelEntPage3 properties;
    m_catalogue.ReadEntity(m_line, FALSE, FALSE);
    properties.Refill(m_catalogue.GetEntityInfo(L"LINE", TRUE));
    choose(propertyList(&properties, "A"), QStringLiteral("长度"));
    auto* editA = rowControl<QLineEdit>(&properties, "valueEdit", "A");
    EXPECT_TRUE(editA->isVisibleTo(&properties));
    EXPECT_EQ(editA->text(), QStringLiteral("10")) << "the template line is 10 long";
    choose(propertyList(&properties, "B"), QStringLiteral("角度"));
    EXPECT_EQ(rowControl<QComboBox>(&properties, "operator", "B")->count(), 7);

    properties.Refill(m_catalogue.GetEntityInfo(L"TEXT", TRUE));
    choose(propertyList(&properties, "A"), QStringLiteral("对正"));
    auto* listA = rowControl<QComboBox>(&properties, "valueList", "A");
    EXPECT_TRUE(listA->isVisibleTo(&properties));
    EXPECT_FALSE(rowControl<QLineEdit>(&properties, "valueEdit", "A")->isVisibleTo(&properties));
    EXPECT_EQ(listA->count(), 15);
    choose(propertyList(&properties, "B"), QStringLiteral("文本内容"));
    EXPECT_TRUE(rowControl<QLineEdit>(&properties, "valueEdit", "B")->isVisibleTo(&properties));
    // Rows keep their typed values across a type change; the template fills only an empty box.
    EXPECT_EQ(rowControl<QLineEdit>(&properties, "valueEdit", "B")->text(), QStringLiteral("53.1301024"));
    rowControl<QLineEdit>(&properties, "valueEdit", "B")->clear();
    QTest::keyClicks(rowControl<QLineEdit>(&properties, "valueEdit", "B"), QStringLiteral("door"));

    QCheckBox* logic = properties.findChild<QCheckBox*>();
    QTest::mouseClick(logic, Qt::LeftButton);
    const auto logicLists = logic->parentWidget()->findChildren<QComboBox*>();
    ASSERT_EQ(logicLists.size(), 2);
    EXPECT_FALSE(logicLists[1]->isEnabled());
    choose(logicLists[0], QStringLiteral("用户定义"));
    ASSERT_TRUE(logicLists[1]->isEnabled());
    typeInto(logicLists[1], QStringLiteral("a & b"));
    CFilter record;
    ASSERT_TRUE(properties.SavePage(record));
    EXPECT_EQ(record.m_strLogic, L"A&B");
    EXPECT_EQ(logicLists[1]->currentText(), QStringLiteral("A&B"));
    EXPECT_EQ(record.m_arrPropValue, (CStringArray{L"左", L"door"}));

    typeInto(logicLists[1], QStringLiteral("A&H"));
    EXPECT_FALSE(properties.SavePage(record));
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, L"逻辑表达式中出现了没有定义的逻辑变量，请检查！");
}

} // namespace
