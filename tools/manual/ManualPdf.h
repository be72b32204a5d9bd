#pragma once

#include "PdfOutline.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kolvane {

// A heading's bookmark title: its text with the whitespace collapsed and
// trimmed, followed by one blank, which is how the help looks topics up.
// Empty when the heading has no text.
QString BookmarkTitle(const QString& headingText);

// The manual as a PDF: the HTML laid out on A4 pages (CJK font embedded,
// page numbers in the footer), every h1/h2/h3 a bookmark nested as the
// headings are. Empty on failure, with the reason in `error`.
struct ManualPdf {
    QByteArray pdf;
    QList<OutlineEntry> bookmarks;
    int pages = 0;
};
ManualPdf RenderManual(const QString& html, QString* error = nullptr);

// Reads `in` (UTF-8 HTML) and writes the manual to `out`, replacing it only
// once the whole file is written. False with the reason in `error`.
bool BuildManual(const QString& in, const QString& out, QString* error = nullptr);

} // namespace kolvane
