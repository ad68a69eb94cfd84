// The console host's session and its command line: queued text (a module's sendStringToExecute) is
// read before the next script line, every answer is echoed after its prompt so the transcript reads like
// the host's command-line history, an empty line is Enter and "*Cancel*" is Esc.

#include "cad/app/console_host.h"

#include "cad/app/command_processor.h"
#include "cad/app/document_manager.h"
#include "cad/app/module_manager.h"
#include "cad/app/startup_modules.h"
#include "cad/ed/command_line.h"
#include "platform/code_page.h"
#include "platform/message_box.h"

#include <filesystem>
#include <fstream>

namespace cad::app {
namespace {

class ConsoleCommandLine final : public ed::CommandLine {
public:
    ConsoleCommandLine(std::istream& input, std::ostream& output) : m_input(input), m_output(output) {}

    void write(std::wstring_view text) override {
        m_output << platform::wideToUtf8(text);
        m_output.flush();
    }

    std::optional<std::wstring> readLine(std::wstring_view prompt) override {
        write(prompt);
        if (std::optional<AcApDocManager::QueuedLine> queued = acDocManager->takeQueuedLine()) {
            write(queued->echo ? queued->text + L"\n" : L"\n");
            return queued->text;
        }
        // A script line is typed input too: a blank in it ends an answer as on the host.
        while (true) {
            if (std::optional<ed::TypedInput::Answer> typed = m_script.take()) {
                write(typed->text + L"\n");
                return typed->text;
            }
            std::string line;
            if (!std::getline(m_input, line)) {
                write(L"\n");
                return std::nullopt;
            }
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            m_script.append(platform::utf8ToWide(line) + L"\n");
        }
    }

private:
    std::istream& m_input;
    std::ostream& m_output;
    ed::TypedInput m_script;
};

std::wstring trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::optional<ConsoleOptions> parseConsoleArguments(const std::vector<std::string>& arguments,
                                                    std::string& error) {
    ConsoleOptions options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--script" || argument == "--load") {
            if (index + 1 >= arguments.size()) {
                error = argument + " needs a file name";
                return std::nullopt;
            }
            const std::string& value = arguments[++index];
            if (argument == "--script") {
                options.script = value;
            } else {
                options.modules.push_back(value);
            }
        } else if (argument == "--no-startup") {
            options.startupModules = false;
        } else if (argument.starts_with("--")) {
            error = "unknown option " + argument;
            return std::nullopt;
        } else if (options.drawing) {
            error = "only one drawing can be opened: " + argument;
            return std::nullopt;
        } else {
            options.drawing = argument;
        }
    }
    return options;
}

ConsoleExit ConsoleHost::run(const ConsoleOptions& options) {
    std::ifstream scriptFile;
    if (options.script) {
        scriptFile.open(*options.script);
        if (!scriptFile) {
            m_errors << "quelto-cad: cannot read script " << *options.script << ": no such file\n";
            return ConsoleExit::MissingFile;
        }
    }
    std::istream& input = options.script ? scriptFile : m_input;

    CommandProcessor::instance().registerHostCommands();
    CommandProcessor::instance().clearQuit();
    if (options.drawing) {
        if (!std::filesystem::exists(*options.drawing)) {
            m_errors << "quelto-cad: cannot open drawing " << *options.drawing << ": no such file\n";
            return ConsoleExit::MissingFile;
        }
        std::string error;
        if (acDocManager->openDocument(*options.drawing, error) == nullptr) {
            m_errors << "quelto-cad: cannot open drawing " << *options.drawing << ": " << error << "\n";
            return ConsoleExit::BadDrawing;
        }
    } else {
        acDocManager->newDocument();
    }
    ConsoleCommandLine commandLine(input, m_output);
    const ed::ScopedCommandLine commandLineScope(commandLine);
    platform::ConsoleMessageBoxService messageBoxes(input, m_output);
    const platform::ScopedMessageBoxService messageBoxScope(messageBoxes);

    const std::vector<std::string> startupModules =
        options.startupModules ? loadStartupModules(m_errors) : std::vector<std::string>();
    for (const std::string& module : options.modules) {
        if (loadedAtStartup(module, startupModules)) {
            continue;
        }
        if (const std::optional<std::string> error = ModuleManager::instance().load(module)) {
            m_errors << "quelto-cad: " << *error << "\n";
            ModuleManager::instance().unloadAll();
            acDocManager->closeAll();
            return ConsoleExit::ModuleLoadFailed;
        }
    }
    const ConsoleExit status = runCommands(input);
    // The drawings close first, so modules hear of each closing drawing before their own unloading.
    acDocManager->closeAll();
    ModuleManager::instance().unloadAll();
    return status;
}

ConsoleExit ConsoleHost::runCommands(std::istream&) {
    CommandProcessor& processor = CommandProcessor::instance();
    std::wstring lastCommand;
    while (!processor.quitRequested()) {
        const std::optional<std::wstring> line = ed::commandLine().readLine(L"Command: ");
        if (!line) {
            break;
        }
        const std::wstring command = trimmed(*line);
        if (command == L"*Cancel*") {
            ed::commandLine().write(L"*Cancel*\n");
            continue;
        }
        // Enter at the command prompt repeats the last command, as on the host.
        const std::wstring toRun = command.empty() ? lastCommand : command;
        if (toRun.empty()) {
            continue;
        }
        processor.execute(toRun);
        lastCommand = toRun;
    }
    return ConsoleExit::Ran;
}

} // namespace cad::app
