// Pick lists and the reference tables behind the main window's pickers.
#include "TempDir.h"

#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "model/Errors.h"
#include "refdata/RefData.h"
#include "refdata/UnitPickList.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kolvane {
namespace {

TEST(PickList, SelectionAndEntryFollowTheCurrentValue) {
    const PickList& l = PitchList();
    TFormPickList empty(l.values, l.names, l.unit, "", l.caption, l.prompt);
    EXPECT_EQ(empty.entry(), "1.0");
    EXPECT_EQ(empty.selected(), 0);
    TFormPickList two(l.values, l.names, l.unit, "2", l.caption, l.prompt);
    EXPECT_EQ(two.selected(), 0) << "\"2\" is not \"2.0\": no row matches";
    EXPECT_EQ(two.entry(), "2");
    TFormPickList match(l.values, l.names, l.unit, "2.0", l.caption, l.prompt);
    EXPECT_EQ(match.selected(), 2);
    match.select(4); // the keyboard moves the selection only
    EXPECT_EQ(match.entry(), "2.0");
    match.click(4);
    EXPECT_EQ(match.entry(), "3.0");
    EXPECT_EQ(match.result(false), "2.0") << "cancel returns the current value";
}

// A scripted "#N" clicks row N, a whole number within the list, or fails:
// atoi read "#1e3" as row 1 and "#abc" as no row at all.
TEST(PickList, ScriptedAnswersPickTheRowTheyNameOrFail) {
    const PickList& l = PitchList();
    const std::pair<const char*, const char*> rows[] = {
        {"#1", "1.0"},     {"#05", "3.0"},           {"#6", nullptr},         {"#0", nullptr},
        {"#-1", nullptr},  {"#", nullptr},           {"#1e3", nullptr},       {"#+2", nullptr},
        {"#abc", nullptr}, {"#2147483648", nullptr}, {"#4294967297", nullptr}};
    for (const auto& [answer, entry] : rows) {
        TFormPickList list(l.values, l.names, l.unit, "2.5", l.caption, l.prompt);
        if (entry) {
            EXPECT_TRUE(ApplyScriptedPick(list, answer));
            EXPECT_EQ(list.entry(), entry) << answer;
        } else {
            EXPECT_THROW(ApplyScriptedPick(list, answer), Error) << answer;
            EXPECT_EQ(list.entry(), "2.5") << answer << ": nothing picked";
        }
    }
}

// Scripted answers that also keep what the list showed when it opened.
struct SeeingUi : ScriptedUiServices {
    int selected = -1;
    std::string entry;
    bool pickFromList(TFormPickList& l) override {
        selected = l.selected();
        entry = l.entry();
        return ScriptedUiServices::pickFromList(l);
    }
};

// A window whose program folder holds a small Piples.db.
struct Pickers : testing::Test {
    testing_support::TempDir dir;
    SeeingUi ui;
    std::unique_ptr<TFormKolvane> w;

    void SetUp() override {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dir.file("Piples.db").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(db,
                         "CREATE TABLE Piples1 (ID INTEGER PRIMARY KEY, DN TEXT, Do REAL, Di REAL);"
                         "CREATE TABLE Expand1 (ID INTEGER PRIMARY KEY, DN TEXT, Ec REAL);"
                         "INSERT INTO Piples1 VALUES (1,'38×3',0,0),(2,'57×3.5',0,0),"
                         "(3,'57x3.5',0,0),(4,'89×4',0,0);"
                         "INSERT INTO Expand1 VALUES (1,'水',2.07),(2,'苯',12.4),(3,'甘油',5.2);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
        w = std::make_unique<TFormKolvane>(ui, dir.path().string());
    }
    TEditD& field(const char* n) { return w->field(n); }
};

TEST_F(Pickers, PitchAndRoughnessFromTheirLists) {
    ui.pickAnswers = {"#3"};
    w->SBP3Click();
    EXPECT_EQ(field("DspD").text(), "2.0");

    field("EiD").setText("4.6E-5");
    ui.pickAnswers = {"cancel"};
    w->SBP5Click();
    EXPECT_EQ(field("EiD").text(), "4.6E-5") << "a cancelled pick changes nothing";
    field("EiD").setText("1E-4");
    ui.pickAnswers = {"=0.3"};
    w->SBP5Click();
    EXPECT_EQ(ui.entry, "0.10");
    EXPECT_EQ(ui.selected, 1);
    EXPECT_NEAR(field("EiD").SIValue(), 3e-4, 1e-15);
    ui.pickAnswers = {"=abc"};
    EXPECT_THROW(w->SBP5Click(), ConvertError);
    EXPECT_NEAR(field("EiD").SIValue(), 3e-4, 1e-15);
}

TEST_F(Pickers, ExpansionCoefficientsFromTheTable) {
    field("BtoD").setText("0.00052");
    ui.pickAnswers = {"#2"};
    w->SBP11Click();
    EXPECT_EQ(ui.selected, 2) << "0.00052 is glycerol's 5.2E-4";
    EXPECT_NEAR(field("BtoD").SIValue(), 12.4e-4, 1e-15);
}

TEST_F(Pickers, APipeGivesBothDiametersInTheirOwnUnits) {
    w->selectorOf(field("dioD"))->Select(3); // mm
    w->refTables().setCurrentPipe(1);
    w->Button3Click();
    EXPECT_EQ(field("dioD").text(), "57");
    EXPECT_NEAR(field("diiD").SIValue(), 0.05, 1e-15);
    EXPECT_EQ(ui.page, "TSCalc");

    w->refTables().setCurrentPipe(2); // "57x3.5": a letter x, no designation
    EXPECT_THROW(w->Button3Click(), Error);
    EXPECT_EQ(field("dioD").text(), "57");
}

TEST_F(Pickers, MaintenanceStoresEveryGoodRowAndNamesTheBadOnes) {
    w->Button2Click();
    EXPECT_NE(ui.shown.back().text.find("序号 3"), std::string::npos);
    RefTables again;
    again.open(dir.file("Piples.db"));
    ASSERT_EQ(again.pipes().size(), 4u);
    std::string stored;
    for (const PipeRow& p : again.pipes())
        stored += testing::PrintToString(p.outside) + "/" + testing::PrintToString(p.inside) + " ";
    EXPECT_EQ(stored, "38/32 57/50 0/0 89/81 ") << "the malformed row keeps what it had";
}

// What is no table file is refused at once and named: the window starts,
// and its pickers say why they have no rows. Never a shorter table.
TEST(RefData, WhatIsNoTableFileIsRefusedAndNamed) {
    for (const auto& [kind, says] : testing_support::kNoDataFiles) {
        testing_support::TempDir dir;
        const std::string path = dir.file("Piples.db");
        testing_support::MakeNoDataFile(kind, path, KOLVANE_PIPLES_DB);
        testing_support::Deadline deadline(10);
        ScriptedUiServices ui;
        TFormKolvane w(ui, dir.path().string());
        EXPECT_EQ(w.refTables().problem(), "参考数据文件" + path + says);
        EXPECT_TRUE(w.refTables().pipes().empty() && w.refTables().expansion().empty()) << kind;
        w.SBP11Click();
        EXPECT_EQ(ui.shown.back().text, "参考数据不可用：参考数据文件" + path + says);
    }
}

// Maintenance writes the file anew, only over a regular file.
TEST_F(Pickers, MaintenanceRefusesWhatTookTheFilesPlace) {
    std::filesystem::remove(dir.file("Piples.db"));
    testing_support::MakeNoDataFile("fifo", dir.file("Piples.db"));
    testing_support::Deadline deadline(10);
    EXPECT_THROW(w->Button2Click(), IoError);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("Piples.db")));
}

TEST(RefData, MissingTablesAreSaidWhenNeeded) {
    testing_support::TempDir dir;
    ScriptedUiServices ui;
    TFormKolvane w(ui, dir.path().string());
    EXPECT_FALSE(w.refTables().available());
    for (auto click : {&TFormKolvane::SBP11Click, &TFormKolvane::Button3Click}) {
        (w.*click)();
        EXPECT_NE(ui.shown.back().text.find("参考数据不可用"), std::string::npos);
    }
}

TEST(RefData, Designations) {
    EXPECT_DOUBLE_EQ(ParseDesignation("57×3.5").inside, 50);
    EXPECT_DOUBLE_EQ(ParseDesignation("219×6").outside, 219);
    for (const char* bad : {"57x3.5", "57×", "×3", "a×3", "10×5"})
        EXPECT_THROW(ParseDesignation(bad), Error) << bad;
}

// The shipped tables: every designation parses to the stored diameters, the
// series spans the coil and bundle sizes, the coefficients are those of
// liquids (mercury 1.8 to liquid ammonia 24 in 1E-4/K).
TEST(ShippedReferenceData, PipesAndLiquidsAreSound) {
    RefTables t;
    t.open(KOLVANE_PIPLES_DB);
    ASSERT_TRUE(t.available()) << t.problem();
    ASSERT_GE(t.pipes().size(), 60u);
    bool smallest = false, bundle = false;
    for (const PipeRow& p : t.pipes()) {
        const PipeSize s = ParseDesignation(p.dn);
        EXPECT_DOUBLE_EQ(s.outside, p.outside) << p.dn;
        EXPECT_NEAR(s.inside, p.inside, 1e-9) << p.dn;
        smallest = smallest || p.dn == "10×2";
        bundle = bundle || p.dn == "219×6";
    }
    EXPECT_TRUE(smallest && bundle);
    ASSERT_GE(t.expansion().size(), 25u);
    for (const ExpansionRow& e : t.expansion()) {
        EXPECT_GT(e.ec, 1) << e.name;
        EXPECT_LT(e.ec, 30) << e.name;
    }
}

} // namespace
} // namespace kolvane
