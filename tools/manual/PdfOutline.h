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

// The PDF rewritten with the bookmark outline (all entries open) in its
// catalog, which also opens the bookmarks pane; an outline it had before is
// replaced. Without entries the PDF is returned as it is. On a PDF that
// cannot be read, or a bookmark on a page it does not have, it returns an
// empty array and says why in `error`.
QByteArray AddOutline(const QByteArray& pdf, const QList<OutlineEntry>& entries,
                      QString* error = nullptr);

} // namespace kolvane
