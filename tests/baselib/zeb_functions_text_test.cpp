// The text functions of the formula language: slices and their argument checks in order, searches,
// case and white space, marked spans, numerals, and the nested analyses of strcal and calreplace.
#include "platform/message_box.h"
#include "zeb_functions_test_rows.h"

namespace {

constexpr int S = CZEBOperateVar::TypeString;
constexpr int I = CZEBOperateVar::TypeInteger;
constexpr int R = CZEBOperateVar::TypeReal;
constexpr int B = CZEBOperateVar::TypeBoolean;
constexpr int Ok = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int Value = CZEBBaseStringAnalyse::ResultArgumentValue;

} // namespace

TEST(TextFunctions, MeasureConvertAndNumber) {
    const FormulaRow rows[] = {
        {L"len(\"abc\")", Ok, L"3", I, L""},
        {L"len(\"中文字\")", Ok, L"3", I, L""},
        {L"len(12.50)", Ok, L"4", I, L""},
        {L"atoi(\"12abc\")", Ok, L"12", I, L""},
        {L"atof(\"2.5x\")", Ok, L"2.5", R, L""},
        {L"china(23,0)", Ok, L"二十三", S, L""},
        {L"china(23,1)", Ok, L"贰拾叁", S, L""},
        {L"alpha(28,1)", Ok, L"AB", S, L""},
        {L"alpha(28,0)", Ok, L"ab", S, L""},
        {L"alpha(0,1)", Ok, L"", S, L""},
        {L"alpha(18278,1)", Ok, L"ZZZ", S, L""},
        {L"strindex(7,3)", Ok, L"007", S, L""},
        {L"strindex(1234,3)", Ok, L"1234", S, L""},
        {L"text(3.14159,2)", Ok, L"3.14", S, L""},
        {L"text(1,3)", Ok, L"1.000", S, L""},
        {L"text(2.5,-3)", Ok, L"2.5", S, L""},
        {L"char(65)", Ok, L"A", S, L""},
        {L"char(20013)", Ok, L"中", S, L""},
        {L"char(0)", Value, L"", 0, L"char函数的第一个参数必须大于0"},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, SliceAndCheckPositionsInOrder) {
    const FormulaRow rows[] = {
        {L"left(\"abc\",2)", Ok, L"ab", S, L""},
        {L"left(\"abc\",5)", Ok, L"abc", S, L""},
        {L"left(\"abc\",-1)", Value, L"", 0, L"left函数第二个参数必须大于或等于0"},
        {L"right(\"abcdef\",2)", Ok, L"ef", S, L""},
        {L"right(\"abc\",9)", Ok, L"abc", S, L""},
        {L"right(\"abc\",-1)", Value, L"", 0, L"right函数的第二个参数必须大于或等于0"},
        {L"mid(\"abcdef\",2,3)", Ok, L"bcd", S, L""},
        {L"mid(\"abcdef\",5,9)", Ok, L"ef", S, L""},
        {L"mid(\"abcdef\",2,0)", Ok, L"", S, L""},
        {L"mid(\"abcdef\",7,1)", Value, L"", 0, L"mid函数的第二个参数必须小于或等于字符串长度"},
        {L"mid(\"abcdef\",0,-1)", Value, L"", 0, L"mid函数的第二个参数必须大于0"},
        {L"mid(\"abcdef\",2,-1)", Value, L"", 0, L"mid函数的第三个参数必须大于0"},
        {L"mid(\"\",1,1)", Value, L"", 0, L"mid函数的第二个参数必须小于或等于字符串长度"},
        {L"mid2(\"abcdef\",2,2)", Ok, L"b", S, L""},
        {L"mid2(\"abcdef\",2,6)", Ok, L"bcdef", S, L""},
        {L"mid2(\"abcdef\",3,2)", Value, L"", 0,
         L"mid2函数的第三个参数必须大于第二个参数且小于或等于字符串长度"},
        {L"mid2(\"abcdef\",2,7)", Value, L"", 0,
         L"mid2函数的第三个参数必须大于第二个参数且小于或等于字符串长度"},
        {L"mid2(\"abcdef\",0,2)", Value, L"", 0, L"mid2函数的第二个参数必须大于0"},
        {L"mid2(\"abcdef\",7,8)", Value, L"", 0, L"mid2函数的第二个参数必须小于或等于字符串长度"},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",1)", Ok, L"b", S, L""},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",3)", Ok, L"d", S, L""},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",-1)", Ok, L"d", S, L""},
        {L"mid3(\"a<<b>>c\",\"<<\",\">>\",1)", Ok, L"b", S, L""},
        {L"mid3(\"abc\",\"[\",\"]\",1)", Ok, L"", S, L""},
        {L"mid3(\"a[bc\",\"[\",\"]\",1)", Ok, L"", S, L""},
        {L"mid3(\"xabyb\",\"ab\",\"b\",1)", Ok, L"", S, L""},
        {L"mid3(\"abc\",\"[\",\"]\",0)", Value, L"", 0, L"mid3函数的第4个参数必须大于0"},
        {L"mid3(\"abc\",\"[\",\"]\",4)", Value, L"", 0, L"mid3函数的第4个参数必须小于或等于字符串长度"},
        {L"delete(\"abcdef\",5,3)", Ok, L"abcd", S, L""},
        {L"delete(\"abcdef\",2,2)", Ok, L"adef", S, L""},
        {L"delete(\"abcdef\",0,2)", Ok, L"abcdef", S, L""},
        {L"delete(\"abcdef\",7,1)", Ok, L"abcdef", S, L""},
        {L"delete(\"abcdef\",2,0)", Ok, L"abcdef", S, L""},
        {L"replace(\"abcdef\",2,3,\"XY\")", Ok, L"aXYef", S, L""},
        {L"replace(\"abcdef\",5,9,\"Z\")", Ok, L"abcdZ", S, L""},
        {L"replace(\"abcdef\",9,1,\"Z\")", Ok, L"abcdef", S, L""},
        {L"replace2(\"a[b]c[d]\",\"[\",\"]\",\"XY\")", Ok, L"a[XY]c[d]", S, L""},
        {L"replace2(\"abc\",\"[\",\"]\",\"X\")", Ok, L"abc", S, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, CompareAndSearchCaseSensitively) {
    const FormulaRow rows[] = {
        {L"lequ(\"abcdef\",\"ab\")", Ok, L"TRUE", B, L""},
        {L"lequ(\"abcdef\",\"AB\")", Ok, L"FALSE", B, L""},
        {L"requ(\"abcdef\",\"ab\")", Ok, L"FALSE", B, L""},
        {L"requ(\"abcdef\",\"def\")", Ok, L"TRUE", B, L""},
        {L"exactl(\"abc\",\"a\")", Ok, L"TRUE", B, L""},
        {L"exactr(\"abc\",\"bc\")", Ok, L"TRUE", B, L""},
        {L"exactr(\"c\",\"bc\")", Ok, L"FALSE", B, L""},
        {L"exact(\"abc\",\"ABC\")", Ok, L"FALSE", B, L""},
        {L"exact(\"abc\",\"abc\")", Ok, L"TRUE", B, L""},
        {L"dell(\"abcdef\",\"ab\")", Ok, L"cdef", S, L""},
        {L"dell(\"abcdef\",\"cd\")", Ok, L"abcdef", S, L""},
        {L"delr(\"abcdef\",\"ef\")", Ok, L"abcd", S, L""},
        {L"delr(\"abcdef\",\"abcdefg\")", Ok, L"abcdef", S, L""},
        {L"find(\"abcabc\",\"c\",4)", Ok, L"6", I, L""},
        {L"find(\"abcabc\",\"bc\",1)", Ok, L"2", I, L""},
        {L"find(\"abcabc\",\"x\",1)", Ok, L"0", I, L""},
        {L"find(\"abc\",\"a\",9)", Ok, L"0", I, L""},
        {L"find(\"abc\",\"c\",0)", Value, L"", 0, L"find函数的第3个参数必须大于0"},
        {L"findr(\"abcabc\",\"c\")", Ok, L"6", I, L""},
        {L"findr(\"abcabc\",\"ab\")", Ok, L"4", I, L""},
        {L"findr(\"abcabc\",\"x\")", Ok, L"0", I, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, ChangeCaseWhiteSpaceAndRepetition) {
    const FormulaRow rows[] = {
        {L"upper(\"abC1\")", Ok, L"ABC1", S, L""},
        {L"lower(\"ABc中\")", Ok, L"abc中", S, L""},
        {L"proper(\"hello wORLD x2y\")", Ok, L"Hello World X2Y", S, L""},
        {L"triml(\"  a b  \")", Ok, L"a b  ", S, L""},
        {L"trimr(\"  a b  \")", Ok, L"  a b", S, L""},
        {L"trimlr(\" \t中\u3000\")", Ok, L"中", S, L""},
        {L"rept(\"ab\",3)", Ok, L"ababab", S, L""},
        {L"rept(\"ab\",-1)", Ok, L"", S, L""},
        {L"substitute(\"a-b-c\",\"-\",\"+\")", Ok, L"a+b+c", S, L""},
        {L"substitute(\"aaa\",\"a\",\"aa\")", Ok, L"aaaaaa", S, L""},
        {L"substitute(\"abc\",\"\",\"x\")", Ok, L"abc", S, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, EvaluateNestedFormulas) {
    const FormulaRow rows[] = {
        {L"strcal(\"1+2\")", Ok, L"3", S, L""},
        {L"strcal(\"2^3\")", Ok, L"8", S, L""},
        {L"strcal(\"len(x)\")", Ok, L"len(x)", S, L""},
        {L"strcal(\"1+\")", Ok, L"1+", S, L""},
        {L"calreplace(\"w=[3]mm\",\"[\",\"]\",\"x*2\",1)", Ok, L"w=[6]mm", S, L""},
        {L"calreplace(\"[1][2]\",\"[\",\"]\",\"x+10\",-1)", Ok, L"[1][12]", S, L""},
        {L"calreplace(\"[1][2]\",\"[\",\"]\",\"len(x)\",2)", Ok, L"[1][1]", S, L""},
        {L"calreplace(\"w=[3]mm\",\"[\",\"]\",\"y*2\",1)", Ok, L"w=[3]mm", S, L""},
        {L"calreplace(\"w=3mm\",\"[\",\"]\",\"x*2\",1)", Ok, L"w=3mm", S, L""},
        {L"calreplace(\"abc\",\"[\",\"]\",\"x\",0)", Value, L"", 0, L"strcal函数的第5个参数必须大于0"},
        {L"calreplace(\"abc\",\"[\",\"]\",\"x\",4)", Value, L"", 0,
         L"strcal函数的第5个参数必须小于或等于字符串长度"},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, NestedAnalysisShowsItsOwnErrorOnly) {
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scope(boxes);
    CZEBBaseStringAnalyse analyser;
    analyser.SetShowErrorInfo(TRUE);
    analyser.SetInputString(L"strcal(\"1/0\")");
    ASSERT_EQ(analyser.DoAnalyse(), Ok);
    EXPECT_EQ(analyser.GetOutputString(), L"\"1/0\"");
    EXPECT_EQ(analyser.GetAnalyseErrorInfo(), L"");
    ASSERT_EQ(boxes.shown().size(), 1U);
    EXPECT_EQ(boxes.shown()[0].text, L"除数为0错误");

    boxes.clear();
    analyser.SetShowErrorInfo(FALSE);
    analyser.SetInputString(L"strcal(\"1/0\")");
    ASSERT_EQ(analyser.DoAnalyse(), Ok);
    EXPECT_TRUE(boxes.shown().empty());
}
