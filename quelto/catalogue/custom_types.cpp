// The place where custom entity types of other applications join the catalogue. The built-in catalogue
// is complete without them; until definition files are read here, no custom type is appended and no
// custom values are read.

#include "quelto/catalogue/info_map_list.h"

void CInfoMapList::AppendCustomTypes() {}

void CInfoMapList::ReadCustomEntity(const CString& dxfName) {}
