#include "engine/CalcRules.h"
#include "engine/Case.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include "ExampleCases.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kolvane {
namespace {

using namespace fid;
using testing_support::SteamCoil;

// The case built by hand gives what the window shows for the example file:
// every result, and the mass flow the balance is solved for.
TEST(Case, AHandBuiltCaseGivesTheExamplesNumbers) {
    const Evaluation e = Evaluate(SteamCoil());
    ASSERT_TRUE(e.report.problems.empty()) << e.report.problems.front().text;

    ScriptedUiServices ui;
    TFormKolvane window(ui);
    ASSERT_TRUE(window.OpenProjectFile(KOLVANE_EXAMPLES_DIR "/steam-coil-reactor.kvp"));
    int compared = 0;
    for (FieldId id : PassResults()) {
        const auto shown = window.f(id).SIValueOrNull();
        if (!shown) continue;
        EXPECT_EQ(e.results.state[id], QState::Computed) << FieldTable()[id].name;
        EXPECT_NEAR(e.results[id], *shown, 1e-5 * std::fabs(*shown)) << FieldTable()[id].name;
        ++compared;
    }
    EXPECT_GE(compared, 15);
    EXPECT_EQ(e.results.state[WiD], QState::Solved);
    EXPECT_EQ(e.results.show[WiD], Show::Solved);
    EXPECT_NEAR(e.results[WiD], 0.1031504, 1e-7);
    EXPECT_NEAR(e.results[AtD], 2.934858, 1e-6);
    EXPECT_TRUE(e.report.hasCheck);
}

// What a case says when it cannot be sized, a row each: the message names
// the field as the options caption it, and the area is not computed.
TEST(Case, ARefusedOrMissingInputNamesItsFieldAndLeavesTheAreaEmpty) {
    struct Row {
        const char* name;
        void (*change)(Case&);
        const char* told; // in the problems, or "" when nothing is wrong but a missing input
        FieldId missing;  // an input the area's hint names, or kCount
    } rows[] = {
        {"no number",
         [](Case& c) {
             c[MaoD].state = QState::Refused;
             c[MaoD].text = "abc";
         },
         "质量: 'abc' 不是有效的数值", kCount},
        {"tube OD past the coil, named with its unit", [](Case& c) { c.give(dioD, 57); },
         "管外径 57 m 不小于盘管直径 1.4 m", kCount},
        {"a stirrer off the table", [](Case& c) { c.options.stirrer = 7; }, "不是有效的数值",
         kCount},
        {"an empty input", [](Case& c) { c[RoD] = {}; }, "", RoD},
    };
    for (const Row& r : rows) {
        Case c = SteamCoil();
        r.change(c);
        const Evaluation e = Evaluate(c);
        EXPECT_NE(e.results.state[AtD], QState::Computed) << r.name;
        EXPECT_EQ(TheoreticalAreaOf(c), -1) << r.name;
        if (*r.told) {
            bool found = false;
            for (const auto& p : e.report.problems)
                found = found || p.text.find(r.told) != std::string::npos;
            EXPECT_TRUE(found) << r.name << ": " << e.report.statusText();
        } else {
            ASSERT_FALSE(e.report.missing.empty()) << r.name;
            const auto& fields = e.report.missing.front().fields;
            EXPECT_NE(std::find(fields.begin(), fields.end(), FieldTable()[r.missing].name),
                      fields.end())
                << r.name;
        }
    }
}

// The options' data come from the tables by position: a copper coil wall
// conducts more than stainless steel and needs less area.
TEST(Case, MaterialsAndCaptionsFollowTheOptions) {
    Case c = SteamCoil();
    const double stainless = TheoreticalAreaOf(c);
    c.options.tubeMaterial = 2; // copper
    EXPECT_LT(TheoreticalAreaOf(c), stainless);
    EXPECT_EQ(TubeMaterials()[2].conductivity, 383.79);
    EXPECT_EQ(CaptionOf(mD, c.options), "盘管圈数");
    c.options.tube = TubeForm::UTube;
    EXPECT_EQ(CaptionOf(mD, c.options), "管程数");
    EXPECT_EQ(CaptionOf(CipD, c.options), "平均比热（管程）");
}

// Read into a case and shown again, a project is what its file says: every
// example opened and saved (a template as a template) is byte for byte the
// file it was opened from.
TEST(Case, EveryExampleOpenedAndSavedIsByteIdentical) {
    testing_support::TempDir dir;
    for (const char* name : {"hot-water-storage-tank.kvp", "steam-coil-reactor.kvp",
                             "batch-cooling-coil.kvp", "steam-coil-reactor.kvt"}) {
        const std::string file = std::string(KOLVANE_EXAMPLES_DIR "/") + name;
        ScriptedUiServices ui;
        TFormKolvane window(ui);
        ASSERT_TRUE(window.OpenProjectFile(file)) << name;
        const std::string saved = dir.file(name);
        if (std::string_view(name).ends_with(".kvt"))
            window.SaveTemplate(saved);
        else
            window.SaveProjectAs(saved);
        EXPECT_EQ(testing_support::ReadBytes(saved), testing_support::ReadBytes(file)) << name;
    }
}

} // namespace
} // namespace kolvane
