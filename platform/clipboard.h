// The clipboard behind one process-wide service, so that code in the module and in the host reaches
// the desktop host's clipboard without either depending on the window system. Without a service
// installed there is no clipboard: reads and writes answer false.
#pragma once

#include "platform/export.h"

#include <string>

namespace platform {

class QUELTO_EXPORT ClipboardService {
public:
    virtual ~ClipboardService();
    // True with the clipboard's text; false when it holds no text or cannot be read.
    virtual bool readText(std::wstring& text) = 0;
    // True when the text now is the clipboard's content.
    virtual bool writeText(const std::wstring& text) = 0;
};

// The installed service or null; setting returns the previous one so a scope can restore it.
QUELTO_EXPORT ClipboardService* setClipboardService(ClipboardService* service);
QUELTO_EXPORT ClipboardService* clipboardService();

// The installed service's text; false without a service.
QUELTO_EXPORT bool readClipboardText(std::wstring& text);
QUELTO_EXPORT bool writeClipboardText(const std::wstring& text);

// Installs a service for the lifetime of the object (the desktop host's run, tests).
class QUELTO_EXPORT ScopedClipboardService {
public:
    explicit ScopedClipboardService(ClipboardService& service) : m_previous(setClipboardService(&service)) {}
    ~ScopedClipboardService() { setClipboardService(m_previous); }
    ScopedClipboardService(const ScopedClipboardService&) = delete;
    ScopedClipboardService& operator=(const ScopedClipboardService&) = delete;

private:
    ClipboardService* m_previous;
};

} // namespace platform
