// Documents: each open drawing with its database, its editor state and its view, the document manager
// that knows the current one, queues text to run as typed input, keeps the module resource stack and
// the document locks, and the host's main window (none in console mode).
#pragma once

#include "cad/db/database.h"
#include "cad/ed/command_line.h"
#include "cad/ed/editor_state.h"
#include "platform/export.h"
#include "platform/mfc_types.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using HINSTANCE = void*;

namespace AcAp {
enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
};
} // namespace AcAp

// What the drawing's view shows: a centre and a height in drawing units (ZOOM changes it).
struct DocumentView {
    double center[2] = {0.0, 0.0};
    double height = 1.0;
};

class QUELTO_EXPORT AcApDocument {
public:
    AcApDocument(std::unique_ptr<AcDbDatabase> database, std::filesystem::path path);
    ~AcApDocument();
    AcApDocument(const AcApDocument&) = delete;
    AcApDocument& operator=(const AcApDocument&) = delete;

    const ACHAR* fileName() const { return m_fileName.c_str(); }
    AcDbDatabase* database() const { return m_database.get(); }
    AcAp::DocLockMode lockMode() const { return m_locks > 0 ? AcAp::kWrite : AcAp::kNotLocked; }

    const std::filesystem::path& path() const { return m_path; }
    void setPath(std::filesystem::path path);
    cad::ed::EditorState& editor() { return m_editor; }
    DocumentView& view() { return m_view; }
    int lockCount() const { return m_locks; }

private:
    friend class AcApDocManager;
    std::unique_ptr<AcDbDatabase> m_database;
    std::filesystem::path m_path;
    std::wstring m_fileName;
    cad::ed::EditorState m_editor;
    DocumentView m_view;
    int m_locks = 0;
};

class QUELTO_EXPORT AcApDocManager {
public:
    AcApDocManager();
    ~AcApDocManager();

    AcApDocument* curDocument() const { return m_current; }
    AcApDocument* mdiActiveDocument() const { return m_current; }
    int documentCount() const { return static_cast<int>(m_documents.size()); }

    Acad::ErrorStatus lockDocument(AcApDocument* document, AcAp::DocLockMode mode = AcAp::kWrite,
                                   const ACHAR* globalCommandName = nullptr,
                                   const ACHAR* localCommandName = nullptr, bool prompt = true);
    Acad::ErrorStatus unlockDocument(AcApDocument* document);

    // Queues the text as if typed into the document's command line: a newline ends each answer, and so
    // does a blank except at a prompt that takes blanks ("_.ERASE _P " or "QS "). It runs once the current
    // command has returned.
    Acad::ErrorStatus sendStringToExecute(AcApDocument* document, const ACHAR* text, bool activate = true,
                                          bool wrapUpInactiveDocument = false, bool echo = true);

    // Module resources for dialogs and menus: pushed around their use, popped after.
    void pushResourceHandle(HINSTANCE module);
    void pushAcadResourceHandle();
    void popResourceHandle();
    HINSTANCE currentResourceHandle() const;

    // Host side: opening, creating and closing drawings.
    AcApDocument* openDocument(const std::filesystem::path& path, std::string& error);
    AcApDocument* newDocument();
    void closeDocument(AcApDocument* document);
    void closeAll();
    void setCurrentDocument(AcApDocument* document);

    // The next queued answer of the current document, with whether it is to be echoed.
    using QueuedLine = cad::ed::TypedInput::Answer;
    std::optional<QueuedLine> takeQueuedLine();
    // The open documents, in the order they were opened.
    std::vector<AcApDocument*> documents() const;

private:
    std::vector<std::unique_ptr<AcApDocument>> m_documents;
    AcApDocument* m_current = nullptr;
    cad::ed::TypedInput m_queued;
    std::vector<HINSTANCE> m_resources;
};

QUELTO_EXPORT AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
QUELTO_EXPORT AcApDocument* curDoc();

// The host's main window as the parent of module dialogs (the desktop host's QWidget), null in console
// mode.
QUELTO_EXPORT HWND acedGetAcadFrame();
namespace cad::app {
QUELTO_EXPORT void setMainWindow(HWND window);
} // namespace cad::app
