// Benchmarks of the formula analyser: the logic expression the matching engine evaluates once per entity
// (a fresh analyser each time, as it does), and inputs large by length or depth that must stay linear.

#include "quelto/baselib/zeb_base_string_analyse.h"

#include <benchmark/benchmark.h>

namespace {

void logicExpressionPerEntity(benchmark::State& state) {
    const CString input = L"(A*B)+(C*D)";
    const wchar_t* const names[] = {L"A", L"B", L"C", L"D"};
    int rowResults = 0;
    for (auto _ : state) {
        CZEBBaseStringAnalyse analyser;
        for (int row = 0; row < 4; ++row) {
            CZEBOperateVar variable;
            variable.m_strName = names[row];
            variable.m_nType = CZEBOperateVar::TypeBoolean;
            variable.m_nValue = (rowResults >> row) & 1;
            analyser.m_arrVariable.push_back(variable);
        }
        analyser.SetInputString(input);
        benchmark::DoNotOptimize(analyser.DoAnalyse());
        benchmark::DoNotOptimize(analyser.GetOutputString());
        rowResults = (rowResults + 1) & 15;
    }
}
BENCHMARK(logicExpressionPerEntity);

CString repeated(const CString& piece, std::size_t count) {
    CString text;
    text.reserve(piece.size() * count);
    for (std::size_t index = 0; index < count; ++index) {
        text += piece;
    }
    return text;
}

void analyseOnce(benchmark::State& state, const CString& input) {
    for (auto _ : state) {
        CZEBBaseStringAnalyse analyser;
        analyser.SetInputString(input);
        benchmark::DoNotOptimize(analyser.DoAnalyse());
    }
    // Items are characters of the expression.
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void megabyteSum(benchmark::State& state) {
    analyseOnce(state, repeated(L"1+", 512 * 1024) + L"1");
}
BENCHMARK(megabyteSum)->Unit(benchmark::kMillisecond);

void megabyteOfBracketedTerms(benchmark::State& state) {
    analyseOnce(state, repeated(L"(2*3)+", 170 * 1024) + L"1");
}
BENCHMARK(megabyteOfBracketedTerms)->Unit(benchmark::kMillisecond);

void tenThousandNestedBrackets(benchmark::State& state) {
    analyseOnce(state, repeated(L"(1+", 10000) + L"1" + repeated(L")", 10000));
}
BENCHMARK(tenThousandNestedBrackets)->Unit(benchmark::kMillisecond);

void megabyteOfCommaArguments(benchmark::State& state) {
    analyseOnce(state, L"max(" + repeated(L"1,", 512 * 1024) + L"1)");
}
BENCHMARK(megabyteOfCommaArguments)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
