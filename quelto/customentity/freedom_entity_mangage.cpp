// Loading the definitions of the definition folder, finding the one of a DXF type, and reading a custom
// entity's property values into the catalogue. Values come from the entity's DXF data list by group code,
// so no knowledge of the other application's classes is needed.

#include "quelto/customentity/freedom_entity_mangage.h"

#include "platform/wide_text.h"
#include "quelto/customentity/freedom_entity_data.h"
#include "quelto/customentity/freedom_entity_file.h"

#include <algorithm>
#include <limits>

namespace {

struct TypeRange {
    int first;
    int last;
    int resultType;
};

// Result types of group codes in a data list; codes 0-4999 not listed here have none (5000).
constexpr TypeRange kResultTypes[] = {
    {0, 9, RTSTR},           {10, 17, RT3DPOINT},  {38, 59, RTREAL},      {60, 79, RTSHORT},
    {90, 99, RTLONG},        {100, 102, RTSTR},    {105, 105, RTSTR},     {110, 112, RTSTR},
    {140, 149, RTREAL},      {170, 179, RTSHORT},  {210, 219, RT3DPOINT}, {270, 299, RTSHORT},
    {300, 309, RTSTR},       {310, 369, RTENAME},  {370, 389, RTSHORT},   {390, 399, RTENAME},
    {400, 409, RTSHORT},     {410, 419, RTSTR},    {1004, 1004, 1004},    {999, 1009, RTSTR},
    {1010, 1013, RT3DPOINT}, {1038, 1059, RTREAL}, {1060, 1070, RTSHORT}, {1071, 1071, RTLONG},
};

// Reals as the catalogue shows them: "%.7f" without trailing zeros and without a trailing point.
CString formatReal(double value) {
    CString text = platform::formatWide(L"%.7f", value);
    while (!text.empty() && text.back() == L'0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == L'.') {
        text.pop_back();
    }
    return text;
}

void writeSlot(const std::vector<CString*>& slots, int position, const CString& text) {
    if (position >= 0 && position < static_cast<int>(slots.size())) {
        *slots[static_cast<std::size_t>(position)] = text;
    }
}

void writeValue(const std::vector<CString*>& slots, int position, const CFreedomEntityData::Value& value) {
    switch (value.form) {
    case CFreedomEntityData::Value::Point:
        for (int axis = 0; axis < value.coordinates; ++axis) {
            writeSlot(slots, position + axis, formatReal(value.point[axis]));
        }
        break;
    case CFreedomEntityData::Value::Real:
        writeSlot(slots, position, formatReal(value.real));
        break;
    case CFreedomEntityData::Value::Short:
        writeSlot(slots, position, platform::formatWide(L"%d", value.integer));
        break;
    case CFreedomEntityData::Value::Long:
        writeSlot(slots, position, platform::formatWide(L"%ld", value.integer));
        break;
    case CFreedomEntityData::Value::Text:
        if (value.text != nullptr) {
            writeSlot(slots, position, platform::formatWide(L"%s", value.text));
        }
        break;
    case CFreedomEntityData::Value::Nothing:
        break;
    }
}

} // namespace

CFreedomEntityMangage::CFreedomEntityMangage() = default;

void CFreedomEntityMangage::Load(BOOL hasEntSoft) {
    for (const CString& path : CFreedomEntityFile::ListFiles()) {
        CFreedomEntityFile file;
        if (!file.Read(path)) {
            continue;
        }
        for (CFreedomEntity& entity : file.entities) {
            for (CFreedomProp& prop : entity.props) {
                prop.ComputeId();
            }
            if (hasEntSoft) {
                entity.displayName.insert(0, file.softName + L" - ");
            }
            entities.push_back(entity);
        }
    }
}

const CFreedomEntity* CFreedomEntityMangage::FindByClassName(const CString& className) const {
    const auto found = std::find_if(entities.rbegin(), entities.rend(), [&](const CFreedomEntity& entity) {
        return entity.className == className;
    });
    return found == entities.rend() ? nullptr : &*found;
}

int CFreedomEntityMangage::ExpectedResultType(int groupCode) {
    if (groupCode < 0 || groupCode > 4999) {
        return groupCode;
    }
    for (const TypeRange& range : kResultTypes) {
        if (groupCode >= range.first && groupCode <= range.last) {
            return range.resultType;
        }
    }
    return RTNONE;
}

void CFreedomEntityMangage::ReadCustomEntity(const AcDbObjectId& id, BOOL useUserCoord,
                                             const SlotFinder& slotsOf) const {
    if (entities.empty()) {
        return;
    }
    const CFreedomEntityData data(id);
    const CString typeName = data.GetTypeName();
    if (typeName.empty()) {
        return;
    }
    const std::optional<std::vector<CString*>> slots = slotsOf(typeName);
    const CFreedomEntity* definition = FindByClassName(typeName);
    if (!slots || definition == nullptr) {
        return;
    }
    int position = 0;
    for (const CFreedomProp& prop : definition->props) {
        const CFreedomEntityData::Lookup lookup = data.FindValue(prop);
        CFreedomEntityData::PrintWarning(*definition, prop, lookup);
        if (lookup.status == CFreedomEntityData::Lookup::Found) {
            writeValue(*slots, position, CFreedomEntityData::Decode(lookup, useUserCoord));
        }
        position += prop.GetSlotCount();
    }
}
