// Writing tags: the bytes of each value kind in ASCII and binary, the replacement of files only after a
// complete write, and read -> write -> read of every corpus drawing in its own and in the other format.
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/tag_writer.h"
#include "support/test_support.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace cad::dxf {
namespace {

std::string hex(std::string_view bytes) {
    std::string text;
    bytesToHex(bytes, text);
    return text;
}

struct FormatCase {
    const char* name;
    Tag tag;
    std::string ascii;     // with LF line endings
    std::string wideHex;   // binary, 2-byte codes, without the sentinel
    std::string narrowHex; // binary, R12 codes
};

TEST(TagWriter, FormatsEachValueKindByItsGroupCode) {
    const std::vector<FormatCase> cases = {
        {"string", Tag::makeString(0, "EOF"), "  0\nEOF\n", "0000454F4600", "00454F4600"},
        {"extended data string", Tag::makeString(1000, "x"), "1000\nx\n", "E8037800", "FFE8037800"},
        {"integral real", Tag::makeDouble(10, 1.0), " 10\n1.0\n", "0A00000000000000F03F",
         "0A000000000000F03F"},
        {"shortest real", Tag::makeDouble(40, 0.1), " 40\n0.1\n", "28009A9999999999B93F",
         "289A9999999999B93F"},
        {"large real", Tag::makeDouble(40, 1e20), " 40\n1e+20\n", "2800408CB5781DAF1544",
         "28408CB5781DAF1544"},
        {"negative zero", Tag::makeDouble(40, -0.0), " 40\n-0.0\n", "28000000000000000080",
         "280000000000000080"},
        {"int16", Tag::makeInteger(70, -2), " 70\n-2\n", "4600FEFF", "46FEFF"},
        {"int32", Tag::makeInteger(90, 65537), " 90\n65537\n", "5A0001000100", "5A01000100"},
        {"int64", Tag::makeInteger(160, 1LL << 32), "160\n4294967296\n", "A0000000000001000000",
         "A00000000001000000"},
        {"bool", Tag::makeBool(290, true), "290\n1\n", "220101", "FF220101"},
        {"flag byte other than 1", Tag::makeInteger(290, 9), "290\n9\n", "220109", "FF220109"},
        {"integer for a real code", Tag::makeInteger(10, 5), " 10\n5.0\n", "0A0000000000000014 40",
         "0A00000000000014 40"},
        {"real for an integer code", Tag::makeDouble(62, 2.6), " 62\n3\n", "3E000300", "3E0300"},
        {"text for an integer code", Tag::makeString(70, "12"), " 70\n12\n", "46000C00", "460C00"},
        {"number for a string code", Tag::makeInteger(1, 7), "  1\n7\n", "01003700", "013700"},
        {"line break in a string", Tag::makeString(1, "a\nb"), "  1\na^Jb\n", "0100610A6200", "01610A6200"},
        {"nul in a string", Tag::makeString(1, std::string_view("a\0b", 3)), std::string("  1\na\0b\n", 8),
         "0100615E406200", "01615E406200"},
        {"binary chunk", Tag::makeString(310, "0aFF"), "310\n0aFF\n", "3601020AFF", "FF3601020AFF"},
    };
    for (const FormatCase& row : cases) {
        SCOPED_TRACE(row.name);
        BufferTagWriter ascii(WriterOptions{DxfFormat::Ascii, 1015, "\n", {}});
        ascii.write(row.tag);
        EXPECT_EQ(ascii.bytes(), row.ascii);

        BufferTagWriter wide(WriterOptions{DxfFormat::Binary, 1015, "\n", {}});
        wide.write(row.tag);
        ASSERT_EQ(wide.bytes().substr(0, kBinarySentinel.size()), kBinarySentinel);
        std::string expectedWide = row.wideHex;
        std::erase(expectedWide, ' ');
        EXPECT_EQ(hex(wide.bytes().substr(kBinarySentinel.size())), expectedWide);

        BufferTagWriter narrow(WriterOptions{DxfFormat::Binary, 1009, "\n", {}});
        narrow.write(row.tag);
        std::string expectedNarrow = row.narrowHex;
        std::erase(expectedNarrow, ' ');
        EXPECT_EQ(hex(narrow.bytes().substr(kBinarySentinel.size())), expectedNarrow);
    }
}

TEST(TagWriter, SplitsLongBinaryDataIntoChunks) {
    const std::string data(300, '\x5A');
    std::string hexText;
    bytesToHex(data, hexText);
    BufferTagWriter writer(WriterOptions{DxfFormat::Binary, 1015, "\n", {}});
    writer.writeString(310, hexText);
    writer.writeString(0, "EOF");

    TagReader reader;
    TagError error;
    ASSERT_TRUE(reader.openBuffer(writer.bytes(), error));
    std::string joined;
    Tag tag;
    std::vector<std::size_t> sizes;
    while (reader.next(tag) && tag.code == 310) {
        sizes.push_back(tag.text.size() / 2);
        joined += tag.text;
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{127, 127, 46}));
    EXPECT_EQ(joined, hexText);
}

TEST(TagWriter, WritesTextThroughTheDrawingCodec) {
    BufferTagWriter writer(WriterOptions{DxfFormat::Ascii, 1015, "\r\n", TextCodec(1015, "ANSI_936")});
    writer.writeText(8, L"层ก");
    writer.writePoint(10, 1.0, 2.5, -3.0);
    EXPECT_EQ(writer.bytes(), "  8\r\n\xB2\xE3\\U+0E01\r\n 10\r\n1.0\r\n 20\r\n2.5\r\n 30\r\n-3.0\r\n");
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

class FileTagWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("quelto_dxf_writer_" + std::to_string(getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_target = m_folder / "drawing.dxf";
        std::ofstream(m_target) << "old content";
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_folder), {}));
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_target;
};

TEST_F(FileTagWriterTest, ReplacesTheTargetOnlyOnCommit) {
    FileTagWriter writer(WriterOptions{DxfFormat::Ascii, 1015, "\n", {}});
    TagError error;
    ASSERT_TRUE(writer.open(m_target, error)) << error.toString();
    for (int index = 0; index < 200000; ++index) { // several flushes
        writer.writeInteger(90, index);
    }
    writer.writeString(0, "EOF");
    EXPECT_EQ(readFile(m_target), "old content");
    EXPECT_TRUE(std::filesystem::exists(writer.temporaryPath()));
    ASSERT_TRUE(writer.commit(error)) << error.toString();
    const std::string written = readFile(m_target);
    EXPECT_EQ(written.substr(0, 8), " 90\n0\n 9");
    EXPECT_EQ(written.substr(written.size() - 8), "  0\nEOF\n");
    EXPECT_EQ(writer.bytesWritten(), written.size());
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(FileTagWriterTest, LeavesTheTargetAsItWasWithoutCommit) {
    {
        FileTagWriter writer;
        TagError error;
        ASSERT_TRUE(writer.open(m_target, error));
        writer.writeString(0, "SECTION");
    }
    EXPECT_EQ(readFile(m_target), "old content");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(FileTagWriterTest, ReportsAFailedReplacementAndKeepsNoTemporaryFile) {
    const std::filesystem::path occupied = m_folder / "occupied";
    std::filesystem::create_directories(occupied / "inside");
    FileTagWriter writer;
    TagError error;
    ASSERT_TRUE(writer.open(occupied, error));
    writer.writeString(0, "EOF");
    EXPECT_FALSE(writer.commit(error));
    EXPECT_EQ(error.message.rfind("cannot replace " + occupied.string() + ": ", 0), 0u) << error.message;
    EXPECT_TRUE(std::filesystem::is_directory(occupied / "inside"));
    EXPECT_EQ(filesInFolder(), 2u);

    FileTagWriter nowhere;
    EXPECT_FALSE(nowhere.open(m_folder / "missing" / "drawing.dxf", error));
    EXPECT_NE(error.message.find("cannot create the temporary file"), std::string::npos);
}

std::vector<OwnedTag> collect(TagReader& reader) {
    std::vector<OwnedTag> tags;
    Tag tag;
    while (reader.next(tag)) {
        tags.emplace_back(tag);
    }
    return tags;
}

// Reads `bytes`, writes the tags in `format`, reads them again: the tags must be equal one for one.
TEST(TagWriter, RoundTripsEveryCorpusDrawingInBothFormats) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const auto files = quelto::testing::corpusDrawings();
    ASSERT_GE(files.size(), 50u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openFile(file, error)) << error.toString();
        const std::vector<OwnedTag> original = collect(reader);
        ASSERT_FALSE(reader.failed()) << reader.error().toString();
        for (const DxfFormat format : {DxfFormat::Ascii, DxfFormat::Binary}) {
            SCOPED_TRACE(format == DxfFormat::Ascii ? "ascii" : "binary");
            BufferTagWriter writer(WriterOptions{format, reader.acadVersionNumber(), "\r\n", reader.codec()});
            for (const OwnedTag& tag : original) {
                writer.write(tag.view());
            }
            TagReader again;
            ASSERT_TRUE(again.openBuffer(writer.bytes(), error)) << error.toString();
            const std::vector<OwnedTag> copy = collect(again);
            ASSERT_FALSE(again.failed()) << again.error().toString();
            ASSERT_EQ(copy.size(), original.size());
            for (std::size_t index = 0; index < copy.size(); ++index) {
                ASSERT_TRUE(copy[index] == original[index])
                    << "tag " << index << ": code " << original[index].code << " \"" << original[index].text
                    << "\" became code " << copy[index].code << " \"" << copy[index].text << "\"";
            }
            EXPECT_EQ(again.acadVersion(), reader.acadVersion());
            EXPECT_EQ(again.codePage(), reader.codePage());
        }
    }
}

} // namespace
} // namespace cad::dxf
