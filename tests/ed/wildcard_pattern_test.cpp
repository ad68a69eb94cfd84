// Wild-card matching as the host documents it, one row per pattern rule.

#include "cad/ed/resbuf.h"
#include "cad/ed/wildcard_pattern.h"

#include <gtest/gtest.h>

namespace {

struct WildcardCase {
    const wchar_t* text;
    const wchar_t* pattern;
    bool matches;
};

TEST(WildcardPattern, FollowsEveryPatternRule) {
    const WildcardCase cases[] = {
        {L"WALL", L"WALL", true},
        {L"WALL", L"WAL", false},
        {L"WALL", L"wall", false}, // case-sensitive
        {L"A1", L"A#", true},      // digit
        {L"AB", L"A#", false},
        {L"A1", L"@1", true},  // letter
        {L"墙1", L"@1", true}, // CJK ideographs are letters
        {L"71", L"@1", false},
        {L"A-1", L"A.1", true}, // non-alphanumeric
        {L"AB1", L"A.1", false},
        {L"", L"*", true}, // any run, empty included
        {L"DIMENSION33", L"DIM*", true},
        {L"XDIM", L"DIM*", false},
        {L"LAYER-12", L"*-##", true},
        {L"abcbc", L"*bc", true}, // back-tracking past a first partial match
        {L"AXC", L"A?C", true},   // any single character
        {L"AC", L"A?C", false},
        {L"WALL", L"~WALL", false}, // negation
        {L"DOOR", L"~WALL", true},
        {L"DOORS", L"~*AB*", true},
        {L"SLAB", L"~*AB*", false},
        {L"AC", L"[AB]C", true}, // classes
        {L"CC", L"[AB]C", false},
        {L"XC", L"[~AB]C", true},
        {L"AC", L"[~AB]C", false},
        {L"GC", L"[A-G]C", true},
        {L"HC", L"[A-G]C", false},
        {L"STR8", L"STR[1-38]", true},
        {L"STR5", L"STR[1-38]", false},
        {L"]", L"[]]", true},  // ']' first in a class is a member
        {L"~", L"[A~]", true}, // '~' not first in a class is literal
        {L"*", L"[*]", true},  // everything is literal inside brackets
        {L"A", L"[*]", false},
        {L"[A", L"[A", true},              // an unclosed class is a literal '['
        {L"CIRCLE", L"LINE,CIRCLE", true}, // alternatives
        {L"ARC", L"LINE,CIRCLE", false},
        {L"A,B", L"A`,B", true}, // escaped comma
        {L"~AB", L"`~AB", true}, // escaped tilde
        {L"X*", L"X`*", true},
        {L"XY", L"X`*", false},
        {L"Name,", L"*`,*", true},
        {L"0", L"[0-9],~*", true}, // a negated alternative beside a plain one
    };
    for (const WildcardCase& row : cases) {
        EXPECT_EQ(acutWcMatch(row.text, row.pattern), row.matches ? RTNORM : RTERROR)
            << "text \"" << testing::PrintToString(std::wstring(row.text)) << "\" pattern "
            << testing::PrintToString(std::wstring(row.pattern));
    }
}

TEST(WildcardPattern, IgnoresCaseOnlyWhenAsked) {
    EXPECT_EQ(acutWcMatchEx(L"wall", L"WA[K-M]L", true), RTNORM);
    EXPECT_EQ(acutWcMatchEx(L"wall", L"WA[K-M]L", false), RTERROR);
    EXPECT_EQ(acutWcMatch(nullptr, L"*"), RTERROR);
    EXPECT_TRUE(cad::ed::WildcardPattern(L"0").isLiteral());
    EXPECT_FALSE(cad::ed::WildcardPattern(L"A,B").isLiteral());
    EXPECT_FALSE(cad::ed::WildcardPattern(L"~A").isLiteral());
}

} // namespace
