// Qt's file dialog behind the host's file chooser, and the FILEDIA setting that lets commands use it.
#include "cad/gui/desktop_file_dialogs.h"

#include "cad/app/document_manager.h"
#include "cad/ed/system_variables.h"

#include <QFileDialog>

namespace cad::gui {

namespace {

int fileDia() {
    ed::VariableValue value;
    return ed::SystemVariables::instance().getValue(L"FILEDIA", value) ? value.integer : 0;
}

void setFileDia(int value) {
    resbuf buffer{};
    buffer.restype = RTSHORT;
    buffer.resval.rint = static_cast<short>(value);
    ed::SystemVariables::instance().set(L"FILEDIA", &buffer);
}

} // namespace

ed::PromptAnswer chooseFileWithDialog(const app::FileRequest& request) {
    QFileDialog dialog(static_cast<QWidget*>(acedGetAcadFrame()), QString::fromStdWString(request.title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdWString(request.filter));
    ed::PromptAnswer answer;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        answer.kind = ed::PromptAnswer::Kind::Text;
        answer.text = dialog.selectedFiles().constFirst().toStdWString();
    }
    return answer;
}

ScopedDesktopFileDialogs::ScopedDesktopFileDialogs()
    : m_previousChooser(app::setFileChooser(chooseFileWithDialog)), m_previousFileDia(fileDia()) {
    setFileDia(1);
}

ScopedDesktopFileDialogs::~ScopedDesktopFileDialogs() {
    setFileDia(m_previousFileDia);
    app::setFileChooser(std::move(m_previousChooser));
}

} // namespace cad::gui
