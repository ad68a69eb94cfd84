// quelto-cad: the host program. `--console` runs without a window (drawings, scripts, modules); without
// it the desktop window opens, and `--render` plots a drawing to PNG or PDF without a window.

#include "cad/app/console_host.h"
#include "cad/gui/desktop_host.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    if (arguments.empty() || arguments.front() != "--console") {
        const std::optional<cad::gui::DesktopOptions> options =
            cad::gui::parseDesktopArguments(arguments, error);
        if (!options) {
            std::cerr << "quelto-cad: " << error << "\n"
                      << "usage: quelto-cad [DRAWING] [--load MODULE]... [--no-startup]\n"
                      << "       quelto-cad --render OUT.png|OUT.pdf [--layout NAME] [--size WIDTHxHEIGHT] "
                         "DRAWING\n"
                      << "       quelto-cad --console [DRAWING] [--script FILE] [--load MODULE]... "
                         "[--no-startup]\n";
            return static_cast<int>(cad::app::ConsoleExit::Usage);
        }
        return cad::gui::runDesktop(argc, argv, *options);
    }
    arguments.erase(arguments.begin());
    const std::optional<cad::app::ConsoleOptions> options = cad::app::parseConsoleArguments(arguments, error);
    if (!options) {
        std::cerr << "quelto-cad: " << error << "\n";
        return static_cast<int>(cad::app::ConsoleExit::Usage);
    }
    cad::app::ConsoleHost host(std::cin, std::cout, std::cerr);
    return static_cast<int>(host.run(*options));
}
