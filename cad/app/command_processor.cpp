// Command execution and acedCommand. Arguments of acedCommand are served to the command's prompts by a
// command line stacked over the current one, so a command reads them exactly like typed answers.

#include "cad/app/command_processor.h"

#include "cad/app/command_stack.h"
#include "cad/app/document_manager.h"
#include "cad/db/undo_log.h"
#include "cad/ed/command_line.h"
#include "cad/ed/system_variables.h"
#include "platform/wide_text.h"

#include <cstdarg>
#include <deque>

namespace cad::app {
namespace {

// Answers prompts from a list first, then from the command line underneath.
class ArgumentCommandLine final : public ed::CommandLine {
public:
    ArgumentCommandLine(ed::CommandLine& outer, std::deque<std::wstring> answers)
        : m_outer(outer), m_answers(std::move(answers)) {}
    void write(std::wstring_view text) override { m_outer.write(text); }
    std::optional<std::wstring> readLine(std::wstring_view prompt) override {
        if (m_answers.empty()) {
            return m_outer.readLine(prompt);
        }
        std::wstring answer = std::move(m_answers.front());
        m_answers.pop_front();
        m_outer.write(prompt);
        m_outer.write(answer + L"\n");
        return answer;
    }

private:
    ed::CommandLine& m_outer;
    std::deque<std::wstring> m_answers;
};

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
    AcEdCommand* command = acedRegCmds->lookupTyped(typed);
    if (command == nullptr) {
        const std::wstring name = !typed.empty() && typed.front() == L'_' ? typed.substr(1) : typed;
        if (ed::SystemVariables::instance().isDefined(name)) {
            promptVariable(name);
            return true;
        }
        ed::commandLine().write(L"Unknown command \"" + platform::toUpperAscii(typed) +
                                L"\".  Press F1 for help.\n");
        return false;
    }
    AcApDocument* document = acDocManager->curDocument();
    const bool usesPickFirst = (command->commandFlags() & ACRX_CMD_USEPICKSET) != 0;
    if (document != nullptr && m_depth == 0) {
        document->editor().commandUsesPickFirst = usesPickFirst;
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
    std::deque<std::wstring> tokens;
    bool valid = true;
    for (int current = type; current != 0 && current != RTNONE; current = va_arg(arguments, int)) {
        switch (current) {
        case RTSTR: {
            const ACHAR* text = va_arg(arguments, const ACHAR*);
            tokens.emplace_back(text != nullptr ? text : L"");
            break;
        }
        case RTREAL:
        case RTANG:
            tokens.push_back(cad::app::formatNumber(va_arg(arguments, double)));
            break;
        case RTSHORT:
        case RTLONG:
            tokens.push_back(std::to_wstring(va_arg(arguments, int)));
            break;
        case RTPOINT:
        case RT3DPOINT: {
            const double* point = va_arg(arguments, const double*);
            tokens.push_back(cad::app::formatNumber(point[0]) + L"," + cad::app::formatNumber(point[1]) +
                             (current == RT3DPOINT ? L"," + cad::app::formatNumber(point[2]) : L""));
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
    const std::wstring name = tokens.front();
    tokens.pop_front();
    cad::app::ArgumentCommandLine answers(cad::ed::commandLine(), std::move(tokens));
    const cad::ed::ScopedCommandLine scope(answers);
    return cad::app::CommandProcessor::instance().execute(name) ? RTNORM : RTERROR;
}
