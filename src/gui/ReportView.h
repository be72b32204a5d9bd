#pragma once

#include "report/Report.h"

#include <QTextEdit>

class QPagedPaintDevice;
class QTextDocument;

namespace kolvane {

class TRichEdit;

// The family the report is set in: a monospaced CJK font where one is
// installed, since the columns are padded for a Chinese character taking
// two cells; "宋体" otherwise.
QString ReportFontFamily();

// Fills `out` with the paragraphs of `doc`, one block a paragraph, each run
// with its font, size, colour and styles.
void FillReportDocument(QTextDocument& out, const ReportDocument& doc);

// The report as lines of default-style text: what a report box holds when
// its text was typed or loaded rather than generated.
ReportDocument ReportFromText(const std::string& text);

// Lays the report out on the pages of `device` (its margins already set)
// and paints them, followed on a page of its own by `chart` when it is not
// null. False when the device could not be painted on.
bool PaintReportPages(QPagedPaintDevice& device, const ReportDocument& doc,
                      const QPixmap* chart = nullptr);

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
