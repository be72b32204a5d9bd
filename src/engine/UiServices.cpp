#include "engine/UiServices.h"

namespace kolvane {

void ScriptedUiServices::record(Shown s) {
    if (onShown) onShown(s);
    shown.push_back(std::move(s));
}

void ScriptedUiServices::message(const std::string&, const std::string& text, MessageKind) {
    record({"message", text});
}

Answer ScriptedUiServices::question(const std::string&, const std::string& text, bool,
                                    Answer defaultAnswer) {
    record({"question", text});
    if (answers.empty()) return defaultAnswer;
    Answer a = answers.front();
    answers.erase(answers.begin());
    return a;
}

void ScriptedUiServices::statusText(int panel, const std::string& text) {
    if (panel >= 0 && panel < 3) status[panel] = text;
    record({"status", text});
}

void ScriptedUiServices::beep() {
    ++beeps;
    record({"beep", ""});
}

} // namespace kolvane
