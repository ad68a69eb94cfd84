// The extents by which the selection measures an entity's visual width and height, and by which a
// template fills them: the host's geometric extents, except for single-line text in a TrueType style
// with a width factor, whose box the host widens by the factor once too often and which is corrected.
#pragma once

#include "cad/app/host_api.h"
#include "cad/db/text_entities.h"
#include "cad/ge/extents.h"

// eOk with `extents` filled, or the host's failure to measure the entity.
Acad::ErrorStatus GetVisualExtents(const AcDbEntity& entity, AcDbExtents& extents);
// The same for an entity given by id, opened for read and closed again; the open's failure when it
// cannot be opened.
Acad::ErrorStatus GetVisualExtents(AcDbObjectId entityId, AcDbExtents& extents);
