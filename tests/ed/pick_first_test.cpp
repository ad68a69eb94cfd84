// The pick-first set as modules set and read it: acedSSSetFirst's first argument becomes the selected
// and gripped set, acedSSGetFirst answers nil for the gripped set and the pick-first set second.

#include "cad/ed/command_line.h"
#include "drawing_fixture.h"

namespace {

std::int32_t lengthOf(const resbuf* buffer) {
    std::int32_t length = -1;
    EXPECT_EQ(acedSSLength(buffer->resval.rlname, &length), RTNORM);
    return length;
}

TEST_F(Drawing, SetFirstSelectsAndGripsItsFirstArgumentAndIgnoresTheSecond) {
    ads_name wall;
    resbuf* filter = acutBuildList(8, L"WALL", 0);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, filter, wall), RTNORM);
    acutRelRb(filter);

    // The documented call: the set first, nothing second.
    ASSERT_EQ(acedSSSetFirst(wall, nullptr), RTNORM);
    EXPECT_EQ(select(L"I"), (Ids{m_line, m_paperLine}));
    EXPECT_EQ(m_editor.gripped, (Ids{m_line, m_paperLine}));

    resbuf* gripped = nullptr;
    resbuf* pickFirst = nullptr;
    ASSERT_EQ(acedSSGetFirst(&gripped, &pickFirst), RTNORM);
    EXPECT_EQ(gripped->restype, RTNIL);
    ASSERT_EQ(pickFirst->restype, RTPICKS);
    EXPECT_EQ(lengthOf(pickFirst), 2);
    acedSSFree(pickFirst->resval.rlname);
    acutRelRb(gripped);
    acutRelRb(pickFirst);

    // A null first argument clears, whatever the second one names.
    ASSERT_EQ(acedSSSetFirst(nullptr, wall), RTNORM);
    int status = 0;
    EXPECT_EQ(select(L"I", nullptr, nullptr, nullptr, &status), Ids{});
    EXPECT_EQ(status, RTERROR);
    EXPECT_TRUE(m_editor.gripped.empty());
    ASSERT_EQ(acedSSGetFirst(&gripped, &pickFirst), RTNORM);
    EXPECT_EQ(gripped->restype, RTNIL);
    EXPECT_EQ(pickFirst->restype, RTNIL);
    acutRelRb(gripped);
    acutRelRb(pickFirst);
    acedSSFree(wall);
}

} // namespace
