// The current user coordinate system of a drawing (origin and X/Y axes, kept in the drawing header as
// the host keeps them: $UCSORG/$UCSXDIR/$UCSYDIR for model space, $PUCS... for paper space) and the
// host's conversions between world and user coordinates.
#pragma once

#include "cad/db/database.h"
#include "cad/ed/resbuf.h"
#include "platform/export.h"

namespace cad::ed {

struct QUELTO_EXPORT UserCoordinateSystem {
    double origin[3] = {0.0, 0.0, 0.0};
    double xAxis[3] = {1.0, 0.0, 0.0};
    double yAxis[3] = {0.0, 1.0, 0.0};

    bool isWorld() const;
    // World point (or, with `vector`, displacement) to user coordinates and back.
    void fromWorld(const double world[3], double user[3], bool vector) const;
    void toWorld(const double user[3], double world[3], bool vector) const;
    // A system rotated by `angle` radians about the Z axis of this one, at a new origin (world point).
    static UserCoordinateSystem rotatedAboutZ(const double originWorld[3], double angle);
};

QUELTO_EXPORT UserCoordinateSystem userCoordinateSystem(const AcDbDatabase& database, bool paperSpace);
QUELTO_EXPORT void setUserCoordinateSystem(AcDbDatabase& database, bool paperSpace,
                                           const UserCoordinateSystem& system);

} // namespace cad::ed

// Conversions of the current drawing and space; false when no drawing is open.
QUELTO_EXPORT bool acdbWcs2Ucs(ads_point from, ads_point to, bool vector);
QUELTO_EXPORT bool acdbUcs2Wcs(ads_point from, ads_point to, bool vector);
