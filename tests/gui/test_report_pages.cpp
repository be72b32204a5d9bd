// The report's pages: columns on their cells on screen and on PDF pages,
// and the PDF exports of the window and of kolvane-cli.
#include "../core/TempDir.h"

#include "engine/FormKolvane.h"
#include "engine/UiServices.h"
#include "gui/MainWindow.h"
#include "print/ReportPages.h"
#include "report/Report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace kolvane {
namespace {

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
            EXPECT_NEAR(l.cursorToX(pos) - l.cursorToX(0), cells * cell, cell * 0.02)
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

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; its standard output and exit code.
std::pair<int, std::string> Shell(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {-1, out};
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

// A PDF as poppler reads it: pages, and the text of all of them.
struct PdfRead {
    int pages = 0;
    std::string text;
};
PdfRead ReadPdf(const std::string& path) {
    PdfRead r;
    auto [code, info] = Shell("pdfinfo " + Quoted(path));
    EXPECT_EQ(code, 0) << info;
    const auto at = info.find("Pages:");
    if (at != std::string::npos) r.pages = std::atoi(info.c_str() + at + 6);
    r.text = Shell("pdftotext -enc UTF-8 " + Quoted(path) + " -").second;
    return r;
}

#define NEED_POPPLER()                                                                             \
    if (!HaveTool("pdfinfo") || !HaveTool("pdftotext"))                                            \
    GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) is not installed"

TEST(ReportPdf, TheCommandLineWritesTheReportPagesAndTheChart) {
    NEED_POPPLER();
    TempDir dir;
    const std::string pdf = dir.file("tank.pdf");
    auto [code, out] =
        Shell(Quoted(KOLVANE_CLI) + " calc " + Quoted(Example("hot-water-storage-tank.kvp")) +
              " --report " + Quoted(pdf) + " 2>&1");
    ASSERT_EQ(code, 0) << out;
    const PdfRead r = ReadPdf(pdf);
    EXPECT_GE(r.pages, 2) << "report pages, then the chart";
    EXPECT_NE(r.text.find("圆柱（平底）容器传热计算报告"), std::string::npos) << r.text;
    EXPECT_NE(r.text.find("简明计算结果"), std::string::npos);
    EXPECT_NE(r.text.find("升温曲线"), std::string::npos);

    // A write that fails says so and leaves the file that was there.
    const std::string locked = dir.file("locked.pdf");
    WriteBytes(locked, "earlier export");
    chmod(locked.c_str(), 0444);
    auto [failed, message] =
        Shell(Quoted(KOLVANE_CLI) + " calc " + Quoted(Example("hot-water-storage-tank.kvp")) +
              " --report " + Quoted(locked) + " 2>&1 >/dev/null");
    EXPECT_EQ(failed, 1);
    EXPECT_NE(message.find("error: --report: "), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(locked), "earlier export");
}

TEST(ReportPdf, TheWindowExportsTheSamePages) {
    NEED_POPPLER();
    TempDir dir;
    MainWindow window(dir.path().string() + "/");
    window.openProject(Example("steam-coil-reactor.kvp"));
    window.generateReport();
    AutoAnswer& answers = DialogAutoAnswer();
    answers.shown.clear();
    const std::string pdf = dir.file("reactor.pdf");
    answers.files = {pdf};
    ASSERT_TRUE(window.exportReportPdf());
    const PdfRead r = ReadPdf(pdf);
    EXPECT_GE(r.pages, 2);
    EXPECT_NE(r.text.find("圆柱（平底）容器传热计算报告"), std::string::npos) << r.text;
    EXPECT_NE(r.text.find("搅拌器参数"), std::string::npos);

    const std::string locked = dir.file("locked.pdf");
    WriteBytes(locked, "earlier export");
    chmod(locked.c_str(), 0444);
    answers.files = {locked};
    EXPECT_FALSE(window.exportReportPdf());
    EXPECT_EQ(ReadBytes(locked), "earlier export");
    EXPECT_FALSE(answers.shown.empty()) << "the failure is told";
    answers.files.clear();
}

} // namespace
} // namespace kolvane
