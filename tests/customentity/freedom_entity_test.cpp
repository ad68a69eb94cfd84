// Property ids from group codes, the ids a property answers to, and the result types of group codes:
// every row of each table, the enumeration offset, and codes that map to nothing.

#include "quelto/customentity/freedom_entity.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <gtest/gtest.h>

namespace {

CFreedomProp propWith(int groupCode, int kind = CFreedomProp::Point3d, CStringArray items = {}) {
    CFreedomProp prop;
    prop.groupCode = groupCode;
    prop.kind = kind;
    prop.items = std::move(items);
    return prop;
}

TEST(CFreedomProp, ComputeIdGivesEveryRowOfTheIdTable) {
    struct Row {
        int groupCode;
        int id;
    };
    // The first and the last code of every row, and a negative code.
    const Row rows[] = {
        {-5, 2996},   {0, 3001},    {9, 3010},    {100, 3011},  {102, 3013},  {105, 3014}, {110, 3015},
        {112, 3017},  {300, 3018},  {309, 3027},  {410, 3028},  {419, 3037},  {999, 3038}, {1009, 3048},
        {38, 2001},   {59, 2022},   {140, 2023},  {149, 2032},  {10, 2055},   {11, 2058},  {17, 2076},
        {210, 2079},  {219, 2106},  {1010, 2109}, {1011, 2112}, {1013, 2118}, {60, 1001},  {62, 1003},
        {79, 1020},   {170, 1021},  {179, 1030},  {270, 1031},  {299, 1060},  {370, 1061}, {389, 1080},
        {400, 1081},  {409, 1090},  {1060, 1091}, {1070, 1101}, {90, 1101},   {99, 1110},  {1038, 2033},
        {1059, 2054}, {1071, 1112},
    };
    for (const Row& row : rows) {
        CFreedomProp prop = propWith(row.groupCode);
        prop.ComputeId();
        EXPECT_EQ(prop.id, row.id) << "group code " << row.groupCode;
    }
}

TEST(CFreedomProp, ComputeIdAddsThreeThousandForItemsAndKeepsTheIdOfUnmappedCodes) {
    struct Row {
        int groupCode;
        bool items;
        int previousId;
        int id;
    };
    const Row rows[] = {
        {62, true, 0, 4003}, // an enumeration
        {90, true, 0, 4101}, // a long integer with items is an enumeration id too
        {40, true, 0, 5003}, // a real with items leaves every kind range
        {330, false, 0, 0},  // unmapped codes keep the id they had
        {330, false, 77, 77}, {20, false, 0, 0},    {103, false, 0, 0}, {1072, false, 0, 0},
        {5000, false, 0, 0},  {330, true, 0, 3000}, {18, false, 5, 5},
    };
    for (const Row& row : rows) {
        CFreedomProp prop = propWith(row.groupCode, CFreedomProp::Short,
                                     row.items ? CStringArray{L"1=红", L"2=黄"} : CStringArray{});
        prop.id = row.previousId;
        prop.ComputeId();
        EXPECT_EQ(prop.id, row.id) << "group code " << row.groupCode;
    }
}

TEST(CFreedomEntity, PointPropertiesCoverOneIdPerCoordinateAndTheFirstCoveringPropertyIsFound) {
    CFreedomEntity entity;
    entity.props = {propWith(10, CFreedomProp::Point3d), propWith(11, CFreedomProp::Point2d),
                    propWith(40, CFreedomProp::Real), propWith(40, CFreedomProp::Text)};
    for (CFreedomProp& prop : entity.props) {
        prop.ComputeId();
    }
    struct Row {
        int id;
        int position; // -1: none
    };
    const Row rows[] = {{2054, -1}, {2055, 0},  {2056, 0}, {2057, 0},  {2058, 1},
                        {2059, 1},  {2060, -1}, {2003, 2}, {2004, -1}, {0, -1}};
    for (const Row& row : rows) {
        const CFreedomProp* found = entity.FindPropById(row.id);
        if (row.position < 0) {
            EXPECT_EQ(found, nullptr) << row.id;
        } else {
            EXPECT_EQ(found, &entity.props[static_cast<std::size_t>(row.position)]) << row.id;
        }
    }
}

TEST(CFreedomEntityMangage, ExpectedResultTypeFollowsTheTypeTable) {
    struct Row {
        int groupCode;
        int type;
    };
    const Row rows[] = {
        {0, 5005},    {9, 5005},    {10, 5009},   {17, 5009},   {18, 5000},   {20, 5000},   {37, 5000},
        {38, 5001},   {59, 5001},   {60, 5003},   {79, 5003},   {80, 5000},   {90, 5010},   {99, 5010},
        {100, 5005},  {102, 5005},  {103, 5000},  {105, 5005},  {110, 5005},  {112, 5005},  {113, 5000},
        {140, 5001},  {149, 5001},  {160, 5000},  {170, 5003},  {179, 5003},  {210, 5009},  {219, 5009},
        {270, 5003},  {299, 5003},  {300, 5005},  {309, 5005},  {310, 5006},  {369, 5006},  {370, 5003},
        {389, 5003},  {390, 5006},  {399, 5006},  {400, 5003},  {409, 5003},  {410, 5005},  {419, 5005},
        {420, 5000},  {998, 5000},  {999, 5005},  {1003, 5005}, {1004, 1004}, {1005, 5005}, {1009, 5005},
        {1010, 5009}, {1013, 5009}, {1014, 5000}, {1038, 5001}, {1059, 5001}, {1060, 5003}, {1070, 5003},
        {1071, 5010}, {1072, 5000}, {4999, 5000}, {5000, 5000}, {5009, 5009}, {-1, -1},     {-3, -3},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CFreedomEntityMangage::ExpectedResultType(row.groupCode), row.type) << row.groupCode;
    }
    const int kindTypes[] = {5000, 5009, 5002, 5001, 5003, 5010, 5005, 5000};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(propWith(10, kind).GetResultType(), kindTypes[kind]) << "kind " << kind;
    }
}

} // namespace
