// Fuzz target: the registry store's file parser, on files of any content (users edit them by hand).
// Besides crashes and sanitizer reports it checks what must hold for every input: a file that reads is
// written so that it reads back to the same keys and values, and that text is stable when written again.

#include "platform/registry_store_text.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool sameValues(const platform::RegistryValue& left, const platform::RegistryValue& right) {
    return left.type == right.type && left.number == right.number && left.text == right.text;
}

bool sameDocuments(const platform::RegistryStoreDocument& left,
                   const platform::RegistryStoreDocument& right) {
    if (left.keys.size() != right.keys.size()) {
        return false;
    }
    for (std::size_t key = 0; key < left.keys.size(); ++key) {
        const auto& first = left.keys[key];
        const auto& second = right.keys[key];
        if (first.path != second.path || first.values.size() != second.values.size()) {
            return false;
        }
        for (std::size_t value = 0; value < first.values.size(); ++value) {
            if (first.values[value].name != second.values[value].name ||
                !sameValues(first.values[value].value, second.values[value].value)) {
                return false;
            }
        }
    }
    return true;
}

// A file read as the store of `root`: damaged, or written back to text that reads as the same document.
void checkRoundTrip(std::string_view bytes, platform::RegistryRoot root) {
    const platform::RegistryStoreParse first = platform::parseRegistryStore(bytes, root);
    if (first.damaged) {
        require(first.line >= 1 && !first.why.empty() && first.document.keys.empty());
        return;
    }
    const std::string written = platform::formatRegistryStore(first.document, root);
    const platform::RegistryStoreParse second = platform::parseRegistryStore(written, root);
    require(!second.damaged);
    require(sameDocuments(first.document, second.document));
    require(platform::formatRegistryStore(second.document, root) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkRoundTrip(bytes, platform::RegistryRoot::CurrentUser);
    checkRoundTrip(bytes, platform::RegistryRoot::LocalMachine);
    return 0;
}
