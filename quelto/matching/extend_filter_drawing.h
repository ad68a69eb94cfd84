// What the engine asks of the drawing besides the entity itself: the layout that owns a block, the
// layout of the current space, the number-to-text rule of criterion values and an entity's extents.
#pragma once

#include "cad/app/host_api.h"
#include "cad/ge/extents.h"
#include "platform/mfc_types.h"

namespace quelto::matching {

// "Model", a layout's name, or empty for an ordinary block definition or a block that will not open.
CString layoutNameOfBlock(AcDbObjectId block);
CString currentLayoutName();
CString numberText(double value);
// The extents the visual width and height are measured on; false when the entity will not open.
bool visualExtents(AcDbObjectId id, AcDbExtents& extents);

} // namespace quelto::matching
