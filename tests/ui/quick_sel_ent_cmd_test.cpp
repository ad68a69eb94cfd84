// The QS driver on a drawing: which entities the host filter of each record lets through (dimension
// kinds, colour and lineweight operators, the type criterion off), the report, the edit command, and the
// template rules at the start (pick-first set of one or two, the pick, StartTemp off).
#include "quelto/actions/extend_command.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/host/quick_sel_ent_cmd.h"
#include "tests/ui/qs_drawing.h"

namespace {

using qs_test::Handles;

class QuickSelect : public qs_test::QsDrawing {};

TEST_F(QuickSelect, HostFilterOfTheRecordDecidesTheCandidates) {
    struct Case {
        const char* name;
        void (*set)(CFilter&);
        Handles selected;
    };
    const Case cases[] = {
        {"aligned dimensions only", [](CFilter& f) { f.m_bType = 1, f.m_strType = L"对齐标注"; }, {L"3A"}},
        {"every dimension", [](CFilter& f) { f.m_bType = 1, f.m_strType = L"所有标注"; }, {L"3A", L"3B"}},
        {"type off: every entity of the layer",
         [](CFilter& f) { f.m_bLayer = 1, f.m_strLayer = L"WALL"; },
         {L"1A", L"1B", L"2A"}},
        {"colour = is plain equality",
         [](CFilter& f) { f.m_bColor = 1, f.m_strColorOp = L"=", f.m_nColor = 5; },
         {L"1B"}},
        {"colour without operator is equality",
         [](CFilter& f) { f.m_bColor = 1, f.m_strColorOp = L"", f.m_nColor = 1; },
         {L"1A"}},
        {"colour <= 3",
         [](CFilter& f) { f.m_bColor = 1, f.m_strColorOp = L"<=", f.m_nColor = 3; },
         {L"1A", L"2A"}},
        {"all four on with != for colour and lineweight",
         [](CFilter& f) {
             f.m_bType = 1, f.m_strType = L"直线", f.m_bLayer = 1, f.m_strLayer = L"WALL";
             f.m_bColor = 1, f.m_strColorOp = L"!=", f.m_nColor = 1;
             f.m_bLineWeight = 1, f.m_strLineWeightOp = L"!=", f.m_nLineWeight = 25;
         },
         {L"1B"}},
    };
    for (const Case& row : cases) {
        m_commandLine.clear();
        CFilter record;
        record.m_bSelectFromAll = 1;
        row.set(record);
        CExtendCommand command;
        command.m_bHasCmd = 0;
        CQuickSelEntCmd().DoFilterSelect(&record, &command);
        EXPECT_EQ(pickFirst(), row.selected) << row.name;
        EXPECT_EQ(m_commandLine.transcript(), L"有效选择" + std::to_wstring(row.selected.size()) + L"个\n")
            << row.name;
    }
}

TEST_F(QuickSelect, ScopeReportAndEditCommand) {
    CFilter lines;
    lines.m_bType = 1;
    lines.m_strType = L"直线";
    // The user's own selection: the host's prompt takes the answers.
    m_commandLine.queueLine(L"W");
    m_commandLine.queueLine(L"-1,-1");
    m_commandLine.queueLine(L"11,6");
    m_commandLine.queueLine(L"");
    CQuickSelEntCmd().DoFilterSelect(&lines, nullptr);
    EXPECT_EQ(pickFirst(), (Handles{L"1A", L"1B"}));
    EXPECT_NE(m_commandLine.transcript().find(L"Select objects:"), std::wstring::npos);
    EXPECT_TRUE(m_commandLine.transcript().ends_with(L"有效选择2个\n"));

    m_commandLine.clear();
    CFilter nothing;
    nothing.m_bSelectFromAll = 1;
    nothing.m_bLayer = 1;
    nothing.m_strLayer = L"没有这个图层";
    CQuickSelEntCmd().DoFilterSelect(&nothing, nullptr);
    EXPECT_EQ(m_commandLine.transcript(), L"没有选择到任何实体\n");
    CQuickSelEntCmd().DoFilterSelect(nullptr, nullptr);
    EXPECT_EQ(m_commandLine.transcript(), L"没有选择到任何实体\n");

    // An enabled erase without confirmation runs instead of the report.
    m_commandLine.clear();
    lines.m_bSelectFromAll = 1;
    CExtendCommand erase;
    erase.m_bHasCmd = 1;
    erase.m_bHasPrompt = 0;
    erase.m_nDoType = CExtendCommand::kErase;
    CQuickSelEntCmd().DoFilterSelect(&lines, &erase);
    EXPECT_EQ(m_commandLine.transcript().find(L"有效选择3个\n"), std::wstring::npos);
    EXPECT_TRUE(idOf(L"1A").isErased());
    EXPECT_TRUE(idOf(L"1C").isErased());
    EXPECT_FALSE(idOf(L"2A").isErased());
}

// The dialog runs offscreen on the queued lines; OK selects what the template record names and leaves
// the selection as the pick-first set.
TEST_F(QuickSelect, TemplateComesFromAPickFirstSetOfOneOrFromThePick) {
    const std::wstring prompt = L"请选择模板实体(直接会车忽略模板实体):";
    struct Case {
        const char* name;
        int startTemp;
        std::vector<const wchar_t*> pickFirst;
        std::vector<std::wstring> lines;
        bool prompted;
        Handles after; // the pick-first set afterwards: the selection after OK, what stayed after Cancel
        const wchar_t* report;
    };
    const Case cases[] = {
        {"set of one is the template: type, layer and colour of 1A",
         1,
         {L"1A"},
         {L"@check 在全部实体中过滤", L"@press 确定"},
         false,
         {L"1A"},
         L"有效选择1个\n"},
        {"set of one is cleared before the dialog", 1, {L"2A"}, {L"@press 取消"}, false, {}, nullptr},
        {"set of two: the prompt, and the set stays",
         1,
         {L"1A", L"2A"},
         {L"", L"@press 取消"},
         true,
         {L"1A", L"2A"},
         nullptr},
        {"the pick: the circle's type, layer and colour",
         1,
         {},
         {L"30,2", L"@check 在全部实体中过滤", L"@press 确定"},
         true,
         {L"2A"},
         L"有效选择1个\n"},
        {"the pick, criteria widened: every entity of layer WALL",
         1,
         {},
         {L"30,2", L"@uncheck 对象类型：", L"@uncheck 颜色颜色：", L"@check 在全部实体中过滤",
          L"@press 确定"},
         true,
         {L"1A", L"1B", L"2A"},
         L"有效选择3个\n"},
        {"StartTemp off: no prompt, the set stays", 0, {L"1A"}, {L"@press 取消"}, false, {L"1A"}, nullptr},
    };
    for (const Case& row : cases) {
        m_commandLine.clear();
        CQLTSystemParam().SetStartTemp(row.startTemp);
        setPickFirst(row.pickFirst);
        for (const std::wstring& line : row.lines) {
            m_commandLine.queueLine(line);
        }
        const BOOL accepted = CQuickSelEntCmd().DoQuickSelect();
        const std::wstring& transcript = m_commandLine.transcript();
        EXPECT_EQ(transcript.find(prompt) != std::wstring::npos, row.prompted) << row.name;
        EXPECT_EQ(accepted != 0, row.report != nullptr) << row.name;
        EXPECT_EQ(pickFirst(), row.after) << row.name;
        if (row.report != nullptr) {
            EXPECT_TRUE(transcript.ends_with(row.report))
                << row.name << ": " << platform::wideToUtf8(transcript);
        } else {
            EXPECT_EQ(transcript.find(L"有效选择"), std::wstring::npos) << row.name;
        }
    }
}

// Generators often write entities only, no LAYER table: the template's layer is still listed and kept.
TEST_F(QuickSelect, TemplateLayerOfADrawingWithoutTablesIsKept) {
    acDocManager->closeAll();
    const std::filesystem::path file = m_settings.folder() / "entities only.dxf";
    std::ofstream(file, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n"
                                             "0\nLINE\n5\nA1\n8\nWALL\n10\n0\n20\n0\n11\n10\n21\n0\n"
                                             "0\nLINE\n5\nA2\n8\nWALL\n10\n0\n20\n5\n11\n10\n21\n5\n"
                                             "0\nLINE\n5\nA3\n8\nDOORS\n10\n0\n20\n9\n11\n10\n21\n9\n"
                                             "0\nENDSEC\n0\nEOF\n";
    std::string error;
    ASSERT_NE(acDocManager->openDocument(file, error), nullptr) << error;
    CQLTSystemParam().SetStartTemp(1);
    setPickFirst({L"A1"});
    m_commandLine.queueLine(L"@check 在全部实体中过滤");
    m_commandLine.queueLine(L"@press 确定");
    EXPECT_TRUE(CQuickSelEntCmd().DoQuickSelect());
    EXPECT_TRUE(m_commandLine.transcript().ends_with(L"有效选择2个\n"))
        << platform::wideToUtf8(m_commandLine.transcript());
    EXPECT_EQ(pickFirst(), (Handles{L"A1", L"A2"}));
}

} // namespace
