// Where the definition editor is when the machine settings name no install location: beside the module's
// own file, in the folder an installation (lib -> bin) or the build tree (quelto -> tools) puts it.
#pragma once

#include <filesystem>

namespace quelto::customentity {

// The editor for a module loaded from `moduleFile`; empty when neither folder holds an executable one.
std::filesystem::path findEditorBesideModule(const std::filesystem::path& moduleFile);

// The file the module's code was loaded from (libquelto.so, or the program it is linked into).
std::filesystem::path moduleFile();

} // namespace quelto::customentity
