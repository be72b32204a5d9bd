#include "refdata/UnitPickList.h"

namespace kolvane {

TFormPickList::TFormPickList(const std::vector<std::string>& values,
                             const std::vector<std::string>& names, const std::string& unit,
                             const std::string& current, std::string caption, std::string prompt)
    : caption_(std::move(caption)), prompt_(std::move(prompt)), current_(current) {
    for (std::size_t i = 0; i < values.size(); ++i)
        rows_.push_back(
            {std::to_string(i + 1), i < names.size() ? names[i] : std::string(), values[i], unit});
    // The last row whose value is the current text exactly; else the first.
    selected_ = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].value == current) selected_ = static_cast<int>(i);
    if (!current.empty()) {
        entry_ = current;
    } else {
        entry_ = rows_.empty() ? std::string() : rows_[0].value;
        selected_ = 0;
    }
}

void TFormPickList::click(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    selected_ = index;
    entry_ = rows_[static_cast<std::size_t>(index)].value;
}

void TFormPickList::select(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    selected_ = index;
}

const PickList& PitchList() {
    // The gap between neighbouring turns is the pitch ratio less one.
    static const PickList list{{"1.0", "1.5", "2.0", "2.5", "3.0"},
                               {"空隙=0", "空隙=0.5Do", "空隙=1.0Do", "空隙=1.5Do", "空隙=2.0Do"},
                               "-",
                               "螺距选择",
                               "螺距和外管径之比"};
    return list;
}

const PickList& RoughnessList() {
    static const PickList list{{"0.01", "0.10", "0.30"},
                               {"无缝黄铜管\\钢管\\铅管", "新无缝钢管\\镀锌铁管", "新铸铁管"},
                               "mm",
                               "管道绝对粗糟度选择",
                               "绝对粗糟度"};
    return list;
}

} // namespace kolvane
