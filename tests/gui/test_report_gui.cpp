#include "../core/TempDir.h"

#include "form/Controls.h"
#include "form/FormKolvane.h"
#include "gui/MainWindow.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "gui/CurvePage.h"
#include <QLineSeries>
#endif
#include "gui/ReportView.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QTabWidget>
#include <QTextCursor>
#include <filesystem>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;

struct ReportGuiTest : testing::Test {
    TempDir dir;
    std::unique_ptr<MainWindow> window;
    AutoAnswer& answers = DialogAutoAnswer();

    void SetUp() override {
        answers = AutoAnswer{};
        answers.on = true;
        window = std::make_unique<MainWindow>(dir.path().string() + "/");
        window->show();
        window->openProject(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp");
    }
    int pageIndex(const char* caption) const {
        for (int i = 0; i < window->pages()->count(); ++i)
            if (window->pages()->tabText(i) == QString::fromUtf8(caption)) return i;
        return -1;
    }
    QString shown() const { return window->reportView()->toPlainText(); }
};

TEST_F(ReportGuiTest, ThePageMakesTheReportWhenItComesForward) {
    window->pages()->setCurrentIndex(1);
    window->kolvane().form().get<TRichEdit>("RichEditReport").setText("旧的报告");
    EXPECT_EQ(shown(), QStringLiteral("旧的报告")); // loaded text, nothing generated yet
    window->pages()->setCurrentIndex(pageIndex("计算报告"));
    EXPECT_TRUE(shown().contains(QStringLiteral("容器传热计算报告")));
    EXPECT_FALSE(shown().contains(QStringLiteral("旧的报告")));
    EXPECT_TRUE(window->reportView()->isReadOnly());
    // The title is bold at 14 points.
    QTextCursor c = window->reportView()->document()->find(QStringLiteral("容器传热计算报告"));
    ASSERT_FALSE(c.isNull());
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 14.0);
    // A selection shrinks to the caret.
    QTextCursor all(window->reportView()->document());
    all.select(QTextCursor::Document);
    window->reportView()->setTextCursor(all);
    EXPECT_FALSE(window->reportView()->textCursor().hasSelection());
}

// Saved as RTF under the project's name; a folder that is not there is no
// success, leaves no file and is told. The PDF export goes the same way
// (ReportPdf.TheCommandLineAndTheWindowWriteTheReportPagesAndTheChart).
TEST_F(ReportGuiTest, SaveWritesItsFileAndAFailedOneIsNoSuccess) {
    window->generateReport();
    const std::string path = dir.file("tank.doc"), bad = dir.file("no/tank.doc");
    answers.files = {path};
    EXPECT_TRUE(window->saveReport());
    ASSERT_EQ(answers.fileNames.size(), 1u);
    EXPECT_EQ(std::filesystem::path(answers.fileNames[0]).filename(), "hot-water-storage-tank.doc");
    EXPECT_EQ(ReadBytes(path).substr(0, 6), "{\\rtf1");
    EXPECT_TRUE(answers.shown.empty());
    answers.files = {bad};
    EXPECT_FALSE(window->saveReport());
    EXPECT_FALSE(std::filesystem::exists(bad));
    EXPECT_EQ(answers.shown.size(), 1u) << "the error is told";
    EXPECT_FALSE(window->saveReport()) << "cancelled";
}

TEST_F(ReportGuiTest, PrintingWithoutPrinterSaysSo) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    EXPECT_FALSE(window->printReport());
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_NE(answers.shown[0].find("打印机"), std::string::npos);
}

#ifdef KOLVANE_HAVE_CHARTS
TEST_F(ReportGuiTest, TheCurvePageDrawsTheLastPass) {
    CurvePage* curve = window->curvePage();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(pageIndex("升温曲线"), pageIndex("计算报告") + 1);
    EXPECT_TRUE(curve->hasCurve());
    ASSERT_EQ(curve->theoretical()->count(), 101);
    ASSERT_EQ(curve->actual()->count(), 101);
    EXPECT_DOUBLE_EQ(curve->theoretical()->at(0).y(), window->kolvane().lastPass().curve.t1);
    EXPECT_GT(curve->theoretical()->at(100).y(), curve->theoretical()->at(0).y());
    EXPECT_NE(curve->note(), QStringLiteral("需要理论面积才能绘制升温曲线"));

    // Without the mass there is no theoretical area: the hint, no curves.
    window->kolvane().field("MaoD").setText("");
    window->guarded([this] { window->kolvane().MaoDExit(window->kolvane().field("MaoD")); });
    EXPECT_FALSE(window->kolvane().lastPass().hasCurve);
    EXPECT_FALSE(curve->hasCurve());
    EXPECT_EQ(curve->theoretical()->count(), 0);
    EXPECT_EQ(curve->note(), QStringLiteral("需要理论面积才能绘制升温曲线"));
}
#endif

} // namespace
} // namespace kolvane
