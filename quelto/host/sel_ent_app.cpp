// The module's entry point: on load it registers the command QS, on unload it removes it.
#include "cad/app/host_api.h"
#include "quelto/host/quick_sel_ent_cmd.h"

namespace {

void quickSelectCommand() {
    CQuickSelEntCmd command;
    command.DoQuickSelect();
}

} // namespace

extern "C" QUELTO_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet) {
    switch (message) {
    case AcRx::kInitAppMsg:
        acrxUnlockApplication(packet);
        acrxRegisterAppMDIAware(packet);
        acedRegCmds->addCommand(L"QUELTOS", L"QLT_QS", L"QS", ACRX_CMD_USEPICKSET | ACRX_CMD_REDRAW,
                                quickSelectCommand);
        break;
    case AcRx::kUnloadAppMsg:
        acedRegCmds->removeCmd(L"QUELTOS", L"QLT_QS");
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

extern "C" QUELTO_EXPORT int acrxGetApiVersion() {
    return cad::app::kHostApiVersion;
}
