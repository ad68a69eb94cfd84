// Helpers shared by the database tests: reading a drawing's tag stream, and comparing
// two tag streams after the normalisations saving documents (number formatting, decoded text).
#pragma once

#include "cad/db/database.h"
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/tag_writer.h"
#include "support/test_support.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dbtest {

struct ComparableTag {
    int code = 0;
    std::wstring text;
    double real = 0.0;
    std::int64_t integer = 0;
    std::uint64_t position = 0;
};

// Every tag up to EOF, comments dropped, strings decoded with the stream's code page.
inline bool readTags(cad::dxf::TagReader& reader, std::vector<ComparableTag>& tags) {
    const cad::dxf::TextCodec codec = reader.codec();
    cad::dxf::Tag tag;
    while (reader.next(tag)) {
        if (tag.code == 999) {
            continue;
        }
        ComparableTag comparable;
        comparable.code = tag.code;
        comparable.position = tag.position;
        if (tag.isString()) {
            comparable.text = codec.decode(tag.text);
        }
        comparable.real = tag.isDouble() ? tag.real : 0.0;
        comparable.integer = tag.isInteger() ? tag.integer : 0;
        tags.push_back(std::move(comparable));
    }
    return !reader.failed();
}

inline bool sameTag(const ComparableTag& left, const ComparableTag& right) {
    return left.code == right.code && left.text == right.text && left.real == right.real &&
           left.integer == right.integer;
}

inline std::string saveToBytes(const AcDbDatabase& database,
                               cad::dxf::DxfFormat format = cad::dxf::DxfFormat::Ascii) {
    cad::dxf::WriterOptions options;
    options.format = format;
    options.acadVersion = database.version();
    options.codec = database.textCodec();
    cad::dxf::BufferTagWriter writer(options);
    database.writeDxfTags(writer);
    return writer.takeBytes();
}

} // namespace dbtest
