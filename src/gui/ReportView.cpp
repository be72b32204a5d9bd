#include "gui/ReportView.h"

#include "form/Controls.h"

#include <QSignalBlocker>
#include <QTextCursor>

namespace kolvane {

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
