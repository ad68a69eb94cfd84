// The property page's rules without widgets, over the real catalogue's LINE and TEXT lists: operators
// per value kind, the value control per operator, template pre-fill, the logic expression check, and
// loading rows whose property id the type lacks.

#include "quelto/matching/in_matching_string.h"
#include "quelto/ui/property_row_rules.h"

#include <gtest/gtest.h>

namespace {

class PropertyRules : public testing::Test {
protected:
    EntityInfo& info(const wchar_t* dxfName) { return *m_catalogue.GetEntityInfo(dxfName, TRUE); }
    void choose(int row, const wchar_t* name) {
        ASSERT_TRUE(m_model.ChoosePropertyByName(row, name)) << name;
    }

    CInfoMapList m_catalogue;
    CPropertyPageModel m_model;
};

TEST_F(PropertyRules, OperatorsFollowTheValueKindAndKeepThePreviousOneWhenOffered) {
    m_model.Refill(&info(L"LINE"));
    choose(0, L"角度");
    const CStringArray real = {L"=", L"!=", L">", L"<", L">=", L"<=", L"||="};
    EXPECT_EQ(m_model.Row(0).operators, real);
    m_model.ChooseOperator(0, L">=");

    m_model.Refill(&info(L"TEXT"));
    EXPECT_FALSE(m_model.Row(0).Enabled());
    choose(0, L"文本样式");
    const CStringArray text = {L"=",      L"!=",     L">",      L"<",        L">=",
                               L"<=",     L"包含",   L"不包含", L"左边=",    L"右边=",
                               L"左边!=", L"右边!=", L"通配符", L"反通配符", L"特征"};
    EXPECT_EQ(m_model.Row(0).operators, text);
    EXPECT_EQ(m_model.Row(0).Operator(), L">=");
    m_model.ChooseOperator(0, L"通配符");
    choose(0, L"对正"); // an enumeration offers "=" only, so the wildcard operator cannot stay
    EXPECT_EQ(m_model.Row(0).operators, CStringArray{L"="});
    EXPECT_EQ(m_model.Row(0).Operator(), L"=");

    const struct {
        int id;
        std::size_t count;
    } kinds[] = {{101, 9}, {1999, 9}, {250, 7}, {2001, 7}, {301, 15}, {3500, 15}, {401, 1}, {4001, 1}};
    for (const auto& kind : kinds) {
        EXPECT_EQ(CPropertyPageModel::OperatorsFor(kind.id).size(), kind.count) << kind.id;
    }
}

TEST_F(PropertyRules, ValueControlFollowsItemsAndTextOperators) {
    m_model.Refill(&info(L"TEXT"));
    choose(1, L"对正");
    EXPECT_EQ(m_model.Row(1).control, CValueControl::DropDownList);
    EXPECT_EQ(m_model.Row(1).listItems.size(), 15u);

    choose(2, L"文本内容");
    EXPECT_EQ(m_model.Row(2).Operator(), L"=");
    EXPECT_EQ(m_model.Row(2).control, CValueControl::EditBox);

    m_model.ChooseOperator(2, L"特征");
    ASSERT_EQ(m_model.Row(2).control, CValueControl::DropDownList);
    ASSERT_EQ(static_cast<int>(m_model.Row(2).listItems.size()), CINMatchingString::GetFeatureCount());
    EXPECT_EQ(m_model.Row(2).ListText(), CINMatchingString::GetFeatureName(0));
    m_model.ChooseListItem(2, 3);
    m_model.ChooseOperator(2, L"特征"); // the chosen feature stays chosen
    EXPECT_EQ(m_model.Row(2).ListText(), CINMatchingString::GetFeatureName(3));

    m_model.ChooseOperator(2, L"包含");
    EXPECT_EQ(m_model.Row(2).control, CValueControl::EditBox);
    m_model.ChooseOperator(2, L"!=");
    EXPECT_EQ(m_model.Row(2).control, CValueControl::EditBox) << "a text without items keeps the edit box";
}

TEST_F(PropertyRules, TemplateValuesFillOnlyEmptyEditBoxesAndUnmatchedLists) {
    EntityInfo& line = info(L"LINE");
    for (EntityProp& property : line.props) {
        property.value = property.name == L"长度" ? L"10" : L"3.5";
    }
    m_model.Refill(&line);
    choose(0, L"长度");
    EXPECT_EQ(m_model.Row(0).Value(), L"10");
    m_model.SetEditText(0, L"7");
    choose(0, L"角度");
    EXPECT_EQ(m_model.Row(0).Value(), L"7") << "a typed value is not replaced by the template's";

    EntityInfo& text = info(L"TEXT");
    for (EntityProp& property : text.props) {
        if (property.name == L"对正") {
            property.value = L"右中";
        }
    }
    m_model.Refill(&text);
    choose(3, L"对正");
    EXPECT_EQ(m_model.Row(3).Value(), L"右中");
}

TEST_F(PropertyRules, ExpressionsAreCleanedAndCheckedAgainstTheRowsSet) {
    EXPECT_EQ(CPropertyPageModel::CleanExpression(L" (a & b) |c "), L"(A&B)|C");

    const std::array<bool, 7> rowsAB = {true, true, false, false, false, false, false};
    const CString undefined = L"逻辑表达式中出现了没有定义的逻辑变量，请检查！";
    const CString malformed = L"高级选项中的逻辑表达式错误，用&表示且，用|表示或，可以使用括号！";
    const CString missing = L"请输入高级选项中的逻辑表达式，用&表示且，用|表示或，可以使用括号";
    const struct {
        const wchar_t* expression;
        CString message; // empty: accepted
    } cases[] = {{L"A&B", L""},      {L"(A|B)&A", L""},    {L"A&H", undefined}, {L"C", undefined},
                 {L"A&", malformed}, {L"(A&B", malformed}, {L"", missing}};
    for (const auto& row : cases) {
        const auto refusal = CPropertyPageModel::CheckExpression(row.expression, rowsAB);
        if (row.message.empty()) {
            EXPECT_FALSE(refusal.has_value()) << testing::PrintToString(CString(row.expression));
        } else {
            ASSERT_TRUE(refusal.has_value()) << testing::PrintToString(CString(row.expression));
            EXPECT_EQ(refusal->message, row.message);
            EXPECT_EQ(refusal->title, L"表达式错误");
        }
    }
}

TEST_F(PropertyRules, SaveWritesSetRowsInLetterOrderAndLoadSkipsUnknownIds) {
    m_model.Refill(&info(L"LINE"));
    choose(4, L"长度");
    m_model.ChooseOperator(4, L">");
    m_model.SetEditText(4, L"10");
    choose(1, L"角度");
    m_model.SetEditText(1, L"45");
    m_model.logicChecked = TRUE;
    m_model.logicMode = 2;
    m_model.logicExpression = L"b | e";

    CFilter record;
    record.m_arrPropId = {999};
    record.m_arrPropRow = {0};
    record.m_arrPropOp = {L"="};
    record.m_arrPropValue = {L"stale"};
    ASSERT_FALSE(m_model.Save(record).has_value());
    EXPECT_EQ(record.m_strLogic, L"B|E");
    EXPECT_EQ(record.m_arrPropId, (CArray<int, int>{214, 213}));
    EXPECT_EQ(record.m_arrPropRow, (CArray<int, int>{1, 4}));
    EXPECT_EQ(record.m_arrPropOp, (CStringArray{L"=", L">"}));
    EXPECT_EQ(record.m_arrPropValue, (CStringArray{L"45", L"10"}));

    record.m_arrPropId.push_back(999); // no LINE property has this id
    record.m_arrPropRow.push_back(6);
    record.m_arrPropOp.push_back(L"=");
    record.m_arrPropValue.push_back(L"1");
    CPropertyPageModel loaded;
    loaded.Refill(&info(L"LINE"));
    loaded.Load(record);
    EXPECT_EQ(loaded.Row(1).Value(), L"45");
    EXPECT_EQ(loaded.Row(4).Operator(), L">");
    EXPECT_EQ(loaded.Row(4).Value(), L"10");
    EXPECT_FALSE(loaded.Row(6).Enabled());
    EXPECT_FALSE(loaded.Row(0).Enabled());
    EXPECT_TRUE(loaded.ExpressionEnabled());
}

TEST_F(PropertyRules, RefusedSaveLeavesTheRecordAlone) {
    m_model.Refill(&info(L"LINE"));
    choose(0, L"长度");
    m_model.logicChecked = TRUE;
    m_model.logicMode = 2;
    m_model.logicExpression = L"a&b";
    CFilter record;
    const auto refusal = m_model.Save(record);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->message, L"逻辑表达式中出现了没有定义的逻辑变量，请检查！");
    EXPECT_TRUE(record.m_arrPropId.empty());
    EXPECT_EQ(record.m_strLogic, L"");
}

} // namespace
