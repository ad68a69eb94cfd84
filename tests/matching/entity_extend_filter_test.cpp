// The extended filter over a drawing: the advanced criteria (space with its placeholders, an entity in a
// block definition, linetype, linetype scale compared as a number text, visibility, planarity, visual
// size with "||="), the engine's line angle, user coordinates, the batch variant, malformed records, and
// the rewritten set agreeing with the id list.
#include "platform/message_box.h"
#include "quelto/actions/xyz_base_object.h"
#include "tests/matching/matching_drawing.h"

#include <numbers>

namespace {

using matching_test::Ids;

class AdvancedCriteria : public matching_test::MatchingDrawing {
protected:
    void SetUp() override {
        MatchingDrawing::SetUp();
        auto* dashed = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 4, 0));
        dashed->setLinetype(L"DASHED");
        m_dashed = add(dashed);
        auto* scaled = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(-3, -10, 0));
        scaled->setLinetypeScale(1.00005);
        m_scaled = add(scaled);
        auto* hidden = new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 2);
        hidden->setVisibility(AcDb::kInvisible);
        hidden->setLinetypeScale(2.0);
        m_hidden = add(hidden);
        m_paper = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)), m_database.paperSpaceId());
        const AcDbObjectId door = addBlockDefinition(L"DOOR");
        m_inBlock = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)), door);
        m_insert = add(new AcDbBlockReference(AcGePoint3d(20, 0, 0), door));
        m_all = {m_dashed, m_scaled, m_hidden, m_paper, m_inBlock, m_insert};
    }

    AcDbObjectId m_dashed, m_scaled, m_hidden, m_paper, m_inBlock, m_insert;
    Ids m_all;
};

TEST_F(AdvancedCriteria, EachCriterionKeepsWhatItsValueSays) {
    struct Case {
        const char* name;
        void (*set)(CFilter&);
        std::vector<int> expected; // positions in m_all
    };
    const Case cases[] = {
        {"no criterion", [](CFilter&) {}, {0, 1, 2, 3, 4, 5}},
        {"space = model", [](CFilter& f) { f.m_bSpace = 1; }, {0, 1, 2, 5}},
        {"space != Model: paper and the block definition's empty space",
         [](CFilter& f) {
             f.m_bSpace = 1;
             f.m_strSpaceOp = L"!=";
             f.m_strSpace = L"Model";
         },
         {3, 4}},
        {"linetype = DASHED",
         [](CFilter& f) {
             f.m_bLineType = 1;
             f.m_strLineType = L"DASHED";
         },
         {0}},
        {"linetype != BYLAYER",
         [](CFilter& f) {
             f.m_bLineType = 1;
             f.m_strLineTypeOp = L"!=";
             f.m_strLineType = L"BYLAYER";
         },
         {0}},
        {"linetype scale = 1.0 within the precision", [](CFilter& f) { f.m_bLtScale = 1; }, {0, 1, 3, 4, 5}},
        {"linetype scale > 1.0",
         [](CFilter& f) {
             f.m_bLtScale = 1;
             f.m_strLtScaleOp = L">";
         },
         {1, 2}},
        {"invisible",
         [](CFilter& f) {
             f.m_bVisible = 1;
             f.m_nVisibility = 1;
         },
         {2}},
        {"visible", [](CFilter& f) { f.m_bVisible = 1; }, {0, 1, 3, 4, 5}},
        {"not planar: the block reference",
         [](CFilter& f) {
             f.m_bPlanar = 1;
             f.m_nPlanar = 0;
         },
         {5}},
        {"visual width 10",
         [](CFilter& f) {
             f.m_bWidth = 1;
             f.m_dWidth = 10.0;
         },
         {0}},
        {"visual width ||= 3",
         [](CFilter& f) {
             f.m_bWidth = 1;
             f.m_strWidthOp = L"||=";
             f.m_dWidth = 3.0;
         },
         {1}},
        {"visual height >= 4 and width < 5",
         [](CFilter& f) {
             f.m_bHeight = 1;
             f.m_strHeightOp = L">=";
             f.m_dHeight = 4.0;
             f.m_bWidth = 1;
             f.m_strWidthOp = L"<";
             f.m_dWidth = 5.0;
         },
         {1, 2}},
        {"space and linetype together",
         [](CFilter& f) {
             f.m_bSpace = 1;
             f.m_bLineType = 1;
             f.m_strLineTypeOp = L"!=";
             f.m_strLineType = L"DASHED";
         },
         {1, 2, 5}},
    };
    for (const Case& item : cases) {
        CFilter filter;
        item.set(filter);
        Ids expected;
        for (int position : item.expected) {
            expected.push_back(m_all[static_cast<std::size_t>(position)]);
        }
        EXPECT_EQ(run(filter, L"", m_all), expected) << item.name;
    }
}

TEST_F(AdvancedCriteria, CurrentSpacePlaceholderFollowsTheCurrentLayout) {
    CFilter filter;
    filter.m_bSpace = 1;
    filter.m_strSpace = L"[*当前*]";
    EXPECT_EQ(run(filter, L"", m_all), (Ids{m_dashed, m_scaled, m_hidden, m_insert}));
    m_database.setCurrentSpace(m_database.paperSpaceId());
    if (m_database.currentSpaceId() != m_database.paperSpaceId()) {
        GTEST_SKIP() << "the host's AcDbDatabase::currentSpaceId does not follow the current layout yet";
    }
    EXPECT_EQ(run(filter, L"", m_all), (Ids{m_paper}));
}

TEST_F(AdvancedCriteria, BatchVariantIgnoresSpaceAndLogic) {
    // Lengths: 10.77 (dashed), 10.44 (scaled), 1.41 (paper), 2 (in the block).
    CFilter filter = rowsFilter({{213, L">", L"10"}, {213, L"<", L"11"}}, 1);
    EXPECT_EQ(run(filter, L"LINE", m_all), (Ids{m_dashed, m_scaled, m_paper, m_inBlock}));
    EXPECT_EQ(run(filter, L"LINE", m_all, true), (Ids{m_dashed, m_scaled}));
    filter.m_bSpace = 1;
    filter.m_strSpace = L"Layout that does not exist";
    EXPECT_EQ(run(filter, L"LINE", m_all), (Ids{}));
    EXPECT_EQ(run(filter, L"LINE", m_all, true), (Ids{m_dashed, m_scaled}));
    filter.m_arrPropValue[1] = L"10.5";
    EXPECT_EQ(run(filter, L"LINE", m_all, true), (Ids{m_scaled}));
}

class LineAngle : public matching_test::MatchingDrawing {};

TEST_F(LineAngle, RunsFromZeroToFullTurnInTheEngine) {
    struct Case {
        AcGePoint3d end;
        double degrees;
    };
    const Case cases[] = {
        {{10, 0, 0}, 0},     {{0, 10, 0}, 90},    {{-10, 0, 0}, 180}, {{0, -5, 0}, 270},
        {{10, -10, 0}, 315}, {{-10, 10, 0}, 135}, {{0, 0, 0}, 0},     {{3, -4, 12}, 283.3423638},
    };
    for (const Case& item : cases) {
        const AcDbObjectId line = add(new AcDbLine(AcGePoint3d(0, 0, 0), item.end));
        const CString value = CXYZBaseObject::FormatReal(item.degrees);
        EXPECT_EQ(run(rowsFilter({{214, L"=", value.c_str()}}), L"LINE", {line}), (Ids{line}))
            << "to " << item.end.x << "," << item.end.y << "," << item.end.z;
    }
}

TEST_F(LineAngle, LowerRightLineIsNotSelectedByTheTemplateAngle) {
    const AcDbObjectId line = add(new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(11, -9, 0)));
    EXPECT_EQ(run(rowsFilter({{214, L"=", L"-45"}}), L"LINE", {line}), (Ids{}));
    EXPECT_EQ(run(rowsFilter({{214, L"=", L"315"}}), L"LINE", {line}), (Ids{line}));
    CQLTSystemParam().SetUseRadius(1);
    EXPECT_EQ(run(rowsFilter({{214, L"=", L"5.497787"}}), L"LINE", {line}), (Ids{line}));
}

TEST_F(LineAngle, UserCoordinatesRotateTheMeasuredValues) {
    const AcDbObjectId line = add(new AcDbLine(AcGePoint3d(5, 0, 0), AcGePoint3d(15, 0, 0)));
    cad::ed::UserCoordinateSystem system;
    system.origin.set(5, 0, 0);
    cad::ed::setUserCoordinateSystem(m_database, false, system.rotatedAboutZ(std::numbers::pi / 2));
    // World X is the user system's -Y: the line points to 270 degrees there and starts at its origin.
    const CFilter inUser = rowsFilter({{214, L"=", L"270"}, {201, L"=", L"0"}, {211, L"=", L"-10"}});
    const CFilter inWorld = rowsFilter({{214, L"=", L"0"}, {201, L"=", L"5"}, {210, L"=", L"10"}});
    EXPECT_EQ(run(inWorld, L"LINE", {line}), (Ids{line}));
    EXPECT_EQ(run(inUser, L"LINE", {line}), (Ids{}));
    CQLTSystemParam().SetUseUserCoord(1);
    EXPECT_EQ(run(inUser, L"LINE", {line}), (Ids{line}));
    EXPECT_EQ(run(inWorld, L"LINE", {line}), (Ids{}));
}

class MalformedRecords : public matching_test::MatchingDrawing {
protected:
    void SetUp() override {
        MatchingDrawing::SetUp();
        m_line = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
        m_circle = add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 2));
    }
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_scope{m_boxes};
    AcDbObjectId m_line, m_circle;
};

TEST_F(MalformedRecords, GiveTheDocumentedOutcomeWithoutFailing) {
    struct Case {
        const char* name;
        CFilter filter;
        CString typeName;
        Ids expected;
        std::size_t boxes;
    };
    CFilter mismatched = rowsFilter({{213, L"=", L"10"}});
    mismatched.m_arrPropOp.clear();
    CFilter letterOutOfRange = rowsFilter({{213, L"=", L"10"}}, 2, L"A");
    letterOutOfRange.m_arrPropRow[0] = 40;
    CFilter largestLetter = letterOutOfRange;
    largestLetter.m_arrPropRow[0] = 2147483647;
    CFilter typeOff = rowsFilter({{213, L"=", L"99"}});
    typeOff.m_bType = 0;
    const std::vector<Case> cases = {
        {"unknown operator text", rowsFilter({{213, L"~=", L"10"}}), L"LINE", {}, 0},
        {"operator of another class", rowsFilter({{213, L"包含", L"10"}}), L"LINE", {}, 0},
        {"value that is no number compares as 0", rowsFilter({{212, L"=", L"abc"}}), L"LINE", {m_line}, 0},
        {"empty expression in mode 2", rowsFilter({{213, L"=", L"10"}}, 2, L""), L"LINE", {m_line}, 1},
        {"expression naming a missing row",
         rowsFilter({{213, L"=", L"10"}, {215, L"=", L"0"}}, 2, L"A&H"),
         L"LINE",
         {m_line},
         1},
        {"ids of another type are true",
         rowsFilter({{302, L"=", L"x"}, {401, L"=", L"是"}}),
         L"LINE",
         {m_line},
         0},
        {"ids of another type do not spare a failing row",
         rowsFilter({{302, L"=", L"x"}, {213, L"<", L"5"}}),
         L"LINE",
         {},
         0},
        {"rows of different lengths", mismatched, L"LINE", {m_line}, 0},
        {"letter beyond G", letterOutOfRange, L"LINE", {m_line}, 1},
        {"letter index at the integer limit", largestLetter, L"LINE", {m_line}, 1},
        {"rows ignored when the type criterion is off", typeOff, L"LINE", {m_line}, 0},
        {"type name of no known kind and no definition",
         rowsFilter({{1001, L"=", L"1"}}),
         L"NOSUCHTYPE",
         {},
         0},
        {"entities of another class than the type",
         rowsFilter({{204, L"=", L"2"}}),
         L"CIRCLE",
         {m_circle},
         0},
    };
    for (const Case& item : cases) {
        m_boxes.clear();
        EXPECT_EQ(run(item.filter, item.typeName, {m_line, m_circle}), item.expected) << item.name;
        EXPECT_EQ(m_boxes.shown().size(), item.boxes) << item.name;
    }
}

TEST_F(MalformedRecords, ExpressionErrorIsShownForEveryEntityThatReachesIt) {
    add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0)));
    add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0)));
    ads_name set;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, set), RTNORM);
    CEntityExtendFilter engine;
    engine.LoadFromFilter(rowsFilter({{213, L">", L"3.5"}}, 2, L"A|"));
    AcDbObjectIdArray ids;
    engine.FilterSelection(set, L"LINE", ids);
    // Three lines reach the expression; each falls back to its own row.
    EXPECT_EQ(m_boxes.shown().size(), 3u);
    EXPECT_EQ(ids.size(), 2u);
    EXPECT_EQ(matching_test::setMembers(set), Ids(ids.begin(), ids.end()));
    acedSSFree(set);
}

TEST_F(MalformedRecords, SetKeepsItsOrderWhenRewrittenOrUntouched) {
    Ids lines;
    for (int index = 0; index < 12; ++index) {
        lines.push_back(add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(index + 1.0, 0, 0))));
    }
    // Candidates in an order of their own: the result keeps it.
    const Ids shuffled = {lines[7], lines[2], lines[11], lines[0], lines[5], lines[9], lines[4]};
    EXPECT_EQ(run(rowsFilter({{213, L"%2=", L"1"}}), L"LINE", shuffled), (Ids{}));
    EXPECT_EQ(run(rowsFilter({{213, L">", L"4.5"}}), L"LINE", shuffled),
              (Ids{lines[7], lines[11], lines[5], lines[9], lines[4]}));
    EXPECT_EQ(run(rowsFilter({{213, L">", L"0"}}), L"LINE", shuffled), shuffled);
    EXPECT_EQ(run(rowsFilter({{213, L"<", L"0"}}), L"LINE", shuffled), (Ids{}));
}

} // namespace
