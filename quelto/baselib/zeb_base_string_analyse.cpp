// Placeholder translation unit for the analyser; replaced by the full implementation.
#include "quelto/baselib/zeb_base_string_analyse.h"
