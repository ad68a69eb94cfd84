// U takes back the last command, UNDO a number of them, REDO brings back what U or UNDO took, as long as
// no command changed the drawing in between. Each undone step is reported by its command's name.
#include "cad/app/undo_commands.h"

#include "cad/app/command_stack.h"
#include "cad/app/document_manager.h"
#include "cad/db/undo_log.h"
#include "cad/ed/command_line.h"
#include "cad/ed/system_variables.h"
#include "platform/wide_text.h"

#include <string>
#include <vector>

namespace cad::app {
namespace {

std::size_t g_stepLimit = db::UndoLog::kDefaultStepLimit;

db::UndoLog* currentLog() {
    AcApDocument* document = acDocManager->curDocument();
    if (document == nullptr) {
        ed::commandLine().write(L"No drawing is open.\n");
        return nullptr;
    }
    return &document->database()->enableUndo();
}

void report(db::UndoLog::Result result, const std::vector<std::wstring>& names, const wchar_t* nothingLeft) {
    for (const std::wstring& name : names) {
        ed::commandLine().write((name.empty() ? std::wstring(L"(changes outside a command)") : name) + L"\n");
    }
    if (result == db::UndoLog::Result::ObjectsOpen) {
        ed::commandLine().write(L"Cannot undo or redo while objects of the drawing are open.\n");
    } else if (result == db::UndoLog::Result::NothingToDo) {
        ed::commandLine().write(std::wstring(nothingLeft) + L"\n");
    }
}

void undoSteps(int count) {
    db::UndoLog* log = currentLog();
    if (log == nullptr) {
        return;
    }
    std::vector<std::wstring> names;
    const db::UndoLog::Result result = log->undo(count, &names);
    report(result, names, L"Everything has been undone");
    if (result == db::UndoLog::Result::Done && log->undoSteps() == 0) {
        ed::commandLine().write(L"Everything has been undone\n");
    }
}

void uCommand() {
    undoSteps(1);
}

void undoCommand() {
    while (true) {
        const ed::PromptAnswer answer = ed::prompt(L"Enter the number of operations to undo <1>: ");
        if (answer.kind == ed::PromptAnswer::Kind::Cancel) {
            return;
        }
        if (answer.kind == ed::PromptAnswer::Kind::Enter) {
            undoSteps(1);
            return;
        }
        const int count = platform::wideToInt(answer.text);
        if (count > 0) {
            undoSteps(count);
            return;
        }
        ed::commandLine().write(L"Requires a positive whole number.\n");
    }
}

void redoCommand() {
    db::UndoLog* log = currentLog();
    if (log == nullptr) {
        return;
    }
    std::vector<std::wstring> names;
    report(log->redo(1, &names), names, L"Nothing to redo");
}

} // namespace

std::size_t undoStepLimit() {
    return g_stepLimit;
}

void registerUndoCommands(AcEdCommandStack& stack) {
    struct UndoCommand {
        const wchar_t* name;
        AcRxFunctionPtr function;
    };
    static constexpr UndoCommand kCommands[] = {
        {L"U", uCommand}, {L"UNDO", undoCommand}, {L"REDO", redoCommand}};
    for (const UndoCommand& command : kCommands) {
        if (stack.lookupGlobalCmd(command.name) == nullptr) {
            stack.addCommand(L"QUELTO_HOST", command.name, command.name, ACRX_CMD_MODAL, command.function);
        }
    }
    ed::SystemVariables& variables = ed::SystemVariables::instance();
    if (variables.isDefined(L"UNDOSTEPS")) {
        return;
    }
    variables.defineBound(
        L"UNDOSTEPS", RTSHORT,
        [](ed::VariableValue& value) {
            value = ed::VariableValue::ofShort(static_cast<int>(g_stepLimit));
            return true;
        },
        [](const ed::VariableValue& value) {
            if (value.integer < 1 || value.integer > 32767) {
                return false;
            }
            g_stepLimit = static_cast<std::size_t>(value.integer);
            if (AcApDocument* document = acDocManager->curDocument()) {
                document->database()->enableUndo().setStepLimit(g_stepLimit);
            }
            return true;
        });
}

} // namespace cad::app
