// CSelEntApp: the module's application object. The host's load message registers the command QS, the
// right-click entries and prints the start-up banner; the unload message takes them away again.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"

class CSelEntApp {
public:
    // The module may be unloaded while the host runs, and it works with several drawings at once.
    static constexpr bool Unloadable = true;
    static constexpr bool MultipleDocuments = true;

    AcRx::AppRetCode On_kInitAppMsg(void* packet);
    AcRx::AppRetCode On_kUnloadAppMsg(void* packet);
    AcRx::AppRetCode HandleMessage(AcRx::AppMsgCode message, void* packet);

    // The command-line banner printed at load, every line ending in "\n".
    static CString StartupBanner();

private:
    void* m_applicationId = nullptr;
};
