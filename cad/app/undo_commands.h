// The host's undo commands (U, UNDO, REDO) and the UNDOSTEPS variable: the drafter's side of the
// drawing database's undo log, which the command processor fills with one step per command.
#pragma once

#include "platform/export.h"

#include <cstddef>

class AcEdCommandStack;

namespace cad::app {

void registerUndoCommands(AcEdCommandStack& stack);
// How many steps every drawing keeps (UNDOSTEPS); new documents take it too.
QUELTO_EXPORT std::size_t undoStepLimit();

} // namespace cad::app
