#include "filter_test_support.h"
#include "quelto/filter/filter.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using filter_test::ByteLayout;

namespace {

CFilter everyFieldSet() {
    CFilter record;
    record.m_nVersion = 6;
    record.m_strName = L"配置A";
    record.m_bType = 1;
    record.m_strType = L"圆";
    record.m_bLayer = 1;
    record.m_strLayer = L"墙体";
    record.m_bColor = 1;
    record.m_strColorOp = L"!=";
    record.m_nColor = 3;
    record.m_bLineWeight = 1;
    record.m_strLineWeightOp = L">=";
    record.m_nLineWeight = 50;
    record.m_bSpace = 1;
    record.m_strSpaceOp = L"!=";
    record.m_strSpace = L"布局1";
    record.m_bLineType = 1;
    record.m_strLineTypeOp = L"!=";
    record.m_strLineType = L"DASHED";
    record.m_bLtScale = 1;
    record.m_strLtScaleOp = L"<";
    record.m_dLtScale = 2.5;
    record.m_bVisible = 1;
    record.m_strVisibleOp = L"!=";
    record.m_nVisibility = 1;
    record.m_bPlanar = 1;
    record.m_strPlanarOp = L"!=";
    record.m_nPlanar = 0;
    record.m_bWidth = 1;
    record.m_strWidthOp = L"||=";
    record.m_dWidth = 12.25;
    record.m_bHeight = 1;
    record.m_strHeightOp = L">";
    record.m_dHeight = -3.5;
    record.m_arrPropId = {201, 301};
    record.m_arrPropRow = {2, 0};
    record.m_arrPropOp = {L">", L"包含"};
    record.m_arrPropValue = {L"10.5", L"AB"};
    record.m_bLogic = 1;
    record.m_nLogicMode = 2;
    record.m_strLogic = L"(A&B)|C";
    record.m_bHasCmd = 1;
    record.m_bHasPrompt = 0;
    record.m_nDoType = 3;
    record.m_nPosIndex = 9;
    record.m_bHasOffset = 1;
    record.m_nXUnit = 1;
    record.m_nYUnit = 2;
    record.m_dXOffset = 0.5;
    record.m_dYOffset = -0.25;
    record.m_dMoveX = 100.0;
    record.m_dMoveY = 200.0;
    record.m_dMoveZ = 300.0;
    record.m_dScaleA = 2.0;
    record.m_dRoateA = 45.0;
    record.m_dAxiusA = 90.0;
    record.m_bSelectFromAll = 1;
    record.m_nGroupMode = 4;
    record.m_strGroupName = L"组1";
    return record;
}

// The stored form of everyFieldSet() for the given data version, laid out item by item in file order.
// Items a version does not have are left out, as an older program wrote them.
std::string everyFieldLayout(int version) {
    ByteLayout layout;
    layout.text(L"配置A").integer(1).text(L"圆").integer(1).text(L"墙体").integer(1);
    if (version >= 2) {
        layout.text(L"!=");
    }
    layout.integer(3).integer(1);
    if (version >= 2) {
        layout.text(L">=");
    }
    layout.integer(50);
    if (version >= 6) {
        layout.integer(1).text(L"!=").text(L"布局1");
    }
    if (version >= 3) {
        layout.integer(1).text(L"!=").text(L"DASHED").integer(1).text(L"<").real(2.5);
    }
    if (version >= 4) {
        layout.integer(1).text(L"!=").integer(1).integer(1).text(L"!=").integer(0);
        layout.integer(1).text(L"||=").real(12.25).integer(1).text(L">").real(-3.5);
    }
    layout.integer(2).integer(201);
    if (version >= 6) {
        layout.integer(2);
    }
    layout.text(L">").text(L"10.5").integer(301);
    if (version >= 6) {
        layout.integer(0);
    }
    layout.text(L"包含").text(L"AB");
    if (version >= 6) {
        layout.integer(1).integer(2).text(L"(A&B)|C");
    }
    if (version >= 5) {
        layout.integer(1).integer(4).text(L"组1");
    }
    if (version >= 6) {
        layout.integer(1).integer(0).integer(3).integer(9).integer(1).integer(1).integer(2);
        for (const double value : {0.5, -0.25, 100.0, 200.0, 300.0, 2.0, 45.0, 90.0}) {
            layout.real(value);
        }
    }
    return layout.bytes();
}

std::string storedBytes(CFilter record) {
    CArchive archive(CArchive::store);
    record.Serialize(archive);
    return archive.bytes();
}

CFilter loaded(const std::string& bytes, int version) {
    CFilter record;
    record.m_nVersion = version;
    CArchive archive(CArchive::load, bytes);
    record.Serialize(archive);
    EXPECT_TRUE(archive.atEnd()) << "version " << version << " stopped at byte " << archive.position();
    return record;
}

} // namespace

TEST(Filter, StoresEveryFieldInFileOrderAndLoadsItBack) {
    const CFilter record = everyFieldSet();
    ASSERT_EQ(storedBytes(record), everyFieldLayout(6));
    const CFilter back = loaded(everyFieldLayout(6), 6);
    EXPECT_EQ(storedBytes(back), everyFieldLayout(6));
    EXPECT_EQ(back.m_arrPropRow, record.m_arrPropRow);
    EXPECT_EQ(back.m_dAxiusA, 90.0);
    EXPECT_EQ(back.m_strGroupName, L"组1");
}

TEST(Filter, OlderDataVersionsLoadTheirItemsAndKeepDefaultsForTheRest) {
    const CFilter defaults;
    const CFilter full = everyFieldSet();
    for (int version = 1; version <= 6; ++version) {
        const CFilter record = loaded(everyFieldLayout(version), version);
        const std::string where = "version " + std::to_string(version);
        EXPECT_EQ(record.m_strName, full.m_strName) << where;
        EXPECT_EQ(record.m_nLineWeight, full.m_nLineWeight) << where;
        EXPECT_EQ(record.m_arrPropId, full.m_arrPropId) << where;
        EXPECT_EQ(record.m_arrPropValue, full.m_arrPropValue) << where;
        EXPECT_EQ(record.m_strColorOp, version >= 2 ? full.m_strColorOp : defaults.m_strColorOp) << where;
        EXPECT_EQ(record.m_strLineWeightOp, version >= 2 ? L">=" : L"") << where;
        EXPECT_EQ(record.m_strLineType, version >= 3 ? L"DASHED" : L"ByLayer") << where;
        EXPECT_EQ(record.m_dLtScale, version >= 3 ? 2.5 : 1.0) << where;
        EXPECT_EQ(record.m_nPlanar, version >= 4 ? 0 : 1) << where;
        EXPECT_EQ(record.m_strWidthOp, version >= 4 ? L"||=" : L"=") << where;
        EXPECT_EQ(record.m_bSelectFromAll, version >= 5 ? 1 : 0) << where;
        EXPECT_EQ(record.m_strGroupName, version >= 5 ? L"组1" : L"") << where;
        EXPECT_EQ(record.m_strSpace, version >= 6 ? L"布局1" : L"[*模型*]") << where;
        EXPECT_EQ(record.m_strLogic, version >= 6 ? L"(A&B)|C" : L"") << where;
        EXPECT_EQ(record.m_bHasPrompt, version >= 6 ? 0 : 1) << where;
        EXPECT_EQ(record.m_nDoType, version >= 6 ? 3 : 1) << where;
        EXPECT_EQ(record.m_dScaleA, version >= 6 ? 2.0 : 1.0) << where;
        // Before version 6 a row's letter is its position.
        EXPECT_EQ(record.m_arrPropRow, (version >= 6 ? std::vector<int>{2, 0} : std::vector<int>{0, 1}))
            << where;
    }
}

TEST(Filter, VersionOneRecordsWithEightBitTextsLoadThroughTheSystemCodeSet) {
    ::setenv("QUELTO_SYSTEM_CODESET", "GBK", 1);
    ByteLayout layout;
    layout.narrowText("\xC5\xE4\xD6\xC3")
        .integer(1)
        .narrowText("\xD6\xB1\xCF\xDF")
        .integer(0)
        .narrowText("0");
    layout.integer(1).integer(7).integer(0).integer(-1).integer(1).integer(205).narrowText(">").narrowText(
        "3");
    const CFilter record = loaded(layout.bytes(), 1);
    ::unsetenv("QUELTO_SYSTEM_CODESET");
    EXPECT_EQ(record.m_strName, L"配置");
    EXPECT_EQ(record.m_strType, L"直线");
    EXPECT_EQ(record.m_nColor, 7);
    EXPECT_EQ(record.m_nLineWeight, -1);
    EXPECT_EQ(record.m_arrPropOp, CStringArray{L">"});
    EXPECT_EQ(record.m_arrPropRow, std::vector<int>{0});
}

TEST(Filter, ResetAndCopyKeepOrTakeTheNameAsAsked) {
    CFilter reset = everyFieldSet();
    reset.Reset();
    CFilter expected;
    expected.m_strName = L"配置A";
    EXPECT_EQ(storedBytes(reset), storedBytes(expected));
    EXPECT_EQ(reset.m_nVersion, 6);

    struct Row {
        BOOL withName;
        const wchar_t* name;
    };
    for (const Row row : {Row{TRUE, L"配置A"}, Row{FALSE, L"目标"}}) {
        CFilter target;
        target.m_strName = L"目标";
        target.m_arrPropId = {999};
        target.CopyFrom(everyFieldSet(), row.withName);
        CFilter named = everyFieldSet();
        named.m_strName = row.name;
        EXPECT_EQ(storedBytes(target), storedBytes(named)) << row.withName;
        EXPECT_EQ(target.m_nVersion, 6) << row.withName;
    }
    const CFilter copied(everyFieldSet());
    EXPECT_EQ(storedBytes(copied), everyFieldLayout(6));
}

TEST(Filter, NameLengthsUseTheShortestPrefixAndLoadBackUnchanged) {
    struct Row {
        std::size_t length;
        std::string prefix;
    };
    const Row rows[] = {{0, std::string("\xFF\xFE\xFF\x00", 4)},
                        {300, std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6)}};
    for (const Row& row : rows) {
        CFilter record;
        record.m_strName = std::wstring(row.length, L'名');
        const std::string bytes = storedBytes(record);
        EXPECT_EQ(bytes.substr(0, row.prefix.size()), row.prefix) << row.length;
        EXPECT_EQ(loaded(bytes, 6).m_strName, record.m_strName) << row.length;
    }
}
