// Matching an entity of a custom type through the registry's values. The warnings name the definition
// and the group code on the command line; a skipped row takes no part in the combination.
#include "quelto/matching/custom_entity_values.h"

#include "cad/app/host_api.h"
#include "platform/wide_text.h"
#include "quelto/customentity/freedom_criteria.h"

#include <optional>

namespace quelto::matching {
namespace {

// The values of the definitions in the definition folder, one entity at a time.
class RegistryValues final : public CustomEntityValues {
public:
    explicit RegistryValues(int withSoftwareName) { m_registry.Load(withSoftwareName); }
    bool empty() const { return m_registry.GetCount() == 0; }

    bool begin(AcDbObjectId id, const CString& /*typeName*/, bool userCoordinates) override {
        m_entity.emplace(m_registry, id);
        m_userCoordinates = userCoordinates;
        if (!m_entity->IsUsable()) {
            m_entity.reset();
            return false;
        }
        return true;
    }

    Answer value(int propertyId, const CString& criterionText) override {
        const CFreedomCriterionValue found = m_entity->Evaluate(propertyId, criterionText, m_userCoordinates);
        Answer answer;
        answer.displayName = m_entity->GetDefinition()->displayName;
        answer.className = m_entity->GetDefinition()->className;
        answer.groupCode = found.groupCode;
        answer.resultType = found.resultType;
        switch (found.kind) {
        case CFreedomCriterionValue::MissingGroup:
            answer.status = Answer::Status::MissingGroup;
            break;
        case CFreedomCriterionValue::WrongType:
            answer.status = Answer::Status::WrongType;
            break;
        case CFreedomCriterionValue::Skip:
            answer.value = RowValue::skipped();
            break;
        case CFreedomCriterionValue::Real:
            answer.value = RowValue::real(found.real);
            break;
        case CFreedomCriterionValue::Integer:
            // An enumeration compares its stored value with the one of the item the criterion names.
            answer.value = found.criterionText == criterionText
                               ? RowValue::integer(found.integer)
                               : RowValue::translatedInteger(found.integer, _wtoi(found.criterionText));
            break;
        case CFreedomCriterionValue::Text:
            answer.value = RowValue::text(found.text);
            break;
        case CFreedomCriterionValue::Satisfied:
            answer.value = RowValue::satisfied();
            break;
        case CFreedomCriterionValue::Unmatched:
            // An item the definition no longer has (the file was edited since the criterion was set)
            // matches no entity; enumerations are compared for equality only.
            answer.value = RowValue::translatedInteger(found.integer, found.integer + 1);
            break;
        }
        return answer;
    }

    void end() override { m_entity.reset(); }

private:
    CFreedomEntityMangage m_registry;
    std::optional<CFreedomCriteria> m_entity;
    BOOL m_userCoordinates = FALSE;
};

} // namespace

CustomEntityValues::~CustomEntityValues() = default;

std::unique_ptr<CustomEntityValues> loadCustomEntityValues(int withSoftwareName) {
    auto values = std::make_unique<RegistryValues>(withSoftwareName);
    if (values->empty()) {
        return nullptr;
    }
    return values;
}

int matchCustomEntity(CustomEntityValues* values, const RowLogic& rows, AcDbObjectId id,
                      const CString& typeName, bool userCoordinates) {
    if (values == nullptr || !values->begin(id, typeName, userCoordinates)) {
        return 0;
    }
    const int result = rows.evaluate([&](const PropertyRow& row) {
        CustomEntityValues::Answer answer = values->value(row.propertyId, row.operand.value);
        switch (answer.status) {
        case CustomEntityValues::Answer::Status::MissingGroup:
            acutPrintf(L"\n警告：实体%s（%s）的组码%d不存在", answer.displayName.c_str(),
                       answer.className.c_str(), answer.groupCode);
            return RowValue::skipped();
        case CustomEntityValues::Answer::Status::WrongType:
            acutPrintf(L"\n警告：实体%s（%s）的组码%d类型错误（%d）", answer.displayName.c_str(),
                       answer.className.c_str(), answer.groupCode, answer.resultType);
            return RowValue::skipped();
        default:
            return std::move(answer.value);
        }
    });
    values->end();
    return result;
}

} // namespace quelto::matching
