// CINMatchingBase: its out-of-line destructor anchors the class's virtual table in this library.
#include "quelto/matching/in_matching_base.h"

CINMatchingBase::~CINMatchingBase() = default;
