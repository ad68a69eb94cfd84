// A direction and length in space, with the operations of the host's 3D vector class.
// transformBy ignores the translation of a matrix, as directions do; angles are in radians.
#pragma once

#include "cad/ge/tolerance.h"
#include "platform/export.h"

#include <cmath>

class AcGeMatrix3d;

class QUELTO_EXPORT AcGeVector3d {
public:
    static const AcGeVector3d kIdentity;
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    double lengthSqrd() const { return x * x + y * y + z * z; }
    double dotProduct(const AcGeVector3d& other) const { return x * other.x + y * other.y + z * other.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& other) const {
        return {y * other.z - z * other.y, z * other.x - x * other.z, x * other.y - y * other.x};
    }
    // Unsigned angle in [0, pi].
    double angleTo(const AcGeVector3d& other) const;
    // Signed angle in [0, 2*pi) measured counter-clockwise about reference.
    double angleTo(const AcGeVector3d& other, const AcGeVector3d& reference) const;
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    AcGeVector3d& negate() {
        x = -x;
        y = -y;
        z = -z;
        return *this;
    }
    // Some unit vector perpendicular to this one (the X axis of the arbitrary axis algorithm).
    AcGeVector3d perpVector() const;
    AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
    // Reflects in the plane through the origin with the given normal.
    AcGeVector3d& mirror(const AcGeVector3d& normalToPlane);
    AcGeVector3d& transformBy(const AcGeMatrix3d& matrix);
    AcGeVector3d& setToProduct(const AcGeMatrix3d& matrix, const AcGeVector3d& vector);

    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const {
        return std::fabs(length() - 1.0) <= tol.equalVector();
    }
    bool isParallelTo(const AcGeVector3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector3d& other, const AcGeTol& tol = AcGeContext::gTol) const {
        return (*this - other).length() <= tol.equalVector();
    }

    AcGeVector3d& set(double xValue, double yValue, double zValue) {
        x = xValue;
        y = yValue;
        z = zValue;
        return *this;
    }

    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d operator+(const AcGeVector3d& other) const {
        return {x + other.x, y + other.y, z + other.z};
    }
    AcGeVector3d operator-(const AcGeVector3d& other) const {
        return {x - other.x, y - other.y, z - other.z};
    }
    AcGeVector3d operator*(double factor) const { return {x * factor, y * factor, z * factor}; }
    AcGeVector3d operator/(double divisor) const { return {x / divisor, y / divisor, z / divisor}; }
    AcGeVector3d& operator+=(const AcGeVector3d& other) {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }
    AcGeVector3d& operator-=(const AcGeVector3d& other) {
        x -= other.x;
        y -= other.y;
        z -= other.z;
        return *this;
    }
    AcGeVector3d& operator*=(double factor) {
        x *= factor;
        y *= factor;
        z *= factor;
        return *this;
    }
    AcGeVector3d& operator/=(double divisor) {
        x /= divisor;
        y /= divisor;
        z /= divisor;
        return *this;
    }
    bool operator==(const AcGeVector3d& other) const { return isEqualTo(other); }
    double operator[](unsigned int index) const { return index == 0 ? x : index == 1 ? y : z; }
    double& operator[](unsigned int index) { return index == 0 ? x : index == 1 ? y : z; }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline AcGeVector3d operator*(double factor, const AcGeVector3d& vector) {
    return vector * factor;
}
