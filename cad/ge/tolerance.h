// Geometric tolerances: how close two points or two directions must be to count as equal.
// The host keeps one process-wide default (AcGeContext::gTol) that every comparison falls back on.
#pragma once

#include "platform/export.h"

class QUELTO_EXPORT AcGeTol {
public:
    AcGeTol() = default;

    double equalPoint() const { return m_equalPoint; }
    double equalVector() const { return m_equalVector; }
    void setEqualPoint(double value) { m_equalPoint = value; }
    void setEqualVector(double value) { m_equalVector = value; }

private:
    double m_equalPoint = 1e-10;
    double m_equalVector = 1e-10;
};

struct QUELTO_EXPORT AcGeContext {
    static AcGeTol gTol;
};
