// The function library's dispatch (names, argument counts, the extension hook, the registration table)
// and its logic and mathematics functions, run through the analyser.
#include "platform/message_box.h"
#include "quelto/baselib/zeb_function_table.h"
#include "zeb_functions_test_rows.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr int S = CZEBOperateVar::TypeString;
constexpr int I = CZEBOperateVar::TypeInteger;
constexpr int R = CZEBOperateVar::TypeReal;
constexpr int B = CZEBOperateVar::TypeBoolean;
constexpr int Ok = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int Count = CZEBBaseStringAnalyse::ResultArgumentCount;
constexpr int Value = CZEBBaseStringAnalyse::ResultArgumentValue;
constexpr int Unknown = CZEBBaseStringAnalyse::ResultUnknownFunction;

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
        {L"nosuch(1)", Unknown, L"", 0, L"函数nosuch不存在"},
        {L"NoSuch()", Unknown, L"", 0, L"函数nosuch不存在"},
        {L"PI()", Ok, L"3.1415927", R, L""},
        {L"pi(1)", Count, L"", 0, L"函数pi的形参个数应该为0个,当前指定的个数是1"},
        {L"SIN(1,2)", Count, L"", 0, L"函数sin的形参个数应该为1个,当前指定的个数是2"},
        {L"mid(\"abc\",1)", Count, L"", 0, L"函数mid的形参个数应该为3个,当前指定的个数是2"},
        {L"calreplace(1,2,3,4)", Count, L"", 0, L"函数calreplace的形参个数应该为5个,当前指定的个数是4"},
        {L"max()", Count, L"", 0, L"函数max的形参个数至少1个,当前指定的个数是0个"},
        {L"Min()", Count, L"", 0, L"函数min的形参个数至少1个,当前指定的个数是0个"},
        {L"average()", Count, L"", 0, L"函数average的形参个数至少1个,当前指定的个数是0个"},
        {L"and()", Count, L"", 0, L"函数and的形参个数至少1个,当前指定的个数是0个"},
        {L"or()", Count, L"", 0, L"函数or的形参个数至少1个,当前指定的个数是0个"},
        {L"if(1,2)", Count, L"", 0, L"函数if的形参个数应该为3个,当前指定的个数是2"},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, ComputesLogicFunctions) {
    const FormulaRow rows[] = {
        {L"true()", Ok, L"TRUE", B, L""},
        {L"FALSE()", Ok, L"FALSE", B, L""},
        {L"not(0)", Ok, L"TRUE", B, L""},
        {L"not(0.5)", Ok, L"TRUE", B, L""},
        {L"not(\"7\")", Ok, L"FALSE", B, L""},
        {L"if(1,5,1/0)", Ok, L"5", I, L""},
        {L"if(0,\"a\",2.5)", Ok, L"2.5", R, L""},
        {L"if(0.5,1,\"b\")", Ok, L"b", S, L""},
        {L"if(\"1\",true(),1)", Ok, L"TRUE", B, L""},
        {L"and(1,2,\"3\")", Ok, L"TRUE", B, L""},
        {L"and(1,0.9)", Ok, L"FALSE", B, L""},
        {L"and(0,1/0)", Ok, L"FALSE", B, L""},
        {L"or(0,0)", Ok, L"FALSE", B, L""},
        {L"or(0,1,1/0)", Ok, L"TRUE", B, L""},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, ComputesMathematicsInDegrees) {
    const FormulaRow rows[] = {
        {L"SIN(30)", Ok, L"0.5", R, L""},
        {L"cos(60)", Ok, L"0.5", R, L""},
        {L"tan(45)", Ok, L"1", R, L""},
        {L"tan(90)", Value, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(270)", Value, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(450)", Value, L"", 0, L"tan函数的参数不能为κπ＋π/2"},
        {L"tan(-90)", Ok, L"-16331239353195370", R, L""},
        {L"asin(1)", Ok, L"90", R, L""},
        {L"asin(2)", Value, L"", 0, L"asin函数的参数必须位于区间[-1,1]"},
        {L"acos(0)", Ok, L"90", R, L""},
        {L"acos(-1.5)", Value, L"", 0, L"acos函数的参数必须位于区间[-1,1]"},
        {L"atan(1)", Ok, L"45", R, L""},
        {L"radians(180)", Ok, L"3.1415927", R, L""},
        {L"degrees(pi())", Ok, L"180", R, L""},
        {L"abs(-2.5)", Ok, L"2.5", R, L""},
        {L"sqrt(16)", Ok, L"4", R, L""},
        {L"sqrt(-1)", Value, L"", 0, L"sqrt函数的参数必须大于或等于0"},
        {L"pow2(3)", Ok, L"9", R, L""},
        {L"pow3(-2)", Ok, L"-8", R, L""},
        {L"pow(2,10)", Ok, L"1024", R, L""},
        {L"area(2)", Ok, L"12.5663706", R, L""},
        {L"floor(-2.5)", Ok, L"-3", R, L""},
        {L"ceil(2.1)", Ok, L"3", R, L""},
        {L"int(-2.7)", Ok, L"-2", R, L""},
        {L"int(3000000000.0)", Ok, L"-2147483648", R, L""},
        {L"exp(0)", Ok, L"1", R, L""},
        {L"log(1)", Ok, L"0", R, L""},
        {L"log(0)", Value, L"", 0, L"log函数的参数必须大于0"},
        {L"log10(1000)", Ok, L"3", R, L""},
        {L"log10(-1)", Value, L"", 0, L"log10函数的参数必须大于0"},
        {L"fact(5)", Ok, L"120", I, L""},
        {L"fact(0)", Ok, L"1", I, L""},
        {L"fact(2.9)", Ok, L"2", I, L""},
        {L"fact(13)", Ok, L"1932053504", I, L""},
        {L"mod(7,-3)", Ok, L"1", I, L""},
        {L"mod(-7,3)", Ok, L"-1", I, L""},
        {L"mod(7.9,2)", Ok, L"1", I, L""},
        {L"mod(1,0)", Value, L"", 0, L"mod函数除数不得为0"},
        {L"mod(1,0.5)", Value, L"", 0, L"mod函数除数不得为0"},
        {L"round(3.14159,2)", Ok, L"3.14", R, L""},
        {L"round(2.5,0)", Ok, L"3", R, L""},
        {L"round(-2.5,0)", Ok, L"-2", R, L""},
        {L"round(1.5,-1)", Value, L"", 0, L"round函数小数位数不能为负数"},
        {L"trunc(3.789,1)", Ok, L"3.7", R, L""},
        {L"trunc(-3.789,2)", Ok, L"-3.78", R, L""},
        {L"trunc(1,-2)", Value, L"", 0, L"trunc函数小数位数不能为负数"},
        {L"sign(-0.5)", Ok, L"-1", I, L""},
        {L"sign(0)", Ok, L"0", I, L""},
        {L"sign(\"3x\")", Ok, L"1", I, L""},
        {L"max(1,5,3)", Ok, L"5", R, L""},
        {L"min(4,-2,7)", Ok, L"-2", R, L""},
        {L"average(1,2,3,4)", Ok, L"2.5", R, L""},
        {L"max(\"abc\")", Ok, L"0", R, L""},
    };
    expectFormulas(rows);
}

TEST(FunctionLibrary, RandStaysBetweenZeroAndOne) {
    for (int draw = 0; draw < 200; ++draw) {
        CZEBBaseStringAnalyse analyser;
        analyser.SetInputString(L"rand()");
        ASSERT_EQ(analyser.DoAnalyse(), Ok);
        ASSERT_EQ(analyser.GetOutputType(), R);
        const double value = std::stod(platform::wideToUtf8(analyser.GetOutputString()));
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST(FunctionLibrary, ExtensionHookAddsAndReplacesFunctions) {
    const FormulaRow rows[] = {
        {L"sin(30)", Ok, L"42", R, L""},
        {L"twice(4)+1", Ok, L"9", R, L""},
        {L"cos(60)", Ok, L"0.5", R, L""},
        {L"boom(1)", Value, L"", 0, L""},
        {L"nosuch()", Unknown, L"", 0, L"函数nosuch不存在"},
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
    EXPECT_EQ(analyser.DoAnalyse(), Value);
    analyser.SetInputString(L"sqrt(4,1)");
    EXPECT_EQ(analyser.DoAnalyse(), Count);
    ASSERT_EQ(boxes.shown().size(), 2U);
    EXPECT_EQ(boxes.shown()[0].text, L"sqrt函数的参数必须大于或等于0");
    EXPECT_EQ(boxes.shown()[0].caption, L"翠岭轩基本类库");
    EXPECT_EQ(boxes.shown()[0].icon(), MB_ICONINFORMATION);
    EXPECT_EQ(boxes.shown()[1].text, L"函数sqrt的形参个数应该为1个,当前指定的个数是2");
}
