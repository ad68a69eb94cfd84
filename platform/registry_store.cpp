// Reading and writing the registry store files: where they live, who may change them, and what happens
// to a file the parser cannot read to the end. Such a file is set aside under a new name and the store
// reads as empty, so defaults apply and nothing the user had is lost.

#include "platform/registry_store.h"

#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/registry_store_cache.h"
#include "platform/registry_store_text.h"
#include "platform/wide_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unistd.h>

namespace platform {
namespace {

// Each damaged file is reported once per process, also when it cannot be set aside (a machine store
// that the user may not change stays where it is and would otherwise be reported at every read).
void reportOnce(const std::string& problem) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> guard(mutex);
    if (reported.insert(problem).second) {
        std::fprintf(stderr, "quelto: %s\n", problem.c_str());
    }
}

std::string damageText(const std::filesystem::path& file, const RegistryStoreParse& outcome) {
    return "registry store " + file.string() + " line " + std::to_string(outcome.line) + ": " + outcome.why;
}

} // namespace

std::wstring registryRootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::filesystem::path RegistryStore::defaultFile(RegistryRoot root) {
    const std::filesystem::path fileName = wideToUtf8(registryRootName(root)) + ".reg";
    const char* moved = std::getenv("QUELTO_REGISTRY_DIR");
    if (moved != nullptr && moved[0] != '\0') {
        return std::filesystem::path(moved) / fileName;
    }
    if (root == RegistryRoot::LocalMachine) {
        return std::filesystem::path("/etc/quelto") / fileName;
    }
    const std::filesystem::path config = userConfigFolder();
    return config.empty() ? config : config / "quelto" / fileName;
}

RegistryStore::RegistryStore(RegistryRoot root) : RegistryStore(root, defaultFile(root)) {}

RegistryStore::RegistryStore(RegistryRoot root, std::filesystem::path file)
    : m_root(root), m_file(std::move(file)) {}

bool RegistryStore::canWrite() const {
    if (m_file.empty()) {
        return false;
    }
    std::filesystem::path folder = m_file.has_parent_path() ? m_file.parent_path() : ".";
    // Settings are read per entity: one call answers both whether the file exists and whether it may
    // be written.
    if (::access(m_file.c_str(), W_OK) == 0) {
        return ::access(folder.c_str(), W_OK) == 0;
    }
    if (errno != ENOENT) {
        return false;
    }
    std::error_code ignored;
    // A missing folder is created by the first write, so what counts is the nearest one that exists.
    while (!std::filesystem::exists(folder, ignored) && folder.has_parent_path() &&
           folder != folder.parent_path()) {
        folder = folder.parent_path();
    }
    return std::filesystem::is_directory(folder, ignored) && ::access(folder.c_str(), W_OK) == 0;
}

namespace {

struct Loaded {
    std::shared_ptr<const RegistryStoreDocument> document = std::make_shared<const RegistryStoreDocument>();
    bool readable = true;
};

// Reads the store; a damaged file is set aside (when the process may) and reads as empty.
Loaded loadForReading(const std::filesystem::path& file, RegistryRoot root, std::string& problem) {
    Loaded loaded;
    if (file.empty()) {
        return loaded;
    }
    CachedStoreRead read = readStoreCached(file, root);
    switch (read.status) {
    case CachedStoreRead::Status::Read:
        loaded.document = std::move(read.document);
        return loaded;
    case CachedStoreRead::Status::Missing:
        return loaded;
    case CachedStoreRead::Status::Failed:
        problem = read.error;
        loaded.readable = false;
        return loaded;
    case CachedStoreRead::Status::Damaged:
        break;
    }
    problem = damageText(file, read.damage);
    const FileLock lock(file);
    // A writer may have replaced the file since it was read; only the damaged bytes are set aside.
    if (lock.locked() && readWholeFile(file).bytes == read.bytes) {
        std::string error;
        const std::optional<std::filesystem::path> aside = setAsideFile(file, SetAside::Move, &error);
        problem += aside ? "; kept as " + aside->string() + ", defaults are used" : "; " + error;
    }
    reportOnce(problem);
    return loaded;
}

} // namespace

RegistryStore::ReadResult RegistryStore::readValue(std::wstring_view key, std::wstring_view name) {
    m_lastProblem.clear();
    Loaded loaded = loadForReading(m_file, m_root, m_lastProblem);
    ReadResult result;
    if (!loaded.readable) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    const std::wstring path = normalisedRegistryKey(key);
    const RegistryStoreKey* stored = loaded.document->find(path);
    if (stored == nullptr) {
        result.status = loaded.document->hasKeyOrChild(path) ? ReadStatus::NoValue : ReadStatus::NoKey;
        return result;
    }
    if (const RegistryStoreValue* value = stored->find(name)) {
        result.status = ReadStatus::Found;
        result.value = value->value;
        return result;
    }
    result.status = ReadStatus::NoValue;
    return result;
}

bool RegistryStore::keyExists(std::wstring_view key) {
    m_lastProblem.clear();
    const Loaded loaded = loadForReading(m_file, m_root, m_lastProblem);
    return loaded.document->hasKeyOrChild(normalisedRegistryKey(key));
}

RegistryStore::WriteStatus RegistryStore::writeValue(std::wstring_view key, std::wstring_view name,
                                                     const RegistryValue& value, bool createKey) {
    m_lastProblem.clear();
    const std::wstring path = normalisedRegistryKey(key);
    if (!canWrite()) {
        const bool exists = keyExists(path);
        m_lastProblem = "registry store " + m_file.string() + " may not be changed by this user";
        if (exists) {
            return WriteStatus::CannotOpenKey;
        }
        return createKey ? WriteStatus::CannotCreateKey : WriteStatus::NoKey;
    }
    std::error_code folderError;
    std::filesystem::create_directories(m_file.parent_path(), folderError);
    const FileLock lock(m_file);
    if (!lock.locked()) {
        m_lastProblem = lock.error();
        return WriteStatus::CannotOpenKey;
    }
    const FileReadResult read = readWholeFile(m_file);
    if (read.status == FileReadResult::Status::Failed) {
        m_lastProblem = read.error;
        return WriteStatus::CannotOpenKey;
    }
    RegistryStoreDocument document;
    if (read.status == FileReadResult::Status::Read) {
        RegistryStoreParse outcome = parseRegistryStore(read.bytes, m_root);
        if (outcome.damaged) {
            // Keep the damaged file under a new name before the rewrite replaces it; without a kept
            // copy nothing is written, so a user can still repair the file.
            std::string problem = damageText(m_file, outcome);
            std::string error;
            const std::optional<std::filesystem::path> aside =
                setAsideFile(m_file, SetAside::KeepOriginal, &error);
            if (!aside) {
                m_lastProblem = problem + "; " + error;
                reportOnce(m_lastProblem);
                return WriteStatus::CannotWrite;
            }
            m_lastProblem = problem + "; kept as " + aside->string();
            reportOnce(m_lastProblem);
        } else {
            document = std::move(outcome.document);
        }
    }
    if (!createKey && !document.hasKeyOrChild(path)) {
        return WriteStatus::NoKey;
    }
    document.findOrAdd(path).set(name, value);
    std::string error;
    const bool written = writeFileAtomically(m_file, formatRegistryStore(document, m_root), &error);
    forgetStore(m_file);
    if (!written) {
        m_lastProblem = error;
        return WriteStatus::CannotWrite;
    }
    return WriteStatus::Written;
}

} // namespace platform
