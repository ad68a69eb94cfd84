// How host commands ask for a file name: a file dialog when FILEDIA is 1 and the host has a window
// that installed one, else the command-line prompt. As in CAD programs, "~" typed at the prompt opens
// the dialog even with FILEDIA off. The console host installs nothing, so its scripts keep typing names.
#pragma once

#include "cad/ed/command_line.h"
#include "platform/export.h"

#include <functional>
#include <string>
#include <string_view>

namespace cad::app {

struct FileRequest {
    std::wstring title;
    std::wstring filter; // as file dialogs take it: "Modules (*.so)"
};

// Answers Text with the chosen path, or Cancel when the drafter closes the dialog without one.
using FileChooser = std::function<ed::PromptAnswer(const FileRequest& request)>;

// Installs the chooser (an empty one removes it) and returns the one installed before.
QUELTO_EXPORT FileChooser setFileChooser(FileChooser chooser);

QUELTO_EXPORT ed::PromptAnswer askForFile(std::wstring_view prompt, const FileRequest& request);

} // namespace cad::app
