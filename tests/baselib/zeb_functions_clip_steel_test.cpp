// The clipboard functions over a clipboard the test installs, the line-list helpers they use, and the
// reinforcing-steel lookups with their diameter-then-grade checks.
#include "quelto/baselib/zeb_function_table.h"
#include "quelto/baselib/zeb_string.h"
#include "zeb_functions_test_rows.h"

#include <optional>
#include <string>

namespace {

constexpr int kS = CZEBOperateVar::TypeString;
constexpr int kI = CZEBOperateVar::TypeInteger;
constexpr int kR = CZEBOperateVar::TypeReal;
constexpr int kB = CZEBOperateVar::TypeBoolean;
constexpr int kOk = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int kValue = CZEBBaseStringAnalyse::ResultArgumentValue;

// Installs a clipboard for one test; counts reads so a test can tell whether the clipboard was touched.
class ScopedClipboard {
public:
    explicit ScopedClipboard(std::optional<CString> text) : m_text(std::move(text)) {
        CZEBClipboardAccess access;
        access.read = [this](CString& target) {
            ++m_reads;
            if (!m_text) {
                return FALSE;
            }
            target = *m_text;
            return TRUE;
        };
        m_previous = CZEBString::SetClipboardAccess(access);
    }
    ~ScopedClipboard() { CZEBString::SetClipboardAccess(m_previous); }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

    int reads() const { return m_reads; }

private:
    std::optional<CString> m_text;
    int m_reads = 0;
    CZEBClipboardAccess m_previous;
};

} // namespace

TEST(ClipboardFunctions, ReadItemsOfTheClipboardText) {
    ScopedClipboard clipboard(CString(L"  first \r\nsecond\n\tthird  "));
    const FormulaRow rows[] = {
        {L"clip()", kOk, L"  first \r\nsecond\n\tthird  ", kS, L""},
        {L"clipcount()", kOk, L"3", kI, L""},
        {L"clipindex(2)", kOk, L"second", kS, L""},
        {L"clipindex(3)", kOk, L"third", kS, L""},
        {L"clipindex(4)", kOk, L"first", kS, L""},
        {L"clipindex(6)", kOk, L"third", kS, L""},
    };
    expectFormulas(rows);
    const int readsBefore = clipboard.reads();
    expectFormulas(std::span<const FormulaRow>({{L"clipindex(1)", kOk, L"", kS, L""}}));
    EXPECT_EQ(clipboard.reads(), readsBefore);
}

TEST(ClipboardFunctions, GiveNeutralValuesWithoutClipboardText) {
    ScopedClipboard clipboard(std::nullopt);
    const FormulaRow rows[] = {
        {L"clip()", kOk, L"", kS, L""},
        {L"clipcount()", kOk, L"1", kI, L""},
        {L"clipindex(2)", kOk, L"", kS, L""},
    };
    expectFormulas(rows);
}

TEST(ClipboardFunctions, SplitTextIntoNumberedItems) {
    struct Row {
        const wchar_t* text;
        int index;
        int count;
        const wchar_t* item;
    };
    const Row rows[] = {
        {L"a\nb\nc", 1, 3, L"a"}, {L"a\nb\nc", 3, 3, L"c"}, {L"a\nb\nc", 0, 3, L"c"},
        {L"a\nb\nc", 5, 3, L"b"}, {L"a\nb\nc", -1, 3, L""}, {L"", 2, 1, L""},
        {L" x \n", 1, 2, L"x"},   {L" x \n", 2, 2, L""},    {L"\u3000y\t", 7, 1, L"y"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(platform::wideToUtf8(row.text) + " #" + std::to_string(row.index));
        CZEBBaseStringAnalyse analyser;
        CZEBOperateVar record;
        CZEBFunctionAccess call{analyser, record, L"clipindex"};
        EXPECT_EQ(call.Base_GetStringCount(row.text), row.count);
        EXPECT_EQ(call.Base_GetStringIndex(row.text, row.index), row.item);
    }
}

TEST(SteelFunctions, LookUpTheBarTable) {
    const FormulaRow rows[] = {
        {L"strd(11)", kOk, L"FALSE", kB, L""},
        {L"strd(50)", kOk, L"TRUE", kB, L""},
        {L"strd(\"12\")", kOk, L"TRUE", kB, L""},
        {L"stir(10)", kOk, L"9.3", kR, L""},
        {L"stor(10.9)", kOk, L"11.3", kR, L""},
        {L"stds(12)", kOk, L"0.888", kR, L""},
        {L"stds(50)", kOk, L"15.41", kR, L""},
        {L"stir(11)", kValue, L"", 0, L"非标准钢筋直径"},
        {L"stor(0)", kValue, L"", 0, L"非标准钢筋直径"},
        {L"stds(7.5)", kOk, L"0.302", kR, L""},
        {L"stin90(10,1)", kOk, L"10.5", kR, L""},
        {L"stin90(6,1)", kOk, L"-1", kR, L""},
        {L"stin135(10,3)", kOk, L"8.6", kR, L""},
        {L"stin180(10,1)", kOk, L"6.3", kR, L""},
        {L"stin180(10,2)", kOk, L"0", kR, L""},
        {L"stde45(10,1)", kOk, L"-1", kR, L""},
        {L"stde45(10,2)", kOk, L"0.5", kR, L""},
        {L"stde90(10,2)", kOk, L"1.3", kR, L""},
        {L"stde90(10,4)", kOk, L"-1", kR, L""},
        {L"stde90m(10,2)", kOk, L"4.5", kR, L""},
        {L"stin90(10,5)", kValue, L"", 0, L"第二个参数钢筋等级必须为1～4"},
        {L"stde90m(10,0)", kValue, L"", 0, L"第二个参数钢筋等级必须为1～4"},
        {L"stin90(11,5)", kValue, L"", 0, L"非标准钢筋直径"},
    };
    expectFormulas(rows);
}
