// The main dialog's configuration rules without widgets: the item selected at opening, the menu's
// reserved items, new / overwrite / delete in memory only, and OK's record, file and settings.
#include "platform/known_folders.h"
#include "platform/wide_text.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/sel_ent_configurations.h"
#include "tests/ui/qs_drawing.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string fileBytes(const CString& name) {
    std::ifstream file(platform::wideToPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Saves a recognisable record, or refuses as a page with a bad value does.
CSelEntConfigurations::SavePages pages(const CString& layer, bool accept = true) {
    return [layer, accept](CFilter& record) {
        record.m_bLayer = 1;
        record.m_strLayer = layer;
        record.m_bSelectFromAll = 0;
        record.m_nGroupMode = 4;
        record.m_strGroupName = L"柱";
        return accept;
    };
}

class Configurations : public testing::Test {
protected:
    void SetUp() override {
        CSelEntConfigurations list;
        list.Load();
        list.SaveAsNew(L"墙", pages(L"WALL"));
        list.File().WriteCfgFile();
        m_fileName = list.File().m_strFileName;
    }
    qs_test::ScopedSettingsFolder m_settings;
    CString m_fileName;
};

TEST(ConfigurationRules, OpeningItemAndReservedItems) {
    EXPECT_EQ(CSelEntConfigurations::InitialPosition(false, true), 1);
    EXPECT_EQ(CSelEntConfigurations::InitialPosition(false, false), 0);
    EXPECT_EQ(CSelEntConfigurations::InitialPosition(true, true), 0);
    EXPECT_EQ(CSelEntConfigurations::InitialPosition(true, false), 0);
    for (int position : {0, 1, 2}) {
        EXPECT_FALSE(CSelEntConfigurations::CanOverwriteOrDelete(position)) << position;
    }
    EXPECT_TRUE(CSelEntConfigurations::CanOverwriteOrDelete(3));
    EXPECT_TRUE(CSelEntConfigurations::CanOverwriteOrDelete(7));
}

TEST_F(Configurations, NewOverwritesAnExistingNameInPlaceAndAppendsOtherwise) {
    CSelEntConfigurations list;
    ASSERT_EQ(list.Load(), 1);
    ASSERT_EQ(list.Names(), (CStringArray{L"<本次模板>", L"<上一次配制>", L"<批量处理配置>", L"墙"}));
    const auto again = list.SaveAsNew(L"墙", pages(L"NEW"));
    EXPECT_EQ(again.position, 3);
    EXPECT_FALSE(again.appended);
    EXPECT_EQ(list.At(3).m_strLayer, L"NEW");
    EXPECT_EQ(list.At(3).m_strName, L"墙");
    const auto added = list.SaveAsNew(L"门", pages(L"DOOR"));
    EXPECT_EQ(added.position, 4);
    EXPECT_TRUE(added.appended);
    // The batch bridge's record is set by saving under its name.
    const auto batch = list.SaveAsNew(L"<批量处理配置>", pages(L"BATCH"));
    EXPECT_EQ(batch.position, 2);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.At(2).m_strLayer, L"BATCH");
}

TEST_F(Configurations, MenuEditsStayInMemoryUntilOk) {
    const std::string before = fileBytes(m_fileName);
    {
        CSelEntConfigurations list;
        list.Load();
        list.Remove(3);
        list.Overwrite(1, pages(L"X"));
        list.SaveAsNew(L"门", pages(L"DOOR"));
    }
    EXPECT_EQ(fileBytes(m_fileName), before);
    CSelEntConfigurations reopened;
    reopened.Load();
    EXPECT_EQ(reopened.Names().back(), L"墙");
}

TEST_F(Configurations, OkWritesTheLastRecordTheFileAndTheSettings) {
    CQLTSystemParam settings;
    settings.SetSelectFromAll(1);
    CSelEntConfigurations list;
    list.Load();
    CFilter working;
    working.m_strName = L"不带名称";
    working.m_bType = 1;
    const std::string before = fileBytes(m_fileName);
    EXPECT_FALSE(list.Accept(working, pages(L"REFUSED", false)));
    EXPECT_EQ(fileBytes(m_fileName), before);
    EXPECT_EQ(settings.GetSelectFromAll(), 1);

    ASSERT_TRUE(list.Accept(working, pages(L"WALL")));
    EXPECT_EQ(working.m_bType, 0) << "the working record is reset before the pages save";
    CSelEntConfigurations reopened;
    reopened.Load();
    const CFilter& last = reopened.At(1);
    EXPECT_EQ(last.m_strName, L"<上一次配制>");
    EXPECT_EQ(last.m_strLayer, L"WALL");
    EXPECT_EQ(last.m_nGroupMode, 4);
    EXPECT_EQ(settings.GetSelectFromAll(), 0);
    EXPECT_EQ(settings.GetGroupOperator(), 4);
    EXPECT_EQ(settings.GetGroupName(), L"柱");
    const std::string bytes = fileBytes(m_fileName);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x16\x27\0\0\x04\0\0\0", 8)) << "version 10006, four records";
}

} // namespace
