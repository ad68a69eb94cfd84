// Message boxes of the desktop host: the host's message-box service shown as Qt message boxes, owned
// by the window the caller names or else by the main window.
#pragma once

#include "platform/message_box.h"

namespace cad::gui {

class QtMessageBoxService final : public platform::MessageBoxService {
public:
    int show(const platform::MessageBoxRequest& request) override;
};

} // namespace cad::gui
