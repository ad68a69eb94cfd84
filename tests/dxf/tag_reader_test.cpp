// Tokenising of ASCII and binary DXF: values and positions of tags, the exact errors of damaged input,
// version and code page detection, and every drawing of the corpus.
#include "cad/dxf/tag_reader.h"
#include "support/test_support.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace cad::dxf {
namespace {

// "code=value@position", the value as the tag holds it.
std::string describe(const Tag& tag) {
    std::string value;
    if (tag.isString()) {
        value.assign(tag.text);
    } else if (tag.isDouble()) {
        char buffer[32];
        value.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, tag.real).ptr);
    } else {
        value = std::to_string(tag.integer);
    }
    return std::to_string(tag.code) + "=" + value + "@" + std::to_string(tag.position);
}

std::vector<std::string> readAll(TagReader& reader) {
    std::vector<std::string> tags;
    Tag tag;
    while (reader.next(tag)) {
        tags.push_back(describe(tag));
    }
    return tags;
}

// Binary DXF of R13 and later: sentinel, then 2-byte codes.
struct BinaryBuilder {
    std::string bytes{kBinarySentinel};
    bool wide = true;

    BinaryBuilder& code(int value) {
        if (wide) {
            bytes += static_cast<char>(value & 0xFF);
            bytes += static_cast<char>((value >> 8) & 0xFF);
        } else if (value < 255) {
            bytes += static_cast<char>(value);
        } else {
            bytes += '\xFF';
            bytes += static_cast<char>(value & 0xFF);
            bytes += static_cast<char>((value >> 8) & 0xFF);
        }
        return *this;
    }
    BinaryBuilder& string(int group, std::string_view text) {
        code(group);
        bytes += text;
        bytes += '\0';
        return *this;
    }
    BinaryBuilder& raw(std::string_view data) {
        bytes += data;
        return *this;
    }
};

struct AsciiCase {
    const char* name;
    std::string input;
    std::vector<std::string> expected;
};

TEST(TagReader, ReadsAsciiValuesAndLinePositions) {
    const std::vector<AsciiCase> cases = {
        {"lf",
         "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n",
         {"0=SECTION@1", "2=HEADER@3", "0=ENDSEC@5", "0=EOF@7"}},
        {"crlf",
         "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nEOF\r\n",
         {"0=SECTION@1", "2=HEADER@3", "0=EOF@5"}},
        {"blanks around numbers", " 10\n  1.5  \r\n 70\n   6\n", {"10=1.5@1", "70=6@3"}},
        {"strings keep their blanks", "  1\n  a b  \n", {"1=  a b  @1"}},
        {"empty string", "  1\n\n  0\nEOF\n", {"1=@1", "0=EOF@3"}},
        {"comment", "999\nmade by hand\n  0\nEOF\n", {"999=made by hand@1", "0=EOF@3"}},
        {"integer written as real", " 70\n1.0\n", {"70=1@1"}},
        {"plus sign", " 10\n+2.5\n 62\n+3\n", {"10=2.5@1", "62=3@3"}},
        {"exponent", " 40\n1.0E+20\n", {"40=1e+20@1"}},
        {"hex chunk", "310\n0A1b\n", {"310=0A1b@1"}},
        {"wide integers",
         "1071\n-5\n160\n9000000000\n290\n1\n",
         {"1071=-5@1", "160=9000000000@3", "290=1@5"}},
        {"byte order mark", "\xEF\xBB\xBF  0\nEOF\n", {"0=EOF@1"}},
        {"no line break at the end", "  0\nEOF", {"0=EOF@1"}},
        {"trash after EOF", "  0\nEOF\nignore\ninvalid\ndata\n", {"0=EOF@1"}},
        {"blank lines at the end", "  0\nSECTION\n\n\n\x1a", {"0=SECTION@1"}},
    };
    for (const AsciiCase& row : cases) {
        SCOPED_TRACE(row.name);
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openBuffer(row.input, error)) << error.toString();
        EXPECT_EQ(readAll(reader), row.expected);
        EXPECT_FALSE(reader.failed()) << reader.error().toString();
    }
}

struct ErrorCase {
    const char* name;
    std::string input;
    std::uint64_t line;
    std::uint64_t offset;
    std::string message;
};

TEST(TagReader, ReportsAsciiErrorsWithLineOffsetAndExpectation) {
    const std::vector<ErrorCase> cases = {
        {"non-numeric group code", "  0\nSECTION\nABC\nx\n", 3, 12, "expected a group code, found \"ABC\""},
        {"bad real", "  0\nSECTION\n 10\n1.5x\n", 4, 16,
         "expected a real number for group code 10, found \"1.5x\""},
        {"empty real", " 10\n\n", 2, 4, "expected a real number for group code 10, found \"\""},
        {"bad integer", " 70\nabc\r\n", 2, 4, "expected an integer for group code 70, found \"abc\""},
        {"fractional integer", " 70\n1.5\n", 2, 4, "expected an integer for group code 70, found \"1.5\""},
        {"bad hex", "310\nABC\n", 2, 4, "expected hex digits for group code 310, found \"ABC\""},
        {"code out of range", "1100\nx\n", 1, 0, "group code 1100 is out of range (expected 0 to 1071)"},
        {"negative code", "  0\nA\n-1\nx\n", 3, 6, "group code -1 is out of range (expected 0 to 1071)"},
        {"value missing at the end", "  0\nSECTION\n  2\n", 4, 16,
         "unexpected end of file: expected the value of group code 2"},
        {"control bytes quoted", "\x01\x02\nx\n", 1, 0, "expected a group code, found \"\\x01\\x02\""},
    };
    for (const ErrorCase& row : cases) {
        SCOPED_TRACE(row.name);
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openBuffer(row.input, error, "snippet.dxf"));
        readAll(reader);
        ASSERT_TRUE(reader.failed());
        EXPECT_EQ(reader.error().line, row.line);
        EXPECT_EQ(reader.error().offset, row.offset);
        EXPECT_EQ(reader.error().message, row.message);
        EXPECT_EQ(reader.error().file, "snippet.dxf");
        Tag tag;
        EXPECT_FALSE(reader.next(tag)) << "a failed reader must stay at its error";
    }
}

TEST(TagReader, ReadsBinaryValuesOfEveryWidth) {
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "2-byte codes" : "1-byte codes");
        BinaryBuilder builder;
        builder.wide = wide;
        builder.string(0, "SECTION");
        builder.code(10).raw(std::string("\x00\x00\x00\x00\x00\x00\xF8\x3F", 8)); // 1.5
        builder.code(70).raw("\xFE\xFF");                                         // -2
        builder.code(90).raw(std::string("\x01\x00\x01\x00", 4));                 // 65537
        builder.code(1000).raw("x\xE4");
        builder.bytes += '\0';
        if (wide) {
            builder.code(290).raw("\x01");
            builder.code(160).raw(std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8));
        }
        builder.code(310).raw(std::string("\x02\xAB\x01", 3));
        builder.string(0, "EOF").raw("junk");

        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openBuffer(builder.bytes, error)) << error.toString();
        EXPECT_EQ(reader.format(), DxfFormat::Binary);
        EXPECT_EQ(reader.binaryHasWideCodes(), wide);
        const std::size_t codeBytes = wide ? 2 : 1;
        const std::size_t escapedCodeBytes = wide ? 2 : 3;
        std::vector<std::string> expected = {
            "0=SECTION@22",
            "10=1.5@" + std::to_string(22 + codeBytes + 8),
            "70=-2@" + std::to_string(22 + 2 * codeBytes + 16),
            "90=65537@" + std::to_string(22 + 3 * codeBytes + 18),
            "1000=x\xE4@" + std::to_string(22 + 4 * codeBytes + 22),
        };
        std::size_t next = 22 + 4 * codeBytes + 22 + escapedCodeBytes + 3;
        if (wide) {
            expected.push_back("290=1@" + std::to_string(next));
            expected.push_back("160=4294967296@" + std::to_string(next + 3));
            next += 3 + 10;
        }
        expected.push_back("310=AB01@" + std::to_string(next));
        expected.push_back("0=EOF@" + std::to_string(next + escapedCodeBytes + 3));
        EXPECT_EQ(readAll(reader), expected);
        EXPECT_FALSE(reader.failed()) << reader.error().toString();
        EXPECT_TRUE(reader.sawEndOfFile());
    }
}

TEST(TagReader, ReportsBinaryErrorsAtTheirByteOffset) {
    const std::string section = BinaryBuilder().string(0, "SECTION").bytes; // 22 + 2 + 8 = 32 bytes
    const std::vector<ErrorCase> cases = {
        {"truncated real", BinaryBuilder().string(0, "SECTION").code(10).raw("\x01\x02\x03").bytes, 0, 34,
         "unexpected end of file: expected an 8-byte real for group code 10"},
        {"truncated integer", BinaryBuilder().string(0, "SECTION").code(90).raw("\x01").bytes, 0, 34,
         "unexpected end of file: expected a 4-byte integer for group code 90"},
        {"unterminated string", BinaryBuilder().code(0).raw("SECT").bytes, 0, 24,
         "unexpected end of file: expected a NUL-terminated string for group code 0"},
        {"truncated chunk", BinaryBuilder().string(0, "SECTION").code(310).raw("\x05\x01\x02").bytes, 0, 35,
         "unexpected end of file: expected the bytes of a binary chunk for group code 310"},
        {"half a group code", section + "\x0A", 0, 32,
         "unexpected end of file: expected a 2-byte group code"},
        {"code out of range", BinaryBuilder().string(0, "SECTION").code(2000).raw("x").bytes, 0, 32,
         "group code 2000 is out of range (expected 0 to 1071)"},
    };
    for (const ErrorCase& row : cases) {
        SCOPED_TRACE(row.name);
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openBuffer(row.input, error, "binary.dxf"));
        readAll(reader);
        ASSERT_TRUE(reader.failed());
        EXPECT_EQ(reader.error().line, 0u);
        EXPECT_EQ(reader.error().offset, row.offset);
        EXPECT_EQ(reader.error().message, row.message);
        EXPECT_EQ(reader.error().toString(),
                  "binary.dxf: offset " + std::to_string(row.offset) + ": " + row.message);
    }
}

TEST(TagReader, RefusesEmptyInputAndMissingFiles) {
    TagReader reader;
    TagError error;
    EXPECT_FALSE(reader.openBuffer("", error, "empty.dxf"));
    EXPECT_EQ(error.message, "the input is empty: expected a DXF tag stream");
    EXPECT_FALSE(reader.openFile("/nonexistent/folder/drawing.dxf", error));
    EXPECT_EQ(error.file, "/nonexistent/folder/drawing.dxf");
    EXPECT_EQ(error.message, "cannot open the file: No such file or directory");
    EXPECT_TRUE(reader.failed());
}

// Kilobytes of this process's memory that are pages of mapped files.
long residentFileKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("RssFile:")) {
            return std::stol(line.substr(8));
        }
    }
    return -1;
}

// A mapped drawing is given back to the system behind the readers, the main one as it goes and a
// forked one when it is done, and reading it again afterwards yields the same tags.
TEST(TagReader, GivesBackThePagesOfAMappedFileBehindItsReaders) {
    const quelto::testing::TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "large.dxf";
    constexpr int tagCount = 1200000;
    constexpr std::uint64_t tagBytes = 17; // "  8\nLAYER" and seven digits and "\n"
    {
        std::ofstream stream(file, std::ios::binary);
        char digits[16];
        for (int index = 0; index < tagCount; ++index) {
            std::snprintf(digits, sizeof digits, "%07d", index);
            stream << "  8\nLAYER" << digits << '\n';
        }
    }
    const long fileKilobytes = static_cast<long>(std::filesystem::file_size(file) / 1024);
    ASSERT_GT(fileKilobytes, 16 * 1024);
    TagReader reader;
    TagError error;
    ASSERT_TRUE(reader.openFile(file, error)) << error.message;
    const long opened = residentFileKilobytes();
    const std::vector<std::string> first = readAll(reader);
    ASSERT_EQ(first.size(), static_cast<std::size_t>(tagCount));
    EXPECT_LT(residentFileKilobytes(), opened - fileKilobytes / 2);

    TagReader again;
    ASSERT_TRUE(again.openFile(file, error)) << error.message;
    const long reopened = residentFileKilobytes();
    {
        TagReader second = again.forkAt(tagCount / 2 * tagBytes);
        Tag tag;
        while (second.next(tag)) {
        }
    }
    EXPECT_LT(residentFileKilobytes(), reopened - fileKilobytes / 4);
    EXPECT_EQ(readAll(again), first);
}

TEST(TagReader, SkipsCommentsAndYieldsAPushedBackTagAgain) {
    TagReader reader;
    TagError error;
    ASSERT_TRUE(reader.openBuffer("999\nnote\n  0\nLINE\n  8\nA\n", error));
    reader.setSkipComments(true);
    Tag tag;
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(describe(tag), "0=LINE@3");
    reader.pushBack();
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(describe(tag), "0=LINE@3");
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(describe(tag), "8=A@5");
    EXPECT_FALSE(reader.next(tag));
    EXPECT_FALSE(reader.sawEndOfFile()) << "the stream ended without 0 EOF";
    EXPECT_EQ(reader.errorAt(tag, "expected 0 EOF").toString(), "<memory>:5: expected 0 EOF");

    // The end mark can be pushed back too, and ends the stream again.
    ASSERT_TRUE(reader.openBuffer("  0\nEOF\ntrash\n", error));
    ASSERT_TRUE(reader.next(tag));
    reader.pushBack();
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(describe(tag), "0=EOF@1");
    EXPECT_TRUE(reader.sawEndOfFile());
    EXPECT_FALSE(reader.next(tag));
}

struct HeaderCase {
    std::string file;
    std::string acadVersion;
    std::string codePage;
    DxfFormat format;
    bool wideCodes;
    std::string codeSet;
};

TEST(TagReader, FindsVersionAndCodePageBeforeTheFirstTag) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::vector<HeaderCase> cases = {
        {"real/mozman_ezdxf/integration_tests/data/bin_dxf_r12.dxf", "AC1009", "ansi_1252", DxfFormat::Binary,
         false, "CP1252"},
        {"real/mozman_ezdxf/integration_tests/data/bin_dxf_r2000.dxf", "AC1015", "ANSI_1252",
         DxfFormat::Binary, true, "CP1252"},
        {"generated/all_entities_R2010_binary.dxf", "AC1024", "ANSI_1252", DxfFormat::Binary, true, "UTF-8"},
        {"real/mozman_ezdxf/integration_tests/data/small_r13.dxf", "AC1012", "dos932", DxfFormat::Ascii,
         false, "CP932"},
        {"real/mozman_ezdxf/integration_tests/data/duplicate_handles.dxf", "AC1012", "dos850",
         DxfFormat::Ascii, false, "CP850"},
        {"generated/all_entities_R2004.dxf", "AC1018", "ANSI_936", DxfFormat::Ascii, false, "GBK"},
        {"real/qcad_qcad/examples/entities.dxf", "AC1024", "ASCII", DxfFormat::Ascii, false, "UTF-8"},
        {"real/mozman_ezdxf/integration_tests/data/R12_with_trash_beyond_EOF.dxf", "", "", DxfFormat::Ascii,
         false, "CP1252"},
        {"real/mozman_ezdxf/integration_tests/data/ASCII_R12.dxf", "AC1009", "", DxfFormat::Ascii, false,
         "CP1252"},
    };
    for (const HeaderCase& row : cases) {
        SCOPED_TRACE(row.file);
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openFile(quelto::testing::corpusFile(row.file), error)) << error.toString();
        EXPECT_EQ(reader.acadVersion(), row.acadVersion);
        EXPECT_EQ(reader.codePage(), row.codePage);
        EXPECT_EQ(reader.format(), row.format);
        EXPECT_EQ(reader.binaryHasWideCodes(), row.wideCodes);
        EXPECT_EQ(reader.codec().codeSet(), row.codeSet);
        Tag tag;
        ASSERT_TRUE(reader.next(tag)) << "the header scan must rewind to the first tag";
        EXPECT_EQ(tag.code, 0);
    }
}

std::vector<OwnedTag> collectFile(const std::string& file) {
    TagReader reader;
    TagError error;
    std::vector<OwnedTag> tags;
    if (!reader.openFile(quelto::testing::corpusFile(file), error)) {
        ADD_FAILURE() << error.toString();
        return tags;
    }
    Tag tag;
    while (reader.next(tag)) {
        tags.emplace_back(tag);
    }
    EXPECT_FALSE(reader.failed()) << reader.error().toString();
    return tags;
}

// The generated R2010 drawing was saved as ASCII and as binary from one document: apart from the
// document's GUID and save time, every tag must read the same from both.
TEST(TagReader, ReadsTheSameTagsFromBinaryAndAsciiTwins) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const auto ascii = collectFile("generated/all_entities_R2010.dxf");
    const auto binary = collectFile("generated/all_entities_R2010_binary.dxf");
    ASSERT_EQ(ascii.size(), binary.size());
    ASSERT_GT(ascii.size(), 5000u);
    std::vector<std::string> differences;
    for (std::size_t index = 0; index < ascii.size(); ++index) {
        if (!(ascii[index] == binary[index])) {
            differences.push_back(std::to_string(ascii[index].code) + ":" + ascii[index].text + " / " +
                                  std::to_string(binary[index].code) + ":" + binary[index].text);
        }
    }
    ASSERT_EQ(differences.size(), 2u) << ::testing::PrintToString(differences);
    EXPECT_EQ(differences[0].substr(0, 3), "2:{");
    EXPECT_EQ(differences[1].substr(0, 8), "1:0.18.1");
}

TEST(TagReader, TokenisesEveryCorpusDrawingToItsEndMark) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const auto files = quelto::testing::corpusDrawings();
    ASSERT_GE(files.size(), 50u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        TagReader reader;
        TagError error;
        ASSERT_TRUE(reader.openFile(file, error)) << error.toString();
        Tag tag;
        std::size_t count = 0;
        while (reader.next(tag)) {
            ++count;
        }
        EXPECT_FALSE(reader.failed()) << reader.error().toString();
        EXPECT_GT(count, 5u);
        // recover01 is cut off after its last ENDSEC; every other drawing ends with 0 EOF, and what follows
        // the mark (R12_with_trash_beyond_EOF) is not read at all.
        EXPECT_EQ(reader.sawEndOfFile(), file.filename() != "recover01.dxf");
        if (file.filename() == "R12_with_trash_beyond_EOF.dxf") {
            EXPECT_LT(reader.bytesConsumed(), reader.size());
        }
    }
}

} // namespace
} // namespace cad::dxf
