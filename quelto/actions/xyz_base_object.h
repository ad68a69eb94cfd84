// CXYZBaseObject: the base of the drawing helpers. It holds the one number-to-text rule that every
// value shown to the user or stored as a criterion text goes through, so that a value read from an
// entity and the same value typed by the user compare as equal texts.
#pragma once

#include "platform/mfc_types.h"

class CXYZBaseObject {
public:
    CXYZBaseObject() = default;
    virtual ~CXYZBaseObject();

    // "%.7f", then trailing "0" characters removed, then a trailing "." removed: 2.0 gives "2",
    // 0.125 gives "0.125", 1e-8 gives "0" and -0.0 gives "-0".
    static CString FormatReal(double value);
    // The same into `text`, whose storage is reused: for callers that format many values in turn.
    static void FormatRealInto(double value, CString& text);
    // "%d".
    static CString FormatInteger(int value);
};
