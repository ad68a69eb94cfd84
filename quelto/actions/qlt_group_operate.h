// CQLTGroupOperate: puts the entities a quick selection found into a named group of the working
// drawing, replaces a group's members by them, or takes them out of a group, by the grouping rule of the
// configuration. Failures are silent; callers go on with their selection either way.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"

class CQLTGroupOperate {
public:
    // The entries of the grouping rule list, by index.
    enum GroupMode {
        kNoGroup = 0,        // "无（不作任何操作）"
        kCreateUnlessExists, // "新建（存在时放弃）"
        kCreateOrReplace,    // "新建（存在时覆盖）"
        kAppendIfExists,     // "追加（没有时放弃）"
        kAppendOrCreate,     // "追加（没有时新建）"
        kRemoveIfExists,     // "删除（没有时放弃）"
    };

    CQLTGroupOperate() = default;
    virtual ~CQLTGroupOperate();

    // 1 on success, 0 when the rule is unknown, the name is empty or the group is missing (rules 3
    // and 5), exists already (rule 1), or cannot be opened.
    int Apply(const CString& strGroupName, int nGroupMode, const AcDbObjectIdArray& arrIds);
    // The group stored under the name in the working drawing's group dictionary, created with the host's
    // defaults when missing; the null id for an empty name or a dictionary that cannot be opened.
    AcDbObjectId FindOrCreateGroup(const CString& strGroupName);
    // The group opened for write, or null.
    AcDbGroup* OpenGroupForWrite(AcDbObjectId groupId);

private:
    // The group stored under the name; without bCreate the dictionary is only read and a missing group
    // gives the null id.
    AcDbObjectId LookUpGroup(const CString& strGroupName, bool bCreate);
};
