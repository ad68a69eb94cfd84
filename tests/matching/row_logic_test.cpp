// Combination of property rows: all-and stops at the first false row, all-or at the first true one, the
// user expression sees every row as a variable and reports its errors in a message box; zero rows
// accept. Row values are handed in directly, so the rules are tested apart from any entity.
#include "platform/message_box.h"
#include "quelto/matching/row_logic.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using quelto::matching::PropertyRow;
using quelto::matching::RowLogic;
using quelto::matching::RowValue;

struct Row {
    int letter;
    const wchar_t* op;
    const wchar_t* value;
};

// Rows over real property ids 201, 202 ... with letters as given; the entity's value of row i is
// values[i]. Answers the result and how many rows were asked for a value.
struct Outcome {
    int result;
    int rowsAsked;
};

Outcome run(int mode, const CString& expression, std::initializer_list<Row> rows,
            std::vector<double> values) {
    CArray<int, int> ids;
    CArray<int, int> letters;
    CStringArray operators;
    CStringArray texts;
    for (const Row& row : rows) {
        ids.push_back(201 + static_cast<int>(ids.size()));
        letters.push_back(row.letter);
        operators.push_back(row.op);
        texts.push_back(row.value);
    }
    RowLogic logic;
    logic.load(ids, letters, operators, texts, mode, expression);
    int asked = 0;
    const int result = logic.evaluate([&](const PropertyRow& row) {
        ++asked;
        return RowValue::real(values[static_cast<std::size_t>(row.propertyId - 201)]);
    });
    return {result, asked};
}

class RowCombination : public testing::Test {
protected:
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_scope{m_boxes};
};

TEST_F(RowCombination, AllAndRejectsAtTheFirstFalseRow) {
    const auto rows = {Row{0, L">", L"5"}, Row{1, L"<", L"2"}, Row{2, L"=", L"0"}};
    EXPECT_EQ(run(0, L"", rows, {6, 1, 0}).result, 1);
    const Outcome second = run(0, L"", rows, {6, 3, 0});
    EXPECT_EQ(second.result, 0);
    EXPECT_EQ(second.rowsAsked, 2);
    EXPECT_EQ(run(0, L"", rows, {4, 1, 0}).rowsAsked, 1);
}

TEST_F(RowCombination, AllOrAcceptsAtTheFirstTrueRow) {
    const auto rows = {Row{0, L">", L"5"}, Row{1, L"<", L"2"}, Row{2, L"=", L"0"}};
    const Outcome first = run(1, L"", rows, {6, 3, 1});
    EXPECT_EQ(first.result, 1);
    EXPECT_EQ(first.rowsAsked, 1);
    EXPECT_EQ(run(1, L"", rows, {4, 3, 0}).result, 1);
    const Outcome none = run(1, L"", rows, {4, 3, 1});
    EXPECT_EQ(none.result, 0);
    EXPECT_EQ(none.rowsAsked, 3);
}

TEST_F(RowCombination, ExpressionSeesEveryRowByItsLetter) {
    // Rows stored as C, A, B: the letters, not the positions, name the variables. A lone letter is
    // no arithmetic: the analyser answers the boolean text "TRUE", which reads as 0 and rejects.
    const auto rows = {Row{2, L"=", L"1"}, Row{0, L"=", L"1"}, Row{1, L"=", L"1"}};
    struct Case {
        const wchar_t* expression;
        std::vector<double> values;
        int expected;
    };
    const Case cases[] = {
        {L"(A&B)|C", {1, 1, 1}, 1},     {L"(A&B)|C", {0, 1, 0}, 0}, {L"(A&B)|C", {0, 1, 1}, 1},
        {L"A|B", {0, 0, 0}, 0},         {L"A&B&C", {1, 1, 0}, 0},   {L"A&B&C", {1, 1, 1}, 1},
        {L"C&(A|B)", {1, 0, 1}, 1},     {L"C", {1, 0, 0}, 0},       {L"(A&B)|(C&A)", {1, 1, 0}, 1},
        {L"(A&B)|(C&A)", {0, 0, 1}, 0},
    };
    for (const Case& item : cases) {
        const Outcome outcome = run(2, item.expression, rows, item.values);
        EXPECT_EQ(outcome.result, item.expected) << testing::PrintToString(std::wstring(item.expression));
        EXPECT_EQ(outcome.rowsAsked, 3);
    }
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(RowCombination, BitwiseAndRowCountsByItsValueInAProduct) {
    CArray<int, int> ids{101, 102};
    CArray<int, int> letters{0, 1};
    CStringArray operators{L"=", L"&"};
    CStringArray texts{L"7", L"6"};
    RowLogic logic;
    logic.load(ids, letters, operators, texts, 2, L"A&B");
    const auto values = std::map<int, int>{{101, 7}, {102, 12}};
    // A is 1 and B is 12 & 6 = 4: the product 4 accepts.
    EXPECT_EQ(
        logic.evaluate([&](const PropertyRow& row) { return RowValue::integer(values.at(row.propertyId)); }),
        1);
}

TEST_F(RowCombination, ExpressionErrorsShowTheirMessageAndFallBackToTheLastRow) {
    const auto rows = {Row{0, L"=", L"1"}, Row{1, L"=", L"1"}};
    struct Case {
        const wchar_t* expression;
        std::vector<double> values;
        const wchar_t* message;
        int expected;
    };
    const Case cases[] = {
        {L"A&H", {1, 1}, L"逻辑表达式中出现了没有定义的逻辑变量，请检查！", 1},
        {L"A&H", {1, 0}, L"逻辑表达式中出现了没有定义的逻辑变量，请检查！", 0},
        {L"", {1, 1}, L"高级选项中的逻辑表达式错误，用&表示且，用|表示或，可以使用括号！", 1},
        {L"(A&B", {0, 1}, L"高级选项中的逻辑表达式错误，用&表示且，用|表示或，可以使用括号！", 1},
    };
    for (const Case& item : cases) {
        m_boxes.clear();
        EXPECT_EQ(run(2, item.expression, rows, item.values).result, item.expected)
            << testing::PrintToString(std::wstring(item.expression));
        ASSERT_EQ(m_boxes.shown().size(), 1u);
        EXPECT_EQ(m_boxes.shown()[0].text, item.message);
        EXPECT_EQ(m_boxes.shown()[0].caption, L"表达式错误");
        EXPECT_EQ(m_boxes.shown()[0].icon(), MB_ICONINFORMATION);
    }
}

TEST_F(RowCombination, NoRowsAcceptAndUnknownIdsAreTrue) {
    for (int mode : {0, 1, 2}) {
        EXPECT_EQ(run(mode, L"A&B", {}, {}).result, 1);
    }
    RowLogic logic;
    logic.load({299, 201}, {0, 1}, {L"=", L"="}, {L"1", L"1"}, 0, L"");
    EXPECT_EQ(logic.evaluate([](const PropertyRow& row) {
        return row.propertyId == 201 ? RowValue::real(1.0) : RowValue::unknown();
    }),
              1);
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(RowCombination, SkippedRowsTakeNoPartAndLeaveTheLastEvaluatedResult) {
    RowLogic logic;
    logic.load({201, 202}, {0, 1}, {L"=", L"="}, {L"1", L"1"}, 0, L"");
    EXPECT_EQ(logic.evaluate([](const PropertyRow& row) {
        return row.propertyId == 201 ? RowValue::real(1.0) : RowValue::skipped();
    }),
              1);
    EXPECT_EQ(logic.evaluate([](const PropertyRow&) { return RowValue::skipped(); }), 1);
    EXPECT_EQ(logic.evaluate([](const PropertyRow& row) {
        return row.propertyId == 201 ? RowValue::real(0.0) : RowValue::skipped();
    }),
              0);
}

TEST_F(RowCombination, MismatchedRowArraysKeepOnlyCompleteRows) {
    RowLogic logic;
    logic.load({201, 202, 203}, {0, 1}, {L"=", L"=", L"="}, {L"1", L"1", L"1"}, 0, L"");
    EXPECT_EQ(logic.rows().size(), 2u);
}

} // namespace
