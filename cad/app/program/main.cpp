// quelto-cad: the host program. `--console` runs without a window (drawings, scripts, modules); the
// desktop window is a separate front end over the same library.

#include "cad/app/console_host.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments.front() != "--console") {
        std::cerr << "usage: quelto-cad --console [DRAWING] [--script FILE] [--load MODULE]...\n"
                  << "(this build has the console host only)\n";
        return static_cast<int>(cad::app::ConsoleExit::Usage);
    }
    arguments.erase(arguments.begin());
    std::string error;
    const std::optional<cad::app::ConsoleOptions> options = cad::app::parseConsoleArguments(arguments, error);
    if (!options) {
        std::cerr << "quelto-cad: " << error << "\n";
        return static_cast<int>(cad::app::ConsoleExit::Usage);
    }
    cad::app::ConsoleHost host(std::cin, std::cout, std::cerr);
    return static_cast<int>(host.run(*options));
}
