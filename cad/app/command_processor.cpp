// Command execution and acedCommand. Arguments of acedCommand are served to the command's prompts by a
// command line stacked over the current one, so a command reads them exactly like typed answers.

#include "cad/app/command_processor.h"

#include "cad/app/command_stack.h"
#include "cad/app/document_manager.h"
#include "cad/db/undo_log.h"
#include "cad/ed/command_line.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"
#include "platform/wide_text.h"

#include <cstdarg>
#include <deque>

namespace cad::app {
namespace {

// One argument of acedCommand: a typed answer, or objects (a selection set or an entity name).
struct Argument {
    std::wstring text;
    std::optional<std::vector<AcDbObjectId>> objects;
};

// Answers prompts from a list first, then from the command line underneath.
class ArgumentCommandLine final : public ed::CommandLine {
public:
    ArgumentCommandLine(ed::CommandLine& outer, std::deque<Argument> answers)
        : m_outer(outer), m_answers(std::move(answers)) {}
    void write(std::wstring_view text) override { m_outer.write(text); }
    std::optional<std::wstring> readLine(std::wstring_view prompt) override {
        if (m_answers.empty()) {
            return m_outer.readLine(prompt);
        }
        Argument answer = std::move(m_answers.front());
        m_answers.pop_front();
        m_outer.write(prompt);
        m_outer.write(answer.text + L"\n");
        return answer.text;
    }
    std::optional<std::vector<AcDbObjectId>> takeObjects(std::wstring_view prompt) override {
        if (m_answers.empty()) {
            return m_outer.takeObjects(prompt);
        }
        if (!m_answers.front().objects) {
            return std::nullopt;
        }
        Argument answer = std::move(m_answers.front());
        m_answers.pop_front();
        m_outer.write(prompt);
        m_outer.write(answer.text + L"\n");
        return std::move(answer.objects);
    }

private:
    ed::CommandLine& m_outer;
    std::deque<Argument> m_answers;
};

// "_" asks for the command's global name and "." for the host's own definition; both may lead a
// typed command word in either order.
struct CommandWord {
    std::wstring name;
    bool global = false;
};

CommandWord splitPrefixes(const std::wstring& typed) {
    CommandWord word;
    std::size_t start = 0;
    while (start < typed.size() && (typed[start] == L'_' || typed[start] == L'.')) {
        word.global = word.global || typed[start] == L'_';
        ++start;
    }
    word.name = typed.substr(start);
    return word;
}

// The members of a selection set (RTPICKS) or the one entity (RTENAME); nothing for a stale name.
std::optional<std::vector<AcDbObjectId>> objectsOfName(int type, const std::int64_t* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    if (type == RTPICKS) {
        const std::vector<AcDbObjectId>* members = ed::SelectionSets::instance().find(name);
        return members != nullptr ? std::optional(*members) : std::nullopt;
    }
    const AcDbObjectId id = ed::objectIdOfName(name);
    return id.isNull() ? std::nullopt : std::optional(std::vector<AcDbObjectId>{id});
}

std::wstring formatNumber(double value) {
    std::wstring text = platform::formatWide(L"%.10f", value);
    while (!text.empty() && text.back() == L'0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == L'.') {
        text.pop_back();
    }
    return text;
}

std::wstring formatValue(const ed::VariableValue& value) {
    switch (value.type) {
    case RTSHORT:
    case RTLONG:
        return std::to_wstring(value.integer);
    case RTREAL:
        return formatNumber(value.real);
    case RTSTR:
        return L"\"" + value.text + L"\"";
    case RT3DPOINT:
        return formatNumber(value.point[0]) + L"," + formatNumber(value.point[1]) + L"," +
               formatNumber(value.point[2]);
    default:
        return {};
    }
}

// The value prompt of a system variable typed as a command, as SETVAR asks it.
void promptVariable(const std::wstring& name) {
    auto& variables = ed::SystemVariables::instance();
    ed::VariableValue current;
    if (!variables.getValue(name, current)) {
        ed::commandLine().write(L"Unknown variable name.\n");
        return;
    }
    const ed::PromptAnswer answer = ed::prompt(L"Enter new value for " + platform::toUpperAscii(name) +
                                               L" <" + formatValue(current) + L">: ");
    if (answer.kind != ed::PromptAnswer::Kind::Text) {
        return;
    }
    resbuf value{};
    value.restype = current.type;
    std::wstring text = answer.text;
    switch (current.type) {
    case RTSHORT:
        value.restype = RTLONG;
        value.resval.rlong = platform::wideToInt(text);
        break;
    case RTLONG:
        value.resval.rlong = platform::wideToInt(text);
        break;
    case RTREAL:
        value.resval.rreal = platform::wideToDouble(text);
        break;
    case RTSTR:
        value.resval.rstring = text.data();
        break;
    case RT3DPOINT:
        if (!ed::parsePoint(text, value.resval.rpoint)) {
            ed::commandLine().write(L"Invalid point.\n");
            return;
        }
        break;
    default:
        return;
    }
    if (variables.set(name.c_str(), &value) != RTNORM) {
        ed::commandLine().write(L"*Invalid value* " + platform::toUpperAscii(name) + L" was not changed.\n");
    }
}

} // namespace

CommandProcessor& CommandProcessor::instance() {
    static CommandProcessor processor;
    return processor;
}

bool CommandProcessor::execute(const std::wstring& typed) {
    const CommandWord word = splitPrefixes(typed);
    AcEdCommand* command = word.name.empty() ? nullptr
                           : word.global     ? acedRegCmds->lookupGlobalCmd(word.name.c_str())
                                             : acedRegCmds->lookupTyped(word.name);
    if (command == nullptr) {
        if (!word.name.empty() && ed::SystemVariables::instance().isDefined(word.name)) {
            promptVariable(word.name);
            return true;
        }
        ed::commandLine().write(L"Unknown command \"" + platform::toUpperAscii(typed) +
                                L"\".  Press F1 for help.\n");
        return false;
    }
    AcApDocument* document = acDocManager->curDocument();
    if (document != nullptr && m_depth == 0) {
        // The pick-first set is offered only to commands registered for it, and only while PICKFIRST
        // is on; any other command but a transparent one (ZOOM) starts with nothing selected.
        ed::VariableValue pickFirst;
        const std::int32_t flags = command->commandFlags();
        const bool offered = (flags & ACRX_CMD_USEPICKSET) != 0 &&
                             ed::SystemVariables::instance().getValue(L"PICKFIRST", pickFirst) &&
                             pickFirst.integer == 1;
        ed::EditorState& editor = document->editor();
        editor.commandUsesPickFirst = offered;
        if (!offered && (flags & ACRX_CMD_TRANSPARENT) == 0) {
            ed::dropPickFirst(editor);
        }
        // Everything the command changes, nested commands included, is taken back by one U.
        if (db::UndoLog* log = document->database()->undoLog()) {
            log->beginStep(platform::toUpperAscii(command->globalName()));
        }
    }
    ++m_depth;
    // The function may remove its own command (a module unloading itself): keep the pointer, not the entry.
    const AcRxFunctionPtr function = command->functionAddr();
    function();
    --m_depth;
    if (AcApDocument* after = acDocManager->curDocument(); after != nullptr && m_depth == 0) {
        after->editor().commandUsesPickFirst = false;
        if (db::UndoLog* log = after->database()->undoLog()) {
            log->endStep();
        }
    }
    return true;
}

} // namespace cad::app

int acedCommand(int type, ...) {
    std::va_list arguments;
    va_start(arguments, type);
    std::deque<cad::app::Argument> tokens;
    bool valid = true;
    for (int current = type; current != 0 && current != RTNONE; current = va_arg(arguments, int)) {
        switch (current) {
        case RTSTR: {
            const ACHAR* text = va_arg(arguments, const ACHAR*);
            tokens.push_back({text != nullptr ? text : L"", std::nullopt});
            break;
        }
        case RTREAL:
        case RTANG:
            tokens.push_back({cad::app::formatNumber(va_arg(arguments, double)), std::nullopt});
            break;
        case RTSHORT:
        case RTLONG:
            tokens.push_back({std::to_wstring(va_arg(arguments, int)), std::nullopt});
            break;
        case RTPOINT:
        case RT3DPOINT: {
            const double* point = va_arg(arguments, const double*);
            tokens.push_back({cad::app::formatNumber(point[0]) + L"," + cad::app::formatNumber(point[1]) +
                                  (current == RT3DPOINT ? L"," + cad::app::formatNumber(point[2]) : L""),
                              std::nullopt});
            break;
        }
        case RTENAME:
        case RTPICKS: {
            // Where a command asks for objects these are its answer; a text prompt sees the handle of the
            // first one, as typing it would give.
            const std::int64_t* name = va_arg(arguments, const std::int64_t*);
            std::optional<std::vector<AcDbObjectId>> objects = cad::app::objectsOfName(current, name);
            if (!objects) {
                valid = false;
                break;
            }
            const std::wstring text =
                objects->empty() ? std::wstring()
                                 : platform::formatWide(L"%llX", static_cast<unsigned long long>(
                                                                     objects->front().handle().value()));
            tokens.push_back({text, std::move(objects)});
            break;
        }
        default:
            valid = false;
            break;
        }
        if (!valid) {
            break;
        }
    }
    va_end(arguments);
    if (!valid || tokens.empty()) {
        return RTERROR;
    }
    const std::wstring name = tokens.front().text;
    tokens.pop_front();
    cad::app::ArgumentCommandLine answers(cad::ed::commandLine(), std::move(tokens));
    const cad::ed::ScopedCommandLine scope(answers);
    return cad::app::CommandProcessor::instance().execute(name) ? RTNORM : RTERROR;
}
