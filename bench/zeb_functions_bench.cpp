// Cost of the formula functions as the matching engine and the criteria pages meet them: the name lookup
// alone, cheap and expensive calls through a whole analysis, and the steel functions, which build a
// fresh bar table on every call.
#include "quelto/baselib/zeb_base_string_analyse.h"
#include "quelto/baselib/zeb_function_table.h"

#include <benchmark/benchmark.h>

namespace {

void analyse(benchmark::State& state, const wchar_t* formula) {
    for (auto _ : state) {
        CZEBBaseStringAnalyse analyser;
        analyser.SetInputString(formula);
        benchmark::DoNotOptimize(analyser.DoAnalyse());
        benchmark::DoNotOptimize(analyser.GetOutputString());
    }
}

void FunctionLookup(benchmark::State& state) {
    const CString names[] = {L"if", L"average", L"calreplace", L"timeformat", L"nosuch"};
    for (auto _ : state) {
        for (const CString& name : names) {
            benchmark::DoNotOptimize(quelto::baselib::findFunction(name));
        }
    }
}
BENCHMARK(FunctionLookup);

BENCHMARK_CAPTURE(analyse, Constant, L"1");
BENCHMARK_CAPTURE(analyse, Trigonometry, L"round(sin(30)*100+cos(60),2)");
BENCHMARK_CAPTURE(analyse, TextSlices,
                  L"mid(upper(\"abcdefgh\"),2,3)&left(\"xyz\",1)&findr(\"abcabc\",\"c\")");
BENCHMARK_CAPTURE(analyse, Substitute, L"len(substitute(rept(\"ab\",500),\"a\",\"xyz\"))");
BENCHMARK_CAPTURE(analyse, NestedAnalysis, L"calreplace(\"L=[12.5]mm\",\"[\",\"]\",\"x*2+1\",1)");
BENCHMARK_CAPTURE(analyse, SteelTable, L"stin90(12,2)+stde90(12,2)");

} // namespace

BENCHMARK_MAIN();
