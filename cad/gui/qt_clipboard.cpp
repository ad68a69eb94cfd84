// Qt's clipboard behind the platform service. Only plain text travels: the base library's clipboard
// functions read and write text, as the Windows clipboard's Unicode text format carries it.
#include "cad/gui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace cad::gui {

namespace {

QClipboard* applicationClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::clipboard()
               : nullptr;
}

} // namespace

bool QtClipboardService::readText(std::wstring& text) {
    QClipboard* clipboard = applicationClipboard();
    if (clipboard == nullptr) {
        return false;
    }
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasText()) {
        return false;
    }
    text = data->text().toStdWString();
    return true;
}

bool QtClipboardService::writeText(const std::wstring& text) {
    QClipboard* clipboard = applicationClipboard();
    if (clipboard == nullptr) {
        return false;
    }
    const QString wanted = QString::fromStdWString(text);
    clipboard->setText(wanted);
    // Another program may own the clipboard and refuse; only text that arrived counts as written.
    return clipboard->text() == wanted;
}

} // namespace cad::gui
