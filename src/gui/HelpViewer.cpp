#include "gui/HelpViewer.h"

#include "gui/QtUiServices.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

namespace kolvane {

namespace {

using Role = QPdfBookmarkModel::Role;

QString ErrorText(QPdfDocument::Error e) {
    switch (e) {
    case QPdfDocument::Error::FileNotFound:
        return QStringLiteral("文件不存在或无法读取");
    case QPdfDocument::Error::InvalidFileFormat:
        return QStringLiteral("不是有效的 PDF 文件或文件已损坏");
    case QPdfDocument::Error::IncorrectPassword:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("文件已加密");
    default:
        return QStringLiteral("无法读取");
    }
}

QModelIndex FindIn(const QAbstractItemModel& model, const QModelIndex& parent,
                   const QString& title) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex i = model.index(row, 0, parent);
        if (i.data(int(Role::Title)).toString() == title) return i;
        if (QModelIndex below = FindIn(model, i, title); below.isValid()) return below;
    }
    return {};
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), document_(new QPdfDocument(this)),
      bookmarks_(new QPdfBookmarkModel(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QString::fromUtf8(kTitle));
    bookmarks_->setDocument(document_);

    auto* splitter = new QSplitter(this);
    tree_ = new QTreeView(splitter);
    tree_->setObjectName(QStringLiteral("HelpBookmarks"));
    tree_->setModel(bookmarks_);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    view_ = new QPdfView(splitter);
    view_->setObjectName(QStringLiteral("HelpPages"));
    view_->setPageMode(QPdfView::PageMode::MultiPage);
    view_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    view_->setDocument(document_);
    splitter->addWidget(tree_);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 740});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(1000, 720);

    // Esc closes the manual, as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("HelpEscape"));
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(tree_, &QTreeView::activated, this, &HelpViewer::jumpTo);
    connect(tree_, &QTreeView::clicked, this, &HelpViewer::jumpTo);
}

HelpViewer::~HelpViewer() = default;

bool HelpViewer::load(const QString& path, QString* why) {
    const QFileInfo info(path);
    if (path == path_ && document_->status() == QPdfDocument::Status::Ready &&
        info.lastModified() == modified_ && info.size() == size_)
        return true;
    document_->close();
    path_.clear();
    const QPdfDocument::Error e = document_->load(path);
    if (e != QPdfDocument::Error::None || document_->pageCount() < 1) {
        if (why) *why = e != QPdfDocument::Error::None ? ErrorText(e) : QStringLiteral("没有页面");
        document_->close();
        return false;
    }
    path_ = path;
    modified_ = info.lastModified();
    size_ = info.size();
    tree_->expandAll();
    return true;
}

QModelIndex HelpViewer::findBookmark(const QString& title) const {
    return FindIn(*bookmarks_, QModelIndex(), title);
}

bool HelpViewer::showTopic(const QString& title) {
    const QModelIndex bookmark = findBookmark(title);
    if (!bookmark.isValid()) {
        tree_->clearSelection();
        view_->pageNavigator()->jump(0, QPointF(), 0);
        view_->verticalScrollBar()->setValue(0);
        return false;
    }
    tree_->setCurrentIndex(bookmark);
    tree_->scrollTo(bookmark);
    jumpTo(bookmark);
    return true;
}

int HelpViewer::currentPage() const {
    return view_->pageNavigator()->currentPage();
}

void HelpViewer::jumpTo(const QModelIndex& bookmark) {
    if (!bookmark.isValid()) return;
    const int page = bookmark.data(int(Role::Page)).toInt();
    const QPointF at = bookmark.data(int(Role::Location)).toPointF();
    view_->pageNavigator()->jump(page, at, 0);
    scrollTo(page, at);
}

void HelpViewer::scrollTo(int page, QPointF at) {
    // The view goes to the top of a page only; the place on the page is
    // ours. Pages are stacked at the view's width, with its margins and
    // spacing.
    const QMargins m = view_->documentMargins();
    const double width = view_->viewport()->width() - m.left() - m.right();
    if (width <= 0 || page < 0 || page >= document_->pageCount()) return;
    double y = m.top();
    for (int i = 0; i < page; ++i) {
        const QSizeF size = document_->pagePointSize(i);
        if (size.width() > 0) y += size.height() * width / size.width();
        y += view_->pageSpacing();
    }
    const QSizeF size = document_->pagePointSize(page);
    // A little room above the heading.
    if (size.width() > 0) y += std::max(0.0, at.y() - 8) * width / size.width();
    view_->verticalScrollBar()->setValue(int(y));
}

HelpViewer* ShowHelp(QWidget* owner, QtUiServices& ui, const std::string& path,
                     const std::string& topic) {
    auto* viewer = owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer) viewer = new HelpViewer(owner);
    const QString file = QString::fromStdString(path);
    QString why;
    if (!viewer->load(file, &why)) {
        viewer->hide();
        ui.message(HelpViewer::kTitle,
                   "帮助文档无法打开：" + path + "（" + why.toStdString() + "）",
                   MessageKind::Error);
        return nullptr;
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    if (!viewer->showTopic(QString::fromStdString(topic))) {
        // Told over the manual, which stays open at its start.
        ui.setParent(viewer);
        ui.message(HelpViewer::kTitle, "没有发现:" + topic, MessageKind::Information);
        ui.setParent(owner);
    }
    return viewer;
}

} // namespace kolvane
