// Tests of CZEBSteelPropInfo: every standard diameter read back through each lookup against the printed
// cutting-list table, the grade-to-column mapping, non-standard diameters and angles, bends between table
// angles, the diameter ranges, and the snapping and formula settings a derived table may switch on.
#include "quelto/baselib/zeb_steel_prop_info.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The printed cutting-list table: d, outer, inner, 90° and 135° hooks of grade indexes 0-2, 180° hook of
// grade index 0, 45° deduction of grade indexes 1-2, 90° deduction of index 0 and of 1-2, alternative 90°
// deduction, area, mass.
struct PrintedBar {
    int diameter;
    double outer, inner, hook90[3], hook135[3], hook180, bend45, bend90First, bend90Others, bend90M, area,
        mass;
};

// clang-format off
const PrintedBar kPrintedBars[] = {
    {6, 6.75, 5.75, {-1, 6.6, 6.7}, {-1, 4.7, 5.1}, -1, 0.3, -1, 0.8, 2.7, 0.283, 0.222},
    {7, 7.75, 6.75, {-1, 7.7, 7.8}, {-1, 5.5, 6}, -1, 0.3, -1, 0.9, 3.2, 0.385, 0.302},
    {8, 9, 7.5, {8.4, 8.7, 9}, {5.5, 6.3, 6.9}, 5, 0.4, 0.6, 1, 3.6, 0.503, 0.395},
    {9, 10, 8.5, {9.5, 9.8, 10.1}, {6.2, 7.1, 7.7}, 5.6, 0.4, 0.7, 1.2, 4.1, 0.636, 0.499},
    {10, 11.3, 9.3, {10.5, 10.9, 11.2}, {6.9, 7.9, 8.6}, 6.3, 0.5, 0.8, 1.3, 4.5, 0.785, 0.617},
    {12, 13, 11, {12.6, 13.1, 13.5}, {8.2, 9.5, 10.3}, 7.5, 0.5, 0.9, 1.5, 5.4, 1.131, 0.888},
    {14, 15.5, 13, {14.7, 15.3, 15.7}, {9.6, 11, 12}, 8.8, 0.6, 1.1, 1.8, 6.3, 1.539, 1.21},
    {16, 17.5, 15, {16.8, 17.5, 17.9}, {11, 12.6, 13.7}, 10, 0.7, 1.2, 2.1, 7.2, 2.011, 1.58},
    {18, 20, 17, {18.9, 19.7, 20.2}, {12.4, 14.2, 15.4}, 11.3, 0.8, 1.4, 2.3, 8.1, 2.545, 2},
    {20, 22, 19, {21, 21.9, 22.4}, {13.7, 15.8, 17.1}, 12.5, 0.9, 1.5, 2.6, 9, 3.142, 2.47},
    {22, 24, 21, {-1, 24, 24.7}, {-1, 17.4, 18.9}, -1, 1, -1, 2.8, 9.9, 3.801, 2.98},
    {25, 27, 24, {-1, 27.3, 28}, {-1, 19.7, 21.4}, -1, 1.1, -1, 3.2, 11.3, 4.909, 3.85},
    {28, 30, 26.5, {-1, 30.6, 31.4}, {-1, 22.1, 24}, -1, 1.3, -1, 3.6, 12.6, 6.158, 4.83},
    {32, 34.5, 30.5, {-1, 35, 35.9}, {-1, 25.2, 27.4}, -1, 1.4, -1, 4.1, 14.4, 8.042, 6.31},
    {36, 39.5, 34.5, {-1, 39.3, 40.4}, {-1, 28.4, 30.9}, -1, 1.6, -1, 4.6, 16.2, 10.179, 7.99},
    {40, 43.5, 38.5, {-1, 43.7, 44.8}, {-1, 31.6, 34.3}, -1, 1.8, -1, 5.2, 18, 12.566, 9.87},
    {50, 53.5, 48.5, {-1, 54.7, 56.1}, {-1, 39.5, 42.9}, -1, 2.3, -1, 6.5, 22.5, 19.635, 15.413}
};
// clang-format on

TEST(ZebSteelPropInfo, ReadsEveryStandardDiameterAsPrinted) {
    const CZEBSteelPropInfo table;
    for (const PrintedBar& bar : kPrintedBars) {
        SCOPED_TRACE(bar.diameter);
        const int d = bar.diameter;
        EXPECT_TRUE(table.IsStandRadio(d));
        EXPECT_DOUBLE_EQ(table.GetOutRadio(d), bar.outer);
        EXPECT_DOUBLE_EQ(table.GetIntRadio(d), bar.inner);
        const double expectedMass = d >= 15 ? std::round(bar.mass * 100.0) / 100.0 : bar.mass;
        EXPECT_DOUBLE_EQ(table.GetDensity(d), expectedMass);

        const CSteelProperty* row = table.GetProperty(d);
        ASSERT_NE(row, nullptr);
        EXPECT_DOUBLE_EQ(row->m_dDiameter, d);
        EXPECT_DOUBLE_EQ(row->m_dArea, bar.area);
        EXPECT_DOUBLE_EQ(row->m_dMass, bar.mass);

        for (int grade = 0; grade < 3; ++grade) {
            SCOPED_TRACE(grade);
            EXPECT_DOUBLE_EQ(table.GetIncrease(grade, d, 90.0, nullptr, nullptr), bar.hook90[grade]);
            EXPECT_DOUBLE_EQ(table.GetIncrease(grade, d, 135.0, nullptr, nullptr), bar.hook135[grade]);
            EXPECT_DOUBLE_EQ(table.GetIncrease(grade, d, 180.0, nullptr, nullptr),
                             grade == 0 ? bar.hook180 : 0.0);
            EXPECT_DOUBLE_EQ(table.GetDecrease(grade, d, 45.0, 0), grade == 0 ? -1.0 : bar.bend45);
            EXPECT_DOUBLE_EQ(table.GetDecrease(grade, d, 90.0, 0),
                             grade == 0 ? bar.bend90First : bar.bend90Others);
            EXPECT_DOUBLE_EQ(table.GetDecrease(grade, d, 90.0, 1), bar.bend90M);
        }
        // Grade index 3 has nothing but the alternative 90° deduction.
        EXPECT_DOUBLE_EQ(table.GetIncrease(3, d, 90.0, nullptr, nullptr), 0.0);
        EXPECT_DOUBLE_EQ(table.GetDecrease(3, d, 45.0, 0), -1.0);
        EXPECT_DOUBLE_EQ(table.GetDecrease(3, d, 90.0, 0), -1.0);
        EXPECT_DOUBLE_EQ(table.GetDecrease(3, d, 90.0, 7), bar.bend90M);
    }
}

TEST(ZebSteelPropInfo, AnswersNothingForNonStandardDiameters) {
    const CZEBSteelPropInfo table;
    for (const int d : {0, 5, 11, 13, 15, 49, 51, -10, -6}) {
        SCOPED_TRACE(d);
        EXPECT_FALSE(table.IsStandRadio(d));
        EXPECT_EQ(table.GetOutRadio(d), 0.0);
        EXPECT_EQ(table.GetIntRadio(d), 0.0);
        EXPECT_EQ(table.GetDensity(d), 0.0);
        EXPECT_EQ(table.GetProperty(d), nullptr);
        EXPECT_EQ(table.GetIncrease(1, d, 90.0, nullptr, nullptr), 0.0);
        EXPECT_EQ(table.GetDecrease(1, d, 45.0, 0), 0.0);
        EXPECT_EQ(table.GetDecrease(1, d, 60.0, 0), 0.0);
    }
}

TEST(ZebSteelPropInfo, AddsHookLengthsOnlyForTableAnglesAndGrades) {
    const double arc90 = 2.748893571891069, arc135 = 4.123340357836604, arc180 = 5.497787143782138;
    // grade, d, angle, expected, arc, straight
    const struct {
        int grade, d;
        double angle, expected, arc, straight;
    } cases[] = {
        // clang-format off
        {0, 10, 90.0, 10.5, arc90, 10.0}, {0, 10, -90.0, 10.5, arc90, 10.0}, {0, 10, 180.0, 6.3, arc180, 3.0},
        {0, 6, 90.0, -1.0, arc90 * 0.6, 6.0}, {0, 10, 135.0, 6.9, arc135, 5.0},
        {2, 10, 90.0, 11.2, 4.71238898038469, 10.0}, {2, 10, 135.0, 8.6, 7.0685834705770345, 5.0},
        {1, 20, 135.0, 15.8, 5.890486225480862 * 2.0, 10.0},
        {1, 10, 180.0, 0, 0, 0}, {2, 10, 180.0, 0, 0, 0}, {3, 10, 90.0, 0, 0, 0},  {-1, 10, 90.0, 0, 0, 0},
        {4, 10, 90.0, 0, 0, 0},  {0, 10, 60.0, 0, 0, 0},  {0, 10, 100.0, 0, 0, 0}, {0, 10, 89.99, 0, 0, 0},
        {0, 10, 180.01, 0, 0, 0}, {0, 10, std::nan(""), 0, 0, 0}
        // clang-format on
    };
    const CZEBSteelPropInfo table;
    for (const auto& testCase : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "grade " << testCase.grade << " d " << testCase.d << " angle " << testCase.angle);
        double arc = 99.0;
        double straight = 99.0;
        EXPECT_DOUBLE_EQ(table.GetIncrease(testCase.grade, testCase.d, testCase.angle, &arc, &straight),
                         testCase.expected);
        EXPECT_DOUBLE_EQ(arc, testCase.arc);
        EXPECT_DOUBLE_EQ(straight, testCase.straight);
    }
}

TEST(ZebSteelPropInfo, DeductsBendLengthsFromTableOrByTheBendRule) {
    // grade, d, angle, variant, expected; angles other than 45 and 90 follow 21 tan(a/2) - 10.5 a
    const struct {
        int grade, d;
        double angle;
        int variant;
        double expected;
    } cases[] = {
        // clang-format off
        {0, 10, 45.0, 0, -1.0}, {1, 10, 45.0, 0, 0.5},  {2, 10, -45.0, 0, 0.5}, {1, 10, 90.0, 1, 4.5},
        {3, 10, 90.0, 0, -1.0}, {0, 10, 90.0, 0, 0.8},  {1, 10, 90.0, 0, 1.3},  {0, 10, 60.0, 0, 1.1},
        {3, 10, 60.0, 0, 1.1},  {0, 20, 60.0, 0, 2.3},  {1, 40, 30.0, 0, 0.5},  {1, 10, 89.0, 0, 4.3},
        {1, 10, 1.0, 0, 0.0},   {1, 10, 0.0, 0, 0.0},   {1, 10, 90.01, 0, 0.0}, {1, 10, -120.0, 0, 0.0},
        {4, 10, 45.0, 0, 0.0},  {-1, 10, 60.0, 0, 0.0}, {1, 10, std::nan(""), 0, 0.0}
        // clang-format on
    };
    const CZEBSteelPropInfo table;
    for (const auto& testCase : cases) {
        EXPECT_DOUBLE_EQ(table.GetDecrease(testCase.grade, testCase.d, testCase.angle, testCase.variant),
                         testCase.expected)
            << "grade " << testCase.grade << " d " << testCase.d << " angle " << testCase.angle;
    }
}

TEST(ZebSteelPropInfo, ListsTheDiametersOfEachRange) {
    const std::vector<int> all = {6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 25, 28, 32, 36, 40, 50};
    const std::vector<int> upTo40(all.begin(), all.end() - 1);
    const std::vector<int> from8To40(all.begin() + 2, all.end() - 1);
    const std::vector<int> from8To20(all.begin() + 2, all.begin() + 10);
    const struct {
        int kind;
        const std::vector<int>& expected;
    } cases[] = {{0, from8To20}, {1, all}, {2, all}, {3, from8To40}, {4, upTo40}, {-1, upTo40}};
    const CZEBSteelPropInfo table;
    for (const auto& testCase : cases) {
        CArray<int, int> list = {99, 98};
        EXPECT_EQ(table.GetSteelRadioList(list, testCase.kind), static_cast<int>(testCase.expected.size()));
        EXPECT_EQ(list, testCase.expected) << "kind " << testCase.kind;
    }
}

// A table with the settings that only a derived class can change.
class TunedSteelTable : public CZEBSteelPropInfo {
public:
    TunedSteelTable(BOOL snap, int snapMode, BOOL formula) {
        m_bSnapAngle = snap;
        m_nSnapMode = snapMode;
        m_bUseFormula = formula;
    }
};

TEST(ZebSteelPropInfo, SnapsAnglesBetweenTableAnglesByMode) {
    // Hooks of grade index 0, d 10: 90° gives 10.5, 135° 6.9, 180° 6.3.
    // Bends of grade index 1, d 10: 45° gives 0.5, 90° 1.3.
    const struct {
        bool bend;
        int mode;
        double angle, expected;
    } cases[] = {
        // clang-format off
        {false, 0, 100.0, 10.5}, {false, 3, 170.0, 6.9}, {false, 1, 100.0, 10.5}, {false, 1, 120.0, 6.9},
        {false, 1, 112.5, 10.5}, {false, 1, 160.0, 6.3}, {false, 2, 100.0, 6.9},  {false, 4, 136.0, 6.3},
        {false, 2, 90.0, 10.5},  {false, 1, 60.0, 0.0},  {false, 5, 100.0, 0.0},
        {true, 0, 30.0, 1.3},    {true, 0, 60.0, 0.5},   {true, 1, 30.0, 0.5},    {true, 1, 60.0, 0.5},
        {true, 1, 67.5, 0.5},    {true, 1, 70.0, 1.3},   {true, 2, 30.0, 0.5},    {true, 2, 60.0, 1.3},
        {true, 4, 46.0, 1.3},    {true, 3, 89.0, 0.5}
        // clang-format on
    };
    for (const auto& testCase : cases) {
        const TunedSteelTable table(TRUE, testCase.mode, FALSE);
        const double value = testCase.bend ? table.GetDecrease(1, 10, testCase.angle, 0)
                                           : table.GetIncrease(0, 10, testCase.angle, nullptr, nullptr);
        EXPECT_DOUBLE_EQ(value, testCase.expected) << "mode " << testCase.mode << " angle " << testCase.angle;
    }
}

TEST(ZebSteelPropInfo, ComputesHooksAndMassByFormulaWhenAsked) {
    const TunedSteelTable table(FALSE, 1, TRUE);
    const struct {
        int grade, d;
        double angle, expected, arc, straight;
    } cases[] = {{0, 20, 90.0, 15.0, 5.5, 14.0},
                 {1, 10, 135.0, 9.9, 5.9, 7.0},
                 {2, 10, 180.0, 9.9, 9.4, 4.0},
                 {3, 10, 90.0, 0.0, 0.0, 0.0}};
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.grade);
        double arc = 99.0;
        double straight = 99.0;
        EXPECT_DOUBLE_EQ(table.GetIncrease(testCase.grade, testCase.d, testCase.angle, &arc, &straight),
                         testCase.expected);
        EXPECT_DOUBLE_EQ(arc, testCase.arc);
        EXPECT_DOUBLE_EQ(straight, testCase.straight);
    }
    EXPECT_DOUBLE_EQ(table.GetDensity(10), 100.0 * 61.65375582669969 / 10000.0);
    EXPECT_DOUBLE_EQ(table.GetDensity(14), 196.0 * 61.65375582669969 / 10000.0);
    EXPECT_DOUBLE_EQ(table.GetDensity(15), 1.39) << "rounded from 15 mm on";
    EXPECT_GT(table.GetDensity(11), 0.0) << "any diameter has a computed mass";
}

} // namespace
