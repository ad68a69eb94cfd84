// Property ids and the record layout of definition files. Ids are laid out so that the id range tells the
// value kind the catalogue and the matching engine use: integers 1001-1999, reals 2001-2999, texts
// 3001-3999, enumerations (an integer with items) 4001-4999. Point codes take three ids each.

#include "quelto/customentity/freedom_entity.h"

#include <limits>

namespace {

constexpr std::int32_t kCurrentRecordVersion = 1;
constexpr int kEnumerationOffset = 3000;

// One row of the id table: codes first..last give factor * code + offset.
struct IdRange {
    int first;
    int last;
    int factor;
    int offset;
};

// Rows in the order the definition editor documents them; no two overlap.
constexpr IdRange kIdRanges[] = {
    {std::numeric_limits<int>::min(), 9, 1, 3001}, // texts, and the negative codes
    {100, 102, 1, 2911},
    {105, 105, 0, 3014},
    {110, 112, 1, 2905},
    {300, 309, 1, 2718},
    {410, 419, 1, 2618},
    {999, 1009, 1, 2039},
    {38, 59, 1, 1963}, // reals
    {140, 149, 1, 1883},
    {10, 17, 3, 2025}, // points: three ids each
    {210, 219, 3, 1449},
    {1010, 1013, 3, -921},
    {60, 79, 1, 941}, // integers
    {170, 179, 1, 851},
    {270, 299, 1, 761},
    {370, 389, 1, 691},
    {400, 409, 1, 681},
    {1060, 1070, 1, 31},
    {90, 99, 1, 1011},
    {1038, 1059, 1, 995}, // extended-data reals
    {1071, 1071, 0, 1112},
};

} // namespace

void CFreedomProp::ComputeId() {
    for (const IdRange& range : kIdRanges) {
        if (groupCode >= range.first && groupCode <= range.last) {
            id = range.factor * groupCode + range.offset;
            break;
        }
    }
    if (!items.empty()) {
        id += kEnumerationOffset;
    }
}

bool CFreedomProp::CoversId(int propertyId) const {
    if (kind == Point3d) {
        return propertyId >= id && propertyId <= id + 2;
    }
    if (kind == Point2d) {
        return propertyId >= id && propertyId <= id + 1;
    }
    return propertyId == id;
}

int CFreedomProp::GetResultType() const {
    switch (kind) {
    case Point3d:
        return 5009;
    case Point2d:
        return 5002;
    case Real:
        return 5001;
    case Short:
        return 5003;
    case Long:
        return 5010;
    case Text:
        return 5005;
    default:
        return 5000;
    }
}

int CFreedomProp::GetSlotCount() const {
    switch (kind) {
    case Point3d:
        return 3;
    case Point2d:
        return 2;
    case Real:
    case Short:
    case Long:
    case Text:
        return 1;
    default:
        return 0;
    }
}

void CFreedomProp::WriteTo(CArchive& archive) const {
    archive << kCurrentRecordVersion << name << static_cast<std::int32_t>(kind) << propNote << propNote2
            << static_cast<std::int32_t>(groupCode) << static_cast<std::int32_t>(items.size());
    for (const CString& item : items) {
        archive << item;
    }
}

void CFreedomProp::ReadFrom(CArchive& archive) {
    std::int32_t version = 0;
    archive >> version;
    if (version != kCurrentRecordVersion) {
        return;
    }
    std::int32_t storedKind = 0;
    std::int32_t storedCode = 0;
    std::int32_t count = 0;
    archive >> name >> storedKind >> propNote >> propNote2 >> storedCode >> count;
    kind = storedKind;
    groupCode = storedCode;
    // Items are read one by one, so a damaged count runs out of bytes instead of memory.
    for (std::int32_t index = 0; index < count; ++index) {
        CString item;
        archive >> item;
        items.push_back(std::move(item));
    }
}

const CFreedomProp* CFreedomEntity::FindPropById(int propertyId) const {
    for (const CFreedomProp& prop : props) {
        if (prop.CoversId(propertyId)) {
            return &prop;
        }
    }
    return nullptr;
}

void CFreedomEntity::WriteTo(CArchive& archive) const {
    archive << kCurrentRecordVersion << displayName << className << entityNote
            << static_cast<std::int32_t>(props.size());
    for (const CFreedomProp& prop : props) {
        prop.WriteTo(archive);
    }
}

void CFreedomEntity::ReadFrom(CArchive& archive) {
    std::int32_t version = 0;
    archive >> version;
    if (version != kCurrentRecordVersion) {
        return;
    }
    std::int32_t count = 0;
    archive >> displayName >> className >> entityNote >> count;
    ReadRecords(archive, count, props);
}
