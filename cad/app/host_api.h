// The host programming interface in one include, for modules: result buffers, selection sets and
// filters, entity data and opening, system variables, coordinates, command line, commands, context
// menus, documents and the module entry messages, over the drawing database's classes.
#pragma once

#include "cad/app/command_processor.h"
#include "cad/app/command_stack.h"
#include "cad/app/context_menu.h"
#include "cad/app/document_manager.h"
#include "cad/app/rx_entry.h"
#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/editor_state.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/keyword_input.h"
#include "cad/ed/layouts.h"
#include "cad/ed/resbuf.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"
#include "cad/ed/user_coordinates.h"
#include "cad/ed/wildcard_pattern.h"
