#pragma once

#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include <iosfwd>

namespace kolvane {

// The window a command works in, without a display: its message boxes and
// status texts told on `err` ("message: TEXT"), the current folder as its
// own, and the reference tables beside the program, wherever it is run from.
struct ProjectWindow {
    explicit ProjectWindow(std::ostream& err);
    ScriptedUiServices ui;
    TFormKolvane window;
};

} // namespace kolvane
