// Lays the manual out with QTextDocument and prints it page by page, so that
// every heading's page and place are known for its bookmark.
#include "ManualPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cmath>

namespace kolvane {

namespace {

constexpr const char* kFont = "WenQuanYi Micro Hei";
constexpr double kBodyPoints = 10.5;
// Page margins in millimetres; the footer sits in the bottom one.
constexpr double kMarginMm = 20;
constexpr double kBottomMm = 25;

// Tables get a thin grid and some room; code in the monospace face.
constexpr const char* kStyleSheet =
    "table { border-collapse: collapse; margin-top: 6px; margin-bottom: 6px; }"
    "th, td { border: 1px solid #808080; padding: 3px; }"
    "th { background-color: #e8e8e8; }"
    "pre, code { font-family: 'WenQuanYi Micro Hei Mono'; }";

} // namespace

QString BookmarkTitle(const QString& headingText) {
    const QString t = headingText.simplified();
    return t.isEmpty() ? QString() : t + QLatin1Char(' ');
}

ManualPdf RenderManual(const QString& html, QString* error) {
    ManualPdf result;
    QBuffer buffer(&result.pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Kolvane"));
        writer.setTitle(QStringLiteral("Kolvane 帮助"));
        // The whole sheet is the painter's: the margins are the layout's.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        const double dpi = writer.resolution();
        const double pageW = writer.width(), pageH = writer.height();
        const double pointsPerUnit = 72.0 / dpi;
        const double pageHeightPt = writer.pageLayout().fullRectPoints().height();

        QTextDocument doc;
        QFont font(QString::fromLatin1(kFont));
        font.setPointSizeF(kBodyPoints);
        doc.setDefaultFont(font);
        doc.setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
        doc.setHtml(html);
        doc.documentLayout()->setPaintDevice(&writer);
        doc.setPageSize(QSizeF(pageW, pageH));
        // Frame margins are in screen pixels; the layout scales them to the
        // paint device (as QTextDocument::print relies on).
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double screenDpi = screen ? screen->logicalDotsPerInchY() : 96;
        auto px = [screenDpi](double mm) { return mm / 25.4 * screenDpi; };
        QTextFrameFormat frame = doc.rootFrame()->frameFormat();
        frame.setLeftMargin(px(kMarginMm));
        frame.setRightMargin(px(kMarginMm));
        frame.setTopMargin(px(kMarginMm));
        frame.setBottomMargin(px(kBottomMm));
        doc.rootFrame()->setFrameFormat(frame);

        const int pages = doc.pageCount();
        result.pages = pages;
        QAbstractTextDocumentLayout* layout = doc.documentLayout();
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const int level = b.blockFormat().headingLevel();
            if (level < 1 || level > 3) continue;
            const QString title = BookmarkTitle(b.text());
            if (title.isEmpty()) continue;
            // Where the first line is: a heading that does not fit at the
            // foot of a page has its lines moved to the next one, while its
            // block still starts on the page before.
            const QTextLayout* lines = b.layout();
            const double top = lines && lines->lineCount() > 0
                                   ? lines->position().y() + lines->lineAt(0).y()
                                   : layout->blockBoundingRect(b).top();
            const int page = std::clamp(int(std::floor(top / pageH)), 0, pages - 1);
            OutlineEntry e;
            e.title = title;
            e.level = level;
            e.page = page;
            e.left = 0;
            e.top = pageHeightPt - (top - page * pageH) * pointsPerUnit;
            result.bookmarks.append(e);
        }

        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error) *error = QStringLiteral("the PDF writer cannot paint");
            return {};
        }
        QFont footerFont(QString::fromLatin1(kFont));
        footerFont.setPointSizeF(9);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) writer.newPage();
            painter.save();
            painter.translate(0, -i * pageH);
            const QRectF clip(0, i * pageH, pageW, pageH);
            painter.setClipRect(clip);
            QAbstractTextDocumentLayout::PaintContext ctx;
            ctx.clip = clip;
            ctx.palette.setColor(QPalette::Text, Qt::black);
            layout->draw(&painter, ctx);
            painter.restore();

            painter.setFont(footerFont);
            painter.setPen(Qt::black);
            const double mm = dpi / 25.4;
            const QRectF footer(0, pageH - kBottomMm * mm, pageW, kBottomMm * mm);
            painter.drawText(footer, Qt::AlignCenter,
                             QStringLiteral("— %1 / %2 —").arg(i + 1).arg(pages));
        }
        painter.end();
    }
    buffer.close();

    QString why;
    QByteArray withOutline = AddOutline(result.pdf, result.bookmarks, &why);
    if (withOutline.isEmpty()) {
        if (error) *error = QStringLiteral("cannot add the bookmarks: ") + why;
        return {};
    }
    result.pdf = std::move(withOutline);
    return result;
}

bool BuildManual(const QString& in, const QString& out, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    QFile source(in);
    if (!source.open(QIODevice::ReadOnly))
        return fail(in + QStringLiteral(": ") + source.errorString());
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return fail(in + QStringLiteral(": ") + source.errorString());
    const QString html = QString::fromUtf8(bytes);

    QString why;
    ManualPdf manual = RenderManual(html, &why);
    if (manual.pdf.isEmpty()) return fail(in + QStringLiteral(": ") + why);

    QSaveFile target(out);
    if (!target.open(QIODevice::WriteOnly) || target.write(manual.pdf) != manual.pdf.size() ||
        !target.commit())
        return fail(out + QStringLiteral(": ") + target.errorString());
    return true;
}

} // namespace kolvane
