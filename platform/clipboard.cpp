// The process-wide clipboard service. Host and module run their clipboard calls on the command thread,
// but the pointer is atomic so a host may install its service from wherever it starts up.
#include "platform/clipboard.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<ClipboardService*> g_service{nullptr};

} // namespace

ClipboardService::~ClipboardService() = default;

ClipboardService* setClipboardService(ClipboardService* service) {
    return g_service.exchange(service);
}

ClipboardService* clipboardService() {
    return g_service.load();
}

bool readClipboardText(std::wstring& text) {
    ClipboardService* service = clipboardService();
    return service != nullptr && service->readText(text);
}

bool writeClipboardText(const std::wstring& text) {
    ClipboardService* service = clipboardService();
    return service != nullptr && service->writeText(text);
}

} // namespace platform
