// The value of one custom criterion of one entity. Enumeration rows hold the text the user picked; the
// entity holds the item's stored value, so the text is translated through the property's items first.

#include "quelto/customentity/freedom_criteria.h"

namespace {

constexpr int kFirstEnumerationId = 4001;
constexpr int kLastEnumerationId = 4999;

// The stored value of the first item whose shown text (after the first "=") is `text`.
std::optional<CString> storedValueOf(const CFreedomProp& prop, const CString& text) {
    for (const CString& item : prop.items) {
        const std::size_t separator = item.find(L'=');
        if (separator != CString::npos && item.compare(separator + 1, CString::npos, text) == 0) {
            return item.substr(0, separator);
        }
    }
    return std::nullopt;
}

} // namespace

CFreedomCriteria::CFreedomCriteria(const CFreedomEntityMangage& registry, const AcDbObjectId& id)
    : m_data(id) {
    if (m_data.IsValid()) {
        m_definition = registry.FindByClassName(m_data.GetTypeName());
    }
}

CFreedomCriterionValue CFreedomCriteria::Evaluate(int propertyId, const CString& criterionText,
                                                  BOOL useUserCoord) const {
    CFreedomCriterionValue value;
    value.criterionText = criterionText;
    const CFreedomProp* prop = IsUsable() ? m_definition->FindPropById(propertyId) : nullptr;
    if (prop == nullptr) {
        return value;
    }
    const CFreedomEntityData::Lookup lookup = m_data.FindValue(*prop);
    value.groupCode = prop->groupCode;
    value.resultType = lookup.resultType;
    if (lookup.status != CFreedomEntityData::Lookup::Found) {
        value.kind = lookup.status == CFreedomEntityData::Lookup::MissingGroup
                         ? CFreedomCriterionValue::MissingGroup
                         : CFreedomCriterionValue::WrongType;
        return value;
    }
    const CFreedomEntityData::Value found = CFreedomEntityData::Decode(lookup, useUserCoord);
    switch (found.form) {
    case CFreedomEntityData::Value::Point:
        value.kind = CFreedomCriterionValue::Real;
        value.real = found.point[propertyId - prop->id];
        break;
    case CFreedomEntityData::Value::Real:
        value.kind = CFreedomCriterionValue::Real;
        value.real = found.real;
        break;
    case CFreedomEntityData::Value::Short:
    case CFreedomEntityData::Value::Long:
        value.kind = CFreedomCriterionValue::Integer;
        value.integer = found.integer;
        if (found.form == CFreedomEntityData::Value::Short && propertyId >= kFirstEnumerationId &&
            propertyId <= kLastEnumerationId) {
            const std::optional<CString> stored = storedValueOf(*prop, criterionText);
            if (!stored) {
                value.kind = CFreedomCriterionValue::Unmatched;
                break;
            }
            value.criterionText = *stored;
        }
        break;
    case CFreedomEntityData::Value::Text:
        value.kind = CFreedomCriterionValue::Text;
        value.text = found.text != nullptr ? found.text : L"";
        break;
    case CFreedomEntityData::Value::Nothing:
        value.kind = CFreedomCriterionValue::Satisfied;
        break;
    }
    return value;
}
