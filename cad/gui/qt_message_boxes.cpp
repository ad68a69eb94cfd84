// The Windows box styles map onto QMessageBox: the button set from the low bits, the icon from the
// next, and the answer back to the ID that the caller compares with.

#include "cad/gui/qt_message_boxes.h"

#include "cad/app/document_manager.h"

#include <QMessageBox>

namespace cad::gui {

int QtMessageBoxService::show(const platform::MessageBoxRequest& request) {
    auto* owner = static_cast<QWidget*>(request.owner != nullptr ? request.owner : acedGetAcadFrame());
    QMessageBox box(owner);
    box.setWindowTitle(QString::fromStdWString(request.caption));
    box.setText(QString::fromStdWString(request.text));
    switch (request.icon()) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (request.buttons()) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return request.buttons() == MB_YESNO ? IDNO : IDOK;
    }
}

} // namespace cad::gui
