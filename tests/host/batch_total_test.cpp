// The batch bridge through its exported function, as a batch program calls it: a drawing saved to a
// file and opened in the host, "<批量处理配置>" in the configuration file (LINE on layer 墙体 longer than
// 1000) and the grouping rule in the registry. 12, 0 and 3 walls lie in three frames, 10 more outside.

#include "cad/app/command_processor.h"
#include "cad/app/document_manager.h"
#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "quelto/filter/filter_cfg_file.h"
#include "quelto/filter/qlt_cmd_base.h"
#include "quelto/host/batch_total.h"
#include "quelto/host/kvb_batch_interface.h"
#include "tests/filter/filter_test_support.h"

#include <gtest/gtest.h>

namespace {

constexpr double kFrameWidth = 10000.0;
constexpr double kFrameHeight = 5000.0;

void addLine(AcDbBlockTableRecord& space, const wchar_t* layer, double x, double y, double length) {
    auto* line = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + length, y, 0));
    line->setLayer(layer);
    ASSERT_EQ(space.appendAcDbEntity(line), Acad::eOk);
    line->close();
}

// Frame i spans x from 20000 i to 20000 i + 10000 and y from 0 to 5000.
void writeWallDrawing(const std::filesystem::path& file) {
    AcDbDatabase database;
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(layers, database.layerTableId(), AcDb::kForWrite), Acad::eOk);
    for (const wchar_t* name : {L"墙体", L"门窗"}) {
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(name);
        ASSERT_EQ(layers->add(layer), Acad::eOk);
        layer->close();
    }
    layers->close();
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    for (int index = 0; index < 12; ++index) {
        addLine(*model, L"墙体", 1000, 200 + 300 * index, 2000 + 100 * index);
    }
    for (int index = 0; index < 4; ++index) {
        addLine(*model, L"墙体", 21000, 500 + 500 * index, 900);
    }
    addLine(*model, L"门窗", 21000, 4000, 5000);
    for (int index = 0; index < 3; ++index) {
        addLine(*model, L"墙体", 41000, 1000 + 1000 * index, 8000);
    }
    for (int index = 0; index < 10; ++index) {
        addLine(*model, L"墙体", -5000, -1000 - 100 * index, 60000);
    }
    model->close();
    cad::dxf::TagError error;
    ASSERT_TRUE(database.writeDxf(file, {}, error)) << error.message;
}

std::vector<double> frameCorners(int frames, int corner) {
    std::vector<double> points;
    for (int index = 0; index < frames; ++index) {
        points.insert(points.end(), {20000.0 * index + corner * kFrameWidth, corner * kFrameHeight, 0.0});
    }
    return points;
}

struct BatchCall {
    std::int32_t result = -7;
    std::string text = "untouched";
    std::int32_t success = -7;
};

class BatchBridge : public testing::Test {
protected:
    void SetUp() override {
        // The texts are compared as UTF-8 bytes unless a test chooses another system code set.
        ::setenv("QUELTO_SYSTEM_CODESET", "UTF-8", 1);
        cad::app::CommandProcessor::instance().registerHostCommands();
        writeWallDrawing(drawing());
        std::string error;
        ASSERT_NE(acDocManager->openDocument(drawing(), error), nullptr) << error;
        writeBatchConfiguration();
    }
    void TearDown() override {
        acDocManager->closeAll();
        ::unsetenv("QUELTO_SYSTEM_CODESET");
    }

    std::filesystem::path drawing() const { return m_settings.folder() / "walls.dxf"; }

    void writeBatchConfiguration() {
        CFilterCfgFile file;
        std::filesystem::create_directories(platform::wideToPath(file.m_strFileName).parent_path());
        ASSERT_EQ(file.ReadCfgFile(), 1);
        CFilter& batch =
            file.m_arrFilter[static_cast<std::size_t>(file.FindFilter(CFilterCfgFile::BatchName))];
        batch.m_bType = 1;
        batch.m_strType = L"直线";
        batch.m_bLayer = 1;
        batch.m_strLayer = L"墙体";
        batch.m_arrPropId = {213};
        batch.m_arrPropRow = {0};
        batch.m_arrPropOp = {L">"};
        batch.m_arrPropValue = {L"1000"};
        // The record's own grouping must not be used: the bridge takes the registry's.
        batch.m_nGroupMode = 4;
        batch.m_strGroupName = L"记录中的组";
        ASSERT_EQ(file.WriteCfgFile(), 1);
    }

    void setGrouping(int rule, const CString& name) {
        CQLTCmdBase section;
        section.m_strSubKey = CBatchTotal::SectionName;
        ASSERT_TRUE(section.WriteIntValue(L"GroupType", rule));
        ASSERT_TRUE(section.WriteTextValue(L"GroupName", name));
    }

    BatchCall call(std::int32_t message, int frames = 0, std::int32_t version = KVB_INTERFACE_VERSION) {
        std::vector<double> first = frameCorners(frames, 0);
        std::vector<double> second = frameCorners(frames, 1);
        KVB_BATCH_REQUEST request{};
        request.version = version;
        request.firstCorners = {first.data(), frames, frames, 8};
        request.secondCorners = {second.data(), frames, frames, 8};
        BatchCall answer;
        char* text = nullptr;
        answer.result = KVB_OnCommandMessage(message, &request, &text, &answer.success);
        if (text != nullptr) {
            answer.text = text;
            KVB_ReleaseText(text);
        }
        return answer;
    }

    // Members of the group in the drawing as saved on disk; -1 when the file holds no such group.
    int savedGroupSize(const CString& name) const {
        AcDbDatabase saved(false);
        cad::dxf::TagError error;
        EXPECT_TRUE(saved.readDxf(drawing(), error)) << error.message;
        return groupSize(saved, name);
    }
    static int groupSize(const AcDbDatabase& database, const CString& name) {
        AcDbDictionary* groups = nullptr;
        if (database.getGroupDictionary(groups, AcDb::kForRead) != Acad::eOk) {
            return -1;
        }
        AcDbObject* object = nullptr;
        const Acad::ErrorStatus status = groups->getAt(name.c_str(), object, AcDb::kForRead);
        groups->close();
        if (status != Acad::eOk) {
            return -1;
        }
        const int size = static_cast<int>(AcDbGroup::cast(object)->numEntities());
        object->close();
        return size;
    }

    filter_test::IsolatedSettings m_settings;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_commandLineScope{m_commandLine};
    platform::QueuedMessageBoxService m_messageBoxes;
    platform::ScopedMessageBoxService m_messageBoxScope{m_messageBoxes};
};

TEST_F(BatchBridge, RequestOfAnotherInterfaceVersionIsRefusedWithoutTouchingTheAnswers) {
    for (const std::int32_t version : {0, 2, -1}) {
        m_commandLine.clear();
        const BatchCall answer = call(KVB_COUNT_WHOLE_DRAWING, 0, version);
        EXPECT_EQ(answer.result, 0);
        EXPECT_EQ(answer.text, "untouched");
        EXPECT_EQ(answer.success, -7);
        EXPECT_EQ(m_commandLine.transcript(), L"二次开发程序版本与翠岭轩批量处理系统版本不兼容\n");
    }
}

TEST_F(BatchBridge, WholeDrawingCountsAndGroupsAndSavesOnlyWithRuleAndName) {
    const struct {
        int rule;
        const wchar_t* name;
        int groupInDrawing; // members of "批量组" afterwards, -1 for no group
        bool saved;
    } rows[] = {
        {0, L"批量组", -1, false}, {4, L"", -1, false}, {4, L"批量组", 25, true},
        {4, L"批量组", 25, true}, // appended again: the host keeps one membership per entity
        {2, L"批量组", 25, true}, // rule 2 replaces the members
        {1, L"批量组", 25, true}, // rule 1 gives up on an existing group; the run still succeeds
    };
    for (const auto& row : rows) {
        setGrouping(row.rule, row.name);
        const auto before = std::filesystem::last_write_time(drawing());
        std::filesystem::last_write_time(drawing(), before - std::chrono::hours(1));
        const BatchCall answer = call(KVB_COUNT_WHOLE_DRAWING);
        EXPECT_EQ(answer.result, 1) << row.rule;
        EXPECT_EQ(answer.text, "共25个") << row.rule;
        EXPECT_EQ(answer.success, 1) << row.rule;
        EXPECT_EQ(groupSize(*curDoc()->database(), L"批量组"), row.groupInDrawing) << row.rule;
        EXPECT_EQ(std::filesystem::last_write_time(drawing()) != before - std::chrono::hours(1), row.saved)
            << row.rule;
        if (row.saved) {
            EXPECT_EQ(savedGroupSize(L"批量组"), row.groupInDrawing) << row.rule;
        }
        EXPECT_EQ(groupSize(*curDoc()->database(), L"记录中的组"), -1);
    }
}

TEST_F(BatchBridge, PerFrameCountsEachFrameAndNeverSaves) {
    setGrouping(4, L"批量组");
    const auto untouched = std::filesystem::last_write_time(drawing());

    const BatchCall three = call(KVB_COUNT_PER_FRAME, 3);
    EXPECT_EQ(three.result, 1);
    EXPECT_EQ(three.text, "12+0+3");
    EXPECT_EQ(three.success, 1);
    EXPECT_EQ(groupSize(*curDoc()->database(), L"批量组"), 15);
    // Each frame was zoomed to before it was selected; the last one stays in view.
    EXPECT_DOUBLE_EQ(curDoc()->view().center[0], 45000.0);
    EXPECT_DOUBLE_EQ(curDoc()->view().center[1], 2500.0);

    const BatchCall none = call(KVB_COUNT_PER_FRAME, 0);
    EXPECT_EQ(none.result, 1);
    EXPECT_EQ(none.text, "没有图框");
    EXPECT_EQ(none.success, 0);

    const BatchCall one = call(KVB_COUNT_PER_FRAME, 1);
    EXPECT_EQ(one.text, "12");
    EXPECT_EQ(std::filesystem::last_write_time(drawing()), untouched);
}

TEST_F(BatchBridge, FailuresLeaveTheStartingTextAndClearTheSuccessFlag) {
    setGrouping(4, L"批量组");
    const auto untouched = std::filesystem::last_write_time(drawing());

    // Nothing passes the host filter: the selection fails.
    CFilterCfgFile file;
    ASSERT_EQ(file.ReadCfgFile(), 1);
    file.m_arrFilter[2].m_strLayer = L"不存在的图层";
    ASSERT_EQ(file.WriteCfgFile(), 1);
    BatchCall answer = call(KVB_COUNT_WHOLE_DRAWING);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.text, "共0个");
    EXPECT_EQ(answer.success, 0);
    // In frames the failed selections count 0.
    answer = call(KVB_COUNT_PER_FRAME, 2);
    EXPECT_EQ(answer.result, 1);
    EXPECT_EQ(answer.text, "0+0");
    EXPECT_EQ(answer.success, 1);

    // A message number other than 0 and 1 runs nothing.
    writeBatchConfiguration();
    answer = call(7);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.success, 0);
    EXPECT_EQ(groupSize(*curDoc()->database(), L"批量组"), -1);

    // A configuration file of a newer version: its message, then no run.
    filter_test::writeBytes(platform::wideToPath(file.m_strFileName),
                            filter_test::ByteLayout().integer(10007).integer(0).bytes());
    answer = call(KVB_COUNT_WHOLE_DRAWING);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.text, "共0个");
    EXPECT_EQ(answer.success, 0);
    ASSERT_EQ(m_messageBoxes.shown().size(), 1u);
    EXPECT_EQ(m_messageBoxes.shown()[0].caption, L"无法读取");
    EXPECT_EQ(std::filesystem::last_write_time(drawing()), untouched);
}

TEST_F(BatchBridge, ConfigurationOfAnotherFileIsNamedInTheEnvironment) {
    CFilterCfgFile other;
    other.m_strFileName = platform::pathToWide(m_settings.folder() / "other.cfg");
    ASSERT_EQ(other.ReadCfgFile(), 1);
    CFilter& batch = other.m_arrFilter[2];
    batch.m_bLayer = 1;
    batch.m_strLayer = L"门窗";
    ASSERT_EQ(other.WriteCfgFile(), 1);
    ::setenv("QUELTO_BATCH_CONFIG", (m_settings.folder() / "other.cfg").c_str(), 1);
    const BatchCall answer = call(KVB_COUNT_WHOLE_DRAWING);
    ::unsetenv("QUELTO_BATCH_CONFIG");
    EXPECT_EQ(answer.text, "共1个");
    EXPECT_EQ(call(KVB_COUNT_WHOLE_DRAWING).text, "共25个");
}

TEST_F(BatchBridge, TextIsHandedOverWholeInTheSystemCodeSet) {
    const struct {
        const char* codeSet;
        std::int32_t message;
        int frames;
        std::string bytes;
    } rows[] = {
        {"GBK", KVB_COUNT_WHOLE_DRAWING, 0,
         "\xB9\xB2"
         "25\xB8\xF6"},
        {"GBK", KVB_COUNT_PER_FRAME, 0, "\xC3\xBB\xD3\xD0\xCD\xBC\xBF\xF2"},
        {"UTF-8", KVB_COUNT_WHOLE_DRAWING, 0,
         "\xE5\x85\xB1"
         "25\xE4\xB8\xAA"},
        {"UTF-8", KVB_COUNT_PER_FRAME, 0, "\xE6\xB2\xA1\xE6\x9C\x89\xE5\x9B\xBE\xE6\xA1\x86"},
        {"GBK", KVB_COUNT_PER_FRAME, 3, "12+0+3"},
    };
    for (const auto& row : rows) {
        ::setenv("QUELTO_SYSTEM_CODESET", row.codeSet, 1);
        EXPECT_EQ(call(row.message, row.frames).text, row.bytes) << row.codeSet << " " << row.message;
    }
}

} // namespace
