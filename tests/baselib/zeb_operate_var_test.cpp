// Tests of the analyser record: conversions between value kinds, parameter indexes, copies, and the test
// that tells operator records from call records.

#include "quelto/baselib/zeb_operate_var.h"

#include <climits>
#include <gtest/gtest.h>
#include <stdexcept>
#include <utility>

namespace {

CZEBOperateVar makeValue(int type, const CString& text, double real, int integer) {
    CZEBOperateVar record;
    record.m_nType = type;
    record.m_strValue = text;
    record.m_dValue = real;
    record.m_nValue = integer;
    return record;
}

} // namespace

TEST(ZebOperateVar, GettersConvertBetweenKinds) {
    struct Row {
        CZEBOperateVar record;
        double real;
        int integer;
        int boolean;
        CString text;
    };
    const Row rows[] = {
        {makeValue(CZEBOperateVar::TypeString, L"12.75abc", 0, 0), 12.75, 12, 1, L"12.75abc"},
        {makeValue(CZEBOperateVar::TypeString, L"abc", 0, 0), 0.0, 0, 0, L"abc"},
        {makeValue(CZEBOperateVar::TypeString, L"0.9", 0, 0), 0.9, 0, 0, L"0.9"},
        {makeValue(CZEBOperateVar::TypeInteger, L"", 0, -42), -42.0, -42, 1, L"-42"},
        {makeValue(CZEBOperateVar::TypeReal, L"", 7.5, 0), 7.5, 7, 1, L"7.5"},
        {makeValue(CZEBOperateVar::TypeReal, L"", 0.5, 0), 0.5, 0, 0, L"0.5"},
        {makeValue(CZEBOperateVar::TypeReal, L"", -2.9, 0), -2.9, -2, 1, L"-2.9"},
        {makeValue(CZEBOperateVar::TypeReal, L"", 3.0, 0), 3.0, 3, 1, L"3"},
        {makeValue(CZEBOperateVar::TypeBoolean, L"", 0, 1), 1.0, 1, 1, L"1"},
        {makeValue(CZEBOperateVar::TypeBoolean, L"", 0, 5), 5.0, 5, 1, L"1"},
        {makeValue(CZEBOperateVar::TypeBoolean, L"", 0, 0), 0.0, 0, 0, L"0"},
        {makeValue(CZEBOperateVar::TypeString, L" -3.9x", 0, 0), -3.9, -3, 1, L" -3.9x"},
        {makeValue(CZEBOperateVar::TypeReal, L"", 1.0 / 3.0, 0), 1.0 / 3.0, 0, 0, L"0.3333333"},
        {makeValue(CZEBOperateVar::TypeReal, L"", 1e10, 0), 1e10, INT_MIN, 1, L"10000000000"},
        {makeValue(CZEBOperateVar::TypeReal, L"", -2147483649.5, 0), -2147483649.5, INT_MIN, 1,
         L"-2147483649.5"},
        {makeValue(CZEBOperateVar::TypeInteger, L"9", 2.5, INT_MIN), -2147483648.0, INT_MIN, 1,
         L"-2147483648"},
        {makeValue(CZEBOperateVar::TypeNone, L"7", 7.0, 7), 0.0, 0, 0, L""},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(row.record.GetDValue(), row.real);
        EXPECT_EQ(row.record.GetIValue(), row.integer);
        EXPECT_EQ(row.record.GetOValue(), row.boolean);
        EXPECT_EQ(row.record.GetSValue(), row.text);
    }
}

TEST(ZebOperateVar, ParameterIndexesCopiesAndClear) {
    CZEBOperateVar record = makeValue(CZEBOperateVar::TypeReal, L"x", 1.5, 3);
    record.m_strName = L"SFV3";
    record.m_strOperate = L"+";
    record.AddParamIndex(0);
    record.AddParamIndex(CArray<int, int>{1, 2});
    EXPECT_EQ(record.GetParamSize(), 3);
    EXPECT_EQ(record[2], 2);
    EXPECT_THROW(record[3], std::invalid_argument);
    EXPECT_THROW(record[-1], std::invalid_argument);
    EXPECT_TRUE(record.IsOperate());

    CZEBOperateVar copy(record);
    EXPECT_EQ(copy.m_strName, L"SFV3");
    EXPECT_EQ(copy.GetParamSize(), 3);
    copy.m_strOperate = L"mid";
    EXPECT_FALSE(copy.IsOperate());
    copy.ZEBClear();
    EXPECT_TRUE(copy.m_strName.empty());
    EXPECT_EQ(copy.GetParamSize(), 0);
    EXPECT_EQ(copy.m_nType, CZEBOperateVar::TypeNone);
    EXPECT_FALSE(copy.IsOperate());
    EXPECT_EQ(record.GetParamSize(), 3);
}

TEST(ZebOperateVar, OnlyOperationsStartingWithANonLetterAreOperators) {
    const std::pair<CString, BOOL> rows[] = {
        {L"+", TRUE},    {L"^", TRUE},   {L"!", TRUE},     {L"1x", TRUE},      {L"", FALSE},
        {L"mid", FALSE}, {L"If", FALSE}, {L"长度", FALSE}, {L"ｍａｘ", FALSE},
    };
    for (const auto& [operation, isOperator] : rows) {
        CZEBOperateVar record;
        record.m_strOperate = operation;
        EXPECT_EQ(record.IsOperate(), isOperator) << operation;
    }
}
