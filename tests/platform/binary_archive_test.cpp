#include "platform/binary_archive.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string bytesOf(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

std::string hexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += {kDigits[value >> 4], kDigits[value & 15], ' '};
    }
    return text;
}

// Sets the code set that stands for the Windows system code page for the lifetime of the object.
class ScopedSystemCodeSet {
public:
    explicit ScopedSystemCodeSet(const char* codeSet) { ::setenv("QUELTO_SYSTEM_CODESET", codeSet, 1); }
    ~ScopedSystemCodeSet() { ::unsetenv("QUELTO_SYSTEM_CODESET"); }
};

} // namespace

TEST(BinaryArchive, StoresTextsInTheUnicodeFormWithTheShortestLengthPrefix) {
    struct Row {
        std::size_t length;
        std::string prefix;
    };
    const Row rows[] = {
        {0, bytesOf({0xFF, 0xFE, 0xFF, 0x00})},
        {1, bytesOf({0xFF, 0xFE, 0xFF, 0x01})},
        {254, bytesOf({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {300, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01})},
        {0xFFFD, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {0xFFFE, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Row& row : rows) {
        std::wstring text(row.length, L'层');
        if (!text.empty()) {
            text.back() = L'Z';
        }
        CArchive storing(CArchive::store);
        storing << text;
        const std::string& bytes = storing.bytes();
        ASSERT_EQ(bytes.size(), row.prefix.size() + 2 * row.length) << "length " << row.length;
        EXPECT_EQ(hexOf(bytes.substr(0, row.prefix.size())), hexOf(row.prefix)) << "length " << row.length;
        if (row.length > 1) {
            EXPECT_EQ(hexOf(bytes.substr(row.prefix.size(), 2)), "42 5C ") << "length " << row.length;
            EXPECT_EQ(hexOf(bytes.substr(bytes.size() - 2)), "5A 00 ") << "length " << row.length;
        }
        CArchive loading(CArchive::load, bytes);
        std::wstring loaded = L"previous";
        loading >> loaded;
        EXPECT_EQ(loaded, text) << "length " << row.length;
        EXPECT_TRUE(loading.atEnd());
    }
}

TEST(BinaryArchive, NumbersAreLittleEndianAndCountTextLengthsInUtf16Units) {
    CArchive storing(CArchive::store);
    storing << -2 << static_cast<DWORD>(0x01020304) << 1.5 << std::wstring(L"\U0001F600");
    EXPECT_EQ(hexOf(storing.bytes()),
              "FE FF FF FF 04 03 02 01 00 00 00 00 00 00 F8 3F FF FE FF 02 3D D8 00 DE ");
    CArchive loading(CArchive::load, storing.bytes());
    int integer = 0;
    DWORD unsignedInteger = 0;
    double real = 0.0;
    std::wstring text;
    loading >> integer >> unsignedInteger >> real >> text;
    EXPECT_EQ(integer, -2);
    EXPECT_EQ(unsignedInteger, 0x01020304u);
    EXPECT_EQ(real, 1.5);
    EXPECT_EQ(text, L"\U0001F600");
}

TEST(BinaryArchive, LoadsEightBitTextsThroughTheSystemCodeSet) {
    const ScopedSystemCodeSet gbk("GBK");
    const std::string threeHundred(300, 'a');
    const std::string seventyThousand(70000, 'b');
    struct Row {
        std::string bytes;
        std::wstring expected;
    };
    const Row rows[] = {
        {bytesOf({0x04, 0xD6, 0xB1, 0xCF, 0xDF}), L"直线"},
        {bytesOf({0x00}), L""},
        {bytesOf({0xFF, 0x2C, 0x01}) + threeHundred, std::wstring(300, L'a')},
        {bytesOf({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}) + seventyThousand, std::wstring(70000, L'b')},
        // After the Unicode mark a 16-bit 0xFFFE is an ordinary length again.
        {bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}) + std::string(2 * 0xFFFE, 'c'),
         std::wstring(0xFFFE, L'\x6363')},
    };
    for (const Row& row : rows) {
        CArchive loading(CArchive::load, row.bytes);
        std::wstring loaded;
        loading >> loaded;
        EXPECT_EQ(loaded, row.expected) << hexOf(row.bytes.substr(0, 8));
        EXPECT_TRUE(loading.atEnd());
    }
    CArchive utf8(CArchive::load, bytesOf({0x03, 0xE5, 0xB1, 0x82}));
    utf8.setCodeSet("UTF-8");
    std::wstring loaded;
    utf8 >> loaded;
    EXPECT_EQ(loaded, L"层");
}

TEST(BinaryArchive, ShortOrDamagedStreamsRaiseAReadErrorWithCauseAndOffset) {
    using Cause = CArchiveException::Cause;
    struct Row {
        const char* what;
        std::string bytes;
        int integersFirst;
        bool readText;
        Cause cause;
        std::size_t offset;
    };
    const Row rows[] = {
        {"empty archive", "", 0, false, Cause::EndOfStream, 0},
        {"integer cut short", bytesOf({0x01, 0x02}), 0, false, Cause::EndOfStream, 0},
        {"text body cut short", bytesOf({1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x05, 0x41, 0x00}), 1, true,
         Cause::EndOfStream, 4},
        {"mark without length", bytesOf({0xFF, 0xFE, 0xFF}), 0, true, Cause::EndOfStream, 0},
        {"16-bit length cut short", bytesOf({0, 0, 0, 0, 0xFF, 0x10}), 1, true, Cause::EndOfStream, 4},
        {"huge 32-bit length", bytesOf({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x41}), 0, true,
         Cause::EndOfStream, 0},
        {"64-bit length escape", bytesOf({2, 0, 0, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
         2, true, Cause::BadLength, 8},
        {"double cut short", bytesOf({0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7}), 1, false, Cause::EndOfStream, 4},
    };
    for (const Row& row : rows) {
        CArchive loading(CArchive::load, row.bytes);
        int integer = 0;
        for (int index = 0; index < row.integersFirst; ++index) {
            loading >> integer;
        }
        std::wstring text;
        try {
            if (row.readText) {
                loading >> text;
            } else if (row.bytes.size() > 8) {
                double real = 0.0;
                loading >> real;
            } else {
                loading >> integer;
            }
            ADD_FAILURE() << row.what << ": no read error";
        } catch (const CArchiveException& error) {
            EXPECT_EQ(error.cause(), row.cause) << row.what;
            EXPECT_EQ(error.offset(), row.offset) << row.what;
            EXPECT_NE(std::string(error.what()).find("byte " + std::to_string(row.offset)), std::string::npos)
                << row.what << ": " << error.what();
        }
    }
}
