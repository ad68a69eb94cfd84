// The Windows registry of this system: one text file per root in the format of registry export files
// ("Windows Registry Editor Version 5.00", keys in brackets, "name"=dword:… and "name"="text" lines), which
// users can read and edit by hand. Readers parse a file again only when it changed (see
// registry_store_cache.h); writers read, change and replace it atomically under an inter-process lock,
// so concurrent writers lose no value.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE", as the key lines of the file spell them.
QUELTO_EXPORT std::wstring registryRootName(RegistryRoot root);

struct RegistryValue {
    enum class Type {
        Dword,  // dword:0000002a
        String, // "text", or hex(1): when the text holds control characters
        Other,  // any other typed value of a hand-made file, kept verbatim
    };
    Type type = Type::String;
    DWORD number = 0;
    std::wstring text; // the string, or for Other the text after "=" as found in the file

    static RegistryValue dword(DWORD value) { return {Type::Dword, value, {}}; }
    static RegistryValue string(std::wstring value) { return {Type::String, 0, std::move(value)}; }
};

class QUELTO_EXPORT RegistryStore {
public:
    // The store file of a root: both in $QUELTO_REGISTRY_DIR when set; otherwise the current user's in
    // ${XDG_CONFIG_HOME:-~/.config}/quelto/ and the machine's in /etc/quelto/, which only the
    // administrator may write.
    static std::filesystem::path defaultFile(RegistryRoot root);

    explicit RegistryStore(RegistryRoot root);
    RegistryStore(RegistryRoot root, std::filesystem::path file);

    RegistryRoot root() const { return m_root; }
    const std::filesystem::path& file() const { return m_file; }

    // Whether this process may change the store, the stand-in for opening a key with write access.
    bool canWrite() const;

    enum class ReadStatus { Found, NoKey, NoValue, Unreadable };
    struct ReadResult {
        ReadStatus status = ReadStatus::NoKey;
        RegistryValue value;
    };
    // Key paths are given without the root ("SOFTWARE\Maker\Product"); keys and value names compare
    // without regard to ASCII letter case, as the registry does. A key exists when it or a key below
    // it is in the file. The empty value name is the key's default value ("@").
    ReadResult readValue(std::wstring_view key, std::wstring_view name);
    bool keyExists(std::wstring_view key);

    enum class WriteStatus { Written, NoKey, CannotCreateKey, CannotOpenKey, CannotWrite };
    WriteStatus writeValue(std::wstring_view key, std::wstring_view name, const RegistryValue& value,
                           bool createKey);

    // What went wrong with the file at the last call: where a damaged file was found and where it was
    // set aside, or why a write failed. Empty when nothing did.
    const std::string& lastProblem() const { return m_lastProblem; }

private:
    RegistryRoot m_root;
    std::filesystem::path m_file;
    std::string m_lastProblem;
};

} // namespace platform

// The registry root handles that module code is written with.
using HKEY = platform::RegistryRoot;
inline constexpr HKEY HKEY_CURRENT_USER = platform::RegistryRoot::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = platform::RegistryRoot::LocalMachine;
