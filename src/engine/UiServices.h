#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kolvane {

enum class MessageKind { Information, Warning, Error, Question };
enum class Answer { Yes, No, Cancel, Ok };

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
};

// Answers from a script and records what was shown: for tests and the CLI.
class ScriptedUiServices : public UiServices {
public:
    struct Shown {
        std::string kind; // "message", "question", "status", "beep"
        std::string text;
    };

    void message(const std::string& caption, const std::string& text, MessageKind kind) override;
    Answer question(const std::string& caption, const std::string& text, bool withCancel,
                    Answer defaultAnswer) override;
    void statusText(int panel, const std::string& text) override;
    void beep() override;

    // Answers given to questions in turn; when none is left, the default.
    std::vector<Answer> answers;
    std::vector<Shown> shown;
    std::string status[3];
    int beeps = 0;

    // Called for every message, status text and beep as it happens.
    std::function<void(const Shown&)> onShown;

private:
    void record(Shown s);
};

} // namespace kolvane
