// The console host: `quelto-cad --console [DRAWING] [--script FILE] [--load MODULE]... [--no-startup]`
// opens the drawing, loads the start-up modules and those named, and runs command lines from the script (or
// standard input) exactly as a drafter types them, writing prompts and answers to standard output as a
// command-line transcript.
#pragma once

#include "platform/export.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cad::app {

struct ConsoleOptions {
    std::optional<std::string> drawing;
    std::optional<std::string> script;
    std::vector<std::string> modules;
    // Load the modules of the start-up list first (--no-startup turns this off).
    bool startupModules = true;
};

// Exit statuses of the console host.
enum class ConsoleExit : int {
    Ran = 0,
    Usage = 1,
    MissingFile = 2,
    BadDrawing = 3,
    ModuleLoadFailed = 4,
};

// The options after "--console"; nothing (and `error` says why) on a malformed command line.
QUELTO_EXPORT std::optional<ConsoleOptions> parseConsoleArguments(const std::vector<std::string>& arguments,
                                                                  std::string& error);

class QUELTO_EXPORT ConsoleHost {
public:
    ConsoleHost(std::istream& input, std::ostream& output, std::ostream& errors)
        : m_input(input), m_output(output), m_errors(errors) {}
    // Runs the session; the script named in the options replaces the input stream given here.
    ConsoleExit run(const ConsoleOptions& options);

private:
    ConsoleExit runCommands(std::istream& input);

    std::istream& m_input;
    std::ostream& m_output;
    std::ostream& m_errors;
};

} // namespace cad::app
