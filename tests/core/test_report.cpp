// The calculation report and the heating curve.
#include "engine/Study.h"
#include "engine/Uncertainty.h"
#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/HeatingCurve.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolvane {
namespace {

struct Report : testing::Test {
    ScriptedUiServices ui;
    TFormKolvane w{ui};
    std::string text() {
        w.SBRSimpleClick();
        return ReportPlainText(w.reportDocument());
    }
};

TEST_F(Report, TitleRuleAndTheFieldsAsShown) {
    w.form().get<TComboBoxU>("MaoU").Select(1); // t: the text 2 stays in tonnes
    w.field("MaoD").setText("2");
    const std::string t = text();
    EXPECT_NE(t.find("          球罐容器传热计算报告\n"), std::string::npos);
    EXPECT_NE(t.find("        ━━━━━━━━━━━━━━━━━\n"), std::string::npos);
    // Four Chinese characters take eight cells: twelve blanks follow.
    EXPECT_NE(t.find("        加热时间" + std::string(12 + 20, ' ') + "S"), std::string::npos)
        << "an empty field still has its line";
    EXPECT_NE(t.find("        质量                2.0000              t"), std::string::npos);
    EXPECT_NE(t.find("        收敛误差            1E-6"), std::string::npos) << "as typed";
    EXPECT_EQ(w.form().get<TRichEdit>("RichEditReport").text(), t) << "the page holds the text";
    EXPECT_EQ(ui.page, "TSReport");
}

// The value column of a field showing each text: four decimals while they
// keep four significant digits, the display form otherwise; text as typed.
TEST_F(Report, NumbersKeepTheirDigitsAndTextStaysAsTyped) {
    // The number rule itself is ReportFloatStr's (its own table); here the
    // column reads the field's text.
    const std::pair<const char*, const char*> rows[] = {
        {"1.35E-5", "1.35E-0005"}, {" 0.00021", "0.00021"}, {"abc", "abc"}, {"", ""}};
    for (const auto& [shown, printed] : rows) {
        w.field("QoD").setText(shown);
        const std::string line =
            "        容器热量            " + PadCells(printed, 20) + PadCells("J", 20) + "\n";
        EXPECT_NE(text().find(line), std::string::npos) << "row '" << shown << "'";
    }
}

// The comment boxes close their side's balance, one line a line; empty ones
// and the steam pressure of a single-phase medium or without a value give
// none.
TEST_F(Report, CommentsUnderTheirGroupsAndTheSteamPressureWhenGiven) {
    auto& vessel = w.form().get<TRichEdit>("CmtoD");
    auto& tube = w.form().get<TRichEdit>("CmttD");
    std::string t = text();
    EXPECT_EQ(t.find("备注  "), std::string::npos) << "empty comments have no line";
    EXPECT_EQ(t.find("蒸汽压力"), std::string::npos);

    vessel.setText("水溶液，物性取57.5 °C\n  第二行 \n\n");
    tube.setText("饱和蒸汽");
    w.field("PivD").setText("300000");
    t = text();
    const std::string pad(28, ' ');
    EXPECT_NE(t.find(PadCells("W", 20) + "\n        备注" + std::string(16, ' ') +
                     "水溶液，物性取57.5 °C\n" + pad + "  第二行\n\n       容器参数及计算结果:"),
              std::string::npos)
        << "after the heat loss, trailing blanks and lines dropped:\n"
        << t;
    EXPECT_NE(
        t.find("        备注" + std::string(16, ' ') + "饱和蒸汽\n\n       管程参数及计算结果:"),
        std::string::npos)
        << t;
    EXPECT_EQ(t.find("蒸汽压力"), std::string::npos) << "a single-phase medium";

    w.list("PhiD").Select(1);
    w.form().get<TComboBoxU>("PivU").Select(3); // kPa: 300000 Pa shows as 300
    t = text();
    EXPECT_NE(t.find("        蒸汽压力            300.0000            kPa"), std::string::npos)
        << t;
    const std::size_t pressure = t.find("蒸汽压力"), steam = t.find("蒸汽动力粘度");
    EXPECT_TRUE(steam < pressure && pressure < t.find("管程物性及热量平衡，工艺"))
        << "in its group";
    w.field("PivD").setText(" ");
    EXPECT_EQ(text().find("蒸汽压力"), std::string::npos) << "no value, no line";
}

// The count of a coil is its turns, of a U-tube its passes, in the window
// and in the report.
TEST_F(Report, TheCoilCountsTurnsTheUTubePasses) {
    const struct {
        int form;
        const char *caption, *unit;
    } rows[] = {{1, "盘管圈数", "圈"}, {0, "管程数", "程"}, {1, "盘管圈数", "圈"}};
    w.field("mD").setText("4.5");
    for (const auto& row : rows) {
        w.list("TShapeD").Select(row.form);
        EXPECT_EQ(w.form().get<TLabel>("mL").caption(), row.caption);
        const TComboBoxU& unit = w.form().get<TComboBoxU>("mU");
        EXPECT_EQ(unit.unitLabel(), row.unit);
        EXPECT_EQ(unit.itemIndex(), 0) << "the selection a project stores stays";
        EXPECT_EQ(w.field("mD").caption(), row.caption) << "messages name it so";
        const std::string line = "        " + PadCells(row.caption, 20) + PadCells("4.5000", 20) +
                                 PadCells(row.unit, 20);
        const std::string t = text();
        EXPECT_NE(t.find(line), std::string::npos) << row.caption;
        EXPECT_EQ(t.find(row.form == 1 ? "管程数" : "圈数"), std::string::npos) << row.caption;
    }
}

TEST_F(Report, OnlyEnabledFieldsAndTheBlocksOfTheVariant) {
    // A sphere has no height and no width; unstirred, no stirrer block but
    // the expansion coefficient; single phase, no steam lines.
    std::string t = text();
    for (const char* absent : {"高度", "宽度", "搅拌器参数", "蒸汽密度", "蒸汽压力"})
        EXPECT_EQ(t.find(absent), std::string::npos) << absent;
    EXPECT_NE(t.find("膨胀系数"), std::string::npos);

    w.form().get<TCheckBox>("ifMix").Click();
    w.list("PhiD").Select(1);
    t = text();
    EXPECT_NE(t.find("       搅拌器参数:\n        搅拌器型式          涡轮式"), std::string::npos);
    EXPECT_EQ(t.find("膨胀系数"), std::string::npos);
    EXPECT_NE(t.find("蒸汽密度"), std::string::npos);
    EXPECT_EQ(t.find("蒸汽压力"), std::string::npos) << "printed only when given";
}

// The studies are listed when asked and while the calculation has the inputs
// they were made on; else a line says why they are not.
TEST(ReportStudies, ListedWhenAskedAndOnlyForTheirInputs) {
    ScriptedUiServices ui;
    TFormKolvane w{ui};
    ASSERT_TRUE(w.OpenProjectFile(KOLVANE_EXAMPLES_DIR "/steam-coil-reactor.kvp"));
    const Case base = w.lastCase();
    SweepRecord sweep;
    sweep.base = base;
    sweep.axes = {{fid::TaoD, 60, 90, 2}};
    sweep.outputs = {{StudyOutput::Kind::Field, fid::AtD}};
    sweep.headings = SweepHeadings(base, sweep.axes, sweep.outputs);
    sweep.points = RunSweep(base, sweep.axes, sweep.outputs);
    UncertaintyOptions options;
    options.samples = 200;
    w.studies().sweep = sweep;
    w.studies().band = BandRecord{base, RunUncertainty(base, options)};
    auto report = [&] {
        w.SBRSimpleClick();
        return ReportPlainText(w.reportDocument());
    };
    EXPECT_EQ(report().find("设计研究"), std::string::npos) << "not asked for";

    w.studies().inReport = true;
    std::string t = report();
    EXPECT_NE(t.find("       设计研究:\n"), std::string::npos);
    EXPECT_NE(t.find("面积的不确定度（200 次抽样，种子 1）"), std::string::npos);
    EXPECT_NE(t.find("所需面积 P10/P50/P90"), std::string::npos);
    EXPECT_NE(t.find(w.studies().band->result.controllingText), std::string::npos);
    EXPECT_NE(t.find("        加热时间 min  理论面积 m2"), std::string::npos) << t;
    // The sweep's point at 90 min is the calculation's own area.
    EXPECT_NE(t.find("        90.0000       " + FormatFixed(w.f(fid::AtD).SIValue(), 4)),
              std::string::npos)
        << t;
    EXPECT_EQ(t.find("输入已改变"), std::string::npos);

    w.f(fid::TaoD).setText("100");
    w.MaoDExit(w.f(fid::TaoD));
    t = report();
    EXPECT_EQ(t.find("参数研究（"), std::string::npos);
    EXPECT_EQ(t.find("面积的不确定度"), std::string::npos);
    EXPECT_NE(t.find("研究之后输入已改变，其结果未列入报告"), std::string::npos);
}

TEST(ReportWriters, PaddingCountsGbkCells) {
    EXPECT_EQ(PadCells("质量流量", 20), "质量流量" + std::string(12, ' '));
    EXPECT_EQ(PadCells("Steam", 20), "Steam" + std::string(15, ' '));
    EXPECT_EQ(PadCells(std::string(25, 'x'), 20), std::string(25, 'x')) << "never cut";
}

TEST(ReportWriters, RtfEscapesUserTextAndCarriesTheStyles) {
    ReportDocument doc;
    doc.AppendStyledRun("标题", "宋体", 14, 0, true, false, false, true);
    doc.AppendLine("a\\b{c}d");
    const std::string rtf = ReportRtf(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg936", 0), 0u);
    EXPECT_NE(rtf.find("\\fcharset134"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs28\\cf1\\b "), std::string::npos) << "14 pt bold";
    EXPECT_NE(rtf.find("\\u26631\\'b1\\'ea"), std::string::npos) << "标 with its GBK fallback";
    EXPECT_NE(rtf.find("a\\\\b\\{c\\}d"), std::string::npos);
    // Beyond the BMP: a surrogate pair, each half followed by its own
    // fallback, since a reader skips one character after every \u.
    doc.AppendLine("😀x");
    EXPECT_NE(ReportRtf(doc).find("{\\uc1\\u-10179?\\u-8704?}x"), std::string::npos);
    // Braces balance: a comment can neither close nor open a group.
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(HeatingCurve, ClosedFormFollowsTheBalance) {
    CurveInputs in{5000, 4000, 600, 115, 0.6, 15, 10, 20};
    const double area = 8;
    // Runge-Kutta on M c dT/dt = K A (Tm - T) - Ke Ae (T - Te).
    auto rate = [&](double T) {
        return (in.k * area * (in.tm - T) - in.ke * in.ae * (T - in.te)) / (in.m * in.c);
    };
    double T = in.t1;
    const double dt = 1;
    for (int i = 0; i < 3600; ++i) {
        const double k1 = rate(T), k2 = rate(T + dt / 2 * k1), k3 = rate(T + dt / 2 * k2),
                     k4 = rate(T + dt * k3);
        T += dt / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
    }
    EXPECT_NEAR(CurveTemperature(in, area, 3600), T, 1e-9);
    auto reach = TimeToReach(in, area, CurveTemperature(in, area, 1800));
    ASSERT_TRUE(reach);
    EXPECT_NEAR(*reach, 1800, 1e-6);
    EXPECT_FALSE(TimeToReach(in, area, 200)) << "never above what the medium allows";
}

TEST(HeatingCurve, TheTheoreticalAreaReachesTheTargetAtTheHeatingTime) {
    ScriptedUiServices ui;
    TFormKolvane w(ui, std::string(KOLVANE_EXAMPLES_DIR));
    ASSERT_TRUE(
        w.OpenProjectFile(std::string(KOLVANE_EXAMPLES_DIR) + "/hot-water-storage-tank.kvp"));
    w.MaoDExit(w.field("TaoD"));
    const std::string csv = HeatingCurveCsv(w);
    ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 102);
    const PassReport& r = w.lastPass();
    // The area stops at a 1e-4 change, so the target is met to that order.
    EXPECT_NEAR(CurveTemperature(r.curve, r.theoreticalArea, r.heatingTime), 60, 0.05);
    auto early = TimeToReach(r.curve, r.actualArea, 60);
    ASSERT_TRUE(early);
    EXPECT_LT(*early, r.heatingTime) << "the margin reaches the target earlier";
}

} // namespace
} // namespace kolvane
