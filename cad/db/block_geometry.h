// The value a dimension measures, computed from its definition points by kind (rotated, aligned,
// angular, diametric, radial, ordinate); arc-length dimensions answer their stored value.
#pragma once

#include "cad/db/other_entities.h"
#include "platform/export.h"

namespace cad::db {

QUELTO_EXPORT double measuredValue(const AcDbDimension& dimension);

} // namespace cad::db
