// A direction and length in the plane, with the operations of the host's 2D vector class.
// Angles are in radians; angle() measures counter-clockwise from the X axis into [0, 2*pi).
#pragma once

#include "cad/ge/tolerance.h"
#include "platform/export.h"

#include <cmath>

class QUELTO_EXPORT AcGeVector2d {
public:
    static const AcGeVector2d kIdentity;
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xValue, double yValue) : x(xValue), y(yValue) {}

    double length() const { return std::hypot(x, y); }
    double lengthSqrd() const { return x * x + y * y; }
    double dotProduct(const AcGeVector2d& other) const { return x * other.x + y * other.y; }
    double angle() const;
    double angleTo(const AcGeVector2d& other) const;
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    AcGeVector2d& negate() {
        x = -x;
        y = -y;
        return *this;
    }
    AcGeVector2d& rotateBy(double angleValue);

    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const {
        return std::fabs(length() - 1.0) <= tol.equalVector();
    }
    bool isParallelTo(const AcGeVector2d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isCodirectionalTo(const AcGeVector2d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector2d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector2d& other, const AcGeTol& tol = AcGeContext::gTol) const {
        return std::hypot(x - other.x, y - other.y) <= tol.equalVector();
    }

    AcGeVector2d& set(double xValue, double yValue) {
        x = xValue;
        y = yValue;
        return *this;
    }

    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d operator+(const AcGeVector2d& other) const { return {x + other.x, y + other.y}; }
    AcGeVector2d operator-(const AcGeVector2d& other) const { return {x - other.x, y - other.y}; }
    AcGeVector2d operator*(double factor) const { return {x * factor, y * factor}; }
    AcGeVector2d operator/(double divisor) const { return {x / divisor, y / divisor}; }
    AcGeVector2d& operator+=(const AcGeVector2d& other) {
        x += other.x;
        y += other.y;
        return *this;
    }
    AcGeVector2d& operator-=(const AcGeVector2d& other) {
        x -= other.x;
        y -= other.y;
        return *this;
    }
    AcGeVector2d& operator*=(double factor) {
        x *= factor;
        y *= factor;
        return *this;
    }
    AcGeVector2d& operator/=(double divisor) {
        x /= divisor;
        y /= divisor;
        return *this;
    }
    bool operator==(const AcGeVector2d& other) const { return isEqualTo(other); }
    double operator[](unsigned int index) const { return index == 0 ? x : y; }
    double& operator[](unsigned int index) { return index == 0 ? x : y; }

    double x = 0.0;
    double y = 0.0;
};

inline AcGeVector2d operator*(double factor, const AcGeVector2d& vector) {
    return vector * factor;
}
