// Filling the filter record "<本次模板>" from a template entity: the preselection and grouping rules
// from the settings, then the basic and advanced criteria from the entity, and the template's property
// values read into the catalogue for the property page.
#pragma once

#include "cad/app/host_api.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/filter.h"

// Resets `filter` and fills it; the entity part only when `templateId` opens for read. Returns TRUE when
// the template was read, FALSE when the record holds only the settings' part.
BOOL FillFilterFromTemplate(CFilter& filter, AcDbObjectId templateId, CInfoMapList& catalogue);
