// The working drawing's names the criteria pages list: layers and linetypes in table order, with each
// linetype's description and dash lengths for its sample, and the layout names.
#pragma once

#include "platform/mfc_types.h"

#include <vector>

struct CLinetypeEntry {
    CString name;
    CString comments;
    std::vector<double> dashes;
};

// Empty when there is no working drawing or the table cannot be opened.
CStringArray DrawingLayerNames();
std::vector<CLinetypeEntry> DrawingLinetypes();
CStringArray DrawingLayoutNames();
