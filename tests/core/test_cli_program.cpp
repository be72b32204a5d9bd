// The kolvane-cli program: it starts without Qt, and loads the PDF module
// only to write a PDF, from beside itself.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

namespace kolvane {
namespace {

using testing_support::Quoted;
using testing_support::ReadBytes;
using testing_support::Shell;
using testing_support::TempDir;

const std::string kExample = std::string(KOLVANE_EXAMPLES_DIR) + "/hot-water-storage-tank.kvp";

TEST(CliProgram, LoadsNoQtLibraryToStart) {
    if (Shell("command -v ldd").first != 0) GTEST_SKIP() << "no ldd";
    const auto [code, libraries] = Shell("ldd " + Quoted(KOLVANE_CLI));
    ASSERT_EQ(code, 0);
    EXPECT_NE(libraries.find("libstdc++"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("Qt"), std::string::npos) << libraries;
}

// The layout search over the pipe series shipped beside the program: ten
// designs ranked as asked, each with the figures an engineer compares.
TEST(CliProgram, OptimiseRanksTheShippedPipeSeries) {
    const std::string steam = std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp";
    const auto [code, out] =
        Shell(Quoted(KOLVANE_CLI) + " optimise " + Quoted(steam) + " --by mass --json 2>/dev/null");
    ASSERT_EQ(code, 0) << out;
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["by"], "mass");
    ASSERT_EQ(j["designs"].size(), 10u);
    const auto& best = j["designs"][0];
    for (const char* key : {"pipeRow", "Do_m", "Di_m", "pitch", "coilDiameter_m", "area_m2",
                            "length_m", "turnsOrPasses", "velocity_m_s", "dp_Pa", "margin"})
        EXPECT_TRUE(best.contains(key)) << key;
    EXPECT_LE(best["mass_kg"].get<double>(), j["designs"][9]["mass_kg"].get<double>());
    EXPECT_EQ(j["tried"], 67 * 5 * 20);
    EXPECT_EQ(
        Shell(Quoted(KOLVANE_CLI) + " optimise " + Quoted(steam) + " --max-dp 0.01 2>&1").first, 1);
}

#ifdef KOLVANE_CLI_PDF
TEST(CliProgram, WritesAPdfThroughTheModuleBesideIt) {
    TempDir dir;
    const std::string pdf = dir.file("r.pdf");
    const auto [code, told] = Shell(Quoted(KOLVANE_CLI) + " calc " + Quoted(kExample) +
                                    " --report " + Quoted(pdf) + " 2>&1 >/dev/null");
    EXPECT_EQ(code, 0) << told;
    ASSERT_TRUE(std::filesystem::exists(pdf)) << told;
    EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
}

TEST(CliProgram, WithoutItsModuleAPdfIsAnErrorAndTheRestWorks) {
    TempDir dir;
    const std::string cli = dir.file("kolvane-cli"), pdf = dir.file("r.pdf");
    std::filesystem::copy_file(KOLVANE_CLI, cli);
    const auto [code, told] = Shell(Quoted(cli) + " calc " + Quoted(kExample) + " --report " +
                                    Quoted(pdf) + " 2>&1 >/dev/null");
    EXPECT_EQ(code, 1) << told;
    EXPECT_NE(told.find("error: --report: 找不到PDF导出模块libkolvane-pdf.so（查找了" +
                        dir.file("libkolvane-pdf.so")),
              std::string::npos)
        << told;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    const auto [jsonCode, json] = Shell(Quoted(cli) + " calc " + Quoted(kExample) + " --json");
    EXPECT_EQ(jsonCode, 0);
    EXPECT_NE(json.find("\"AtD\""), std::string::npos);
}
#endif

} // namespace
} // namespace kolvane
