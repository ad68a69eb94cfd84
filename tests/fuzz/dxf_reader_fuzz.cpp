// Fuzz target of the DXF tag reader, ASCII and binary: any input must tokenise or fail cleanly, string
// values must decode and encode through the drawing's codec, and a stream that read without error must
// read back from the writer's output (same format) as the same tags.
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/tag_writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// The ASCII writer caret-encodes line breaks inside values; such values come back changed by design.
bool survivesAsciiUnchanged(const cad::dxf::OwnedTag& tag) {
    return tag.text.find_first_of("\r\n") == std::string::npos;
}

// Writes `tags`, reads them back and aborts unless the same tags come back (values compared where
// `comparable` says the format keeps them).
template <typename Comparable>
void expectSameTags(cad::dxf::BufferTagWriter& writer, const std::vector<cad::dxf::OwnedTag>& tags,
                    Comparable comparable) {
    using namespace cad::dxf;
    for (const OwnedTag& owned : tags) {
        writer.write(owned.view());
    }
    TagReader again;
    TagError error;
    if (!again.openBuffer(writer.bytes(), error)) {
        std::abort();
    }
    std::size_t index = 0;
    Tag tag;
    while (again.next(tag)) {
        const OwnedTag copy(tag);
        if (index >= tags.size() || copy.code != tags[index].code ||
            (comparable(tags[index]) && !(copy == tags[index]))) {
            std::abort();
        }
        ++index;
    }
    if (again.failed() || index != tags.size()) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cad::dxf;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TagReader reader;
    TagError error;
    if (!reader.openBuffer(bytes, error)) {
        return 0;
    }
    const TextCodec codec = reader.codec();
    std::vector<OwnedTag> tags;
    Tag tag;
    while (reader.next(tag)) {
        if (tags.size() % 5 == 4) {
            const OwnedTag first(tag);
            reader.pushBack();
            if (!reader.next(tag) || !(OwnedTag(tag) == first)) {
                std::abort(); // a pushed-back tag must come again
            }
        }
        if (tag.type == ValueType::String && tags.size() < 256) {
            codec.decode(codec.encode(codec.decode(tag.text)));
        }
        tags.emplace_back(tag);
    }
    if (reader.failed() || tags.empty()) {
        return 0;
    }
    if (reader.format() == DxfFormat::Ascii) {
        BufferTagWriter writer(WriterOptions{DxfFormat::Ascii, reader.acadVersionNumber(), "\n", codec});
        expectSameTags(writer, tags, survivesAsciiUnchanged);
    } else if ((tags.front().code == 0 && !tags.front().text.empty()) ||
               tags.front().code == kCommentGroupCode) {
        // Only streams that begin as DXF files do (0 SECTION or a comment) show their code width.
        BufferTagWriter writer(
            WriterOptions{DxfFormat::Binary, reader.binaryHasWideCodes() ? 1015 : 1009, "\n", codec});
        expectSameTags(writer, tags, [](const OwnedTag&) { return true; });
    }
    return 0;
}
