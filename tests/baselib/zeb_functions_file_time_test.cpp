// The file functions over temporary files (path parts, times, size, lines, wildcards, both separators)
// and the date and time functions under time zones the tests set themselves.
#include "support/test_support.h"
#include "zeb_functions_test_rows.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kS = CZEBOperateVar::TypeString;
constexpr int kI = CZEBOperateVar::TypeInteger;
constexpr int kOk = CZEBBaseStringAnalyse::ResultSuccess;

// A temporary folder that hands out its files as formula text.
class FormulaFolder : public quelto::testing::TemporaryFolder {
public:
    // Writes the bytes and sets access and write time; gives the file's path as formula text.
    CString write(const std::string& name, const std::string& bytes, std::time_t accessed = 0,
                  std::time_t written = 0) const {
        const std::filesystem::path file = *this / name;
        std::ofstream(file, std::ios::binary) << bytes;
        if (written != 0) {
            const timespec times[2] = {{accessed, 0}, {written, 0}};
            utimensat(AT_FDCWD, file.c_str(), times, 0);
        }
        return platform::utf8ToWide(file.string());
    }
    CString text() const { return platform::utf8ToWide(path().string()); }
};

// Sets TZ for one test and restores the process's zone afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* current = std::getenv("TZ")) {
            m_previous = current;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_previous) {
            setenv("TZ", m_previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

CString call(const wchar_t* function, const CString& path, const wchar_t* more = L"") {
    return CString(function) + L"(\"" + path + L"\"" + more + L")";
}

CString backslashed(CString path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

struct FileRow {
    CString expression;
    int kind;
    CString value;
};

void expectFileRows(const std::vector<FileRow>& rows) {
    for (const FileRow& row : rows) {
        const FormulaRow formula{row.expression.c_str(), kOk, row.value.c_str(), row.kind, L""};
        CZEBBaseStringAnalyse analyser;
        expectFormula(analyser, formula);
    }
}

} // namespace

TEST(FileFunctions, SplitPathTextsAtEitherSeparator) {
    const FormulaRow rows[] = {
        {L"filename(\"C:\\dir\\a.b.txt\")", kOk, L"a.b.txt", kS, L""},
        {L"filepath(\"C:\\dir\\a.b.txt\")", kOk, L"C:\\dir\\", kS, L""},
        {L"filetitle(\"C:\\dir\\a.b.txt\")", kOk, L"a", kS, L""},
        {L"fileext(\"C:\\dir\\a.b.txt\")", kOk, L"b.txt", kS, L""},
        {L"pathname(\"C:\\dir\\a.b.txt\")", kOk, L"C:\\dir\\a.b.txt", kS, L""},
        {L"filename(\"noslash\")", kOk, L"noslash", kS, L""},
        {L"filepath(\"noslash\")", kOk, L"noslash", kS, L""},
        {L"fileext(\"readme\")", kOk, L"readme", kS, L""},
        {L"filetitle(\"c:\\v1.2\\readme\")", kOk, L"readme", kS, L""},
        {L"filename(\"/home/u/plan.dxf\")", kOk, L"plan.dxf", kS, L""},
        {L"filepath(\"/home/u\\x/plan.dxf\")", kOk, L"/home/u\\x/", kS, L""},
        {L"filename(\"dir\\\")", kOk, L"", kS, L""},
    };
    expectFormulas(rows);
}

TEST(FileFunctions, ReadSizeLinesAndTimesOfFiles) {
    const FormulaFolder folder;
    const CString lines =
        folder.write("lines.txt", "alpha\r\n\xE4\xB8\xAD\xE6\x96\x87\nlast", 1000000000, 1100000000);
    const CString empty = folder.write("empty.txt", "");
    const CString bom = folder.write("bom.txt", "\xEF\xBB\xBFhead\n");
    const CString missing = folder.text() + L"/missing.txt";
    // Times first: reading the file may move its access time.
    expectFileRows({
        {call(L"filetimea", lines), kI, L"1000000000"},
        {call(L"filetimem", lines), kI, L"1100000000"},
        {call(L"filetimem", backslashed(lines)), kI, L"1100000000"},
        {call(L"filetimem", missing), kI, L"0"},
        {call(L"filetimec", missing), kI, L"0"},
        {call(L"filesize", lines), kI, L"18"},
        {call(L"filesize", backslashed(lines)), kI, L"18"},
        {call(L"filesize", empty), kI, L"0"},
        {call(L"filesize", missing), kI, L"-1"},
        {call(L"filesize", folder.text()), kI, L"-1"},
        {call(L"filelinecount", lines), kI, L"3"},
        {call(L"filelinecount", empty), kI, L"0"},
        {call(L"filelinecount", missing), kI, L"-1"},
        {call(L"filelineindex", lines, L",1"), kS, L"alpha"},
        {call(L"filelineindex", backslashed(lines), L",2"), kS, L"中文"},
        {call(L"filelineindex", lines, L",3"), kS, L"last"},
        {call(L"filelineindex", lines, L",4"), kS, L"alpha"},
        {call(L"filelineindex", lines, L",0"), kS, L"last"},
        {call(L"filelineindex", lines, L",-1"), kS, L""},
        {call(L"filelineindex", empty, L",1"), kS, L""},
        {call(L"filelineindex", missing, L",1"), kS, L""},
        {call(L"filelineindex", bom, L",1"), kS, L"head"},
    });
}

TEST(FileFunctions, TakeTheFirstFileAWildcardMatches) {
    const FormulaFolder folder;
    folder.write("b.txt", "b", 1, 1200000000);
    folder.write("a.txt", "a", 1, 1100000000);
    folder.write("a.dat", "a", 1, 1300000000);
    expectFileRows({
        {call(L"filetimem", folder.text() + L"/*.txt"), kI, L"1100000000"},
        {call(L"filetimem", folder.text() + L"\\?.dat"), kI, L"1300000000"},
        {call(L"filetimem", folder.text() + L"/b*"), kI, L"1200000000"},
        {call(L"filetimem", folder.text() + L"/*.dwg"), kI, L"0"},
        {call(L"filetimem", folder.text() + L"/A.txt"), kI, L"0"},
    });
}

TEST(FileFunctions, CreationTimeIsNotBeforeTheFileWasMade) {
    const FormulaFolder folder;
    const std::time_t before = std::time(nullptr);
    const CString file = folder.write("new.txt", "x");
    CZEBBaseStringAnalyse analyser;
    analyser.SetInputString(call(L"filetimec", file));
    ASSERT_EQ(analyser.DoAnalyse(), kOk);
    EXPECT_EQ(analyser.GetOutputType(), kI);
    const long created = std::stol(platform::wideToUtf8(analyser.GetOutputString()));
    EXPECT_GE(created, static_cast<long>(before) - 1);
    EXPECT_LE(created, static_cast<long>(std::time(nullptr)) + 1);
}

TEST(TimeFunctions, SplitTimesInTheProcessTimeZone) {
    struct Row {
        const char* zone;
        const wchar_t* expression;
        int kind;
        const wchar_t* value;
    };
    const Row rows[] = {
        {"UTC0", L"year(1000000000)", kI, L"2001"},
        {"UTC0", L"month(1000000000)", kI, L"9"},
        {"UTC0", L"day(1000000000)", kI, L"9"},
        {"UTC0", L"hour(1000000000)", kI, L"1"},
        {"UTC0", L"minute(1000000000)", kI, L"46"},
        {"UTC0", L"second(1000000000)", kI, L"40"},
        {"UTC0", L"week(1000000000)", kI, L"1"},
        {"CST-8", L"hour(1000000000)", kI, L"9"},
        {"CST-8", L"week(0)", kI, L"5"},
        {"EST5", L"day(1000000000)", kI, L"8"},
        {"EST5", L"week(1000000000)", kI, L"7"},
        {"UTC0", L"year(-1)", kI, L"0"},
        {"UTC0", L"week(-1)", kI, L"0"},
        {"UTC0", L"hour(-1)", kI, L"-1"},
        {"UTC0", L"second(-1)", kI, L"-1"},
        {"UTC0", L"year(\"1000000000\")", kI, L"2001"},
        {"UTC0", L"timeformat(1000000000,\"%Y-%m-%d %H:%M:%S\")", kS, L"2001-09-09 01:46:40"},
        {"CST-8", L"timeformat(1000000000,\"%H时%M分\")", kS, L"09时46分"},
        {"UTC0", L"timeformat(-5,\"%Y\")", kS, L""},
        {"UTC0", L"timeformat(0,rept(\"%Y\",40))", kS, L""},
        {"UTC0", L"timeformat(0,rept(\"%Y\",31))", kS,
         L"1970197019701970197019701970197019701970197019701970197019701970"
         L"197019701970197019701970197019701970197019701970197019701970"},
    };
    for (const Row& row : rows) {
        const ScopedTimeZone zone(row.zone);
        const FormulaRow formula{row.expression, kOk, row.value, row.kind, L""};
        CZEBBaseStringAnalyse analyser;
        expectFormula(analyser, formula);
    }
}

TEST(TimeFunctions, CurrentTimeIsNow) {
    const std::time_t before = std::time(nullptr);
    CZEBBaseStringAnalyse analyser;
    analyser.SetInputString(L"curtime()");
    ASSERT_EQ(analyser.DoAnalyse(), kOk);
    EXPECT_EQ(analyser.GetOutputType(), kI);
    const long now = std::stol(platform::wideToUtf8(analyser.GetOutputString()));
    EXPECT_GE(now, static_cast<long>(before));
    EXPECT_LE(now, static_cast<long>(std::time(nullptr)));
}
