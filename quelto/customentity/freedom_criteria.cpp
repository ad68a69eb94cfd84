// The value of one custom criterion of one entity. Enumeration rows hold the text the user picked; the
// entity holds the item's stored value, so the text is translated through the property's items first.

#include "quelto/customentity/freedom_criteria.h"

namespace {

constexpr int firstEnumerationId = 4001;
constexpr int lastEnumerationId = 4999;

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
    const resbuf* record = lookup.record;
    const int resultType = lookup.resultType;
    double point[3] = {0.0, 0.0, 0.0};
    switch (resultType) {
    case RT3DPOINT:
    case RTPOINT:
        CFreedomEntityData::GetPoint(*record, resultType, useUserCoord, point);
        value.kind = CFreedomCriterionValue::Real;
        value.real = point[propertyId - prop->id];
        break;
    case RTREAL:
        value.kind = CFreedomCriterionValue::Real;
        value.real = record->resval.rreal;
        break;
    case RTSHORT:
        value.kind = CFreedomCriterionValue::Integer;
        value.integer = record->resval.rint;
        if (propertyId >= firstEnumerationId && propertyId <= lastEnumerationId) {
            const std::optional<CString> stored = storedValueOf(*prop, criterionText);
            if (!stored) {
                value.kind = CFreedomCriterionValue::Unmatched;
                break;
            }
            value.criterionText = *stored;
        }
        break;
    case RTLONG:
        value.kind = CFreedomCriterionValue::Integer;
        value.integer = record->resval.rlong;
        break;
    case RTSTR:
        value.kind = CFreedomCriterionValue::Text;
        value.text = record->resval.rstring != nullptr ? record->resval.rstring : L"";
        break;
    default:
        value.kind = CFreedomCriterionValue::Satisfied;
        break;
    }
    return value;
}
