// A position in space (WCS or OCS coordinates), with the operations of the host's 3D point class.
// Point minus point gives a vector; point plus vector gives a point; transformBy applies the full matrix.
#pragma once

#include "cad/ge/tolerance.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <cmath>

class AcGeMatrix3d;
class AcGePlane;

class QUELTO_EXPORT AcGePoint3d {
public:
    static const AcGePoint3d kOrigin;

    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}

    double distanceTo(const AcGePoint3d& other) const {
        const double dx = x - other.x;
        const double dy = y - other.y;
        const double dz = z - other.z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    bool isEqualTo(const AcGePoint3d& other, const AcGeTol& tol = AcGeContext::gTol) const {
        return distanceTo(other) <= tol.equalPoint();
    }
    AcGeVector3d asVector() const { return {x, y, z}; }

    AcGePoint3d& transformBy(const AcGeMatrix3d& matrix);
    AcGePoint3d& setToProduct(const AcGeMatrix3d& matrix, const AcGePoint3d& point);
    AcGePoint3d& rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& wrtPoint = kOrigin);
    AcGePoint3d& scaleBy(double factor, const AcGePoint3d& wrtPoint = kOrigin);
    AcGePoint3d& mirror(const AcGePlane& plane);
    AcGePoint3d& setToSum(const AcGePoint3d& point, const AcGeVector3d& vector) {
        *this = point + vector;
        return *this;
    }

    AcGePoint3d& set(double xValue, double yValue, double zValue) {
        x = xValue;
        y = yValue;
        z = zValue;
        return *this;
    }

    AcGePoint3d operator+(const AcGeVector3d& vector) const {
        return {x + vector.x, y + vector.y, z + vector.z};
    }
    AcGePoint3d operator-(const AcGeVector3d& vector) const {
        return {x - vector.x, y - vector.y, z - vector.z};
    }
    AcGeVector3d operator-(const AcGePoint3d& other) const { return {x - other.x, y - other.y, z - other.z}; }
    AcGePoint3d operator*(double factor) const { return {x * factor, y * factor, z * factor}; }
    AcGePoint3d operator/(double divisor) const { return {x / divisor, y / divisor, z / divisor}; }
    AcGePoint3d& operator+=(const AcGeVector3d& vector) {
        x += vector.x;
        y += vector.y;
        z += vector.z;
        return *this;
    }
    AcGePoint3d& operator-=(const AcGeVector3d& vector) {
        x -= vector.x;
        y -= vector.y;
        z -= vector.z;
        return *this;
    }
    bool operator==(const AcGePoint3d& other) const { return isEqualTo(other); }
    double operator[](unsigned int index) const { return index == 0 ? x : index == 1 ? y : z; }
    double& operator[](unsigned int index) { return index == 0 ? x : index == 1 ? y : z; }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline AcGePoint3d operator*(double factor, const AcGePoint3d& point) {
    return point * factor;
}
