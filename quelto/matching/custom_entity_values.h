// The hook through which the engine matches entities of custom types: a source (the custom entity
// registry) reads one criterion's value from an entity's DXF data by the definition of its type, and the
// engine compares, warns about missing or mistyped group codes and combines the rows.
#pragma once

#include "cad/db/object_id.h"
#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/matching/row_logic.h"

#include <memory>

namespace quelto::matching {

class QUELTO_EXPORT CustomEntityValues {
public:
    // The answer for one criterion. `value` is used when the status is Found: Real, Integer, Text,
    // TranslatedInteger (an enumeration whose criterion text was translated to its stored number),
    // Satisfied (a value of a type no comparison applies to) or Skipped (no property has the id).
    struct Answer {
        enum class Status { Found, MissingGroup, WrongType };
        Status status = Status::Found;
        RowValue value;
        CString displayName; // of the definition, for the warnings
        CString className;
        int groupCode = 0;
        int resultType = 0; // the type the group code has in the data list
    };

    virtual ~CustomEntityValues();
    // Prepares one entity: false when no definition describes the type or the entity has no DXF data.
    virtual bool begin(AcDbObjectId id, const CString& typeName, bool userCoordinates) = 0;
    virtual Answer value(int propertyId, const CString& criterionText) = 0;
    // Releases what begin took; called after every successful begin.
    virtual void end() = 0;
};

// The values of the custom entity definitions the registry loads (the display names with their
// software name first when asked); null when there are none.
QUELTO_EXPORT std::unique_ptr<CustomEntityValues> loadCustomEntityValues(int withSoftwareName);

// Matches one entity of a custom type: 0 without a source, a definition or data; otherwise the rows'
// result, rows whose group code is missing or mistyped being skipped with a warning.
QUELTO_EXPORT int matchCustomEntity(CustomEntityValues* values, const RowLogic& rows, AcDbObjectId id,
                                    const CString& typeName, bool userCoordinates);

} // namespace quelto::matching
