#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// A small table of named text parameters: row 0 holds the column titles,
// each further row a name, a value, a unit and a note. The property library
// keeps temperature and pressure in it, and the formula parser takes its
// one-letter variables from it. All cells are text; nothing is converted.
class TMyValues {
public:
    static constexpr int kColName = 0;
    static constexpr int kColValue = 1;
    static constexpr int kColUnit = 2;
    static constexpr int kColNote = 3;
    static constexpr int kColCount = 4;
    static constexpr int kInitialRows = 5;

    using Row = std::array<std::string, kColCount>;

    TMyValues();
    virtual ~TMyValues() = default;

    // Empties the four cells of every row from `row` on; the row count stays.
    virtual void ClearRowsFrom(int row);
    // Writes the non-empty arguments into the first free row (a new row when
    // there is none). With Unique set, a name already present in a data row
    // leaves the grid unchanged.
    virtual void AddParam(std::string_view name, std::string_view value, std::string_view unit,
                          std::string_view note);
    // The value of the first row, from row 0 down, whose name matches without
    // regard to case; empty when none does.
    virtual std::string ValueByName(std::string_view name) const;
    // Writes `value` into the first matching row; nothing when none matches.
    virtual void SetValueByName(std::string_view name, std::string_view value);

    // The columns (element i is row i) and the title row (element i is
    // column i). Setting copies element by element from element 0 for at most
    // as many elements as the grid has; the grid is not resized.
    std::vector<std::string> Names() const { return Column(kColName); }
    std::vector<std::string> Values() const { return Column(kColValue); }
    std::vector<std::string> Units() const { return Column(kColUnit); }
    std::vector<std::string> Notes() const { return Column(kColNote); }
    std::vector<std::string> Titles() const;
    virtual void SetNames(const std::vector<std::string>& list) { SetColumn(kColName, list); }
    virtual void SetValues(const std::vector<std::string>& list) { SetColumn(kColValue, list); }
    virtual void SetUnits(const std::vector<std::string>& list) { SetColumn(kColUnit, list); }
    virtual void SetNotes(const std::vector<std::string>& list) { SetColumn(kColNote, list); }
    virtual void SetTitles(const std::vector<std::string>& list);

    bool Unique() const { return unique_; }
    void SetUnique(bool unique) { unique_ = unique; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColCount() const { return kColCount; }
    // Out-of-range cells read as empty and ignore writes.
    const std::string& Cell(int row, int col) const;
    void SetCell(int row, int col, std::string_view text);

    // The row whose name matches `name` without regard to case, searching
    // from row 0 down; -1 when none does.
    int FindName(std::string_view name) const;

    // Only the value column takes typed text: the name column and the title
    // row are headers, unit and note are set by the program.
    static bool AcceptsTyping(int row, int col) { return row > 0 && col == kColValue; }

    // After the grid has been loaded from a stored layout: stored empty cells
    // come back as a single blank, so every data cell is trimmed of blanks.
    void Loaded();

    // Called after every change of a cell or of the row count.
    using Listener = std::function<void()>;
    int Subscribe(Listener listener);
    void Unsubscribe(int id);

private:
    std::vector<std::string> Column(int col) const;
    void SetColumn(int col, const std::vector<std::string>& list);
    void Changed();

    std::vector<Row> rows_;
    bool unique_ = true;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
};

// Names compared the way the grid compares them: ASCII letters without
// regard to case, every other byte exactly.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

} // namespace kolvane
