// The live count against the command's own second stage: the same number for the same record over the
// same scope, however small the slices, with the pick-first set and the drawing left as they were.
#include "quelto/filter/filter.h"
#include "quelto/matching/second_stage.h"
#include "quelto/ui/live_count.h"
#include "tests/ui/qs_drawing.h"

#include <QCoreApplication>

namespace {

using qs_test::Handles;

class LiveCount : public qs_test::QsDrawing {};

long secondStageCount(const CFilter& record, const CString& dxfName) {
    quelto::matching::SecondStageResult result;
    if (!quelto::matching::runSecondStage(record, dxfName, quelto::matching::CandidateScope::wholeDrawing(),
                                          false, result)) {
        return 0;
    }
    acedSSFree(result.set);
    return static_cast<long>(result.ids.size());
}

TEST_F(LiveCount, CountsWhatTheCommandWouldSelectWithoutTouchingTheSelection) {
    struct Case {
        const char* name;
        void (*set)(CFilter&);
        CString dxfName;
    };
    const Case cases[] = {
        {"everything", [](CFilter&) {}, L""},
        {"lines", [](CFilter& f) { f.m_bType = 1, f.m_strType = L"直线"; }, L"LINE"},
        {"aligned dimensions", [](CFilter& f) { f.m_bType = 1, f.m_strType = L"对齐标注"; }, L"DIMENSION33"},
        {"a layer nobody uses", [](CFilter& f) { f.m_bLayer = 1, f.m_strLayer = L"NONE"; }, L""},
        {"line length row",
         [](CFilter& f) {
             f.m_bType = 1, f.m_strType = L"直线";
             f.m_arrPropId = {213}, f.m_arrPropRow = {0}, f.m_arrPropOp = {L">="}, f.m_arrPropValue = {L"10"};
         },
         L"LINE"},
    };
    setPickFirst({L"2A"});
    const long entitiesBefore = static_cast<long>(curDoc()->database()->objectCount());
    for (const Case& row : cases) {
        CFilter record;
        record.m_bSelectFromAll = 1;
        row.set(record);
        const long expected = secondStageCount(record, row.dxfName);
        CSlicedCount count(record, row.dxfName);
        while (count.Step(std::chrono::microseconds(0)) == CSlicedCount::State::Counting) {
        }
        EXPECT_EQ(count.GetState(), CSlicedCount::State::Done) << row.name;
        EXPECT_EQ(count.Count(), expected) << row.name;
        EXPECT_EQ(pickFirst(), (Handles{L"2A"})) << row.name;
    }
    EXPECT_EQ(static_cast<long>(curDoc()->database()->objectCount()), entitiesBefore);
}

TEST_F(LiveCount, UserSelectionScopeCountsThePickFirstSetOrWaitsForThePick) {
    CFilter walls;
    walls.m_bLayer = 1;
    walls.m_strLayer = L"WALL";
    setPickFirst({});
    CSlicedCount waiting(walls, L"");
    EXPECT_EQ(waiting.Step(std::chrono::milliseconds(50)), CSlicedCount::State::NeedsUserSelection);

    setPickFirst({L"1A", L"1C", L"2A"});
    CSlicedCount picked(walls, L"");
    EXPECT_EQ(picked.Step(std::chrono::milliseconds(50)), CSlicedCount::State::Done);
    EXPECT_EQ(picked.Count(), 2);
    EXPECT_EQ(pickFirst(), (Handles{L"1A", L"1C", L"2A"}));
}

TEST_F(LiveCount, AChangeAbandonsTheCountAndTheLineFollowsTheCriteria) {
    CFilter record;
    record.m_bSelectFromAll = 1;
    bool readable = true;
    int reads = 0;
    CLiveCount live([&]() -> std::optional<CLiveCount::Criteria> {
        ++reads;
        if (!readable) {
            return std::nullopt;
        }
        return CLiveCount::Criteria{record, record.m_bType ? L"CIRCLE" : L""};
    });
    QStringList shown;
    QObject::connect(&live, &CLiveCount::TextChanged, [&shown](const QString& text) { shown << text; });
    live.Changed();
    live.Changed();
    EXPECT_EQ(reads, 0) << "the criteria are read after the pause, once per burst of changes";
    EXPECT_EQ(live.Finish(), 6);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(shown.last(), QStringLiteral("将选择 6 个实体"));

    record.m_bType = 1;
    record.m_strType = L"圆";
    live.Changed();
    EXPECT_EQ(live.Text(), QStringLiteral("正在统计…"));
    EXPECT_EQ(live.Finish(), 1);
    readable = false;
    live.Changed();
    EXPECT_EQ(live.Finish(), std::nullopt);
    EXPECT_EQ(live.Text(), QStringLiteral("条件不完整，暂不统计"));
}

TEST_F(LiveCount, CandidatesAreReusedOnlyWhileTheHostCriteriaStay) {
    CFilter walls;
    walls.m_bSelectFromAll = 1;
    walls.m_bLayer = 1;
    walls.m_strLayer = L"WALL";
    CSlicedCount first(walls, L"");
    while (first.Step(std::chrono::milliseconds(50)) == CSlicedCount::State::Counting) {
    }
    ASSERT_NE(first.Candidates(), nullptr);
    CFilter circles = walls;
    circles.m_bType = 1;
    circles.m_strType = L"圆";
    EXPECT_EQ(HostSelectionKey(walls, L""), HostSelectionKey(walls, L""));
    EXPECT_NE(HostSelectionKey(walls, L""), HostSelectionKey(circles, L"CIRCLE"));
    CFilter userScope = walls;
    userScope.m_bSelectFromAll = 0;
    EXPECT_NE(HostSelectionKey(walls, L""), HostSelectionKey(userScope, L""));
    CFilter longLines = walls;
    longLines.m_arrPropId = {213}, longLines.m_arrPropRow = {0}, longLines.m_arrPropOp = {L">"};
    longLines.m_arrPropValue = {L"5"};
    EXPECT_EQ(HostSelectionKey(walls, L""), HostSelectionKey(longLines, L"")) << "rows are the engine's";
    // The reused candidates give the same count as a fresh selection.
    CSlicedCount reused(walls, L"", first.Candidates());
    while (reused.Step(std::chrono::milliseconds(50)) == CSlicedCount::State::Counting) {
    }
    EXPECT_EQ(reused.Count(), first.Count());
    EXPECT_EQ(first.Count(), 3);
}

} // namespace
