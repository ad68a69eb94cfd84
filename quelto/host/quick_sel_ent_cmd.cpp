// One run of QS: the template entity (a pick-first set of one, or a pick), the main dialog over the
// host's main window with the module's resources current, then the selection with the record the dialog
// assembled: host filter, candidates, extended filter, grouping, pick-first set, report or edit command.
#include "quelto/host/quick_sel_ent_cmd.h"

#include "cad/app/host_api.h"
#include "quelto/actions/extend_command.h"
#include "quelto/actions/qlt_group_operate.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/matching/second_stage.h"
#include "quelto/ui/modal_dialog.h"
#include "quelto/ui/sel_ent_main.h"

#include <dlfcn.h>

namespace {

const wchar_t* const kTemplatePrompt = L"请选择模板实体(直接会车忽略模板实体):";

// The module's own resource handle: the base address of the library this code lives in.
HINSTANCE moduleHandle() {
    static const int kAnchor = 0;
    Dl_info info{};
    return dladdr(&kAnchor, &info) != 0 ? info.dli_fbase : nullptr;
}

// A pick-first set of exactly one entity is the template, and the set is cleared; any other set stays.
AcDbObjectId templateFromPickFirst() {
    AcDbObjectId templateId;
    ads_name pickFirst = {0, 0};
    if (acedSSGet(L"I", nullptr, nullptr, nullptr, pickFirst) != RTNORM) {
        return templateId;
    }
    std::int32_t length = 0;
    ads_name entity;
    if (acedSSLength(pickFirst, &length) == RTNORM && length == 1 &&
        acedSSName(pickFirst, 0, entity) == RTNORM && acdbGetObjectId(templateId, entity) == Acad::eOk) {
        acedSSSetFirst(nullptr, nullptr);
    }
    acedSSFree(pickFirst);
    return templateId;
}

AcDbObjectId templateFromPick() {
    ads_name entity;
    ads_point point;
    AcDbObjectId templateId;
    if (acedEntSel(kTemplatePrompt, entity, point) == RTNORM) {
        acdbGetObjectId(templateId, entity);
    }
    return templateId;
}

} // namespace

CQuickSelEntCmd::~CQuickSelEntCmd() = default;

BOOL CQuickSelEntCmd::DoQuickSelect() {
    AcDbObjectId templateId;
    CString templateType;
    if (CQLTSystemParam().GetStartTemp()) {
        templateId = templateFromPickFirst();
        if (templateId.isNull()) {
            templateId = templateFromPick();
        }
        if (!templateId.isNull()) {
            templateType = CInfoMapList::GetEntityDxfName(templateId);
        }
    }
    acDocManager->pushResourceHandle(moduleHandle());
    EnsureQtApplication();
    BOOL accepted = FALSE;
    {
        CSelEntMain dialog(static_cast<QWidget*>(acedGetAcadFrame()));
        dialog.SetTemplate(templateId, templateType);
        accepted = RunModalDialog(dialog) == QDialog::Accepted;
        if (accepted) {
            CExtendCommand command;
            dialog.CopyCommand(&command);
            DoFilterSelect(&dialog.GetFilter(), &command);
        }
    }
    acDocManager->popResourceHandle();
    return accepted;
}

void CQuickSelEntCmd::DoFilterSelect(CFilter* pFilter, CExtendCommand* pCommand) {
    if (pFilter == nullptr) {
        return;
    }
    const CInfoMapList catalogue;
    using quelto::matching::CandidateScope;
    const CandidateScope scope =
        pFilter->m_bSelectFromAll ? CandidateScope::wholeDrawing() : CandidateScope::userSelection();
    quelto::matching::SecondStageResult selection;
    if (!quelto::matching::runSecondStage(*pFilter, catalogue, scope, false, selection)) {
        acutPrintf(L"没有选择到任何实体\n");
        return;
    }
    CQLTGroupOperate().Apply(pFilter->m_strGroupName, pFilter->m_nGroupMode, selection.ids);
    const bool runsCommand = pCommand != nullptr && pCommand->m_bHasCmd;
    if (runsCommand) {
        pCommand->SetIdArray(selection.ids);
    }
    selection.ids.clear();
    std::int32_t length = 0;
    acedSSLength(selection.set, &length);
    acedSSSetFirst(selection.set, selection.set);
    acedSSFree(selection.set);
    if (runsCommand) {
        pCommand->Run();
    } else {
        acutPrintf(L"有效选择%ld个\n", static_cast<long>(length));
    }
}
