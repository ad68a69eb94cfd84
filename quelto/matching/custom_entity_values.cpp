// Matching an entity of a custom type through the registry's values. The warnings name the definition
// and the group code on the command line; a skipped row takes no part in the combination.
#include "quelto/matching/custom_entity_values.h"

#include "cad/app/host_api.h"

namespace quelto::matching {

CustomEntityValues::~CustomEntityValues() = default;

std::unique_ptr<CustomEntityValues> loadCustomEntityValues(int /*withSoftwareName*/) {
    // The custom entity registry is not part of the module yet, so no definition is ever found.
    return nullptr;
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
