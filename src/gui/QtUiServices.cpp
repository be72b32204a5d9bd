#include "gui/QtUiServices.h"
#include "print/QtText.h"

#include "gui/MyStatusBar.h"
#include "gui/PickListDialog.h"
#include "refdata/UnitPickList.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTimer>

#include <cstdlib>
#include <exception>

namespace kolvane {

namespace {
// "caption|pattern|caption|pattern" -> Qt's "caption (pattern)" entries. The
// captions already name their patterns, so the dialog hides Qt's copy.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return out;
}

// The extension a name typed without one receives: the selected filter's
// ("*.kvt" gives "kvt"), so a template is saved as a template.
QString SuffixOf(const QString& nameFilter, const QString& fallback) {
    int open = nameFilter.lastIndexOf(QLatin1Char('('));
    QString pattern = nameFilter.mid(open + 1).chopped(1).trimmed();
    if (pattern.startsWith(QStringLiteral("*.")) && pattern.count(QLatin1Char('*')) == 1 &&
        !pattern.contains(QLatin1Char(' ')) && !pattern.contains(QLatin1Char(';')))
        return pattern.mid(2);
    return fallback;
}
template <class T> T TakeFirst(std::vector<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T first = std::move(queue.front());
    queue.erase(queue.begin());
    return first;
}
} // namespace

QString DialogFolder(const std::string& initialDir) {
    const QString folder = Q(initialDir);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    // Not the folder the program was started from, which is rarely where
    // the user keeps projects.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

AutoAnswer& DialogAutoAnswer() {
    static AutoAnswer answer;
    return answer;
}

void QtUiServices::message(const std::string& caption, const std::string& text, MessageKind kind) {
    if (AutoAnswer& a = DialogAutoAnswer(); a.on) {
        a.shown.push_back(text);
        return;
    }
    switch (kind) {
    case MessageKind::Warning:
        QMessageBox::warning(parent_, Q(caption), Q(text));
        break;
    case MessageKind::Error:
        QMessageBox::critical(parent_, Q(caption), Q(text));
        break;
    default:
        QMessageBox::information(parent_, Q(caption), Q(text));
        break;
    }
}

void QtUiServices::showManual(const std::string& path, const std::string& topic) {
    if (manualHandler_) {
        manualHandler_(path, topic);
        return;
    }
    message("Kolvane 帮助", "本程序没有内置 PDF 阅读器，无法显示帮助文档：" + path,
            MessageKind::Error);
}

Answer QtUiServices::question(const std::string& caption, const std::string& text, bool withCancel,
                              Answer defaultAnswer) {
    if (AutoAnswer& a = DialogAutoAnswer(); a.on) {
        a.shown.push_back(text);
        return TakeFirst(a.answers, defaultAnswer);
    }
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    auto def = defaultAnswer == Answer::Yes  ? QMessageBox::Yes
               : defaultAnswer == Answer::No ? QMessageBox::No
                                             : QMessageBox::Cancel;
    auto r = QMessageBox::question(parent_, Q(caption), Q(text), buttons, def);
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

void QtUiServices::statusText(int panel, const std::string& text) {
    if (statusBar_) statusBar_->setPanelText(panel, Q(text));
}

void QtUiServices::beep() {
    QApplication::beep();
}

void QtUiServices::focusControl(const std::string& name) {
    // Inside a guarded handler the message is still to come: the focus goes
    // back after it is closed.
    if (guardDepth_ > 0)
        pendingFocus_ = name;
    else
        returnFocus(name);
}

void QtUiServices::returnFocus(const std::string& name) {
    if (!focusHandler_ || name.empty()) return;
    if (!parent_) {
        focusHandler_(name);
        return;
    }
    // Later, from the event loop: the handler may be running inside the
    // focus change that took the focus away, which has to finish first.
    QTimer::singleShot(0, parent_, [this, name] { focusHandler_(name); });
}

void QtUiServices::guarded(const std::function<void()>& handler) {
    {
        ++guardDepth_;
        auto leave = qScopeGuard([this] { --guardDepth_; });
        RunGuarded(parent_, handler);
    }
    if (guardDepth_ == 0 && !pendingFocus_.empty()) {
        std::string name;
        name.swap(pendingFocus_);
        returnFocus(name);
    }
}

std::string QtUiServices::openFileDialog(const FileDialogOptions& options) {
    return fileDialog(options, false);
}

std::string QtUiServices::saveFileDialog(const FileDialogOptions& options) {
    return fileDialog(options, true);
}

std::string QtUiServices::saveFileDialog(const FileDialogOptions& options,
                                         const std::string& fileName) {
    return fileDialog(options, true, fileName);
}

std::string QtUiServices::fileDialog(const FileDialogOptions& options, bool save,
                                     const std::string& fileName) {
    if (AutoAnswer& a = DialogAutoAnswer(); a.on) {
        a.fileNames.push_back(fileName);
        a.folders.push_back(options.initialDir);
        return TakeFirst(a.files, std::string());
    }
    QFileDialog dialog(parent_, Q(options.title), DialogFolder(options.initialDir));
    QStringList filters = NameFilters(options.filter);
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QString fallback = Q(options.defaultExt);
    if (options.filterIndex >= 1 && options.filterIndex <= filters.size()) {
        const QString& selected = filters[options.filterIndex - 1];
        dialog.selectNameFilter(selected);
        dialog.setDefaultSuffix(SuffixOf(selected, fallback));
    } else {
        dialog.setDefaultSuffix(fallback);
    }
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, fallback](const QString& f) { dialog.setDefaultSuffix(SuffixOf(f, fallback)); });
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // asks before replacing a file
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setSizeGripEnabled(true);
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    while (dialog.exec() == QDialog::Accepted) {
        QString chosen = dialog.selectedFiles().value(0);
        QFileInfo info(chosen);
        // Like the Windows dialog, a read-only file cannot be chosen to save over.
        if (save && info.exists() && !info.isWritable()) {
            QMessageBox::warning(&dialog, Q(options.title),
                                 QStringLiteral("文件是只读的:\n") + chosen);
            continue;
        }
        return chosen.toStdString();
    }
    return {};
}

bool QtUiServices::pickFromList(TFormPickList& list) {
    // A new dialog for every pick, gone once it closes.
    if (pickRunner_) {
        PickListDialog dialog(list, parent_);
        return pickRunner_(dialog);
    }
    if (AutoAnswer& a = DialogAutoAnswer(); a.on) {
        a.pickLists.push_back(list.caption());
        return ApplyScriptedPick(list, TakeFirst(a.picks, std::string()));
    }
    PickListDialog dialog(list, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtUiServices::showPage(const std::string& name) {
    if (pageHandler_) pageHandler_(name);
}

void RunGuarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        if (AutoAnswer& a = DialogAutoAnswer(); a.on) {
            a.shown.push_back(e.what());
            return;
        }
        QMessageBox::critical(parent, QStringLiteral("错误"), QString::fromStdString(e.what()));
    }
}

} // namespace kolvane
