// A position in the plane (OCS coordinates of lightweight polylines, DXF 2D points).
// Point minus point gives a vector; point plus vector gives a point, as in the host's class.
#pragma once

#include "cad/ge/tolerance.h"
#include "cad/ge/vector2d.h"
#include "platform/export.h"

#include <cmath>

class QUELTO_EXPORT AcGePoint2d {
public:
    static const AcGePoint2d kOrigin;

    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xValue, double yValue) : x(xValue), y(yValue) {}

    double distanceTo(const AcGePoint2d& other) const { return std::hypot(x - other.x, y - other.y); }
    bool isEqualTo(const AcGePoint2d& other, const AcGeTol& tol = AcGeContext::gTol) const {
        return distanceTo(other) <= tol.equalPoint();
    }
    AcGeVector2d asVector() const { return {x, y}; }
    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);
    AcGePoint2d& scaleBy(double factor, const AcGePoint2d& wrtPoint = kOrigin);

    AcGePoint2d& set(double xValue, double yValue) {
        x = xValue;
        y = yValue;
        return *this;
    }

    AcGePoint2d operator+(const AcGeVector2d& vector) const { return {x + vector.x, y + vector.y}; }
    AcGePoint2d operator-(const AcGeVector2d& vector) const { return {x - vector.x, y - vector.y}; }
    AcGeVector2d operator-(const AcGePoint2d& other) const { return {x - other.x, y - other.y}; }
    AcGePoint2d operator*(double factor) const { return {x * factor, y * factor}; }
    AcGePoint2d operator/(double divisor) const { return {x / divisor, y / divisor}; }
    AcGePoint2d& operator+=(const AcGeVector2d& vector) {
        x += vector.x;
        y += vector.y;
        return *this;
    }
    AcGePoint2d& operator-=(const AcGeVector2d& vector) {
        x -= vector.x;
        y -= vector.y;
        return *this;
    }
    bool operator==(const AcGePoint2d& other) const { return isEqualTo(other); }
    double operator[](unsigned int index) const { return index == 0 ? x : y; }
    double& operator[](unsigned int index) { return index == 0 ? x : y; }

    double x = 0.0;
    double y = 0.0;
};

inline AcGePoint2d operator*(double factor, const AcGePoint2d& point) {
    return point * factor;
}
