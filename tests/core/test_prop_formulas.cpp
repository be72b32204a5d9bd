#include "formula/MyValues.h"
#include "props/PropFormulas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolvane {
namespace {

// The grid as the property window starts it: t = 20 C, p = 100 kPa.
struct Grid {
    TMyValues grid;
    Grid(const char* t = "20") {
        grid.AddParam("t", t, "C", "温度");
        grid.AddParam("p", "100", "kPa", "压力");
    }
    PropertyResult eval(const char* text, const char* name = "Cp", bool liquid = false) {
        return EvaluatePropertyText(text, name, liquid, grid);
    }
};

const char* kWaterCp = "0,4217;20,4182;40,4179;60,4184;80,4196;100,4216";

TEST(PropFormulas, ConstantsPairsNotesAndLabels) {
    Grid g;
    const std::pair<const char*, double> rows[] = {{"4180", 4180},
                                                   {"20,4182", 4182},
                                                   {"Cp = 4180 ?typical", 4180},
                                                   {"  4180 <from a handbook", 4180},
                                                   {"4180 {liquid}", 4180}};
    for (auto [text, expected] : rows) {
        PropertyResult r = g.eval(text);
        ASSERT_EQ(r.kind, PropertyResult::Value) << text << ": " << r.message;
        EXPECT_DOUBLE_EQ(r.value, expected) << text;
    }
    for (const char* text : {"", "Cp = ?nothing"})
        EXPECT_EQ(g.eval(text).kind, PropertyResult::Empty) << text;
}

TEST(PropFormulas, TableWindows) {
    EXPECT_DOUBLE_EQ(TableValue(kWaterCp, 20), 4182);
    // At 70 C the window is the points at 40, 60, 80 and 100.
    std::vector<TablePoint> window = {{40, 4179}, {60, 4184}, {80, 4196}, {100, 4216}};
    EXPECT_NEAR(TableValue(kWaterCp, 70), LagrangeValue(window, 70), 1e-9);
    // Beyond the table the last four points extrapolate.
    EXPECT_NEAR(TableValue(kWaterCp, 120), LagrangeValue(window, 120), 1e-9);
    EXPECT_NEAR(TableValue("0,1000;100,958", 50), 979, 1e-9);
    EXPECT_NEAR(TableValue("0,1000;100,958;", 50), 979, 1e-9);
}

TEST(PropFormulas, MethodKeys) {
    Grid g;
    const char* pr = "PRV:4599,190.6,98.6,0.286,0.011,16.04";
    EXPECT_NEAR(g.eval(pr, "MD").value, 0.6597, 2e-4);
    EXPECT_NEAR(g.eval("XYZ:4599,190.6,98.6,0.286,0.011,16.04", "MD").value, 0.6597, 2e-4)
        << "any other key behaves like PRV";
    EXPECT_NEAR(g.eval("VRV:4599,190.6,98.6,0.286,0.011,16.04", "MD").value, 0.6593, 2e-4);
    // A key that cannot give the property is told, not written as 0.
    EXPECT_EQ(g.eval(pr, "Cp").kind, PropertyResult::Failed);
    EXPECT_EQ(g.eval("VRV:4599,190.6,98.6,0.286,0.011,16.04", "VI").kind, PropertyResult::Failed);
    // A ":" at position 10 or later is no key: the text is an expression.
    EXPECT_EQ(g.eval("123456789:1", "MD").kind, PropertyResult::Failed);
    // Undefined constants are reported.
    EXPECT_EQ(g.eval("PRV:4599,0,98.6,0.286,0.011,16.04", "MD").kind, PropertyResult::Failed);
}

TEST(PropFormulas, ExpressionsAndTheirRewriting) {
    Grid g;
    EXPECT_NEAR(g.eval("1000*(1.2+0.0021*T)").value, 1000 * (1.2 + 0.0021 * 293.15), 1e-9);
    EXPECT_NEAR(g.eval("1000*(1.2+0.0021*t)").value, 1000 * (1.2 + 0.0021 * 20), 1e-9);
    EXPECT_NEAR(g.eval("sqrt(T)").value, std::sqrt(293.15), 1e-9);
    // Upper-case names meet the rewriting of T and R: no value, but a reason.
    PropertyResult upper = g.eval("SQRT(T)");
    EXPECT_EQ(upper.kind, PropertyResult::Failed);
    EXPECT_FALSE(upper.message.empty());
    // The worked example with the residual term of the Peng-Robinson gas.
    PropertyResult cp = g.eval("Cp = (1.2+0.0021*T)*1000+PRRCP PARAMS: "
                               "4599,190.6,98.6,0.286,0.011,16.04 {gas}");
    ASSERT_EQ(cp.kind, PropertyResult::Value) << cp.message;
    EXPECT_NEAR(cp.value, (1.2 + 0.0021 * 293.15) * 1000 + 6.256, 0.05);
    EXPECT_EQ(g.eval("1000+PRRCP").kind, PropertyResult::Failed) << "no constants given";
    // A formula without variables leaves the grid's t and p alone; a new
    // variable gets its row, as the user sees what the formula needs.
    EXPECT_DOUBLE_EQ(g.eval("1000*2").value, 2000);
    EXPECT_EQ(g.grid.ValueByName("t"), "20");
    g.eval("Tr*2");
    EXPECT_GT(g.grid.FindName("r"), 0) << "a row for the new variable r";
    // "=" cannot stand in a text: the label rule cuts before it.
    EXPECT_EQ(g.eval("IF(t=20,1,2)").kind, PropertyResult::Failed);
}

TEST(PropFormulas, WaterAndSteamKeys) {
    // Saturated steam at 300 kPa(abs): 133.5 C, steam density 1.651 kg/m3,
    // latent heat 2163 kJ/kg (steam tables).
    Grid g;
    g.grid.SetValueByName("p", "300");
    EXPECT_NEAR(g.eval("IF97S:", "MD", false).value, 931.8, 0.5) << "the condensate";
    EXPECT_NEAR(EvaluatePropertyText("IF97S:", "MD", false, g.grid, true).value, 1.651, 0.005)
        << "the steam, opened from the steam button";
    EXPECT_NEAR(g.eval("IF97V:", "MD").value, 1.651, 0.005);
    EXPECT_NEAR(g.eval("IF97S:", "HV").value, 2163.4e3, 1e3);
    // Liquid water at 20 C, 100 kPa.
    g.grid.SetValueByName("p", "100");
    EXPECT_NEAR(g.eval("IF97:", "MD", true).value, 998.2, 0.1);
    EXPECT_NEAR(g.eval("IF97:", "Cp", true).value, 4184, 2);
    EXPECT_NEAR(g.eval("IF97:", "VI", true).value, 1.0016e-3, 2e-6);
}

TEST(PropFormulas, ValuesThatCannotBePropertiesAndNoTemperatureAreRefused) {
    Grid g;
    for (const char* text : {"0", "-5", "1/0", "0,1;1,2;2,1;3,-50"})
        EXPECT_EQ(g.eval(text).kind, PropertyResult::Failed) << text;
    const PropertyResult noT = Grid("").eval("4180");
    EXPECT_EQ(noT.kind, PropertyResult::NoTemperature);
    EXPECT_EQ(noT.message, "请指定温度！");
}

} // namespace
} // namespace kolvane
