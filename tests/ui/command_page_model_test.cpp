// The command page's logic without widgets: which controls each command enables, how number fields
// read their text, and the fifteen values carried between preferences, record and edit command.
#include "quelto/actions/extend_command.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/ui/command_page_model.h"

#include <gtest/gtest.h>

namespace {

// Every field different from its default and from the others, so a field copied into the wrong place
// or left out shows.
CCommandPageModel distinctValues() {
    CCommandPageModel model;
    model.m_bHasCmd = 1;
    model.m_bHasPrompt = 1;
    model.m_nDoType = 3;
    model.m_nPosIndex = 8;
    model.m_bHasOffset = 1;
    model.m_nXUnit = 1;
    model.m_nYUnit = 2;
    model.m_dXOffset = 0.5;
    model.m_dYOffset = -1.25;
    model.m_dMoveX = 10.0;
    model.m_dMoveY = 20.0;
    model.m_dMoveZ = 30.0;
    model.m_dScaleA = 2.5;
    model.m_dRoateA = 90.0;
    model.m_dAxiusA = 45.0;
    return model;
}

template <typename Target>
void expectDistinctValues(const Target& target) {
    EXPECT_EQ(target.m_bHasCmd, 1);
    EXPECT_EQ(target.m_bHasPrompt, 1);
    EXPECT_EQ(target.m_nDoType, 3);
    EXPECT_EQ(target.m_nPosIndex, 8);
    EXPECT_EQ(target.m_bHasOffset, 1);
    EXPECT_EQ(target.m_nXUnit, 1);
    EXPECT_EQ(target.m_nYUnit, 2);
    EXPECT_DOUBLE_EQ(target.m_dXOffset, 0.5);
    EXPECT_DOUBLE_EQ(target.m_dYOffset, -1.25);
    EXPECT_DOUBLE_EQ(target.m_dMoveX, 10.0);
    EXPECT_DOUBLE_EQ(target.m_dMoveY, 20.0);
    EXPECT_DOUBLE_EQ(target.m_dMoveZ, 30.0);
    EXPECT_DOUBLE_EQ(target.m_dScaleA, 2.5);
    EXPECT_DOUBLE_EQ(target.m_dRoateA, 90.0);
    EXPECT_DOUBLE_EQ(target.m_dAxiusA, 45.0);
}

} // namespace

TEST(CommandPageModel, EnablesTheControlsOfTheChosenCommandOnly) {
    using M = CCommandPageModel;
    struct Row {
        BOOL hasCmd;
        int doType;
        BOOL hasOffset;
        CCommandPageEnabling expected; // choice, reference, offsets, frame, move, scale, rotate, mirror
    };
    const Row rows[] = {
        {0, M::kScale, 1, {false, false, false, false, false, false, false, false}},
        {1, M::kErase, 1, {true, false, false, false, false, false, false, false}},
        {1, M::kMove, 1, {true, false, false, false, true, false, false, false}},
        {1, M::kScale, 0, {true, true, false, true, false, true, false, false}},
        {1, M::kRotate, 1, {true, true, true, true, false, false, true, false}},
        {1, M::kMirror, 1, {true, true, true, true, false, false, false, true}},
        {1, M::kExplode, 1, {true, false, false, false, false, false, false, false}},
    };
    for (const Row& row : rows) {
        CCommandPageModel model;
        model.m_bHasCmd = row.hasCmd;
        model.m_nDoType = row.doType;
        model.m_bHasOffset = row.hasOffset;
        EXPECT_EQ(model.Enabling(), row.expected) << "command " << row.doType << " run " << row.hasCmd;
    }
}

TEST(CommandPageModel, NumberFieldsTakeOnlyADecimalNumber) {
    const struct {
        const wchar_t* text;
        bool accepted;
        double value;
    } rows[] = {
        {L"12.5", true, 12.5}, {L"  -3 ", true, -3.0}, {L"1e2", true, 100.0}, {L".5", true, 0.5},
        {L"", false, 7.0},     {L"   ", false, 7.0},   {L"abc", false, 7.0},  {L"12abc", false, 7.0},
        {L"0x10", false, 7.0}, {L"inf", false, 7.0},   {L"1.5e", false, 7.0}, {L"1 2", false, 7.0},
    };
    for (const auto& row : rows) {
        double value = 7.0;
        EXPECT_EQ(CCommandPageModel::ParseNumber(row.text, value), row.accepted)
            << "text \"" << row.text << '"';
        EXPECT_DOUBLE_EQ(value, row.value);
    }
}

TEST(CommandPageModel, CarriesAllFifteenValuesToRecordCommandAndPreferences) {
    const CCommandPageModel source = distinctValues();

    CFilter record;
    source.SaveTo(record);
    expectDistinctValues(record);
    CCommandPageModel fromRecord;
    fromRecord.LoadFrom(record);
    expectDistinctValues(fromRecord);

    CExtendCommand command;
    source.CopyTo(command);
    expectDistinctValues(command);

    CQLTSystemParam param;
    source.WriteSettings(param);
    EXPECT_EQ(param.GetDoType(), 3);
    EXPECT_DOUBLE_EQ(param.GetYOffset(), -1.25);
    CCommandPageModel fromSettings;
    fromSettings.ReadSettings(param);
    expectDistinctValues(fromSettings);

    CCommandPageModel{}.WriteSettings(param);
}
