// The bookmark outline written into a PDF, read back link by link with qpdf
// (test_help_viewer reads it with QtPdf).
#include "PdfOutline.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>

namespace kolvane {
namespace {

QByteArray BlankPdf(int pages) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) writer.newPage();
        painter.drawLine(0, 0, 100 * (i + 1), 100);
    }
    painter.end();
    return pdf;
}

// The items under `node` as "depth:title@page/count" in reading order (First
// and Next, as a reader walks them); a back link that does not match (Parent,
// Prev, Last) shows as "!".
std::string Tree(QPDF& q, QPDFObjectHandle node, int depth = 0) {
    std::string out;
    QPDFObjectHandle prev = QPDFObjectHandle::newNull();
    for (QPDFObjectHandle i = node.getKey("/First"); i.isDictionary();
         prev = i, i = i.getKey("/Next")) {
        if (i.getKey("/Parent").getObjGen() != node.getObjGen()) out += "!parent ";
        if (i.getKey("/Prev").getObjGen() != prev.getObjGen()) out += "!prev ";
        QPDFObjectHandle dest = i.getKey("/Dest");
        out += std::to_string(depth) + ':' + i.getKey("/Title").getUTF8Value() + '@' +
               std::to_string(q.findPage(dest.getArrayItem(0).getObjGen())) +
               (i.hasKey("/Count") ? '/' + std::to_string(i.getKey("/Count").getIntValue()) : "") +
               ' ' + Tree(q, i, depth + 1);
    }
    if (node.getKey("/Last").getObjGen() != prev.getObjGen()) out += "!last ";
    return out;
}

OutlineEntry E(const char* title, int level, int page) {
    return {QString::fromUtf8(title), level, page, 0, 700};
}

TEST(PdfOutline, ItemsNestUnderTheNearestSmallerLevelAllOpenAndLinkedBothWays) {
    struct Row {
        QList<OutlineEntry> entries;
        std::string tree;
    } rows[] = {
        {{E("只有一个 ", 1, 0)}, "0:只有一个 @0 "},
        {{E("第一章 ", 1, 0), E("质量 ", 2, 0), E("Unit ", 3, 1), E("加热时间 ", 2, 1),
          E("第二章 ", 1, 2), E("Skipped ", 3, 2)},
         "0:第一章 @0/3 1:质量 @0/1 2:Unit @1 1:加热时间 @1 0:第二章 @2/1 1:Skipped @2 "},
        {{E("deep first", 3, 0), E("top", 1, 1), E("a", 3, 1), E("b", 2, 2)},
         "0:deep first@0 0:top@1/2 1:a@1 1:b@2 "},
    };
    for (const Row& r : rows) {
        QString error;
        const QByteArray pdf = AddOutline(BlankPdf(3), r.entries, &error);
        ASSERT_FALSE(pdf.isEmpty()) << error.toStdString();
        QPDF q;
        q.processMemoryFile("outline", pdf.constData(), std::size_t(pdf.size()));
        QPDFObjectHandle catalog = q.getRoot();
        EXPECT_EQ(catalog.getKey("/PageMode").getName(), "/UseOutlines");
        QPDFObjectHandle root = catalog.getKey("/Outlines");
        EXPECT_EQ(Tree(q, root), r.tree);
        EXPECT_EQ(root.getKey("/Count").getIntValue(), r.entries.size()) << r.tree;
        // Chinese titles as UTF-16BE with its byte-order mark.
        const std::string raw = root.getKey("/First").getKey("/Title").getStringValue();
        EXPECT_EQ(raw.starts_with("\xFE\xFF"), r.entries[0].title.front().unicode() > 0x7F);
    }
}

TEST(PdfOutline, AnUnreadablePdfOrAPageItDoesNotHaveGivesNothingAndTheReason) {
    const QByteArray two = BlankPdf(2);
    // The cross-reference table not where the file says: qpdf would rebuild
    // it and warn.
    QByteArray misplaced = two;
    misplaced.insert(misplaced.lastIndexOf("startxref") + 10, '1');
    struct Row {
        QByteArray pdf;
        QList<OutlineEntry> entries;
        const char* reason; // a part of the message
    } rows[] = {
        {two, {E("a", 1, 0), E("past the end", 2, 2)}, "\"past the end\" on page 3 of 2"},
        {two, {E("before", 1, -1)}, "on page 0 of 2"},
        {"no PDF at all", {E("a", 1, 0)}, "the manual's PDF"},
        {two.left(two.size() / 2), {E("a", 1, 0)}, "the manual's PDF"},
        {misplaced, {E("a", 1, 0)}, "the manual's PDF"},
    };
    for (const Row& r : rows) {
        QString error;
        EXPECT_TRUE(AddOutline(r.pdf, r.entries, &error).isEmpty()) << r.reason;
        EXPECT_TRUE(error.contains(QString::fromUtf8(r.reason))) << error.toStdString();
    }
    EXPECT_EQ(AddOutline("no PDF at all", {}), "no PDF at all") << "no bookmarks, nothing to do";
}

} // namespace
} // namespace kolvane
