// CFreedomEntityData: the DXF data list of one drawing entity (with the extended data of every
// application), searched by the group codes a custom entity definition names. It holds the list for its
// lifetime and releases it, and it words the warnings for a code that is missing or of another type.
#pragma once

#include "cad/ed/resbuf.h"
#include "platform/mfc_types.h"
#include "quelto/customentity/freedom_entity.h"

#include <optional>

class AcDbObjectId;

class CFreedomEntityData {
public:
    explicit CFreedomEntityData(const AcDbObjectId& id);
    ~CFreedomEntityData();
    CFreedomEntityData(const CFreedomEntityData&) = delete;
    CFreedomEntityData& operator=(const CFreedomEntityData&) = delete;

    // False when the host gave no data list (an erased or unknown entity).
    bool IsValid() const { return m_data != nullptr; }
    // The DXF type name (group 0, the list's second record); empty without a list.
    CString GetTypeName() const;

    // The first record with the property's group code, when its value has the property's form.
    struct Lookup {
        enum Status { Found, MissingGroup, WrongType };
        Status status = MissingGroup;
        const resbuf* record = nullptr; // set when Found
        int resultType = RTNONE;        // the result type of the group code
    };
    Lookup FindValue(const CFreedomProp& prop) const;
    // The command-line warning for a lookup that found no usable value.
    static void PrintWarning(const CFreedomEntity& definition, const CFreedomProp& prop,
                             const Lookup& lookup);

    // A found record's value by the result type of its group code; points converted to the user system
    // when asked (a 2D point as one with Z 0).
    struct Value {
        enum Form { Nothing, Point, Real, Short, Long, Text };
        Form form = Nothing;
        double point[3] = {0.0, 0.0, 0.0};
        int coordinates = 0; // of a point: 3, or 2
        double real = 0.0;
        int integer = 0;
        const ACHAR* text = nullptr; // may be null for a text record without value
    };
    static Value Decode(const Lookup& lookup, BOOL useUserCoord);

private:
    resbuf* m_data = nullptr;
};
