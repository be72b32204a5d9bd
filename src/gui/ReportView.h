#pragma once

#include "print/ReportPages.h"
#include "report/Report.h"

#include <QTextEdit>

namespace kolvane {

class TRichEdit;

// The report as lines of default-style text: what a report box holds when
// its text was typed or loaded rather than generated.
ReportDocument ReportFromText(const std::string& text);

// The report page: the generated report, formatted and read-only. It shows
// the box's own text instead while that is not the generated report's (a
// project loaded with the text of an earlier report).
class ReportView : public QTextEdit {
    Q_OBJECT
public:
    ReportView(TRichEdit& box, const ReportDocument& generated, QWidget* parent = nullptr);
    ~ReportView() override;
    // Shows the box again, after a generation or a load.
    void refresh();
    // What the page shows, as a report (for saving and printing).
    ReportDocument present() const;

private:
    TRichEdit& box_;
    const ReportDocument& generated_;
    int subscription_ = 0;
};

} // namespace kolvane
