// The band on the area: the correlations' stated accuracies, the factors on
// the films, the Monte Carlo over the example projects and its command.
#include "cli/Cli.h"
#include "engine/Uncertainty.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "model/Errors.h"
#include "model/HeatModel.h"

#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>

namespace kolvane {
namespace {

using namespace fid;

const char* const kExamples[] = {"hot-water-storage-tank.kvp", "steam-coil-reactor.kvp",
                                 "batch-cooling-coil.kvp"};

std::string ExamplePath(const char* name) {
    return std::string(KOLVANE_EXAMPLES_DIR) + "/" + name;
}

Case ExampleCase(const char* name) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    EXPECT_TRUE(w.OpenProjectFile(ExamplePath(name))) << name;
    return w.readCase();
}

UncertaintyResult Band(const Case& c, int samples, std::uint64_t seed, int threads = 1) {
    UncertaintyOptions o;
    o.samples = samples;
    o.seed = seed;
    o.threads = threads;
    return RunUncertainty(c, o);
}

// The figures their sources state, and the ones of our own marked so.
TEST(Accuracy, RowsCarryTheFiguresTheirSourcesState) {
    const struct {
        const Accuracy& a;
        double relative;
        bool stated;
    } rows[] = {
        {kDittusBoelterAccuracy, 0.25, true},       // Incropera & DeWitt §8.5
        {kSiederTateTurbulentAccuracy, 0.25, true}, // the same sentence
        {kGnielinskiAccuracy, 0.10, true},          // "less than 10%"
        {kMikheevAccuracy, 0.25, false},
        {kStirredVesselAccuracy, 0.25, false},
        {kHausenAccuracy, 0.20, false},
        {kSchmidtLaminarAccuracy, 0.20, false},
        {kCondensationAccuracy, 0.30, false},
        {kSurfaceToAirAccuracy, 0.25, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.a.relative, r.relative) << r.a.correlation;
        EXPECT_EQ(r.a.stated, r.stated) << r.a.correlation;
    }
}

// What a factor does to the film it multiplies, on the model's inputs of
// each example (stirred, natural convection, steam, single phase).
TEST(FilmFactors, ScaleTheCorrelationTheyStandFor) {
    constexpr double f = 1.3;
    for (const char* name : kExamples) {
        const HeatModelInputs in = Evaluate(ExampleCase(name)).report.checkInputs;
        HeatModelInputs scaled = in;
        scaled.outsideFactor = scaled.insideFactor = scaled.surfaceFactor = f;
        const FilmModel plain(in), varied(scaled);
        // At a given flux q a natural-convection film rises less than f: the
        // correlation's Nusselt number is f times its own at the new Ra.
        const double q = 200;
        const double h = varied.outside(q).ko;
        if (in.stirred) {
            EXPECT_NEAR(h, f * plain.outside(q).ko, 1e-12 * h) << name;
        } else {
            const double ra = in.rhoO * in.rhoO * kGravity * in.beta * std::pow(in.dO, 4) /
                              (in.muO * in.muO) * (in.cO * in.muO / in.lamO) * q / (h * in.dO);
            EXPECT_NEAR(h * in.dO / in.lamO, f * MikheevNusselt(ra), 1e-9 * h) << name;
            EXPECT_LT(h, f * plain.outside(q).ko) << name;
        }
        EXPECT_NEAR(varied.inside(3), f * plain.inside(3), 1e-12 * varied.inside(3)) << name;
        // The surface film to air is f·(9.8 + 0.07·x) at the excess x the loss solves for.
        if (in.hasLoss && !in.lossToGround) {
            double x = 0;
            const double hw = 500, k = varied.loss(40, hw, &x);
            const double res = in.wallThickness / in.lamS + in.insulationThickness / in.lamP;
            EXPECT_NEAR(1 / k, 1 / (f * SurfaceToAirCoefficient(x)) + res + 1 / hw, 1e-12 / k)
                << name;
        }
    }
}

TEST(Uncertainty, BandsAreOrderedSharesSumToOneAndTheTornadoIsSorted) {
    for (const char* name : kExamples) {
        const UncertaintyResult r = Band(ExampleCase(name), 300, 7);
        ASSERT_TRUE(r.areaNeeded && r.tActual) << name;
        EXPECT_EQ(r.failed, 0) << name;
        for (const Percentiles& p : {*r.areaNeeded, *r.tActual}) {
            EXPECT_LT(p.p10, p.p50) << name;
            EXPECT_LT(p.p50, p.p90) << name;
        }
        // The deterministic check lies inside the band.
        EXPECT_LT(r.areaNeeded->p10, r.nominalAreaNeeded) << name;
        EXPECT_GT(r.areaNeeded->p90, r.nominalAreaNeeded) << name;
        const ResistanceShares& s = r.shares;
        EXPECT_NEAR(s.outsideFilm + s.insideFilm + s.fouling + s.wall, 1, 1e-12) << name;
        EXPECT_GT(std::min({s.outsideFilm, s.insideFilm, s.fouling, s.wall}), 0) << name;
        ASSERT_GE(r.tornado.size(), 2u) << name;
        for (std::size_t i = 1; i < r.tornado.size(); ++i)
            EXPECT_GE(r.tornado[i - 1].swing(), r.tornado[i].swing()) << name;
        // A weaker film needs more area.
        EXPECT_GT(r.tornado.front().low, r.tornado.front().high) << name;
    }
}

TEST(Uncertainty, ASeedGivesTheSameSamplesWhateverTheThreadsAndAnotherSeedOthers) {
    const Case c = ExampleCase("steam-coil-reactor.kvp");
    const UncertaintyResult one = Band(c, 200, 42, 1), two = Band(c, 200, 42, 2);
    const UncertaintyResult other = Band(c, 200, 43, 2);
    EXPECT_EQ(one.areaSamples, two.areaSamples);
    EXPECT_EQ(one.tActualSamples, two.tActualSamples);
    EXPECT_EQ(one.areaNeeded->p90, two.areaNeeded->p90);
    EXPECT_NE(one.areaSamples, other.areaSamples);
    EXPECT_NE(one.areaNeeded->p50, other.areaNeeded->p50);
}

// Without the correlations' scatter and with every scatter at 0 each sample
// is the deterministic case: a band of no width at the check's own area.
TEST(Uncertainty, NoScatterGivesAZeroWidthBandAtTheDeterministicArea) {
    const Case c = ExampleCase("hot-water-storage-tank.kvp");
    UncertaintyOptions o;
    o.samples = 50;
    o.correlations = false;
    o.scatter = {{VioD, 0}};
    const UncertaintyResult r = RunUncertainty(c, o);
    const double area = *Evaluate(c).report.check.areaNeeded;
    EXPECT_TRUE(r.tornado.empty());
    for (double p : {r.areaNeeded->p10, r.areaNeeded->p50, r.areaNeeded->p90})
        EXPECT_DOUBLE_EQ(p, area);
    EXPECT_EQ(r.tActual->p10, r.tActual->p90);
}

// The margin against the band: no margin leaves the actual area below P90.
TEST(Uncertainty, AnActualAreaBelowP90IsWarnedWithBothAreas) {
    const struct {
        double margin; // %
        bool warned;
    } rows[] = {{0, true}, {40, false}};
    for (const auto& row : rows) {
        Case c = ExampleCase("batch-cooling-coil.kvp");
        c.give(sfD, row.margin);
        const UncertaintyResult r = Band(c, 200, 1);
        EXPECT_EQ(!r.warning.empty(), row.warned) << row.margin << ": " << r.warning;
        if (row.warned) {
            char p90[32];
            std::snprintf(p90, sizeof p90, "%.4g", r.areaNeeded->p90);
            EXPECT_NE(r.warning.find(p90), std::string::npos) << r.warning;
            EXPECT_LT(r.actualArea, r.areaNeeded->p90);
        }
    }
}

// What cannot be studied is refused with the field it concerns.
TEST(Uncertainty, ACaseThatCannotBeSizedOrAScatterThatMeansNothingNamesTheField) {
    const struct {
        const char* name;
        void (*change)(Case&, UncertaintyOptions&);
        const char* told;
    } rows[] = {
        {"empty fouling", [](Case& c, UncertaintyOptions&) { c[RoD] = {}; }, "管外污垢"},
        {"temperature",
         [](Case&, UncertaintyOptions& o) {
             o.scatter = {{Tom1D, 5}};
         },
         "初始温度"},
        {"a result",
         [](Case&, UncertaintyOptions& o) {
             o.scatter = {{AtD, 5}};
         },
         "理论面积"},
        {"too wide",
         [](Case&, UncertaintyOptions& o) {
             o.scatter = {{VioD, 60}};
         },
         "0–50 %"},
    };
    for (const auto& row : rows) {
        Case c = ExampleCase("steam-coil-reactor.kvp");
        UncertaintyOptions o;
        o.samples = 10;
        row.change(c, o);
        try {
            RunUncertainty(c, o);
            ADD_FAILURE() << row.name;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(row.told), std::string::npos)
                << row.name << ": " << e.what();
        }
    }
}

TEST(Uncertainty, ProgressCountsUpToTheEndAndACancelStopsTheRun) {
    const Case c = ExampleCase("steam-coil-reactor.kvp");
    for (bool cancelling : {false, true}) {
        std::atomic<bool> cancel{false};
        std::vector<int> seen;
        UncertaintyOptions o;
        o.samples = 2000;
        o.threads = 2;
        o.control = {&cancel, [&](std::size_t done, std::size_t) {
                         seen.push_back(static_cast<int>(done));
                         cancel = cancelling;
                     }};
        const UncertaintyResult r = RunUncertainty(c, o);
        EXPECT_EQ(r.cancelled, cancelling);
        EXPECT_EQ(r.areaNeeded.has_value(), !cancelling);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
        if (cancelling)
            EXPECT_LT(seen.back(), 2000);
        else
            EXPECT_EQ(seen.back(), 2000);
    }
}

TEST(Uncertainty, PercentilesInterpolateAndAnInfiniteTimeRanksLast) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::vector<double> sorted;
        double p, expected;
    } rows[] = {
        {{1, 2, 3, 4}, 50, 2.5}, {{1, 2, 3, 4}, 10, 1.3}, {{5}, 90, 5},
        {{1, 2, inf}, 50, 2},    {{1, 2, inf}, 90, inf},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(Percentile(r.sorted, r.p), r.expected) << r.p;
}

using testing_support::Cli;
using testing_support::CliRun;

TEST(UncertaintyCommand, JsonHasTheMembersInOrderAndTheCoresFigures) {
    const char* example = "hot-water-storage-tank.kvp";
    const CliRun r =
        Cli({"uncertainty", ExamplePath(example), "--samples=100", "--seed=5", "--json"});
    ASSERT_EQ(r.code, kCliOk) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    const char* first[] = {"samples",   "seed",        "areaNeeded_m2",
                           "tActual_s", "resistances", "tornado"};
    auto member = j.items().begin();
    for (const char* key : first)
        EXPECT_EQ((member++).key(), key);
    EXPECT_EQ(j["areaNeeded_m2"]["P90"].get<double>(),
              Band(ExampleCase(example), 100, 5).areaNeeded->p90);
    EXPECT_EQ(j["controlling"], "管外膜热阻占总热阻的62 %：加搅拌效果最明显");
}

TEST(UncertaintyCommand, RefusesBadArgumentsAndTellsWhatCannotBeStudied) {
    const std::string file = ExamplePath("steam-coil-reactor.kvp");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* told;
    } rows[] = {
        {{"uncertainty", file, "--samples", "0"}, kCliBadArguments, "--samples: takes a whole"},
        {{"uncertainty", file, "--threads", "x"}, kCliBadArguments, "--threads: takes a whole"},
        {{"uncertainty", file, "--scatter", "Nope=5"}, kCliBadArguments, "--scatter: takes"},
        {{"uncertainty"}, kCliBadArguments, "FILE is required"},
        {{"uncertainty", "/no/such.kvp"}, kCliFailed, "找不到项目文件"},
        {{"uncertainty", file, "--scatter", "ti1d=5"}, kCliFailed, "入口温度"},
    };
    for (const auto& row : rows) {
        const CliRun r = Cli(row.args);
        EXPECT_EQ(r.code, row.code) << row.args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(row.told), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << row.args.back();
    }
}

} // namespace
} // namespace kolvane
