// The report's pages: columns on their cells on screen and on PDF pages,
// and the PDF exports of the window and of kolvane-cli.
#include "../core/TempDir.h"

#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/MainWindow.h"
#include "print/ReportPages.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "print/CurveChart.h"
#endif
#include "report/Report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDate>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>

namespace kolvane {
namespace {

using testing_support::Quoted;
using testing_support::Shell;

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

const char* const kExamples[] = {"hot-water-storage-tank.kvp", "steam-coil-reactor.kvp",
                                 "batch-cooling-coil.kvp"};

std::string Example(const char* name) {
    return std::string(KOLVANE_EXAMPLES_DIR) + "/" + name;
}

ReportDocument ReportOf(const char* example) {
    ScriptedUiServices ui;
    TFormKolvane w(ui, KOLVANE_EXAMPLES_DIR);
    EXPECT_TRUE(w.OpenProjectFile(Example(example)));
    w.MaoDExit(w.field("TaoD"));
    w.SBRSimpleClick();
    return w.reportDocument();
}

// Where each column of a data line begins: the cells of 8 blanks and of the
// 20-cell columns, where a text follows a blank. Text positions in UTF-16.
std::vector<std::pair<int, std::size_t>> ColumnStarts(const QString& line) {
    std::vector<std::pair<int, std::size_t>> starts;
    std::size_t cells = 0;
    for (int i = 0; i < line.size(); ++i) {
        const bool start = i > 0 && line[i - 1] == ' ' && line[i] != ' ';
        if (start && cells >= 8 && (cells - 8) % 20 == 0) starts.emplace_back(i, cells);
        cells += TextCells(line.mid(i, 1).toStdString());
    }
    return starts;
}

// Every column of every data line starts at its cells times the width of a
// blank, on the device the document is laid out for.
void ExpectColumnsOnTheirCells(QTextDocument& text, const char* where) {
    int checked = 0;
    for (QTextBlock b = text.begin(); b.isValid(); b = b.next()) {
        const QString line = b.text();
        if (!line.startsWith(QString(8, ' ')) || line.size() <= 8 || line[8] == ' ') continue;
        QTextLine l = b.layout()->lineAt(0);
        const qreal cell = (l.cursorToX(8) - l.cursorToX(0)) / 8;
        ASSERT_GT(cell, 0);
        for (const auto& [pos, cells] : ColumnStarts(line)) {
            // A twentieth of a blank (0.1 mm on paper): what the PDF's
            // rounding of each Chinese character's advance adds up to
            // over a line.
            EXPECT_NEAR(l.cursorToX(pos) - l.cursorToX(0), cells * cell, cell * 0.05)
                << where << ": column at cell " << cells << " of '" << line.toStdString() << "'";
            ++checked;
        }
    }
    EXPECT_GT(checked, 100) << where;
}

TEST(ReportPages, ColumnsStartOnTheirCellsOnScreenAndOnPdfPages) {
    for (const char* example : kExamples) {
        SCOPED_TRACE(example);
        const ReportDocument doc = ReportOf(example);
        QTextDocument screen;
        FillReportDocument(screen, doc);
        // The characters are the report's; only their widths are set.
        EXPECT_EQ(screen.toPlainText().toStdString() + "\n", ReportPlainText(doc));
        screen.documentLayout()->documentSize(); // lays it out
        ExpectColumnsOnTheirCells(screen, "screen");

        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&sink);
        pdf.setResolution(1200);
        QTextDocument page;
        page.documentLayout()->setPaintDevice(&pdf);
        FillReportDocument(page, doc);
        page.setPageSize(QSizeF(pdf.width(), pdf.height()));
        page.documentLayout()->documentSize();
        ExpectColumnsOnTheirCells(page, "pdf");
    }
}

#ifdef KOLVANE_HAVE_CHARTS
TEST(CurveChart, TheTimeAxisIsTickedAtRoundSteps) {
    // clang-format off
    const std::pair<double, double> rows[] = {
        {1.5, 0.25} /* not 0.375 */, {90, 10}, {4, 0.5}, {2, 0.25}, {120, 20}, {5400, 1000},
        {1, 0.2}, {7, 1}, {0.02, 0.0025}, {3e6, 5e5}, {0, 1}, {-3, 1}};
    // clang-format on
    for (const auto& [span, step] : rows)
        EXPECT_DOUBLE_EQ(RoundTickStep(span), step) << "span " << span;
}
#endif

// The report of an example written as PDF by the command line or by the
// window: the exit code (0 or 1) and what was told.
using PdfExport = std::pair<int, std::string> (*)(const char* example, const std::string& pdf);

std::pair<int, std::string> CliExport(const char* example, const std::string& pdf) {
    return Shell(Quoted(KOLVANE_CLI) + " calc " + Quoted(Example(example)) + " --report " +
                 Quoted(pdf) + " 2>&1 >/dev/null");
}

std::pair<int, std::string> WindowExport(const char* example, const std::string& pdf) {
    MainWindow window(std::filesystem::path(pdf).parent_path().string() + "/");
    window.openProject(Example(example));
    window.generateReport();
    AutoAnswer& answers = DialogAutoAnswer();
    answers.shown.clear();
    answers.fileNames.clear();
    answers.files = {pdf};
    const bool written = window.exportReportPdf();
    EXPECT_EQ(std::filesystem::path(answers.fileNames.at(0)).filename(),
              std::filesystem::path(example).replace_extension(".pdf"))
        << "the project's name is offered";
    std::string told;
    for (const std::string& s : answers.shown)
        told += s + "\n";
    answers.files.clear();
    return {written ? 0 : 1, told};
}

// The report pages, then the chart; a write that fails says so and leaves
// the file that was there.
TEST(ReportPdf, TheCommandLineAndTheWindowWriteTheReportPagesAndTheChart) {
    if (Shell("command -v pdfinfo && command -v pdftotext").first != 0)
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed";
    // The time axis is ticked at round steps from 0: the heating time's
    // fifths (0.8 hr, 22.5 min) are no tick.
    const struct {
        const char *who, *example, *word, *failureSays;
        PdfExport write;
        const char *tick, *noTick;
    } rows[] = {
        {"kolvane-cli", "hot-water-storage-tank.kvp", "升温曲线", "error: --report: ", &CliExport,
         "3.5", "0.8"},
        {"window", "steam-coil-reactor.kvp", "搅拌器参数", "", &WindowExport, "70", "22.5"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.who);
        TempDir dir;
        const std::string pdf = dir.file("report.pdf");
        auto [code, told] = row.write(row.example, pdf);
        ASSERT_EQ(code, 0) << told;
        auto [infoCode, info] = Shell("pdfinfo " + Quoted(pdf));
        const auto pages = info.find("Pages:");
        ASSERT_TRUE(infoCode == 0 && pages != std::string::npos) << info;
        const int count = std::atoi(info.c_str() + pages + 6);
        EXPECT_GE(count, 2) << "report pages, then the chart";
        const std::string text = Shell("pdftotext -enc UTF-8 " + Quoted(pdf) + " -").second;
        for (const char* word : {"圆柱（平底）容器传热计算报告", "简明计算结果", row.word})
            EXPECT_NE(text.find(word), std::string::npos) << word << " in " << text;
        // Every page's footer: its number of all and the day of the export.
        auto pageText = [&pdf](int page) {
            const std::string n = std::to_string(page);
            return Shell("pdftotext -enc UTF-8 -f " + n + " -l " + n + " " + Quoted(pdf) + " -")
                .second;
        };
        const QDate today = QDate::currentDate();
        for (int page = 1; page <= count; ++page) {
            std::string footer = pageText(page);
            std::erase_if(footer, [](char c) { return c == ' ' || c == '\n'; });
            EXPECT_NE(
                footer.find("第" + std::to_string(page) + "页共" + std::to_string(count) + "页"),
                std::string::npos)
                << footer;
            EXPECT_TRUE(footer.find(today.toString(Qt::ISODate).toStdString()) !=
                            std::string::npos ||
                        footer.find(today.addDays(-1).toString(Qt::ISODate).toStdString()) !=
                            std::string::npos)
                << "dated: " << footer;
        }
        // The chart's labels are text on the last page.
        const std::string chart = pageText(count);
        EXPECT_NE(chart.find("时间 ("), std::string::npos) << chart;
        EXPECT_NE(chart.find(std::string("\n") + row.tick + "\n"), std::string::npos) << chart;
        EXPECT_EQ(chart.find(std::string("\n") + row.noTick + "\n"), std::string::npos) << chart;

        const std::string locked = dir.file("locked.pdf");
        WriteBytes(locked, "earlier export");
        chmod(locked.c_str(), 0444);
        std::tie(code, told) = row.write(row.example, locked);
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(!told.empty() && told.find(row.failureSays) != std::string::npos)
            << "the failure is told: " << told;
        EXPECT_EQ(ReadBytes(locked), "earlier export");
    }
}

} // namespace
} // namespace kolvane
