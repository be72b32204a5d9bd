// The page "设计研究" in the window: its studies agree with single runs,
// never change the project unless a layout is applied, go with the inputs
// they were made on, and can be cancelled.
#ifdef KOLVANE_HAVE_CHARTS
#include "../core/TempDir.h"

#include "form/FormKolvane.h"
#include "gui/MainWindow.h"
#include "gui/MyStatusBar.h"
#include "gui/ReportView.h"
#include "gui/StudyPage.h"
#include "print/StudyCharts.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;

struct StudyPageTest : testing::Test {
    TempDir dir;
    std::unique_ptr<MainWindow> window;
    StudyPage* page = nullptr;

    void SetUp() override {
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
        std::filesystem::copy_file(KOLVANE_PIPLES_DB, dir.file("Piples.db"));
        window = std::make_unique<MainWindow>(dir.path().string() + "/");
        window->show();
        window->openProject(KOLVANE_EXAMPLES_DIR "/steam-coil-reactor.kvp");
        page = window->studyPage();
        ASSERT_NE(page, nullptr);
    }
    TFormKolvane& k() { return window->kolvane(); }
    // A field typed and left, as a user does it.
    void type(fid::FieldId id, const char* text) {
        k().f(id).setText(text);
        k().MaoDExit(k().f(id));
    }
    void sweepHeatingTime(const char* from, const char* to, int points) {
        ASSERT_TRUE(page->chooseAxis(0, "TaoD"));
        ASSERT_TRUE(page->chooseAxis(1, ""));
        page->axisFrom(0)->setText(from);
        page->axisTo(0)->setText(to);
        page->axisPoints(0)->setValue(points);
        page->chooseOutputs({"AtD", "areaNeeded"});
    }
    double cell(int row, int col) { return page->sweepTable()->item(row, col)->text().toDouble(); }
};

// The charts on their own: a point without a result is a gap, not a line
// bridging it; a second input of many values draws at most twelve lines, its
// first and last among them; the band marks its percentiles.
TEST(StudyCharts, GapsLinesAndMarks) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SweepRecord one;
    one.axes = {{fid::TaoD, 1, 5, 5}};
    one.outputs = {{StudyOutput::Kind::Field, fid::AtD}};
    one.headings = {"加热时间 min", "理论面积 m2"};
    for (double x : {1, 2, 3, 4, 5})
        one.points.push_back({{x}, {x == 3 ? nan : 10 / x}, ""});
    std::unique_ptr<QChart> chart(NewSweepChart());
    FillSweepChart(chart.get(), one, 0);
    const auto pieces = chart->series();
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(static_cast<QLineSeries*>(pieces[0])->count(), 2);
    EXPECT_EQ(static_cast<QLineSeries*>(pieces[1])->count(), 2);
    EXPECT_EQ(static_cast<QLineSeries*>(pieces[1])->at(0).x(), 4);

    SweepRecord two = one;
    two.axes.push_back({fid::rvD, 1, 30, 30});
    two.headings.insert(two.headings.begin() + 1, "转速 r/S");
    two.points.clear();
    for (double x : {1, 2})
        for (int k = 1; k <= 30; ++k)
            two.points.push_back({{x, double(k)}, {x * k}, ""});
    FillSweepChart(chart.get(), two, 0);
    const auto lines = chart->series();
    ASSERT_EQ(lines.size(), kSweepChartLines);
    EXPECT_EQ(lines.front()->name(), QStringLiteral("转速 r/S = 1"));
    EXPECT_EQ(lines.back()->name(), QStringLiteral("转速 r/S = 30"));

    UncertaintyResult band;
    band.areaSamples = {1.0, 1.1, 1.2, nan, 1.3};
    band.areaNeeded = Percentiles{1.03, 1.15, 1.27};
    band.hasActualArea = true;
    band.actualArea = 1.4;
    FillBandChart(chart.get(), band);
    QStringList names;
    for (QAbstractSeries* series : chart->series())
        names << series->name();
    EXPECT_EQ(names.join('|'),
              QStringLiteral("抽样次数|P10 = 1.03|P50 = 1.15|P90 = 1.27|实际面积 = 1.4"));
}

TEST_F(StudyPageTest, ASweepAgreesWithSingleRunsGoesIntoTheReportAndGoesWithItsInputs) {
    std::vector<std::string> before;
    for (int id = 0; id < fid::kCount; ++id)
        before.push_back(k().f(static_cast<fid::FieldId>(id)).text());
    const bool changed = k().ProjectChanged();

    sweepHeatingTime("60", "120", 3);
    ASSERT_TRUE(page->runSweep(true)) << page->note()->text().toStdString();
    ASSERT_EQ(page->sweepTable()->rowCount(), 3);
    EXPECT_EQ(page->sweepTable()->horizontalHeaderItem(0)->text(), QStringLiteral("加热时间 min"));
    // The study changed nothing of the project.
    for (int id = 0; id < fid::kCount; ++id)
        EXPECT_EQ(k().f(static_cast<fid::FieldId>(id)).text(), before[static_cast<std::size_t>(id)])
            << FieldTable()[static_cast<std::size_t>(id)].name;
    EXPECT_EQ(k().ProjectChanged(), changed);

    // CSV with the fields' names and every point.
    const std::string csv = dir.file("sweep.csv");
    page->writeSweepCsv(csv);
    const std::string text = ReadBytes(csv);
    EXPECT_EQ(text.substr(0, text.find('\n')), "TaoD,AtD,areaNeeded,message");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);

    // Listed in the report when asked, with the chart on a page of its own.
    page->inReport()->setChecked(true);
    window->generateReport();
    QString report = window->reportView()->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("设计研究:"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("参数研究（3 点）")));
    EXPECT_EQ(ReportFigures(k()).size(), 2u);

    // The window's own pass at the last point gives the sweep's numbers; the
    // sweep, made on 90 min, is then cleared rather than shown for 120.
    const double area120 = cell(2, 1);
    type(fid::TaoD, "120");
    EXPECT_NEAR(k().f(fid::AtD).SIValue(), area120, 1e-6 * area120);
    ASSERT_TRUE(k().lastPass().check.areaNeeded);
    EXPECT_EQ(page->sweepTable()->rowCount(), 0);
    EXPECT_TRUE(page->note()->text().contains(QStringLiteral("已清除")));
    window->generateReport();
    report = window->reportView()->toPlainText();
    EXPECT_FALSE(report.contains(QStringLiteral("参数研究（")));
    EXPECT_EQ(ReportFigures(k()).size(), 1u);
}

TEST_F(StudyPageTest, ThePdfEndsWithTheSweepsChartOnAPageOfItsOwn) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    sweepHeatingTime("60", "120", 5);
    ASSERT_TRUE(page->runSweep(true));
    page->inReport()->setChecked(true);
    window->generateReport();
    const std::string pdf = dir.file("report.pdf");
    DialogAutoAnswer().files = {pdf};
    ASSERT_TRUE(window->exportReportPdf());
    auto pageText = [&](const char* range) {
        const std::string out = dir.file("page.txt");
        EXPECT_EQ(std::system(("pdftotext -enc UTF-8 " + std::string(range) + " '" + pdf + "' '" +
                               out + "'")
                                  .c_str()),
                  0);
        return ReadBytes(out);
    };
    const std::string all = pageText("");
    const std::size_t curve = all.find("升温曲线\n"),
                      chart = all.find("理论面积 m2 随 加热时间 min");
    ASSERT_NE(chart, std::string::npos) << all;
    ASSERT_NE(curve, std::string::npos);
    EXPECT_LT(curve, chart) << "the heating curve, then the sweep";
    // pdftotext ends each page with a form feed.
    EXPECT_NE(all.substr(curve, chart - curve).find('\f'), std::string::npos) << "a page each";
    EXPECT_NE(all.find("参数研究（5 点）"), std::string::npos);
}

TEST_F(StudyPageTest, MistakesInTheRangeAreToldNamingTheField) {
    struct Row {
        const char *from, *to;
        bool log;
        std::vector<std::string> outputs;
        const char* says;
    } rows[] = {
        {"abc", "120", false, {"AtD"}, "加热时间的范围应为两个数值"},
        {"60", "", false, {"AtD"}, "加热时间的范围应为两个数值"},
        {"-60", "120", true, {"AtD"}, "按对数分点"},
        {"60", "120", false, {}, "至少勾选"},
    };
    for (const Row& r : rows) {
        sweepHeatingTime(r.from, r.to, 3);
        page->axisLog(0)->setChecked(r.log);
        page->chooseOutputs(r.outputs);
        EXPECT_FALSE(page->runSweep(true)) << r.says;
        EXPECT_TRUE(page->note()->text().contains(QString::fromUtf8(r.says)))
            << page->note()->text().toStdString();
    }
    // The same input twice is no two-way study.
    sweepHeatingTime("60", "120", 3);
    ASSERT_TRUE(page->chooseAxis(1, "TaoD"));
    EXPECT_FALSE(page->runSweep(true));
    EXPECT_FALSE(page->running());
}

TEST_F(StudyPageTest, AnAppliedLayoutMeetsEveryLimitItClaims) {
    ASSERT_TRUE(page->runLayout(true));
    const auto& layout = k().studies().layout;
    ASSERT_TRUE(layout.has_value()) << page->note()->text().toStdString();
    ASSERT_GE(page->layoutTable()->rowCount(), 2);
    const Design best = layout->search.designs.front();
    page->applyLayout(0);

    EXPECT_DOUBLE_EQ(k().f(fid::dioD).SIValue(), best.outside);
    EXPECT_DOUBLE_EQ(k().f(fid::diiD).SIValue(), best.inside);
    EXPECT_DOUBLE_EQ(k().f(fid::DspD).SIValue(), best.pitch);
    EXPECT_DOUBLE_EQ(k().f(fid::SlD).SIValue(), best.size);
    EXPECT_TRUE(k().ProjectChanged());
    // Recalculated in the window: it reaches the target in time, within
    // the steam velocity, the pressure drop and the liquid's height.
    const PassReport& pass = k().lastPass();
    ASSERT_TRUE(pass.hasCheck && pass.check.areaNeeded);
    EXPECT_GE(k().f(fid::ArD).SIValue(), *pass.check.areaNeeded);
    EXPECT_LE(k().f(fid::UivD).SIValue(), layout->limits.steamVelocityMax);
    EXPECT_LE(k().f(fid::DpiD).SIValue(), layout->limits.maxPressureDrop);
    EXPECT_LE(k().f(fid::mD).SIValue() * best.pitch * best.outside, layout->search.heightMax);
    EXPECT_NEAR(k().f(fid::LtD).SIValue(), best.length, 1e-9 * best.length);
    // The list stays: the next row can be tried.
    ASSERT_EQ(page->layoutTable()->rowCount(), static_cast<int>(layout->search.designs.size()));
    page->applyLayout(1);
    EXPECT_DOUBLE_EQ(k().f(fid::dioD).SIValue(), layout->search.designs[1].outside);
}

TEST_F(StudyPageTest, TheBandNamesTheControllingResistanceAndARunCanBeCancelled) {
    page->samples()->setValue(400);
    // A typed property may scatter; a temperature in °C may not.
    EXPECT_EQ(page->setScatter("DenoD", 10), QString());
    EXPECT_TRUE(page->setScatter("Tom1D", 5).contains(QStringLiteral("温度以°C计")));
    ASSERT_TRUE(page->runBand(true));
    const auto& band = k().studies().band;
    ASSERT_TRUE(band && band->result.areaNeeded);
    const auto& bars = band->result.tornado;
    EXPECT_TRUE(std::any_of(bars.begin(), bars.end(), [](const TornadoBar& b) {
        return b.factor.find("±10 %") != std::string::npos;
    })) << "the density's scatter is a factor of the band";
    EXPECT_TRUE(page->bandSummary()->text().contains(
        QString::fromStdString(band->result.controllingText).toHtmlEscaped()));
    EXPECT_LE(band->result.areaNeeded->p10, band->result.areaNeeded->p90);

    // A sweep of 100 000 points, cancelled at once: the window gets control
    // back, keeps what was done and says so.
    sweepHeatingTime("60", "120", 1000);
    ASSERT_TRUE(page->chooseAxis(1, "sfD"));
    page->axisFrom(1)->setText("0");
    page->axisTo(1)->setText("50");
    page->axisPoints(1)->setValue(100);
    ASSERT_TRUE(page->runSweep(false));
    EXPECT_TRUE(page->running());
    EXPECT_FALSE(page->runBand(false)) << "one study at a time";
    page->cancel();
    QTRY_VERIFY_WITH_TIMEOUT(!page->running(), 20000);
    const auto& sweep = k().studies().sweep;
    ASSERT_TRUE(sweep.has_value());
    EXPECT_TRUE(sweep->cancelled);
    EXPECT_LT(sweep->points.size(), 100000u);
    EXPECT_TRUE(page->note()->text().contains(QStringLiteral("已取消")));
    EXPECT_EQ(window->myStatusBar()->progressBar()->value(), 0);

    // Inputs changed while a study runs: its result is not theirs.
    page->axisPoints(0)->setValue(100);
    ASSERT_TRUE(page->runSweep(false));
    type(fid::TaoD, "100");
    QTRY_VERIFY_WITH_TIMEOUT(!page->running(), 20000);
    EXPECT_FALSE(k().studies().sweep.has_value());
    EXPECT_TRUE(page->note()->text().contains(QStringLiteral("结果已放弃")))
        << page->note()->text().toStdString();
}

} // namespace
} // namespace kolvane
#endif
