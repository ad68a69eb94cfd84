// The text operators: every match code with and without case folding, the wildcard's anchors and
// in-order search, every feature, and the feature list the property page offers.
#include "quelto/matching/in_matching_string.h"

#include <gtest/gtest.h>

namespace {

struct MatchRow {
    const wchar_t* text;
    const wchar_t* pattern;
    int caseArgument;
    int code;
    int expected;
};

TEST(MatchingString, EveryCodeComparesAsItsNameSays) {
    const MatchRow rows[] = {
        {L"abc", L"abc", 1, 1, 1},   {L"abc", L"ABC", 1, 1, 0},      {L"abc", L"ABC", 0, 1, 1},
        {L"abc", L"abd", 1, 2, 1},   {L"abc", L"ABC", 0, 2, 0},      {L"b", L"a", 1, 3, 1},
        {L"a", L"a", 1, 3, 0},       {L"a", L"a", 1, 4, 1},          {L"a", L"b", 1, 4, 0},
        {L"a", L"b", 1, 5, 1},       {L"B", L"a", 1, 5, 1},          {L"B", L"a", 0, 5, 0},
        {L"b", L"b", 1, 6, 1},       {L"c", L"b", 1, 6, 0},          {L"ABCD", L"AB", 1, 21, 1},
        {L"ABCD", L"ab", 0, 21, 1},  {L"A", L"AB", 1, 21, 0},        {L"ABCD", L"AC", 1, 22, 1},
        {L"ABCD", L"AB", 1, 22, 0},  {L"ABCD", L"CD", 1, 23, 1},     {L"ABCD", L"cd", 1, 23, 0},
        {L"D", L"CD", 1, 23, 0},     {L"ABCD", L"BC", 1, 24, 1},     {L"ABCD", L"CD", 1, 24, 0},
        {L"ABCD", L"A*D", 1, 25, 1}, {L"ABCD", L"A*C", 1, 25, 0},    {L"ABCD", L"A*C", 1, 26, 1},
        {L"ABCD", L"a*d", 0, 26, 0}, {L"墙体ABC", L"体A", 1, 27, 1}, {L"ABC", L"b", 0, 27, 1},
        {L"ABC", L"b", 1, 27, 0},    {L"ABC", L"b", 1, 28, 1},       {L"ABC", L"", 1, 28, 0},
        {L"123", L"", 1, 29, 1},     {L"12a", L"", 1, 29, 0},        {L"abc", L"", 0, 29, 0},
        {L"", L"", 0, 29, 1},        {L"abc", L"abc", 1, 7, 0},      {L"abc", L"abc", 0, 30, 0},
    };
    for (const MatchRow& row : rows) {
        EXPECT_EQ(CINMatchingString::Match(row.text, row.pattern, row.caseArgument, row.code), row.expected)
            << "code " << row.code << " case " << row.caseArgument;
    }
}

struct WildcardRow {
    const wchar_t* text;
    const wchar_t* pattern;
    int caseFlag;
    int expected;
};

TEST(MatchingString, WildcardAnchorsBothEndsAndFindsPiecesInOrder) {
    const WildcardRow rows[] = {
        {L"ABC", L"AB*", 1, 1},    {L"AB", L"AB*", 1, 1},    {L"XAB", L"AB*", 1, 0},
        {L"AB", L"*B*A*", 1, 0},   {L"BA", L"*B*A*", 1, 1},  {L"A", L"A*A", 1, 0},
        {L"AA", L"A*A", 1, 1},     {L"ABA", L"A*A", 1, 1},   {L"BAA", L"*A*A*", 1, 1},
        {L"BAB", L"*A*A*", 1, 0},  {L"Abc", L"a*", 0, 1},    {L"Abc", L"a*", 1, 0},
        {L"", L"*", 1, 1},         {L"", L"", 1, 1},         {L"anything", L"", 1, 1},
        {L"", L"A*", 1, 0},        {L"", L"**", 1, 0},       {L"ABC", L"ABC", 1, 1},
        {L"ABCD", L"ABC", 1, 0},   {L"A?C", L"A?C", 1, 1},   {L"ABC", L"A?C", 1, 0},
        {L"A[B]", L"*[B]", 1, 1},  {L"AXXB", L"A**B", 1, 1}, {L"AXB", L"A***B", 1, 1},
        {L"WALL-2", L"*-*", 1, 1}, {L"WALL", L"*-*", 1, 0},  {L"层1层2", L"层*层*", 1, 1},
    };
    for (const WildcardRow& row : rows) {
        EXPECT_EQ(CINMatchingString::Wildcard(row.text, row.pattern, row.caseFlag), row.expected)
            << "pattern " << testing::PrintToString(std::wstring(row.pattern)) << " on "
            << testing::PrintToString(std::wstring(row.text));
    }
}

struct FeatureRow {
    const wchar_t* text;
    int feature;
    int expected;
};

TEST(MatchingString, FeaturesTestEveryCharacterOfTheText) {
    const FeatureRow rows[] = {
        {L"0123", 1, 1},  {L"12.5", 1, 0},  {L"", 1, 1},     {L"１２", 1, 0},   {L"12.5", 2, 1},
        {L"-3", 2, 1},    {L".5", 2, 1},    {L"+", 2, 1},    {L"1.2.3", 2, 0},  {L"1e5", 2, 0},
        {L"1-2", 2, 0},   {L"a1", 2, 0},    {L"ABC", 3, 1},  {L"AB1", 3, 0},    {L"ABc", 3, 0},
        {L"abc", 4, 1},   {L"abC", 4, 0},   {L"ab c", 4, 0}, {L"aBc", 5, 1},    {L"a1", 5, 0},
        {L"墙", 5, 0},    {L"a1B2", 6, 1},  {L"a_1", 6, 0},  {L"墙体-a", 7, 1}, {L"墙1", 7, 0},
        {L"12-墙", 8, 1}, {L"1a", 8, 0},    {L"abc1", 9, 1}, {L"abC", 9, 0},    {L"ABC1", 10, 1},
        {L"ABc", 10, 0},  {L"墙体", 11, 0}, {L"ABC", 12, 0}, {L"", 12, 1},      {L"ABC", 0, 0},
        {L"ABC", 13, 0},  {L"", 13, 1},     {L"", -1, 1},
    };
    for (const FeatureRow& row : rows) {
        EXPECT_EQ(CINMatchingString::Feature(row.text, row.feature), row.expected)
            << "feature " << row.feature << " on " << testing::PrintToString(std::wstring(row.text));
    }
}

TEST(MatchingString, FeatureListOffersTenOfTwelveNames) {
    const wchar_t* names[] = {L"纯数字",     L"实数",       L"大写字母",   L"小写字母",
                              L"字母",       L"数字和字母", L"无数字",     L"无字母",
                              L"无大写字母", L"无小写字母", L"全中文字符", L"无中文字符"};
    EXPECT_EQ(CINMatchingString::GetFeatureCount(), 10);
    for (int index = 0; index < 12; ++index) {
        EXPECT_EQ(CINMatchingString::GetFeatureName(index), names[index]);
        EXPECT_EQ(CINMatchingString::GetFeatureIndex(names[index]), index);
    }
    EXPECT_EQ(CINMatchingString::GetFeatureName(12), L"");
    EXPECT_EQ(CINMatchingString::GetFeatureName(-1), L"");
    EXPECT_EQ(CINMatchingString::GetFeatureIndex(L"数字"), -1);
    // A row asking for "无中文字符" tests feature 12, which no non-empty text has.
    const int feature = CINMatchingString::GetFeatureIndex(L"无中文字符") + 1;
    EXPECT_EQ(CINMatchingString::Match(L"abc", L"无中文字符", feature, 29), 0);
}

TEST(MatchingString, SplitKeepsEmptyPiecesAndAppends) {
    CStringArray pieces{L"kept"};
    EXPECT_EQ(CINMatchingString::SplitString(L"*A**B*", pieces), 6);
    const CStringArray expected{L"kept", L"", L"A", L"", L"B", L""};
    EXPECT_EQ(pieces, expected);
    CStringArray single;
    EXPECT_EQ(CINMatchingString::SplitString(L"", single), 1);
    EXPECT_EQ(single.front(), L"");
}

} // namespace
