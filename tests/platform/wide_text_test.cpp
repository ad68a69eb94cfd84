#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"

#include <climits>
#include <clocale>
#include <gtest/gtest.h>
#include <sstream>

TEST(WideText, LeadingNumberConversionsFollowTheWindowsRuntime) {
    struct Row {
        const wchar_t* text;
        double real;
        int integer;
    };
    const Row rows[] = {
        {L"", 0.0, 0},
        {L"abc", 0.0, 0},
        {L"  12.5kg", 12.5, 12},
        {L"-3.75", -3.75, -3},
        {L"+7", 7.0, 7},
        {L".5", 0.5, 0},
        {L"-.25", -0.25, 0},
        {L"1e3", 1000.0, 1},
        {L"2D2", 200.0, 2},
        {L"1e", 1.0, 1},
        {L"\t\n42", 42.0, 42},
        {L"- 5", 0.0, 0},
        {L"3.0.1", 3.0, 3},
        {L"99999999999", 99999999999.0, INT_MAX},
        {L"-99999999999", -99999999999.0, INT_MIN},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(_wtof(row.text), row.real) << "text: " << platform::wideToUtf8(row.text);
        EXPECT_EQ(_wtoi(row.text), row.integer) << "text: " << platform::wideToUtf8(row.text);
    }
}

TEST(WideText, FormattingTakesWideStringsAndIgnoresTheProcessLocale) {
    EXPECT_EQ(platform::formatWide(L"函数%s不存在", L"foo"), L"函数foo不存在");
    EXPECT_EQ(platform::formatWide(L"%c|%5.2f|%ld|%%", L'中', 3.14159, 42L), L"中| 3.14|42|%");
    EXPECT_EQ(platform::formatWide(L"%S", "narrow"), L"narrow");
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(platform::formatWide(L"%.7f", 2.5), L"2.5000000");
    EXPECT_DOUBLE_EQ(_wtof(L"2.5"), 2.5);
    if (previous != nullptr) {
        std::setlocale(LC_NUMERIC, "C");
    }
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(platform::formatWide(L"[%s]", longText.c_str()).size(), 5002u);
}

TEST(WideText, CaseMappingChangesOnlyAsciiLetters) {
    EXPECT_EQ(platform::toUpperAscii(L"abc中éz"), L"ABC中éZ");
    EXPECT_EQ(platform::toLowerAscii(L"ABC中É"), L"abc中É");
}

TEST(CodePage, Utf8AndUtf16RoundTripAndRepairDamage) {
    const std::wstring text = L"层1 \U0001F600 Ω";
    EXPECT_EQ(platform::utf8ToWide(platform::wideToUtf8(text)), text);
    EXPECT_EQ(platform::utf16LeToWide(platform::wideToUtf16Le(text)), text);
    EXPECT_EQ(platform::wideToUtf16Le(L"\U0001F600"), std::string("\x3D\xD8\x00\xDE", 4));
    EXPECT_EQ(platform::utf8ToWide("a\xC3"), L"a\xFFFD");
    EXPECT_EQ(platform::utf8ToWide("\xC0\xAF"), L"\xFFFD\xFFFD"); // overlong form
    EXPECT_EQ(platform::utf16LeToWide(std::string("\x00\xD8\x41\x00", 4)), L"\xFFFD"
                                                                           L"A");
}

TEST(CodePage, IconvConversionsReportTheOffsetOfBadBytes) {
    ASSERT_TRUE(platform::isKnownCodeSet("GBK"));
    EXPECT_FALSE(platform::isKnownCodeSet("NO-SUCH-CODESET"));
    const std::string gbk = "\xD6\xD0\xCE\xC4"; // 中文
    EXPECT_EQ(platform::decodeBytes(gbk, "GBK"), L"中文");
    EXPECT_EQ(platform::encodeText(L"中文", "GBK"), gbk);

    platform::ConversionError error;
    EXPECT_EQ(platform::decodeBytes("ab\xFF\xFF", "GBK", &error, false), L"");
    EXPECT_EQ(error.byteOffset, 2u);
    EXPECT_EQ(platform::decodeBytes("ab\x81", "GBK"), L"ab\xFFFD");
    EXPECT_EQ(platform::encodeText(L"a中", "ISO-8859-1"), "a?");
}

TEST(MessageBox, QueuedServiceRecordsBoxesAndConsoleServiceReadsAnswers) {
    platform::QueuedMessageBoxService queued;
    {
        platform::ScopedMessageBoxService scope(queued);
        queued.queueAnswer(IDNO);
        EXPECT_EQ(MessageBox(nullptr, L"确认继续?", L"确认继续", MB_YESNO | MB_ICONQUESTION), IDNO);
        EXPECT_EQ(MessageBox(nullptr, L"再来", L"确认继续", MB_YESNO | MB_ICONQUESTION), IDYES);
    }
    ASSERT_EQ(queued.shown().size(), 2u);
    EXPECT_EQ(queued.shown()[0].caption, L"确认继续");
    EXPECT_EQ(queued.shown()[0].icon(), MB_ICONQUESTION);

    std::istringstream input("y\n\nn\n");
    std::ostringstream output;
    platform::ConsoleMessageBoxService console(input, output);
    EXPECT_EQ(console.show({nullptr, L"覆盖?", L"确认覆盖", MB_YESNO}), IDYES);
    EXPECT_EQ(console.show({nullptr, L"完成", L"提示", MB_OK}), IDOK);
    EXPECT_EQ(console.show({nullptr, L"删除?", L"确认删除", MB_YESNO}), IDNO);
    EXPECT_EQ(console.show({nullptr, L"删除?", L"确认删除", MB_YESNO}), IDNO); // end of input
    EXPECT_NE(output.str().find("[确认覆盖] 覆盖?"), std::string::npos);
}
