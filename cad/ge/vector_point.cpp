// Out-of-line operations of the point and vector classes: angles, normalisation, rotation, mirroring
// and transforms, plus the named constants (origin, axes) the host's classes carry.
#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "cad/ge/point2d.h"
#include "cad/ge/point3d.h"
#include "cad/ge/scale3d.h"
#include "cad/ge/vector2d.h"
#include "cad/ge/vector3d.h"
#include "platform/angle_units.h"

#include <algorithm>
#include <cmath>
#include <numbers>

const AcGeVector2d AcGeVector2d::kIdentity(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector3d AcGeVector3d::kIdentity(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeScale3d AcGeScale3d::kIdentity(1.0, 1.0, 1.0);

namespace {

using platform::kTwoPi;

} // namespace

double AcGeVector2d::angle() const {
    const double result = std::atan2(y, x);
    return result < 0.0 ? result + kTwoPi : result;
}

double AcGeVector2d::angleTo(const AcGeVector2d& other) const {
    const double cross = x * other.y - y * other.x;
    return std::fabs(std::atan2(cross, dotProduct(other)));
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
    AcGeVector2d result = *this;
    return result.normalize(tol);
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
    const double size = length();
    if (size > tol.equalVector()) {
        x /= size;
        y /= size;
    }
    return *this;
}

AcGeVector2d& AcGeVector2d::rotateBy(double angleValue) {
    const double cosine = std::cos(angleValue);
    const double sine = std::sin(angleValue);
    return set(x * cosine - y * sine, x * sine + y * cosine);
}

bool AcGeVector2d::isParallelTo(const AcGeVector2d& other, const AcGeTol& tol) const {
    const AcGeVector2d a = normal(tol);
    const AcGeVector2d b = other.normal(tol);
    return std::fabs(a.x * b.y - a.y * b.x) <= tol.equalVector() && !isZeroLength(tol) &&
           !other.isZeroLength(tol);
}

bool AcGeVector2d::isCodirectionalTo(const AcGeVector2d& other, const AcGeTol& tol) const {
    return isParallelTo(other, tol) && dotProduct(other) > 0.0;
}

bool AcGeVector2d::isPerpendicularTo(const AcGeVector2d& other, const AcGeTol& tol) const {
    return std::fabs(normal(tol).dotProduct(other.normal(tol))) <= tol.equalVector() && !isZeroLength(tol) &&
           !other.isZeroLength(tol);
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
    AcGeVector2d offset = *this - wrtPoint;
    *this = wrtPoint + offset.rotateBy(angle);
    return *this;
}

AcGePoint2d& AcGePoint2d::scaleBy(double factor, const AcGePoint2d& wrtPoint) {
    *this = wrtPoint + (*this - wrtPoint) * factor;
    return *this;
}

double AcGeVector3d::angleTo(const AcGeVector3d& other) const {
    return std::atan2(crossProduct(other).length(), dotProduct(other));
}

double AcGeVector3d::angleTo(const AcGeVector3d& other, const AcGeVector3d& reference) const {
    const AcGeVector3d cross = crossProduct(other);
    double result = std::atan2(cross.length(), dotProduct(other));
    if (cross.dotProduct(reference) < 0.0) {
        result = kTwoPi - result;
    }
    return result >= kTwoPi ? 0.0 : result;
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    AcGeVector3d result = *this;
    return result.normalize(tol);
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) {
    const double size = length();
    if (size > tol.equalVector()) {
        *this /= size;
    }
    return *this;
}

AcGeVector3d AcGeVector3d::perpVector() const {
    // The arbitrary axis rule: far enough from the Z axis, cross with Z; otherwise cross with Y.
    constexpr double limit = 1.0 / 64.0;
    const AcGeVector3d unit = normal();
    const AcGeVector3d partner = (std::fabs(unit.x) < limit && std::fabs(unit.y) < limit) ? kYAxis : kZAxis;
    return partner.crossProduct(unit).normal();
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
    *this = AcGeMatrix3d::rotation(angle, axis) * *this;
    return *this;
}

AcGeVector3d& AcGeVector3d::mirror(const AcGeVector3d& normalToPlane) {
    const AcGeVector3d unit = normalToPlane.normal();
    *this -= unit * (2.0 * dotProduct(unit));
    return *this;
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& matrix) {
    *this = matrix * *this;
    return *this;
}

AcGeVector3d& AcGeVector3d::setToProduct(const AcGeMatrix3d& matrix, const AcGeVector3d& vector) {
    *this = matrix * vector;
    return *this;
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& other, const AcGeTol& tol) const {
    if (isZeroLength(tol) || other.isZeroLength(tol)) {
        return false;
    }
    return normal(tol).crossProduct(other.normal(tol)).length() <= tol.equalVector();
}

bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& other, const AcGeTol& tol) const {
    return isParallelTo(other, tol) && dotProduct(other) > 0.0;
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& other, const AcGeTol& tol) const {
    if (isZeroLength(tol) || other.isZeroLength(tol)) {
        return false;
    }
    return std::fabs(normal(tol).dotProduct(other.normal(tol))) <= tol.equalVector();
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& matrix) {
    *this = matrix * *this;
    return *this;
}

AcGePoint3d& AcGePoint3d::setToProduct(const AcGeMatrix3d& matrix, const AcGePoint3d& point) {
    *this = matrix * point;
    return *this;
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& wrtPoint) {
    *this = AcGeMatrix3d::rotation(angle, axis, wrtPoint) * *this;
    return *this;
}

AcGePoint3d& AcGePoint3d::scaleBy(double factor, const AcGePoint3d& wrtPoint) {
    *this = wrtPoint + (*this - wrtPoint) * factor;
    return *this;
}

AcGePoint3d& AcGePoint3d::mirror(const AcGePlane& plane) {
    *this -= plane.normal() * (2.0 * plane.signedDistanceTo(*this));
    return *this;
}

AcGeMatrix3d& AcGeScale3d::getMatrix(AcGeMatrix3d& matrix) const {
    matrix.setToIdentity();
    matrix.entry[0][0] = sx;
    matrix.entry[1][1] = sy;
    matrix.entry[2][2] = sz;
    return matrix;
}

bool AcGeScale3d::isProportional() const {
    const double tolerance = AcGeContext::gTol.equalPoint();
    return std::fabs(sx - sy) <= tolerance && std::fabs(sy - sz) <= tolerance;
}
