// The module's entry: the exported acrxEntryPoint and acrxGetApiVersion, the command table and the
// start-up sequence (menus, banner, information dialog).
#include "quelto/host/sel_ent_app.h"

#include "quelto/filter/qlt_system_param.h"
#include "quelto/host/qlt_ed_ui_context_menu.h"
#include "quelto/host/quick_sel_ent_cmd.h"
#include "quelto/ui/modal_dialog.h"
#include "quelto/ui/module_info.h"
#include "quelto/ui/settings_sheet.h"

namespace {

constexpr const wchar_t* kCommandGroup = L"QUELTOS";
constexpr const wchar_t* kGlobalCommandName = L"QLT_QS";
constexpr const wchar_t* kLocalCommandName = L"QS";

void quickSelectCommand() {
    CQuickSelEntCmd command;
    command.DoQuickSelect();
}

// The handled messages are those below kSuspendMsg; anything else is answered at once.
constexpr int kHandledMessageCount = 16;

CSelEntApp application;

} // namespace

CString CSelEntApp::StartupBanner() {
    const CString stars(71, L'*');
    CString banner = L"\n";
    banner += stars + L"\n" + stars + L"\n";
    banner += L"**" + ModuleProductName() + ModuleVersionText() + L"已经加载，启动命令QS" +
              CString(12, L' ') + L"**\n";
    banner += stars + L"\n" + stars + L"\n";
    return banner;
}

AcRx::AppRetCode CSelEntApp::On_kInitAppMsg(void* packet) {
    if (Unloadable) {
        acrxUnlockApplication(packet);
    }
    if (MultipleDocuments) {
        acrxRegisterAppMDIAware(packet);
    }
    acedRegCmds->addCommand(kCommandGroup, kGlobalCommandName, kLocalCommandName,
                            ACRX_CMD_USEPICKSET | ACRX_CMD_REDRAW, quickSelectCommand);

    m_applicationId = packet;
    SetContextMenuApplicationId(packet);
    SetContextMenuSynchroniser([] { SyncContextMenus(); });
    SyncContextMenus();
    acutPrintf(L"%s", StartupBanner().c_str());
    if (CQLTSystemParam().GetInitShow() != 0) {
        ShowStartupInfoDialog(HostMainWindow());
    }
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSelEntApp::On_kUnloadAppMsg(void*) {
    acedRegCmds->removeCmd(kCommandGroup, kGlobalCommandName);
    RemoveContextMenus();
    SetContextMenuSynchroniser(nullptr);
    SetContextMenuApplicationId(nullptr);
    m_applicationId = nullptr;
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSelEntApp::HandleMessage(AcRx::AppMsgCode message, void* packet) {
    switch (message) {
    case AcRx::kInitAppMsg:
        return On_kInitAppMsg(packet);
    case AcRx::kUnloadAppMsg:
        return On_kUnloadAppMsg(packet);
    default:
        // Drawings opening or closing and function calls concern LISP functions, and there are none.
        return AcRx::kRetOK;
    }
}

extern "C" QUELTO_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet) {
    if (static_cast<int>(message) < 0 || static_cast<int>(message) >= kHandledMessageCount) {
        return AcRx::kRetOK;
    }
    return application.HandleMessage(message, packet);
}

extern "C" QUELTO_EXPORT int acrxGetApiVersion() {
    return cad::app::kHostApiVersion;
}
