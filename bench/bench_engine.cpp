#include "engine/CalcRules.h"
#include "engine/Case.h"
#include "engine/Optimiser.h"
#include "engine/Study.h"
#include "files/TextCodec.h"
#include "form/EditD.h"
#include "form/FormKolvane.h"
#include "form/Solver.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Balance.h"
#include "model/BatchCheck.h"
#include "model/HeatModel.h"
#include "model/HeatingCurve.h"
#include "model/Hydraulics.h"
#include "records/FormRecord.h"
#include "refdata/RefData.h"
#include "refdata/UnitPickList.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace kolvane {
namespace {

using namespace fid;

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

using Inputs = std::vector<std::pair<const char*, const char*>>;

// Realistic filled forms; the pass is measured from a state where the
// results were just cleared, so every relation does its work.
const Inputs kUTubeUnstirred = {
    {"TaoD", "7200"},  {"sfD", "20"},       {"MaoD", "10000"},   {"CopD", "4180"},
    {"Tom1D", "20"},   {"Tom2D", "60"},     {"VioD", "0.00065"}, {"LdoD", "0.63"},
    {"DenoD", "992"},  {"BtoD", "3.8e-4"},  {"CipD", "4190"},    {"Ti1D", "95"},
    {"Ti2D", "80"},    {"ViiD", "0.00033"}, {"LdiD", "0.67"},    {"DeniD", "965"},
    {"dioD", "0.057"}, {"diiD", "0.05"},    {"RiD", "0.0002"},   {"RoD", "0.0002"},
    {"EiD", "1e-4"},   {"DspD", "2"},       {"SlD", "1.5"},      {"BpD", "0.05"},
    {"TeD", "20"},     {"AeD", "20"},       {"StD", "0.006"}};

const Inputs kSteamCoilStirred = {
    {"TaoD", "5400"},   {"sfD", "10"},       {"MaoD", "6000"},   {"CopD", "3800"},
    {"Tom1D", "15"},    {"Tom2D", "85"},     {"VioD", "0.0015"}, {"LdoD", "0.55"},
    {"DenoD", "1050"},  {"LaiD", "1"},       {"DHiD", "2.2e6"},  {"Ti1D", "143"},
    {"Ti2D", "143"},    {"ViiD", "0.00019"}, {"LdiD", "0.68"},   {"DeniD", "923"},
    {"denivD", "2.16"}, {"ViivD", "1.4e-5"}, {"dioD", "0.038"},  {"diiD", "0.032"},
    {"RiD", "0.0001"},  {"RoD", "0.0002"},   {"EiD", "4.6e-5"},  {"DspD", "2"},
    {"SlD", "1.4"},     {"DsD", "2.2"},      {"midD", "0.75"},   {"rvD", "1.2"},
    {"BpD", "0.05"},    {"TeD", "15"},       {"AeD", "12"},      {"StD", "0.008"}};

const char* kResults[] = {"WiD", "QiD",  "QoD", "AtD", "ArD", "TTaD", "KTaD", "LtD", "mD", "DpiD",
                          "UiD", "UivD", "kiD", "koD", "KeD", "KcD",  "TwaD", "WcD", "QLD"};

void FillAndCalculate(TFormKolvane& w, const Inputs& inputs) {
    for (auto [n, t] : inputs)
        w.field(n).setText(t);
    w.MaoDExit(w.field("TaoD"));
}

// The pass, each time from a state whose results were just cleared, so that
// every relation does its work.
void MeasurePass(benchmark::State& state, TFormKolvane& w) {
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* n : kResults)
            ClearComputedField(w.field(n));
        state.ResumeTiming();
        w.MaoDExit(w.field("TaoD"));
    }
}

void RunPass(benchmark::State& state, const Inputs& inputs, bool steam) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (steam) {
        w.list("PhiD").Select(1);
        w.list("TShapeD").Select(1);
        w.form().get<TCheckBox>("ifMix").Click();
    }
    for (auto [n, t] : inputs)
        w.field(n).setText(t);
    MeasurePass(state, w);
}

void BM_PassUTubeUnstirred(benchmark::State& state) {
    RunPass(state, kUTubeUnstirred, false);
}
BENCHMARK(BM_PassUTubeUnstirred);

void BM_PassSteamCoilStirred(benchmark::State& state) {
    RunPass(state, kSteamCoilStirred, true);
}
BENCHMARK(BM_PassSteamCoilStirred);

// A benchmark on each shipped example project.
#define ON_EXAMPLES(bm)                                                                            \
    BENCHMARK_CAPTURE(bm, hot_water_storage_tank, "hot-water-storage-tank.kvp");                   \
    BENCHMARK_CAPTURE(bm, steam_coil_reactor, "steam-coil-reactor.kvp");                           \
    BENCHMARK_CAPTURE(bm, batch_cooling_coil, "batch-cooling-coil.kvp")

// A shipped example project, opened as File > Open does.
bool OpenExample(benchmark::State& state, TFormKolvane& w, const char* file) {
    if (w.OpenProjectFile(std::string(KOLVANE_EXAMPLES_DIR) + "/" + file)) return true;
    state.SkipWithError("example project missing");
    return false;
}

// The pass on an example, measured with its results cleared, as in RunPass.
void RunExamplePass(benchmark::State& state, const char* file) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (OpenExample(state, w, file)) MeasurePass(state, w);
}

void BM_PassExample(benchmark::State& state, const char* file) {
    RunExamplePass(state, file);
}
ON_EXAMPLES(BM_PassExample);

// The pass after an edit, without the benchmark's timer pauses (each costs
// a clock read of the same order as the pass): the heating time alternates
// by 1 %, so every result moves and is written again, as after a user's
// edit. The dynamic check is inside; BM_CheckExample measures it alone.
void BM_PassAfterEditExample(benchmark::State& state, const char* file) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (!OpenExample(state, w, file)) return;
    TEditD& time = w.f(TaoD);
    const std::string texts[2] = {time.text(), FormatGeneral(StrToFloat(time.text()) * 1.01, 7, 4)};
    std::size_t k = 0;
    for (auto _ : state) {
        time.setText(texts[k ^= 1]);
        w.MaoDExit(time);
    }
}
ON_EXAMPLES(BM_PassAfterEditExample);

// The dynamic check alone on an example, as the pass runs it: the times to
// the target with both areas and the area that reaches it at the heating
// time.
void BM_CheckExample(benchmark::State& state, const char* file) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (!OpenExample(state, w, file)) return;
    w.MaoDExit(w.field("TaoD"));
    const PassReport& r = w.lastPass();
    if (!r.hasCheck) {
        state.SkipWithError("the pass gave no check");
        return;
    }
    const std::optional<double> actual = r.actualArea;
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckBatch(r.checkInputs, r.theoreticalArea, actual));
}
ON_EXAMPLES(BM_CheckExample);

// An example's case with its results cleared, as the pass is measured.
std::optional<Case> ExampleCase(benchmark::State& state, const char* file) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    if (!OpenExample(state, w, file)) return std::nullopt;
    Case c = w.readCase();
    for (FieldId id : PassResults())
        if (c[id].state == QState::Computed) c[id] = {};
    return c;
}

// Evaluate on an example's case alone, without the window's fields and
// without the dynamic check (measured on its own above): what a study pays
// per point.
void BM_EvaluateExample(benchmark::State& state, const char* file) {
    const std::optional<Case> c = ExampleCase(state, file);
    if (!c) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(Evaluate(*c, false));
}
ON_EXAMPLES(BM_EvaluateExample);

// The floor of a pass: the same chain through the model's pure functions
// alone, with the example's values: the balance solved for its missing
// member and the model, once per walk the pass needs; the layout, the
// pressure drop and the time average. Nothing read, checked, told or written.
void BM_ModelFloorExample(benchmark::State& state, const char* file) {
    const std::optional<Case> c = ExampleCase(state, file);
    if (!c) return;
    const Evaluation e = Evaluate(*c);
    const Results& r = e.results;
    const HeatModelInputs in = e.report.checkInputs;
    const bool condensing = in.condensing;
    ValueArray values{};
    std::size_t unknown = 0;
    bool solved = false;
    const auto members = BalanceMembers(condensing);
    for (std::size_t i = 0; i < members.size(); ++i) {
        values[i] = r[members[i]];
        if (r.state[members[i]] == QState::Solved) {
            unknown = i;
            solved = true;
        }
    }
    auto residual = [condensing](const ValueArray& a) {
        double qi, qo;
        return condensing ? BalanceCondensing(a, qi, qo) : BalanceSinglePhase(a, qi, qo);
    };
    const double lt = r[LtD], at = r[AtD], tau = r[TaoD];
    for (auto _ : state) {
        for (int k = 0; k < r.walks; ++k) {
            if (solved)
                benchmark::DoNotOptimize(
                    FindRoot(values, unknown, kRootStartValue, kRootStartDelta, residual));
            benchmark::DoNotOptimize(TheoreticalArea(in));
        }
        const TubeLayout layout = in.coil ? CoilLayout(lt, in.sl, in.s, in.dO)
                                          : UTubeLayout(lt, in.sl, in.s, in.dO, in.dI);
        const double rho = condensing ? r[denivD] : in.rhoI;
        const double mu = condensing ? r[ViivD] : in.muI;
        benchmark::DoNotOptimize(
            in.coil ? CoilPressureDrop(in.w, rho, mu, in.dI, r[EiD], in.sl, in.s, lt, layout)
                    : UTubePressureDrop(in.w, rho, mu, in.dI, r[EiD], in.sl, layout));
        benchmark::DoNotOptimize(MeanDifference(e.report.curve, at, tau));
    }
    state.counters["walks"] = r.walks;
}
ON_EXAMPLES(BM_ModelFloorExample);

// A sweep of 1,000 heating times from 80 % to 120 % of the example's, in one
// process: the sizing alone, and with the dynamic check (the area needed as
// an output).
void RunSweepExample(benchmark::State& state, const char* file, bool withCheck) {
    const std::optional<Case> c = ExampleCase(state, file);
    if (!c) return;
    const double tau = (*c)[TaoD].value / (*c)[TaoD].exchange;
    const SweepAxis axis{TaoD, 0.8 * tau, 1.2 * tau, 1000};
    std::vector<StudyOutput> outputs = {{StudyOutput::Kind::Field, AtD}};
    if (withCheck) outputs.push_back({StudyOutput::Kind::AreaNeeded});
    for (auto _ : state)
        benchmark::DoNotOptimize(RunSweep(*c, {&axis, 1}, outputs));
}
void BM_Sweep1000Example(benchmark::State& state, const char* file) {
    RunSweepExample(state, file, false);
}
ON_EXAMPLES(BM_Sweep1000Example);
void BM_Sweep1000CheckedExample(benchmark::State& state, const char* file) {
    RunSweepExample(state, file, true);
}
ON_EXAMPLES(BM_Sweep1000CheckedExample);

// The layout search over the shipped pipe series, the pitch list and 20
// coil diameters (leg lengths), with the dynamic check on every design.
void BM_SearchDesignsExample(benchmark::State& state, const char* file) {
    const std::optional<Case> c = ExampleCase(state, file);
    RefTables tables;
    tables.open(KOLVANE_PIPLES_DB);
    if (!c || tables.pipes().empty()) return state.SkipWithError("no case or no pipe series");
    const std::vector<DesignPipe> pipes = SeriesPipes(tables);
    const std::vector<double> pitches = PitchValues();
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchDesigns(*c, pipes, pitches, {}, DesignRank::Length));
    state.counters["designs"] = static_cast<double>(pipes.size() * pitches.size() * 20);
}
ON_EXAMPLES(BM_SearchDesignsExample);

void BM_GetFx(benchmark::State& state) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    FillAndCalculate(w, kUTubeUnstirred);
    for (auto _ : state)
        benchmark::DoNotOptimize(w.GetFx());
}
BENCHMARK(BM_GetFx);

void BM_FrictionFactor(benchmark::State& state) {
    double re = 1e5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FrictionFactor(re, 0.05, 4.6e-5));
        re = re < 2e5 ? re + 1 : 1e5;
    }
}
BENCHMARK(BM_FrictionFactor);

// Project files: the whole main window written to and read from the record
// format in memory (the disk write itself is not measured).
void BM_ProjectToRecordText(benchmark::State& state) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    FillAndCalculate(w, kUTubeUnstirred);
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToGb18030(FormRecordText(w.form(), false, {})));
}
BENCHMARK(BM_ProjectToRecordText);

void BM_ProjectFromRecordBytes(benchmark::State& state) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    FillAndCalculate(w, kUTubeUnstirred);
    const std::string bytes = Utf8ToGb18030(FormRecordText(w.form(), false, {}));
    TFormKolvane target(ui);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadFormRecordBytes(target.form(), bytes, "b.kvp"));
}
BENCHMARK(BM_ProjectFromRecordBytes);

} // namespace
} // namespace kolvane
