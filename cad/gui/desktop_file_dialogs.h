// The desktop host's file dialogs for host commands (APPLOAD, ARX Load): Qt's file dialog over the
// main window, with FILEDIA on while the window runs, as CAD programs start.
#pragma once

#include "cad/app/file_dialogs.h"

namespace cad::gui {

// Shows a file dialog for an existing file; Cancel when the drafter closes it without one.
ed::PromptAnswer chooseFileWithDialog(const app::FileRequest& request);

// Installs the dialog and turns FILEDIA on; both go back to what they were at the end of the scope.
class ScopedDesktopFileDialogs {
public:
    ScopedDesktopFileDialogs();
    ~ScopedDesktopFileDialogs();
    ScopedDesktopFileDialogs(const ScopedDesktopFileDialogs&) = delete;
    ScopedDesktopFileDialogs& operator=(const ScopedDesktopFileDialogs&) = delete;

private:
    app::FileChooser m_previousChooser;
    int m_previousFileDia = 0;
};

} // namespace cad::gui
