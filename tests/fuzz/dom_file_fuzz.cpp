// Fuzz target: reading a custom entity definition file of any content. Besides crashes and sanitizer
// reports it checks what must hold for every input: a damaged file keeps no entities, and a file that was
// read writes bytes that read back to the same records and write the same bytes again.

#include "quelto/customentity/freedom_entity_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (result.status != CFreedomReadResult::Read) {
        require(file.entities.empty());
        require(!result.reason.empty());
        return 0;
    }
    for (CFreedomEntity& entity : file.entities) {
        for (CFreedomProp& prop : entity.props) {
            prop.ComputeId();
        }
    }
    const std::string written = file.SaveBytes();
    CFreedomEntityFile again;
    require(again.ReadBytes(written).status == CFreedomReadResult::Read);
    require(again.entities.size() == file.entities.size());
    require(again.SaveBytes() == written);
    return 0;
}
