#include "cli/Cli.h"
#include "cli/FormJson.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolvane {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Calc(std::vector<std::string> args) {
    args.insert(args.begin(), "calc");
    std::ostringstream out, err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CliCalc, SetAndUnitStepsRunInOrder) {
    CliRun r = Calc({"--set", "TaoD=120", "--unit", "TaoD=1", "--json"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(R"("TaoD":{"kind":"EditD","text":"2","exchange":60,"si":120,)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(R"("unitIndex":1,"unit":"min","caption":"加热时间")"), std::string::npos);
    EXPECT_NE(r.out.find(R"("projectChanged":true)"), std::string::npos);
    EXPECT_NE(r.out.find(R"("title":"容器传热计算(Kolvane)V2012.10.01.10")"), std::string::npos);
}

TEST(CliCalc, SelectorNameWorksLikeTheFieldName) {
    CliRun r = Calc({"--set", "MaoD=5000", "--unit", "MaoU=1", "--json"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find(R"("MaoD":{"kind":"EditD","text":"5",)"), std::string::npos);
}

TEST(CliCalc, NonNumericTextHasNullSi) {
    CliRun r = Calc({"--set", "MaoD=abc", "--json"});
    EXPECT_NE(r.out.find(R"("text":"abc","exchange":1,"si":null,"display":"abc")"),
              std::string::npos);
}

TEST(CliCalc, StepErrorIsReportedAndLaterStepsStillRun) {
    CliRun r = Calc({"--unit", "TaoD=7", "--set", "TaoD=60", "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("error: "), std::string::npos);
    EXPECT_NE(r.out.find(R"("TaoD":{"kind":"EditD","text":"60")"), std::string::npos);
}

TEST(CliCalc, BadArgumentsExitWithTwoAndRunNothing) {
    EXPECT_EQ(Calc({"--set", "TaoD"}).code, 2);
    EXPECT_EQ(Calc({"--set"}).code, 2);
    EXPECT_EQ(Calc({"--bogus"}).code, 2);
    EXPECT_EQ(Calc({"--set", "NoSuchD=1"}).code, 2);
    EXPECT_EQ(Calc({"--unit", "TaoD=x"}).code, 2);
    EXPECT_EQ(Calc({"--check", "ifMix=2"}).code, 2);
    EXPECT_EQ(Calc({"--choose", "TaoD=1"}).code, 2);
    EXPECT_EQ(Calc({"--press", "TaoD"}).code, 2);
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({}, out, err), 2);
    EXPECT_EQ(RunCli({"frobnicate"}, out, err), 2);
}

TEST(CliCalc, CheckAndChooseSetTheirControls) {
    CliRun r = Calc({"--check", "ifMix=1", "--choose", "EVTD=1", "--json"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(R"("ifMix":{"kind":"CheckBox","checked":true,"enabled":true})"),
              std::string::npos);
    EXPECT_NE(r.out.find(R"("EVTD":{"kind":"ComboBox","index":1,"text":"地表","enabled":true})"),
              std::string::npos);
}

TEST(CliCalc, ReadableTableShowsDisplayFormAndUnits) {
    CliRun r = Calc({"--set", "TaoD=0.00001234"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("加热时间"), std::string::npos);
    EXPECT_NE(r.out.find("1.234E-0005"), std::string::npos);
    EXPECT_NE(r.out.find("1E-0006"), std::string::npos); // the starting tolerance
}

TEST(CliCalc, DisplayWidthCountsChineseAsTwoCells) {
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth("加热时间"), 8u);
    EXPECT_EQ(DisplayWidth("m2·K"), 4u);
}

} // namespace
} // namespace kolvane
