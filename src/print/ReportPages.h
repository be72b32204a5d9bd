#pragma once

#include "report/Report.h"

#include <QDate>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;
class QTextDocument;

namespace kolvane {

// The family the report is set in: a monospaced CJK font where one is
// installed, since the columns are padded for a Chinese character taking
// two cells; "宋体" otherwise.
QString ReportFontFamily();

// Fills `out` with the paragraphs of `doc`, one block a paragraph, each run
// with its font, size, colour and styles. Every character is given the
// width of its cells (its GBK bytes) in cells of its run's font, so the
// padded columns line up whatever the face's own Chinese advance is; the
// document keeps the report's characters unchanged and uses the fonts'
// unhinted metrics, so the same lines come out on screen, printer and PDF.
void FillReportDocument(QTextDocument& out, const ReportDocument& doc);

// Portrait, margins of 0.7 inch top and bottom and 1.0 inch left and right,
// the job named "计算报表": the page the report is printed on.
void SetUpReportPage(QPrinter& printer);

// A figure drawn into a rectangle of a page, in the painter's coordinates
// (the heating-curve chart).
using PageFigure = std::function<void(QPainter&, const QRectF&)>;

// Lays the report out on the pages of `device` (its margins already set)
// and paints them, followed by each figure on a page of its own, across the
// page's width (empty figures are left out). Each page ends in its footer, on the
// last lines of the area within the margins. False when the device could
// not be painted on.
bool PaintReportPages(QPagedPaintDevice& device, const ReportDocument& doc,
                      const std::vector<PageFigure>& figures = {},
                      QDate date = QDate::currentDate());

// Writes the report pages and the figures as a PDF file at `path`: first
// beside it, then renamed over it, so a failed export leaves an existing
// file as it was. Throws IoError naming the path when it cannot.
void WriteReportPdf(const std::string& path, const ReportDocument& doc,
                    const std::vector<PageFigure>& figures = {}, QDate date = QDate::currentDate());

} // namespace kolvane
