// Where the Windows special folders are on this system, and the conversion between the module's wide
// path texts and file-system paths (file names are UTF-8 on disk). Paths the module builds with "\" keep
// their folders and use "/".
#pragma once

#include "platform/export.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// The machine's common application-data folder: $QUELTO_COMMON_APPDATA when set, else
// ${XDG_DATA_HOME:-~/.local/share}. Empty when neither the variables nor a home folder are known.
QUELTO_EXPORT std::filesystem::path commonAppDataFolder();

// The common program-files folder, where the maker's programs share read-only files.
QUELTO_EXPORT std::filesystem::path commonProgramFilesFolder();

// The user's configuration folder, ${XDG_CONFIG_HOME:-~/.config}; empty when unknown.
QUELTO_EXPORT std::filesystem::path userConfigFolder();

QUELTO_EXPORT std::wstring pathToWide(const std::filesystem::path& path);
// Also turns the Windows separator "\" into "/".
QUELTO_EXPORT std::filesystem::path wideToPath(std::wstring_view text);

} // namespace platform
