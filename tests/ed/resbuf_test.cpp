// Result-buffer chains: value storage per type and group code, building and releasing.

#include "cad/ed/resbuf.h"

#include <gtest/gtest.h>

namespace {

TEST(Resbuf, StoresValuesByTypeAndGroupCode) {
    struct Row {
        int restype;
        ResbufValueKind kind;
    };
    const Row rows[] = {
        {RTSTR, ResbufValueKind::Text},      {RTDXF0, ResbufValueKind::Text},
        {RTSHORT, ResbufValueKind::Short},   {RTREAL, ResbufValueKind::Real},
        {RT3DPOINT, ResbufValueKind::Point}, {RTENAME, ResbufValueKind::EntityName},
        {RTLONG, ResbufValueKind::Long},     {RTLB, ResbufValueKind::None},
        {-1, ResbufValueKind::EntityName},   {-4, ResbufValueKind::Text},
        {0, ResbufValueKind::Text},          {8, ResbufValueKind::Text},
        {10, ResbufValueKind::Point},        {40, ResbufValueKind::Real},
        {62, ResbufValueKind::Short},        {70, ResbufValueKind::Short},
        {90, ResbufValueKind::Long},         {210, ResbufValueKind::Point},
        {330, ResbufValueKind::EntityName},  {370, ResbufValueKind::Short},
        {410, ResbufValueKind::Text},        {420, ResbufValueKind::Long},
        {1001, ResbufValueKind::Text},       {1010, ResbufValueKind::Point},
        {1040, ResbufValueKind::Real},       {1070, ResbufValueKind::Short},
        {1071, ResbufValueKind::Long},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(resbufValueKind(row.restype), row.kind) << row.restype;
    }
}

TEST(Resbuf, BuildsAChainInArgumentOrderAndReleasesItWhole) {
    const double corner[3] = {1.0, 2.0, 3.0};
    resbuf* list = acutBuildList(RTDXF0, L"LINE", 8, L"墙", 62, 5, 40, 2.5, 10, corner, RTLB, RTLE, 0);
    ASSERT_NE(list, nullptr);
    std::vector<short> types;
    for (const resbuf* item = list; item != nullptr; item = item->rbnext) {
        types.push_back(item->restype);
    }
    EXPECT_EQ(types, (std::vector<short>{RTDXF0, 8, 62, 40, 10, RTLB, RTLE}));
    EXPECT_STREQ(list->resval.rstring, L"LINE");
    EXPECT_STREQ(list->rbnext->resval.rstring, L"墙");
    EXPECT_EQ(list->rbnext->rbnext->resval.rint, 5);
    EXPECT_DOUBLE_EQ(list->rbnext->rbnext->rbnext->resval.rreal, 2.5);
    EXPECT_DOUBLE_EQ(list->rbnext->rbnext->rbnext->rbnext->resval.rpoint[2], 3.0);
    EXPECT_EQ(acutRelRb(list), RTNORM);
    EXPECT_EQ(acutBuildList(RTSTR, L"x", 4999, 0), nullptr);

    resbuf* endedByNone = acutBuildList(RTDXF0, L"LINE", 8, L"0", RTNONE);
    ASSERT_NE(endedByNone, nullptr);
    ASSERT_NE(endedByNone->rbnext, nullptr);
    EXPECT_EQ(endedByNone->rbnext->rbnext, nullptr);
    acutRelRb(endedByNone);
}

TEST(Resbuf, NewBufferStartsEmpty) {
    resbuf* buffer = acutNewRb(RTSTR);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->rbnext, nullptr);
    EXPECT_EQ(buffer->resval.rstring, nullptr);
    buffer->resval.rstring = acutNewString(L"text");
    acutRelRb(buffer);
    EXPECT_EQ(acutNewRb(4999), nullptr);
}

} // namespace
