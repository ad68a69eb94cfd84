// CSteelStandAddDec: a grade's hook and bend lengths for one bar diameter. A fresh record has no values.
#include "quelto/baselib/steel_stand_add_dec.h"

CSteelStandAddDec::CSteelStandAddDec() = default;

void CSteelStandAddDec::InitParam(double dHook90, double dHook135, double dHook180, double dBend45,
                                  double dBend90M, double dBend90) {
    m_dHook90 = dHook90;
    m_dHook135 = dHook135;
    m_dHook180 = dHook180;
    m_dBend45 = dBend45;
    m_dBend90M = dBend90M;
    m_dBend90 = dBend90;
}
