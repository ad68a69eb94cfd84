// The text of a registry store file as data: its keys in file order, each with its values. Parsing is
// separate from the store's file handling so that the parser, which reads files users edit by hand, can
// be exercised on its own (tests, fuzzing).
#pragma once

#include "platform/export.h"
#include "platform/registry_store.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryStoreValue {
    std::wstring name; // empty for the key's default value ("@")
    RegistryValue value;
};

// Key paths and value names compare without regard to ASCII letter case, as the registry does.
struct QUELTO_EXPORT RegistryStoreKey {
    std::wstring path; // below the root, without leading or trailing backslashes
    std::vector<RegistryStoreValue> values;

    const RegistryStoreValue* find(std::wstring_view name) const;
    void set(std::wstring_view name, const RegistryValue& value);
    void remove(std::wstring_view name);
};

struct QUELTO_EXPORT RegistryStoreDocument {
    std::vector<RegistryStoreKey> keys;

    const RegistryStoreKey* find(std::wstring_view path) const;
    RegistryStoreKey* find(std::wstring_view path);
    // The key, added at the end when it is not there yet.
    RegistryStoreKey& findOrAdd(std::wstring_view path);
    // A key exists when it or a key below it is in the file; the root always exists.
    bool hasKeyOrChild(std::wstring_view path) const;
    void removeTree(std::wstring_view path);
};

// Key text without leading or trailing backslashes ("\SOFTWARE\Maker\" gives "SOFTWARE\Maker"), the form
// key paths are stored and looked up in.
QUELTO_EXPORT std::wstring normalisedRegistryKey(std::wstring_view key);

struct RegistryStoreParse {
    RegistryStoreDocument document; // empty when damaged
    bool damaged = false;
    std::size_t line = 0; // 1-based line of the first thing that could not be placed
    std::string why;
};

// Reads a store file's bytes (UTF-8 with or without a byte-order mark, or UTF-16LE with one) whose keys
// must lie under `root`. Stops at the first line it cannot place.
QUELTO_EXPORT RegistryStoreParse parseRegistryStore(std::string_view bytes, RegistryRoot root);

// The file text (UTF-8, LF line ends) that reads back as `document`.
QUELTO_EXPORT std::string formatRegistryStore(const RegistryStoreDocument& document, RegistryRoot root);

} // namespace platform
