// The process-wide cache of parsed registry store files. A file's stamp (device, inode, size, and the
// modification and status-change times in nanoseconds) tells whether it changed: a writer that replaces
// the file gives a new inode, one that writes in place a new size or time. File times come from a coarse
// clock, so two writes in quick succession can leave the same stamp; a stamp is trusted only once it is
// older than kSettleTime, and until then each look-up reads the bytes again and compares them.

#include "platform/registry_store_cache.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace platform {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
// Far longer than any file system's time step, with room for a clock that is adjusted a little.
constexpr std::int64_t kSettleTime = 2 * kNanosecondsPerSecond;

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;

    bool operator==(const FileStamp&) const = default;
};

// False when the file cannot be examined (missing or not accessible).
bool stampOf(const std::filesystem::path& file, FileStamp& stamp) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return false;
    }
    stamp = {status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim),
             nanoseconds(status.st_ctim)};
    return true;
}

// Whether no later change can leave this stamp, judged at `now` (taken before the stamp).
bool settled(const FileStamp& stamp, std::int64_t now) {
    return now - std::max(stamp.modified, stamp.changed) >= kSettleTime;
}

std::int64_t wallClockNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

struct CachedStore {
    FileStamp stamp;
    bool settled = false;
    std::string bytes;
    std::shared_ptr<const RegistryStoreDocument> document;
};

struct Cache {
    std::mutex mutex;
    std::map<std::filesystem::path, CachedStore> files;
};

// Never destroyed, so that settings read while the process exits still find it.
Cache& theCache() {
    static Cache* const kCache = new Cache;
    return *kCache;
}

std::atomic<std::uint64_t> parseCount{0};

} // namespace

CachedStoreRead readStoreCached(const std::filesystem::path& file, RegistryRoot root) {
    CachedStoreRead result;
    const std::int64_t now = wallClockNow();
    FileStamp before;
    const bool examined = stampOf(file, before);
    Cache& shared = theCache();
    const std::lock_guard<std::mutex> guard(shared.mutex);
    auto& cache = shared.files;
    const auto found = cache.find(file);
    if (examined && found != cache.end() && found->second.settled && found->second.stamp == before) {
        result.status = CachedStoreRead::Status::Read;
        result.document = found->second.document;
        return result;
    }
    FileReadResult read = readWholeFile(file);
    if (read.status != FileReadResult::Status::Read) {
        if (found != cache.end()) {
            cache.erase(found);
        }
        result.status = read.status == FileReadResult::Status::Missing ? CachedStoreRead::Status::Missing
                                                                       : CachedStoreRead::Status::Failed;
        result.error = std::move(read.error);
        return result;
    }
    // The stamp describes the bytes only when the file did not change while they were read.
    FileStamp after;
    const bool unchanged = examined && stampOf(file, after) && after == before;
    if (found != cache.end() && found->second.bytes == read.bytes) {
        result.status = CachedStoreRead::Status::Read;
        result.document = found->second.document;
        if (unchanged) {
            found->second.stamp = before;
            found->second.settled = settled(before, now);
        }
        return result;
    }
    parseCount.fetch_add(1, std::memory_order_relaxed);
    RegistryStoreParse outcome = parseRegistryStore(read.bytes, root);
    if (outcome.damaged) {
        if (found != cache.end()) {
            cache.erase(found);
        }
        result.status = CachedStoreRead::Status::Damaged;
        result.bytes = std::move(read.bytes);
        result.damage = std::move(outcome);
        return result;
    }
    result.status = CachedStoreRead::Status::Read;
    result.document = std::make_shared<const RegistryStoreDocument>(std::move(outcome.document));
    if (unchanged) {
        cache[file] = {before, settled(before, now), std::move(read.bytes), result.document};
    } else if (found != cache.end()) {
        cache.erase(found);
    }
    return result;
}

void forgetStore(const std::filesystem::path& file) {
    Cache& shared = theCache();
    const std::lock_guard<std::mutex> guard(shared.mutex);
    shared.files.erase(file);
}

std::uint64_t registryStoreParseCount() {
    return parseCount.load(std::memory_order_relaxed);
}

} // namespace platform
