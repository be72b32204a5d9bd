#include "gui/ReportView.h"

#include "engine/Controls.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace kolvane {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

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
    const int c = run.color;
    f.setForeground(QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
    return f;
}

QFont DefaultFont() {
    QFont font;
    font.setFamilies(Families("宋体"));
    font.setPointSizeF(10.5);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace

QString ReportFontFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"WenQuanYi Micro Hei Mono", "WenQuanYi Zen Hei Mono",
                                 "Noto Sans Mono CJK SC", "宋体", "SimSun"})
            if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive))
                return QString::fromUtf8(name);
        return QStringLiteral("宋体");
    }();
    return family;
}

void FillReportDocument(QTextDocument& out, const ReportDocument& doc) {
    out.clear();
    out.setDefaultFont(DefaultFont());
    QTextCursor cursor(&out);
    const ReportRun plain;
    bool first = true;
    for (const ReportParagraph& p : doc.paragraphs()) {
        if (!first) cursor.insertBlock();
        first = false;
        // An empty line keeps the height of the default style.
        cursor.setBlockCharFormat(FormatOf(p.runs.empty() ? plain : p.runs.front()));
        for (const ReportRun& run : p.runs)
            cursor.insertText(Q(run.text), FormatOf(run));
    }
}

ReportDocument ReportFromText(const std::string& text) {
    ReportDocument doc;
    if (text.empty()) return doc;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        doc.AppendLine(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return doc;
}

bool PaintReportPages(QPagedPaintDevice& device, const ReportDocument& doc, const QPixmap* chart) {
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&device);
    FillReportDocument(text, doc);
    QTextFrameFormat frame = text.rootFrame()->frameFormat();
    frame.setMargin(0); // the device's margins are the page's
    text.rootFrame()->setFrameFormat(frame);
    const QRectF body(QPointF(0, 0), QSizeF(device.width(), device.height()));
    text.setPageSize(body.size());

    QPainter painter;
    if (!painter.begin(&device)) return false;
    const int pages = doc.empty() ? 1 : text.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.save();
        painter.translate(0, -i * body.height());
        text.drawContents(&painter, body.translated(0, i * body.height()));
        painter.restore();
    }
    if (chart && !chart->isNull()) {
        if (!device.newPage()) return false;
        QSizeF size = chart->size();
        size.scale(body.size(), Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(QPointF(0, 0), size), *chart, QRectF(chart->rect()));
    }
    return painter.end();
}

ReportView::ReportView(TRichEdit& box, const ReportDocument& generated, QWidget* parent)
    : QTextEdit(parent), box_(box), generated_(generated) {
    setObjectName(QStringLiteral("RichEditReport"));
    setReadOnly(true);
    setLineWrapMode(QTextEdit::NoWrap); // the columns stay in line
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The report cannot be selected: a selection shrinks to the caret.
    connect(this, &QTextEdit::selectionChanged, this, [this] {
        QTextCursor c = textCursor();
        if (!c.hasSelection()) return;
        c.clearSelection();
        QSignalBlocker block(this);
        setTextCursor(c);
    });
    subscription_ = box_.subscribe([this](Component&, Change ch) {
        if (ch == Change::Text) refresh();
    });
    refresh();
}

ReportView::~ReportView() {
    box_.unsubscribe(subscription_);
}

ReportDocument ReportView::present() const {
    if (!generated_.empty() && ReportPlainText(generated_) == box_.text()) return generated_;
    return ReportFromText(box_.text());
}

void ReportView::refresh() {
    FillReportDocument(*document(), present());
    QTextCursor start(document());
    setTextCursor(start);
    ensureCursorVisible();
}

} // namespace kolvane
