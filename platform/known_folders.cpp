// Special folders from the environment, following the XDG base-directory rules: a variable counts only
// when it holds an absolute path, and the home folder comes from $HOME, else the password database.

#include "platform/known_folders.h"

#include "platform/code_page.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::filesystem::path absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return std::filesystem::path(value);
}

std::filesystem::path homeFolder() {
    std::filesystem::path home = absoluteFromEnvironment("HOME");
    if (!home.empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return std::filesystem::path(found->pw_dir);
    }
    return {};
}

std::filesystem::path xdgFolder(const char* variable, const char* underHome) {
    std::filesystem::path folder = absoluteFromEnvironment(variable);
    if (!folder.empty()) {
        return folder;
    }
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / underHome;
}

} // namespace

std::filesystem::path commonAppDataFolder() {
    const std::filesystem::path moved = absoluteFromEnvironment("QUELTO_COMMON_APPDATA");
    return moved.empty() ? xdgFolder("XDG_DATA_HOME", ".local/share") : moved;
}

std::filesystem::path commonProgramFilesFolder() {
    return std::filesystem::path("/usr/local/share");
}

std::filesystem::path userConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::wstring pathToWide(const std::filesystem::path& path) {
    return utf8ToWide(path.native());
}

std::filesystem::path wideToPath(std::wstring_view text) {
    std::wstring slashed(text);
    for (wchar_t& character : slashed) {
        if (character == L'\\') {
            character = L'/';
        }
    }
    return std::filesystem::path(wideToUtf8(slashed));
}

} // namespace platform
