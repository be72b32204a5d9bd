// The property library window's commands and its store, headless.
#include "TempDir.h"

#include "form/EditD.h"
#include "form/FormKolvane.h"
#include "form/SimpProps.h"
#include "form/UiServices.h"
#include "model/Errors.h"
#include "props/PropLib.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <numeric>

namespace kolvane {
namespace {

std::vector<PropertyRecord> SampleLibrary() {
    return {{"001", "水", "Water", "4180", "998", "0.001", "0.6", "0.072", "2.45e6", "常温水"},
            {"002", "氮气", "Nitrogen", "1040", "PRV:3390,126.2,89.2,0.289,0.037,28.014", "1.76e-5",
             "0.0255", "", "", "Poling 5th ed."},
            {"003", "坏数据", "Broken", "abc", "-5", "", "", "", "", ""}};
}

struct Library : testing::Test {
    testing_support::TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane main{ui};
    TFormSimpPL lib{ui, dir.path().string()};

    void SetUp() override {
        setenv("XDG_DATA_HOME", dir.file("user-data").c_str(), 1);
        SavePropLib(dir.file("PropLib.db"), SampleLibrary());
        lib.FormCreate();
    }
    void choose(const char* key) { lib.setCurrent(lib.find(key)); }
};

TEST_F(Library, ComputesAndCarriesIntoTheGroupOfTheCaller) {
    choose("水");
    lib.BBCalClick();
    EXPECT_DOUBLE_EQ(lib.result("CPD").SIValue(), 4180);
    EXPECT_DOUBLE_EQ(lib.result("HVD").SIValue(), 2.45e6);
    // The window shows kJ/(kg.K); the main field keeps its own unit.
    lib.form().get<TComboBoxU>("CPU").Select(1);
    EXPECT_EQ(lib.result("CPD").text(), "4.18");

    lib.Open("SBP2");
    ASSERT_TRUE(lib.BBOKClick(main));
    EXPECT_DOUBLE_EQ(main.field("CipD").SIValue(), 4180);
    EXPECT_DOUBLE_EQ(main.field("DeniD").SIValue(), 998);
    EXPECT_EQ(main.field("DHiD").text(), "") << "single phase: the latent heat field is disabled";

    main.list("PhiD").Select(1);
    lib.Open("SBP2v");
    ASSERT_TRUE(lib.BBOKClick(main));
    EXPECT_DOUBLE_EQ(main.field("denivD").SIValue(), 998);
    EXPECT_DOUBLE_EQ(main.field("ViivD").SIValue(), 0.001);
    EXPECT_EQ(main.field("LdiD").text(), "0.6") << "the steam button carries density and viscosity";
}

TEST_F(Library, AGasFromTheContentsButtonSetsTheExpansionCoefficient) {
    choose("Nitrogen");
    lib.BBCalClick();
    EXPECT_NEAR(lib.result("MDD").SIValue(), 1.15, 0.01); // N2 at 20 C, 100 kPa
    EXPECT_EQ(lib.result("HVD").text(), "");
    lib.Open("SBP1");
    ASSERT_TRUE(lib.BBOKClick(main));
    EXPECT_NEAR(main.field("BtoD").SIValue(), 1 / 293.15, 1e-12);
    // Without a temperature nothing is carried: the results belonged to 20 C.
    main.field("BtoD").setText("0.0005");
    lib.MyValues1().SetValueByName("t", "");
    EXPECT_FALSE(lib.BBOKClick(main));
    EXPECT_EQ(main.field("BtoD").text(), "0.0005");
    EXPECT_EQ(ui.shown.back().text, "请指定温度！");
}

// The results belong to the record, the grid and the side (steam or
// condensate) they were computed for: any other state empties them.
TEST_F(Library, ResultsBelongToTheFluidAndStateTheyWereComputedFor) {
    const std::pair<const char*, std::function<void(TFormSimpPL&)>> rows[] = {
        {"", [](TFormSimpPL& l) { l.setCurrent(0); }}, // the same record again
        {"", [](TFormSimpPL& l) { l.Open("SBP1"); }},  // the condensate's side too
        {"another record", [](TFormSimpPL& l) { l.setCurrent(1); }},
        {"t", [](TFormSimpPL& l) { l.MyValues1().SetValueByName("t", "60"); }},
        {"p", [](TFormSimpPL& l) { l.MyValues1().SetValueByName("p", "300"); }},
        {"a grid variable", [](TFormSimpPL& l) { l.MyValues1().AddParam("x", "2", "", ""); }},
        {"the record's text",
         [](TFormSimpPL& l) {
             l.BitBtn1Click(TFormSimpPL::kAccessCode);
             l.Edit("CP", "4000");
         }},
        {"the steam's side", [](TFormSimpPL& l) { l.Open("SBP2v"); }},
    };
    for (const auto& [stale, act] : rows) {
        TFormSimpPL l(ui, dir.path().string());
        l.FormCreate();
        l.Open("SBP2");
        l.BBCalClick();
        act(l);
        EXPECT_EQ(l.result("CPD").text().empty(), *stale != 0) << stale;
        EXPECT_EQ(l.resultsFor(), *stale ? "" : "001 水（t=20 °C，p=100 kPa）") << stale;
    }
}

// Water computed at 55 C, then steam chosen and confirmed without computing:
// the steam's latent heat at 300 kPa is carried, h'' - h' = 2724.9 - 561.4
// kJ/kg (IAPWS-IF97 tables), not the water's 2369.9 kJ/kg.
TEST_F(Library, ConfirmComputesTheFluidOnScreenFirst) {
    const std::string w = "IF97:", s = "IF97S:";
    lib.records() = {{"001", "水", "", w, w, w, w, w, w, ""},
                     {"002", "饱和水蒸气", "", s, s, s, s, s, s, ""}};
    main.list("PhiD").Select(1);
    lib.Open("SBP2");
    lib.MyValues1().SetValueByName("t", "55");
    lib.BBCalClick();
    choose("002");
    lib.MyValues1().SetValueByName("p", "300");
    ASSERT_TRUE(lib.BBOKClick(main));
    EXPECT_NEAR(main.field("DHiD").SIValue(), 2163.5e3, 0.5e3);
}

TEST_F(Library, ProblemsAreToldAndNeverWritten) {
    choose("003");
    lib.result("CPD").setText("123");
    try {
        lib.BBCalClick();
        FAIL() << "no message";
    } catch (const CalculationError& e) {
        ASSERT_EQ(e.lines().size(), 2u);
        EXPECT_NE(e.lines()[0].find("坏数据的比热无法计算"), std::string::npos);
    }
    EXPECT_EQ(lib.result("CPD").text(), "") << "no stale value after a failure";
    EXPECT_EQ(lib.result("MDD").text(), "");

    lib.MyValues1().SetValueByName("t", "");
    lib.result("MDD").setText("7");
    lib.BBCalClick();
    EXPECT_EQ(ui.shown.back().text, "请指定温度！");
    EXPECT_EQ(lib.result("MDD").text(), "7") << "without a temperature nothing changes";
}

TEST_F(Library, FindsANumberWithoutItsLeadingZerosOnlyWhenOneRecordIsMeant) {
    lib.records().clear();
    for (auto [no, cn] : {std::pair{"001", "水"}, {"1", "一号"}, {"010", "十号"}, {"A7", "字母"}})
        lib.records().push_back({no, cn, "", "", "", "", "", "", "", ""});
    const std::pair<const char*, int> rows[] = {
        {"001", 0},  {"1", 1},    // the exact number first
        {"01", -1},               // "001" or "1": neither is guessed
        {"10", 2},   {"0010", 2}, // other leading zeros
        {"十号", 2}, {"7", -1},   // names still; no digits picked out of "A7"
        {"", -1},    {"-1", -1},  {"1.0", -1}, {" 10", -1}, {"0", -1},
    };
    for (auto [key, index] : rows)
        EXPECT_EQ(lib.find(key), index) << "'" << key << "'";
}

TEST_F(Library, StatesOutsideARecordsRangeOrPhaseAreRefusedOnceAndLeftEmpty) {
    // CO2 boils at 1005 kPa at -40 C, NH3 at 857 kPa at 20 C.
    const std::string co2 = "PRV:7374,304.12,94.07,0.274,0.225,44.010";
    const std::string s = "IF97S:", nh3 = "VRV:11353,405.4,72.47,0.244,0.257,17.031";
    lib.records() = {{"002", "饱和水蒸气", "", s, s, s, s, s, s, "饱和线;0.6113kPa~16.529MPa"},
                     {"003", "空气", "", "1006", "1.2", "", "", "", "", "-50~400C,≤1MPa"},
                     {"006", "二氧化碳(气)", "", "", co2, "", "", "", "", "-40~400C"},
                     {"008", "氨气", "", "", nh3, "", "", "", "", ""},
                     {"009", "饱和水", "", "", "IF97L:", "", "", "", "", "0~200C"},
                     {"010", "二氧化碳(液)", "", "", co2, "", "", "", "", ""}};
    const std::array<const char*, 5> rows[] = {
        {"006", "-40", "1500", "SBP1", "二氧化碳(气): 在-40 °C、1500 kPa下为液相"},
        {"008", "20", "1000", "SBP1", "氨气: 在20 °C、1000 kPa下为液相"},
        {"010", "-40", "1500", "SBP1", ""}, // a liquid's record is not checked
        {"003", "500", "2000", "SBP1", "空气: 在500 °C、2000 kPa下超出适用范围-50~400 °C、≤1 MPa"},
        {"003", "400", "1000", "SBP1", ""}, // the bounds belong to the range
        // A saturated key is evaluated at the saturation temperature of p.
        {"002", "500", "300", "SBP2v", ""},
        {"002", "20", "17000", "SBP2v",
         "饱和水蒸气: 在17000 kPa下超出适用范围0.6113 kPa~16.529 MPa"},
        {"009", "20", "2000", "SBP1",
         "饱和水: 在2000 kPa（饱和温度212.4 °C）下超出适用范围0~200 °C"},
        {"009", "20", "30000", "SBP1", "饱和水: 在30000 kPa下超出适用范围0~200 °C"},
    };
    auto compute = [this](const char* t, const char* p) {
        lib.MyValues1().SetValueByName("t", t);
        lib.MyValues1().SetValueByName("p", p);
        lib.result("MDD").setText("7");
        try {
            lib.BBCalClick();
        } catch (const CalculationError& e) {
            return std::accumulate(e.lines().begin(), e.lines().end(), std::string());
        }
        return std::string();
    };
    for (auto [fluid, t, p, caller, told] : rows) {
        choose(fluid);
        lib.Open(caller);
        EXPECT_EQ(compute(t, p), told) << fluid << " at " << t << " C, " << p << " kPa";
        EXPECT_EQ(lib.result("MDD").text().empty(), *told != 0) << fluid << " at " << t << " C";
    }
    // A range the user writes into a note holds at once.
    lib.BitBtn1Click(TFormSimpPL::kAccessCode);
    choose("003");
    lib.Edit("NT", "改;0~30C");
    lib.Post();
    EXPECT_EQ(compute("40", "100"), "空气: 在40 °C、100 kPa下超出适用范围0~30 °C");
}

TEST_F(Library, MaintenanceNeedsTheCodeAndSavesWhatWasPosted) {
    lib.BitBtn1Click("wrong");
    EXPECT_FALSE(lib.maintenanceVisible());
    lib.BitBtn1Click(TFormSimpPL::kAccessCode);
    EXPECT_EQ(lib.activePage(), 1);

    choose("001");
    lib.Edit("CP", "4181");
    lib.Cancel();
    EXPECT_EQ(lib.currentRecord()->CP, "4180");
    lib.Edit("EN", std::string(21, 'x'));
    EXPECT_THROW(lib.Post(), Error) << "20 bytes at most";
    lib.Cancel();
    lib.Insert();
    lib.Edit("CN", "乙醇液");
    lib.Edit("CP", "2440");
    lib.Post();
    lib.BBSaveSysClick();

    TFormSimpPL again(ui, dir.path().string());
    again.FormCreate();
    ASSERT_EQ(again.records().size(), 4u);
    EXPECT_EQ(again.records().back().CN, "乙醇液");
    EXPECT_EQ(again.records().back().NO, "004");
    EXPECT_EQ(again.records()[0].CP, "4180");
}

TEST_F(Library, AMissingLibraryOpensEmptyAndSaysSo) {
    TFormSimpPL none(ui, dir.file("nowhere"));
    none.FormCreate();
    EXPECT_TRUE(none.records().empty());
    EXPECT_FALSE(none.loadProblem().empty());
    EXPECT_EQ(none.currentRecord(), nullptr);
    none.BBCalClick();
    none.Open("SBP1");
    EXPECT_FALSE(none.BBOKClick(main));
    EXPECT_EQ(main.field("CopD").text(), "");
}

TEST_F(Library, AFailedSaveChangesNothing) {
    const std::string path = dir.file("PropLib.db");
    std::vector<PropertyRecord> longer = SampleLibrary();
    longer[1].NT =
        std::string(60, 'x') + "注释注释注释注释注释注释注释注释注释注释注释"; // 104 bytes
    EXPECT_THROW(SavePropLib(path, longer), Error);
    EXPECT_EQ(LoadPropLib(path).size(), 3u);
    EXPECT_EQ(LoadPropLib(path)[1].NT, "Poling 5th ed.");
    EXPECT_THROW(SavePropLib(dir.file("no/such/folder/PropLib.db"), SampleLibrary()), IoError);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "PropLib.db") << "no temporary left behind";
}

} // namespace
} // namespace kolvane
