#pragma once

#include <QDateTime>
#include <QModelIndex>
#include <QWidget>

class QPdfBookmarkModel;
class QPdfDocument;
class QPdfView;
class QTreeView;

namespace kolvane {

class QtUiServices;

// The manual's window "Kolvane 帮助": the bookmarks beside the pages. One
// window is kept from one help call to the next.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Kolvane 帮助";

    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Loads the PDF, again only when it is another file or has changed on
    // disk since. False, with the reason, when it cannot be read or has no
    // pages; the viewer is then empty.
    bool load(const QString& path, QString* why = nullptr);
    const QString& path() const { return path_; }
    // The first bookmark, depth first, whose title equals `title`; invalid
    // when there is none.
    QModelIndex findBookmark(const QString& title) const;
    // Jumps to the bookmark titled `title`; false (and the first page shown)
    // when the manual has none.
    bool showTopic(const QString& title);
    // The page the view counts as current (0-based): the one across the
    // upper part of the view.
    int currentPage() const;

    QPdfDocument* document() const { return document_; }
    QPdfBookmarkModel* bookmarks() const { return bookmarks_; }
    QTreeView* bookmarkTree() const { return tree_; }
    QPdfView* pageView() const { return view_; }

private:
    void jumpTo(const QModelIndex& bookmark);
    // Scrolls the pages so that `at` (points from the page's top left) is
    // at the top of the view.
    void scrollTo(int page, QPointF at);

    QPdfDocument* document_;
    QPdfBookmarkModel* bookmarks_;
    QTreeView* tree_;
    QPdfView* view_;
    QString path_;
    QDateTime modified_;
    qint64 size_ = -1;
};

// The help call: the window's one viewer (made on first use) opens `path`
// at the bookmark `topic`. A manual that cannot be read is told and no
// viewer shows; a missing bookmark is told ("没有发现:" and the topic) and
// the viewer stays on the manual's first page.
HelpViewer* ShowHelp(QWidget* owner, QtUiServices& ui, const std::string& path,
                     const std::string& topic);

} // namespace kolvane
