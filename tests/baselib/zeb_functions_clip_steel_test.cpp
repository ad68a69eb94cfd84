// The clipboard functions over a clipboard the test installs, the line-list helpers they use, and the
// reinforcing-steel lookups with their diameter-then-grade checks.
#include "quelto/baselib/zeb_function_table.h"
#include "quelto/baselib/zeb_string.h"
#include "zeb_functions_test_rows.h"

#include <optional>
#include <string>

namespace {

constexpr int S = CZEBOperateVar::TypeString;
constexpr int I = CZEBOperateVar::TypeInteger;
constexpr int R = CZEBOperateVar::TypeReal;
constexpr int B = CZEBOperateVar::TypeBoolean;
constexpr int Ok = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int Value = CZEBBaseStringAnalyse::ResultArgumentValue;

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
        {L"clip()", Ok, L"  first \r\nsecond\n\tthird  ", S, L""},
        {L"clipcount()", Ok, L"3", I, L""},
        {L"clipindex(2)", Ok, L"second", S, L""},
        {L"clipindex(3)", Ok, L"third", S, L""},
        {L"clipindex(4)", Ok, L"first", S, L""},
        {L"clipindex(6)", Ok, L"third", S, L""},
    };
    expectFormulas(rows);
    const int readsBefore = clipboard.reads();
    expectFormulas(std::span<const FormulaRow>({{L"clipindex(1)", Ok, L"", S, L""}}));
    EXPECT_EQ(clipboard.reads(), readsBefore);
}

TEST(ClipboardFunctions, GiveNeutralValuesWithoutClipboardText) {
    ScopedClipboard clipboard(std::nullopt);
    const FormulaRow rows[] = {
        {L"clip()", Ok, L"", S, L""},
        {L"clipcount()", Ok, L"1", I, L""},
        {L"clipindex(2)", Ok, L"", S, L""},
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
        {L"strd(11)", Ok, L"FALSE", B, L""},
        {L"strd(50)", Ok, L"TRUE", B, L""},
        {L"strd(\"12\")", Ok, L"TRUE", B, L""},
        {L"stir(10)", Ok, L"9.3", R, L""},
        {L"stor(10.9)", Ok, L"11.3", R, L""},
        {L"stds(12)", Ok, L"0.888", R, L""},
        {L"stds(50)", Ok, L"15.41", R, L""},
        {L"stir(11)", Value, L"", 0, L"非标准钢筋直径"},
        {L"stor(0)", Value, L"", 0, L"非标准钢筋直径"},
        {L"stds(7.5)", Ok, L"0.302", R, L""},
        {L"stin90(10,1)", Ok, L"10.5", R, L""},
        {L"stin90(6,1)", Ok, L"-1", R, L""},
        {L"stin135(10,3)", Ok, L"8.6", R, L""},
        {L"stin180(10,1)", Ok, L"6.3", R, L""},
        {L"stin180(10,2)", Ok, L"0", R, L""},
        {L"stde45(10,1)", Ok, L"-1", R, L""},
        {L"stde45(10,2)", Ok, L"0.5", R, L""},
        {L"stde90(10,2)", Ok, L"1.3", R, L""},
        {L"stde90(10,4)", Ok, L"-1", R, L""},
        {L"stde90m(10,2)", Ok, L"4.5", R, L""},
        {L"stin90(10,5)", Value, L"", 0, L"第二个参数钢筋等级必须为1～4"},
        {L"stde90m(10,0)", Value, L"", 0, L"第二个参数钢筋等级必须为1～4"},
        {L"stin90(11,5)", Value, L"", 0, L"非标准钢筋直径"},
    };
    expectFormulas(rows);
}
