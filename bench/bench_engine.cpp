#include "engine/EditD.h"
#include "engine/FormKolvane.h"
#include "engine/NumberFormat.h"
#include "engine/Solver.h"
#include "engine/UiServices.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace kolvane {
namespace {

void BM_FormatValueText(benchmark::State& state) {
    double v = 1.0 / 3.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FloatToStr15(v));
}
BENCHMARK(BM_FormatValueText);

void BM_DisplayForm(benchmark::State& state) {
    std::string text = "123.456789012345";
    for (auto _ : state)
        benchmark::DoNotOptimize(DisplayFloatStr(text));
}
BENCHMARK(BM_DisplayForm);

void BM_SolveBalanceForFlow(benchmark::State& state) {
    // A ten-member balance like the heat balance, re-solved each round.
    std::vector<std::unique_ptr<TEditD>> fields;
    std::vector<TEditD*> members;
    const char* values[] = {"", "4180", "90", "70", "3600", "5000", "4180", "60", "20", "0"};
    for (int i = 0; i < 10; ++i) {
        fields.push_back(std::make_unique<TEditD>("f" + std::to_string(i)));
        fields.back()->setText(values[i]);
        members.push_back(fields.back().get());
    }
    Residual balance = [](const ValueArray& v) {
        double qi = v[0] * v[1] * (v[2] - v[3]) * v[4];
        double qo = v[5] * v[6] * (v[7] - v[8]);
        return qo + v[4] * v[9] - qi;
    };
    ScriptedUiServices ui;
    for (auto _ : state) {
        ClearComputedField(*fields[0]);
        SolveForUnknown(members, kRelationRed, balance, ui);
        benchmark::DoNotOptimize(fields[0]->text());
    }
}
BENCHMARK(BM_SolveBalanceForFlow);

void BM_BuildMainForm(benchmark::State& state) {
    ScriptedUiServices ui;
    for (auto _ : state) {
        TFormKolvane w(ui);
        benchmark::DoNotOptimize(&w);
    }
}
BENCHMARK(BM_BuildMainForm);

} // namespace
} // namespace kolvane
