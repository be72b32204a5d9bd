#include "CliRun.h"
#include "ExampleCases.h"
#include "TempDir.h"

#include "cli/Cli.h"
#include "engine/Optimiser.h"
#include "engine/Study.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>

namespace kolvane {
namespace {

using namespace fid;
using testing_support::Cli;
using testing_support::CliRun;
using testing_support::SteamCoil;

TEST(Study, AxisValuesKeepTheirEndsAndSpacing) {
    struct Row {
        SweepAxis axis;
        std::vector<double> values;
    } rows[] = {
        {{TaoD, 60, 120, 4}, {60, 80, 100, 120}},
        {{TaoD, 120, 60, 3}, {120, 90, 60}},
        {{TaoD, 1, 1000, 4, true}, {1, 10, 100, 1000}},
        {{TaoD, 7, 9, 1}, {7}},
        {{TaoD, 7, 9, 0}, {}},
    };
    for (const Row& r : rows) {
        const std::vector<double> v = AxisValues(r.axis);
        ASSERT_EQ(v.size(), r.values.size());
        for (std::size_t i = 0; i < v.size(); ++i)
            EXPECT_NEAR(v[i], r.values[i], 1e-12 * r.values[i]) << i;
        if (!v.empty()) {
            EXPECT_EQ(v.back(), r.axis.points == 1 ? r.axis.from : r.axis.to);
        }
    }
}

// An axis the case cannot vary is refused naming the field, before any
// point is evaluated.
TEST(Study, AxesThatCannotBeSweptAreRefusedByCaption) {
    struct Row {
        SweepAxis axis;
        const char* told; // "" accepted
    } rows[] = {
        {{TaoD, 60, 120, 5}, ""},
        {{CipD, 1, 2, 3}, "平均比热（管程）在当前选项下不使用"},
        {{AtD, 1, 2, 3}, "理论面积是计算结果"},
        {{TaoD, 60, INFINITY, 3}, "加热时间的范围应为有限数值"},
        {{TaoD, 60, 120, 0}, "加热时间的点数应在1与10000之间"},
        {{TaoD, 60, 120, 10001}, "点数应在1与10000之间"},
        {{Tom1D, -10, 20, 3, true}, "初始温度按对数分点时，范围的两端应大于0"},
    };
    const Case c = SteamCoil();
    for (const Row& r : rows) {
        const std::string problem = SweepAxisProblem(c, r.axis);
        if (*r.told == '\0')
            EXPECT_EQ(problem, "");
        else
            EXPECT_NE(problem.find(r.told), std::string::npos) << problem;
    }
    Case solved = c;
    solved[WiD].state = QState::Solved;
    EXPECT_NE(SweepAxisProblem(solved, {WiD, 0.1, 0.2, 2}).find("由热量平衡求出"),
              std::string::npos);
}

// Each point is the case evaluated with the axes' values typed in, in the
// field's display unit; a point that fails says why and the others go on.
TEST(Study, EachPointIsTheCaseWithItsValuesTyped) {
    Case base = SteamCoil();
    base[TaoD].exchange = 60; // shown in minutes
    const SweepAxis axes[] = {{TaoD, 45, 90, 2}, {dioD, 0.045, 0.057, 2}};
    const std::vector<StudyOutput> outputs = {
        *StudyOutputNamed("AtD"), *StudyOutputNamed("areaNeeded"), *StudyOutputNamed("ratio")};
    const std::vector<SweepPoint> points = RunSweep(base, axes, outputs);
    ASSERT_EQ(points.size(), 4u);
    // The first axis outermost.
    EXPECT_EQ(points[1].inputs, (std::vector<double>{45, 0.057}));
    EXPECT_EQ(points[2].inputs, (std::vector<double>{90, 0.045}));
    // 45 mm outside a 50 mm bore: refused, no numbers.
    EXPECT_NE(points[0].message.find("管内径"), std::string::npos);
    EXPECT_TRUE(std::isnan(points[0].results[0]));
    // The example itself, and half its heating time needing more area.
    const SweepPoint& example = points[3];
    EXPECT_EQ(example.message, "");
    EXPECT_NEAR(example.results[0], 2.934858, 1e-6);
    EXPECT_NEAR(example.results[2], 1, 1e-5);
    Case half = base;
    GiveDisplayValue(half, TaoD, 45);
    const Evaluation e = Evaluate(half);
    EXPECT_EQ(points[1].results[0], e.results[AtD]);
    EXPECT_EQ(points[1].results[1], *e.report.check.areaNeeded);
    EXPECT_GT(points[1].results[0], 1.8 * example.results[0]);
    // The base case is not changed by the study.
    EXPECT_EQ(base[TaoD].value, 5400);
}

TEST(Study, ProgressIsToldAndCancellingStops) {
    const SweepAxis axis{TaoD, 5000, 6000, 5};
    const StudyOutput out[] = {{StudyOutput::Kind::Field, AtD}};
    std::atomic<bool> cancel = false;
    std::vector<std::size_t> told;
    StudyControl control{&cancel, [&](std::size_t done, std::size_t total) {
                             EXPECT_EQ(total, 5u);
                             told.push_back(done);
                             if (done == 2) cancel = true;
                         }};
    EXPECT_EQ(RunSweep(SteamCoil(), {&axis, 1}, out, control).size(), 2u);
    EXPECT_EQ(told, (std::vector<std::size_t>{1, 2}));
}

TEST(Study, AStudyBelongsToTheInputsItWasMadeOn) {
    const Case base = SteamCoil();
    Case same = base;
    // What a pass computes is no input: a result shown or not is the same
    // calculation.
    same[AtD].state = QState::Computed;
    same[AtD].value = 123;
    EXPECT_TRUE(SameInputs(base, same));
    Case typed = base;
    GiveDisplayValue(typed, TaoD, 91);
    EXPECT_FALSE(SameInputs(base, typed));
    Case option = base;
    option.options.stirred = !option.options.stirred;
    EXPECT_FALSE(SameInputs(base, option));
    Case emptied = base;
    emptied[DsD] = {};
    EXPECT_FALSE(SameInputs(base, emptied));
}

TEST(Study, TheCsvReadsBackEveryNumberAndQuotesMessages) {
    const std::string in[] = {"TaoD"};
    const std::string out[] = {"AtD", "ratio"};
    const SweepPoint points[] = {
        {{0.1}, {1.0 / 3, std::numeric_limits<double>::quiet_NaN()}, ""},
        {{2e-7},
         {std::numeric_limits<double>::quiet_NaN(), 1},
         "直径\"DsD\"为空, 无法计算\n第二行"},
    };
    const std::string csv = SweepCsv(in, out, points);
    EXPECT_EQ(csv, "TaoD,AtD,ratio,message\n"
                   "0.1,0.3333333333333333,,\n"
                   "2e-07,,1,\"直径\"\"DsD\"\"为空, 无法计算\n第二行\"\n");
}

TEST(Optimiser, LiquidHeightFollowsTheVesselShape) {
    struct Row {
        int vessel;
        double d, h, kv, height; // NaN: not known
    } rows[] = {
        {1, 1.8, 2.0, 0.9, 1.8}, // upright cylinder: kv of its height
        {2, 1.8, 2.0, 0.5, 1.0}, // box: the same
        {0, 2.0, 0, 0.5, 1.0},   // a half-full sphere: its radius
        {3, 2.0, 6.0, 0.5, 1.0}, // a half-full horizontal tank: its radius
        {1, 1.8, 2.0, 0, NAN},   // no fill
        {1, 1.8, 0, 0.9, NAN},   // no height
    };
    for (const Row& r : rows) {
        Case c;
        c.options.vessel = r.vessel;
        c.give(DsD, r.d);
        if (r.h > 0) c.give(HsD, r.h);
        if (r.kv > 0) c.give(KvD, r.kv);
        const double h = LiquidHeight(c);
        if (std::isnan(r.height))
            EXPECT_TRUE(std::isnan(h)) << r.vessel;
        else
            EXPECT_NEAR(h, r.height, 1e-6) << r.vessel;
    }
}

// The designs found are the case evaluated with them, inside every limit
// and in the order asked for; a vessel without its size is no search.
TEST(Optimiser, DesignsMeetTheLimitsInRankOrder) {
    Case c = SteamCoil();
    c.give(HsD, 2.0);
    const DesignPipe pipes[] = {{1, 0.038, 0.032},
                                {2, 0.045, 0.039},
                                {3, 0.057, 0.050},
                                {4, 0.050, 0.060}}; // the last has no wall: skipped
    const double pitches[] = {1.5, 2.0};
    DesignLimits limits;
    limits.sizes = 4;
    for (DesignRank rank : {DesignRank::Length, DesignRank::Mass}) {
        const DesignSearch s = SearchDesigns(c, pipes, pitches, limits, rank, 5);
        ASSERT_EQ(s.problem, "");
        EXPECT_EQ(s.tried, 3u * 2u * 4u);
        ASSERT_FALSE(s.designs.empty());
        EXPECT_LE(s.designs.size(), 5u);
        EXPECT_NEAR(s.sizeMax, 1.8 - 0.2, 1e-12);
        EXPECT_GT(s.feasible, s.designs.size()) << "pitches and sizes of a pipe are one row";
        for (std::size_t i = 0; i < s.designs.size(); ++i) {
            const Design& d = s.designs[i];
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_NE(s.designs[j].pipeRow, d.pipeRow);
            EXPECT_GE(d.margin, 0);
            EXPECT_LE(d.velocity, limits.steamVelocityMax);
            EXPECT_LE(d.dp, limits.maxPressureDrop);
            EXPECT_LE(d.size, s.sizeMax + 1e-12);
            EXPECT_LE(d.turnsOrPasses * d.pitch * d.outside, s.heightMax);
            if (i > 0) {
                const Design& p = s.designs[i - 1];
                EXPECT_LE(rank == DesignRank::Mass ? p.mass : p.length,
                          rank == DesignRank::Mass ? d.mass : d.length);
            }
        }
        // The best is what the calculation page gives with its pipe, pitch
        // and coil diameter typed in.
        const Design& best = s.designs.front();
        Case typed = c;
        typed.give(dioD, best.outside);
        typed.give(diiD, best.inside);
        typed.give(DspD, best.pitch);
        typed.give(SlD, best.size);
        const Evaluation e = Evaluate(typed);
        EXPECT_EQ(best.length, e.results[LtD]);
        EXPECT_NEAR(best.mass,
                    best.length * std::numbers::pi / 4 *
                        (best.outside * best.outside - best.inside * best.inside) * 7900,
                    1e-9 * best.mass); // stainless
    }
    limits.maxPressureDrop = 1;
    EXPECT_TRUE(SearchDesigns(c, pipes, pitches, limits, DesignRank::Length).designs.empty());
    c[HsD] = {};
    EXPECT_NE(SearchDesigns(c, pipes, pitches, {}, DesignRank::Length).problem.find("液位高度"),
              std::string::npos);
}

const std::string kSteam = KOLVANE_EXAMPLES_DIR "/steam-coil-reactor.kvp";

TEST(StudyCli, SweepsInDisplayUnitsAndWritesCsv) {
    testing_support::TempDir dir;
    const std::string csv = (dir.path() / "s.csv").string();
    const CliRun r = Cli({"study", kSteam, "--vary", "TaoD=60:90:2", "--out", "AtD,mD,ratio",
                          "--csv", csv, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["vary"], nlohmann::json({"TaoD"}));
    EXPECT_EQ(j["out"], nlohmann::json({"AtD", "mD", "ratio"}));
    ASSERT_EQ(j["points"].size(), 2u);
    EXPECT_EQ(j["points"][1]["inputs"]["TaoD"], 90); // minutes, as the window shows it
    EXPECT_NEAR(j["points"][1]["results"]["AtD"].get<double>(), 2.934858, 1e-6);
    EXPECT_TRUE(j["points"][1]["message"].is_null());
    const std::string text = testing_support::ReadBytes(csv);
    EXPECT_EQ(text.substr(0, text.find('\n')), "TaoD,AtD,mD,ratio,message");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(StudyCli, MistakesAreToldWithTheirExitCodes) {
    struct Row {
        std::vector<std::string> args;
        int code;
        const char* told;
    } rows[] = {
        {{"study", kSteam, "--vary", "TaoD=1:2"}, 2, "--vary takes NAME=FROM:TO:N[:log]"},
        {{"study", kSteam, "--vary", "TaoD=a:2:3"}, 2, "not 'TaoD=a:2:3'"},
        {{"study", kSteam, "--vary", "XyD=1:2:3"}, 2, "no quantity field named 'XyD'"},
        {{"study", kSteam, "--vary", "TaoD=60:90:2", "--out", "AtD,Foo"}, 2, "'Foo' is neither"},
        {{"study", kSteam}, 2, "varies one or two inputs"},
        {{"study", kSteam, "--vary", "WiD=0.1:0.2:2"}, 1, "质量流量是由热量平衡求出的"},
        {{"study", kSteam, "--vary", "TaoD=0.001:90:2"}, 1, "单位是否有误"},
        {{"study", "/no/such.kvp", "--vary", "TaoD=60:90:2"}, 1, "cannot open"},
        {{"optimise", kSteam, "--velocity", "2:1"}, 2, "--velocity takes FROM:TO"},
        {{"optimise", kSteam, "--by", "price"}, 2, "--by"},
        // The pipe series lies beside kolvane-cli, not beside this test.
        {{"optimise", kSteam}, 1, "钢管系列表不可用"},
    };
    for (const Row& r : rows) {
        const CliRun run = Cli(r.args);
        EXPECT_EQ(run.code, r.code) << r.told;
        EXPECT_NE((run.err + run.out).find(r.told), std::string::npos) << run.err << run.out;
    }
}

// A batch goes on past a file it cannot open, says why in that file's line
// and exits 1; the others are the calc --json objects with the file first.
TEST(StudyCli, ABatchGoesOnPastADamagedFile) {
    testing_support::TempDir dir;
    const std::string bad = (dir.path() / "bad.kvp").string();
    testing_support::WriteBytes(bad, "no project");
    const CliRun r = Cli({"batch", bad, kSteam, "--jsonl"});
    EXPECT_EQ(r.code, 1);
    std::istringstream lines(r.out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(nlohmann::json::parse(first),
              nlohmann::json({{"file", bad}, {"error", "不是有效的Kolvane项目文件:" + bad}}));
    std::ostringstream calc, ignored;
    RunCli({"calc", kSteam, "--json"}, calc, ignored);
    EXPECT_EQ(second, "{\"file\":" + nlohmann::json(kSteam).dump() + "," +
                          calc.str().substr(1, calc.str().size() - 2));
}

} // namespace
} // namespace kolvane
