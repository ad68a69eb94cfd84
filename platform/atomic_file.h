// Safe replacement of small files that users cannot afford to lose (settings, configuration lists):
// whole-file reads, atomic writes through a temporary file renamed over the target, setting a damaged
// file aside under a new name instead of deleting it, and a lock that serialises writers between processes.
#pragma once

#include "platform/export.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct FileReadResult {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Missing;
    std::string bytes;
    std::string error; // what failed and why, with the path, when not Read
};

QUELTO_EXPORT FileReadResult readWholeFile(const std::filesystem::path& file);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it over the
// target, so a crash or a full disk leaves either the old or the new file, never a mixture. The folder is
// not created. A new file gets the permissions of the file it replaces, else 0666 minus the umask.
// Returns false with a message naming the file and the reason.
QUELTO_EXPORT bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                                       std::string* error = nullptr);

// A free name beside the file for keeping a damaged copy: "<name>.damaged-<UTC time>" with a counter
// added when that name is taken.
QUELTO_EXPORT std::filesystem::path setAsideName(const std::filesystem::path& file);

// Keeps a damaged file under the name from setAsideName. Moving empties the original place; keeping
// the original (a hard link, else a copy) leaves it for the atomic write that replaces it.
enum class SetAside { Move, KeepOriginal };
QUELTO_EXPORT std::optional<std::filesystem::path> setAsideFile(const std::filesystem::path& file,
                                                                SetAside how, std::string* error = nullptr);

// An exclusive advisory lock (flock) on "<file>.lock", held for the object's lifetime. Locks taken by
// separate objects exclude each other within one process too, because each opens its own descriptor.
class QUELTO_EXPORT FileLock {
public:
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_descriptor >= 0; }
    const std::string& error() const { return m_error; }

private:
    int m_descriptor = -1;
    std::string m_error;
};

} // namespace platform
