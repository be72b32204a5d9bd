#include "engine/FormKolvane.h"
#include "engine/UiServices.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <numbers>

namespace kolvane {
namespace {

struct VesselPage : testing::Test {
    ScriptedUiServices ui;
    TFormKolvane w{ui};
    void type(const char* name, const char* text) {
        w.field(name).setText(text);
        if (w.field(name).onExit) w.field(name).onExit(w.field(name));
    }
    double si(const char* name) { return w.field(name).SIValue(); }
};

TEST_F(VesselPage, SphereSolvesItsDiameterAndWettedArea) {
    type("VsD", "10");
    type("KvD", "0.8");
    EXPECT_NEAR(si("DsD"), 2 * 1.3365, 1e-3);
    EXPECT_EQ(w.field("DsD").color(), kRelationSphere);
    EXPECT_NEAR(si("Ae1D"), 16.00, 5e-3);
    EXPECT_EQ(w.field("Ae1D").color(), kComputedColor);
    EXPECT_FALSE(w.ProjectChanged()) << "geometry edits do not mark the project";
}

TEST_F(VesselPage, CylinderSolvesItsVolume) {
    w.list("VND").Select(1);
    type("DsD", "2");
    type("HsD", "3");
    type("KvD", "0.8");
    EXPECT_NEAR(si("VsD"), 9.425, 5e-4);
    EXPECT_EQ(w.field("VsD").color(), kRelationCylinder);
    EXPECT_NEAR(si("Ae1D"), 18.22, 5e-3);
}

TEST_F(VesselPage, TwoEmptyMembersSolveNothing) {
    w.list("VND").Select(2);
    type("DsD", "2");
    type("KvD", "0.8");
    EXPECT_EQ(w.field("VsD").text(), "");
    EXPECT_EQ(w.field("Ae1D").text(), "");
}

TEST_F(VesselPage, PickingAShapeEmptiesTheGeometryAndSetsTheCaptions) {
    type("VsD", "10");
    type("KvD", "0.8");
    w.list("VND").Select(3);
    for (const char* n : {"VsD", "KvD", "Ae1D", "DsD", "HsD", "WsD"}) {
        EXPECT_EQ(w.field(n).text(), "") << n;
        EXPECT_EQ(w.field(n).color(), kClWindow) << n;
        EXPECT_FALSE(w.field(n).readOnly()) << n;
    }
    EXPECT_EQ(w.form().get<TLabel>("HsL").caption(), "长度");
    EXPECT_EQ(w.form().get<TLabel>("DsL").caption(), "直径");
    EXPECT_TRUE(w.field("HsD").enabled());
    EXPECT_FALSE(w.field("WsD").enabled());
    w.list("VND").Select(2);
    EXPECT_EQ(w.form().get<TLabel>("DsL").caption(), "长度");
    EXPECT_EQ(w.form().get<TLabel>("HsL").caption(), "高度");
    EXPECT_TRUE(w.field("WsD").enabled());
    EXPECT_TRUE(w.form().find("WsU")->enabled());
    w.list("VND").Select(0);
    EXPECT_FALSE(w.field("HsD").enabled());
    EXPECT_FALSE(w.form().find("HsL")->enabled());
}

TEST_F(VesselPage, StirrerTypeKeepsTheGeometry) {
    type("VsD", "10");
    type("KvD", "0.8");
    w.list("mitD").Select(2);
    EXPECT_EQ(w.field("VsD").text(), "10");
    EXPECT_NE(w.field("Ae1D").text(), "");
}

struct FillRow {
    const char* name;
    const char* kv;
};

class FillOutOfRange : public testing::TestWithParam<FillRow> {};

TEST_P(FillOutOfRange, NoAreaAndAStatusMessage) {
    ScriptedUiServices ui;
    TFormKolvane w(ui);
    for (auto [n, t] : {std::pair{"VsD", "10"}, {"KvD", GetParam().kv}}) {
        w.field(n).setText(t);
        w.field(n).onExit(w.field(n));
    }
    EXPECT_EQ(w.field("Ae1D").text(), "");
    EXPECT_EQ(ui.status[1], "错误：充装系数应在0与1之间。");
    EXPECT_EQ(ui.beeps, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, FillOutOfRange,
                         testing::Values(FillRow{"above_one", "1.2"}, FillRow{"negative", "-0.1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VesselPage, ConfirmCarriesAreaAndMass) {
    type("VsD", "10");
    type("KvD", "0.8");
    w.form().get<TButton>("BTVessel").Click();
    EXPECT_EQ(w.field("AeD").text(), "") << "no density yet: nothing is carried over";
    EXPECT_EQ(ui.status[1], "确定还需要：密度（容器）")
        << "and the status bar says what is missing";
    EXPECT_EQ(ui.beeps, 1);
    w.field("DenoD").setText("1000");
    w.form().get<TButton>("BTVessel").Click();
    EXPECT_NEAR(si("AeD"), si("Ae1D"), 1e-12);
    EXPECT_NEAR(si("MaoD"), 8000, 1e-9);
    EXPECT_EQ(w.field("MaoD").color(), kClWindow) << "a plain write keeps the input look";
    EXPECT_TRUE(w.ProjectChanged());
}

TEST_F(VesselPage, StirringSwitchesTheStirrerGroupAndTheExpansionCoefficient) {
    EXPECT_FALSE(w.field("midD").enabled());
    EXPECT_FALSE(w.list("mitD").enabled());
    EXPECT_TRUE(w.field("BtoD").enabled());
    w.form().get<TCheckBox>("ifMix").Click();
    EXPECT_TRUE(w.field("midD").enabled());
    EXPECT_TRUE(w.field("rvD").enabled());
    EXPECT_TRUE(w.form().find("midU")->enabled());
    EXPECT_FALSE(w.field("BtoD").enabled());
    EXPECT_FALSE(w.form().find("BtoL")->enabled());
    EXPECT_TRUE(w.form().find("BtoU")->enabled()) << "its unit selector is left alone";
}

TEST_F(VesselPage, BladeCheck) {
    w.form().get<TCheckBox>("ifMix").Click();
    w.setProjectChanged(false); // the pass the switch runs wrote its results
    type("DsD", "2");
    // The page says it in its status text; the pass that follows refuses the
    // blade for the stirred correlation too.
    EXPECT_THROW(type("midD", "2"), CalculationError);
    EXPECT_EQ(ui.status[1], "浆叶直径: 应小于容器直径");
    EXPECT_NE(
        std::find_if(ui.shown.begin(), ui.shown.end(),
                     [](const auto& s) { return s.text == "错误：浆叶直径大于等于容器内径。"; }),
        ui.shown.end());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(w.field("midD").text(), "2");
    EXPECT_FALSE(w.ProjectChanged());
    type("midD", "0.7");
    EXPECT_TRUE(w.ProjectChanged());
    EXPECT_EQ(ui.beeps, 1);
}

} // namespace
} // namespace kolvane
