// The parsed form of every registry store file this process has read, kept while the file stays the
// same: settings are read per entity, and parsing the file at every getter would dominate. Other
// processes and editors change the files too, so every look-up checks the file first.
#pragma once

#include "platform/export.h"
#include "platform/registry_store_text.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace platform {

struct CachedStoreRead {
    enum class Status { Read, Missing, Failed, Damaged };
    Status status = Status::Missing;
    std::shared_ptr<const RegistryStoreDocument> document; // when Read
    std::string bytes;                                     // when Damaged: what was parsed
    RegistryStoreParse damage;                             // when Damaged: where and why
    std::string error;                                     // when Failed
};

// The file's document, parsed again only when the file changed since it was last parsed. A change is
// seen through the file's identity, size and change times; a file changed so recently that the clock
// could not tell two changes apart is read again and compared byte for byte.
QUELTO_EXPORT CachedStoreRead readStoreCached(const std::filesystem::path& file, RegistryRoot root);

// Drops what is kept of the file, after this process changed it.
QUELTO_EXPORT void forgetStore(const std::filesystem::path& file);

// How many times this process parsed a store file: lets tests see that the cache is used.
QUELTO_EXPORT std::uint64_t registryStoreParseCount();

} // namespace platform
