// CINMatchingBase: the common root of the matching helpers. It carries no data; it exists so that the
// helpers can be held and destroyed through one base type.
#pragma once

#include "platform/export.h"

class QUELTO_EXPORT CINMatchingBase {
public:
    CINMatchingBase() = default;
    CINMatchingBase(const CINMatchingBase&) = default;
    CINMatchingBase& operator=(const CINMatchingBase&) = default;
    virtual ~CINMatchingBase();
};
