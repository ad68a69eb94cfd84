// Tests of the formula analyser: results and kinds of the language's expressions, every error with its
// code and message, variables and re-runs, error boxes, the analyser's building blocks, and inputs that
// are hostile by size or depth.

#include "platform/message_box.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

CZEBOperateVar variable(const CString& name, int type, int integer, double real = 0.0,
                        const CString& text = L"") {
    CZEBOperateVar record;
    record.m_strName = name;
    record.m_nType = type;
    record.m_nValue = integer;
    record.m_dValue = real;
    record.m_strValue = text;
    return record;
}

// The variables every table row can use: the four row results of a logic expression, plus one of each
// other kind and a Chinese name.
std::vector<CZEBOperateVar> standardVariables() {
    return {variable(L"A", CZEBOperateVar::TypeBoolean, 1),
            variable(L"B", CZEBOperateVar::TypeBoolean, 1),
            variable(L"C", CZEBOperateVar::TypeBoolean, 0),
            variable(L"D", CZEBOperateVar::TypeBoolean, 0),
            variable(L"N", CZEBOperateVar::TypeInteger, 5),
            variable(L"R", CZEBOperateVar::TypeReal, 0, 2.5),
            variable(L"S", CZEBOperateVar::TypeString, 0, 0.0, L"12ab"),
            variable(L"长度", CZEBOperateVar::TypeInteger, 3)};
}

struct Outcome {
    int code;
    CString output;
    int kind;
    CString error;
};

Outcome analyse(const CString& input, const std::vector<CZEBOperateVar>& variables) {
    CZEBBaseStringAnalyse analyser;
    analyser.m_arrVariable = variables;
    analyser.SetInputString(input);
    const int code = analyser.DoAnalyse();
    return {code, analyser.GetOutputString(), analyser.GetOutputType(), analyser.GetAnalyseErrorInfo()};
}

// Exposes the steps of the algorithm, which are protected members of the exported class.
class StepAnalyser : public CZEBBaseStringAnalyse {
public:
    using CZEBBaseStringAnalyse::CheckConst;
    using CZEBBaseStringAnalyse::GetCalIndex;
    using CZEBBaseStringAnalyse::GetMinChildString;
    using CZEBBaseStringAnalyse::GetNewOperateName;
    using CZEBBaseStringAnalyse::GetStringMark;
    using CZEBBaseStringAnalyse::IsOperateCode;
    using CZEBBaseStringAnalyse::ReplaceString;
};

// Knows one function of its own and leaves every other name to the built-in library.
class ExtendedAnalyser : public CZEBBaseStringAnalyse {
protected:
    int GetExtendFunValue(CZEBOperateVar& record) override {
        if (record.m_strOperate != L"twice") {
            return ResultUnknownFunction;
        }
        record.m_nType = CZEBOperateVar::TypeInteger;
        record.m_nValue = 2 * m_arrOperate.at(record[0]).GetIValue();
        return ResultSuccess;
    }
};

CString repeated(const CString& piece, int count) {
    CString text;
    text.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        text += piece;
    }
    return text;
}

} // namespace

TEST(ZebBaseStringAnalyse, EvaluatesExpressionsToTheirOutputTextAndKind) {
    struct Row {
        CString input;
        CString output;
        int kind;
    };
    const Row rows[] = {
        {L"(A*B)+(C*D)", L"1", 3},
        {L"(C*D)+(C*D)", L"0", 3},
        {L"=1+2", L"3", 3},
        {L"7", L"7", 2},
        {L"7.50", L"7.5", 3},
        {L".5", L"0.5", 3},
        {L"3.", L"3", 3},
        {L"true", L"TRUE", 4},
        {L"fAlSe", L"FALSE", 4},
        {L"\"ab\"&\"cd\"", L"\"abcd\"", 1},
        {L"\"a b\" & \"c\"", L"\"a bc\"", 1},
        {L"\"x\"\"y\"", L"\"x\"\"y\"", 1},
        {L"\"\"", L"\"\"", 1},
        {L"\"(1,2)+\"&N", L"\"(1,2)+5\"", 1},
        {L"-(2+3)*2", L"-10", 3},
        {L"+5", L"5", 2},
        {L"-5", L"-5", 3},
        {L"1 + 2 * 3", L"7", 3},
        {L"10/4", L"2.5", 3},
        {L"1/3", L"0.3333333", 3},
        {L"2^3", L"8", 3},
        {L"(2^3)^2", L"64", 3},
        {L"2*3^2", L"18", 3},
        {L"1<2=1", L"TRUE", 4},
        {L"3!3", L"FALSE", 4},
        {L"(A!C)+1", L"2", 3},
        {L"A&B+C", L"11", 3},
        {L"\"abc\"=\"xyz\"", L"TRUE", 4},
        {L"S+1", L"13", 3},
        {L"S&R&N", L"\"12ab2.55\"", 1},
        {L"A", L"TRUE", 4},
        {L"R", L"2.5", 3},
        {L"长度*2", L"6", 3},
        {L"((((7))))", L"7", 2},
        {L"if(1, 5, 1/0)", L"5", 2},
        {L"IF(0, 1/0, \"no\")", L"\"no\"", 1},
        {L"and(0, 1/0)", L"FALSE", 4},
        {L"or(1, 1/0)", L"TRUE", 4},
        {L"and(1, N, R)", L"TRUE", 4},
        {L"or(C, D, 0.5)", L"FALSE", 4},
        // A generated name typed by the user finds the record it names.
        {L"(1+1)+SFV11", L"4", 3},
        // A bracket reduces to its text, which then joins what follows it.
        {L"(1)(2)", L"12", 2},
    };
    for (const Row& row : rows) {
        const Outcome outcome = analyse(row.input, standardVariables());
        EXPECT_EQ(outcome.code, 0) << row.input << " " << outcome.error;
        EXPECT_EQ(outcome.output, row.output) << row.input;
        EXPECT_EQ(outcome.kind, row.kind) << row.input;
    }
}

TEST(ZebBaseStringAnalyse, ReportsEveryErrorWithItsCodeAndMessage) {
    struct Row {
        CString input;
        int code;
        CString error;
    };
    const Row rows[] = {
        {L"", 1, L"用户输入的表达式为空"},
        {L"nosuch(1)", 2, L"函数nosuch不存在"},
        {L"函数(1)", 2, L"函数函数不存在"},
        {L"if(1,2)", 3, L"函数if的形参个数应该为3个,当前指定的个数是2"},
        {L"AND()", 3, L"函数and的形参个数至少1个,当前指定的个数是0个"},
        {L"or()", 3, L"函数or的形参个数至少1个,当前指定的个数是0个"},
        {L"max(,1)", 4, L"函数max参数错误"},
        {L"Max(1,)", 4, L"函数Max参数错误"},
        {L"2*3)", 5, L"括号不匹配"},
        {L")(", 5, L"括号不匹配"},
        {L"max(1,,2)", 6, L"常量或变量为空错误"},
        {L"X+1", 6, L"变量或常量X错误"},
        {L"A!B+C", 6, L"变量或常量A!B错误"},
        {L"1,2", 6, L"变量或常量1,2错误"},
        {L"((1)", 6, L"变量或常量(1错误"},
        // The name made for a bracket, followed by another bracket, reads as a function name.
        {L"(1+1)(2)", 2, L"函数sfv11不存在"},
        {L"a", 6, L"变量或常量a错误"},
        {L"\"abc", 7, L"引号不匹配"},
        {L"\"a\"\"", 7, L"引号不匹配"},
        {L"1+", 8, L"运算符号后面没有参数"},
        {L"-", 8, L"运算符号后面没有参数"},
        {L"1+2\"a\"", 8, L"运算符号后面参数中出现意外引号"},
        {L"2*-3", 8, L"出现连续运算符号或运算符号后面没有参数"},
        {L"A<=B", 8, L"出现连续运算符号或运算符号后面没有参数"},
        {L"*5", 8, L"运算符号前面没有参数"},
        {L"+-5", 8, L"运算符号前面没有参数"},
        {L"\"a\"b+1", 8, L"运算符号前面参数中出现意外引号"},
        {L"1/0", 8, L"除数为0错误"},
        {L"1/(C*D)", 8, L"除数为0错误"},
        {L"2*(3", 9, L"常量错误"},
        {L"2^3^2", 9, L"常量错误"},
        {L"1e5+1", 9, L"常量错误"},
        {L"2*2x", 9, L"常量错误"},
        {L"1.2.3*2", 9, L"常量错误"},
        {L"1=2!3", 9, L"常量错误"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = analyse(row.input, standardVariables());
        EXPECT_EQ(outcome.code, row.code) << row.input;
        EXPECT_EQ(outcome.error, row.error) << row.input;
        EXPECT_TRUE(outcome.output.empty()) << row.input;
    }
}

TEST(ZebBaseStringAnalyse, NamesTheMissingVariableOfALogicExpression) {
    const CString letters = L"ABCDEFG";
    for (const wchar_t missing : letters) {
        std::vector<CZEBOperateVar> variables;
        for (const wchar_t letter : letters) {
            if (letter != missing) {
                variables.push_back(variable(CString(1, letter), CZEBOperateVar::TypeBoolean, 1));
            }
        }
        const Outcome outcome = analyse(L"A*B*C*D*E*F*G", variables);
        EXPECT_EQ(outcome.code, CZEBBaseStringAnalyse::ResultVariable);
        EXPECT_EQ(outcome.error, L"变量或常量" + CString(1, missing) + L"错误");
    }
}

TEST(ZebBaseStringAnalyse, NothingToEvaluateGivesTheLastVariableOrCode99) {
    EXPECT_EQ(analyse(L"()", {}).code, CZEBBaseStringAnalyse::ResultNothing);
    EXPECT_EQ(analyse(L"   ", {}).code, CZEBBaseStringAnalyse::ResultNothing);
    EXPECT_TRUE(analyse(L"+", {}).error.empty());
    const Outcome withVariables = analyse(L"()", standardVariables());
    EXPECT_EQ(withVariables.code, 0);
    EXPECT_EQ(withVariables.output, L"3");
}

TEST(ZebBaseStringAnalyse, TheFirstRecordOfANameWinsOverLaterOnes) {
    // The operator record made for (2+3) is named SFV4, like the caller's variable, which comes first.
    const Outcome outcome = analyse(L"(2+3)*1", {variable(L"SFV4", CZEBOperateVar::TypeInteger, 10)});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.output, L"10");
    // Many caller names: the lookup moves to a map and still finds the first of two equal names.
    std::vector<CZEBOperateVar> variables;
    for (int index = 0; index < 40; ++index) {
        variables.push_back(variable(L"V" + std::to_wstring(index), CZEBOperateVar::TypeInteger, index));
    }
    variables.push_back(variable(L"V7", CZEBOperateVar::TypeInteger, 1000));
    const Outcome many = analyse(L"V7+V39", variables);
    EXPECT_EQ(many.output, L"46");
    // With the index in use, the caller's SFV45 (index 41) still wins over the record that (2+3) makes at
    // index 44, which is named SFV45 too.
    variables.push_back(variable(L"SFV45", CZEBOperateVar::TypeInteger, 10));
    EXPECT_EQ(analyse(L"(2+3)*1", variables).output, L"10");
    EXPECT_EQ(analyse(L"(1+1)+(2*3)", variables).output, L"16");
}

TEST(ZebBaseStringAnalyse, BuildsRecordsAfterTheVariablesWithNamesTellingTheirPlace) {
    CZEBBaseStringAnalyse analyser;
    analyser.m_arrVariable = {variable(L"A", CZEBOperateVar::TypeInteger, 2)};
    analyser.SetInputString(L"max(A, 1+2*3)");
    ASSERT_EQ(analyser.DoAnalyse(), 0);
    const CArray<CZEBOperateVar>& records = analyser.m_arrOperate;
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().m_strName, L"A");
    for (std::size_t index = 1; index < records.size(); ++index) {
        const CZEBOperateVar& record = records[index];
        if (!record.m_strOperate.empty()) {
            EXPECT_EQ(record.m_strName, L"SFV" + std::to_wstring(index + 1));
        }
        for (int parameter = 0; parameter < record.GetParamSize(); ++parameter) {
            EXPECT_LT(record[parameter], static_cast<int>(index));
        }
    }
    EXPECT_EQ(records.back().m_strOperate, L"max");
    EXPECT_EQ(records.back().GetParamSize(), 2);
    EXPECT_EQ(analyser.GetOutputString(), L"7");
}

TEST(ZebBaseStringAnalyse, RerunsWithTheSameVariablesAndKeepsTheLastGoodOutput) {
    CZEBBaseStringAnalyse analyser;
    analyser.m_arrVariable = {variable(L"A", CZEBOperateVar::TypeBoolean, 1),
                              variable(L"B", CZEBOperateVar::TypeBoolean, 0)};
    analyser.SetInputString(L"(A*B)+A");
    ASSERT_EQ(analyser.DoAnalyse(), 0);
    const std::size_t recordCount = analyser.m_arrOperate.size();
    ASSERT_EQ(analyser.DoAnalyse(), 0);
    EXPECT_EQ(analyser.m_arrOperate.size(), recordCount);
    EXPECT_EQ(analyser.GetOutputString(), L"1");

    analyser.m_arrVariable[1].m_nValue = 1;
    ASSERT_EQ(analyser.DoAnalyse(), 0);
    EXPECT_EQ(analyser.GetOutputString(), L"2");

    analyser.SetInputString(L"A/0");
    EXPECT_EQ(analyser.DoAnalyse(), 8);
    EXPECT_EQ(analyser.GetOutputString(), L"2");
    EXPECT_EQ(analyser.GetOutputType(), 3);
    EXPECT_EQ(analyser.GetAnalyseErrorInfo(), L"除数为0错误");

    analyser.InitParam(FALSE);
    EXPECT_TRUE(analyser.InputStringIsEmpty());
    EXPECT_TRUE(analyser.GetAnalyseErrorInfo().empty());
    EXPECT_EQ(analyser.m_arrVariable.size(), 2u);
    analyser.SetInputString(L"=B");
    EXPECT_EQ(analyser.GetInputString(), L"B");
    ASSERT_EQ(analyser.DoAnalyse(), 0);
    EXPECT_EQ(analyser.GetOutputString(), L"TRUE");

    analyser.InitParam(TRUE);
    EXPECT_TRUE(analyser.m_arrVariable.empty());
    analyser.SetInputString(L"B");
    EXPECT_EQ(analyser.DoAnalyse(), 6);
}

TEST(ZebBaseStringAnalyse, ShowsErrorsInAnInformationBoxOnlyWhenAskedTo) {
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scope(boxes);
    int owner = 0;
    CZEBBaseStringAnalyse analyser;
    EXPECT_EQ(analyser.GetErrorTitle(), L"翠岭轩基本类库");
    analyser.SetInputString(L"1/0");
    EXPECT_EQ(analyser.DoAnalyse(), 8);
    EXPECT_TRUE(boxes.shown().empty());

    analyser.SetShowErrorInfo(TRUE);
    analyser.SetMessageWnd(&owner);
    analyser.SetErrorTitle(L"表达式错误");
    EXPECT_EQ(analyser.DoAnalyse(), 8);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const platform::MessageBoxRequest& box = boxes.shown().front();
    EXPECT_EQ(box.owner, &owner);
    EXPECT_EQ(box.text, L"除数为0错误");
    EXPECT_EQ(box.caption, L"表达式错误");
    EXPECT_EQ(box.icon(), MB_ICONINFORMATION);
    EXPECT_EQ(box.buttons(), MB_OK);

    analyser.ShowLastError();
    EXPECT_EQ(boxes.shown().size(), 2u);
    analyser.InitParam(FALSE);
    EXPECT_FALSE(analyser.GetShowErrorInfo());
    EXPECT_EQ(analyser.GetMessageWnd(), nullptr);
    EXPECT_EQ(analyser.GetErrorTitle(), L"翠岭轩基本类库");
}

TEST(ZebBaseStringAnalyse, ADerivedAnalyserAddsFunctionsBesideTheBuiltInOnes) {
    struct Row {
        CString input;
        int code;
        CString output;
    };
    const Row rows[] = {
        {L"twice(21)", 0, L"42"},
        {L"TWICE(1+2)", 0, L"6"},
        {L"twice(max(1, 4))", 0, L"8"},
        {L"nosuch()", 2, L""},
    };
    for (const Row& row : rows) {
        ExtendedAnalyser analyser;
        analyser.SetInputString(row.input);
        EXPECT_EQ(analyser.DoAnalyse(), row.code) << row.input;
        EXPECT_EQ(analyser.GetOutputString(), row.output) << row.input;
    }
}

TEST(ZebBaseStringAnalyse, FormatsRealsWithTheRequestedDecimals) {
    struct Row {
        double value;
        int precision;
        CString text;
    };
    const Row rows[] = {
        {7.5, -7, L"7.5"},      {3.0, -7, L"3"},
        {100.0, -7, L"100"},    {1.0 / 3.0, 2, L"0.33"},
        {2.0, 3, L"2.000"},     {2.5, 0, L"2"},
        {12.0, -12, L"12"},     {0.1, 12, L"0.1000000000"},
        {-1e-9, -7, L"-0"},     {1e20, -7, L"100000000000000000000"},
        {-2.675, -2, L"-2.67"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CZEBBaseStringAnalyse::GetDoubleString(row.value, row.precision), row.text) << row.value;
    }
}

TEST(ZebBaseStringAnalyse, StepHelpersFollowTheLanguageRules) {
    StepAnalyser analyser;
    struct ConstRow {
        CString text;
        BOOL plain;
    };
    const ConstRow constRows[] = {{L"", TRUE},     {L"12", TRUE},   {L"-1.5", TRUE},   {L".5", TRUE},
                                  {L"+", TRUE},    {L"1.", TRUE},   {L"1.2.3", FALSE}, {L"1e5", FALSE},
                                  {L"--1", FALSE}, {L"..5", FALSE}, {L"1-2", FALSE},   {L"١", FALSE}};
    for (const ConstRow& row : constRows) {
        EXPECT_EQ(analyser.CheckConst(row.text), row.plain) << row.text;
    }
    for (const wchar_t character : CString(L"+-*/&=><")) {
        EXPECT_TRUE(analyser.IsOperateCode(character));
    }
    for (const wchar_t character : CString(L"^!(,\"a1")) {
        EXPECT_FALSE(analyser.IsOperateCode(character));
    }
    EXPECT_EQ(analyser.GetCalIndex(-1, 7, 3, -1), 3);
    EXPECT_EQ(analyser.GetCalIndex(-1, -1, -1, -1), -1);
    EXPECT_EQ(analyser.GetCalIndex(0, 5, 5, 5), 0);
    EXPECT_EQ(analyser.GetNewOperateName(), L"SFV1");

    CString text = L"1+2*3";
    analyser.ReplaceString(text, 2, 4, L"SFV3");
    EXPECT_EQ(text, L"1+SFV3");

    struct MarkRow {
        CString text;
        int start;
        int end;
        int first;
        int last;
    };
    const MarkRow markRows[] = {
        {L"1+\"ab\"+2", 0, -1, 2, 5},  {L"\"a\"\"b\"", 0, -1, 0, 5}, {L"\"a\"\"", 0, -1, 0, -1},
        {L"\"a\"+\"b\"", 1, -1, 2, 4}, {L"none", 0, -1, -1, -1},     {L"\"ab\"\"", 0, 3, 0, 3},
        {L"\"\"", 0, -1, 0, 1},
    };
    for (const MarkRow& row : markRows) {
        int first = 0;
        int last = 0;
        analyser.GetStringMark(first, last, row.text, row.start, row.end);
        EXPECT_EQ(first, row.first) << row.text;
        EXPECT_EQ(last, row.last) << row.text;
    }

    struct SpanRow {
        CString text;
        int position;
        int code;
        int left;
        int right;
    };
    const SpanRow spanRows[] = {
        {L"1+22*3", 4, 0, 2, 5}, {L"\"a*\"&\"b\"", 4, 0, 0, 7}, {L"x\"a\"\"b\"&1", 7, 0, 1, 8},
        {L"A!B+C", 3, 0, 0, 4},  {L"1*", 1, 8, -1, -1},         {L"1*-2", 1, 8, -1, -1},
        {L"*2", 0, 8, -1, -1},   {L"1*2x", 1, 9, -1, -1},       {L"1*\"a", 1, 7, -1, -1},
    };
    for (const SpanRow& row : spanRows) {
        int left = -1;
        int right = -1;
        EXPECT_EQ(analyser.GetMinChildString(left, right, row.text, row.position), row.code) << row.text;
        if (row.code == 0) {
            EXPECT_EQ(left, row.left) << row.text;
            EXPECT_EQ(right, row.right) << row.text;
        }
    }
}

TEST(ZebBaseStringAnalyse, SurvivesInputsHostileBySizeOrDepth) {
    struct Row {
        CString input;
        int code;
        CString output;
    };
    const int depth = 10000;
    const Row rows[] = {
        {repeated(L"(", depth) + L"1" + repeated(L")", depth), 0, L"1"},
        {repeated(L"(", depth) + L"1", 6, L""},
        {L"1" + repeated(L")", depth), 5, L""},
        {repeated(L"abs(", depth) + L"-2" + repeated(L")", depth), 0, L"2"},
        {repeated(L"(1+", depth) + L"1" + repeated(L")", depth), 0, std::to_wstring(depth + 1)},
        {repeated(L"1+", 500000) + L"1", 0, L"500001"},
        {L"\"" + repeated(L"x", 1000000), 7, L""},
        // A generated name typed twice per step: shared records are computed once, not 2^60 times.
        {L"(1*1)" +
             [] {
                 CString chain;
                 for (int step = 3; step < 63; ++step) {
                     chain += L"*(SFV" + std::to_wstring(step) + L"*SFV" + std::to_wstring(step) + L")";
                 }
                 return chain;
             }(),
         0, L"1"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = analyse(row.input, {});
        EXPECT_EQ(outcome.code, row.code) << row.input.substr(0, 40);
        EXPECT_EQ(outcome.output, row.output) << row.input.substr(0, 40);
    }
}

TEST(ZebBaseStringAnalyse, StopsATextThatDoublesWithEveryStep) {
    CString input = L"(\"x\"&\"x\")";
    for (int step = 3; step < 40; ++step) {
        input += L"&(SFV" + std::to_wstring(step) + L"&SFV" + std::to_wstring(step) + L")";
    }
    const Outcome outcome = analyse(input, {});
    EXPECT_EQ(outcome.code, CZEBBaseStringAnalyse::ResultOperand);
    EXPECT_EQ(outcome.error, L"运算结果字符串过长");
}
