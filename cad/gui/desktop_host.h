// The desktop host: `quelto-cad [DRAWING] [--load MODULE]... [--no-startup]` opens the main window over
// the shared command engine, with the start-up modules loaded; `quelto-cad --render OUT.png|OUT.pdf [--layout
// NAME] [--size WIDTHxHEIGHT] DRAWING` plots without a window and exits.
#pragma once

#include "cad/gui/offscreen_plot.h"

#include <optional>
#include <string>
#include <vector>

namespace cad::gui {

struct DesktopOptions {
    std::optional<std::string> drawing;
    std::vector<std::string> modules;
    bool startupModules = true;
    std::optional<PlotRequest> plot;
};

// Nothing (and `error` says why) on a malformed command line.
std::optional<DesktopOptions> parseDesktopArguments(const std::vector<std::string>& arguments,
                                                    std::string& error);

// Runs the window (or the plot) to its end; the exit status of the program.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

// PAN: moves the view of the current drawing by the displacement between two points.
void registerDesktopCommands();

} // namespace cad::gui
