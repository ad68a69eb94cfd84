// Starting the definition editor from the install location, as the settings page's button does. The
// editor is started detached (its own session, reaped at once by an intermediate process), so the host
// neither waits for it nor collects it later.

#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/customentity/freedom_entity_mangage.h"
#include "quelto/filter/qlt_system_param.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace

BOOL CFreedomEntityMangage::RunDefinitionEditor() {
    CQLTSystemParam parameters;
    CString location;
    std::filesystem::path program;
    if (parameters.GetLocation(location) && !location.empty()) {
        program = platform::wideToPath(location) / EditorProgramName;
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
