// The file chooser a windowed host installs, and the choice between it and the prompt.
#include "cad/app/file_dialogs.h"

#include "cad/ed/system_variables.h"

#include <utility>

namespace cad::app {

namespace {

FileChooser& installedChooser() {
    static FileChooser chooser;
    return chooser;
}

bool fileDialogsOn() {
    ed::VariableValue value;
    return ed::SystemVariables::instance().getValue(L"FILEDIA", value) && value.integer == 1;
}

} // namespace

FileChooser setFileChooser(FileChooser chooser) {
    std::swap(installedChooser(), chooser);
    return chooser;
}

ed::PromptAnswer askForFile(std::wstring_view prompt, const FileRequest& request) {
    const FileChooser& chooser = installedChooser();
    if (chooser && fileDialogsOn()) {
        return chooser(request);
    }
    ed::PromptAnswer answer = ed::prompt(prompt, true);
    if (chooser && answer.kind == ed::PromptAnswer::Kind::Text && answer.text == L"~") {
        return chooser(request);
    }
    return answer;
}

} // namespace cad::app
