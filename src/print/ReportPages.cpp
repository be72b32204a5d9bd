#include "print/ReportPages.h"
#include "print/QtText.h"

#include "files/AtomicFile.h"
#include "model/Errors.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>
#include <map>

namespace kolvane {

namespace {

const QMarginsF kMarginsInch(1.0, 0.7, 1.0, 0.7); // left, top, right, bottom

QStringList Families(const std::string& font) {
    QStringList out;
    // "宋体" is the report's font by name; the monospaced face stands in for it.
    if (font == "宋体" || font.empty())
        out << ReportFontFamily();
    else
        out << Q(font);
    out << QStringLiteral("WenQuanYi Micro Hei Mono") << QStringLiteral("WenQuanYi Micro Hei")
        << QStringLiteral("宋体");
    out.removeDuplicates();
    return out;
}

QTextCharFormat FormatOf(const ReportRun& run) {
    QTextCharFormat f;
    f.setFontFamilies(Families(run.font));
    f.setFontPointSize(run.points > 0 ? run.points : 10.5);
    f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(run.italic);
    f.setFontUnderline(run.underline);
    // Unhinted advances scale with the size, so a line measured once holds
    // on every device; kerning would move single letters off their cells.
    f.setFontHintingPreference(QFont::PreferNoHinting);
    f.setFontKerning(false);
    const int c = run.color;
    f.setForeground(QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
    return f;
}

QFont DefaultFont() {
    QFont font;
    font.setFamilies(Families("宋体"));
    font.setPointSizeF(10.5);
    font.setStyleHint(QFont::TypeWriter);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

// Inserts a run so that each character takes its cells (GBK bytes) times
// the width of a blank of the run's font. Characters whose own advance is
// not that wide get a letter spacing in percent of their advance, which
// keeps the proportion at any resolution.
class CellWriter {
public:
    void insert(QTextCursor& cursor, const QString& text, const QTextCharFormat& format) {
        const QFontMetricsF metrics(format.font());
        const qreal cell = metrics.horizontalAdvance(QLatin1Char(' '));
        QString piece;
        qreal pieceSpacing = 100;
        auto flush = [&] {
            if (piece.isEmpty()) return;
            QTextCharFormat f = format;
            if (std::abs(pieceSpacing - 100) > 1e-9) {
                f.setFontLetterSpacingType(QFont::PercentageSpacing);
                f.setFontLetterSpacing(pieceSpacing);
            }
            cursor.insertText(piece, f);
            piece.clear();
        };
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QString ch = text.mid(i, len);
            i += len;
            const qreal advance = metrics.horizontalAdvance(ch);
            const qreal spacing =
                advance > 0 && cell > 0 ? 100 * cellsOf(ch) * cell / advance : 100.0;
            if (!piece.isEmpty() && std::abs(spacing - pieceSpacing) > 1e-9) flush();
            pieceSpacing = spacing;
            piece += ch;
        }
        flush();
    }

private:
    std::size_t cellsOf(const QString& ch) {
        auto [at, fresh] = cells_.try_emplace(ch, 0);
        if (fresh) at->second = TextCells(ch.toStdString());
        return at->second;
    }
    std::map<QString, std::size_t> cells_;
};

} // namespace

QString ReportFontFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        // Noto Sans Mono CJK has Latin at exactly half the width of a Chinese
        // character, as the report's cells count them; the others need the
        // cell spacing below.
        for (const char* name : {"Noto Sans Mono CJK SC", "WenQuanYi Micro Hei Mono",
                                 "WenQuanYi Zen Hei Mono", "宋体", "SimSun"})
            if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive))
                return QString::fromUtf8(name);
        return QStringLiteral("宋体");
    }();
    return family;
}

void FillReportDocument(QTextDocument& out, const ReportDocument& doc) {
    out.clear();
    out.setDefaultFont(DefaultFont());
    out.setUseDesignMetrics(true);
    QTextCursor cursor(&out);
    CellWriter writer;
    const ReportRun plain;
    bool first = true;
    for (const ReportParagraph& p : doc.paragraphs()) {
        if (!first) cursor.insertBlock();
        first = false;
        // An empty line keeps the height of the default style.
        cursor.setBlockCharFormat(FormatOf(p.runs.empty() ? plain : p.runs.front()));
        for (const ReportRun& run : p.runs)
            writer.insert(cursor, Q(run.text), FormatOf(run));
    }
}

void SetUpReportPage(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(kMarginsInch, QPageLayout::Inch);
    printer.setDocName(QStringLiteral("计算报表"));
}

bool PaintReportPages(QPagedPaintDevice& device, const ReportDocument& doc,
                      const std::vector<PageFigure>& figures, QDate date) {
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    FillReportDocument(text, doc);
    QTextFrameFormat frame = text.rootFrame()->frameFormat();
    frame.setMargin(0); // the device's margins are the page's
    text.rootFrame()->setFrameFormat(frame);

    // The footer, "第 N 页 共 M 页" and the date at its right, takes the last two lines of its font
    // within the margins, so nothing is drawn where a printer may not reach.
    QFont footerFont = DefaultFont();
    footerFont.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), ReportFontFamily()});
    footerFont.setPointSizeF(9);
    const QFontMetricsF footerMetrics(footerFont, &device);
    const qreal footerHeight = 2 * footerMetrics.lineSpacing();
    const QRectF page(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const QRectF body(page.topLeft(), QSizeF(page.width(), page.height() - footerHeight));
    text.setPageSize(body.size());

    QPainter painter;
    if (!painter.begin(&device)) return false;
    const int textPages = doc.empty() ? 1 : text.pageCount();
    const int pages =
        textPages + static_cast<int>(std::count_if(figures.begin(), figures.end(),
                                                   [](const PageFigure& f) { return bool(f); }));
    auto footer = [&](int number) {
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF line(page.left(), page.bottom() - footerMetrics.lineSpacing(), page.width(),
                          footerMetrics.lineSpacing());
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("第 %1 页 共 %2 页").arg(number).arg(pages));
        painter.drawText(line, Qt::AlignRight | Qt::AlignBottom, date.toString(Qt::ISODate));
    };
    for (int i = 0; i < textPages; ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.save();
        painter.translate(0, -i * body.height());
        text.drawContents(&painter, body.translated(0, i * body.height()));
        painter.restore();
        footer(i + 1);
    }
    int number = textPages;
    for (const PageFigure& figure : figures) {
        if (!figure) continue;
        if (!device.newPage()) return false;
        // Across the width, in the proportions of a screen (4:3).
        QRectF area(body.topLeft(), QSizeF(body.width(), body.width() * 3 / 4));
        if (area.height() > body.height()) area.setHeight(body.height());
        painter.save();
        figure(painter, area);
        painter.restore();
        footer(++number);
    }
    return painter.end();
}

void WriteReportPdf(const std::string& path, const ReportDocument& doc,
                    const std::vector<PageFigure>& figures, QDate date) {
    // Made in memory and written in one step: a failure leaves no part of
    // a PDF under the name and an existing file untouched.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kMarginsInch,
                                      QPageLayout::Inch));
        pdf.setTitle(QStringLiteral("计算报表"));
        pdf.setCreator(QStringLiteral("Kolvane"));
        if (!PaintReportPages(pdf, doc, figures, date)) throw IoError("无法生成PDF文件：" + path);
    }
    WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

} // namespace kolvane
