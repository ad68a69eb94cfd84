// CSteelProperty: one row of the reinforcing-bar table - a nominal diameter with its ribbed sizes, section,
// mass per metre, and the hook and bend lengths of each of the four grade indexes.
#pragma once

#include "platform/export.h"
#include "quelto/baselib/steel_stand_add_dec.h"

#include <array>

struct QUELTO_EXPORT CSteelProperty {
    CSteelProperty();

    void InitParam(double dDiameter, double dOuter, double dInner, double dArea, double dMass);

    double m_dDiameter = 0.0;                    // nominal diameter, mm; the key of the table
    double m_dOuter = 0.0;                       // outer size of the ribbed bar, mm
    double m_dInner = 0.0;                       // inner size of the ribbed bar, mm
    double m_dArea = 0.0;                        // cross-section area, cm²
    double m_dMass = 0.0;                        // mass per metre, kg/m
    std::array<CSteelStandAddDec, 4> m_arrGrade; // by grade index 0 to 3
};
