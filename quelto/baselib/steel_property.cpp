// CSteelProperty: one diameter row of the reinforcing-bar table. The grade records start without values
// and are filled by the table builder.
#include "quelto/baselib/steel_property.h"

CSteelProperty::CSteelProperty() = default;

void CSteelProperty::InitParam(double dDiameter, double dOuter, double dInner, double dArea, double dMass) {
    m_dDiameter = dDiameter;
    m_dOuter = dOuter;
    m_dInner = dInner;
    m_dArea = dArea;
    m_dMass = dMass;
}
