// A loadable module for the host's tests, written the way a real module is: it registers a command and a
// default context menu on its load message and removes both on its unload message; it notes the drawing
// messages it receives for the tests to read. Built three ways:
// as is, reporting another interface version, and without entry points at all.

#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/document_manager.h"
#include "cad/app/rx_entry.h"
#include "cad/ed/command_line.h"
#include "cad/ed/selection_set.h"

#ifndef TEST_MODULE_API_VERSION
#define TEST_MODULE_API_VERSION 17
#endif

#ifndef TEST_MODULE_WITHOUT_ENTRY_POINTS
namespace {

// HELLO: counts the entities on layer "0" of the whole drawing, or, with a pick-first set, those of it.
void helloCommand() {
    resbuf* filter = acutBuildList(8, L"0", 0);
    ads_name set;
    const int result = acedSSGet(nullptr, nullptr, nullptr, filter, set);
    acutRelRb(filter);
    std::int32_t count = 0;
    if (result == RTNORM) {
        acedSSLength(set, &count);
        acedSSFree(set);
    }
    acutPrintf(L"HELLO found %ld\n", count);
}

class HelloMenu final : public AcEdUIContext {
public:
    HelloMenu() { m_menu.children.push_back({L"Hello", 32768, {}}); }
    void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override { return &m_menu; }
    void onCommand(std::uint32_t commandId) override {
        if (commandId == 32768) {
            acDocManager->sendStringToExecute(acDocManager->curDocument(), L"HELLO\n", false, true);
        }
    }

private:
    cad::app::MenuItem m_menu;
};

HelloMenu menu;

// The drawing messages received, for the host's tests to read: "+name" opened, "-name" closed.
std::wstring drawingMessages;

} // namespace

extern "C" QUELTO_EXPORT const wchar_t* testModuleDrawingMessages() {
    return drawingMessages.c_str();
}

extern "C" QUELTO_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* packet) {
    switch (message) {
    case AcRx::kInitAppMsg:
        drawingMessages.clear();
        acrxUnlockApplication(packet);
        acrxRegisterAppMDIAware(packet);
        acedRegCmds->addCommand(L"QTESTGROUP", L"QTEST_HELLO", L"HELLO", ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET,
                                helloCommand);
        acedAddDefaultContextMenu(&menu, packet, L"Test");
        acutPrintf(L"test module loaded\n");
        break;
    case AcRx::kLoadDwgMsg:
    case AcRx::kUnloadDwgMsg:
        drawingMessages +=
            (message == AcRx::kLoadDwgMsg ? L"+" : L"-") + std::wstring(curDoc()->fileName()) + L" ";
        break;
    case AcRx::kUnloadAppMsg:
        acedRegCmds->removeCmd(L"QTESTGROUP", L"QTEST_HELLO");
        acedRemoveDefaultContextMenu(&menu);
        acutPrintf(L"test module unloaded\n");
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

extern "C" QUELTO_EXPORT int acrxGetApiVersion() {
    return TEST_MODULE_API_VERSION;
}
#else
extern "C" QUELTO_EXPORT int notAHostModule() {
    return 0;
}
#endif
