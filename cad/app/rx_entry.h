// What a loadable module exports and what the host sends it: the application messages and answers of
// acrxEntryPoint, the interface version a module reports through acrxGetApiVersion, and the calls by
// which a module lets itself be unloaded and declares that it works with several drawings.
#pragma once

#include "platform/export.h"

namespace AcRx {
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
} // namespace AcRx

namespace cad::app {
// The interface version of this host (the R17 series the module is written for). A module built for
// another version is refused.
inline constexpr int kHostApiVersion = 17;
} // namespace cad::app

// The module's side, resolved by name with dlsym:
//   extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet);
//   extern "C" int acrxGetApiVersion();
using AcrxEntryPointFunction = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
using AcrxGetApiVersionFunction = int (*)();

// A module starts locked (it cannot be unloaded while the host runs) until it unlocks itself with the
// packet of its load message.
QUELTO_EXPORT bool acrxUnlockApplication(void* packet);
QUELTO_EXPORT bool acrxLockApplication(void* packet);
QUELTO_EXPORT bool acrxApplicationIsLocked(const char* moduleName);
QUELTO_EXPORT bool acrxRegisterAppMDIAware(void* packet);
QUELTO_EXPORT bool acrxRegisterAppNotMDIAware(void* packet);
