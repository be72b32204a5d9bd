#include "form/FormKolvane.h"
#include "form/UiServices.h"

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

// A refused value is told as on the calculation page: a message once, the
// field framed (a problem of the report), the focus back in it; the status
// bar says it while it holds, after any field, and not once corrected.
TEST_F(VesselPage, ARefusedValueIsToldOnceAndLeavesOnceCorrected) {
    const std::string fill = "充装系数: 应在0与1之间";
    const struct {
        const char *name, *text;
        bool told, holds;
    } rows[] = {{"KvD", "1.2", true, true},
                {"VsD", "12", false, true},
                {"MaoD", "5000", false, true},
                {"KvD", "0.8", false, false},
                {"KvD", "-0.1", true, true}};
    type("VsD", "10");
    for (const auto& r : rows) {
        ui.focused.clear();
        bool told = false;
        try {
            type(r.name, r.text);
        } catch (const CalculationError& e) {
            told = e.lines() == std::vector<std::string>{fill};
        }
        const auto& problems = w.lastPass().problems;
        EXPECT_EQ(told, r.told) << r.name << r.text;
        EXPECT_EQ(ui.focused, r.told ? "KvD" : "") << r.name << r.text;
        EXPECT_EQ(ui.status[1].find(fill) != std::string::npos, r.holds) << r.name << r.text;
        EXPECT_EQ(std::any_of(problems.begin(), problems.end(),
                              [](const auto& p) { return p.field == "KvD"; }),
                  r.holds)
            << r.name << r.text;
        EXPECT_EQ(w.field("Ae1D").text().empty(), r.holds) << r.name << r.text;
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

// The blade is checked by the pass the stirred page runs: told once.
TEST_F(VesselPage, ABladeAsWideAsTheVesselIsRefusedOnce) {
    w.form().get<TCheckBox>("ifMix").Click();
    type("DsD", "2");
    EXPECT_THROW(type("midD", "2"), CalculationError);
    EXPECT_EQ(ui.status[1], "浆叶直径 2 m 不小于容器直径 2 m");
    EXPECT_NO_THROW(type("rvD", "1"));
    EXPECT_NO_THROW(type("midD", "0.7"));
    EXPECT_EQ(ui.status[1].find("浆叶直径"), std::string::npos);
}

// "确定" asks before it replaces a typed mass that is not the filled mass
// (8 t here) within 0.1 %; 否 keeps it, and the area goes over either way.
TEST_F(VesselPage, ConfirmAsksBeforeReplacingATypedMass) {
    const struct {
        const char* typed; // t
        Answer answer;
        const char* asked; // "" when nothing is asked
        const char* mass;
    } rows[] = {{"", Answer::No, "", "8"},
                {"8.004", Answer::No, "", "8"},
                {"8.2", Answer::Yes, "质量中已输入8.2 t，", "8"},
                {"8.2", Answer::No, "为8 t，相差2.5%", "8.2"},
                {"8 t", Answer::No, "保留8 t，", "8 t"}};
    for (const auto& r : rows) {
        ScriptedUiServices u;
        TFormKolvane k(u);
        k.selectorOf(k.field("MaoD"))->Select(1);
        for (auto [n, t] : {std::pair{"VsD", "10"}, {"KvD", "0.8"}, {"DenoD", "1000"}}) {
            k.field(n).setText(t);
            if (k.field(n).onExit) k.field(n).onExit(k.field(n));
        }
        k.field("MaoD").setText(r.typed);
        u.answers = {r.answer};
        try {
            k.form().get<TButton>("BTVessel").Click();
        } catch (const CalculationError&) { // the pass refuses a mass in words
        }
        std::string q;
        for (const auto& shown : u.shown)
            if (shown.kind == "question") q = shown.text;
        EXPECT_EQ(q.empty(), !*r.asked) << r.typed;
        EXPECT_NE(q.find(r.asked), std::string::npos) << q;
        EXPECT_EQ(k.field("MaoD").text(), r.mass) << r.typed;
        EXPECT_EQ(k.field("AeD").text(), k.field("Ae1D").text()) << r.typed;
    }
}

} // namespace
} // namespace kolvane
