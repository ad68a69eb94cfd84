// Code page names, string escapes and their inverse, checked on snippets and on the corpus drawings that
// hold the same Chinese names once as GBK bytes, once as \U+ escapes and once as UTF-8.
#include "cad/dxf/tag_reader.h"
#include "cad/dxf/text_codec.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace cad::dxf {
namespace {

TEST(TextCodec, MapsDrawingCodePagesToCodeSets) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ANSI_936", "GBK"},     {"ansi_1252", "CP1252"},
        {"ANSI_1256", "CP1256"}, {"dos850", "CP850"},
        {"DOS850", "CP850"},     {"dos932", "CP932"},
        {"ANSI_932", "CP932"},   {"MAC-ROMAN", "MACINTOSH"},
        {"ANSI_950", "CP950"},   {"ANSI_949", "CP949"},
        {"ASCII", "CP1252"},     {"ANSI_1361", "JOHAB"},
        {"KLINGON", ""},         {"", ""},
    };
    for (const auto& [name, codeSet] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(codeSetForCodePage(name), codeSet);
    }
}

TEST(TextCodec, ChoosesUtf8FromR2007AndTheCodePageBefore) {
    struct Row {
        int version;
        std::string codePage;
        bool utf8;
        std::string codeSet;
    };
    const std::vector<Row> rows = {
        {1015, "ANSI_936", false, "GBK"},   {1018, "unknown", false, "CP1252"},
        {0, "", false, "CP1252"},           {1021, "ANSI_936", true, "UTF-8"},
        {1032, "ANSI_1252", true, "UTF-8"}, {1009, "dos932", false, "CP932"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        const TextCodec codec(row.version, row.codePage);
        EXPECT_EQ(codec.isUtf8(), row.utf8);
        EXPECT_EQ(codec.codeSet(), row.codeSet);
    }
    EXPECT_EQ(acadVersionNumber("AC1015"), 1015);
    EXPECT_EQ(acadVersionNumber("AC1032 "), 1032);
    EXPECT_EQ(acadVersionNumber("R2000"), 0);
    EXPECT_EQ(acadVersionNumber("AC10x5"), 0);
}

struct DecodeCase {
    const char* name;
    TextCodec codec;
    std::string bytes;
    std::wstring text;
};

TEST(TextCodec, DecodesCodePagesAndEscapes) {
    const TextCodec gbk(1015, "ANSI_936");
    const TextCodec western(1015, "ANSI_1252");
    const TextCodec utf8 = TextCodec::utf8();
    const std::vector<DecodeCase> cases = {
        {"plain", western, "Layer 0", L"Layer 0"},
        {"gbk bytes", gbk, "\xB2\xE3\x31", L"层1"},
        {"gbk trail byte 0x5C is no escape", gbk, "\xC4\x5CU+0041", L"腬U+0041"},
        {"cp1252 byte", western, "caf\xE9", L"café"},
        {"unicode escape", western, "\\U+5C42\\U+0031", L"层1"},
        {"lower-case hex digits", western, "\\U+03b1", L"α"},
        {"surrogate pair", western, "\\U+D83D\\U+DE00", L"\U0001F600"},
        {"lone surrogate", western, "\\U+D83Dx", L"\uFFFDx"},
        {"short escape stays", western, "\\U+12", L"\\U+12"},
        {"mtext codes stay", western, "\\P\\fArial;x", L"\\P\\fArial;x"},
        {"multibyte escape gb2312", western, "\\M+5B2E3", L"层"},
        {"multibyte escape shift-jis", western, "\\M+182A0", L"あ"},
        {"bad multibyte escape stays", western, "\\M+9B2E3", L"\\M+9B2E3"},
        {"caret controls", western, "a^Jb^Mc^Id^@", std::wstring(L"a\nb\rc\td") + L'\0'},
        {"caret space is a caret", western, "x^ 2", L"x^2"},
        {"other carets stay", western, "x^2^a", L"x^2^a"},
        {"utf8", utf8, "\xE5\xB1\x82 \\U+0041", L"层 A"},
        {"code page bytes in a utf8 drawing", utf8, "caf\xE9", L"café"},
        {"their code page", TextCodec(1024, "ANSI_1251"), "\xC4\xE0", L"Да"},
        {"replacement character kept", utf8, "\xEF\xBF\xBD\xFF", L"\uFFFD\uFFFD"},
    };
    for (const DecodeCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.codec.decode(row.bytes), row.text);
    }
}

TEST(TextCodec, EncodesWithEscapesThatDecodeBack) {
    const TextCodec gbk(1015, "ANSI_936");
    const TextCodec western(1015, "ANSI_1252");
    const TextCodec utf8 = TextCodec::utf8();
    const std::vector<DecodeCase> cases = {
        {"gbk", gbk, "\xB2\xE3\x31", L"层1"},
        {"outside gbk", gbk, "\\U+0E01\xB2\xE3\\U+00E4", L"ก层ä"},
        {"western keeps latin", western, "caf\xE9", L"café"},
        {"western escapes chinese", western, "\\U+5C42-\\U+5E03", L"层-布"},
        {"beyond the basic plane", western, "\\U+D83D\\U+DE00", L"\U0001F600"},
        {"control characters", western, "a^Jb", L"a\nb"},
        {"caret before letter", western, "x^ Jy^2", L"x^Jy^2"},
        {"caret before space", western, "x^  ", L"x^ "},
        {"utf8", utf8, "\xE5\xB1\x82^J", L"层\n"},
    };
    for (const DecodeCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.codec.encode(row.text), row.bytes);
        EXPECT_EQ(row.codec.decode(row.codec.encode(row.text)), row.text);
    }
}

// Every decoded name or text value that holds a CJK ideograph.
std::set<std::wstring> chineseStrings(const std::string& file) {
    TagReader reader;
    TagError error;
    std::set<std::wstring> strings;
    if (!reader.openFile(quelto::testing::corpusFile(file), error)) {
        ADD_FAILURE() << error.toString();
        return strings;
    }
    const TextCodec codec = reader.codec();
    Tag tag;
    while (reader.next(tag)) {
        if (tag.code != 1 && tag.code != 2 && tag.code != 3 && tag.code != 8) {
            continue;
        }
        std::wstring text = codec.decode(tag.text);
        for (const wchar_t character : text) {
            if (character >= 0x4E00 && character <= 0x9FFF) {
                strings.insert(text);
                break;
            }
        }
    }
    EXPECT_FALSE(reader.failed()) << reader.error().toString();
    return strings;
}

TEST(TextCodec, DecodesTheSameChineseNamesFromGbkEscapesAndUtf8) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::vector<std::pair<std::string, std::string>> twins = {
        {"generated/all_entities_R12.dxf", "generated/all_entities_R12_ANSI_936.dxf"},
        {"generated/all_entities_R2000.dxf", "generated/all_entities_R2000_ANSI_936.dxf"},
        {"generated/all_entities_R2000_ANSI_936.dxf", "generated/all_entities_R2004.dxf"},
        {"generated/all_entities_R2000_ANSI_936.dxf", "generated/all_entities_R2010.dxf"},
    };
    for (const auto& [first, second] : twins) {
        SCOPED_TRACE(first + " / " + second);
        const auto expected = chineseStrings(first);
        EXPECT_GE(expected.size(), 3u);
        EXPECT_EQ(chineseStrings(second), expected);
    }
    EXPECT_TRUE(chineseStrings("generated/all_entities_R2010.dxf").count(L"布局1"));
}

} // namespace
} // namespace cad::dxf
