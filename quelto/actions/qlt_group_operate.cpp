// CQLTGroupOperate: the six grouping rules over the working drawing's group dictionary.
#include "quelto/actions/qlt_group_operate.h"

namespace {
AcDbDatabase* workingDatabase() {
    return acdbHostApplicationServices()->workingDatabase();
}
} // namespace

CQLTGroupOperate::~CQLTGroupOperate() = default;

AcDbObjectId CQLTGroupOperate::LookUpGroup(const CString& strGroupName, bool bCreate) {
    AcDbDatabase* database = workingDatabase();
    AcDbDictionary* groups = nullptr;
    if (strGroupName.empty() || database == nullptr ||
        database->getGroupDictionary(groups, bCreate ? AcDb::kForWrite : AcDb::kForRead) != Acad::eOk) {
        return AcDbObjectId::kNull;
    }
    AcDbObjectId groupId;
    if (groups->getAt(strGroupName.c_str(), groupId) != Acad::eOk) {
        groupId = AcDbObjectId::kNull;
        auto* group = bCreate ? new AcDbGroup() : nullptr;
        if (group != nullptr && groups->setAt(strGroupName.c_str(), group, groupId) == Acad::eOk) {
            group->close();
        } else {
            delete group;
            groupId = AcDbObjectId::kNull;
        }
    }
    groups->close();
    return groupId;
}

AcDbObjectId CQLTGroupOperate::FindOrCreateGroup(const CString& strGroupName) {
    return LookUpGroup(strGroupName, true);
}

AcDbGroup* CQLTGroupOperate::OpenGroupForWrite(AcDbObjectId groupId) {
    AcDbGroup* group = nullptr;
    if (groupId.isNull() || acdbOpenObject(group, groupId, AcDb::kForWrite) != Acad::eOk) {
        return nullptr;
    }
    return group;
}

int CQLTGroupOperate::Apply(const CString& strGroupName, int nGroupMode, const AcDbObjectIdArray& arrIds) {
    AcDbObjectId groupId;
    switch (nGroupMode) {
    case kNoGroup:
        return 1;
    case kCreateUnlessExists:
        if (!LookUpGroup(strGroupName, false).isNull()) {
            return 0;
        }
        groupId = FindOrCreateGroup(strGroupName);
        break;
    case kCreateOrReplace:
    case kAppendOrCreate:
        groupId = FindOrCreateGroup(strGroupName);
        break;
    case kAppendIfExists:
    case kRemoveIfExists:
        groupId = LookUpGroup(strGroupName, false);
        break;
    default:
        return 0;
    }
    AcDbGroup* group = OpenGroupForWrite(groupId);
    if (group == nullptr) {
        return 0;
    }
    if (nGroupMode == kRemoveIfExists) {
        for (const AcDbObjectId& id : arrIds) {
            group->remove(id);
        }
    } else {
        if (nGroupMode == kCreateOrReplace) {
            group->clear();
        }
        group->append(AcDbObjectIdArray(arrIds));
    }
    group->close();
    return 1;
}
