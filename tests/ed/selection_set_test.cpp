// Selection sets over a real database, driven the way the module drives the interface: "X" over model
// and paper space, windows, pick-first handling, previous and last, the set calls, entity data, opening
// rules, groups (and picking them whole), prompts and the user coordinate system.

#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/editor_state.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "drawing_fixture.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

TEST_F(Drawing, WholeDrawingSelectionCoversModelAndPaperSpaceOnly) {
    EXPECT_EQ(select(L"X"), (Ids{m_line, m_circle, m_paperLine}));
    EXPECT_EQ(select(L"_X", acutBuildList(8, L"wall", 0)), (Ids{m_line, m_paperLine}));
    EXPECT_EQ(select(L"X", acutBuildList(RTDXF0, L"CIRCLE", 62, 256, 0)), (Ids{m_circle}));
    EXPECT_EQ(select(L"X", acutBuildList(-4, L"<=", 62, 1, 8, L"W*", 0)), (Ids{m_line}));
    int status = 0;
    EXPECT_TRUE(select(L"X", acutBuildList(RTDXF0, L"ARC", 0), nullptr, nullptr, &status).empty());
    EXPECT_EQ(status, RTERROR);
    EXPECT_TRUE(select(L"X", acutBuildList(-4, L"<AND", 0), nullptr, nullptr, &status).empty());
    EXPECT_EQ(status, RTERROR);
}

// An old drawing of an ENTITIES section only: its spaces are made up while loading.
TEST(WholeDrawingSelection, ReachesSpacesThatTheDrawingDidNotDeclare) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxfBuffer("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
                               "0\nLINE\n8\n0\n67\n1\n10\n0\n20\n0\n11\n2\n21\n2\n0\nENDSEC\n0\nEOF\n",
                               error))
        << error.message;
    cad::ed::EditorState editor;
    editor.database = &database;
    cad::ed::setCurrentEditor(&editor);
    ads_name set;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, set), RTNORM);
    std::int32_t length = 0;
    acedSSLength(set, &length);
    EXPECT_EQ(length, 2);
    acedSSFree(set);
    cad::ed::setCurrentEditor(nullptr);
}

TEST_F(Drawing, WindowTakesWhatIsInsideAndCrossingWhatTouches) {
    const double low[3] = {-1, -6, 0};
    const double high[3] = {16, 6, 0};
    EXPECT_EQ(select(L"W", nullptr, low, high), (Ids{m_line}));
    EXPECT_EQ(select(L"C", nullptr, low, high), (Ids{m_line, m_circle}));
    EXPECT_EQ(select(L"C", acutBuildList(8, L"0", 0), high, low), (Ids{m_circle}));
    // Paper space becomes current: its line, not the model-space ones.
    ASSERT_TRUE(m_database.setCurrentSpace(m_database.paperSpaceId()));
    EXPECT_EQ(select(L"W", nullptr, low, high), (Ids{m_paperLine}));
}

TEST_F(Drawing, WindowMeasuresArcsByTheirSweepNotTheirFullCircle) {
    // A quarter arc lies in (40,0)-(45,5); its full circle would reach x 35 and y -5.
    const AcDbObjectId arc =
        add(new AcDbArc(AcGePoint3d(40, 0, 0), 5, 0, 1.5707963267948966), m_database.modelSpaceId());
    const double low[3] = {39, -1, 0};
    const double high[3] = {46, 6, 0};
    EXPECT_EQ(select(L"W", nullptr, low, high), (Ids{arc}));
    const double belowLow[3] = {30, -6, 0};
    const double belowHigh[3] = {50, -0.5, 0};
    EXPECT_TRUE(select(L"C", nullptr, belowLow, belowHigh).empty());
}

TEST_F(Drawing, CrossingTakesCurvesThatReachInNotBoxesThatOverlap) {
    add(new AcDbLine(AcGePoint3d(58, 63, 0), AcGePoint3d(63, 58, 0)), m_database.modelSpaceId());
    const AcDbObjectId cutting =
        add(new AcDbLine(AcGePoint3d(58, 61, 0), AcGePoint3d(61, 58, 0)), m_database.modelSpaceId());
    const double low[3] = {50, 50, 0};
    const double high[3] = {60, 60, 0};
    EXPECT_EQ(select(L"C", nullptr, low, high), (Ids{cutting}));
    EXPECT_TRUE(select(L"W", nullptr, low, high).empty());
}

TEST_F(Drawing, PickFirstSetIsReplacedClearedAndTakenOnce) {
    ads_name both;
    resbuf* wall = acutBuildList(8, L"WALL", 0);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, wall, both), RTNORM);
    acutRelRb(wall);
    EXPECT_EQ(acedSSSetFirst(both, nullptr), RTNORM);
    acedSSFree(both);
    EXPECT_EQ(select(L"I"), (Ids{m_line, m_paperLine}));
    EXPECT_EQ(select(L"I", acutBuildList(RTDXF0, L"LINE", 62, 1, 0)), (Ids{m_line}));

    // A pick-first command's own selection takes the set without asking, once.
    m_editor.commandUsesPickFirst = true;
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    EXPECT_EQ(select(nullptr), (Ids{m_line, m_paperLine}));
    EXPECT_TRUE(commandLine.transcript().empty());
    EXPECT_TRUE(m_editor.pickFirst.empty());

    EXPECT_EQ(acedSSSetFirst(nullptr, nullptr), RTNORM);
    int status = 0;
    EXPECT_TRUE(select(L"I", nullptr, nullptr, nullptr, &status).empty());
    EXPECT_EQ(status, RTERROR);
    const ads_name freed = {999, 0};
    EXPECT_EQ(acedSSSetFirst(freed, nullptr), RTERROR);
}

TEST_F(Drawing, PreviousAndLastFollowTheDrawing) {
    select(L"X", acutBuildList(RTDXF0, L"CIRCLE", 0));
    EXPECT_EQ(select(L"P"), (Ids{m_circle}));
    EXPECT_EQ(select(L"L"), (Ids{m_circle}));
    AcDbObject* circle = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(circle, m_circle, AcDb::kForWrite), Acad::eOk);
    circle->erase();
    circle->close();
    int status = 0;
    EXPECT_TRUE(select(L"P", nullptr, nullptr, nullptr, &status).empty());
    EXPECT_EQ(status, RTERROR);
    EXPECT_EQ(select(L"L"), (Ids{m_line}));
    EXPECT_EQ(select(L"P"), (Ids{m_line}));
    EXPECT_EQ(select(L"Q", nullptr, nullptr, nullptr, &status), Ids{});
    EXPECT_EQ(status, RTERROR);
}

TEST_F(Drawing, SetCallsAddDeleteAndReleaseMembers) {
    ads_name line;
    ads_name circle;
    acdbGetAdsName(line, m_line);
    acdbGetAdsName(circle, m_circle);
    ads_name set;
    ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
    std::int32_t length = -1;
    EXPECT_EQ(acedSSLength(set, &length), RTNORM);
    EXPECT_EQ(length, 0);
    ads_name same;
    EXPECT_EQ(acedSSAdd(line, set, same), RTNORM);
    EXPECT_TRUE(ads_name_equal(same, set));
    EXPECT_EQ(acedSSAdd(line, set, set), RTNORM);
    EXPECT_EQ(acedSSAdd(circle, set, set), RTNORM);
    acedSSLength(set, &length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(acedSSMemb(circle, set), RTNORM);
    EXPECT_EQ(acedSSDel(circle, set), RTNORM);
    EXPECT_EQ(acedSSMemb(circle, set), RTERROR);
    ads_name entity;
    EXPECT_EQ(acedSSName(set, 1, entity), RTERROR);
    EXPECT_EQ(acedSSName(set, 0, entity), RTNORM);
    EXPECT_TRUE(ads_name_equal(entity, line));
    EXPECT_EQ(acedSSFree(set), RTNORM);
    EXPECT_EQ(acedSSFree(set), RTERROR);
    EXPECT_EQ(acedSSLength(set, &length), RTERROR);
    // An entity name is not a set and a set name is not an entity.
    EXPECT_EQ(acedSSLength(line, &length), RTERROR);
    AcDbObjectId id;
    EXPECT_EQ(acdbGetObjectId(id, set), Acad::eInvalidAdsName);
}

TEST_F(Drawing, EntityDataStartsWithNameAndTypeAndEndsWithExtendedData) {
    AcDbObject* line = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(line, m_line, AcDb::kForWrite), Acad::eOk);
    std::vector<cad::dxf::OwnedTag> extended;
    extended.emplace_back(cad::dxf::Tag::makeString(1001, "QUELTO"));
    extended.emplace_back(cad::dxf::Tag::makeString(1000, "door"));
    ASSERT_EQ(line->setXData(extended), Acad::eOk);
    line->close();

    ads_name name;
    acdbGetAdsName(name, m_line);
    resbuf* star = acutBuildList(RTSTR, L"*", 0);
    resbuf* data = acdbEntGetX(name, star);
    acutRelRb(star);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->restype, -1);
    EXPECT_TRUE(ads_name_equal(data->resval.rlname, name));
    ASSERT_NE(data->rbnext, nullptr);
    EXPECT_EQ(data->rbnext->restype, 0);
    EXPECT_STREQ(data->rbnext->resval.rstring, L"LINE");
    std::vector<short> codes;
    const resbuf* layer = nullptr;
    const resbuf* start = nullptr;
    for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
        codes.push_back(item->restype);
        layer = item->restype == 8 ? item : layer;
        start = item->restype == 11 ? item : start;
    }
    ASSERT_NE(layer, nullptr);
    EXPECT_STREQ(layer->resval.rstring, L"WALL");
    ASSERT_NE(start, nullptr);
    EXPECT_DOUBLE_EQ(start->resval.rpoint[0], 10.0);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(std::vector<short>(codes.end() - 3, codes.end()), (std::vector<short>{-3, 1001, 1000}));
    acutRelRb(data);

    // Without applications there is no extended data; an unknown application gives none either.
    data = acdbEntGet(name);
    for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
        EXPECT_NE(item->restype, -3);
    }
    acutRelRb(data);
    const ads_name bogus = {0, 0};
    EXPECT_EQ(acdbEntGetX(bogus, nullptr), nullptr);
}

TEST_F(Drawing, OpeningFollowsTheHostRules) {
    AcDbEntity* first = nullptr;
    AcDbEntity* second = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(first, m_line, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbEntity(second, m_line, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenAcDbEntity(second, m_line, AcDb::kForRead), Acad::eWasOpenForWrite);
    first->close();
    AcDbLine* line = nullptr;
    EXPECT_EQ(acdbOpenObject(line, m_circle, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(line, nullptr);
    // The refused open left nothing open: a write open succeeds.
    AcDbCircle* circle = nullptr;
    ASSERT_EQ(acdbOpenObject(circle, m_circle, AcDb::kForWrite), Acad::eOk);
    EXPECT_DOUBLE_EQ(circle->radius(), 5.0);
    circle->close();
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);
}

TEST_F(Drawing, GroupDictionaryStoresNewGroupsWithTheirMembers) {
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(m_database.getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
    EXPECT_FALSE(groups->has(L"门窗"));
    auto* group = new AcDbGroup(L"quick selection", true);
    AcDbObjectId groupId;
    ASSERT_EQ(groups->setAt(L"门窗", group, groupId), Acad::eOk);
    EXPECT_EQ(group->append(m_line), Acad::eOk);
    EXPECT_EQ(group->append(m_circle), Acad::eOk);
    EXPECT_EQ(group->append(m_line), Acad::eAlreadyInGroup);
    group->close();
    groups->close();

    ASSERT_EQ(m_database.getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(groups->has(L"门窗"));
    AcDbObjectId found;
    EXPECT_EQ(groups->getAt(L"门窗", found), Acad::eOk);
    EXPECT_EQ(found, groupId);
    groups->close();
    AcDbGroup* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, groupId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(opened->numEntities(), 2u);
    EXPECT_EQ(opened->remove(m_line), Acad::eOk);
    EXPECT_TRUE(opened->has(m_circle));
    EXPECT_EQ(opened->clear(), Acad::eOk);
    EXPECT_EQ(opened->numEntities(), 0u);
    opened->close();
}

// A pick or a window on one member brings the members in the same space of every selectable group it
// is in, while PICKSTYLE's bit 1 is set (its default).
TEST_F(Drawing, PickingAGroupMemberSelectsItsGroupWhilePickStyleAsksForIt) {
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(m_database.getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
    auto* group = new AcDbGroup(L"doors", true);
    AcDbObjectId groupId;
    ASSERT_EQ(groups->setAt(L"门窗", group, groupId), Acad::eOk);
    ASSERT_EQ(group->append(m_line), Acad::eOk);
    ASSERT_EQ(group->append(m_circle), Acad::eOk);
    ASSERT_EQ(group->append(m_paperLine), Acad::eOk);
    group->close();
    groups->close();
    const auto setPickStyle = [](short value) {
        resbuf style{nullptr, RTSHORT, {}};
        style.resval.rint = value;
        ASSERT_EQ(acedSetVar(L"PICKSTYLE", &style), RTNORM);
    };
    const auto setSelectable = [&](bool selectable) {
        AcDbGroup* opened = nullptr;
        ASSERT_EQ(acdbOpenObject(opened, groupId, AcDb::kForWrite), Acad::eOk);
        opened->setSelectable(selectable);
        opened->close();
    };
    const struct {
        const char* name;
        short pickStyle;
        bool selectable;
        std::vector<std::wstring> answers;
        Ids expected;
    } cases[] = {
        {"pick, group bit on", 1, true, {L"5,0", L""}, {m_line, m_circle}},
        {"window, both bits on", 3, true, {L"W", L"-1,-1", L"11,1", L""}, {m_line, m_circle}},
        {"group bit off", 2, true, {L"5,0", L""}, {m_line}},
        {"group not selectable", 1, false, {L"5,0", L""}, {m_line}},
    };
    for (const auto& row : cases) {
        setPickStyle(row.pickStyle);
        setSelectable(row.selectable);
        cad::ed::QueuedCommandLine commandLine;
        const cad::ed::ScopedCommandLine scope(commandLine);
        for (const std::wstring& answer : row.answers) {
            commandLine.queueLine(answer);
        }
        EXPECT_EQ(select(nullptr), row.expected) << row.name;
    }
    setPickStyle(1);
}

TEST_F(Drawing, PromptsTakeTheirAnswersFromTheCommandLine) {
    struct Case {
        std::vector<std::wstring> answers;
        int status;
        Ids expected;
    };
    const Case cases[] = {
        {{L"W", L"-1,-1", L"11,1", L""}, RTNORM, {m_line}},
        {{L"ALL", L"R", L"20,5", L""}, RTNORM, {m_line}}, // remove the circle picked on its rim
        {{L"C", L"-1,-1", L"30,1", L"*Cancel*"}, RTCAN, {}},
        {{L"nonsense", L"L", L""}, RTNORM, {m_circle}},
        {{L""}, RTERROR, {}},
    };
    for (const Case& row : cases) {
        cad::ed::QueuedCommandLine commandLine;
        const cad::ed::ScopedCommandLine scope(commandLine);
        for (const std::wstring& answer : row.answers) {
            commandLine.queueLine(answer);
        }
        int status = 0;
        EXPECT_EQ(select(nullptr, nullptr, nullptr, nullptr, &status), row.expected)
            << testing::PrintToString(row.answers);
        EXPECT_EQ(status, row.status) << testing::PrintToString(row.answers);
    }

    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    ads_name entity;
    ads_point point;
    const std::pair<std::wstring, int> picks[] = {
        {L"5,0", RTNORM}, {L"", RTERROR}, {L"*Cancel*", RTCAN}, {L"500,500", RTERROR}};
    for (const auto& [answer, status] : picks) {
        commandLine.queueLine(answer);
        EXPECT_EQ(acedEntSel(L"请选择模板实体(直接会车忽略模板实体):", entity, point), status)
            << testing::PrintToString(answer);
    }
    commandLine.queueLine(L"5,0");
    ASSERT_EQ(acedEntSel(L"Pick: ", entity, point), RTNORM);
    AcDbObjectId picked;
    acdbGetObjectId(picked, entity);
    EXPECT_EQ(picked, m_line);
    EXPECT_NE(commandLine.transcript().find(L"请选择模板实体(直接会车忽略模板实体):5,0\n"),
              std::wstring::npos);
}

TEST_F(Drawing, WorldPointsConvertToTheCurrentUserSystem) {
    cad::ed::UserCoordinateSystem moved;
    moved.origin.set(10, 5, 0);
    cad::ed::setUserCoordinateSystem(m_database, false, moved.rotatedAboutZ(std::numbers::pi / 2));
    struct Case {
        double world[3];
        bool vector;
        double user[3];
    };
    const Case cases[] = {
        {{10, 6, 0}, false, {1, 0, 0}},
        {{9, 5, 2}, false, {0, 1, 2}},
        {{0, 1, 0}, true, {1, 0, 0}},
    };
    for (const Case& row : cases) {
        ads_point from = {row.world[0], row.world[1], row.world[2]};
        ads_point to;
        ASSERT_TRUE(acdbWcs2Ucs(from, to, row.vector));
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(to[axis], row.user[axis], 1e-12) << axis;
        }
        ads_point back;
        ASSERT_TRUE(acdbUcs2Wcs(to, back, row.vector));
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(back[axis], row.world[axis], 1e-12) << axis;
        }
    }
    // The matrix of the current system maps user points to the world points the conversion gives.
    AcGeMatrix3d userToWorld;
    ASSERT_EQ(acedGetCurrentUCS(userToWorld), Acad::eOk);
    for (const Case& row : cases) {
        ads_point from = {row.world[0], row.world[1], row.world[2]};
        ads_point user;
        ASSERT_TRUE(acdbWcs2Ucs(from, user, false));
        const AcGePoint3d world = userToWorld * AcGePoint3d(user[0], user[1], user[2]);
        EXPECT_NEAR(world.x, row.world[0], 1e-12);
        EXPECT_NEAR(world.y, row.world[1], 1e-12);
        EXPECT_NEAR(world.z, row.world[2], 1e-12);
    }
    // Paper space keeps its own system, the world one here.
    ASSERT_TRUE(m_database.setCurrentSpace(m_database.paperSpaceId()));
    ads_point point = {3, 4, 0};
    ads_point converted;
    ASSERT_TRUE(acdbWcs2Ucs(point, converted, false));
    EXPECT_DOUBLE_EQ(converted[0], 3.0);
    ASSERT_EQ(acedGetCurrentUCS(userToWorld), Acad::eOk);
    EXPECT_TRUE(userToWorld.isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(SystemVariables, ConvertCheckAndRefuseValues) {
    auto& variables = cad::ed::SystemVariables::instance();
    variables.defineStored(L"TESTREAL", cad::ed::VariableValue::ofReal(1.5));
    struct Case {
        const wchar_t* name;
        resbuf value;
        int status;
    };
    resbuf shortValue{nullptr, RTSHORT, {}};
    shortValue.resval.rint = 0;
    resbuf realWhole{nullptr, RTREAL, {}};
    realWhole.resval.rreal = 1.0;
    resbuf realFraction{nullptr, RTREAL, {}};
    realFraction.resval.rreal = 0.5;
    resbuf text{nullptr, RTSTR, {}};
    text.resval.rstring = const_cast<ACHAR*>(L"x");
    const Case cases[] = {
        {L"cmdecho", shortValue, RTNORM},    {L"CMDECHO", realWhole, RTNORM},
        {L"CMDECHO", realFraction, RTERROR}, {L"CMDECHO", text, RTERROR},
        {L"ACADVER", text, RTERROR},         {L"NOSUCHVAR", shortValue, RTERROR},
        {L"TESTREAL", shortValue, RTNORM},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(acedSetVar(row.name, &row.value), row.status)
            << testing::PrintToString(std::wstring(row.name));
    }
    resbuf result{};
    ASSERT_EQ(acedGetVar(L"CMDECHO", &result), RTNORM);
    EXPECT_EQ(result.restype, RTSHORT);
    EXPECT_EQ(result.resval.rint, 1);
    ASSERT_EQ(acedGetVar(L"TESTREAL", &result), RTNORM);
    EXPECT_EQ(result.restype, RTREAL);
    EXPECT_DOUBLE_EQ(result.resval.rreal, 0.0);
    ASSERT_EQ(acedGetVar(L"ACADVER", &result), RTNORM);
    EXPECT_STREQ(result.resval.rstring, L"17.2");
    acutDelString(result.resval.rstring);
    EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &result), RTERROR);
}

} // namespace

namespace {

TEST(CorpusSelection, WholeDrawingSelectionReachesEveryLayoutOfARealDrawing) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxf(quelto::testing::corpusFile("generated/all_entities_R2010.dxf"), error))
        << error.toString();
    cad::ed::EditorState editor;
    editor.database = &database;
    cad::ed::setCurrentEditor(&editor);
    std::size_t model = 0;
    std::size_t paper = 0;
    std::size_t dimensions = 0;
    for (const AcDbObjectId& recordId : database.blockRecordIds()) {
        const auto* record = AcDbBlockTableRecord::cast(database.peekObject(recordId));
        if (record == nullptr || !record->isLayout()) {
            continue;
        }
        for (const AcDbObjectId& id : record->entityIds()) {
            const AcDbObject* entity = database.peekObject(id);
            if (entity == nullptr) {
                continue;
            }
            (recordId == database.modelSpaceId() ? model : paper) += 1;
            dimensions += entity->dxfName() == "DIMENSION" ? 1 : 0;
        }
    }
    ASSERT_GT(paper, 0u);
    ASSERT_GT(dimensions, 0u);
    const std::pair<resbuf*, std::size_t> cases[] = {
        {nullptr, model + paper},
        {acutBuildList(RTDXF0, L"DIMENSION", 0), dimensions},
        {acutBuildList(RTDXF0, L"DIMENSION", 8, L"~*", 0), 0},
    };
    for (const auto& [filter, expected] : cases) {
        ads_name set;
        const int status = acedSSGet(L"X", nullptr, nullptr, filter, set);
        std::int32_t length = 0;
        if (status == RTNORM) {
            acedSSLength(set, &length);
            acedSSFree(set);
        }
        EXPECT_EQ(static_cast<std::size_t>(length), expected);
        EXPECT_EQ(status, expected == 0 ? RTERROR : RTNORM);
        acutRelRb(filter);
    }
    cad::ed::setCurrentEditor(nullptr);
}

} // namespace
