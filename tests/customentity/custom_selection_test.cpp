// Custom selection end to end on the sample drawing: the definition folder feeds the catalogue (type
// row, property list, values read from an entity) and the matching engine, which selects pipes by a
// point coordinate, a real, an enumeration, a text and extended data, warning where a pipe lacks a group
// code or the definition mistypes one.

#include "customentity_test_support.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/customentity/freedom_entity_file.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/matching/entity_extend_filter.h"

#include <gtest/gtest.h>

using customentity_test::CurrentDrawing;
using customentity_test::IsolatedSettings;

namespace {

class SamplePipes : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder());
        std::filesystem::copy_file(std::filesystem::path(QUELTO_SOURCE_DIR) / "samples" / "custom_pipes.dom",
                                   folder() / "custom_pipes.dom");
        m_drawing = std::make_unique<CurrentDrawing>(std::filesystem::path(QUELTO_SOURCE_DIR) / "samples" /
                                                     "custom_pipes.dxf");
        ASSERT_TRUE(m_drawing->loaded());
    }

    std::filesystem::path folder() const { return m_settings.folder() / "Tarnwell" / "Quelto" / "Freedom"; }

    struct Row {
        int propertyId;
        const wchar_t* op;
        const wchar_t* value;
    };
    // Selects among all pipes with the rows combined by AND; answers the handles kept, in set order.
    std::vector<std::wstring> select(std::initializer_list<Row> rows) {
        CFilter filter;
        filter.m_bType = 1;
        for (const Row& row : rows) {
            filter.m_arrPropRow.push_back(static_cast<int>(filter.m_arrPropId.size()));
            filter.m_arrPropId.push_back(row.propertyId);
            filter.m_arrPropOp.push_back(row.op);
            filter.m_arrPropValue.push_back(row.value);
        }
        resbuf* types = acutBuildList(RTDXF0, L"QXPIPE", 0);
        ads_name set;
        EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, types, set), RTNORM);
        acutRelRb(types);
        CEntityExtendFilter engine;
        engine.LoadFromFilter(filter);
        AcDbObjectIdArray ids;
        EXPECT_EQ(engine.FilterSelection(set, L"QXPIPE", ids), 1);
        acedSSFree(set);
        std::vector<std::wstring> handles;
        for (const AcDbObjectId& id : ids) {
            handles.push_back(id.handle().toWideHex());
        }
        return handles;
    }

    IsolatedSettings m_settings;
    std::unique_ptr<CurrentDrawing> m_drawing;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_commandLineScope{m_commandLine};
};

using Handles = std::vector<std::wstring>;

TEST_F(SamplePipes, TheCatalogueOffersThePipeTypeWithItsPropertiesAndReadsAPipe) {
    CInfoMapList catalogue;
    ASSERT_EQ(catalogue.GetTypeTable().size(), 26u);
    EXPECT_EQ(catalogue.GetTypeTable().back().dxfName, L"QXPIPE");
    EXPECT_EQ(catalogue.GetTypeTable().back().displayName, L"水暖通 - 管道");
    EntityInfo* pipes = catalogue.GetEntityInfo(L"水暖通 - 管道", 0);
    ASSERT_NE(pipes, nullptr);
    EXPECT_EQ(pipes, catalogue.FindEntityInfo(L"QXPIPE", 1));
    std::vector<std::pair<CString, int>> names;
    for (const EntityProp& prop : pipes->props) {
        names.emplace_back(prop.name, prop.id);
    }
    EXPECT_EQ(names, (std::vector<std::pair<CString, int>>{{L"起点X", 2055},
                                                           {L"起点Y", 2056},
                                                           {L"起点Z", 2057},
                                                           {L"终点X", 2058},
                                                           {L"终点Y", 2059},
                                                           {L"终点Z", 2060},
                                                           {L"管径", 2003},
                                                           {L"材质", 4011},
                                                           {L"编号", 1101},
                                                           {L"系统", 3002},
                                                           {L"压力", 2035}}));
    EXPECT_EQ(pipes->props[7].items, (CStringArray{L"钢管", L"铸铁管", L"PPR管"}));

    catalogue.ReadEntity(m_drawing->idOf(L"95"));
    std::vector<CString> values;
    for (const EntityProp& prop : pipes->props) {
        values.push_back(prop.value);
    }
    EXPECT_EQ(values, (std::vector<CString>{L"1000", L"6000", L"0", L"5000", L"6000", L"300", L"", L"3",
                                            L"301", L"消防", L"1"}));
    EXPECT_EQ(m_commandLine.transcript(), L"\n警告：实体水暖通 - 管道（QXPIPE）的组码40不存在");
}

TEST_F(SamplePipes, TheSettingsDecideWhetherAndHowThePipeTypeAppears) {
    CQLTSystemParam().SetHasEntSoft(0);
    EXPECT_EQ(CInfoMapList().GetTypeTable().back().displayName, L"管道");
    CQLTSystemParam().SetHasFreedom(0);
    const CInfoMapList catalogue;
    EXPECT_EQ(catalogue.GetTypeTable().size(), 25u);
    EXPECT_EQ(catalogue.GetPropertyTable().size(), 21u);
    EXPECT_EQ(select({{2055, L"=", L"0"}}), Handles{}); // without definitions no pipe matches
}

TEST_F(SamplePipes, SelectionByCustomPropertiesPicksExactlyTheExpectedPipes) {
    struct Case {
        std::vector<Row> rows;
        Handles handles;
        std::wstring warnings;
    };
    const std::wstring missingDiameter = L"\n警告：实体水暖通 - 管道（QXPIPE）的组码40不存在";
    const std::wstring missingPressure = L"\n警告：实体水暖通 - 管道（QXPIPE）的组码1040不存在";
    const Case cases[] = {
        {{{2055, L"=", L"0"}}, {L"91", L"93"}, L""},     // start point X
        {{{2060, L">", L"0"}}, {L"95"}, L""},            // end point Z
        {{{4011, L"=", L"PPR管"}}, {L"94", L"95"}, L""}, // enumeration, by its shown text
        {{{4011, L"=", L"不锈钢管"}}, {}, L""},          // an item the definition does not have
        {{{3002, L"=", L"排水"}}, {L"93", L"94"}, L""},  // text
        {{{1101, L">=", L"201"}, {1101, L"<", L"300"}}, {L"93", L"94"}, L""},
        // The last pipe has no diameter: the row is left out, and with no other row the pipe passes.
        {{{2003, L">", L"120"}}, {L"91", L"92", L"95"}, missingDiameter},
        {{{4011, L"=", L"钢管"}, {2035, L"=", L"0.6"}}, {L"91", L"92"}, L""},
        // Pipe 94 has no pressure: that row is left out and the material decides.
        {{{4011, L"=", L"PPR管"}, {2035, L"=", L"1"}}, {L"94", L"95"}, missingPressure},
        {{{9999, L"=", L"1"}}, {L"91", L"92", L"93", L"94", L"95"}, L""}, // an id no property covers
    };
    for (const Case& test : cases) {
        m_commandLine.clear();
        const std::vector<std::wstring> kept =
            test.rows.size() == 1 ? select({test.rows[0]}) : select({test.rows[0], test.rows[1]});
        EXPECT_EQ(kept, test.handles) << "first row id " << test.rows[0].propertyId;
        EXPECT_EQ(m_commandLine.transcript(), test.warnings) << "first row id " << test.rows[0].propertyId;
    }
}

TEST_F(SamplePipes, ADefinitionThatMistypesACodeWarnsAndLeavesTheRowOut) {
    CFreedomEntityFile file;
    ASSERT_TRUE(file.Read((folder() / "custom_pipes.dom").wstring()));
    CFreedomProp grade;
    grade.name = L"等级";
    grade.kind = CFreedomProp::Real;
    grade.groupCode = 70; // a 16-bit integer in the data (id 1011), never readable as a real
    file.entities[0].props.push_back(grade);
    file.entities[0].displayName = L"新管道";
    ASSERT_TRUE(file.Save((folder() / "zz_later.dom").wstring()));

    EXPECT_EQ(select({{1011, L"=", L"1"}, {2055, L"=", L"0"}}), (Handles{L"91", L"93"}));
    std::wstring warnings;
    for (int pipe = 0; pipe < 5; ++pipe) {
        warnings += L"\n警告：实体水暖通 - 新管道（QXPIPE）的组码70类型错误（5003）";
    }
    EXPECT_EQ(m_commandLine.transcript(), warnings);
}

} // namespace
