// Differential fuzz target of the two-thread reading of ENTITIES sections: any bytes, cut into tiny
// chunks (the first byte chooses their size), must give what one thread gives: the same success or
// error, the same diagnostics and the same saved drawing.
#include "cad/db/database.h"
#include "cad/dxf/tag_writer.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string loadOutcome(std::string_view bytes, const cad::db::DxfReadOptions& options) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    if (!database.readDxfBuffer(bytes, error, {}, options)) {
        return "error " + error.toString();
    }
    std::string outcome;
    for (const cad::db::Diagnostic& diagnostic : database.diagnostics()) {
        outcome += std::to_string(diagnostic.line) + "/" + std::to_string(diagnostic.offset) + " " +
                   diagnostic.message + "\n";
    }
    cad::dxf::BufferTagWriter writer;
    database.writeDxfTags(writer);
    return outcome + writer.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    cad::db::DxfReadOptions oneThread;
    oneThread.entitiesOnTwoThreads = false;
    const std::string single = loadOutcome(bytes, oneThread);
    cad::db::DxfReadOptions tinyChunks;
    tinyChunks.chunkBytes = 1 + data[0] % 64;
    tinyChunks.smallestSplitSection = 0;
    const std::string split = loadOutcome(bytes, tinyChunks);
    if (split != single) {
        std::abort(); // reading in chunks must not change the drawing
    }
    return 0;
}
