// A 4x4 homogeneous transform acting on column vectors (point' = M * point), as the host's matrix class.
// Factories cover move, uniform scale about a point, rotation about an axis through a point and mirroring,
// plus the coordinate-system helpers entities use to map between their own plane (OCS) and the world.
#pragma once

#include "cad/ge/plane.h"
#include "cad/ge/point3d.h"
#include "cad/ge/tolerance.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

class QUELTO_EXPORT AcGeMatrix3d {
public:
    static const AcGeMatrix3d kIdentity;

    constexpr AcGeMatrix3d() = default;

    AcGeMatrix3d& setToIdentity();
    AcGeMatrix3d& setToTranslation(const AcGeVector3d& vector);
    AcGeMatrix3d& setToScaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                                const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Reflection in a plane, through a point (point reflection), or in a line (a half turn about it).
    AcGeMatrix3d& setToMirroring(const AcGePlane& plane);
    AcGeMatrix3d& setToMirroring(const AcGePoint3d& point);
    AcGeMatrix3d& setToMirroring(const AcGeLine3d& line);
    // Maps the world axes onto the given coordinate system (origin and axes in world coordinates).
    AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                 const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                        AcGeVector3d& zAxis) const;
    AcGeMatrix3d& setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                     const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                     const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                     const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
    // Object coordinate system of an extrusion direction (the arbitrary axis algorithm) to world, and back.
    AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);
    AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
    AcGeMatrix3d& setToProduct(const AcGeMatrix3d& left, const AcGeMatrix3d& right);
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left);
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right);

    static AcGeMatrix3d translation(const AcGeVector3d& vector);
    static AcGeMatrix3d scaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                                 const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d mirroring(const AcGePlane& plane);
    static AcGeMatrix3d mirroring(const AcGePoint3d& point);
    static AcGeMatrix3d mirroring(const AcGeLine3d& line);
    static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                      const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                      const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                      const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);

    AcGeMatrix3d inverse() const;
    // An inverse within tolerance; returns false and leaves result alone for a singular matrix.
    bool inverse(AcGeMatrix3d& result, double tolerance) const;
    AcGeMatrix3d& invert();
    AcGeMatrix3d transpose() const;
    AcGeMatrix3d& transposeIt();
    double det() const;
    bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeMatrix3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
    // True when the linear part maps the axes to mutually perpendicular axes of one common length.
    bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // True when the linear part maps the axes to mutually perpendicular axes (lengths may differ).
    bool isScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // The largest factor by which the matrix stretches a unit axis.
    double scale() const;
    AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }

    AcGeMatrix3d operator*(const AcGeMatrix3d& right) const;
    AcGeMatrix3d& operator*=(const AcGeMatrix3d& right);
    bool operator==(const AcGeMatrix3d& other) const { return isEqualTo(other); }
    double operator()(unsigned int row, unsigned int column) const { return entry[row][column]; }
    double& operator()(unsigned int row, unsigned int column) { return entry[row][column]; }

    double entry[4][4] = {
        {1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}, {0.0, 0.0, 0.0, 1.0}};
};

// Applying a transform: points take the translation, vectors do not.
inline AcGePoint3d operator*(const AcGeMatrix3d& matrix, const AcGePoint3d& point) {
    const auto& m = matrix.entry;
    const double w = m[3][0] * point.x + m[3][1] * point.y + m[3][2] * point.z + m[3][3];
    const AcGePoint3d mapped(m[0][0] * point.x + m[0][1] * point.y + m[0][2] * point.z + m[0][3],
                             m[1][0] * point.x + m[1][1] * point.y + m[1][2] * point.z + m[1][3],
                             m[2][0] * point.x + m[2][1] * point.y + m[2][2] * point.z + m[2][3]);
    return w == 1.0 ? mapped : mapped / w;
}

inline AcGeVector3d operator*(const AcGeMatrix3d& matrix, const AcGeVector3d& vector) {
    const auto& m = matrix.entry;
    return {m[0][0] * vector.x + m[0][1] * vector.y + m[0][2] * vector.z,
            m[1][0] * vector.x + m[1][1] * vector.y + m[1][2] * vector.z,
            m[2][0] * vector.x + m[2][1] * vector.y + m[2][2] * vector.z};
}
