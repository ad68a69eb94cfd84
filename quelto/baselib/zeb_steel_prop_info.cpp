// CZEBSteelPropInfo: the reinforcing-bar table and its lookups. The table values are the ones drawn up for
// site cutting lists: hook and bend lengths in centimetres, already rounded the way the lists print them,
// so the table is read as stored and only angles between table angles are computed.
#include "quelto/baselib/zeb_steel_prop_info.h"

#include "platform/angle_units.h"
#include "quelto/baselib/zeb_string.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kNone = -1.0;

// One line of the printed table: diameter, ribbed sizes, hook additions for grades 1 to 3, 180° hook of
// grade 1, 45° deduction of grades 2-3, 90° deductions of grade 1 and grades 2-3, the alternative 90°
// deduction (0.45 d), section and mass.
struct SteelTableLine {
    double diameter, outer, inner;
    double hook90[3];
    double hook135[3];
    double hook180;
    double bend45;
    double bend90First, bend90Others, bend90M;
    double area, mass;
};

// clang-format off
constexpr SteelTableLine kSteelTable[] = {
    { 6, 6.75,  5.75, {kNone,  6.6,  6.7}, {kNone,  4.7,  5.1}, kNone, 0.3, kNone, 0.8,  2.7,  0.283,  0.222},
    { 7, 7.75,  6.75, {kNone,  7.7,  7.8}, {kNone,  5.5,  6.0}, kNone, 0.3, kNone, 0.9,  3.2,  0.385,  0.302},
    { 8, 9.0,   7.5,  {  8.4,  8.7,  9.0}, {  5.5,  6.3,  6.9},   5.0, 0.4,   0.6, 1.0,  3.6,  0.503,  0.395},
    { 9, 10.0,  8.5,  {  9.5,  9.8, 10.1}, {  6.2,  7.1,  7.7},   5.6, 0.4,   0.7, 1.2,  4.1,  0.636,  0.499},
    {10, 11.3,  9.3,  { 10.5, 10.9, 11.2}, {  6.9,  7.9,  8.6},   6.3, 0.5,   0.8, 1.3,  4.5,  0.785,  0.617},
    {12, 13.0, 11.0,  { 12.6, 13.1, 13.5}, {  8.2,  9.5, 10.3},   7.5, 0.5,   0.9, 1.5,  5.4,  1.131,  0.888},
    {14, 15.5, 13.0,  { 14.7, 15.3, 15.7}, {  9.6, 11.0, 12.0},   8.8, 0.6,   1.1, 1.8,  6.3,  1.539,  1.21},
    {16, 17.5, 15.0,  { 16.8, 17.5, 17.9}, { 11.0, 12.6, 13.7},  10.0, 0.7,   1.2, 2.1,  7.2,  2.011,  1.58},
    {18, 20.0, 17.0,  { 18.9, 19.7, 20.2}, { 12.4, 14.2, 15.4},  11.3, 0.8,   1.4, 2.3,  8.1,  2.545,  2.0},
    {20, 22.0, 19.0,  { 21.0, 21.9, 22.4}, { 13.7, 15.8, 17.1},  12.5, 0.9,   1.5, 2.6,  9.0,  3.142,  2.47},
    {22, 24.0, 21.0,  {kNone, 24.0, 24.7}, {kNone, 17.4, 18.9}, kNone, 1.0, kNone, 2.8,  9.9,  3.801,  2.98},
    {25, 27.0, 24.0,  {kNone, 27.3, 28.0}, {kNone, 19.7, 21.4}, kNone, 1.1, kNone, 3.2, 11.3,  4.909,  3.85},
    {28, 30.0, 26.5,  {kNone, 30.6, 31.4}, {kNone, 22.1, 24.0}, kNone, 1.3, kNone, 3.6, 12.6,  6.158,  4.83},
    {32, 34.5, 30.5,  {kNone, 35.0, 35.9}, {kNone, 25.2, 27.4}, kNone, 1.4, kNone, 4.1, 14.4,  8.042,  6.31},
    {36, 39.5, 34.5,  {kNone, 39.3, 40.4}, {kNone, 28.4, 30.9}, kNone, 1.6, kNone, 4.6, 16.2, 10.179,  7.99},
    {40, 43.5, 38.5,  {kNone, 43.7, 44.8}, {kNone, 31.6, 34.3}, kNone, 1.8, kNone, 5.2, 18.0, 12.566,  9.87},
    {50, 53.5, 48.5,  {kNone, 54.7, 56.1}, {kNone, 39.5, 42.9}, kNone, 2.3, kNone, 6.5, 22.5, 19.635, 15.413},
};
// clang-format on

// Mass of one metre of bar per mm² of diameter: steel of 7850 kg/m³ over the circle's area.
constexpr double kMassPerSquareDiameter = 61.65375582669969 / 10000.0;

// Arc lengths, in diameters, of the table's hooks per grade index (90°, 135°) and of the 180° hook of
// grade index 0; the straight parts are settings that go with the angle.
constexpr double kArc90[3] = {2.748893571891069, 3.9269908169872414, 4.71238898038469};
constexpr double kArc135[3] = {4.123340357836604, 5.890486225480862, 7.0685834705770345};
constexpr double kArc180 = 5.497787143782138;

constexpr double kHookAngles[] = {90.0, 135.0, 180.0};
constexpr double kBendAngles[] = {45.0, 90.0};

constexpr int kGradeCount = 4;

double radians(double degrees) {
    return platform::degreesToRadians(degrees);
}

double roundTo(double value, int decimals) {
    return CZEBString::FormatDoublePrev(value, decimals);
}

bool isTableAngle(double angle, const double* angles, int count) {
    for (int index = 0; index < count; ++index) {
        if (angle == angles[index]) {
            return true;
        }
    }
    return false;
}

void setIfGiven(double* target, double value) {
    if (target != nullptr) {
        *target = value;
    }
}

} // namespace

CZEBSteelPropInfo::CZEBSteelPropInfo() {
    InitParam();
    InitSteelProperty(m_arrSteel);
}

CZEBSteelPropInfo::~CZEBSteelPropInfo() = default;

void CZEBSteelPropInfo::InitParam() {
    m_bSnapAngle = FALSE;
    m_nSnapMode = 1;
    m_bUseFormula = FALSE;
    m_bRoundMass = TRUE;
    m_bRoundLength = TRUE;
    m_dStraightLow = 7.0;
    m_dStraightHigh = 4.0;
    m_arrFactor = {2.5, 5.0,  5.0, 5.0, 20.0, 20.0, 20.0, 20.0, 2.5,  4.0, 5.0,
                   5.0, 10.0, 5.0, 3.0, 10.0, 5.0,  25.0, 30.0, 40.0, 45.0};
}

void CZEBSteelPropInfo::InitSteelProperty(CArray<CSteelProperty>& table) const {
    table.clear();
    table.reserve(std::size(kSteelTable));
    for (const SteelTableLine& line : kSteelTable) {
        CSteelProperty row;
        row.InitParam(line.diameter, line.outer, line.inner, line.area, line.mass);
        row.m_arrGrade[0].InitParam(line.hook90[0], line.hook135[0], line.hook180, kNone, line.bend90M,
                                    line.bend90First);
        row.m_arrGrade[1].InitParam(line.hook90[1], line.hook135[1], kNone, line.bend45, line.bend90M,
                                    line.bend90Others);
        row.m_arrGrade[2].InitParam(line.hook90[2], line.hook135[2], kNone, line.bend45, line.bend90M,
                                    line.bend90Others);
        row.m_arrGrade[3].InitParam(kNone, kNone, kNone, kNone, line.bend90M, kNone);
        table.push_back(row);
    }
}

BOOL CZEBSteelPropInfo::IsStandRadio(int d) const {
    for (const CSteelProperty& row : m_arrSteel) {
        if (row.m_dDiameter == d) {
            return TRUE;
        }
    }
    return FALSE;
}

double CZEBSteelPropInfo::GetOutRadio(const int& d) const {
    for (const CSteelProperty& row : m_arrSteel) {
        if (row.m_dDiameter == d) {
            return row.m_dOuter;
        }
    }
    return 0.0;
}

double CZEBSteelPropInfo::GetIntRadio(const int& d) const {
    for (const CSteelProperty& row : m_arrSteel) {
        if (row.m_dDiameter == d) {
            return row.m_dInner;
        }
    }
    return 0.0;
}

const CSteelProperty* CZEBSteelPropInfo::GetProperty(const int& d) const {
    for (const CSteelProperty& row : m_arrSteel) {
        if (std::fabs(row.m_dDiameter - d) < 0.01) {
            return &row;
        }
    }
    return nullptr;
}

double CZEBSteelPropInfo::GetDensity(const int& d) const {
    double mass = 0.0;
    if (m_bUseFormula) {
        mass = static_cast<double>(d) * d * kMassPerSquareDiameter;
    } else if (const CSteelProperty* row = GetProperty(d)) {
        mass = row->m_dMass;
    }
    // Cutting lists print the heavy bars' mass with two decimals; the light ones keep the table's three.
    if (m_bRoundMass && d >= 15) {
        mass = roundTo(mass, 2);
    }
    return mass;
}

double CZEBSteelPropInfo::SnapAngle(double angle, const double* tableAngles, int angleCount) const {
    const double* below = nullptr;
    const double* above = nullptr;
    for (int index = 0; index < angleCount; ++index) {
        const double* candidate = &tableAngles[index];
        if (*candidate <= angle && (below == nullptr || *candidate > *below)) {
            below = candidate;
        }
        if (*candidate >= angle && (above == nullptr || *candidate < *above)) {
            above = candidate;
        }
    }
    switch (m_nSnapMode) {
    case 0:
    case 3:
        return below != nullptr ? *below : 90.0;
    case 1:
        if (below == nullptr) {
            return above != nullptr ? *above : angle;
        }
        if (above == nullptr) {
            return *below;
        }
        return (angle - *below) <= (*above - angle) ? *below : *above;
    case 2:
    case 4:
        return above != nullptr ? *above : angle;
    default:
        return angle;
    }
}

double CZEBSteelPropInfo::GetIncrease(int grade, int d, double angle, double* arc, double* straight) const {
    setIfGiven(arc, 0.0);
    setIfGiven(straight, 0.0);
    double a = std::fabs(angle);
    if (!(a >= 90.0 && a <= 180.0)) {
        return 0.0;
    }
    if (m_bSnapAngle && !isTableAngle(a, kHookAngles, 3)) {
        a = SnapAngle(a, kHookAngles, 3);
    }
    const double scale = d / 10.0;

    if (m_bUseFormula) {
        if (grade < 0 || grade > 2) {
            return 0.0;
        }
        // A hook bent round a mandrel of D diameters: the bar's axis runs on a radius of (D + 1) / 2, and
        // the hook is measured from the outer face of the bend, D / 2 + 1 diameters from the mandrel axis.
        const double mandrel = m_arrFactor[FactorMandrel + grade];
        double straightPart = a <= 135.0 ? m_dStraightLow : m_dStraightHigh;
        double arcPart = (mandrel + 1.0) / 2.0 * radians(a);
        double value = straightPart + arcPart - (mandrel / 2.0 + 1.0);
        if (m_bRoundLength) {
            straightPart = roundTo(straightPart, 2);
            arcPart = roundTo(arcPart, 2);
            value = roundTo(value, 2);
        }
        setIfGiven(arc, roundTo(arcPart * scale, 1));
        setIfGiven(straight, roundTo(straightPart * scale, 1));
        return roundTo(value * scale, 1);
    }

    const CSteelProperty* row = GetProperty(d);
    if (row == nullptr || grade < 0 || grade >= kGradeCount) {
        return 0.0;
    }
    const CSteelStandAddDec& lengths = row->m_arrGrade[static_cast<std::size_t>(grade)];
    double value = 0.0;
    double arcFactor = 0.0;
    double straightFactor = 0.0;
    if (a == 90.0 && grade <= 2) {
        value = lengths.m_dHook90;
        arcFactor = kArc90[grade];
        straightFactor = m_arrFactor[FactorStraight90];
    } else if (a == 135.0 && grade <= 2) {
        value = lengths.m_dHook135;
        arcFactor = kArc135[grade];
        straightFactor = m_arrFactor[FactorStraight135];
    } else if (a == 180.0 && grade == 0) {
        value = lengths.m_dHook180;
        arcFactor = kArc180;
        straightFactor = m_arrFactor[FactorStraight180];
    }
    setIfGiven(arc, arcFactor * scale);
    setIfGiven(straight, straightFactor * scale);
    return value;
}

double CZEBSteelPropInfo::GetDecrease(int grade, int d, double angle, int variant) const {
    double a = std::fabs(angle);
    if (!(a > 0.0 && a <= 90.0)) {
        return 0.0;
    }
    if (m_bSnapAngle && !isTableAngle(a, kBendAngles, 2)) {
        a = SnapAngle(a, kBendAngles, 2);
    }
    if (grade < 0 || grade >= kGradeCount) {
        return 0.0;
    }
    const double scale = d / 10.0;

    if (m_bUseFormula) {
        // Bar lengths are measured over the outer faces: the two tangent lengths from the outer corner
        // exceed the arc of the bar's axis round the mandrel by this much.
        const double mandrel = m_arrFactor[FactorMandrel + grade];
        const double r = radians(a);
        double value = 2.0 * (mandrel / 2.0 + 1.0) * std::tan(r / 2.0) - (mandrel + 1.0) / 2.0 * r;
        if (m_bRoundLength) {
            value = roundTo(value, 2);
        }
        return roundTo(value * scale, 1);
    }

    const CSteelProperty* row = GetProperty(d);
    if (row == nullptr) {
        return 0.0;
    }
    const CSteelStandAddDec& lengths = row->m_arrGrade[static_cast<std::size_t>(grade)];
    if (a == 45.0) {
        return lengths.m_dBend45;
    }
    if (a == 90.0) {
        return variant != 0 ? lengths.m_dBend90M : lengths.m_dBend90;
    }
    const double r = radians(a);
    double value = 21.0 * std::tan(r / 2.0) - 10.5 * r;
    if (m_bRoundLength) {
        value = roundTo(value, 2);
    }
    return roundTo(scale * value, 1);
}

int CZEBSteelPropInfo::GetSteelRadioList(CArray<int, int>& list, int kind) const {
    double lowest = 6.0;
    double highest = 40.0;
    switch (kind) {
    case 0:
        lowest = 8.0;
        highest = 20.0;
        break;
    case 1:
    case 2:
        lowest = 6.0;
        highest = 50.0;
        break;
    case 3:
        lowest = 8.0;
        highest = 40.0;
        break;
    default:
        break;
    }
    list.clear();
    for (const CSteelProperty& row : m_arrSteel) {
        if (row.m_dDiameter < lowest - 0.2) {
            continue;
        }
        if (row.m_dDiameter > highest + 0.2) {
            break;
        }
        list.push_back(static_cast<int>(row.m_dDiameter));
    }
    return static_cast<int>(list.size());
}

double CZEBSteelPropInfo::GetSteelLink(int grade, int d, int level) const {
    if (grade < 0 || grade >= kGradeCount || level < 0 || level > 3) {
        return 0.0;
    }
    const double lap = m_arrFactor[FactorLap + level];
    const double minimum = m_arrFactor[FactorMinAnchor + grade];
    return roundTo((lap > minimum ? lap : minimum) * d / 10.0, 1);
}
