// Per-axis scale factors, as block references store them (DXF 41/42/43).
// getMatrix gives the diagonal matrix that scales about the origin.
#pragma once

#include "platform/export.h"

class AcGeMatrix3d;

class QUELTO_EXPORT AcGeScale3d {
public:
    static const AcGeScale3d kIdentity;

    constexpr AcGeScale3d() = default;
    constexpr explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
    constexpr AcGeScale3d(double xFactor, double yFactor, double zFactor)
        : sx(xFactor), sy(yFactor), sz(zFactor) {}

    AcGeMatrix3d& getMatrix(AcGeMatrix3d& matrix) const;
    bool isProportional() const;
    AcGeScale3d operator*(const AcGeScale3d& other) const {
        return {sx * other.sx, sy * other.sy, sz * other.sz};
    }
    AcGeScale3d operator*(double factor) const { return {sx * factor, sy * factor, sz * factor}; }
    bool operator==(const AcGeScale3d& other) const {
        return sx == other.sx && sy == other.sy && sz == other.sz;
    }
    double operator[](unsigned int index) const { return index == 0 ? sx : index == 1 ? sy : sz; }
    double& operator[](unsigned int index) { return index == 0 ? sx : index == 1 ? sy : sz; }

    double sx = 1.0;
    double sy = 1.0;
    double sz = 1.0;
};
