// The text functions of the formula language: slices and their argument checks in order, searches,
// case and white space, marked spans, numerals, and the nested analyses of strcal and calreplace.
#include "platform/message_box.h"
#include "zeb_functions_test_rows.h"

namespace {

constexpr int kS = CZEBOperateVar::TypeString;
constexpr int kI = CZEBOperateVar::TypeInteger;
constexpr int kR = CZEBOperateVar::TypeReal;
constexpr int kB = CZEBOperateVar::TypeBoolean;
constexpr int kOk = CZEBBaseStringAnalyse::ResultSuccess;
constexpr int kValue = CZEBBaseStringAnalyse::ResultArgumentValue;

} // namespace

TEST(TextFunctions, MeasureConvertAndNumber) {
    const FormulaRow rows[] = {
        {L"len(\"abc\")", kOk, L"3", kI, L""},
        {L"len(\"中文字\")", kOk, L"3", kI, L""},
        {L"len(12.50)", kOk, L"4", kI, L""},
        {L"atoi(\"12abc\")", kOk, L"12", kI, L""},
        {L"atof(\"2.5x\")", kOk, L"2.5", kR, L""},
        {L"china(23,0)", kOk, L"二十三", kS, L""},
        {L"china(23,1)", kOk, L"贰拾叁", kS, L""},
        {L"alpha(28,1)", kOk, L"AB", kS, L""},
        {L"alpha(28,0)", kOk, L"ab", kS, L""},
        {L"alpha(0,1)", kOk, L"", kS, L""},
        {L"alpha(18278,1)", kOk, L"ZZZ", kS, L""},
        {L"strindex(7,3)", kOk, L"007", kS, L""},
        {L"strindex(1234,3)", kOk, L"1234", kS, L""},
        {L"text(3.14159,2)", kOk, L"3.14", kS, L""},
        {L"text(1,3)", kOk, L"1.000", kS, L""},
        {L"text(2.5,-3)", kOk, L"2.5", kS, L""},
        {L"char(65)", kOk, L"A", kS, L""},
        {L"char(20013)", kOk, L"中", kS, L""},
        {L"char(0)", kValue, L"", 0, L"char函数的第一个参数必须大于0"},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, SliceAndCheckPositionsInOrder) {
    const FormulaRow rows[] = {
        {L"left(\"abc\",2)", kOk, L"ab", kS, L""},
        {L"left(\"abc\",5)", kOk, L"abc", kS, L""},
        {L"left(\"abc\",-1)", kValue, L"", 0, L"left函数第二个参数必须大于或等于0"},
        {L"right(\"abcdef\",2)", kOk, L"ef", kS, L""},
        {L"right(\"abc\",9)", kOk, L"abc", kS, L""},
        {L"right(\"abc\",-1)", kValue, L"", 0, L"right函数的第二个参数必须大于或等于0"},
        {L"mid(\"abcdef\",2,3)", kOk, L"bcd", kS, L""},
        {L"mid(\"abcdef\",5,9)", kOk, L"ef", kS, L""},
        {L"mid(\"abcdef\",2,0)", kOk, L"", kS, L""},
        {L"mid(\"abcdef\",7,1)", kValue, L"", 0, L"mid函数的第二个参数必须小于或等于字符串长度"},
        {L"mid(\"abcdef\",0,-1)", kValue, L"", 0, L"mid函数的第二个参数必须大于0"},
        {L"mid(\"abcdef\",2,-1)", kValue, L"", 0, L"mid函数的第三个参数必须大于0"},
        {L"mid(\"\",1,1)", kValue, L"", 0, L"mid函数的第二个参数必须小于或等于字符串长度"},
        {L"mid2(\"abcdef\",2,2)", kOk, L"b", kS, L""},
        {L"mid2(\"abcdef\",2,6)", kOk, L"bcdef", kS, L""},
        {L"mid2(\"abcdef\",3,2)", kValue, L"", 0,
         L"mid2函数的第三个参数必须大于第二个参数且小于或等于字符串长度"},
        {L"mid2(\"abcdef\",2,7)", kValue, L"", 0,
         L"mid2函数的第三个参数必须大于第二个参数且小于或等于字符串长度"},
        {L"mid2(\"abcdef\",0,2)", kValue, L"", 0, L"mid2函数的第二个参数必须大于0"},
        {L"mid2(\"abcdef\",7,8)", kValue, L"", 0, L"mid2函数的第二个参数必须小于或等于字符串长度"},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",1)", kOk, L"b", kS, L""},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",3)", kOk, L"d", kS, L""},
        {L"mid3(\"a[b]c[d]e\",\"[\",\"]\",-1)", kOk, L"d", kS, L""},
        {L"mid3(\"a<<b>>c\",\"<<\",\">>\",1)", kOk, L"b", kS, L""},
        {L"mid3(\"abc\",\"[\",\"]\",1)", kOk, L"", kS, L""},
        {L"mid3(\"a[bc\",\"[\",\"]\",1)", kOk, L"", kS, L""},
        {L"mid3(\"xabyb\",\"ab\",\"b\",1)", kOk, L"", kS, L""},
        {L"mid3(\"abc\",\"[\",\"]\",0)", kValue, L"", 0, L"mid3函数的第4个参数必须大于0"},
        {L"mid3(\"abc\",\"[\",\"]\",4)", kValue, L"", 0, L"mid3函数的第4个参数必须小于或等于字符串长度"},
        {L"delete(\"abcdef\",5,3)", kOk, L"abcd", kS, L""},
        {L"delete(\"abcdef\",2,2)", kOk, L"adef", kS, L""},
        {L"delete(\"abcdef\",0,2)", kOk, L"abcdef", kS, L""},
        {L"delete(\"abcdef\",7,1)", kOk, L"abcdef", kS, L""},
        {L"delete(\"abcdef\",2,0)", kOk, L"abcdef", kS, L""},
        {L"replace(\"abcdef\",2,3,\"XY\")", kOk, L"aXYef", kS, L""},
        {L"replace(\"abcdef\",5,9,\"Z\")", kOk, L"abcdZ", kS, L""},
        {L"replace(\"abcdef\",9,1,\"Z\")", kOk, L"abcdef", kS, L""},
        {L"replace2(\"a[b]c[d]\",\"[\",\"]\",\"XY\")", kOk, L"a[XY]c[d]", kS, L""},
        {L"replace2(\"abc\",\"[\",\"]\",\"X\")", kOk, L"abc", kS, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, CompareAndSearchCaseSensitively) {
    const FormulaRow rows[] = {
        {L"lequ(\"abcdef\",\"ab\")", kOk, L"TRUE", kB, L""},
        {L"lequ(\"abcdef\",\"AB\")", kOk, L"FALSE", kB, L""},
        {L"requ(\"abcdef\",\"ab\")", kOk, L"FALSE", kB, L""},
        {L"requ(\"abcdef\",\"def\")", kOk, L"TRUE", kB, L""},
        {L"exactl(\"abc\",\"a\")", kOk, L"TRUE", kB, L""},
        {L"exactr(\"abc\",\"bc\")", kOk, L"TRUE", kB, L""},
        {L"exactr(\"c\",\"bc\")", kOk, L"FALSE", kB, L""},
        {L"exact(\"abc\",\"ABC\")", kOk, L"FALSE", kB, L""},
        {L"exact(\"abc\",\"abc\")", kOk, L"TRUE", kB, L""},
        {L"dell(\"abcdef\",\"ab\")", kOk, L"cdef", kS, L""},
        {L"dell(\"abcdef\",\"cd\")", kOk, L"abcdef", kS, L""},
        {L"delr(\"abcdef\",\"ef\")", kOk, L"abcd", kS, L""},
        {L"delr(\"abcdef\",\"abcdefg\")", kOk, L"abcdef", kS, L""},
        {L"find(\"abcabc\",\"c\",4)", kOk, L"6", kI, L""},
        {L"find(\"abcabc\",\"bc\",1)", kOk, L"2", kI, L""},
        {L"find(\"abcabc\",\"x\",1)", kOk, L"0", kI, L""},
        {L"find(\"abc\",\"a\",9)", kOk, L"0", kI, L""},
        {L"find(\"abc\",\"c\",0)", kValue, L"", 0, L"find函数的第3个参数必须大于0"},
        {L"findr(\"abcabc\",\"c\")", kOk, L"6", kI, L""},
        {L"findr(\"abcabc\",\"ab\")", kOk, L"4", kI, L""},
        {L"findr(\"abcabc\",\"x\")", kOk, L"0", kI, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, ChangeCaseWhiteSpaceAndRepetition) {
    const FormulaRow rows[] = {
        {L"upper(\"abC1\")", kOk, L"ABC1", kS, L""},
        {L"lower(\"ABc中\")", kOk, L"abc中", kS, L""},
        {L"proper(\"hello wORLD x2y\")", kOk, L"Hello World X2Y", kS, L""},
        {L"triml(\"  a b  \")", kOk, L"a b  ", kS, L""},
        {L"trimr(\"  a b  \")", kOk, L"  a b", kS, L""},
        {L"trimlr(\" \t中\u3000\")", kOk, L"中", kS, L""},
        {L"rept(\"ab\",3)", kOk, L"ababab", kS, L""},
        {L"rept(\"ab\",-1)", kOk, L"", kS, L""},
        {L"substitute(\"a-b-c\",\"-\",\"+\")", kOk, L"a+b+c", kS, L""},
        {L"substitute(\"aaa\",\"a\",\"aa\")", kOk, L"aaaaaa", kS, L""},
        {L"substitute(\"abc\",\"\",\"x\")", kOk, L"abc", kS, L""},
    };
    expectFormulas(rows);
}

TEST(TextFunctions, EvaluateNestedFormulas) {
    const FormulaRow rows[] = {
        {L"strcal(\"1+2\")", kOk, L"3", kS, L""},
        {L"strcal(\"2^3\")", kOk, L"8", kS, L""},
        {L"strcal(\"len(x)\")", kOk, L"len(x)", kS, L""},
        {L"strcal(\"1+\")", kOk, L"1+", kS, L""},
        {L"calreplace(\"w=[3]mm\",\"[\",\"]\",\"x*2\",1)", kOk, L"w=[6]mm", kS, L""},
        {L"calreplace(\"[1][2]\",\"[\",\"]\",\"x+10\",-1)", kOk, L"[1][12]", kS, L""},
        {L"calreplace(\"[1][2]\",\"[\",\"]\",\"len(x)\",2)", kOk, L"[1][1]", kS, L""},
        {L"calreplace(\"w=[3]mm\",\"[\",\"]\",\"y*2\",1)", kOk, L"w=[3]mm", kS, L""},
        {L"calreplace(\"w=3mm\",\"[\",\"]\",\"x*2\",1)", kOk, L"w=3mm", kS, L""},
        {L"calreplace(\"abc\",\"[\",\"]\",\"x\",0)", kValue, L"", 0, L"strcal函数的第5个参数必须大于0"},
        {L"calreplace(\"abc\",\"[\",\"]\",\"x\",4)", kValue, L"", 0,
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
    ASSERT_EQ(analyser.DoAnalyse(), kOk);
    EXPECT_EQ(analyser.GetOutputString(), L"\"1/0\"");
    EXPECT_EQ(analyser.GetAnalyseErrorInfo(), L"");
    ASSERT_EQ(boxes.shown().size(), 1U);
    EXPECT_EQ(boxes.shown()[0].text, L"除数为0错误");

    boxes.clear();
    analyser.SetShowErrorInfo(FALSE);
    analyser.SetInputString(L"strcal(\"1/0\")");
    ASSERT_EQ(analyser.DoAnalyse(), kOk);
    EXPECT_TRUE(boxes.shown().empty());
}
