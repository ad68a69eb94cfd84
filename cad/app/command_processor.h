// Running commands as typed: the command word is looked up in the command stack (case-insensitive,
// "_" for global names), a system variable name opens its value prompt, anything else is an unknown
// command. acedCommand runs a command at once with its answers given as arguments.
#pragma once

#include "cad/ed/resbuf.h"
#include "platform/export.h"

#include <string>

namespace cad::app {

class QUELTO_EXPORT CommandProcessor {
public:
    static CommandProcessor& instance();

    // Runs the typed command word; false when it was unknown.
    bool execute(const std::wstring& typed);
    // The host's own commands (OPEN, SAVE, ZOOM, ...) in the command stack under group "QUELTO_HOST".
    void registerHostCommands();

    bool quitRequested() const { return m_quit; }
    void requestQuit() { m_quit = true; }
    void clearQuit() { m_quit = false; }
    // Whether a command is running (acedCommand inside it runs nested).
    int depth() const { return m_depth; }

private:
    bool m_quit = false;
    int m_depth = 0;
};

} // namespace cad::app

// Runs a command with its answers: (RTSTR, L"ZOOM", RT3DPOINT, corner, RT3DPOINT, corner, RTNONE).
// Texts answer as typed ("" is Enter), points as "x,y,z", numbers as written. Prompts beyond the
// arguments read the drafter's input. RTNORM, or RTERROR for an unknown command or argument type.
QUELTO_EXPORT int acedCommand(int type, ...);
