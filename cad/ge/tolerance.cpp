// The process-wide default tolerance of the geometry library.
// Kept in one translation unit so that the host and every module loaded into it share the same object.
#include "cad/ge/tolerance.h"

AcGeTol AcGeContext::gTol;
