// The bookmark outline (ISO 32000-1, 12.3.3), which Qt's PDF writer does not
// write, added with qpdf: it reads the finished PDF, the outline items are
// built as a tree of indirect dictionaries linked by Parent, First, Last,
// Prev and Next, and the whole file is written anew.
#include "PdfOutline.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace kolvane {

namespace {

QPDFObjectHandle Name(const char* name) {
    return QPDFObjectHandle::newName(name);
}

// A coordinate to a hundredth of a point, never an exponent.
QPDFObjectHandle Coordinate(double v) {
    return QPDFObjectHandle::newReal(std::isfinite(v) ? v : 0.0, 2);
}

} // namespace

QByteArray AddOutline(const QByteArray& pdf, const QList<OutlineEntry>& entries, QString* error) {
    if (entries.isEmpty()) return pdf;
    try {
        QPDF doc;
        // A damaged file would be repaired with warnings; the manual is
        // written by Qt just before, so any warning is a fault worth a stop.
        doc.setSuppressWarnings(true);
        doc.processMemoryFile("the manual's PDF", pdf.constData(), std::size_t(pdf.size()));
        const std::vector<QPDFObjectHandle>& pages = doc.getAllPages();

        // The outline's root, then one item per entry under the nearest
        // earlier entry of a smaller level.
        QPDFObjectHandle root = doc.makeIndirectObject(QPDFObjectHandle::newDictionary());
        root.replaceKey("/Type", Name("/Outlines"));
        std::vector<QPDFObjectHandle> items;
        std::vector<QPDFObjectHandle> lastChild; // per item, and [0] for the root
        std::vector<int> count;                  // open descendants, likewise
        std::vector<int> ancestors;              // indices into items, nearest last
        lastChild.emplace_back();
        count.push_back(0);
        for (const OutlineEntry& e : entries) {
            if (e.page < 0 || std::size_t(e.page) >= pages.size())
                throw std::runtime_error("bookmark \"" + e.title.trimmed().toStdString() +
                                         "\" on page " + std::to_string(e.page + 1) + " of " +
                                         std::to_string(pages.size()));
            while (!ancestors.empty() && entries[ancestors.back()].level >= e.level)
                ancestors.pop_back();
            const std::size_t parent = ancestors.empty() ? 0 : std::size_t(ancestors.back()) + 1;
            QPDFObjectHandle parentItem = parent == 0 ? root : items[parent - 1];

            QPDFObjectHandle item = doc.makeIndirectObject(QPDFObjectHandle::newDictionary());
            item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(e.title.toStdString()));
            item.replaceKey("/Parent", parentItem);
            item.replaceKey("/Dest",
                            QPDFObjectHandle::newArray({pages[std::size_t(e.page)], Name("/XYZ"),
                                                        Coordinate(e.left), Coordinate(e.top),
                                                        QPDFObjectHandle::newNull()}));
            QPDFObjectHandle& previous = lastChild[parent];
            if (previous.isInitialized()) {
                previous.replaceKey("/Next", item);
                item.replaceKey("/Prev", previous);
            } else {
                parentItem.replaceKey("/First", item);
            }
            previous = item;
            parentItem.replaceKey("/Last", item);
            // Every item open: each ancestor counts it.
            ++count[0];
            for (int a : ancestors)
                ++count[std::size_t(a) + 1];

            ancestors.push_back(int(items.size()));
            items.push_back(item);
            lastChild.emplace_back();
            count.push_back(0);
        }
        root.replaceKey("/Count", QPDFObjectHandle::newInteger(count[0]));
        for (std::size_t i = 0; i < items.size(); ++i)
            if (count[i + 1] > 0)
                items[i].replaceKey("/Count", QPDFObjectHandle::newInteger(count[i + 1]));

        QPDFObjectHandle catalog = doc.getRoot();
        catalog.replaceKey("/Outlines", root);
        catalog.replaceKey("/PageMode", Name("/UseOutlines"));

        QPDFWriter writer(doc);
        writer.setOutputMemory();
        // The same manual gives the same file identifier.
        writer.setDeterministicID(true);
        writer.write();
        if (doc.anyWarnings()) {
            const std::vector<QPDFExc> warnings = doc.getWarnings();
            throw std::runtime_error(warnings.front().what());
        }
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(out->getBuffer()),
                          qsizetype(out->getSize()));
    } catch (const std::exception& e) {
        if (error) *error = QString::fromStdString(e.what());
        return {};
    }
}

} // namespace kolvane
