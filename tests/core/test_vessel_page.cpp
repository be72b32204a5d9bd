#include "engine/FormKolvane.h"
#include "engine/UiServices.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    std::string caption(const char* name) { return w.form().get<TLabel>(name).caption(); }
};

// The shape's relation solves its one empty member; two empty members solve
// nothing. Geometry edits mark the project changed, as every edit does.
TEST_F(VesselPage, TheShapesRelationSolvesItsEmptyMemberAndTheWettedArea) {
    using Inputs = std::vector<std::pair<const char*, const char*>>;
    const struct {
        int shape;
        Inputs inputs;
        const char* solved;
        double value, tolerance, area; // area < 0: nothing solved
        Color look;
    } rows[] = {{0, {{"VsD", "10"}}, "DsD", 2 * 1.3365, 1e-3, 16.00, kRelationSphere},
                {1, {{"DsD", "2"}, {"HsD", "3"}}, "VsD", 9.425, 5e-4, 18.22, kRelationCylinder},
                {2, {{"DsD", "2"}}, "VsD", 0, 0, -1, kClWindow}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.solved + std::string(" shape ") + std::to_string(r.shape));
        w.list("VND").Select(r.shape);
        w.setProjectChanged(false);
        for (const auto& [name, text] : r.inputs)
            type(name, text);
        type("KvD", "0.8");
        if (r.area < 0) {
            EXPECT_EQ(w.field(r.solved).text(), "");
            EXPECT_EQ(w.field("Ae1D").text(), "");
            continue;
        }
        EXPECT_NEAR(si(r.solved), r.value, r.tolerance);
        EXPECT_EQ(w.field(r.solved).color(), r.look);
        EXPECT_NEAR(si("Ae1D"), r.area, 5e-3);
        EXPECT_EQ(w.field("Ae1D").color(), kComputedColor);
        EXPECT_TRUE(w.ProjectChanged()) << "the geometry is kept with the project";
    }
}

TEST_F(VesselPage, PickingAShapeEmptiesTheGeometryAndSetsTheCaptionsTheStirrerKeepsIt) {
    type("VsD", "10");
    type("KvD", "0.8");
    w.list("mitD").Select(2);
    EXPECT_EQ(w.field("VsD").text(), "10") << "the stirrer type keeps the geometry";
    EXPECT_NE(w.field("Ae1D").text(), "");
    w.list("VND").Select(3);
    for (const char* n : {"VsD", "KvD", "Ae1D", "DsD", "HsD", "WsD"}) {
        EXPECT_EQ(w.field(n).text(), "") << n;
        EXPECT_EQ(w.field(n).color(), kClWindow) << n;
        EXPECT_FALSE(w.field(n).readOnly()) << n;
    }
    EXPECT_EQ(caption("HsL") + "|" + caption("DsL"), "长度|直径");
    EXPECT_TRUE(w.field("HsD").enabled());
    EXPECT_FALSE(w.field("WsD").enabled());
    w.list("VND").Select(2);
    EXPECT_EQ(caption("HsL") + "|" + caption("DsL"), "高度|长度");
    EXPECT_TRUE(w.field("WsD").enabled());
    EXPECT_TRUE(w.form().find("WsU")->enabled());
    w.list("VND").Select(0);
    EXPECT_FALSE(w.field("HsD").enabled());
    EXPECT_FALSE(w.form().find("HsL")->enabled());
}

TEST(VesselFill, OutOfRangeGivesNoAreaAndAStatusMessage) {
    for (const char* kv : {"1.2", "-0.1"}) {
        ScriptedUiServices ui;
        TFormKolvane w(ui);
        for (auto [n, t] : {std::pair{"VsD", "10"}, {"KvD", kv}}) {
            w.field(n).setText(t);
            w.field(n).onExit(w.field(n));
        }
        EXPECT_EQ(w.field("Ae1D").text(), "") << kv;
        EXPECT_EQ(ui.status[1], "错误：充装系数应在0与1之间。") << kv;
        EXPECT_EQ(ui.beeps, 1) << kv;
    }
}

TEST_F(VesselPage, ConfirmCarriesAreaAndMass) {
    type("VsD", "10");
    type("KvD", "0.8");
    w.form().get<TButton>("BTVessel").Click();
    EXPECT_EQ(w.field("AeD").text(), "") << "no density yet: nothing is carried over";
    EXPECT_EQ(ui.status[1], "确定还需要：密度（容器）") << "the status bar says what is missing";
    EXPECT_EQ(ui.beeps, 1);
    w.field("DenoD").setText("1000");
    w.form().get<TButton>("BTVessel").Click();
    EXPECT_NEAR(si("AeD"), si("Ae1D"), 1e-12);
    EXPECT_NEAR(si("MaoD"), 8000, 1e-9);
    EXPECT_EQ(w.field("MaoD").color(), kClWindow) << "a plain write keeps the input look";
    EXPECT_TRUE(w.ProjectChanged());
}

TEST_F(VesselPage, StirringSwitchesTheStirrerGroupAndTheExpansionCoefficient) {
    auto on = [&](std::initializer_list<const char*> names) {
        std::string s;
        for (const char* n : names)
            s += w.form().find(n)->enabled() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(on({"midD", "mitD", "BtoD"}), "001");
    w.form().get<TCheckBox>("ifMix").Click();
    // The expansion coefficient's unit selector is left alone.
    EXPECT_EQ(on({"midD", "rvD", "midU", "BtoD", "BtoL", "BtoU"}), "111001");
}

TEST_F(VesselPage, BladeCheck) {
    w.form().get<TCheckBox>("ifMix").Click();
    type("DsD", "2");
    // The page says it in its status text; the pass that follows refuses the
    // blade for the stirred correlation too.
    EXPECT_THROW(type("midD", "2"), CalculationError);
    EXPECT_EQ(ui.status[1], "浆叶直径: 应小于容器直径");
    EXPECT_TRUE(std::any_of(ui.shown.begin(), ui.shown.end(), [](const auto& s) {
        return s.text == "错误：浆叶直径大于等于容器内径。";
    }));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(w.field("midD").text(), "2");
    type("midD", "0.7");
    EXPECT_EQ(ui.beeps, 1);
}

} // namespace
} // namespace kolvane
