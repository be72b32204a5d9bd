// libkolvane-pdf.so: the report's PDF for `kolvane-cli calc --report
// FILE.pdf`, laid out as the window's 导出PDF lays it out. kolvane-cli loads
// it only then, so that its other runs start without Qt.
#include "cli/PdfModule.h"
#include "form/FormKolvane.h"
#include "print/ReportPages.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "print/CurveChart.h"
#include "print/StudyCharts.h"
#endif

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <type_traits>

extern "C" void kolvane_pdf_write_report_v1(const kolvane::TFormKolvane& window,
                                            const std::string& path) {
    // The text layout and the chart need an application object; it is made
    // on the offscreen platform, so the command line needs no display.
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "kolvane-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    std::vector<kolvane::PageFigure> figures;
#ifdef KOLVANE_HAVE_CHARTS
    figures = kolvane::ReportFigures(window);
#endif
    kolvane::WriteReportPdf(path, window.reportDocument(), figures);
}

static_assert(std::is_same_v<decltype(&kolvane_pdf_write_report_v1), kolvane::PdfModuleEntry>);
