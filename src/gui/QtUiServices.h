#pragma once

#include "form/UiServices.h"

#include <functional>
#include <string>
#include <vector>

class QString;
class QWidget;

namespace kolvane {

class MyStatusBar;
class PickListDialog;

// Dialogs answered at once instead of shown, for a program that runs with
// nobody to close a modal box (the GUI tests switch it on in their main).
// Messages, questions and the errors of guarded handlers are recorded;
// questions take the queued answers, then their default; file dialogs take
// the queued paths, then are cancelled; pick lists take the queued picks:
// "#N" clicks row N (from 1) and OK, "=TEXT" types TEXT and OK, anything
// else or none left cancels. The pick lists' captions are recorded apart.
struct AutoAnswer {
    bool on = false;
    std::vector<Answer> answers;
    std::vector<std::string> files;
    std::vector<std::string> shown;
    std::vector<std::string> picks;
    std::vector<std::string> pickLists;
    // The names the file dialogs started with ("" when none), and their
    // folders as asked for ("" for the documents folder).
    std::vector<std::string> fileNames;
    std::vector<std::string> folders;
};
AutoAnswer& DialogAutoAnswer();

// The folder a file dialog starts in: `initialDir` when it is a folder, else
// the user's documents folder (the home folder where there is none).
QString DialogFolder(const std::string& initialDir);

// The user-interface services answered with Qt dialogs and the status bar.
class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* p) { parent_ = p; }
    void setStatusBar(MyStatusBar* bar) { statusBar_ = bar; }
    // Gives the focus to the control of a component name.
    void setFocusHandler(std::function<void(const std::string&)> h) {
        focusHandler_ = std::move(h);
    }
    // Brings the page of a component name to the front.
    void setPageHandler(std::function<void(const std::string&)> h) { pageHandler_ = std::move(h); }
    // Runs the pick list dialog in place of its modal loop while set (a
    // screenshot shows and grabs it), also when dialogs are answered at
    // once; its result is the pick's.
    void setPickRunner(std::function<bool(PickListDialog&)> r) { pickRunner_ = std::move(r); }
    // Shows the manual; without one set (a build without a PDF viewer) the
    // help says it cannot show the manual.
    void setManualHandler(std::function<void(const std::string&, const std::string&)> h) {
        manualHandler_ = std::move(h);
    }

    void message(const std::string& caption, const std::string& text, MessageKind kind) override;
    Answer question(const std::string& caption, const std::string& text, bool withCancel,
                    Answer defaultAnswer) override;
    void statusText(int panel, const std::string& text) override;
    void beep() override;
    // The focus goes back once the message about the control is closed.
    void focusControl(const std::string& name) override;
    // A handler's error is not told after all: the focus stays where it is.
    void dropFocusReturn() { pendingFocus_.clear(); }
    std::string openFileDialog(const FileDialogOptions& options) override;
    std::string saveFileDialog(const FileDialogOptions& options) override;
    // The save dialog starting with `fileName` in its name field.
    std::string saveFileDialog(const FileDialogOptions& options, const std::string& fileName);
    // The pick list dialog, modal; true when closed with OK.
    bool pickFromList(TFormPickList& list) override;
    void showPage(const std::string& name) override;
    void showManual(const std::string& path, const std::string& topic) override;

    // RunGuarded, then the focus goes where a handler asked for it.
    void guarded(const std::function<void()>& handler);

private:
    std::string fileDialog(const FileDialogOptions& options, bool save,
                           const std::string& fileName = {});
    void returnFocus(const std::string& name);

    QWidget* parent_;
    MyStatusBar* statusBar_ = nullptr;
    std::function<void(const std::string&)> focusHandler_;
    std::function<void(const std::string&)> pageHandler_;
    std::function<bool(PickListDialog&)> pickRunner_;
    std::function<void(const std::string&, const std::string&)> manualHandler_;
    int guardDepth_ = 0;
    std::string pendingFocus_;
};

// Runs a handler at the event boundary: an error it raises is shown in a
// message box and the window stays usable.
void RunGuarded(QWidget* parent, const std::function<void()>& handler);

} // namespace kolvane
