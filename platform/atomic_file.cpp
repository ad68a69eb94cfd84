// POSIX implementation of the safe file operations: O_EXCL temporaries synced to disk before the
// rename, link() for set-aside copies so an existing name is never overwritten, flock for writers.

#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string reason(const std::string& what, const std::filesystem::path& path, int errorNumber) {
    return what + " " + path.string() + ": " + std::strerror(errorNumber);
}

void setError(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

int openTemporary(const std::filesystem::path& file, std::filesystem::path& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".";
        name += file.filename().string();
        name += ".tmp-";
        name += std::to_string(::getpid());
        name += "-";
        name += std::to_string(counter.fetch_add(1));
        temporary = folderOf(file) / name;
        // 0666 lets the umask decide, as for any new file of the user.
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

FileReadResult readWholeFile(const std::filesystem::path& file) {
    FileReadResult result;
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        const int errorNumber = errno;
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) {
            result.status = FileReadResult::Status::Missing;
            return result;
        }
        result.status = FileReadResult::Status::Failed;
        result.error = reason("cannot open", file, errorNumber);
        return result;
    }
    result.bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) {
        result.status = FileReadResult::Status::Failed;
        result.error = "cannot read " + file.string();
        result.bytes.clear();
        return result;
    }
    result.status = FileReadResult::Status::Read;
    return result;
}

bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string* error) {
    std::filesystem::path temporary;
    const int descriptor = openTemporary(file, temporary);
    if (descriptor < 0) {
        setError(error, reason("cannot create a temporary file beside", file, errno));
        return false;
    }
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) {
        ::fchmod(descriptor, existing.st_mode & 07777);
    }
    bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    int errorNumber = errno;
    if (::close(descriptor) != 0 && written) {
        written = false;
        errorNumber = errno;
    }
    if (!written) {
        setError(error, reason("cannot write", temporary, errorNumber));
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        setError(error, reason("cannot replace", file, errno));
        ::unlink(temporary.c_str());
        return false;
    }
    // The folder is not synced: without it a crash may lose the newest write, but either file found
    // afterwards is complete, and settings writes stay cheap enough to make one per preference.
    return true;
}

std::filesystem::path setAsideName(const std::filesystem::path& file) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    const std::string base = file.filename().string() + ".damaged-" + stamp;
    std::filesystem::path candidate = folderOf(file) / base;
    std::error_code ignored;
    for (int counter = 2; std::filesystem::exists(candidate, ignored); ++counter) {
        candidate = folderOf(file) / (base + "-" + std::to_string(counter));
    }
    return candidate;
}

std::optional<std::filesystem::path> setAsideFile(const std::filesystem::path& file, SetAside how,
                                                  std::string* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path aside = setAsideName(file);
        bool kept = ::link(file.c_str(), aside.c_str()) == 0;
        if (!kept && errno == EEXIST) {
            continue; // taken between choosing the name and linking
        }
        if (!kept) {
            // Folders on file systems without hard links still allow a copy.
            std::error_code copyError;
            kept = std::filesystem::copy_file(file, aside, std::filesystem::copy_options::none, copyError);
            if (!kept) {
                setError(error, "cannot keep " + file.string() + " as " + aside.string() + ": " +
                                    copyError.message());
                return std::nullopt;
            }
        }
        if (how == SetAside::Move && ::unlink(file.c_str()) != 0) {
            setError(error, reason("kept a copy but cannot remove", file, errno));
        }
        return aside;
    }
    setError(error, "no free name to keep " + file.string());
    return std::nullopt;
}

FileLock::FileLock(const std::filesystem::path& file) {
    std::filesystem::path lockFile = file;
    lockFile += ".lock";
    m_descriptor = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_descriptor < 0) {
        m_error = reason("cannot open the lock file", lockFile, errno);
        return;
    }
    while (::flock(m_descriptor, LOCK_EX) != 0) {
        if (errno != EINTR) {
            m_error = reason("cannot lock", lockFile, errno);
            ::close(m_descriptor);
            m_descriptor = -1;
            return;
        }
    }
}

FileLock::~FileLock() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

} // namespace platform
