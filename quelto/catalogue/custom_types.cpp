// The place where custom entity types of other applications join the catalogue: one type row and one
// property list per loaded definition (points as one property per coordinate, enumeration items shown
// without their stored value), and their values read from the entity's DXF data by the registry.

#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/qlt_system_param.h"

namespace {

EntityProp customProp(const CString& name, int id) {
    EntityProp prop;
    prop.name = name;
    prop.id = id;
    return prop;
}

} // namespace

void CInfoMapList::AppendCustomTypes() {
    customEntities.Load(CQLTSystemParam().GetHasEntSoft());
    for (const CFreedomEntity& entity : customEntities.entities) {
        m_typeTable.push_back({entity.className, entity.displayName});
    }
    static const wchar_t* const kAxes[] = {L"X", L"Y", L"Z"};
    for (const CFreedomEntity& entity : customEntities.entities) {
        EntityInfo info;
        info.typeName = entity.className;
        info.isCustom = 1;
        for (const CFreedomProp& prop : entity.props) {
            const int slots = prop.GetSlotCount();
            if (slots > 1) {
                for (int axis = 0; axis < slots; ++axis) {
                    info.props.push_back(customProp(prop.name + kAxes[axis], prop.id + axis));
                }
            } else if (slots == 1) {
                EntityProp single = customProp(prop.name, prop.id);
                if (prop.kind == CFreedomProp::Short) {
                    for (const CString& item : prop.items) {
                        const std::size_t separator = item.find(L'=');
                        single.items.push_back(separator == CString::npos ? item
                                                                          : item.substr(separator + 1));
                    }
                }
                info.props.push_back(std::move(single));
            }
        }
        m_propertyTable.push_back(std::move(info));
    }
}

void CInfoMapList::ReadCustomEntity() {
    customEntities.ReadCustomEntity(currentObject, useUserCoord,
                                    [this](const CString& typeName) -> std::optional<std::vector<CString*>> {
                                        EntityInfo* info = FindEntityInfo(typeName, 1);
                                        if (info == nullptr) {
                                            return std::nullopt;
                                        }
                                        std::vector<CString*> slots;
                                        for (EntityProp& prop : info->props) {
                                            slots.push_back(&prop.value);
                                        }
                                        return slots;
                                    });
}
