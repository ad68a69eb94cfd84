// The host's rules around selecting that modules meet: acedEntSel's ERRNO codes and user coordinates,
// keywords offered by acedInitGet, the limit of open selection sets, what acedSSAdd refuses and window
// corners given in the current user system.

#include "cad/ed/command_line.h"
#include "cad/ed/keyword_input.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "drawing_fixture.h"

#include <array>
#include <numbers>

namespace {

int errorNumber() {
    resbuf value{};
    EXPECT_EQ(acedGetVar(L"ERRNO", &value), RTNORM);
    return value.resval.rint;
}

void moveUserOrigin(AcDbDatabase& database, double x) {
    cad::ed::UserCoordinateSystem system;
    system.origin.x = x;
    cad::ed::setUserCoordinateSystem(database, false, system);
}

TEST_F(Drawing, EntitySelectionSetsErrnoAndPicksInTheUserSystem) {
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    ads_name entity;
    ads_point point;
    commandLine.queueLine(L"100,100");
    EXPECT_EQ(acedEntSel(nullptr, entity, point), RTERROR);
    EXPECT_EQ(errorNumber(), 7);
    EXPECT_EQ(commandLine.transcript(), L"Select object: 100,100\n");
    commandLine.queueLine(L"");
    EXPECT_EQ(acedEntSel(nullptr, entity, point), RTERROR);
    EXPECT_EQ(errorNumber(), 52);

    // The circle's top at world (20,5) is (0,5) once the user origin sits at its centre.
    moveUserOrigin(m_database, 20);
    commandLine.queueLine(L"0,5");
    ASSERT_EQ(acedEntSel(L"Pick: ", entity, point), RTNORM);
    AcDbObjectId picked;
    acdbGetObjectId(picked, entity);
    EXPECT_EQ(picked, m_circle);
    EXPECT_DOUBLE_EQ(point[0], 0.0);
    EXPECT_DOUBLE_EQ(point[1], 5.0);
}

TEST_F(Drawing, KeywordsOfInitGetAnswerTheNextInputCallOnly) {
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    ads_name entity;
    ads_point point;
    ACHAR keyword[64];
    ASSERT_EQ(acedInitGet(0, L"Undo eXit LType"), RTNORM);
    commandLine.queueLine(L"x");
    ASSERT_EQ(acedEntSel(nullptr, entity, point), RTKWORD);
    ASSERT_EQ(acedGetInput(keyword, 64), RTNORM);
    EXPECT_STREQ(keyword, L"eXit");
    commandLine.queueLine(L"x");
    EXPECT_EQ(acedEntSel(nullptr, entity, point), RTERROR);

    struct Row {
        const wchar_t* keywords;
        const wchar_t* typed;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {L"Undo eXit LType", L"lt", L"LType"},
        {L"Undo eXit LType", L"ltyp", L"LType"},
        {L"Undo eXit LType", L"EXI", L"eXit"},
        {L"LType eXit _ Linetype Exit", L"lty", L"Linetype"},
        {L"LType eXit _ Linetype Exit", L"_exit", L"Exit"},
        {L"YES NO", L"no", L"NO"},
    };
    for (const Row& row : rows) {
        acedInitGet(0, row.keywords);
        commandLine.queueLine(row.typed);
        ASSERT_EQ(acedGetKword(L"Option: ", keyword, 64), RTNORM)
            << testing::PrintToString(std::wstring(row.typed));
        EXPECT_STREQ(keyword, row.expected);
    }
    // Neither the part before the abbreviation nor less than a whole capitalised word is a keyword.
    acedInitGet(0, L"eXit YES");
    commandLine.clear();
    commandLine.queueLine(L"e");
    commandLine.queueLine(L"ye");
    commandLine.queueLine(L"x");
    ASSERT_EQ(acedGetKword(L"Option: ", keyword, 64), RTNORM);
    EXPECT_STREQ(keyword, L"eXit");
    EXPECT_EQ(commandLine.transcript(),
              L"Option: e\nInvalid option keyword.\nOption: ye\nInvalid option keyword.\n"
              L"Option: x\n");

    acedInitGet(RSG_NONULL, L"Yes No");
    commandLine.queueLine(L"");
    commandLine.queueLine(L"n");
    EXPECT_EQ(acedGetPoint(nullptr, L"Point: ", point), RTKWORD);
    acedGetInput(keyword, 64);
    EXPECT_STREQ(keyword, L"No");
}

TEST_F(Drawing, OpenSetsStopAt128AndAddRefusesWhatIsNoLiveEntity) {
    std::vector<std::array<std::int64_t, 2>> opened;
    while (cad::ed::SelectionSets::instance().liveCount() < cad::ed::SelectionSets::kMaximumOpen) {
        ads_name set;
        ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
        opened.push_back({set[0], set[1]});
    }
    ads_name extra;
    EXPECT_EQ(acedSSAdd(nullptr, nullptr, extra), RTERROR);
    EXPECT_EQ(errorNumber(), 3);
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, extra), RTERROR);
    for (const auto& name : opened) {
        EXPECT_EQ(acedSSFree(name.data()), RTNORM);
    }
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, extra), RTNORM);

    ads_name circle;
    acdbGetAdsName(circle, m_circle);
    ASSERT_EQ(acdbEntDel(circle), RTNORM);
    ads_name layerTable;
    acdbGetAdsName(layerTable, m_database.layerTableId());
    const ads_name unknown = {0, cad::ed::kEntityNameTag};
    for (const std::int64_t* refused :
         {static_cast<const std::int64_t*>(circle), unknown, static_cast<const std::int64_t*>(layerTable)}) {
        EXPECT_EQ(acedSSAdd(refused, extra, extra), RTERROR);
        ads_name single;
        EXPECT_EQ(acedSSAdd(refused, nullptr, single), RTERROR);
    }
    std::int32_t length = 0;
    acedSSLength(extra, &length);
    EXPECT_EQ(length, 3);
    acedSSFree(extra);
}

TEST_F(Drawing, WindowCornersAreTakenInTheUserSystem) {
    moveUserOrigin(m_database, 20);
    const double first[3] = {-6, -6, 0};
    const double second[3] = {6, 6, 0};
    EXPECT_EQ(select(L"W", nullptr, first, second), (Ids{m_circle}));
    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine scope(commandLine);
    for (const wchar_t* answer : {L"C", L"-21,-1", L"-19,1", L""}) {
        commandLine.queueLine(answer);
    }
    EXPECT_EQ(select(nullptr), (Ids{m_line}));

    // Under axes turned by 45 degrees the circle's centre (20,0) lies at (14.14,-14.14): a window square
    // to those axes holds it, though no box of the world through its corners would.
    cad::ed::setUserCoordinateSystem(m_database, false,
                                     cad::ed::UserCoordinateSystem().rotatedAboutZ(std::numbers::pi / 4));
    const double turned1[3] = {9, -20, 0};
    const double turned2[3] = {20, -9, 0};
    EXPECT_EQ(select(L"W", nullptr, turned1, turned2), (Ids{m_circle}));
}

} // namespace
