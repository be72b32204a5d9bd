// The uncertainty band on the shipped examples: 2000 samples, each sized and
// checked, on one thread and on two.
#include "engine/Uncertainty.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include <benchmark/benchmark.h>

#include <string>

namespace kolvane {
namespace {

void BM_UncertaintyExample(benchmark::State& state, const char* file) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (!w.OpenProjectFile(std::string(KOLVANE_EXAMPLES_DIR) + "/" + file)) {
        state.SkipWithError("example project missing");
        return;
    }
    const Case c = w.readCase();
    UncertaintyOptions options;
    options.samples = 2000;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(RunUncertainty(c, options));
}
// Wall time: with two threads the CPU time of the calling thread is half
// the work.
void OneAndTwoThreads(benchmark::internal::Benchmark* b) {
    b->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK_CAPTURE(BM_UncertaintyExample, hot_water_storage_tank, "hot-water-storage-tank.kvp")
    ->Apply(OneAndTwoThreads);
BENCHMARK_CAPTURE(BM_UncertaintyExample, steam_coil_reactor, "steam-coil-reactor.kvp")
    ->Apply(OneAndTwoThreads);
BENCHMARK_CAPTURE(BM_UncertaintyExample, batch_cooling_coil, "batch-cooling-coil.kvp")
    ->Apply(OneAndTwoThreads);

} // namespace
} // namespace kolvane
