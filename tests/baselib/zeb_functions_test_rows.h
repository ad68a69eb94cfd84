// Table rows for the function library tests: one formula, the analyser's result code, and either the
// value and kind it must produce or the message it must leave as the last error.
#pragma once

#include "platform/code_page.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <gtest/gtest.h>
#include <span>

struct FormulaRow {
    const wchar_t* expression;
    int code;
    const wchar_t* value; // the result value; a string result appears in the output inside double quotes
    int kind;
    const wchar_t* error; // the last error after a failure
};

inline CString expectedOutput(const FormulaRow& row) {
    const CString value = row.value;
    return row.kind == CZEBOperateVar::TypeString ? L"\"" + value + L"\"" : value;
}

inline void expectFormula(CZEBBaseStringAnalyse& analyser, const FormulaRow& row) {
    SCOPED_TRACE(platform::wideToUtf8(row.expression));
    analyser.SetInputString(row.expression);
    ASSERT_EQ(analyser.DoAnalyse(), row.code) << platform::wideToUtf8(analyser.GetAnalyseErrorInfo());
    if (row.code == CZEBBaseStringAnalyse::ResultSuccess) {
        EXPECT_EQ(platform::wideToUtf8(analyser.GetOutputString()),
                  platform::wideToUtf8(expectedOutput(row)));
        EXPECT_EQ(analyser.GetOutputType(), row.kind);
    } else {
        EXPECT_EQ(platform::wideToUtf8(analyser.GetAnalyseErrorInfo()), platform::wideToUtf8(row.error));
    }
}

inline void expectFormulas(std::span<const FormulaRow> rows) {
    for (const FormulaRow& row : rows) {
        CZEBBaseStringAnalyse analyser;
        expectFormula(analyser, row);
    }
}
