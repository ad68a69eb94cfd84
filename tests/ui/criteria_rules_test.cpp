// The basic and advanced pages' rules without widgets: the advanced page's validation order and
// messages, its load and save mappings, the linetype list's names, and the basic page's settings-bound
// load.

#include "quelto/ui/criteria_rules.h"

#include <gtest/gtest.h>

namespace {

const CStringArray kSpaces = CAdvancedCriteriaRules::SpaceItems({L"Model", L"布局1"});
const CStringArray kLinetypes = {L"ByBlock", L"ByLayer", L"Continuous", L"DASHED"};

TEST(AdvancedCriteria, ValidationTakesTickedRowsInOrderAndReportsTheFirstFailure) {
    const auto opening = [] { return CAdvancedCriteriaRules::Opening(kSpaces, kLinetypes); };
    const struct {
        const char* what;
        void (*change)(CAdvancedCriteria&);
        const wchar_t* message; // null: accepted
        const wchar_t* title;
    } cases[] = {
        {"unticked rows are not tested",
         [](CAdvancedCriteria& c) {
             c.width = L"-1";
             c.spaceOp.clear();
         },
         nullptr, nullptr},
        {"space operator", [](CAdvancedCriteria& c) { c.spaceChecked = TRUE, c.spaceOp = L"  "; },
         L"空间运算符号没有选择，请重新选择！", L"运算符号错误"},
        {"linetype value", [](CAdvancedCriteria& c) { c.lineTypeChecked = TRUE, c.lineType.clear(); },
         L"线型运算值没有选择，请重新选择！", L"运算值错误"},
        {"scale below zero wins over a later row",
         [](CAdvancedCriteria& c) {
             c.ltScaleChecked = TRUE, c.ltScale = L" -0.5";
             c.heightChecked = TRUE, c.heightOp.clear();
         },
         L"线型比例运算值不得小于0，请重新输入！", L"运算值错误"},
        {"width below zero", [](CAdvancedCriteria& c) { c.widthChecked = TRUE, c.width = L"-1"; },
         L"外观宽度运算值必须不得小于0，请重新输入！", L"运算值错误"},
        {"width blank after trimming", [](CAdvancedCriteria& c) { c.widthChecked = TRUE, c.width = L" \t"; },
         L"外观宽度运算值没有选择，请重新选择！", L"运算值错误"},
        {"a text without a leading number reads as 0",
         [](CAdvancedCriteria& c) { c.heightChecked = TRUE, c.height = L"abc"; }, nullptr, nullptr},
        {"height operator", [](CAdvancedCriteria& c) { c.heightChecked = TRUE, c.heightOp.clear(); },
         L"外观高度运算符号没有选择，请重新选择！", L"运算符号错误"},
    };
    for (const auto& row : cases) {
        CAdvancedCriteria criteria = opening();
        row.change(criteria);
        const auto refusal = CAdvancedCriteriaRules::Validate(criteria);
        if (row.message == nullptr) {
            EXPECT_FALSE(refusal.has_value()) << row.what;
            continue;
        }
        ASSERT_TRUE(refusal.has_value()) << row.what;
        EXPECT_EQ(refusal->message, row.message) << row.what;
        EXPECT_EQ(refusal->title, row.title) << row.what;
    }
}

TEST(AdvancedCriteria, LoadAndSaveMapTheRecordsCodesAndFallBackToFirstItems) {
    CFilter record;
    record.m_strSpace = L"布局1";
    record.m_strLineType = L"DASHED";
    record.m_dLtScale = 2.5;
    record.m_dWidth = 100.0;
    record.m_nVisibility = 1;
    record.m_nPlanar = 0;
    record.m_bWidth = TRUE;
    record.m_strWidthOp = L"||=";
    CAdvancedCriteria criteria = CAdvancedCriteriaRules::Opening(kSpaces, kLinetypes);
    CAdvancedCriteriaRules::Load(criteria, record, kSpaces, kLinetypes);
    EXPECT_EQ(criteria.space, L"布局1");
    EXPECT_EQ(criteria.lineType, L"DASHED");
    EXPECT_EQ(criteria.ltScale, L"2.5");
    EXPECT_EQ(criteria.width, L"100");
    EXPECT_EQ(criteria.visible, L"否");
    EXPECT_EQ(criteria.planar, L"否");
    EXPECT_EQ(criteria.widthOp, L"||=");

    CFilter saved;
    CAdvancedCriteriaRules::Save(criteria, kLinetypes, saved);
    EXPECT_EQ(saved.m_nVisibility, 1);
    EXPECT_EQ(saved.m_nPlanar, 0);
    EXPECT_DOUBLE_EQ(saved.m_dLtScale, 2.5);
    EXPECT_TRUE(saved.m_bWidth);

    // An entity's linetype as the host spells it finds the table's record.
    record.m_strLineType = L"BYLAYER";
    CAdvancedCriteriaRules::Load(criteria, record, kSpaces, kLinetypes);
    EXPECT_EQ(criteria.lineType, L"ByLayer");

    record.m_strSpace = L"no such layout";
    record.m_strLineType = L"NOSUCH";
    CAdvancedCriteriaRules::Load(criteria, record, kSpaces, kLinetypes);
    EXPECT_EQ(criteria.space, L"[*模型*]");
    EXPECT_EQ(criteria.lineType, L"ByBlock");
    criteria.lineType.clear();
    CAdvancedCriteriaRules::Save(criteria, kLinetypes, saved);
    EXPECT_EQ(saved.m_strLineType, L"ByBlock") << "with nothing chosen the first linetype is stored";
}

TEST(AdvancedCriteria, LinetypeListShowsChineseByNamesAndARuleForContinuous) {
    EXPECT_EQ(CAdvancedCriteriaRules::LinetypeDisplayName(L"ByBlock"), L"随块");
    EXPECT_EQ(CAdvancedCriteriaRules::LinetypeDisplayName(L"ByLayer"), L"随层");
    EXPECT_EQ(CAdvancedCriteriaRules::LinetypeDisplayName(L"DASHED"), L"DASHED");
    EXPECT_EQ(CAdvancedCriteriaRules::LinetypeDescription(L"Continuous", L"Solid line"),
              L"________________________");
    EXPECT_EQ(CAdvancedCriteriaRules::LinetypeDescription(L"DASHED", L"Dashed __ __"), L"Dashed __ __");
    EXPECT_EQ(FindItemFromLast({L"a", L"b", L"a"}, L"a"), 2);
}

TEST(BasicCriteria, PreselectionAndGroupingComeFromTheRecordOnlyWhenTheSettingsSaySo) {
    CFilter record;
    record.m_bType = TRUE;
    record.m_strType = L"圆";
    record.m_bSelectFromAll = TRUE;
    record.m_nGroupMode = 3;
    record.m_strGroupName = L"墙体";
    for (const BOOL readPick : {FALSE, TRUE}) {
        for (const BOOL readGroup : {FALSE, TRUE}) {
            CBasicCriteria shown;
            shown.groupMode = 1;
            shown.groupName = L"旧组";
            CBasicCriteriaRules::Load(shown, record, readPick, readGroup);
            EXPECT_EQ(shown.selectFromAll, readPick);
            EXPECT_EQ(shown.groupMode, readGroup ? 3 : 1);
            EXPECT_EQ(shown.groupName, readGroup ? L"墙体" : L"旧组");
            EXPECT_EQ(CBasicCriteriaRules::ChosenType(shown), L"圆");
        }
    }
    EXPECT_FALSE(CBasicCriteriaRules::GroupNameEnabled(0));
    EXPECT_TRUE(CBasicCriteriaRules::GroupNameEnabled(5));
}

} // namespace
