#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kolvane {

// One bookmark of the outline. Levels nest as the headings do: an entry
// goes under the nearest earlier entry of a smaller level.
struct OutlineEntry {
    QString title;
    int level = 1;
    int page = 0;    // 0-based page index
    double left = 0; // the target in PDF user space (points, origin bottom left)
    double top = 0;
};

// The PDF with the outline appended as an incremental update: the
// bookmarks, a new catalog that names them and opens the bookmarks pane,
// and a new cross-reference section whose trailer points back at the old
// one. The original bytes are kept unchanged in front. Without entries the
// PDF is returned as it is. On a PDF it cannot follow (no classic
// cross-reference table, a page out of range) it returns an empty array
// and says why in `error`.
QByteArray AppendOutline(const QByteArray& pdf, const QList<OutlineEntry>& entries,
                         QString* error = nullptr);

// A PDF text string of `text`: UTF-16BE with its byte-order mark, in hex.
QByteArray PdfTextString(const QString& text);

} // namespace kolvane
