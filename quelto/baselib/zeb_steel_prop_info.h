// CZEBSteelPropInfo: the reinforcing-bar table (17 standard diameters) and its lookups - ribbed sizes, mass
// per metre, the length a hook adds and a bend deducts per grade. Every instance builds its own table and
// settings at construction; the formula variants and angle snapping are reachable only by derived classes.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/baselib/steel_property.h"

#include <array>

class QUELTO_EXPORT CZEBSteelPropInfo {
public:
    CZEBSteelPropInfo();
    virtual ~CZEBSteelPropInfo();

    // TRUE when d is one of the table's diameters.
    BOOL IsStandRadio(int d) const;
    // Outer and inner size of the ribbed bar of diameter d; 0.0 for a diameter not in the table.
    double GetOutRadio(const int& d) const;
    double GetIntRadio(const int& d) const;
    // Mass per metre in kg/m; 0.0 for a diameter not in the table (unless computed by formula).
    double GetDensity(const int& d) const;
    // The table row of diameter d, or nullptr.
    const CSteelProperty* GetProperty(const int& d) const;

    // Length in cm added by an end hook of the given angle (90, 135 or 180 degrees) for grade index 0 to 3.
    // arc and straight, when not null, receive the lengths of the hook's arc and straight part.
    double GetIncrease(int grade, int d, double angle, double* arc, double* straight) const;
    // Length in cm deducted at a bend of the given angle (above 0, up to 90 degrees); a non-zero variant
    // selects the alternative 90-degree deduction.
    double GetDecrease(int grade, int d, double angle, int variant) const;

    // Empties the list, fills it with the table diameters of the range `kind` selects, returns their number.
    int GetSteelRadioList(CArray<int, int>& list, int kind) const;
    // Lap length in cm of a bar of diameter d: the lap factor chosen by level (0 to 3) times d, and at
    // least the minimum anchorage of the grade index; 0.0 for a grade or level out of range.
    double GetSteelLink(int grade, int d, int level) const;

protected:
    // Positions of the preset coefficients in m_arrFactor (multiples of the bar diameter).
    enum : int {
        FactorStirrupMandrel = 0, // 4 entries: mandrel diameter of stirrup hooks, by grade index
        FactorMinAnchor = 4,      // 4 entries: minimum straight anchorage, by grade index
        FactorMandrel = 8,        // 4 entries: mandrel diameter of bar hooks and bends, by grade index
        FactorStraight90 = 12,    // straight part of a 90° hook
        FactorStraight135 = 13,   // straight part of a 135° hook
        FactorStraight180 = 14,   // straight part of a 180° hook
        FactorStirrup = 15,       // 2 entries: straight part of stirrup hooks, seismic and plain
        FactorLap = 17,           // 4 entries: lap length, by level
        FactorCount = 21
    };

    // Restores the default settings.
    void InitParam();
    // Fills the table with the 17 standard rows, in ascending diameter.
    void InitSteelProperty(CArray<CSteelProperty>& table) const;

    // Moves an angle between two table angles onto one of them, by m_nSnapMode.
    double SnapAngle(double angle, const double* tableAngles, int angleCount) const;

    CArray<CSteelProperty> m_arrSteel;

    BOOL m_bSnapAngle = FALSE;    // move angles between table angles onto a table angle
    int m_nSnapMode = 1;          // 0, 3: below; 1: nearer (below on a tie); 2, 4: above
    BOOL m_bUseFormula = FALSE;   // compute mass, hooks and bends instead of reading the table
    BOOL m_bRoundMass = TRUE;     // round the mass of bars of 15 mm and more to 2 decimals
    BOOL m_bRoundLength = TRUE;   // round intermediate hook and bend lengths to 2 decimals
    double m_dStraightLow = 7.0;  // straight part of hooks up to 135°, in diameters (formula)
    double m_dStraightHigh = 4.0; // straight part of hooks above 135°, in diameters (formula)
    std::array<double, FactorCount> m_arrFactor{};
};
