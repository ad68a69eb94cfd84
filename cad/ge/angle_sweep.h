// Shared by every curve made of circular or elliptical pieces: angle normalisation and the exact box of
// centre + u cos t + v sin t over a range of t (each world coordinate is a sinusoid in t, so its extremes
// are at known angles and only those inside the range count).
#pragma once

#include "cad/ge/extents.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/angle_units.h"

#include <numbers>

namespace cad::ge {

using platform::kTwoPi;

// An angle brought into [0, 2*pi).
double normalizeAngle(double angle);
// The counter-clockwise sweep from start to end in (0, 2*pi]; equal angles give a full turn.
double ccwSweep(double startAngle, double endAngle);
// Grows box by the curve centre + u cos t + v sin t for t in [start, start + sweep] (sweep >= 0).
void addSinusoidSweep(AcDbExtents& box, const AcGePoint3d& center, const AcGeVector3d& u,
                      const AcGeVector3d& v, double start, double sweep);

} // namespace cad::ge
