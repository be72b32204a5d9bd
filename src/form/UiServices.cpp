#include "form/UiServices.h"

#include "model/Errors.h"
#include "refdata/UnitPickList.h"

#include <charconv>

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

void ScriptedUiServices::focusControl(const std::string& name) {
    focused = name;
}

bool ScriptedUiServices::pickFromList(TFormPickList& list) {
    record({"pick", list.caption()});
    if (pickAnswers.empty()) return false;
    const std::string a = pickAnswers.front();
    pickAnswers.erase(pickAnswers.begin());
    return ApplyScriptedPick(list, a);
}

std::optional<int> ScriptedPickRow(std::string_view answer, std::size_t rows) {
    if (answer.empty() || answer[0] != '#') return std::nullopt;
    const std::string_view digits = answer.substr(1);
    int n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size() || n < 1 ||
        static_cast<std::size_t>(n) > rows)
        return std::nullopt;
    return n - 1;
}

bool ApplyScriptedPick(TFormPickList& list, const std::string& answer) {
    if (!answer.empty() && answer[0] == '#') {
        const std::optional<int> row = ScriptedPickRow(answer, list.rows().size());
        if (!row)
            throw Error("选择列表“" + list.caption() + "”没有第“" + answer.substr(1) + "”行（共" +
                        std::to_string(list.rows().size()) + "行）");
        list.click(*row);
        return true;
    }
    if (!answer.empty() && answer[0] == '=') {
        list.setEntry(answer.substr(1));
        return true;
    }
    return false;
}

void ScriptedUiServices::showManual(const std::string& path, const std::string& topic) {
    manual = path;
    record({"help", topic});
}

void ScriptedUiServices::showPage(const std::string& name) {
    page = name;
}

std::string ScriptedUiServices::fileDialog(const char* kind, const FileDialogOptions& options) {
    dialogs.push_back(options);
    record({kind, options.title});
    if (files.empty()) return {};
    std::string f = files.front();
    files.erase(files.begin());
    return f;
}

std::string ScriptedUiServices::openFileDialog(const FileDialogOptions& options) {
    return fileDialog("open", options);
}

std::string ScriptedUiServices::saveFileDialog(const FileDialogOptions& options) {
    return fileDialog("save", options);
}

} // namespace kolvane
