// Documents and the document manager. The manager also defines the system variables that mirror the
// current drawing (CTAB, DWGNAME, UCSORG, ...), since only it knows which drawing is current.

#include "cad/app/document_manager.h"

#include "cad/app/module_manager.h"
#include "cad/app/undo_commands.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/undo_log.h"
#include "cad/ed/layouts.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "platform/code_page.h"

#include <algorithm>
#include <functional>

namespace {

HWND mainWindow = nullptr;

using cad::ed::VariableValue;

bool isPaperSpace(AcApDocument& document) {
    const AcDbDatabase& database = *document.database();
    return database.currentSpaceId() != database.modelSpaceId();
}

cad::ed::UserCoordinateSystem currentUserSystem(AcApDocument& document) {
    return cad::ed::userCoordinateSystem(*document.database(), isPaperSpace(document));
}

bool setPoint(VariableValue& value, double x, double y, double z) {
    value.point[0] = x;
    value.point[1] = y;
    value.point[2] = z;
    return true;
}

bool setAxis(VariableValue& value, const AcGeVector3d& axis) {
    return setPoint(value, axis.x, axis.y, axis.z);
}

// The system variables that mirror the current drawing. Each reads (CTAB and CLAYER also write) the
// current document; with no drawing open they are not available.
struct DocumentVariable {
    const wchar_t* name;
    short type;
    bool (*read)(AcApDocument& document, VariableValue& value);
    bool (*write)(AcApDocument& document, const VariableValue& value);
};

constexpr DocumentVariable kDocumentVariables[] = {
    {L"CTAB", RTSTR,
     [](AcApDocument& document, VariableValue& value) {
         const AcDbDatabase& database = *document.database();
         value.text = cad::ed::layoutNameOfSpace(database, database.currentSpaceId());
         return true;
     },
     [](AcApDocument& document, const VariableValue& value) {
         AcDbDatabase& database = *document.database();
         return database.setCurrentSpace(cad::ed::spaceOfLayout(database, value.text));
     }},
    {L"TILEMODE", RTSHORT,
     [](AcApDocument& document, VariableValue& value) {
         value.integer = isPaperSpace(document) ? 0 : 1;
         return true;
     },
     nullptr},
    // Model space shows through viewport 2 of the model tab; a layout's own viewport is 1.
    {L"CVPORT", RTSHORT,
     [](AcApDocument& document, VariableValue& value) {
         value.integer = isPaperSpace(document) ? 1 : 2;
         return true;
     },
     nullptr},
    {L"CLAYER", RTSTR,
     [](AcApDocument& document, VariableValue& value) {
         const AcDbDatabase& database = *document.database();
         const AcDbLayerTableRecord* layer =
             AcDbLayerTableRecord::cast(database.peekObject(database.clayer()));
         if (layer == nullptr) {
             return false;
         }
         value.text = layer->name();
         return true;
     },
     [](AcApDocument& document, const VariableValue& value) {
         AcDbDatabase& database = *document.database();
         const AcDbLayerTableRecord* layer = AcDbLayerTableRecord::cast(
             database.peekObject(database.recordIdByName(database.layerTableId(), value.text)));
         if (layer == nullptr) {
             return false;
         }
         cad::db::HeaderVariable variable;
         variable.name = "$CLAYER";
         variable.values.emplace_back(
             cad::dxf::Tag::makeString(8, database.textCodec().encode(layer->name())));
         database.setHeaderVariable(std::move(variable));
         return true;
     }},
    {L"DWGNAME", RTSTR,
     [](AcApDocument& document, VariableValue& value) {
         value.text = platform::utf8ToWide(document.path().filename().string());
         return true;
     },
     nullptr},
    {L"DWGPREFIX", RTSTR,
     [](AcApDocument& document, VariableValue& value) {
         std::string folder = document.path().parent_path().string();
         if (!folder.empty() && folder.back() != '/') {
             folder.push_back('/');
         }
         value.text = platform::utf8ToWide(folder);
         return true;
     },
     nullptr},
    {L"UCSORG", RT3DPOINT,
     [](AcApDocument& document, VariableValue& value) {
         const AcGePoint3d origin = currentUserSystem(document).origin;
         return setPoint(value, origin.x, origin.y, origin.z);
     },
     nullptr},
    {L"UCSXDIR", RT3DPOINT,
     [](AcApDocument& document, VariableValue& value) {
         return setAxis(value, currentUserSystem(document).xAxis);
     },
     nullptr},
    {L"UCSYDIR", RT3DPOINT,
     [](AcApDocument& document, VariableValue& value) {
         return setAxis(value, currentUserSystem(document).yAxis);
     },
     nullptr},
    {L"WORLDUCS", RTSHORT,
     [](AcApDocument& document, VariableValue& value) {
         value.integer = currentUserSystem(document).isWorld() ? 1 : 0;
         return true;
     },
     nullptr},
    {L"VIEWCTR", RT3DPOINT,
     [](AcApDocument& document, VariableValue& value) {
         return setPoint(value, document.view().center[0], document.view().center[1], 0.0);
     },
     nullptr},
    {L"VIEWSIZE", RTREAL,
     [](AcApDocument& document, VariableValue& value) {
         value.real = document.view().height;
         return true;
     },
     nullptr},
};

// The one place where these variables meet the current document.
void defineDocumentVariables(AcApDocManager& manager) {
    auto& variables = cad::ed::SystemVariables::instance();
    for (const DocumentVariable& variable : kDocumentVariables) {
        const auto read = variable.read;
        const auto write = variable.write;
        std::function<bool(const VariableValue&)> setter;
        if (write != nullptr) {
            setter = [&manager, write](const VariableValue& value) {
                AcApDocument* document = manager.curDocument();
                return document != nullptr && write(*document, value);
            };
        }
        variables.defineBound(
            variable.name, variable.type,
            [&manager, read](VariableValue& value) {
                AcApDocument* document = manager.curDocument();
                return document != nullptr && read(*document, value);
            },
            std::move(setter));
    }
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
    m_queued.append(text, echo);
    return Acad::eOk;
}

std::optional<AcApDocManager::QueuedLine> AcApDocManager::takeQueuedLine() {
    return m_queued.take();
}

std::vector<AcApDocument*> AcApDocManager::documents() const {
    std::vector<AcApDocument*> open;
    for (const auto& document : m_documents) {
        open.push_back(document.get());
    }
    return open;
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
    // Every closing drawing tells the modules, each while it is the current one.
    AcApDocument* const previous = m_current;
    setCurrentDocument(document);
    cad::app::ModuleManager::instance().broadcast(AcRx::kUnloadDwgMsg);
    m_documents.erase(found);
    if (previous == document) {
        setCurrentDocument(m_documents.empty() ? nullptr : m_documents.back().get());
    } else {
        setCurrentDocument(previous);
    }
}

void AcApDocManager::closeAll() {
    while (!m_documents.empty()) {
        closeDocument(m_documents.back().get());
    }
    m_queued.clear();
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
