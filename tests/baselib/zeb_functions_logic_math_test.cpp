// The function library's dispatch (names, argument counts, the extension hook, the registration table)
// and its logic and mathematics functions, run through the analyser.
#include "platform/message_box.h"
#include "quelto/baselib/zeb_function_table.h"
#include "zeb_functions_test_rows.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr int kS = CZEBOperateVar::TypeString;
constexpr int kI = CZEBOperateVar::TypeInteger;
constexpr int kR = CZEBOperateVar::TypeReal;
constexpr int kB = CZEBOperateVar::TypeBoolean;
constexpr int kOk = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int kCount = CZEBBaseStringAnalyse::ResultArgumentCount;
constexpr int kValue = CZEBBaseStringAnalyse::ResultArgumentValue;
constexpr int kUnknown = CZEBBaseStringAnalyse::ResultUnknownFunction;

// Adds "twice", replaces "sin", and refuses "boom" with its own code; declines everything else.
class ExtendedAnalyser : public CZEBBaseStringAnalyse {
protected:
    int GetExtendFunValue(CZEBOperateVar& record) override {
        if (record.m_strOperate == L"sin") {
            record.m_nType = CZEBOperateVar::TypeReal;
            record.m_dValue = 42.0;
            return ResultSuccess;
        }
        if (record.m_strOperate == L"twice") {
            record.m_nType = CZEBOperateVar::TypeInteger;
            record.m_nValue = 2 * m_arrOperate[record[0]].GetIValue();
            return ResultSuccess;
        }
        if (record.m_strOperate == L"boom") {
            return ResultArgumentValue;
        }
        return ResultUnknownFunction;
    }
};

} // namespace

TEST(FunctionLibrary, RegistersEachOfTheBuiltInNamesOnce) {
    const std::set<std::wstring> expected = {
        L"if",        L"true",      L"false",      L"not",           L"and",           L"or",
        L"pi",        L"radians",   L"degrees",    L"sin",           L"cos",           L"tan",
        L"asin",      L"acos",      L"atan",       L"abs",           L"sqrt",          L"pow2",
        L"pow3",      L"pow",       L"area",       L"floor",         L"ceil",          L"int",
        L"exp",       L"log",       L"log10",      L"fact",          L"mod",           L"rand",
        L"round",     L"trunc",     L"sign",       L"max",           L"min",           L"average",
        L"len",       L"atoi",      L"atof",       L"china",         L"alpha",         L"strindex",
        L"left",      L"lequ",      L"dell",       L"right",         L"requ",          L"delr",
        L"mid",       L"mid2",      L"mid3",       L"find",          L"findr",         L"char",
        L"upper",     L"lower",     L"triml",      L"trimr",         L"trimlr",        L"exact",
        L"exactl",    L"exactr",    L"proper",     L"delete",        L"replace",       L"replace2",
        L"text",      L"rept",      L"substitute", L"strcal",        L"calreplace",    L"clip",
        L"clipcount", L"clipindex", L"strd",       L"stir",          L"stor",          L"stds",
        L"stin90",    L"stin135",   L"stin180",    L"stde45",        L"stde90",        L"stde90m",
        L"filename",  L"filepath",  L"pathname",   L"filetitle",     L"fileext",       L"filetimec",
        L"filetimem", L"filetimea", L"filesize",   L"filelinecount", L"filelineindex", L"curtime",
        L"year",      L"month",     L"day",        L"hour",          L"minute",        L"second",
        L"week",      L"timeformat"};
    ASSERT_EQ(expected.size(), 104U);

    const std::vector<quelto::baselib::FunctionEntry> entries = quelto::baselib::allFunctions();
    std::multiset<std::wstring> registered;
    for (const quelto::baselib::FunctionEntry& entry : entries) {
        registered.insert(entry.name);
        EXPECT_EQ(quelto::baselib::findFunction(entry.name), quelto::baselib::findFunction(entry.name));
        ASSERT_NE(quelto::baselib::findFunction(entry.name), nullptr);
        EXPECT_EQ(quelto::baselib::findFunction(entry.name)->compute, entry.compute);
    }
    EXPECT_EQ(entries.size(), 104U);
    EXPECT_EQ(std::set<std::wstring>(registered.begin(), registered.end()), expected);
    for (const std::wstring& name : expected) {
        EXPECT_EQ(registered.count(name), 1U) << platform::wideToUtf8(name);
    }
}

TEST(FunctionLibrary, ChecksNamesAndArgumentCounts) {
    const FormulaRow rows[] = {
        {L"nosuch(1)", kUnknown, L"", 0, L"函数nosuch不存在"},
        {L"NoSuch()", kUnknown, L"", 0, L"函数nosuch不存在"},
        {L"PI()", kOk, L"3.1415927", kR, L""},
        {L"pi(1)", kCount, L"", 0, L"函数pi的形参个数应该为0个,当前指定的个数是1"},
        {L"SIN(1,2)", kCount, L"", 0, L"函数sin的形参个数应该为1个,当前指定的个数是2"},
        {L"mid(\"abc\",1)", kCount, L"", 0, L"函数mid的形参个数应该为3个,当前指定的个数是2"},
        {L"calreplace(1,2,3,4)", kCount, L"", 0, L"函数calreplace的形参个数应该为5个,当前指定的个数是4"},
        {L"max()", kCount, L"", 0, L"函数max的形参个数至少1个,当前指定的个数是0个"},
        {L"Min()", kCount, L"", 0, L"函数min的形参个数至少1个,当前指定的个数是0个"},
        {L"average()", kCount, L"", 0, L"函数average的形参个数至少1个,当前指定的个数是0个"},
        {L"and()", kCount, L"", 0, L"函数and的形参个数至少1个,当前指定的个数是0个"},
        {L"or()", kCount, L"", 0, L"函数or的形参个数至少1个,当前指定的个数是0个"},
        {L"if(1,2)", kCount, L"", 0, L"函数if的形参个数应该为3个,当前指定的个数是2"},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, ComputesLogicFunctions) {
    const FormulaRow rows[] = {
        {L"true()", kOk, L"TRUE", kB, L""},
        {L"FALSE()", kOk, L"FALSE", kB, L""},
        {L"not(0)", kOk, L"TRUE", kB, L""},
        {L"not(0.5)", kOk, L"TRUE", kB, L""},
        {L"not(\"7\")", kOk, L"FALSE", kB, L""},
        {L"if(1,5,1/0)", kOk, L"5", kI, L""},
        {L"if(0,\"a\",2.5)", kOk, L"2.5", kR, L""},
        {L"if(0.5,1,\"b\")", kOk, L"b", kS, L""},
        {L"if(\"1\",true(),1)", kOk, L"TRUE", kB, L""},
        {L"and(1,2,\"3\")", kOk, L"TRUE", kB, L""},
        {L"and(1,0.9)", kOk, L"FALSE", kB, L""},
        {L"and(0,1/0)", kOk, L"FALSE", kB, L""},
        {L"or(0,0)", kOk, L"FALSE", kB, L""},
        {L"or(0,1,1/0)", kOk, L"TRUE", kB, L""},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, ComputesMathematicsInDegrees) {
    const FormulaRow rows[] = {
        {L"SIN(30)", kOk, L"0.5", kR, L""},
        {L"cos(60)", kOk, L"0.5", kR, L""},
        {L"tan(45)", kOk, L"1", kR, L""},
        {L"tan(90)", kValue, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(270)", kValue, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(450)", kValue, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(-90)", kOk, L"-16331239353195370", kR, L""},
        {L"asin(1)", kOk, L"90", kR, L""},
        {L"asin(2)", kValue, L"", 0, L"asin函数的参数必须位于区间[-1,1]"},
        {L"acos(0)", kOk, L"90", kR, L""},
        {L"acos(-1.5)", kValue, L"", 0, L"acos函数的参数必须位于区间[-1,1]"},
        {L"atan(1)", kOk, L"45", kR, L""},
        {L"radians(180)", kOk, L"3.1415927", kR, L""},
        {L"degrees(pi())", kOk, L"180", kR, L""},
        {L"abs(-2.5)", kOk, L"2.5", kR, L""},
        {L"sqrt(16)", kOk, L"4", kR, L""},
        {L"sqrt(-1)", kValue, L"", 0, L"sqrt函数的参数必须大于或等于0"},
        {L"pow2(3)", kOk, L"9", kR, L""},
        {L"pow3(-2)", kOk, L"-8", kR, L""},
        {L"pow(2,10)", kOk, L"1024", kR, L""},
        {L"area(2)", kOk, L"12.5663706", kR, L""},
        {L"floor(-2.5)", kOk, L"-3", kR, L""},
        {L"ceil(2.1)", kOk, L"3", kR, L""},
        {L"int(-2.7)", kOk, L"-2", kR, L""},
        {L"int(3000000000.0)", kOk, L"-2147483648", kR, L""},
        {L"exp(0)", kOk, L"1", kR, L""},
        {L"log(1)", kOk, L"0", kR, L""},
        {L"log(0)", kValue, L"", 0, L"log函数的参数必须大于0"},
        {L"log10(1000)", kOk, L"3", kR, L""},
        {L"log10(-1)", kValue, L"", 0, L"log10函数的参数必须大于0"},
        {L"fact(5)", kOk, L"120", kI, L""},
        {L"fact(0)", kOk, L"1", kI, L""},
        {L"fact(2.9)", kOk, L"2", kI, L""},
        {L"fact(13)", kOk, L"1932053504", kI, L""},
        {L"mod(7,-3)", kOk, L"1", kI, L""},
        {L"mod(-7,3)", kOk, L"-1", kI, L""},
        {L"mod(7.9,2)", kOk, L"1", kI, L""},
        {L"mod(1,0)", kValue, L"", 0, L"mod函数除数不得为0"},
        {L"mod(1,0.5)", kValue, L"", 0, L"mod函数除数不得为0"},
        {L"round(3.14159,2)", kOk, L"3.14", kR, L""},
        {L"round(2.5,0)", kOk, L"3", kR, L""},
        {L"round(-2.5,0)", kOk, L"-2", kR, L""},
        {L"round(1.5,-1)", kValue, L"", 0, L"round函数小数位数不能为负数"},
        {L"trunc(3.789,1)", kOk, L"3.7", kR, L""},
        {L"trunc(-3.789,2)", kOk, L"-3.78", kR, L""},
        {L"trunc(1,-2)", kValue, L"", 0, L"trunc函数小数位数不能为负数"},
        {L"sign(-0.5)", kOk, L"-1", kI, L""},
        {L"sign(0)", kOk, L"0", kI, L""},
        {L"sign(\"3x\")", kOk, L"1", kI, L""},
        {L"max(1,5,3)", kOk, L"5", kR, L""},
        {L"min(4,-2,7)", kOk, L"-2", kR, L""},
        {L"average(1,2,3,4)", kOk, L"2.5", kR, L""},
        {L"max(\"abc\")", kOk, L"0", kR, L""},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, RandStaysBetweenZeroAndOne) {
    for (int draw = 0; draw < 200; ++draw) {
        CZEBBaseStringAnalyse analyser;
        analyser.SetInputString(L"rand()");
        ASSERT_EQ(analyser.DoAnalyse(), kOk);
        ASSERT_EQ(analyser.GetOutputType(), kR);
        const double value = std::stod(platform::wideToUtf8(analyser.GetOutputString()));
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST(FunctionLibrary, ExtensionHookAddsAndReplacesFunctions) {
    const FormulaRow rows[] = {
        {L"sin(30)", kOk, L"42", kR, L""},
        {L"twice(4)+1", kOk, L"9", kR, L""},
        {L"cos(60)", kOk, L"0.5", kR, L""},
        {L"boom(1)", kValue, L"", 0, L""},
        {L"nosuch()", kUnknown, L"", 0, L"函数nosuch不存在"},
    };
    for (const FormulaRow& row : rows) {
        ExtendedAnalyser analyser;
        expectFormula(analyser, row);
    }
}

TEST(FunctionLibrary, ShowsArgumentErrorsWhenAsked) {
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scope(boxes);
    CZEBBaseStringAnalyse analyser;
    analyser.SetShowErrorInfo(TRUE);
    analyser.SetInputString(L"sqrt(-4)");
    EXPECT_EQ(analyser.DoAnalyse(), kValue);
    analyser.SetInputString(L"sqrt(4,1)");
    EXPECT_EQ(analyser.DoAnalyse(), kCount);
    ASSERT_EQ(boxes.shown().size(), 2U);
    EXPECT_EQ(boxes.shown()[0].text, L"sqrt函数的参数必须大于或等于0");
    EXPECT_EQ(boxes.shown()[0].caption, L"翠岭轩基本类库");
    EXPECT_EQ(boxes.shown()[0].icon(), MB_ICONINFORMATION);
    EXPECT_EQ(boxes.shown()[1].text, L"函数sqrt的形参个数应该为1个,当前指定的个数是2");
}
