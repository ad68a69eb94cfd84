// Looking up a definition's group codes in an entity's data list. A value is used only when the group
// code's result type agrees with the property's form, and only when the record really holds that kind of
// value: the host stores a few codes (110-112 as points) otherwise than the type table expects.

#include "quelto/customentity/freedom_entity_data.h"

#include "cad/ed/command_line.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/user_coordinates.h"
#include "quelto/customentity/freedom_entity_mangage.h"

namespace {

ResbufValueKind storageOf(int resultType) {
    switch (resultType) {
    case RT3DPOINT:
    case RTPOINT:
        return ResbufValueKind::Point;
    case RTREAL:
        return ResbufValueKind::Real;
    case RTSHORT:
        return ResbufValueKind::Short;
    case RTLONG:
        return ResbufValueKind::Long;
    case RTSTR:
        return ResbufValueKind::Text;
    default:
        return ResbufValueKind::None;
    }
}

} // namespace

CFreedomEntityData::CFreedomEntityData(const AcDbObjectId& id) {
    ads_name name;
    if (acdbGetAdsName(name, id) != Acad::eOk) {
        return;
    }
    resbuf* applications = acutBuildList(RTSTR, L"*", 0);
    m_data = acdbEntGetX(name, applications);
    acutRelRb(applications);
}

CFreedomEntityData::~CFreedomEntityData() {
    acutRelRb(m_data);
}

CString CFreedomEntityData::GetTypeName() const {
    if (m_data == nullptr || m_data->rbnext == nullptr || m_data->rbnext->restype != 0 ||
        m_data->rbnext->resval.rstring == nullptr) {
        return {};
    }
    return m_data->rbnext->resval.rstring;
}

CFreedomEntityData::Lookup CFreedomEntityData::FindValue(const CFreedomProp& prop) const {
    Lookup lookup;
    lookup.resultType = CFreedomEntityMangage::ExpectedResultType(prop.groupCode);
    const resbuf* record = m_data;
    while (record != nullptr && record->restype != prop.groupCode) {
        record = record->rbnext;
    }
    if (record == nullptr) {
        return lookup;
    }
    const ResbufValueKind storage = storageOf(lookup.resultType);
    const bool stored = storage == ResbufValueKind::None || resbufValueKind(record->restype) == storage;
    if (lookup.resultType != prop.GetResultType() || !stored) {
        lookup.status = Lookup::WrongType;
        return lookup;
    }
    lookup.status = Lookup::Found;
    lookup.record = record;
    return lookup;
}

void CFreedomEntityData::PrintWarning(const CFreedomEntity& definition, const CFreedomProp& prop,
                                      const Lookup& lookup) {
    if (lookup.status == Lookup::MissingGroup) {
        acutPrintf(L"\n警告：实体%s（%s）的组码%d不存在", definition.displayName.c_str(),
                   definition.className.c_str(), prop.groupCode);
    } else if (lookup.status == Lookup::WrongType) {
        acutPrintf(L"\n警告：实体%s（%s）的组码%d类型错误（%d）", definition.displayName.c_str(),
                   definition.className.c_str(), prop.groupCode, lookup.resultType);
    }
}

CFreedomEntityData::Value CFreedomEntityData::Decode(const Lookup& lookup, BOOL useUserCoord) {
    Value value;
    const resbuf& record = *lookup.record;
    switch (lookup.resultType) {
    case RT3DPOINT:
    case RTPOINT:
        value.form = Value::Point;
        value.coordinates = lookup.resultType == RT3DPOINT ? 3 : 2;
        for (int axis = 0; axis < value.coordinates; ++axis) {
            value.point[axis] = record.resval.rpoint[axis];
        }
        if (useUserCoord) {
            ads_point world = {value.point[0], value.point[1], value.point[2]};
            acdbWcs2Ucs(world, value.point, false);
        }
        break;
    case RTREAL:
        value.form = Value::Real;
        value.real = record.resval.rreal;
        break;
    case RTSHORT:
        value.form = Value::Short;
        value.integer = record.resval.rint;
        break;
    case RTLONG:
        value.form = Value::Long;
        value.integer = record.resval.rlong;
        break;
    case RTSTR:
        value.form = Value::Text;
        value.text = record.resval.rstring;
        break;
    default:
        break;
    }
    return value;
}
