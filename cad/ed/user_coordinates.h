// The current user coordinate system of a drawing (origin and X/Y axes, kept in the drawing header as
// the host keeps them: $UCSORG/$UCSXDIR/$UCSYDIR for model space, $PUCS... for paper space) and the
// host's conversions between world and user coordinates.
#pragma once

#include "cad/db/database.h"
#include "cad/ed/resbuf.h"
#include "cad/ge/matrix3d.h"
#include "platform/export.h"

namespace cad::ed {

struct QUELTO_EXPORT UserCoordinateSystem {
    AcGePoint3d origin;
    AcGeVector3d xAxis{1.0, 0.0, 0.0};
    AcGeVector3d yAxis{0.0, 1.0, 0.0};

    bool isWorld() const;
    AcGeVector3d zAxis() const { return xAxis.crossProduct(yAxis); }
    // World points and displacements to user coordinates and back.
    AcGePoint3d fromWorld(const AcGePoint3d& world) const;
    AcGeVector3d fromWorld(const AcGeVector3d& world) const;
    AcGePoint3d toWorld(const AcGePoint3d& user) const;
    AcGeVector3d toWorld(const AcGeVector3d& user) const;
    // This system turned by `angle` radians about its own Z axis, at the same origin.
    UserCoordinateSystem rotatedAboutZ(double angle) const;
};

QUELTO_EXPORT UserCoordinateSystem userCoordinateSystem(const AcDbDatabase& database, bool paperSpace);
QUELTO_EXPORT void setUserCoordinateSystem(AcDbDatabase& database, bool paperSpace,
                                           const UserCoordinateSystem& system);

} // namespace cad::ed

// Conversions of the current drawing and space; false when no drawing is open.
QUELTO_EXPORT bool acdbWcs2Ucs(ads_point from, ads_point to, bool vector);
QUELTO_EXPORT bool acdbUcs2Wcs(ads_point from, ads_point to, bool vector);
// The current system as the matrix that maps user coordinates to world ones (its columns are the X, Y
// and Z axes and the origin, exactly as the conversions above use them); eNotApplicable without a drawing.
QUELTO_EXPORT Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& matrix);
