// MTEXT formatting codes read as displayed lines: breaks, dropped codes, stacked fractions, escapes.
#include "cad/db/mtext_format.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(MTextFormat, ContentsBecomeDisplayedLines) {
    const std::pair<std::wstring, std::vector<std::wstring>> rows[] = {
        {L"a\\Pb", {L"a", L"b"}},
        {L"{\\fArial|b0|i0;Hello}", {L"Hello"}},
        {L"\\S1^2;", {L"1/2"}},
        {L"x\\~y", {L"x y"}},
        {L"\\U+4E2D", {L"中"}},
        {L"\\\\", {L"\\"}},
        {L"\\H2.5x;AB\\P\\C1;C", {L"AB", L"C"}},
        {L"\\LUnder\\l", {L"Under"}},
    };
    for (const auto& [contents, lines] : rows) {
        EXPECT_EQ(cad::db::mtextLines(contents), lines);
    }
}

} // namespace
