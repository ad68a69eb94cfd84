// The host's own commands: drawings (OPEN, SAVE, SAVEAS, QSAVE, QUIT), the view (ZOOM), the user
// coordinate system (UCS), variables (SETVAR), objects (LIST, SELECT, ERASE) and modules (ARX, APPLOAD).
// They prompt like the host's commands do, so scripts written for one read naturally for the other.

#include "cad/app/command_processor.h"
#include "cad/app/command_stack.h"
#include "cad/app/document_manager.h"
#include "cad/app/file_dialogs.h"
#include "cad/app/module_manager.h"
#include "cad/app/startup_modules.h"
#include "cad/app/undo_commands.h"
#include "cad/db/db_entity.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/entity_geometry.h"
#include "cad/ed/entity_subject.h"
#include "cad/ed/layouts.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "platform/angle_units.h"
#include "platform/code_page.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <cmath>

namespace cad::app {
namespace {

void write(const std::wstring& text) {
    ed::commandLine().write(text);
}

// Commands that work on the current drawing are registered through this, the one place that says so
// when no drawing is open.
template <void (*Command)(AcApDocument&)>
void onCurrentDocument() {
    AcApDocument* document = acDocManager->curDocument();
    if (document == nullptr) {
        write(L"No drawing is open.\n");
        return;
    }
    Command(*document);
}

std::wstring number(double value) {
    std::wstring text = platform::formatWide(L"%.4f", value);
    while (text.size() > 1 && text.back() == L'0') {
        text.pop_back();
    }
    if (text.back() == L'.') {
        text.pop_back();
    }
    return text;
}

// A point typed at the prompt, as typed (the caller decides which system it is in).
bool promptPoint(const std::wstring& text, AcGePoint3d& point, bool& entered) {
    entered = false;
    while (true) {
        const ed::PromptAnswer answer = ed::prompt(text);
        if (answer.kind == ed::PromptAnswer::Kind::Enter) {
            entered = true;
            return false;
        }
        if (answer.kind == ed::PromptAnswer::Kind::Cancel) {
            return false;
        }
        ads_point typed = {0.0, 0.0, 0.0};
        if (ed::parsePoint(answer.text, typed)) {
            point = asPnt3d(typed);
            return true;
        }
        write(L"Invalid point.\n");
    }
}

// The objects of the pick-first set when the command was started on one, else the drafter's selection.
std::optional<std::vector<AcDbObjectId>> selectObjects(AcApDocument& document) {
    ed::EditorState& editor = document.editor();
    if (std::optional<std::vector<AcDbObjectId>> implied = ed::takePickFirst(editor)) {
        return implied;
    }
    const std::optional<ed::SelectionFilter> everything = ed::SelectionFilter::compile(nullptr);
    std::optional<std::vector<AcDbObjectId>> chosen = ed::promptForObjects(editor, *everything);
    if (chosen && !chosen->empty()) {
        editor.previous = *chosen;
    }
    return chosen;
}

bool saveTo(AcApDocument& document, const std::filesystem::path& path) {
    cad::dxf::TagError error;
    if (!document.database()->writeDxf(path, cad::db::SaveOptions{}, error)) {
        write(L"Cannot save " + platform::utf8ToWide(path.string()) + L": " +
              platform::utf8ToWide(error.toString()) + L"\n");
        return false;
    }
    document.setPath(path);
    write(L"Saved " + platform::utf8ToWide(path.string()) + L"\n");
    return true;
}

void openCommand() {
    const ed::PromptAnswer answer = ed::prompt(L"Enter name of drawing to open: ", true);
    if (answer.kind != ed::PromptAnswer::Kind::Text) {
        return;
    }
    const std::filesystem::path path = platform::wideToUtf8(answer.text);
    std::string error;
    AcApDocument* previous = acDocManager->curDocument();
    AcApDocument* opened = acDocManager->openDocument(path, error);
    if (opened == nullptr) {
        write(L"Cannot open " + answer.text + L": " + platform::utf8ToWide(error) + L"\n");
        return;
    }
    // One drawing at a time in the console: the new one replaces the old.
    if (previous != nullptr) {
        acDocManager->closeDocument(previous);
        acDocManager->setCurrentDocument(opened);
    }
    write(L"Opened " + answer.text + L"\n");
}

void saveAsCommand(AcApDocument& document) {
    const std::wstring current = document.fileName();
    const ed::PromptAnswer answer = ed::prompt(L"Save drawing as <" + current + L">: ", true);
    if (answer.kind == ed::PromptAnswer::Kind::Cancel) {
        return;
    }
    const std::wstring target = answer.kind == ed::PromptAnswer::Kind::Enter ? current : answer.text;
    saveTo(document, platform::wideToUtf8(target));
}

// A drawing opened by a relative name ("plan.dxf") lives in the working folder: it has a folder, so
// QSAVE writes it without asking.
void quickSaveCommand(AcApDocument& document) {
    std::error_code error;
    const std::filesystem::path absolute =
        document.path().empty() ? std::filesystem::path() : std::filesystem::absolute(document.path(), error);
    if (absolute.empty() || error || !std::filesystem::exists(absolute.parent_path())) {
        saveAsCommand(document);
        return;
    }
    saveTo(document, document.path());
}

void quitCommand() {
    CommandProcessor::instance().requestQuit();
}

void zoomToWindow(AcApDocument& document, const AcGePoint3d& first, const AcGePoint3d& second) {
    DocumentView& view = document.view();
    view.center[0] = (first.x + second.x) / 2.0;
    view.center[1] = (first.y + second.y) / 2.0;
    view.height = std::max({std::fabs(second.y - first.y), std::fabs(second.x - first.x), 1e-9});
}

void zoomExtents(AcApDocument& document) {
    const AcDbDatabase& database = *document.database();
    if (const std::optional<AcDbExtents> extents = ed::spaceExtents(database, database.currentSpaceId())) {
        zoomToWindow(document, extents->minPoint(), extents->maxPoint());
    }
}

void zoomCommand(AcApDocument& document) {
    const ed::PromptAnswer answer =
        ed::prompt(L"Specify corner of window or [All/Extents/Window] <Extents>: ");
    if (answer.kind == ed::PromptAnswer::Kind::Cancel) {
        return;
    }
    const std::wstring word = platform::toUpperAscii(answer.text);
    AcGePoint3d first;
    AcGePoint3d second;
    ads_point typed = {0.0, 0.0, 0.0};
    bool entered = false;
    if (answer.kind == ed::PromptAnswer::Kind::Enter || word == L"E" || word == L"A" || word == L"ALL" ||
        word == L"EXTENTS") {
        zoomExtents(document);
    } else if (word == L"W" || word == L"WINDOW") {
        if (promptPoint(L"Specify first corner: ", first, entered) &&
            promptPoint(L"Specify opposite corner: ", second, entered)) {
            zoomToWindow(document, first, second);
        }
    } else if (ed::parsePoint(answer.text, typed)) {
        first = asPnt3d(typed);
        if (promptPoint(L"Specify opposite corner: ", second, entered)) {
            zoomToWindow(document, first, second);
        }
    } else {
        write(L"Invalid option.\n");
    }
}

void ucsCommand(AcApDocument& document) {
    AcDbDatabase& database = *document.database();
    const bool paperSpace = database.currentSpaceId() != database.modelSpaceId();
    ed::UserCoordinateSystem system = ed::userCoordinateSystem(database, paperSpace);
    const ed::PromptAnswer answer = ed::prompt(L"Specify origin of UCS or [World/Origin/Z] <World>: ");
    if (answer.kind == ed::PromptAnswer::Kind::Cancel) {
        return;
    }
    const std::wstring word = platform::toUpperAscii(answer.text);
    AcGePoint3d point;
    ads_point typed = {0.0, 0.0, 0.0};
    bool entered = false;
    if (answer.kind == ed::PromptAnswer::Kind::Enter || word == L"W" || word == L"WORLD") {
        system = ed::UserCoordinateSystem();
    } else if (word == L"Z") {
        const ed::PromptAnswer angle = ed::prompt(L"Specify rotation angle about Z axis <90>: ");
        if (angle.kind == ed::PromptAnswer::Kind::Cancel) {
            return;
        }
        const double degrees =
            angle.kind == ed::PromptAnswer::Kind::Enter ? 90.0 : platform::wideToDouble(angle.text);
        system = system.rotatedAboutZ(platform::degreesToRadians(degrees));
    } else if (word == L"O" || word == L"ORIGIN") {
        if (!promptPoint(L"Specify new origin point <0,0,0>: ", point, entered) && !entered) {
            return;
        }
        system.origin = system.toWorld(point);
    } else if (ed::parsePoint(answer.text, typed)) {
        system.origin = system.toWorld(asPnt3d(typed));
    } else {
        write(L"Invalid option.\n");
        return;
    }
    ed::setUserCoordinateSystem(database, paperSpace, system);
}

void setvarCommand() {
    const ed::PromptAnswer answer = ed::prompt(L"Enter variable name: ");
    if (answer.kind != ed::PromptAnswer::Kind::Text) {
        return;
    }
    if (!ed::SystemVariables::instance().isDefined(answer.text)) {
        write(L"Unknown variable name.\n");
        return;
    }
    CommandProcessor::instance().execute(answer.text);
}

std::wstring describeValue(const resbuf& item) {
    switch (resbufValueKind(item.restype)) {
    case ResbufValueKind::Text:
        return item.resval.rstring != nullptr ? std::wstring(L"\"") + item.resval.rstring + L"\"" : L"\"\"";
    case ResbufValueKind::Real:
        return number(item.resval.rreal);
    case ResbufValueKind::Point:
        return L"(" + number(item.resval.rpoint[0]) + L" " + number(item.resval.rpoint[1]) + L" " +
               number(item.resval.rpoint[2]) + L")";
    case ResbufValueKind::Short:
        return std::to_wstring(item.resval.rint);
    case ResbufValueKind::Long:
        return std::to_wstring(item.resval.rlong);
    case ResbufValueKind::Int64:
        return std::to_wstring(item.resval.mnInt64);
    case ResbufValueKind::EntityName: {
        AcDbObjectId id;
        acdbGetObjectId(id, item.resval.rlname);
        return id.isNull()
                   ? std::wstring(L"<none>")
                   : L"<Entity name: " +
                         platform::formatWide(L"%llX", static_cast<unsigned long long>(id.handle().value())) +
                         L">";
    }
    case ResbufValueKind::Binary:
        return L"<" + std::to_wstring(item.resval.rbinary.clen) + L" bytes>";
    case ResbufValueKind::None:
        break;
    }
    return {};
}

void listCommand(AcApDocument& document) {
    const std::optional<std::vector<AcDbObjectId>> selection = selectObjects(document);
    if (!selection) {
        return;
    }
    const AcDbDatabase& database = *document.database();
    for (const AcDbObjectId& id : *selection) {
        const AcDbEntity* entity = AcDbEntity::cast(database.peekObject(id));
        if (entity == nullptr) {
            continue;
        }
        std::wstring scratch;
        write(platform::formatWide(L"%s  Layer: \"%s\"  Space: %s  Handle = %llX\n",
                                   ed::entityTypeName(*entity, scratch).c_str(), entity->layerName().c_str(),
                                   ed::layoutNameOfSpace(database, entity->ownerId()).c_str(),
                                   static_cast<unsigned long long>(id.handle().value())));
        ads_name name;
        acdbGetAdsName(name, id);
        resbuf* applications = acutBuildList(RTSTR, L"*", 0);
        resbuf* data = acdbEntGetX(name, applications);
        acutRelRb(applications);
        for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
            if (item->restype == -1) {
                continue;
            }
            write(L"  (" + std::to_wstring(item->restype) + L" . " + describeValue(*item) + L")\n");
        }
        acutRelRb(data);
    }
}

void selectCommand(AcApDocument& document) {
    const std::optional<std::vector<AcDbObjectId>> selection = selectObjects(document);
    if (selection) {
        document.editor().previous = *selection;
        write(std::to_wstring(selection->size()) + L" selected\n");
    }
}

// Scripts have no mouse: this leaves objects selected with grips, as clicks in the window do, for a
// command that takes the pick-first set.
void pickFirstCommand(AcApDocument& document) {
    const std::optional<std::vector<AcDbObjectId>> selection = selectObjects(document);
    if (selection) {
        document.editor().pickFirst = *selection;
        document.editor().gripped = *selection;
        write(std::to_wstring(selection->size()) + L" selected as the pick-first set\n");
    }
}

void eraseCommand(AcApDocument& document) {
    const std::optional<std::vector<AcDbObjectId>> selection = selectObjects(document);
    if (!selection) {
        return;
    }
    int erased = 0;
    for (const AcDbObjectId& id : *selection) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) {
            continue;
        }
        if (entity->erase() == Acad::eOk) {
            ++erased;
        }
        entity->close();
    }
    write(std::to_wstring(erased) + L" erased\n");
}

void loadModule(const std::wstring& path) {
    const std::optional<std::string> error = ModuleManager::instance().load(platform::wideToUtf8(path));
    write(error ? platform::utf8ToWide(*error) + L"\n" : L"Loaded " + path + L"\n");
}

void askForModuleAndLoad() {
    const ed::PromptAnswer path = askForFile(L"Module file name: ", {L"Load Module", L"Modules (*.so)"});
    if (path.kind == ed::PromptAnswer::Kind::Text) {
        loadModule(path.text);
    }
}

void unloadModule(const std::wstring& name) {
    const std::optional<std::string> error = ModuleManager::instance().unload(platform::wideToUtf8(name));
    write(error ? platform::utf8ToWide(*error) + L"\n" : L"Unloaded " + name + L"\n");
}

void arxCommand() {
    const ed::PromptAnswer option = ed::prompt(L"Enter an option [?/Load/Unload]: ");
    if (option.kind != ed::PromptAnswer::Kind::Text) {
        return;
    }
    const std::wstring word = platform::toUpperAscii(option.text);
    if (word == L"?") {
        for (const std::string& name : ModuleManager::instance().loadedNames()) {
            write(platform::utf8ToWide(name) + L"\n");
        }
    } else if (word == L"L" || word == L"LOAD") {
        askForModuleAndLoad();
    } else if (word == L"U" || word == L"UNLOAD") {
        const ed::PromptAnswer name = ed::prompt(L"Module name: ", true);
        if (name.kind == ed::PromptAnswer::Kind::Text) {
            unloadModule(name.text);
        }
    } else {
        write(L"Invalid option.\n");
    }
}

void appLoadCommand() {
    askForModuleAndLoad();
}

} // namespace

void CommandProcessor::registerHostCommands() {
    struct HostCommand {
        const wchar_t* name;
        std::int32_t flags;
        AcRxFunctionPtr function;
    };
    static constexpr HostCommand kCommands[] = {
        {L"OPEN", ACRX_CMD_MODAL, openCommand},
        {L"SAVE", ACRX_CMD_MODAL, onCurrentDocument<saveAsCommand>},
        {L"SAVEAS", ACRX_CMD_MODAL, onCurrentDocument<saveAsCommand>},
        {L"QSAVE", ACRX_CMD_MODAL, onCurrentDocument<quickSaveCommand>},
        {L"QUIT", ACRX_CMD_MODAL, quitCommand},
        {L"EXIT", ACRX_CMD_MODAL, quitCommand},
        {L"ZOOM", ACRX_CMD_TRANSPARENT, onCurrentDocument<zoomCommand>},
        {L"UCS", ACRX_CMD_MODAL, onCurrentDocument<ucsCommand>},
        {L"SETVAR", ACRX_CMD_TRANSPARENT, setvarCommand},
        {L"LIST", ACRX_CMD_USEPICKSET, onCurrentDocument<listCommand>},
        {L"SELECT", ACRX_CMD_MODAL, onCurrentDocument<selectCommand>},
        {L"SSSETFIRST", ACRX_CMD_MODAL, onCurrentDocument<pickFirstCommand>},
        {L"ERASE", ACRX_CMD_USEPICKSET | ACRX_CMD_REDRAW, onCurrentDocument<eraseCommand>},
        {L"ARX", ACRX_CMD_MODAL, arxCommand},
        {L"APPLOAD", ACRX_CMD_MODAL, appLoadCommand},
    };
    AcEdCommandStack* stack = acedRegCmds;
    for (const HostCommand& command : kCommands) {
        if (stack->lookupGlobalCmd(command.name) == nullptr) {
            stack->addCommand(L"QUELTO_HOST", command.name, command.name, command.flags, command.function);
        }
    }
    registerUndoCommands(*stack);
    registerStartupSuiteCommand();
}

} // namespace cad::app
