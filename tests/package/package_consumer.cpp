// Uses the installed headers exactly as a third-party program would and checks one analysis end to end.

#include <cstdio>
#include <quelto/baselib/zeb_base_string_analyse.h>
#include <quelto/baselib/zeb_string.h>

int main() {
    CZEBBaseStringAnalyse analyser;
    CZEBOperateVar variable;
    variable.m_strName = L"A";
    variable.m_nType = CZEBOperateVar::TypeInteger;
    variable.m_nValue = 20;
    analyser.m_arrVariable.push_back(variable);
    analyser.SetInputString(L"mid(\"abcdef\",2,3)&text(A/8,2)");
    if (analyser.DoAnalyse() != 0 || analyser.GetOutputString() != L"\"bcd2.50\"") {
        std::puts("unexpected analysis result");
        return 1;
    }
    std::puts("package consumer: ok");
    return 0;
}
