// The property library's evaluation: one text of each kind at the grid's t
// and p, as the compute command runs it.
#include "formula/MyValues.h"
#include "props/PropFormulas.h"

#include <benchmark/benchmark.h>

namespace kolvane {
namespace {

void Evaluate(benchmark::State& state, const char* text, const char* name, bool liquid) {
    TMyValues grid;
    grid.AddParam("t", "20", "C", "温度");
    grid.AddParam("p", "300", "kPa", "压力");
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluatePropertyText(text, name, liquid, grid));
}

void BM_CalcPropTable(benchmark::State& state) {
    Evaluate(state, "0,4217;20,4182;40,4179;60,4184;80,4196;100,4216", "Cp", true);
}
BENCHMARK(BM_CalcPropTable);

void BM_CalcPropExpression(benchmark::State& state) {
    Evaluate(state, "Cp = (1.2+0.0021*T)*1000", "Cp", false);
}
BENCHMARK(BM_CalcPropExpression);

void BM_CalcPropPengRobinson(benchmark::State& state) {
    Evaluate(state, "PRV:4599,190.6,98.6,0.286,0.011,16.04", "MD", false);
}
BENCHMARK(BM_CalcPropPengRobinson);

void BM_CalcPropIapws97(benchmark::State& state) {
    Evaluate(state, "IF97S:", "VI", false);
}
BENCHMARK(BM_CalcPropIapws97);

} // namespace
} // namespace kolvane

BENCHMARK_MAIN();
