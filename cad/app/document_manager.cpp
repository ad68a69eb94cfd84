// Documents and the document manager. The manager also defines the system variables that mirror the
// current drawing (CTAB, DWGNAME, UCSORG, ...), since only it knows which drawing is current.

#include "cad/app/document_manager.h"

#include "cad/app/layouts.h"
#include "cad/app/module_manager.h"
#include "cad/app/undo_commands.h"
#include "cad/db/undo_log.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "platform/code_page.h"

#include <algorithm>

namespace {

HWND mainWindow = nullptr;

bool isPaperSpace(AcApDocument& document) {
    return cad::ed::currentSpaceOf(document.editor()) != document.database()->modelSpaceId();
}

void defineDocumentVariables(AcApDocManager& manager) {
    using cad::ed::VariableValue;
    auto& variables = cad::ed::SystemVariables::instance();
    const auto current = [&manager]() { return manager.curDocument(); };
    variables.defineBound(
        L"CTAB", RTSTR,
        [current](VariableValue& value) {
            AcApDocument* document = current();
            if (document == nullptr) {
                return false;
            }
            value.text = cad::app::layoutNameOfSpace(*document->database(),
                                                     cad::ed::currentSpaceOf(document->editor()));
            return true;
        },
        [current](const VariableValue& value) {
            AcApDocument* document = current();
            if (document == nullptr) {
                return false;
            }
            const AcDbObjectId space = cad::app::spaceOfLayout(*document->database(), value.text);
            if (space.isNull()) {
                return false;
            }
            document->editor().currentSpace = space;
            return true;
        });
    variables.defineBound(L"TILEMODE", RTSHORT, [current](VariableValue& value) {
        AcApDocument* document = current();
        value.integer = document != nullptr && isPaperSpace(*document) ? 0 : 1;
        return document != nullptr;
    });
    variables.defineBound(L"DWGNAME", RTSTR, [current](VariableValue& value) {
        AcApDocument* document = current();
        if (document == nullptr) {
            return false;
        }
        value.text = platform::utf8ToWide(document->path().filename().string());
        return true;
    });
    variables.defineBound(L"DWGPREFIX", RTSTR, [current](VariableValue& value) {
        AcApDocument* document = current();
        if (document == nullptr) {
            return false;
        }
        std::string folder = document->path().parent_path().string();
        if (!folder.empty() && folder.back() != '/') {
            folder.push_back('/');
        }
        value.text = platform::utf8ToWide(folder);
        return true;
    });
    const auto ucsPoint = [current](int which) {
        return [current, which](VariableValue& value) {
            AcApDocument* document = current();
            if (document == nullptr) {
                return false;
            }
            const cad::ed::UserCoordinateSystem system =
                cad::ed::userCoordinateSystem(*document->database(), isPaperSpace(*document));
            const double* source = which == 0 ? system.origin : which == 1 ? system.xAxis : system.yAxis;
            std::copy(source, source + 3, value.point);
            return true;
        };
    };
    variables.defineBound(L"UCSORG", RT3DPOINT, ucsPoint(0));
    variables.defineBound(L"UCSXDIR", RT3DPOINT, ucsPoint(1));
    variables.defineBound(L"UCSYDIR", RT3DPOINT, ucsPoint(2));
    variables.defineBound(L"WORLDUCS", RTSHORT, [current](VariableValue& value) {
        AcApDocument* document = current();
        if (document == nullptr) {
            return false;
        }
        value.integer =
            cad::ed::userCoordinateSystem(*document->database(), isPaperSpace(*document)).isWorld() ? 1 : 0;
        return true;
    });
    variables.defineBound(L"VIEWCTR", RT3DPOINT, [current](VariableValue& value) {
        AcApDocument* document = current();
        if (document == nullptr) {
            return false;
        }
        value.point[0] = document->view().center[0];
        value.point[1] = document->view().center[1];
        value.point[2] = 0.0;
        return true;
    });
    variables.defineBound(L"VIEWSIZE", RTREAL, [current](VariableValue& value) {
        AcApDocument* document = current();
        if (document == nullptr) {
            return false;
        }
        value.real = document->view().height;
        return true;
    });
}

} // namespace

AcApDocument::AcApDocument(std::unique_ptr<AcDbDatabase> database, std::filesystem::path path)
    : m_database(std::move(database)) {
    m_editor.database = m_database.get();
    m_database->enableUndo().setStepLimit(cad::app::undoStepLimit());
    setPath(std::move(path));
}

AcApDocument::~AcApDocument() = default;

void AcApDocument::setPath(std::filesystem::path path) {
    m_path = std::move(path);
    m_fileName = platform::utf8ToWide(m_path.string());
}

AcApDocManager::AcApDocManager() {
    defineDocumentVariables(*this);
}

AcApDocManager::~AcApDocManager() {
    // At process exit the modules are gone already (the host unloads them first): no messages here.
    cad::ed::setCurrentEditor(nullptr);
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* document, AcAp::DocLockMode mode, const ACHAR*,
                                               const ACHAR*, bool) {
    if (document == nullptr) {
        return Acad::eNullObjectPointer;
    }
    ++document->m_locks;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* document) {
    if (document == nullptr) {
        return Acad::eNullObjectPointer;
    }
    if (document->m_locks == 0) {
        return Acad::eNotApplicable;
    }
    --document->m_locks;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* document, const ACHAR* text, bool, bool,
                                                      bool echo) {
    if (document == nullptr || text == nullptr) {
        return Acad::eInvalidInput;
    }
    for (const ACHAR* character = text; *character != L'\0'; ++character) {
        if (*character == L'\n' || *character == L'\r') {
            m_queue.push_back({m_partialQueuedLine, echo});
            m_partialQueuedLine.clear();
        } else {
            m_partialQueuedLine.push_back(*character);
        }
    }
    return Acad::eOk;
}

std::optional<AcApDocManager::QueuedLine> AcApDocManager::takeQueuedLine() {
    if (m_queue.empty()) {
        return std::nullopt;
    }
    QueuedLine line = std::move(m_queue.front());
    m_queue.pop_front();
    return line;
}

void AcApDocManager::pushResourceHandle(HINSTANCE module) {
    m_resources.push_back(module);
}

void AcApDocManager::pushAcadResourceHandle() {
    m_resources.push_back(nullptr);
}

void AcApDocManager::popResourceHandle() {
    if (!m_resources.empty()) {
        m_resources.pop_back();
    }
}

HINSTANCE AcApDocManager::currentResourceHandle() const {
    return m_resources.empty() ? nullptr : m_resources.back();
}

AcApDocument* AcApDocManager::openDocument(const std::filesystem::path& path, std::string& error) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        error = path.string() + ": no such drawing";
        return nullptr;
    }
    auto database = std::make_unique<AcDbDatabase>(false);
    cad::dxf::TagError readError;
    if (!database->readDxf(path, readError)) {
        error = readError.toString();
        if (error.empty()) {
            error = path.string() + ": cannot read the drawing";
        }
        return nullptr;
    }
    m_documents.push_back(std::make_unique<AcApDocument>(std::move(database), path));
    setCurrentDocument(m_documents.back().get());
    cad::app::ModuleManager::instance().broadcast(AcRx::kLoadDwgMsg);
    return m_current;
}

AcApDocument* AcApDocManager::newDocument() {
    m_documents.push_back(
        std::make_unique<AcApDocument>(std::make_unique<AcDbDatabase>(true), "Drawing1.dxf"));
    setCurrentDocument(m_documents.back().get());
    cad::app::ModuleManager::instance().broadcast(AcRx::kLoadDwgMsg);
    return m_current;
}

void AcApDocManager::closeDocument(AcApDocument* document) {
    const auto found =
        std::find_if(m_documents.begin(), m_documents.end(),
                     [document](const auto& candidate) { return candidate.get() == document; });
    if (found == m_documents.end()) {
        return;
    }
    if (m_current == document) {
        cad::app::ModuleManager::instance().broadcast(AcRx::kUnloadDwgMsg);
    }
    m_documents.erase(found);
    if (m_current == document) {
        setCurrentDocument(m_documents.empty() ? nullptr : m_documents.back().get());
    }
}

void AcApDocManager::closeAll() {
    while (!m_documents.empty()) {
        closeDocument(m_documents.back().get());
    }
    m_queue.clear();
    m_partialQueuedLine.clear();
}

void AcApDocManager::setCurrentDocument(AcApDocument* document) {
    m_current = document;
    cad::ed::setCurrentEditor(document != nullptr ? &document->editor() : nullptr);
}

AcApDocManager* acDocManagerPtr() {
    static AcApDocManager manager;
    return &manager;
}

AcApDocument* curDoc() {
    return acDocManagerPtr()->curDocument();
}

HWND acedGetAcadFrame() {
    return mainWindow;
}

namespace cad::app {
void setMainWindow(HWND window) {
    mainWindow = window;
}
} // namespace cad::app
