// The bookmark outline, added to a finished PDF as an incremental update
// (ISO 32000-1, 7.5.6): Qt's PDF writer has no outline of its own.
#include "PdfOutline.h"

#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace kolvane {

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

// Reads whitespace-separated tokens from a position on.
struct Scanner {
    const QByteArray& data;
    qsizetype pos;

    QByteArray next() {
        while (pos < data.size() && IsSpace(data[pos]))
            ++pos;
        const qsizetype start = pos;
        while (pos < data.size() && !IsSpace(data[pos]))
            ++pos;
        return data.mid(start, pos - start);
    }
};

qint64 ToNumber(const QByteArray& token, const char* what) {
    bool ok = false;
    const qint64 n = token.toLongLong(&ok);
    if (!ok || n < 0)
        throw Failure(std::string("unreadable ") + what + ": '" + token.left(20).toStdString() +
                      "'");
    return n;
}

// The end (one past ">>") of the dictionary that opens at `start`, with
// nested dictionaries, hex strings and literal strings skipped.
qsizetype DictEnd(const QByteArray& d, qsizetype start) {
    int depth = 0;
    for (qsizetype i = start; i < d.size(); ++i) {
        const char c = d[i];
        if (c == '(') {
            int parens = 1;
            for (++i; i < d.size() && parens > 0; ++i) {
                if (d[i] == '\\')
                    ++i;
                else if (d[i] == '(')
                    ++parens;
                else if (d[i] == ')')
                    --parens;
            }
            --i;
        } else if (c == '<' && i + 1 < d.size() && d[i + 1] == '<') {
            ++depth;
            ++i;
        } else if (c == '<') {
            while (i < d.size() && d[i] != '>')
                ++i;
        } else if (c == '>' && i + 1 < d.size() && d[i + 1] == '>') {
            --depth;
            ++i;
            if (depth == 0) return i + 1;
        }
    }
    throw Failure("dictionary without its end");
}

struct Ref {
    int num = -1;
    int gen = 0;
    QByteArray text() const {
        return QByteArray::number(num) + ' ' + QByteArray::number(gen) + " R";
    }
};

Ref FindRef(const QByteArray& dict, const char* key) {
    QRegularExpression re(QStringLiteral("/%1\\s+(\\d+)\\s+(\\d+)\\s+R").arg(QLatin1String(key)));
    auto m = re.match(QString::fromLatin1(dict));
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(), m.captured(2).toInt()};
}

class PdfFile {
public:
    explicit PdfFile(const QByteArray& data) : d_(data) {
        const qsizetype sx = d_.lastIndexOf("startxref");
        if (sx < 0) throw Failure("no startxref");
        Scanner s{d_, sx + 9};
        lastXref_ = ToNumber(s.next(), "startxref offset");
        qint64 at = lastXref_;
        for (int sections = 0; at >= 0; ++sections) {
            if (sections > 1000) throw Failure("cross-reference sections loop");
            at = readSection(at, sections == 0);
        }
    }

    qint64 lastXref() const { return lastXref_; }
    const QByteArray& trailer() const { return trailer_; }

    // The dictionary of object `num`: the text between "obj" and "endobj".
    QByteArray object(int num) const {
        auto it = offsets_.find(num);
        if (it == offsets_.end()) throw Failure("object " + std::to_string(num) + " not listed");
        Scanner s{d_, it.value()};
        if (ToNumber(s.next(), "object number") != num || s.next().isEmpty() || s.next() != "obj")
            throw Failure("object " + std::to_string(num) + " not where the table says");
        const qsizetype end = d_.indexOf("endobj", s.pos);
        if (end < 0) throw Failure("object " + std::to_string(num) + " without endobj");
        return d_.mid(s.pos, end - s.pos).trimmed();
    }

    // The page objects in page order, from the page tree.
    QList<Ref> pages(const Ref& root) const {
        QList<Ref> out;
        collect(root, out, 0);
        return out;
    }

private:
    qint64 readSection(qint64 at, bool newest) {
        if (at >= d_.size()) throw Failure("cross-reference offset beyond the file");
        Scanner s{d_, at};
        if (s.next() != "xref")
            throw Failure("no classic cross-reference table (a cross-reference stream?)");
        for (;;) {
            const qsizetype mark = s.pos;
            const QByteArray tok = s.next();
            if (tok == "trailer") break;
            if (tok.isEmpty()) throw Failure("cross-reference table without trailer");
            s.pos = mark;
            const qint64 first = ToNumber(s.next(), "xref subsection start");
            const qint64 count = ToNumber(s.next(), "xref subsection size");
            for (qint64 i = 0; i < count; ++i) {
                const qint64 offset = ToNumber(s.next(), "xref offset");
                s.next(); // generation
                const QByteArray kind = s.next();
                // The newest section read first: an older entry never
                // replaces a newer one.
                if (kind == "n" && !offsets_.contains(int(first + i)))
                    offsets_.insert(int(first + i), offset);
                else if (kind != "n" && kind != "f")
                    throw Failure("damaged cross-reference entry");
            }
        }
        const qsizetype open = d_.indexOf("<<", s.pos);
        if (open < 0) throw Failure("trailer without dictionary");
        const QByteArray dict = d_.mid(open, DictEnd(d_, open) - open);
        if (newest) trailer_ = dict;
        QRegularExpression prev(QStringLiteral("/Prev\\s+(\\d+)"));
        auto m = prev.match(QString::fromLatin1(dict));
        return m.hasMatch() ? m.captured(1).toLongLong() : -1;
    }

    void collect(const Ref& node, QList<Ref>& out, int depth) const {
        if (depth > 64) throw Failure("page tree too deep");
        const QByteArray dict = object(node.num);
        static const QRegularExpression pagesType(QStringLiteral("/Type\\s*/Pages\\b"));
        static const QRegularExpression pageType(QStringLiteral("/Type\\s*/Page\\b"));
        const QString text = QString::fromLatin1(dict);
        if (pagesType.match(text).hasMatch()) {
            static const QRegularExpression kids(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
            auto m = kids.match(text);
            if (!m.hasMatch()) throw Failure("page tree node without kids");
            static const QRegularExpression ref(QStringLiteral("(\\d+)\\s+(\\d+)\\s+R"));
            for (auto it = ref.globalMatch(m.captured(1)); it.hasNext();) {
                auto r = it.next();
                collect({r.captured(1).toInt(), r.captured(2).toInt()}, out, depth + 1);
            }
        } else if (pageType.match(text).hasMatch()) {
            out.append(node);
        } else {
            throw Failure("page tree holds an object that is no page");
        }
    }

    const QByteArray& d_;
    qint64 lastXref_ = 0;
    QByteArray trailer_;
    QMap<int, qint64> offsets_;
};

QByteArray Num(double v) {
    // Two decimals are a hundredth of a point; never an exponent.
    if (!std::isfinite(v)) v = 0;
    return QByteArray::number(std::round(v * 100) / 100, 'f', 2);
}

} // namespace

QByteArray PdfTextString(const QString& text) {
    QByteArray out = "<FEFF";
    for (QChar c : text)
        out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return out + '>';
}

QByteArray AppendOutline(const QByteArray& pdf, const QList<OutlineEntry>& entries,
                         QString* error) {
    if (entries.isEmpty()) return pdf;
    try {
        PdfFile file(pdf);
        const QByteArray& trailer = file.trailer();
        QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
        auto sizeMatch = sizeRe.match(QString::fromLatin1(trailer));
        if (!sizeMatch.hasMatch()) throw Failure("trailer without /Size");
        const int size = sizeMatch.captured(1).toInt();
        const Ref root = FindRef(trailer, "Root");
        if (root.num < 0) throw Failure("trailer without /Root");
        const Ref info = FindRef(trailer, "Info");
        QRegularExpression idRe(QStringLiteral("/ID\\s*\\[[^\\]]*\\]"));
        auto idMatch = idRe.match(QString::fromLatin1(trailer));

        QByteArray catalog = file.object(root.num);
        if (!catalog.startsWith("<<") || !catalog.endsWith(">>"))
            throw Failure("catalog is no dictionary");
        const QList<Ref> pages = file.pages(FindRef(catalog, "Pages"));

        // The tree: parent of each entry, and the children of each (index
        // -1 is the outline's root).
        const int n = int(entries.size());
        const std::size_t count = std::size_t(entries.size());
        std::vector<int> parent(count, -1);
        std::vector<std::vector<int>> children(count + 1);
        std::vector<int> stack;
        for (int i = 0; i < n; ++i) {
            const OutlineEntry& e = entries[i];
            if (e.page < 0 || e.page >= pages.size())
                throw Failure("bookmark on page " + std::to_string(e.page + 1) + " of " +
                              std::to_string(pages.size()));
            while (!stack.empty() && entries[stack.back()].level >= e.level)
                stack.pop_back();
            parent[i] = stack.empty() ? -1 : stack.back();
            children[parent[i] + 1].push_back(i);
            stack.push_back(i);
        }
        // Every entry open: /Count is the number of all descendants.
        std::vector<int> descendants(count, 0);
        for (int i = n - 1; i >= 0; --i)
            if (parent[i] >= 0) descendants[parent[i]] += descendants[i] + 1;

        const int rootObj = size;
        auto objOf = [&](int i) { return QByteArray::number(size + 1 + i) + " 0 R"; };
        const int catalogObj = size + 1 + n;
        QList<QByteArray> bodies;
        {
            const std::vector<int>& top = children[0];
            bodies.append("<<\n/Type /Outlines\n/First " + objOf(top.front()) + "\n/Last " +
                          objOf(top.back()) + "\n/Count " + QByteArray::number(n) + "\n>>");
        }
        for (int i = 0; i < n; ++i) {
            const OutlineEntry& e = entries[i];
            const std::vector<int>& siblings = children[parent[i] + 1];
            const std::size_t at =
                std::size_t(std::find(siblings.begin(), siblings.end(), i) - siblings.begin());
            QByteArray b =
                "<<\n/Title " + PdfTextString(e.title) + "\n/Parent " +
                (parent[i] < 0 ? QByteArray::number(rootObj) + " 0 R" : objOf(parent[i]));
            if (at > 0) b += "\n/Prev " + objOf(siblings[at - 1]);
            if (at + 1 < siblings.size()) b += "\n/Next " + objOf(siblings[at + 1]);
            const std::vector<int>& mine = children[i + 1];
            if (!mine.empty())
                b += "\n/First " + objOf(mine.front()) + "\n/Last " + objOf(mine.back()) +
                     "\n/Count " + QByteArray::number(descendants[i]);
            b += "\n/Dest [" + pages[e.page].text() + " /XYZ " + Num(e.left) + ' ' + Num(e.top) +
                 " null]\n>>";
            bodies.append(b);
        }
        // The new catalog: the old one's entries, the outline and the pane.
        QString kept = QString::fromLatin1(catalog.left(catalog.size() - 2));
        kept.remove(QRegularExpression(QStringLiteral("/Outlines\\s+\\d+\\s+\\d+\\s+R")));
        kept.remove(QRegularExpression(QStringLiteral("/PageMode\\s*/\\w+")));
        QByteArray body = kept.toLatin1().trimmed() + "\n/Outlines " + QByteArray::number(rootObj) +
                          " 0 R\n/PageMode /UseOutlines\n>>";
        bodies.append(body);

        QByteArray out = pdf;
        if (!out.endsWith('\n')) out += '\n';
        QList<qint64> offsets;
        for (int i = 0; i < bodies.size(); ++i) {
            offsets.append(out.size());
            out += QByteArray::number(size + i) + " 0 obj\n" + bodies[i] + "\nendobj\n";
        }
        const qint64 xref = out.size();
        out += "xref\n" + QByteArray::number(size) + ' ' + QByteArray::number(bodies.size()) + '\n';
        for (qint64 off : offsets)
            out += QByteArray::number(off).rightJustified(10, '0') + " 00000 n \n";
        out += "trailer\n<<\n/Size " + QByteArray::number(catalogObj + 1) + "\n/Root " +
               QByteArray::number(catalogObj) + " 0 R\n";
        if (info.num >= 0) out += "/Info " + info.text() + '\n';
        if (idMatch.hasMatch()) out += idMatch.captured(0).toLatin1() + '\n';
        out += "/Prev " + QByteArray::number(file.lastXref()) + "\n>>\nstartxref\n" +
               QByteArray::number(xref) + "\n%%EOF\n";
        return out;
    } catch (const Failure& f) {
        if (error) *error = QString::fromStdString(f.what());
        return {};
    }
}

} // namespace kolvane
