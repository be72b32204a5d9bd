#include "engine/MainFormTables.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include <gtest/gtest.h>

#include <functional>

#include <set>

namespace kolvane {
namespace {

struct Window : testing::Test {
    ScriptedUiServices ui;
    TFormKolvane w{ui};
};

TEST(MainFormTables, SixtyFieldsOverTwentyFourUnitLists) {
    EXPECT_EQ(FieldTable().size(), 60u);
    EXPECT_EQ(UnitLists().size(), 24u);
    std::set<int> used;
    for (const auto& f : FieldTable()) {
        ASSERT_GE(f.unitList, 1) << f.name;
        ASSERT_LE(f.unitList, 24) << f.name;
        used.insert(f.unitList);
    }
    EXPECT_EQ(used.size(), 24u) << "every unit list belongs to some field";
}

TEST(MainFormTables, EveryUnitFactorConvertsAndTheFirstIsOne) {
    for (const auto& list : UnitLists()) {
        ASSERT_FALSE(list.empty());
        EXPECT_DOUBLE_EQ(ItemValue(UnitItemText(list[0])), 1.0) << list[0].label;
        for (const auto& u : list) {
            EXPECT_GT(ItemValue(UnitItemText(u)), 0.0) << u.label;
            EXPECT_EQ(ItemLabel(UnitItemText(u)), u.label);
        }
    }
}

TEST(MainFormTables, EveryFieldIsLaidOutOnce) {
    std::set<std::string> laid;
    for (const auto& row : MainLayout())
        if (row.kind == ControlKind::Quantity) {
            EXPECT_TRUE(laid.insert(row.name).second) << row.name;
        }
    for (const auto& f : FieldTable())
        EXPECT_TRUE(laid.count(f.name)) << f.name;
    EXPECT_EQ(laid.size(), 60u);
}

TEST(MainFormTables, SelectorNamesFollowTheFieldNames) {
    EXPECT_EQ(SelectorName("TaoD"), "TaoU");
    EXPECT_EQ(SelectorName("DHiD"), "DhiU");
    EXPECT_EQ(LabelName("Tom1D"), "Tom1L");
}

TEST_F(Window, EveryFieldHasItsLabelAndSelector) {
    int fields = 0;
    for (const auto& row : FieldTable()) {
        TEditD& e = w.field(row.name);
        ++fields;
        ASSERT_NE(e.MyLabel(), nullptr) << row.name;
        EXPECT_EQ(e.caption(), row.caption);
        EXPECT_EQ(e.MyLabel()->name(), LabelName(row.name));
        TComboBoxU* u = w.selectorOf(e);
        ASSERT_NE(u, nullptr) << row.name;
        EXPECT_EQ(u->Associated(), &e);
        EXPECT_EQ(u->itemIndex(), 0) << "every selector starts on its first item";
        EXPECT_DOUBLE_EQ(e.exchange(), 1.0);
        EXPECT_TRUE(e.MyResolved());
    }
    EXPECT_EQ(fields, 60);
    EXPECT_NE(w.form().find("DhiU"), nullptr);
    EXPECT_EQ(w.form().find("DHiU"), w.form().find("dhiu")); // case is ignored
}

TEST_F(Window, StartingLooksFollowTheTable) {
    EXPECT_EQ(w.field("SetErrD").text(), "1E-6");
    EXPECT_EQ(w.field("TaoD").color(), kClWindow);
    EXPECT_FALSE(w.field("TaoD").readOnly());
    EXPECT_EQ(w.field("QoD").color(), kClBtnFace);
    EXPECT_TRUE(w.field("QoD").readOnly());
    EXPECT_EQ(w.field("AtD").color(), kClBtnFace);
    EXPECT_FALSE(w.field("AtD").readOnly());
    EXPECT_EQ(w.field("dioD").color(), kClBtnFace);
    EXPECT_FALSE(w.field("DHiD").enabled());
    EXPECT_FALSE(w.form().find("DHiL")->enabled());
    EXPECT_FALSE(w.form().find("DhiU")->enabled());
    EXPECT_TRUE(w.field("LaiD").enabled());
    EXPECT_EQ(w.field("PivD").fontColor(), kBlue);
    EXPECT_EQ(w.field("MaoD").fontColor(), kClWindowText);
}

TEST_F(Window, StartsUnchangedWithSaveDisabled) {
    EXPECT_FALSE(w.ProjectChanged());
    EXPECT_FALSE(w.MFSave().enabled());
    EXPECT_EQ(w.title(), "容器传热计算(Kolvane)V2012.10.01.10");
}

TEST_F(Window, ChangingACalculationFieldMarksTheProject) {
    w.field("MaoD").setText("5");
    EXPECT_TRUE(w.ProjectChanged());
    EXPECT_TRUE(w.MFSave().enabled());
}

TEST_F(Window, ComputedWritesMarkTheProjectToo) {
    PutComputedValue(w.field("QoD"), kComputedColor, 10, 1e-6);
    EXPECT_TRUE(w.ProjectChanged());
}

// Every page's edits are the project's: the vessel page, the stirrer, the
// project information, the comments, a unit. The report is made anew from
// the window and is no edit.
TEST_F(Window, EveryPagesEditsMarkTheProject) {
    const std::pair<const char*, std::function<void(TFormKolvane&)>> rows[] = {
        {"VsD KvD Ae1D WsD HsD DsD midD rvD",
         [](TFormKolvane& k) {
             for (const char* n : {"VsD", "KvD", "Ae1D", "WsD", "HsD", "DsD", "midD", "rvD"})
                 k.field(n).setText("1");
         }},
        {"OBJNameD", [](TFormKolvane& k) { k.form().get<TEdit>("OBJNameD").setText("反应釜"); }},
        {"OBJNoteD", [](TFormKolvane& k) { k.form().get<TEdit>("OBJNoteD").setText("第二批"); }},
        {"CmtoD", [](TFormKolvane& k) { k.form().get<TRichEdit>("CmtoD").setText("8 t"); }},
        {"TaoU of an empty field", [](TFormKolvane& k) { k.list("TaoU").Select(1); }},
        {"VND", [](TFormKolvane& k) { k.list("VND").Select(2); }},
        {"mitD", [](TFormKolvane& k) { k.list("mitD").Select(1); }},
        {"ifMix", [](TFormKolvane& k) { k.form().get<TCheckBox>("ifMix").Click(); }},
        {"", [](TFormKolvane& k) { k.SBRSimpleClick(); }}, // the report: no edit
    };
    for (const auto& [edit, act] : rows) {
        TFormKolvane k(ui);
        ASSERT_FALSE(k.ProjectChanged());
        act(k);
        EXPECT_EQ(k.ProjectChanged(), *edit != 0) << edit;
        EXPECT_EQ(k.MFSave().enabled(), *edit != 0) << edit;
    }
}

TEST_F(Window, ListsAndTextsOfTheCalculationPageMarkTheProject) {
    for (const char* n : {"PhoD", "SmD", "PmD", "EVTD", "TmD"}) {
        TFormKolvane fresh(ui);
        fresh.list(n).Select(0);
        EXPECT_TRUE(fresh.ProjectChanged()) << n;
    }
    for (const char* n : {"HToD", "HTiD", "LaoD"}) {
        TFormKolvane fresh(ui);
        fresh.form().get<TEdit>(n).setText("x");
        EXPECT_TRUE(fresh.ProjectChanged()) << n;
    }
    TFormKolvane fresh(ui);
    fresh.form().get<TRichEdit>("CmtoD").setText("备注");
    EXPECT_TRUE(fresh.ProjectChanged());
}

TEST_F(Window, ChoiceListsCarryTheirItems) {
    EXPECT_EQ(w.list("PhiD").items().size(), 2u);
    EXPECT_EQ(w.list("PhiD").text(), "单相流体");
    EXPECT_EQ(w.list("SmD").items().size(), 18u);
    EXPECT_EQ(w.list("TmD").items().size(), 14u);
    EXPECT_EQ(w.list("PmD").items().size(), 20u);
    EXPECT_DOUBLE_EQ(ItemValue(w.list("SmD").items()[2], 1000), 383.79);
    EXPECT_DOUBLE_EQ(ItemValue(w.list("PmD").items()[16], 1000), 0.023);
    EXPECT_EQ(ItemLabel(w.list("VND").items()[3]), "拱顶罐（水平）");
    // Stirrer coefficients sit at fixed places after the bar.
    const std::string& turbine = w.list("mitD").items()[0];
    auto bar = turbine.find('|');
    EXPECT_EQ(turbine.substr(bar + 1, 4), "1.01");
    EXPECT_EQ(turbine.substr(bar + 6, 4), "0.62");
}

TEST_F(Window, ComponentOrderPutsContainersBeforeTheirContent) {
    std::set<const Component*> seen;
    for (const auto& c : w.form().components()) {
        if (c->parent()) {
            EXPECT_TRUE(seen.count(c->parent())) << c->name();
        }
        seen.insert(c.get());
    }
    EXPECT_TRUE(Form::IsInside(w.field("midD"), *w.form().find("GBMix")));
    EXPECT_FALSE(Form::IsInside(w.field("DsD"), *w.form().find("GBMix")));
}

} // namespace
} // namespace kolvane

namespace kolvane {
namespace {

TEST_F(Window, ClearCommandAnsweredNoKeepsTheValueButMakesItAnInput) {
    TEditD& w_ = w.field("WiD");
    PutComputedValue(w_, kRelationRed, 2.5, 2e-6);
    ui.answers = {Answer::No};
    w.SBClearClick(&w_);
    EXPECT_EQ(ui.shown.back().text, "你要清除数据:质量流量?");
    EXPECT_EQ(w_.text(), "2.5");
    EXPECT_EQ(w_.color(), kClWindow);
    EXPECT_FALSE(w_.readOnly());
    EXPECT_EQ(w_.cursor(), Cursor::Default) << "the whole input look, cursor included";
}

TEST_F(Window, ClearCommandAnsweredYesEmptiesAndEnables) {
    TEditD& r = w.field("DHiD"); // disabled at start
    r.setText("2.2e6");
    ui.answers = {Answer::Yes};
    w.SBClearClick(&r);
    EXPECT_EQ(r.text(), "");
    EXPECT_TRUE(r.enabled());
    EXPECT_EQ(r.color(), kClWindow);
}

TEST_F(Window, ClearCommandWithoutAFocusedFieldDoesNothing) {
    w.SBClearClick(nullptr);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace kolvane
