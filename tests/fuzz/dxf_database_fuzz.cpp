// Fuzz target of the drawing database loader, ASCII and binary: any bytes must load or fail cleanly,
// and a drawing that loaded must save to memory (in the format it was read, and for odd-sized inputs in
// the other format too) and load again from what was saved.
#include "cad/db/database.h"
#include "cad/dxf/tag_writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void expectSavedCopyLoads(const AcDbDatabase& database, cad::dxf::DxfFormat format) {
    cad::dxf::WriterOptions options;
    options.format = format;
    options.acadVersion = database.version();
    options.codec = database.textCodec();
    cad::dxf::BufferTagWriter writer(options);
    database.writeDxfTags(writer);
    AcDbDatabase again(false);
    cad::dxf::TagError error;
    if (!again.readDxfBuffer(writer.bytes(), error)) {
        std::abort(); // what the saver wrote must read back
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    if (!database.readDxfBuffer(bytes, error)) {
        return 0;
    }
    const cad::dxf::DxfFormat readFormat = database.formatRead();
    expectSavedCopyLoads(database, readFormat);
    if (size % 2 == 1) {
        expectSavedCopyLoads(database, readFormat == cad::dxf::DxfFormat::Ascii ? cad::dxf::DxfFormat::Binary
                                                                                : cad::dxf::DxfFormat::Ascii);
    }
    return 0;
}
