#pragma once

#include <string>
#include <vector>

namespace kolvane {

// The pick list: a numbered table of named values with a unit, a row the
// user may click, and an entry field whose text OK returns. The dialog is a
// view of this model; tests and the command line answer it directly.
class TFormPickList {
public:
    struct Row {
        std::string number, name, value, unit;
    };

    TFormPickList(const std::vector<std::string>& values, const std::vector<std::string>& names,
                  const std::string& unit, const std::string& current, std::string caption,
                  std::string prompt);

    const std::string& caption() const { return caption_; }
    const std::string& prompt() const { return prompt_; }
    const std::vector<Row>& rows() const { return rows_; }
    // The selected row (0-based).
    int selected() const { return selected_; }
    const std::string& entry() const { return entry_; }

    // A mouse click on row `index`: it is selected and its value copied
    // into the entry field. Outside the table nothing happens.
    void click(int index);
    // Moving the selection with the keyboard: the entry field keeps its text.
    void select(int index);
    // Typing into the entry field.
    void setEntry(std::string text) { entry_ = std::move(text); }

    // Closing: OK returns the entry's text, Cancel the caller's current value.
    std::string result(bool ok) const { return ok ? entry_ : current_; }

private:
    std::string caption_, prompt_, current_, entry_;
    std::vector<Row> rows_;
    int selected_ = 0;
};

// The fixed lists of the main window.
struct PickList {
    std::vector<std::string> values, names;
    const char* unit;
    const char* caption;
    const char* prompt;
};
// Coil pitch as a multiple of the tube's outside diameter (SBP3).
const PickList& PitchList();
// Absolute roughness of pipes in mm (SBP5).
const PickList& RoughnessList();

} // namespace kolvane
