#include "cli/Cli.h"

#ifdef KOLVANE_CLI_PDF
#include "form/FormKolvane.h"
#include "print/ReportPages.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "print/CurveChart.h"
#endif
#include <QApplication>
#include <cstdlib>
#include <memory>
#endif

#include <iostream>

#ifdef KOLVANE_CLI_PDF
namespace {

// The report pages and the heating-curve chart, laid out as the window's
// 导出PDF lays them out. The text layout and the chart need an application
// object; it is made on the offscreen platform only for this, so the
// command line needs no display and starts no Qt when no PDF is asked for.
void WriteReportPdfFile(const kolvane::TFormKolvane& window, const std::string& path) {
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "kolvane-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    kolvane::PageFigure chart;
#ifdef KOLVANE_HAVE_CHARTS
    chart = kolvane::HeatingCurveFigure(window);
#endif
    kolvane::WriteReportPdf(path, window.reportDocument(), chart);
}

} // namespace
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kolvane::CliEnvironment env;
#ifdef KOLVANE_CLI_PDF
    env.writeReportPdf = WriteReportPdfFile;
#endif
    return kolvane::RunCli(args, std::cout, std::cerr, env);
}
