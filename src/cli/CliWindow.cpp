#include "cli/CliWindow.h"

#include "cli/Cli.h"

#include <filesystem>
#include <ostream>

namespace kolvane {

CliWindow::CliWindow(std::ostream* messages, bool withTables)
    : window(ui, std::filesystem::current_path().string()) {
    if (messages)
        ui.onShown = [messages](const ScriptedUiServices::Shown& s) {
            if (s.kind == "beep") return;
            *messages << s.kind << ": " << s.text << '\n';
        };
    // The reference tables lie beside the program, wherever it is run from.
    if (withTables)
        window.refTables().open((std::filesystem::path(ProgramFolder()) / "Piples.db").string());
}

bool CliWindow::open(const std::string& file, std::string& error) {
    try {
        if (window.OpenProjectFile(file)) return true;
        error = "cannot open '" + file + "'";
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}

} // namespace kolvane
