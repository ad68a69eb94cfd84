// The host's start-up modules: a list of module files that quelto-cad loads whenever it starts, in the
// desktop and the console host alike, so an installed module is there in every session. The list is a
// small text file beside the user's settings, edited with the STARTUPSUITE command or by hand.
#pragma once

#include "platform/export.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cad::app {

// "startup-modules" in the folder of the current user's settings store (${XDG_CONFIG_HOME:-~/.config}/
// quelto/, or $QUELTO_REGISTRY_DIR when that is set).
QUELTO_EXPORT std::filesystem::path startupModulesFile();

// One module path per line, UTF-8; blank lines and lines starting with "#" are skipped, blanks around a
// path are dropped, and a relative path is taken relative to the list's folder. A missing file is an
// empty list; nothing (and `error` says why) when the file cannot be read.
QUELTO_EXPORT std::optional<std::vector<std::string>> readStartupModules(const std::filesystem::path& file,
                                                                         std::string& error);

// Replaces the list atomically, creating its folder; false with `error` on failure.
QUELTO_EXPORT bool writeStartupModules(const std::filesystem::path& file,
                                       const std::vector<std::string>& modules, std::string& error);

// Loads every listed module that is not loaded yet, in list order, and answers the paths of those it
// loaded. A module that cannot be loaded is reported on `errors` and skipped: the host starts anyway.
QUELTO_EXPORT std::vector<std::string> loadStartupModules(std::ostream& errors);

// Whether a module file named on the command line (--load) is one the start-up list loaded already (the
// same file, whatever path or link names it), so the host skips it instead of loading it twice.
QUELTO_EXPORT bool loadedAtStartup(const std::string& path, const std::vector<std::string>& startupModules);

// STARTUPSUITE: "?" lists the start-up modules, "Add" and a file adds one, "Remove" and a name or path
// removes it.
QUELTO_EXPORT void registerStartupSuiteCommand();

} // namespace cad::app
