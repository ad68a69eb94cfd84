// The desktop host's clipboard service: the platform clipboard calls of host and module answered by
// Qt's clipboard, so text copied in other programs reaches the formula functions and back.
#pragma once

#include "platform/clipboard.h"

namespace cad::gui {

class QtClipboardService final : public platform::ClipboardService {
public:
    // Needs a QGuiApplication; without one every call answers false.
    bool readText(std::wstring& text) override;
    bool writeText(const std::wstring& text) override;
};

} // namespace cad::gui
