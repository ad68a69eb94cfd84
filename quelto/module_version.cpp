// The module's version, exported so that a program linking libquelto.so can tell which build it has.

#include "platform/export.h"

extern "C" QUELTO_EXPORT const char* queltoModuleVersion() {
    return QUELTO_VERSION;
}
