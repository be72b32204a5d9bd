#pragma once

#include "engine/Optimiser.h"
#include "refdata/RefData.h"

namespace kolvane {

class TFormKolvane;

// The pickers of the main window and the reference data they read: pitch,
// roughness and expansion coefficient from pick lists, the pipe series page
// and the pipe it puts into the tube diameters. The window owns one and its
// button handlers (SBP3Click …) forward to it.
class Pickers {
public:
    explicit Pickers(TFormKolvane& window) : w_(window) {}
    Pickers(const Pickers&) = delete;
    Pickers& operator=(const Pickers&) = delete;

    // The buttons' click events; once the window's form is built.
    void bind();
    // Opens Piples.db in the program folder; unavailable data is told when
    // it is needed, the program starts regardless.
    void openTables();
    RefTables& tables() { return tables_; }
    const RefTables& tables() const { return tables_; }

    void pitch();
    void roughness();
    void expansion();
    void pipesPage();
    void selectPipe();
    void maintainPipes();
    // Writes a layout the search found into the calculation page and runs
    // the pass, as the pipe picker does.
    void applyDesign(const Design& d);

private:
    // False, after telling why, when the reference data could not be read.
    bool available();

    TFormKolvane& w_;
    RefTables tables_;
};

} // namespace kolvane
