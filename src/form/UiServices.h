#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

class TFormPickList;

enum class MessageKind { Information, Warning, Error, Question };
enum class Answer { Yes, No, Cancel, Ok };

// A file dialog's settings. The filter is pairs of caption and pattern joined
// by "|" ("项目文件|*.kvp|模板文件|*.kvt"); filterIndex counts from 1.
struct FileDialogOptions {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string defaultExt; // appended, without the dot, to a name typed without one
    // The folder the dialog starts in; "" for the user's documents folder.
    std::string initialDir;
};

// Everything a handler needs from a human goes through this interface: the
// GUI answers with dialogs, tests and the CLI with scripted answers.
class UiServices {
public:
    virtual ~UiServices() = default;
    // A message box with an OK button.
    virtual void message(const std::string& caption, const std::string& text, MessageKind kind) = 0;
    // A question with the given buttons (Yes/No or Yes/No/Cancel).
    virtual Answer question(const std::string& caption, const std::string& text, bool withCancel,
                            Answer defaultAnswer) = 0;
    // Text for a panel of the status bar (0 hint, 1 messages).
    virtual void statusText(int panel, const std::string& text) = 0;
    virtual void beep() = 0;
    // Puts the focus back into a control (after a message about it).
    virtual void focusControl(const std::string& /*name*/) {}
    // Shows the pick list modally; true when it was closed with OK.
    virtual bool pickFromList(TFormPickList& /*list*/) { return false; }
    // Brings a page of the main window to the front.
    virtual void showPage(const std::string& /*name*/) {}
    // File dialogs: the chosen path, or "" when the user cancels. The save
    // dialog asks before it lets the user pick an existing file.
    virtual std::string openFileDialog(const FileDialogOptions&) { return {}; }
    virtual std::string saveFileDialog(const FileDialogOptions&) { return {}; }
    // Shows the manual (a PDF file) at the bookmark titled `topic`.
    virtual void showManual(const std::string& /*path*/, const std::string& /*topic*/) {}
};

// A scripted answer to a pick list: "#N" clicks row N (1-based) and OK,
// "=TEXT" types TEXT and OK; anything else cancels. True when it picked.
// A "#N" whose N is not a whole number from 1 to the list's rows raises
// Error naming the list: a script must never pick another row than it says.
bool ApplyScriptedPick(TFormPickList& list, const std::string& answer);
// The row (0-based) that "#N" names in a list of `rows` rows; nothing when
// the answer is no "#N" or N is not a whole number from 1 to `rows`.
std::optional<int> ScriptedPickRow(std::string_view answer, std::size_t rows);

// Answers from a script and records what was shown: for tests and the CLI.
class ScriptedUiServices : public UiServices {
public:
    struct Shown {
        std::string kind; // "message", "question", "status", "beep", "open", "save", "help"
        std::string text;
    };

    void message(const std::string& caption, const std::string& text, MessageKind kind) override;
    Answer question(const std::string& caption, const std::string& text, bool withCancel,
                    Answer defaultAnswer) override;
    void statusText(int panel, const std::string& text) override;
    void beep() override;
    void focusControl(const std::string& name) override;
    // Answers in turn: "#N" clicks row N (1-based) and OK, "=TEXT" types TEXT
    // and OK, "cancel" cancels; none left cancels.
    bool pickFromList(TFormPickList& list) override;
    void showPage(const std::string& name) override;
    std::string openFileDialog(const FileDialogOptions& options) override;
    std::string saveFileDialog(const FileDialogOptions& options) override;
    // Recorded as "help" with the topic; the file is kept in `manual`.
    void showManual(const std::string& path, const std::string& topic) override;

    // Paths chosen in file dialogs in turn; "" or none left cancels.
    std::vector<std::string> files;
    // Every file dialog shown, in order.
    std::vector<FileDialogOptions> dialogs;

    // Answers given to questions in turn; when none is left, the default.
    std::vector<Answer> answers;
    std::vector<Shown> shown;
    std::string status[3];
    int beeps = 0;
    // The control that last received the focus back.
    std::string focused;
    std::vector<std::string> pickAnswers;
    // The page last brought to the front.
    std::string page;
    // The manual file last shown.
    std::string manual;

    // Called for every message, status text and beep as it happens.
    std::function<void(const Shown&)> onShown;

private:
    void record(Shown s);
    std::string fileDialog(const char* kind, const FileDialogOptions& options);
};

} // namespace kolvane
