// The 4x4 transform: factories, products, inversion and the shape tests (orthogonal, uniformly scaled)
// that decide whether circles stay circles and text stays upright under a transform.
#include "cad/ge/matrix3d.h"

#include <algorithm>
#include <cmath>
#include <utility>

const AcGeMatrix3d AcGeMatrix3d::kIdentity;

namespace {

// Entities store their plane as a unit normal only; the axes in that plane come from this fixed rule so
// that every program reading the drawing puts the OCS axes in the same place.
void arbitraryAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                   AcGeVector3d& zAxis) {
    zAxis = normal.normal();
    xAxis = zAxis.perpVector();
    yAxis = zAxis.crossProduct(xAxis).normal();
}

} // namespace

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            entry[row][column] = row == column ? 1.0 : 0.0;
        }
    }
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vector) {
    setToIdentity();
    entry[0][3] = vector.x;
    entry[1][3] = vector.y;
    entry[2][3] = vector.z;
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double scale, const AcGePoint3d& center) {
    setToIdentity();
    for (int axis = 0; axis < 3; ++axis) {
        entry[axis][axis] = scale;
        entry[axis][3] = (1.0 - scale) * center[axis];
    }
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
    const AcGeVector3d unit = axis.normal();
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    const double versine = 1.0 - cosine;
    const double u[3] = {unit.x, unit.y, unit.z};
    setToIdentity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            entry[row][column] = versine * u[row] * u[column] + (row == column ? cosine : 0.0);
        }
    }
    entry[0][1] -= sine * u[2];
    entry[0][2] += sine * u[1];
    entry[1][0] += sine * u[2];
    entry[1][2] -= sine * u[0];
    entry[2][0] -= sine * u[1];
    entry[2][1] += sine * u[0];
    const AcGeVector3d rotatedCenter = *this * center.asVector();
    entry[0][3] = center.x - rotatedCenter.x;
    entry[1][3] = center.y - rotatedCenter.y;
    entry[2][3] = center.z - rotatedCenter.z;
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePlane& plane) {
    const AcGeVector3d normal = plane.normal();
    const double n[3] = {normal.x, normal.y, normal.z};
    const double offset = 2.0 * normal.dotProduct(plane.pointOnPlane().asVector());
    setToIdentity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            entry[row][column] -= 2.0 * n[row] * n[column];
        }
        entry[row][3] = offset * n[row];
    }
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& point) {
    setToIdentity();
    for (int axis = 0; axis < 3; ++axis) {
        entry[axis][axis] = -1.0;
        entry[axis][3] = 2.0 * point[axis];
    }
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGeLine3d& line) {
    const AcGeVector3d direction = line.direction();
    const double d[3] = {direction.x, direction.y, direction.z};
    const AcGePoint3d through = line.pointOnLine();
    setToIdentity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            entry[row][column] = 2.0 * d[row] * d[column] - (row == column ? 1.0 : 0.0);
        }
    }
    const AcGeVector3d mappedThrough = *this * through.asVector();
    for (int axis = 0; axis < 3; ++axis) {
        entry[axis][3] = through[axis] - mappedThrough[axis];
    }
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
    setToIdentity();
    for (int row = 0; row < 3; ++row) {
        entry[row][0] = xAxis[row];
        entry[row][1] = yAxis[row];
        entry[row][2] = zAxis[row];
        entry[row][3] = origin[row];
    }
    return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const {
    for (int row = 0; row < 3; ++row) {
        xAxis[row] = entry[row][0];
        yAxis[row] = entry[row][1];
        zAxis[row] = entry[row][2];
        origin[row] = entry[row][3];
    }
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                               const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                               const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                               const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
    AcGeMatrix3d from;
    from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
    AcGeMatrix3d to;
    to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
    return setToProduct(to, from.inverse());
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
    AcGeVector3d xAxis;
    AcGeVector3d yAxis;
    AcGeVector3d zAxis;
    arbitraryAxes(normal, xAxis, yAxis, zAxis);
    return setCoordSystem(AcGePoint3d::kOrigin, xAxis, yAxis, zAxis);
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
    setToPlaneToWorld(normal);
    return transposeIt();
}

AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& left, const AcGeMatrix3d& right) {
    AcGeMatrix3d result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            double sum = 0.0;
            for (int inner = 0; inner < 4; ++inner) {
                sum += left.entry[row][inner] * right.entry[inner][column];
            }
            result.entry[row][column] = sum;
        }
    }
    *this = result;
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) {
    return setToProduct(left, *this);
}

AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) {
    return setToProduct(*this, right);
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vector) {
    return AcGeMatrix3d().setToTranslation(vector);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double scale, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToScaling(scale, center);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePlane& plane) {
    return AcGeMatrix3d().setToMirroring(plane);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& point) {
    return AcGeMatrix3d().setToMirroring(point);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGeLine3d& line) {
    return AcGeMatrix3d().setToMirroring(line);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                         const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                         const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                         const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
    return AcGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin, toXAxis,
                                             toYAxis, toZAxis);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
    return AcGeMatrix3d().setToPlaneToWorld(normal);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) {
    return AcGeMatrix3d().setToWorldToPlane(normal);
}

bool AcGeMatrix3d::inverse(AcGeMatrix3d& result, double tolerance) const {
    // Gauss-Jordan elimination with partial pivoting on [this | identity].
    double work[4][8];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            work[row][column] = entry[row][column];
            work[row][column + 4] = row == column ? 1.0 : 0.0;
        }
    }
    for (int pivotColumn = 0; pivotColumn < 4; ++pivotColumn) {
        int pivotRow = pivotColumn;
        for (int row = pivotColumn + 1; row < 4; ++row) {
            if (std::fabs(work[row][pivotColumn]) > std::fabs(work[pivotRow][pivotColumn])) {
                pivotRow = row;
            }
        }
        if (std::fabs(work[pivotRow][pivotColumn]) <= tolerance) {
            return false;
        }
        if (pivotRow != pivotColumn) {
            std::swap(work[pivotRow], work[pivotColumn]);
        }
        const double pivot = work[pivotColumn][pivotColumn];
        for (double& value : work[pivotColumn]) {
            value /= pivot;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == pivotColumn || work[row][pivotColumn] == 0.0) {
                continue;
            }
            const double factor = work[row][pivotColumn];
            for (int column = 0; column < 8; ++column) {
                work[row][column] -= factor * work[pivotColumn][column];
            }
        }
    }
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result.entry[row][column] = work[row][column + 4];
        }
    }
    return true;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
    AcGeMatrix3d result;
    if (!inverse(result, 0.0)) {
        return *this;
    }
    return result;
}

AcGeMatrix3d& AcGeMatrix3d::invert() {
    *this = inverse();
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
    AcGeMatrix3d result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result.entry[row][column] = entry[column][row];
        }
    }
    return result;
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt() {
    *this = transpose();
    return *this;
}

double AcGeMatrix3d::det() const {
    // Laplace expansion along the first row over 3x3 minors; 4x4 needs nothing cleverer.
    auto minor3 = [this](int skipColumn) {
        int columns[3];
        int next = 0;
        for (int column = 0; column < 4; ++column) {
            if (column != skipColumn) {
                columns[next++] = column;
            }
        }
        const auto& m = entry;
        return m[1][columns[0]] *
                   (m[2][columns[1]] * m[3][columns[2]] - m[2][columns[2]] * m[3][columns[1]]) -
               m[1][columns[1]] *
                   (m[2][columns[0]] * m[3][columns[2]] - m[2][columns[2]] * m[3][columns[0]]) +
               m[1][columns[2]] * (m[2][columns[0]] * m[3][columns[1]] - m[2][columns[1]] * m[3][columns[0]]);
    };
    double result = 0.0;
    for (int column = 0; column < 4; ++column) {
        const double sign = (column % 2 == 0) ? 1.0 : -1.0;
        result += sign * entry[0][column] * minor3(column);
    }
    return result;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const {
    return std::fabs(det()) <= tol.equalPoint();
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& other, const AcGeTol& tol) const {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (std::fabs(entry[row][column] - other.entry[row][column]) > tol.equalVector()) {
                return false;
            }
        }
    }
    return true;
}

bool AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const {
    const AcGeVector3d axes[3] = {{entry[0][0], entry[1][0], entry[2][0]},
                                  {entry[0][1], entry[1][1], entry[2][1]},
                                  {entry[0][2], entry[1][2], entry[2][2]}};
    if (entry[3][0] != 0.0 || entry[3][1] != 0.0 || entry[3][2] != 0.0) {
        return false;
    }
    for (const AcGeVector3d& axis : axes) {
        if (axis.isZeroLength(tol)) {
            return false;
        }
    }
    for (int first = 0; first < 3; ++first) {
        for (int second = first + 1; second < 3; ++second) {
            const double cosine =
                axes[first].dotProduct(axes[second]) / (axes[first].length() * axes[second].length());
            if (std::fabs(cosine) > tol.equalVector()) {
                return false;
            }
        }
    }
    return true;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
    if (!isScaledOrtho(tol)) {
        return false;
    }
    const double xLength = std::hypot(entry[0][0], entry[1][0], entry[2][0]);
    const double yLength = std::hypot(entry[0][1], entry[1][1], entry[2][1]);
    const double zLength = std::hypot(entry[0][2], entry[1][2], entry[2][2]);
    const double largest = std::max({xLength, yLength, zLength});
    return largest - std::min({xLength, yLength, zLength}) <= tol.equalVector() * largest;
}

double AcGeMatrix3d::scale() const {
    double largest = 0.0;
    for (int column = 0; column < 3; ++column) {
        largest = std::max(largest, std::hypot(entry[0][column], entry[1][column], entry[2][column]));
    }
    return largest;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& right) const {
    return AcGeMatrix3d().setToProduct(*this, right);
}

AcGeMatrix3d& AcGeMatrix3d::operator*=(const AcGeMatrix3d& right) {
    return postMultBy(right);
}
