// Evaluation cost of the formula language: a short formula, a typical
// property correlation (a polynomial in T with EXP and a few functions), the
// same through the parameter grid, and the cost of creating a parser.
#include "formula/FormulaParser.h"
#include "formula/MyValues.h"

#include <benchmark/benchmark.h>

namespace {

// Liquid density-like correlation in t (°C) and p (kPa).
const char* kProperty = "(999.8 + 0.0678*(t+273.15) - 0.0091*(t+273.15)^2/10 + "
                        "1.2E-5*(t+273.15)^3/100) * EXP(-0.0002*(t-20)) + SQRT(ABS(p))/100 "
                        "+ LN(t+273.15) - LOG(p)";

void BM_SimpleFormula(benchmark::State& state) {
    kolvane::TFormulaParser parser;
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.EvaluateText("2+3*4"));
}
BENCHMARK(BM_SimpleFormula);

void BM_PropertyFormula(benchmark::State& state) {
    kolvane::TFormulaParser parser;
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.EvaluateText(
            "(999.8 + 0.0678*(20+273.15) - 0.0091*(20+273.15)^2/10 + "
            "1.2E-5*(20+273.15)^3/100) * EXP(-0.0002*(20-20)) + SQRT(ABS(100))/100 "
            "+ LN(20+273.15) - LOG(100)"));
}
BENCHMARK(BM_PropertyFormula);

void BM_PropertyFormulaThroughGrid(benchmark::State& state) {
    kolvane::TFormulaParser parser;
    kolvane::TMyValues grid;
    grid.AddParam("t", "20", "C", "温度");
    grid.AddParam("p", "100", "kPa", "压力");
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.EvaluateWithValues(kProperty, &grid));
}
BENCHMARK(BM_PropertyFormulaThroughGrid);

// The property library creates a parser for every evaluation.
void BM_FreshParserPerEvaluation(benchmark::State& state) {
    for (auto _ : state) {
        kolvane::TFormulaParser parser;
        benchmark::DoNotOptimize(parser.EvaluateText("2+3*4"));
    }
}
BENCHMARK(BM_FreshParserPerEvaluation);

} // namespace

BENCHMARK_MAIN();
