// CFreedomCriteria: one drawing entity as the matching engine sees it when a row names a property of a
// custom type: the definition of its type and its DXF data, giving the value of each row's property, or
// the decision to leave the row out when no property covers it or the data lacks or mistypes its code
// (the engine prints the warning for the last two, as it prints every row's outcome).
#pragma once

#include "platform/mfc_types.h"
#include "quelto/customentity/freedom_entity_data.h"
#include "quelto/customentity/freedom_entity_mangage.h"

// The value of one custom criterion for the matching engine to compare.
struct CFreedomCriterionValue {
    enum Kind {
        Skip,         // no property covers the id: leave the row out
        MissingGroup, // the data lacks the group code: warn and leave the row out
        WrongType,    // the group code's value is not of the property's form: warn and leave the row out
        Real,         // compare `real` with the real operators
        Integer,      // compare `integer` with the integer operators
        Text,         // compare `text` with the text operators
        Satisfied,    // a value of no comparable type: the row is true
        Unmatched,    // an enumeration text that names no item of the property: the row is false
    };
    Kind kind = Skip;
    double real = 0.0;
    int integer = 0;
    CString text;
    // The value the row compares against: the criterion's text, or an enumeration item's stored value.
    CString criterionText;
    // For the warnings: the property's group code and the result type that code has.
    int groupCode = 0;
    int resultType = 0;
};

class CFreedomCriteria {
public:
    CFreedomCriteria(const CFreedomEntityMangage& registry, const AcDbObjectId& id);

    // False when the type has no definition or the entity no data list: the entity does not match.
    bool IsUsable() const { return m_definition != nullptr && m_data.IsValid(); }
    // The entity's value for the row with property id `propertyId` and value text `criterionText`.
    CFreedomCriterionValue Evaluate(int propertyId, const CString& criterionText, BOOL useUserCoord) const;
    // The definition of the entity's type (null when not usable), which the warnings name.
    const CFreedomEntity* GetDefinition() const { return m_definition; }

private:
    CFreedomEntityData m_data;
    const CFreedomEntity* m_definition = nullptr;
};
