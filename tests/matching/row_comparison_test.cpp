// The three comparisons of the engine, one table per value class: every operator offered for the class,
// the precision of real equality, strict order, "||=", "%2=" with negative numbers, "&" answering the
// AND itself, "&=" never true, and operators or values a record should not hold.
#include "quelto/filter/qlt_system_param.h"
#include "quelto/matching/entity_extend_filter.h"
#include "tests/filter/filter_test_support.h"

#include <gtest/gtest.h>

namespace {

class Comparisons : public testing::Test {
protected:
    filter_test::IsolatedSettings m_settings; // no registry values: precision 0.0001
    CEntityExtendFilter m_engine;
};

struct RealRow {
    double value;
    const wchar_t* op;
    const wchar_t* text;
    int expected;
};

TEST_F(Comparisons, RealOperatorsUseThePrecisionOnlyForEquality) {
    ASSERT_DOUBLE_EQ(m_engine.m_dEPI, 0.0001);
    const RealRow rows[] = {
        {1.00005, L"=", L"1", 1},      {1.0002, L"=", L"1", 0},   {1.0001, L"=", L"1", 1},
        {1.00005, L"!=", L"1", 0},     {1.0002, L"!=", L"1", 1},  {0.99999, L"<", L"1", 1},
        {1.0, L"<", L"1", 0},          {1.0, L"<=", L"1", 1},     {1.00001, L"<=", L"1", 0},
        {1.00001, L">", L"1", 1},      {1.0, L">", L"1", 0},      {1.0, L">=", L"1", 1},
        {0.99999, L">=", L"1", 0},     {-90.0, L"||=", L"90", 1}, {90.0, L"||=", L"90", 1},
        {-89.99999, L"||=", L"90", 0}, {2.5, L"=", L"2.5mm", 1},  {0.0, L"=", L"abc", 1},
        {0.5, L"=", L"abc", 0},        {1.0, L"包含", L"1", 0},   {1.0, L"%2=", L"1", 0},
        {1.0, L"", L"1", 0},           {1.0, L"==", L"1", 0},     {-3.0, L"<", L"-2.5e0", 1},
    };
    for (const RealRow& row : rows) {
        EXPECT_EQ(m_engine.CompareReal(row.value, row.op, row.text), row.expected)
            << row.value << " " << testing::PrintToString(std::wstring(row.op)) << " "
            << testing::PrintToString(std::wstring(row.text));
    }
}

struct IntegerRow {
    int value;
    const wchar_t* op;
    const wchar_t* text;
    int expected;
};

TEST_F(Comparisons, IntegerOperatorsAnswerOneOrZeroExceptBitwiseAnd) {
    const IntegerRow rows[] = {
        {5, L"=", L"5", 1},     {5, L"=", L"6", 0},    {5, L"!=", L"6", 1},  {5, L"!=", L"5", 0},
        {4, L"<", L"5", 1},     {5, L"<", L"5", 0},    {5, L"<=", L"5", 1},  {6, L"<=", L"5", 0},
        {6, L">", L"5", 1},     {5, L">", L"5", 0},    {5, L">=", L"5", 1},  {4, L">=", L"5", 0},
        {7, L"%2=", L"1", 1},   {8, L"%2=", L"1", 0},  {8, L"%2=", L"0", 1}, {-3, L"%2=", L"1", 0},
        {-3, L"%2=", L"-1", 1}, {-4, L"%2=", L"0", 1}, {12, L"&", L"4", 4},  {12, L"&", L"3", 0},
        {7, L"&", L"5", 5},     {-1, L"&", L"6", 6},   {4, L"&=", L"4", 0},  {0, L"&=", L"0", 0},
        {5, L"||=", L"5", 0},   {5, L"包含", L"5", 0}, {0, L"=", L"x", 1},   {3, L"=", L"3.9", 1},
    };
    for (const IntegerRow& row : rows) {
        EXPECT_EQ(m_engine.CompareInteger(row.value, row.op, row.text), row.expected)
            << row.value << " " << testing::PrintToString(std::wstring(row.op)) << " "
            << testing::PrintToString(std::wstring(row.text));
    }
}

struct TextRow {
    const wchar_t* value;
    const wchar_t* op;
    const wchar_t* text;
    int expected;
};

TEST_F(Comparisons, TextOperatorsKeepCaseExceptTheWildcard) {
    const TextRow rows[] = {
        {L"WALL", L"=", L"WALL", 1},
        {L"WALL", L"=", L"wall", 0},
        {L"WALL", L"!=", L"wall", 1},
        {L"A", L"<", L"B", 1},
        {L"B", L"<", L"a", 1},
        {L"b", L"<", L"B", 0},
        {L"B", L"<=", L"B", 1},
        {L"C", L">", L"B", 1},
        {L"B", L">=", L"C", 0},
        {L"墙体-外", L"包含", L"体-", 1},
        {L"墙体", L"包含", L"门", 0},
        {L"墙体", L"不包含", L"门", 1},
        {L"ABC", L"包含", L"b", 0},
        {L"WALL-1", L"左边=", L"WALL", 1},
        {L"WALL-1", L"左边=", L"wall", 0},
        {L"WA", L"左边=", L"WALL", 0},
        {L"WALL-1", L"左边!=", L"DOOR", 1},
        {L"WALL-1", L"右边=", L"-1", 1},
        {L"WALL-1", L"右边!=", L"-1", 0},
        {L"wall-1", L"通配符", L"W*1", 1},
        {L"wall-1", L"反通配符", L"W*1", 0},
        {L"wall-2", L"反通配符", L"W*1", 1},
        {L"125", L"特征", L"纯数字", 1},
        {L"12a", L"特征", L"纯数字", 0},
        {L"-12.5", L"特征", L"实数", 1},
        {L"ABC", L"特征", L"无中文字符", 0},
        {L"", L"特征", L"无中文字符", 1},
        {L"ABC", L"特征", L"没有这个特征", 0},
        {L"ABC", L"%2=", L"ABC", 0},
        {L"ABC", L"||=", L"ABC", 0},
        {L"ABC", L"like", L"ABC", 0},
    };
    for (const TextRow& row : rows) {
        EXPECT_EQ(m_engine.CompareText(row.value, row.op, row.text), row.expected)
            << testing::PrintToString(std::wstring(row.value)) << " "
            << testing::PrintToString(std::wstring(row.op)) << " "
            << testing::PrintToString(std::wstring(row.text));
    }
}

TEST_F(Comparisons, PrecisionComesFromTheSettings) {
    filter_test::IsolatedSettings settings;
    CQLTSystemParam().SetEPI(0.01);
    CEntityExtendFilter engine;
    EXPECT_EQ(engine.CompareReal(1.005, L"=", L"1"), 1);
    EXPECT_EQ(engine.CompareReal(1.02, L"=", L"1"), 0);
}

} // namespace
