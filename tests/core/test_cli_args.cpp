// kolvane-cli's command line as a whole: help on every command, values
// refused before anything runs, and options that keep the order given.
#include "cli/Cli.h"

#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace kolvane {
namespace {

using testing_support::Cli;
using testing_support::CliRun;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kExample = std::string(KOLVANE_EXAMPLES_DIR) + "/hot-water-storage-tank.kvp";

TEST(CliHelp, EveryCommandDescribesItsOptionsAndRunsNothing) {
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> names;
    } rows[] = {
        {{"--help"}, {"calc", "eval", "refdata", "prop", "Exit code"}},
        {{"calc", "--help"},
         {"FILE", "--set NAME=TEXT", "--unit NAME=INDEX", "--choose", "--check NAME=0|1", "--press",
          "--save PATH", "--open PATH", "--pick", "--pipe N", "--prop", "--json", "--report",
          "--curve", "Exit code"}},
        {{"eval", "--help"}, {"FORMULA", "--var NAME=VALUE", "--grid", "--json"}},
        {{"refdata", "-h"}, {"--json"}},
        {{"prop", "--help"},
         {"--fluid", "--text", "--name", "--cn", "--t", "--p", "--for SBP1|SBP2|SBP2v", "--list",
          "--json"}},
        // Help wins over the steps before it: none runs.
        {{"calc", kExample, "--set", "MaoD=5", "--help"}, {"--set"}},
    };
    for (const Row& row : rows) {
        const CliRun r = Cli(row.args);
        const std::string label = row.args[0] + " " + row.args.back();
        EXPECT_EQ(r.code, kCliOk) << label << ": " << r.err;
        EXPECT_EQ(r.err, "") << label;
        for (const std::string& name : row.names)
            EXPECT_TRUE(Has(r.out, name)) << label << " names " << name << "\n" << r.out;
        EXPECT_FALSE(Has(r.out, "\"components\"") || Has(r.out, "加热时间")) << label;
    }
}

// Exit 2, nothing on stdout, and the message names the option and what it takes.
TEST(CliArguments, BadValuesAreRefusedBeforeAnythingRuns) {
    struct Row {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"prop", "--fluid", "1", "--for", "SBP3"}, "--for: takes SBP1, SBP2 or SBP2v, not 'SBP3'"},
        {{"prop", "--text", "1", "--name", "XX"}, "--name: is CP, MD, VI, TC, ST or HV, not 'XX'"},
        {{"prop", "--fluid", "1", "--t", "40C"}, "--t: takes a number (°C), not '40C'"},
        {{"prop", "--fluid", "1", "--p", "1e999"}, "--p: takes a number (kPa), not '1e999'"},
        {{"prop", "--text", "1"}, "--text requires --name"},
        {{"prop", "--fluid", "1", "--text", "2", "--name", "CP"}, "excludes"},
        {{"prop", "--list", "--fluid", "1"}, "excludes"},
        {{"prop", "--json"}, "give one of --fluid, --text and --list"},
        {{"prop", "--fluid"}, "--fluid needs a value"},
        {{"prop", "--fluid", "1", "--bogus"}, "unknown argument '--bogus'"},
        {{"eval", "1", "--var", "t"}, "--var: needs NAME=VALUE, got 't'"},
        {{"eval", "--var=x"}, "--var: needs NAME=VALUE, got 'x'"},
        {{"refdata", "--csv"}, "unknown argument '--csv'"},
        {{"calc", kExample, kExample}, "unknown argument '" + kExample + "'"},
        {{"calc", "--report"}, "--report needs a value"},
        {{"--bogus"}, "unknown argument '--bogus'"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{}, "usage: kolvane-cli COMMAND"},
    };
    for (const Row& row : rows) {
        const CliRun r = Cli(row.args);
        const std::string label = row.args.empty() ? "(none)" : row.args.back();
        EXPECT_EQ(r.code, kCliBadArguments) << label;
        EXPECT_EQ(r.out, "") << label;
        EXPECT_TRUE(Has(r.err, row.message)) << label << ": " << r.err;
    }
}

// Steps of different options run in the order given, a repeated option in
// each of its places.
TEST(CliArguments, StepsKeepTheirOrderAcrossOptions) {
    struct Row {
        std::vector<std::string> args;
        const char* text;
        double si;
    } rows[] = {
        // 120 s shown in minutes, or 120 typed in minutes.
        {{"--set", "TaoD=120", "--unit", "TaoD=1"}, "2", 120},
        {{"--unit", "TaoD=1", "--set", "TaoD=120"}, "120", 7200},
        {{"--set", "TaoD=60", "--unit", "TaoD=1", "--set", "TaoD=3", "--unit", "TaoD=0"},
         "180",
         180},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"calc"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        args.push_back("--json");
        const CliRun r = Cli(args);
        ASSERT_EQ(r.code, kCliOk) << r.err;
        const auto taoD = nlohmann::json::parse(r.out)["components"]["TaoD"];
        EXPECT_EQ(taoD["text"], row.text) << row.args[0];
        EXPECT_DOUBLE_EQ(taoD["si"].get<double>(), row.si) << row.args[0];
    }
    // Repeated --var rows apply in turn; a value option given twice keeps the last.
    EXPECT_EQ(Cli({"eval", "--grid", "--var", "t=1", "--var", "t=2", "t"}).out, "2\n0\n结果正确\n");
    EXPECT_EQ(Cli({"eval", "--grid", "--var", "t=-5", "t^2"}).out, "25\n0\n结果正确\n")
        << "the formula after a --var is no second value of it";
}

// The file may follow the options, also after "--" that ends them.
TEST(CliArguments, TheFileMayComeAnywhere) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"calc", "--json", kExample},
          {"calc", "--json", "--", kExample},
          {"calc", "--set", "MaoD=5", "--json", kExample}}) {
        const CliRun r = Cli(args);
        ASSERT_EQ(r.code, kCliOk) << args[2] << ": " << r.err;
        EXPECT_EQ(nlohmann::json::parse(r.out)["projectFileName"], kExample) << args[2];
    }
}

} // namespace
} // namespace kolvane
