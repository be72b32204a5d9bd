#pragma once

#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include <iosfwd>
#include <string>

namespace kolvane {

// The window without a screen that a command works in, with the reference
// tables that lie beside the program unless the command needs none (opening
// a project does not). What it would show in a message box goes to
// `messages` (nullptr: nowhere).
class CliWindow {
public:
    explicit CliWindow(std::ostream* messages, bool withTables = true);
    CliWindow(const CliWindow&) = delete;
    CliWindow& operator=(const CliWindow&) = delete;

    // Opens a project or template as File > Open does, option handlers and
    // recalculation included. False, with the complaint in `error`, for a
    // file that is missing, no project or damaged.
    bool open(const std::string& file, std::string& error);

    ScriptedUiServices ui;
    TFormKolvane window;
};

} // namespace kolvane
