// Tests of CZEBString: fixed-decimal formatting and its trimming, column letters, Chinese and Roman
// numerals at their range boundaries, comma lists, value reading, and the clipboard hook a host installs.
#include "quelto/baselib/zeb_string.h"

#include <climits>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace {

struct DoubleCase {
    double value;
    int precision;
    const wchar_t* expected;
};

TEST(ZebString, FormatsFixedDecimalsAndTrimsOnlyForNegativePrecision) {
    // 2.675 is stored just below itself, so two decimals give 2.67.
    const DoubleCase cases[] = {
        // clang-format off
        {1.0 / 3.0, -7, L"0.3333333"}, {2.0, 0, L"2"},       {7.25, -7, L"7.25"},     {3.0, -7, L"3"},
        {0.0, -7, L"0"},               {-2.50, -7, L"-2.5"}, {7.25, 2, L"7.25"},      {3.0, 2, L"3.00"},
        {100.0, -3, L"100"},           {2.675, 2, L"2.67"},  {1.5, 12, L"1.5000000000"}, {1.5, -12, L"1.5"},
        {0.25, INT_MIN, L"0.25"},      {123456.0, 9, L"123456.000000000"}, {-0.0000001, -7, L"-0.0000001"}
        // clang-format on
    };
    for (const DoubleCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetDoubleString(testCase.value, testCase.precision), testCase.expected)
            << testCase.value << " with " << testCase.precision;
    }
}

struct BoundedDoubleCase {
    double value;
    int minimum;
    int maximum;
    const wchar_t* expected;
};

TEST(ZebString, FormatsBetweenMinimumAndMaximumDecimals) {
    // Without a fraction nothing is trimmed, so the zeros of 100 stay with no decimals at all.
    const BoundedDoubleCase cases[] = {
        // clang-format off
        {2.5, 2, 4, L"2.50"},    {2.123456, 0, 4, L"2.1235"}, {3.0, 1, 4, L"3.0"},     {100.0, 0, 3, L"100"},
        {100.0, 2, 3, L"100.00"}, {100.0, 0, 0, L"100"},     {2.5, 4, 2, L"2.5000"},  {-1.26, 1, -1, L"-1.3"},
        {0.004, 0, 2, L"0"},     {15.413, 2, 2, L"15.41"}
        // clang-format on
    };
    for (const BoundedDoubleCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetFDoubleString(testCase.value, testCase.minimum, testCase.maximum),
                  testCase.expected)
            << testCase.value << " with " << testCase.minimum << ".." << testCase.maximum;
    }
}

TEST(ZebString, RoundsThroughTheFixedDecimalText) {
    const struct {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {15.413, 2, 15.41}, {1.128781, 2, 1.13}, {-0.06, 1, -0.1}, {2.0, 1, 2.0}, {1234.5678, 0, 1235.0}};
    for (const auto& testCase : cases) {
        EXPECT_DOUBLE_EQ(CZEBString::FormatDoublePrev(testCase.value, testCase.decimals), testCase.expected)
            << testCase.value;
    }
}

struct IndexCase {
    int index;
    BOOL flag;
    const wchar_t* expected;
};

TEST(ZebString, WritesColumnLettersUpToThreeLetters) {
    const IndexCase cases[] = {
        {-1, TRUE, L""},      {0, TRUE, L"A"},       {25, TRUE, L"Z"},    {26, TRUE, L"AA"},
        {27, TRUE, L"AB"},    {51, TRUE, L"AZ"},     {52, TRUE, L"BA"},   {701, TRUE, L"ZZ"},
        {702, TRUE, L"AAA"},  {703, TRUE, L"AAB"},   {728, TRUE, L"ABA"}, {1377, TRUE, L"AZZ"},
        {1378, TRUE, L"BAA"}, {18277, TRUE, L"ZZZ"}, {18278, TRUE, L""},  {INT_MAX, TRUE, L""},
        {INT_MIN, TRUE, L""}, {0, FALSE, L"a"},      {27, FALSE, L"ab"},  {18277, FALSE, L"zzz"}};
    for (const IndexCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetAlpha(testCase.index, testCase.flag), testCase.expected) << testCase.index;
    }
}

TEST(ZebString, WritesChineseNumeralsOfIndexPlusOne) {
    const IndexCase cases[] = {
        // clang-format off
        {-1, FALSE, L""},         {0, FALSE, L"一"},          {9, FALSE, L"十"},           {10, FALSE, L"十一"},
        {10, TRUE, L"拾壹"},      {18, FALSE, L"十九"},       {18, TRUE, L"拾玖"},         {19, FALSE, L"二十"},
        {22, FALSE, L"二十三"},   {22, TRUE, L"贰拾叁"},      {49, FALSE, L"五十"},        {49, TRUE, L"伍拾"},
        {98, FALSE, L"九十九"},   {99, FALSE, L"一百"},       {99, TRUE, L"壹佰"},         {104, FALSE, L"一百零五"},
        {104, TRUE, L"壹佰零伍"}, {109, FALSE, L"一百一十"},  {114, FALSE, L"一百一十五"}, {122, FALSE, L"一百二十三"},
        {122, TRUE, L"壹佰贰拾叁"}, {199, FALSE, L"二百"},    {998, FALSE, L"九百九十九"}, {999, FALSE, L"十百"},
        {1000, FALSE, L"十百零一"}, {1000, TRUE, L"拾佰零壹"}, {1001, FALSE, L""},          {INT_MAX, TRUE, L""},
        {100, FALSE, L"一百零一"}, {108, FALSE, L"一百零九"}, {119, TRUE, L"壹佰贰拾"}
        // clang-format on
    };
    for (const IndexCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetChineseNumber(testCase.index, testCase.flag), testCase.expected)
            << testCase.index << (testCase.flag ? " capital" : " plain");
    }
}

TEST(ZebString, WritesRomanNumeralsWithTheUnicodeCharacters) {
    const IndexCase cases[] = {{-1, TRUE, L""},
                               {0, TRUE, L"\u2160"},
                               {3, TRUE, L"\u2163"},
                               {9, TRUE, L"\u2169"},
                               {10, TRUE, L"\u2169\u2160"},
                               {19, TRUE, L"\u2169\u2169"},
                               {1001, TRUE, L""},
                               {24, FALSE, L"\u2179\u2179\u2174"}};
    for (const IndexCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetRomanNum(testCase.index, testCase.flag), testCase.expected)
            << testCase.index;
    }
    const CString thousandAndOne = CZEBString::GetRomanNum(1000, TRUE);
    EXPECT_EQ(thousandAndOne, CString(100, L'\u2169') + L'\u2160');
}

TEST(ZebString, PadsIndexNumbersWithLeadingZeros) {
    const IndexCase cases[] = {{6, 3, L"007"},  {1233, 3, L"1234"}, {0, 0, L"1"},    {10000, 0, L"10001"},
                               {10001, 5, L""}, {-1, 3, L"000"},    {-3, 4, L"00-2"}};
    for (const IndexCase& testCase : cases) {
        EXPECT_EQ(CZEBString::GetNumber(testCase.index, testCase.flag), testCase.expected) << testCase.index;
    }
}

TEST(ZebString, PicksItemsOfACommaList) {
    const struct {
        const wchar_t* list;
        int index;
        const wchar_t* expected;
    } cases[] = {{L"红,绿,蓝", 0, L"红"}, {L"红,绿,蓝", 1, L"绿"}, {L"红,绿,蓝", 2, L"蓝"},
                 {L"红,绿,蓝", 3, L""},   {L"红,绿,蓝", -1, L""},  {L",x,", 0, L""},
                 {L",x,", 1, L"x"},       {L",x,", 2, L""},        {L",x,", 3, L""},
                 {L"abc", 0, L"abc"},     {L"abc", 1, L""},        {L"", 0, L""}};
    for (const auto& testCase : cases) {
        EXPECT_EQ(CZEBString::GetDefineString(testCase.index, testCase.list), testCase.expected)
            << testCase.index;
    }
}

TEST(ZebString, ReadsLeadingNumbersWithOptionalAbsoluteValue) {
    EXPECT_EQ(CZEBString::GetFIntValue(L" -12abc", FALSE), -12);
    EXPECT_EQ(CZEBString::GetFIntValue(L" -12abc", TRUE), 12);
    EXPECT_EQ(CZEBString::GetFIntValue(L"x", TRUE), 0);
    EXPECT_EQ(CZEBString::GetFIntValue(L"-2147483648", TRUE), INT_MIN);
    EXPECT_DOUBLE_EQ(CZEBString::GetFDoubleValue(L"-2.5e1", TRUE), 25.0);
    EXPECT_DOUBLE_EQ(CZEBString::GetFDoubleValue(L"-2.5e1", FALSE), -25.0);
    EXPECT_EQ(CZEBString::GetFIntString(-7), L"-7");
}

// Installs a clipboard for one test and puts the previous one back afterwards.
class InstalledClipboard {
public:
    explicit InstalledClipboard(CZEBClipboardAccess access)
        : m_previous(CZEBString::SetClipboardAccess(std::move(access))) {}
    ~InstalledClipboard() { CZEBString::SetClipboardAccess(std::move(m_previous)); }
    InstalledClipboard(const InstalledClipboard&) = delete;
    InstalledClipboard& operator=(const InstalledClipboard&) = delete;

private:
    CZEBClipboardAccess m_previous;
};

TEST(ZebString, AnswersNoClipboardUntilAHostInstallsOne) {
    InstalledClipboard none{CZEBClipboardAccess{}};
    CString text = L"unchanged";
    EXPECT_EQ(CZEBString::GetClipText(text), FALSE);
    EXPECT_EQ(text, L"unchanged");
    EXPECT_EQ(CZEBString::SetClipText(L"x"), FALSE);
}

TEST(ZebString, PassesTextThroughTheInstalledClipboard) {
    std::optional<CString> clipboard;
    CZEBClipboardAccess access;
    access.read = [&clipboard](CString& text) -> BOOL {
        if (!clipboard) {
            return FALSE;
        }
        text = *clipboard;
        return TRUE;
    };
    access.write = [&clipboard](const CString& text) -> BOOL {
        clipboard = text;
        return TRUE;
    };
    InstalledClipboard installed{access};

    CString text = L"unchanged";
    EXPECT_EQ(CZEBString::GetClipText(text), FALSE) << "an empty clipboard";
    EXPECT_EQ(text, L"unchanged");

    EXPECT_EQ(CZEBString::SetClipText(L"钢筋 Φ12"), TRUE);
    EXPECT_EQ(CZEBString::GetClipText(text), TRUE);
    EXPECT_EQ(text, L"钢筋 Φ12");

    // Installing another access hands back this one, so a host can chain or restore it.
    CZEBClipboardAccess previous = CZEBString::SetClipboardAccess(CZEBClipboardAccess{});
    ASSERT_TRUE(previous.read);
    EXPECT_EQ(CZEBString::GetClipText(text), FALSE);
    CZEBString::SetClipboardAccess(std::move(previous));
    EXPECT_EQ(CZEBString::GetClipText(text), TRUE);

    access.write = [](const CString&) -> BOOL { return FALSE; };
    CZEBString::SetClipboardAccess(access);
    EXPECT_EQ(CZEBString::SetClipText(L"x"), FALSE) << "a refused write";
}

} // namespace
