// The catalogue's two tables as the dialogs iterate them: every type row in order, every property list
// with its ids and item lists, the look-ups by display and DXF name, and the value kinds by id.

#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/qlt_system_param.h"
#include "tests/filter/filter_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class Catalogue : public testing::Test {
protected:
    void SetUp() override { CQLTSystemParam().SetHasFreedom(0); }
    filter_test::IsolatedSettings m_settings;
};

std::vector<int> idsOf(const EntityInfo& info) {
    std::vector<int> ids;
    for (const EntityProp& property : info.props) {
        ids.push_back(property.id);
    }
    return ids;
}

TEST_F(Catalogue, ListsTheTwentyFiveTypesInTheBasicPagesOrder) {
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"直线", L"LINE"},
        {L"多段线", L"LWPOLYLINE"},
        {L"三维多段线", L"POLYLINE"},
        {L"射线", L"RAY"},
        {L"构造线", L"XLINE"},
        {L"多线", L"MLINE"},
        {L"样条曲线", L"SPLINE"},
        {L"圆", L"CIRCLE"},
        {L"圆弧", L"ARC"},
        {L"椭圆", L"ELLIPSE"},
        {L"单行文本", L"TEXT"},
        {L"多行文本", L"MTEXT"},
        {L"所有标注", L"DIMENSION"},
        {L"对齐标注", L"DIMENSION33"},
        {L"转角标注", L"DIMENSION32"},
        {L"半径标注", L"DIMENSION164"},
        {L"角度标注", L"DIMENSION37"},
        {L"填充", L"HATCH"},
        {L"面域", L"REGION"},
        {L"块参照", L"INSERT"},
        {L"点", L"POINT"},
        {L"光栅图像", L"IMAGE"},
        {L"文字遮掩", L"WIPEOUT"},
        {L"形", L"SHAPE"},
        {L"视口", L"VIEWPORT"},
    };
    CInfoMapList catalogue;
    ASSERT_EQ(catalogue.GetTypeTable().size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(catalogue.GetTypeTable()[index].displayName, expected[index].first) << index;
        EXPECT_EQ(catalogue.GetTypeTable()[index].dxfName, expected[index].second) << index;
    }
}

TEST_F(Catalogue, GivesEveryTypeItsPropertyIdsInListOrder) {
    const std::vector<std::pair<std::wstring, std::vector<int>>> expected = {
        {L"LINE", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215}},
        {L"CIRCLE", {201, 202, 203, 204, 205, 206, 207, 208}},
        {L"ARC", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210,
                  211, 212, 213, 214, 215, 216, 217, 218, 219, 220}},
        {L"TEXT", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 301, 403, 302, 401, 402}},
        {L"LWPOLYLINE", {101, 201, 202, 203, 204, 205, 206, 207, 401, 402}},
        {L"INSERT", {201, 202, 203, 204, 205, 206, 207, 301}},
        {L"MTEXT", {201, 202, 203, 207, 208, 209, 210, 211, 212, 214, 301, 302, 403, 404}},
        {L"HATCH", {401, 301, 201, 202, 203, 204, 402, 403}},
        {L"POINT", {201, 202, 203, 204}},
        {L"ELLIPSE", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211,
                      212, 213, 214, 215, 216, 217, 218, 219, 220, 221}},
        {L"RAY", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210}},
        {L"XLINE", {201, 202, 203, 204, 205, 206, 207, 208, 209, 210}},
        {L"POLYLINE", {401, 402}},
        {L"MLINE", {101, 201, 401, 402, 301}},
        {L"SPLINE", {101, 102, 103, 201, 202, 401, 402, 403}},
        {L"REGION", {101, 201, 202}},
        {L"DIMENSION", {101, 201, 202, 203, 204, 205, 206, 301, 302, 207, 303, 304, 401, 402}},
        {L"IMAGE", {101, 102, 103, 201, 202, 203, 204, 205, 206, 207, 208, 401, 402, 403, 301}},
        {L"WIPEOUT", {101, 102, 103, 201, 202, 203, 204, 205, 206, 207, 208, 401, 402, 403, 301}},
        {L"SHAPE", {201, 202, 203, 204, 205, 206, 207, 208, 301}},
        {L"VIEWPORT", {201, 202, 203, 204, 205, 206, 207, 208, 401, 402, 403, 404, 405}},
    };
    CInfoMapList catalogue;
    const std::vector<EntityInfo>& table = catalogue.GetPropertyTable();
    ASSERT_EQ(table.size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(table[index].typeName, expected[index].first);
        EXPECT_EQ(table[index].isCustom, 0);
        EXPECT_EQ(idsOf(table[index]), expected[index].second) << index;
        for (const EntityProp& property : table[index].props) {
            EXPECT_TRUE(property.value.empty());
            // Only enumerations carry items, and the dimension's precision, an integer with "0" to "8".
            const bool offersItems = CInfoMapList::IsEnumProp(property.id) ||
                                     (table[index].typeName == L"DIMENSION" && property.id == 101);
            EXPECT_EQ(!property.items.empty(), offersItems) << property.id;
        }
    }
}

TEST_F(Catalogue, NamesPropertiesAndOffersTheirItemsExactly) {
    CInfoMapList catalogue;
    const auto names = [&](const wchar_t* type) {
        std::vector<std::wstring> result;
        for (const EntityProp& property : catalogue.FindEntityInfo(type, 0)->props) {
            result.push_back(property.name);
        }
        return result;
    };
    EXPECT_EQ(names(L"LINE"), (std::vector<std::wstring>{L"起点X", L"起点Y", L"起点Z", L"中点X", L"中点Y",
                                                         L"中点Z", L"终点X", L"终点Y", L"终点Z", L"X增量",
                                                         L"Y增量", L"Z增量", L"长度", L"角度", L"厚度"}));
    EXPECT_EQ(names(L"MTEXT"),
              (std::vector<std::wstring>{L"位置X", L"位置Y", L"位置Z", L"实际高度", L"实际宽度", L"文字高度",
                                         L"最大宽度", L"旋转", L"行距比例", L"文本数值", L"文本样式",
                                         L"文本内容", L"方向", L"行距样式"}));
    EXPECT_EQ(names(L"RAY"), names(L"XLINE"));
    EXPECT_EQ(names(L"VIEWPORT")[11], L"UCS保存");
    EXPECT_EQ(names(L"POLYLINE")[0], L"拟合/平滑");
    const struct {
        const wchar_t* type;
        std::size_t position;
        CStringArray items;
    } enumerations[] = {
        {L"TEXT",
         13,
         {L"左", L"中心", L"右", L"对齐", L"中间", L"调整", L"左上", L"中上", L"右上", L"左中", L"正中",
          L"右中", L"左下", L"中下", L"右下"}},
        {L"TEXT", 15, {L"否", L"是"}},
        {L"MTEXT", 12, {L"水平", L"垂直", L"随样式"}},
        {L"MTEXT", 13, {L"至少", L"精确"}},
        {L"HATCH", 0, {L"用户定义", L"预定义", L"自定义"}},
        {L"HATCH", 7, {L"普通", L"外部", L"忽略"}},
        {L"POLYLINE", 0, {L"无", L"二次", L"三次"}},
        {L"MLINE", 2, {L"上", L"中", L"下"}},
        {L"DIMENSION", 0, {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}},
        {L"VIEWPORT", 12, {L"否", L"是"}},
    };
    for (const auto& row : enumerations) {
        EXPECT_EQ(catalogue.FindEntityInfo(row.type, 0)->props[row.position].items, row.items)
            << row.type << " " << row.position;
    }
}

TEST_F(Catalogue, LooksUpNamesExactlyAndSubtypesHaveNoList) {
    CInfoMapList catalogue;
    EXPECT_EQ(catalogue.GetDxfName(L"直线"), L"LINE");
    EXPECT_EQ(catalogue.GetDxfName(L"半径标注"), L"DIMENSION164");
    EXPECT_EQ(catalogue.GetDxfName(L"直 线"), L"");
    EXPECT_EQ(catalogue.GetDisplayName(L"DIMENSION37"), L"角度标注");
    EXPECT_EQ(catalogue.GetDisplayName(L"line"), L"");
    EXPECT_EQ(catalogue.GetDisplayName(L"Dimension33"), L"");
    EXPECT_EQ(catalogue.GetEntityInfo(L"对齐标注", FALSE), nullptr);
    EXPECT_EQ(catalogue.GetEntityInfo(L"DIMENSION33", TRUE), nullptr);
    ASSERT_NE(catalogue.GetEntityInfo(L"所有标注", FALSE), nullptr);
    EXPECT_EQ(catalogue.GetEntityInfo(L"所有标注", FALSE)->props.size(), 14U);
    EXPECT_EQ(catalogue.GetEntityInfo(L"line", TRUE), nullptr);
    EXPECT_EQ(catalogue.GetEntityInfo(L"LINE", FALSE), nullptr);
    const EntityInfo* wipeout = catalogue.GetEntityInfo(L"WIPEOUT", TRUE);
    const EntityInfo* image = catalogue.GetEntityInfo(L"光栅图像", FALSE);
    ASSERT_NE(wipeout, nullptr);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(wipeout->props.size(), 15U);
    for (std::size_t index = 0; index < image->props.size(); ++index) {
        EXPECT_EQ(wipeout->props[index].name, image->props[index].name);
        EXPECT_EQ(wipeout->props[index].id, image->props[index].id);
        EXPECT_EQ(wipeout->props[index].items, image->props[index].items);
    }
    EXPECT_EQ(catalogue.FindEntityInfo(L"LINE", 0), catalogue.GetEntityInfo(L"直线", FALSE));
    EXPECT_EQ(catalogue.FindEntityInfo(L"LINE", 1), nullptr);
}

TEST_F(Catalogue, SplitsDimensionSubtypeNamesIntoTypeAndFlags) {
    const struct {
        const wchar_t* name;
        BOOL split;
        int flags;
    } rows[] = {{L"DIMENSION33", TRUE, 33}, {L"DIMENSION164", TRUE, 164}, {L"DIMENSION", FALSE, 0},
                {L"DIMENSION3a", FALSE, 0}, {L"dimension33", FALSE, 0},   {L"LINE", FALSE, 0},
                {L"DIMENSION-1", FALSE, 0}};
    for (const auto& row : rows) {
        int flags = -1;
        EXPECT_EQ(CInfoMapList::SplitDimensionName(row.name, flags), row.split) << row.name;
        if (row.split) {
            EXPECT_EQ(flags, row.flags) << row.name;
        }
    }
}

TEST(PropertyKinds, FollowTheIdRanges) {
    const struct {
        int id;
        BOOL integer, real, text, enumeration;
    } rows[] = {
        {100, 0, 0, 0, 0},  {101, 1, 0, 0, 0},  {199, 1, 0, 0, 0},  {200, 0, 0, 0, 0},  {201, 0, 1, 0, 0},
        {299, 0, 1, 0, 0},  {300, 0, 0, 0, 0},  {301, 0, 0, 1, 0},  {399, 0, 0, 1, 0},  {401, 0, 0, 0, 1},
        {499, 0, 0, 0, 1},  {500, 0, 0, 0, 0},  {1000, 0, 0, 0, 0}, {1001, 1, 0, 0, 0}, {1999, 1, 0, 0, 0},
        {2000, 0, 0, 0, 0}, {2055, 0, 1, 0, 0}, {3001, 0, 0, 1, 0}, {4999, 0, 0, 0, 1}, {5000, 0, 0, 0, 0},
        {0, 0, 0, 0, 0},    {-201, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CInfoMapList::IsIntegerProp(row.id), row.integer) << row.id;
        EXPECT_EQ(CInfoMapList::IsRealProp(row.id), row.real) << row.id;
        EXPECT_EQ(CInfoMapList::IsTextProp(row.id), row.text) << row.id;
        EXPECT_EQ(CInfoMapList::IsEnumProp(row.id), row.enumeration) << row.id;
    }
}

} // namespace
