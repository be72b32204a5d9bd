// kolvane-cli prop, and the calc steps that use the property library and
// open one project after another: the arguments, exit codes and output; the
// property values themselves are tested in test_prop_formulas.cpp.
#include "TempDir.h"

#include "cli/Cli.h"
#include "props/PropLib.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <filesystem>
#include <sstream>

namespace kolvane {
namespace {

struct CliRun {
    int code;
    std::string out, err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// A library of the user's own, which is read in preference to the shipped one.
struct UserLibrary : testing::Test {
    testing_support::TempDir dir;
    void SetUp() override {
        setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
        std::filesystem::create_directories(dir.path() / "Kolvane");
        SavePropLib(dir.file("Kolvane/PropLib.db"),
                    {{"001", "水", "Water", "0,4217;20,4182;40,4179;60,4184;80,4196;100,4216",
                      "IF97:", "IF97:", "IF97:", "IF97:", "", ""},
                     {"002", "饱和水蒸气", "Saturated steam",
                      "IF97S:", "IF97S:", "IF97S:", "IF97S:", "IF97S:", "IF97S:", ""},
                     {"006", "二氧化碳(气)", "Carbon dioxide", "",
                      "PRV:7374,304.12,94.07,0.274,0.225,44.010", "", "", "", "", "-40~400C"}});
    }
};

TEST_F(UserLibrary, PropPrintsTheSixValuesOrNullAndTheList) {
    CliRun r = Cli({"prop", "--fluid", "Water", "--t", "40", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_DOUBLE_EQ(r.json()["CP"].get<double>(), 4179) << "at the --t given";
    EXPECT_TRUE(r.json()["HV"].is_null()) << "no text, no value";
    EXPECT_EQ(r.json().size(), 6u);

    CliRun list = Cli({"prop", "--list", "--json"});
    ASSERT_EQ(list.code, 0);
    EXPECT_EQ(list.json()[1]["CN"], "饱和水蒸气");
}

TEST_F(UserLibrary, PropOfOneTextAndItsMistakes) {
    CliRun r = Cli({"prop", "--text", "998", "--name", "MD", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_DOUBLE_EQ(r.json()["MD"].get<double>(), 998);
    EXPECT_EQ(r.json().size(), 1u) << "only the named property";

    CliRun noT = Cli({"prop", "--text", "4180", "--name", "CP", "--t", ""});
    EXPECT_EQ(noT.code, 1);
    EXPECT_NE(noT.err.find("请指定温度！"), std::string::npos);
    EXPECT_EQ(Cli({"prop", "--fluid", "Nothing"}).code, 1);
    EXPECT_EQ(Cli({"prop", "--text", "1", "--name", "XX"}).code, 2);
    EXPECT_EQ(Cli({"prop"}).code, 2);
}

TEST_F(UserLibrary, PropFindsNumbersAndComputesForTheButtonGiven) {
    // 300 kPa: condensate 931.8 kg/m3, steam 1.651 kg/m3 (IAPWS-IF97).
    const std::tuple<std::vector<std::string>, int, double> rows[] = {
        {{"--fluid", "2", "--p", "300"}, 0, 931.8},
        {{"--fluid", "002", "--p", "300", "--for", "sbp2V"}, 0, 1.651},
        {{"--fluid", "1", "--t", "40"}, 0, 992.2},               // not "no fluid '1'"
        {{"--fluid", "6", "--t", "20"}, 0, 1.816},               // CO2 gas at 100 kPa
        {{"--fluid", "006", "--t", "-40", "--p", "1500"}, 1, 0}, // liquid
        {{"--fluid", "002", "--for", "SBP3"}, 2, 0},
        {{"--fluid", "1", "--t", "40C"}, 2, 0}, // a number or nothing
        {{"--fluid", "1", "--t", "inf"}, 2, 0},
        {{"--fluid", "1", "--p", "1e999"}, 2, 0},
    };
    for (const auto& [args, code, density] : rows) {
        std::vector<std::string> line = {"prop", "--json"};
        line.insert(line.end(), args.begin(), args.end());
        const CliRun r = Cli(line);
        ASSERT_EQ(r.code, code) << args[1] << " " << args.back() << ": " << r.err;
        if (code == 2) continue;
        const double md = r.json()["MD"].is_null() ? 0 : r.json()["MD"].get<double>();
        EXPECT_NEAR(md, density, 0.002 * density) << args[1] << " " << args.back();
        if (code == 1) {
            EXPECT_EQ(r.err, "error: 二氧化碳(气): 在-40 °C、1500 kPa下为液相\n");
            // The gas's other formulas do not hold for the liquid either.
            for (const char* other : {"CP", "VI", "TC"})
                EXPECT_TRUE(r.json()[other].is_null()) << other;
        }
    }
}

// A user's copy that is no library is told by every command that reads it,
// not passed over for the shipped one: no list, no fluid, exit 1.
TEST_F(UserLibrary, AUsersCopyThatIsNoFileIsAnErrorForEveryCommand) {
    const std::string mine = dir.file("Kolvane/PropLib.db");
    std::filesystem::remove(mine);
    testing_support::MakeNoDataFile("fifo", mine);
    testing_support::Deadline deadline(10);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"prop", "--list"},
                                                 {"prop", "--fluid", "001"},
                                                 {"calc", "--prop", "SBP1=水"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 1) << args[1];
        EXPECT_NE(r.err.find("error: 物性库文件" + mine + "不是普通文件（是命名管道）\n"),
                  std::string::npos)
            << r.err;
    }
}

TEST_F(UserLibrary, CalcPropStepsCarryIntoEachCaller) {
    const std::string example = std::string(KOLVANE_EXAMPLES_DIR) + "/steam-coil-reactor.kvp";
    CliRun r = Cli({"calc", example, "--prop", "SBP2=002,p=300", "--prop", "SBP2v=Saturated steam",
                    "--prop", "SBP1=水,t=57.5", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto c = r.json()["components"];
    EXPECT_NEAR(c["DeniD"]["si"].get<double>(), 931.8, 0.2) << "the condensate at p=300";
    EXPECT_NEAR(c["denivD"]["si"].get<double>(), 1.651, 0.002) << "the steam, at the grid's p";
    EXPECT_NEAR(c["CopD"]["si"].get<double>(), 4183.7, 1);
    EXPECT_FALSE(c["AtD"]["si"].is_null()) << "the pass ran after the confirm";
    EXPECT_EQ(Cli({"calc", "--prop", "SBP1=Nothing"}).code, 1);
}

// Without the tables the expansion list never opens: its answer is an error.
TEST(CliPick, AnAnswerForAListThatDidNotOpenIsAnError) {
    ASSERT_FALSE(std::filesystem::exists(std::filesystem::path(ProgramFolder()) / "Piples.db"));
    const CliRun r = Cli({"calc", "--pick", "SBP11=#1", "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("error: --pick SBP11: 选择列表没有打开，未作选择"), std::string::npos);
}

TEST(CliOpen, OpensOneProjectAfterAnother) {
    const std::string dirName = KOLVANE_EXAMPLES_DIR;
    CliRun r = Cli({"calc", dirName + "/steam-coil-reactor.kvp", "--set", "TaoD=100", "--open",
                    dirName + "/hot-water-storage-tank.kvp", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = r.json();
    EXPECT_EQ(j["projectFileName"], dirName + "/hot-water-storage-tank.kvp");
    EXPECT_FALSE(j["projectChanged"].get<bool>());
    EXPECT_EQ(j["components"]["PhiD"]["index"], 0) << "nothing of the steam project is left";
    EXPECT_NE(r.err.find("question: 项目已经改变"), std::string::npos);
    EXPECT_EQ(Cli({"calc", "--open", "/no/such.kvp"}).code, 1);
}

// A pipe series beside the test program, where the CLI looks for it.
struct PipeSeries : testing::Test {
    std::string path = (std::filesystem::path(ProgramFolder()) / "Piples.db").string();
    void SetUp() override {
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(db,
                         "CREATE TABLE Piples1 (ID INTEGER PRIMARY KEY, DN TEXT, Do REAL, Di REAL);"
                         "CREATE TABLE Expand1 (ID INTEGER PRIMARY KEY, DN TEXT, Ec REAL);"
                         "INSERT INTO Piples1 VALUES (1,'38×3',38,32),(2,'57×3.5',57,50);"
                         "INSERT INTO Expand1 VALUES (1,'水',2.07),(2,'甘油',5.2);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
    }
    void TearDown() override { std::filesystem::remove(path); }
};

TEST_F(PipeSeries, RefdataListsBothTables) {
    CliRun r = Cli({"refdata", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = r.json();
    EXPECT_EQ(j["pipes"][1]["DN"], "57×3.5");
    EXPECT_EQ(j["pipes"][1]["Di"], 50);
    EXPECT_EQ(j["expansion"][1]["Ec"], 5.2);
}

TEST_F(PipeSeries, ADamagedTableIsAnErrorNotAnEmptyList) {
    testing_support::MakeNoDataFile("zeroed page", path, path);
    const CliRun r = Cli({"refdata", "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: 参考数据不可用：参考数据文件" + path +
                         "无法读取（database disk image is malformed）\n");
}

TEST_F(PipeSeries, PickAndPipeStepsAnswerTheDialogs) {
    CliRun r = Cli({"calc", "--pick", "SBP3=#3", "--pick", "SBP5==0.3", "--pick", "SBP11=#2",
                    "--pick", "SBP5=cancel", "--pipe", "2", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto c = r.json()["components"];
    EXPECT_EQ(c["DspD"]["text"], "2.0");
    EXPECT_DOUBLE_EQ(c["EiD"]["si"].get<double>(), 3e-4) << "=0.3 applied, cancel kept it";
    EXPECT_DOUBLE_EQ(c["BtoD"]["si"].get<double>(), 5.2e-4);
    EXPECT_DOUBLE_EQ(c["dioD"]["si"].get<double>(), 0.057) << "--pipe counts from 1";
    EXPECT_EQ(Cli({"calc", "--pipe", "9"}).code, 2) << "two rows: a bad argument";
    EXPECT_EQ(Cli({"calc", "--pick", "SBP11=#3"}).code, 2) << "two liquids";
    EXPECT_EQ(Cli({"calc", "--pick", "SBP1=#1"}).code, 2);
}

} // namespace
} // namespace kolvane
