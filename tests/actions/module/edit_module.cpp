// A loadable module for the console-host test of the batch edits: QLTMIRROR mirrors the entities on
// layer "A" in the line at 45 degrees through the origin, QLTGROUP puts them into the group "编辑组"
// (appending, creating it when missing), both through the module's own classes as QS runs them; QLTLISTGROUP
// prints the group's members.
#include "cad/app/host_api.h"
#include "quelto/actions/extend_command.h"
#include "quelto/actions/qlt_group_operate.h"

namespace {

AcDbObjectIdArray entitiesOnLayerA() {
    AcDbObjectIdArray ids;
    resbuf* filter = acutBuildList(8, L"A", 0);
    ads_name set;
    if (acedSSGet(L"X", nullptr, nullptr, filter, set) == RTNORM) {
        std::int32_t length = 0;
        acedSSLength(set, &length);
        for (std::int32_t index = 0; index < length; ++index) {
            ads_name entity;
            AcDbObjectId id;
            if (acedSSName(set, index, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk) {
                ids.append(id);
            }
        }
        acedSSFree(set);
    }
    acutRelRb(filter);
    return ids;
}

void mirrorCommand() {
    CExtendCommand command;
    command.m_bHasCmd = 1;
    command.m_bHasPrompt = 0;
    command.m_nDoType = CExtendCommand::kMirror;
    command.m_nPosIndex = 9;
    command.m_bHasOffset = 0;
    command.m_dAxiusA = 45.0;
    command.SetIdArray(entitiesOnLayerA());
    command.Run();
}

void groupCommand() {
    CQLTGroupOperate().Apply(L"编辑组", CQLTGroupOperate::kAppendOrCreate, entitiesOnLayerA());
}

// Prints the handles of the members of "编辑组", as the drawing holds them.
void listGroupCommand() {
    AcDbDictionary* groups = nullptr;
    if (acdbHostApplicationServices()->workingDatabase()->getGroupDictionary(groups, AcDb::kForRead) !=
        Acad::eOk) {
        return;
    }
    AcDbObject* object = nullptr;
    if (groups->getAt(L"编辑组", object, AcDb::kForRead) == Acad::eOk) {
        AcDbObjectIdArray members;
        AcDbGroup::cast(object)->allEntityIds(members);
        acutPrintf(L"编辑组:");
        for (const AcDbObjectId& id : members) {
            acutPrintf(L" %S", id.handle().toHex().c_str());
        }
        acutPrintf(L"\n");
        object->close();
    }
    groups->close();
}

} // namespace

extern "C" QUELTO_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet) {
    if (message == AcRx::kInitAppMsg) {
        acrxUnlockApplication(packet);
        acedRegCmds->addCommand(L"QLTACTIONSTEST", L"QLTMIRROR", L"QLTMIRROR", ACRX_CMD_MODAL, mirrorCommand);
        acedRegCmds->addCommand(L"QLTACTIONSTEST", L"QLTGROUP", L"QLTGROUP", ACRX_CMD_MODAL, groupCommand);
        acedRegCmds->addCommand(L"QLTACTIONSTEST", L"QLTLISTGROUP", L"QLTLISTGROUP", ACRX_CMD_MODAL,
                                listGroupCommand);
    } else if (message == AcRx::kUnloadAppMsg) {
        acedRegCmds->removeGroup(L"QLTACTIONSTEST");
    }
    return AcRx::kRetOK;
}

extern "C" QUELTO_EXPORT int acrxGetApiVersion() {
    return 17;
}
