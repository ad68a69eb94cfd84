// libquelto-cad.so is assembled from the layer libraries linked whole; this file only gives the shared
// library target a source of its own and records the interface version in the binary.

#include "cad/app/rx_entry.h"

extern "C" QUELTO_EXPORT int queltoCadInterfaceVersion() {
    return cad::app::kHostApiVersion;
}
