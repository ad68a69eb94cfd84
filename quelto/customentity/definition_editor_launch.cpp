// Starting the definition editor from the install location, as the settings page's button does. Linux has
// no installer writing that location, so without it the editor is looked for where an installation or the
// build tree puts it next to the module. The editor is started detached (its own session, reaped at once
// by an intermediate process), so the host neither waits for it nor collects it later.

#include "quelto/customentity/definition_editor_launch.h"

#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/customentity/freedom_entity_mangage.h"
#include "quelto/filter/qlt_system_param.h"

#include <cerrno>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The build sets both from its install folders and its own layout; these are its defaults.
#ifndef QUELTO_EDITOR_FROM_INSTALLED_MODULE
#define QUELTO_EDITOR_FROM_INSTALLED_MODULE "../bin"
#endif
#ifndef QUELTO_EDITOR_FROM_BUILT_MODULE
#define QUELTO_EDITOR_FROM_BUILT_MODULE "../tools"
#endif

namespace {

bool startDetached(const std::filesystem::path& program) {
    // Everything the child needs is prepared before fork: between fork and exec only async-signal-safe
    // calls are allowed in a process that may run other threads (Qt's).
    const std::string file = program.string();
    char* const arguments[] = {const_cast<char*>(file.c_str()), nullptr};
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            ::execv(file.c_str(), arguments);
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

bool isExecutableFile(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

} // namespace

namespace quelto::customentity {

std::filesystem::path findEditorBesideModule(const std::filesystem::path& moduleFile) {
    // The folders relative to the module's, as the build describes them: installed lib -> bin, and the
    // build tree's module folder -> its tools folder.
    for (const char* relative : {QUELTO_EDITOR_FROM_INSTALLED_MODULE, QUELTO_EDITOR_FROM_BUILT_MODULE}) {
        const std::filesystem::path candidate =
            (moduleFile.parent_path() / relative / CFreedomEntityMangage::EditorProgramName)
                .lexically_normal();
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::filesystem::path moduleFile() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&CFreedomEntityMangage::RunDefinitionEditor), &info) == 0 ||
        info.dli_fname == nullptr || info.dli_fname[0] == '\0') {
        return {};
    }
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::filesystem::path() : file;
}

} // namespace quelto::customentity

BOOL CFreedomEntityMangage::RunDefinitionEditor() {
    CQLTSystemParam parameters;
    CString location;
    std::filesystem::path program;
    if (parameters.GetLocation(location) && !location.empty()) {
        program = platform::wideToPath(location) / EditorProgramName;
    } else if (const std::filesystem::path module = quelto::customentity::moduleFile(); !module.empty()) {
        program = quelto::customentity::findEditorBesideModule(module);
    }
    // Unlike the shell's "open", which failed silently, a missing editor gets the same message as a
    // missing location: either way the installation is incomplete.
    if (program.empty() || ::access(program.c_str(), X_OK) != 0) {
        MessageBox(nullptr,
                   platform::formatWide(L"没有正确安装%s或系统安装信息丢失！", CQLTSystemParam::ProductName),
                   L"安装错误", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    return startDetached(program) ? TRUE : FALSE;
}
