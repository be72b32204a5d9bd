#include "formula/MyValues.h"

#include <algorithm>

namespace kolvane {

namespace {

char Fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return s.substr(b, e - b);
}

const std::string kEmpty;

} // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

TMyValues::TMyValues() : rows_(kInitialRows) {
    rows_[0] = {"名称", "数量", "单位", "备注"};
}

void TMyValues::ClearRowsFrom(int row) {
    if (row < 0) row = 0;
    bool any = false;
    for (std::size_t r = static_cast<std::size_t>(row); r < rows_.size(); ++r) {
        for (auto& cell : rows_[r])
            cell.clear();
        any = true;
    }
    if (any) Changed();
}

void TMyValues::AddParam(std::string_view name, std::string_view value, std::string_view unit,
                         std::string_view note) {
    if (unique_) {
        // Only data rows count: a name equal to a column title may be added.
        for (std::size_t r = 1; r < rows_.size(); ++r)
            if (SameNameIgnoringCase(rows_[r][kColName], name)) return;
    }
    std::size_t target = rows_.size();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (TrimBlanks(rows_[r][kColName]).empty()) {
            target = r;
            break;
        }
    }
    if (target == rows_.size()) rows_.emplace_back();
    Row& row = rows_[target];
    if (!name.empty()) row[kColName] = std::string(name);
    if (!value.empty()) row[kColValue] = std::string(value);
    if (!unit.empty()) row[kColUnit] = std::string(unit);
    if (!note.empty()) row[kColNote] = std::string(note);
    Changed();
}

std::string TMyValues::ValueByName(std::string_view name) const {
    int r = FindName(name);
    return r < 0 ? std::string() : rows_[static_cast<std::size_t>(r)][kColValue];
}

void TMyValues::SetValueByName(std::string_view name, std::string_view value) {
    int r = FindName(name);
    if (r < 0) return;
    rows_[static_cast<std::size_t>(r)][kColValue] = std::string(value);
    Changed();
}

int TMyValues::FindName(std::string_view name) const {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (SameNameIgnoringCase(rows_[r][kColName], name)) return static_cast<int>(r);
    return -1;
}

std::vector<std::string> TMyValues::Column(int col) const {
    std::vector<std::string> list;
    list.reserve(rows_.size());
    for (const auto& row : rows_)
        list.push_back(row[static_cast<std::size_t>(col)]);
    return list;
}

void TMyValues::SetColumn(int col, const std::vector<std::string>& list) {
    std::size_t n = std::min(list.size(), rows_.size());
    for (std::size_t r = 0; r < n; ++r)
        rows_[r][static_cast<std::size_t>(col)] = list[r];
    Changed();
}

std::vector<std::string> TMyValues::Titles() const {
    return {rows_[0].begin(), rows_[0].end()};
}

void TMyValues::SetTitles(const std::vector<std::string>& list) {
    std::size_t n = std::min(list.size(), rows_[0].size());
    for (std::size_t c = 0; c < n; ++c)
        rows_[0][c] = list[c];
    Changed();
}

const std::string& TMyValues::Cell(int row, int col) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= kColCount) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TMyValues::SetCell(int row, int col, std::string_view text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= kColCount) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::string(text);
    Changed();
}

void TMyValues::Loaded() {
    for (std::size_t r = 1; r < rows_.size(); ++r)
        for (auto& cell : rows_[r])
            cell = std::string(TrimBlanks(cell));
    Changed();
}

int TMyValues::Subscribe(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void TMyValues::Unsubscribe(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TMyValues::Changed() {
    // A copy, so that a listener may unsubscribe while being told.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners)
        listener();
}

} // namespace kolvane
