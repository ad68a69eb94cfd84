// CSteelStandAddDec: one grade's hook additions and bend deductions for one bar diameter, in centimetres.
// A field of -1 means the table has no value for that combination; callers pass it on unchanged.
#pragma once

#include "platform/export.h"

struct QUELTO_EXPORT CSteelStandAddDec {
    CSteelStandAddDec();

    void InitParam(double dHook90, double dHook135, double dHook180, double dBend45, double dBend90M,
                   double dBend90);

    double m_dHook90 = -1.0;  // added by a 90° end hook
    double m_dHook135 = -1.0; // added by a 135° end hook
    double m_dHook180 = -1.0; // added by a 180° end hook
    double m_dBend45 = -1.0;  // deducted at a 45° bend
    double m_dBend90M = -1.0; // deducted at a 90° bend, the variant chosen by a non-zero flag
    double m_dBend90 = -1.0;  // deducted at a 90° bend
};
