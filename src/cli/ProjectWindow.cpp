#include "cli/ProjectWindow.h"

#include "cli/Cli.h"

#include <filesystem>
#include <ostream>

namespace kolvane {

ProjectWindow::ProjectWindow(std::ostream& err)
    : window(ui, std::filesystem::current_path().string()) {
    ui.onShown = [&err](const ScriptedUiServices::Shown& s) {
        if (s.kind == "beep") return;
        err << s.kind << ": " << s.text << '\n';
    };
    window.refTables().open((std::filesystem::path(ProgramFolder()) / "Piples.db").string());
}

} // namespace kolvane
