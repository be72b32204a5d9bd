// The property library window's state and commands.
#include "form/SimpProps.h"

#include "engine/MainFormTables.h"
#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "form/EditD.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "model/Iapws97.h"
#include "props/PropFormulas.h"
#include "props/ValidityRange.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace kolvane {

namespace {

struct ResultRow {
    const char* name;     // CPD
    const char* property; // "Cp", as the compute command names it
    const char* label;
    std::vector<UnitItem> units;
};

const std::vector<ResultRow>& ResultRows() {
    static const std::vector<ResultRow> rows = {
        {"CPD",
         "Cp",
         "比热",
         {{"J/(kg.K)", "1"},
          {"kJ/(kg.K)", "1000"},
          {"kcal/kg.K", "4187"},
          {"Mkcal/kg.K", "4.187E9"}}},
        {"MDD", "MD", "密度", {{"kg/m3", "1"}, {"t/m3", "1000"}}},
        {"VID", "VI", "黏度", {{"N.S/m2", "1"}, {"Pa.S", "1"}, {"cP", "0.001"}}},
        {"TCD",
         "TC",
         "导热系数",
         {{"W/(m.K)", "1"},
          {"kW/(m.K)", "1000"},
          {"kJ/(m.K.S)", "1000"},
          {"kcal/(m.K.S)", "4187"},
          {"kcal/(m.K.h)", "1.1630"}}},
        {"STD",
         "ST",
         "表面张力",
         {{"N/m", "1"}, {"Dyne/cm", "0.001"}, {"g/cm", "0.9807"}, {"kg/m", "9.807"}}},
        {"HVD", "HV", "蒸发潜热", {{"J/kg", "1"}, {"kJ/kg", "1000"}, {"kcal/kg", "4186"}}},
    };
    return rows;
}

// Which result goes into which field of the main window, by the button that
// opened the library. The surface tension is never carried.
struct Carry {
    const char* result;
    fid::FieldId field;
};
std::vector<Carry> CarriesOf(const std::string& caller) {
    if (caller == "SBP1")
        return {{"CPD", fid::CopD}, {"MDD", fid::DenoD}, {"VID", fid::VioD}, {"TCD", fid::LdoD}};
    if (caller == "SBP2")
        return {{"CPD", fid::CipD},
                {"MDD", fid::DeniD},
                {"VID", fid::ViiD},
                {"TCD", fid::LdiD},
                {"HVD", fid::DHiD}};
    if (caller == "SBP2v") return {{"MDD", fid::denivD}, {"VID", fid::ViivD}};
    return {};
}

// Why the state of the grid lies outside the record's stated range for the
// property text `text`, as "在500 °C、100 kPa下超出适用范围-50~400 °C"; "" when
// it lies inside or the note states no range. A saturated text is evaluated
// at the saturation temperature of p, so that temperature, not t, is checked.
std::string OutsideRecordRange(const PropertyRecord& r, std::string_view text,
                               const TMyValues& grid) {
    const std::optional<ValidityRange> range = ParseValidityRange(r.NT);
    if (!range || PropertyTextBody(text).empty()) return {};
    auto number = [&grid](const char* name) {
        return ParseExactReal(TrimControl(grid.ValueByName(name)));
    };
    std::optional<double> t = number("t");
    const std::optional<double> p = number("p");
    const bool saturated = IsSaturatedText(text);
    std::string state;
    if (t && !saturated) state = FloatToStr15(*t) + " °C";
    if (p) state += (state.empty() ? "" : "、") + FloatToStr15(*p) + " kPa";
    if (saturated) {
        t.reset();
        if (p && (range->tMin || range->tMax)) {
            try {
                t = if97::SaturationTemperatureC(*p);
                state += "（饱和温度" + FormatGeneral(*t, 4, 1) + " °C）";
            } catch (const MathError&) {
                // No saturation state: below the triple point or above the
                // critical point, outside any temperature range of water.
                t = (*p > 1000 ? 1 : -1) * std::numeric_limits<double>::infinity();
            }
        }
    }
    const std::string why = OutsideValidityRange(*range, t, p);
    return why.empty() ? why : "在" + state + "下超出适用范围" + why;
}

} // namespace

TFormSimpPL::TFormSimpPL(UiServices& ui, std::string programDir)
    : ui_(ui), programDir_(std::move(programDir)) {
    for (const ResultRow& r : ResultRows()) {
        auto& label = form_.add<TLabel>(nullptr, LabelName(r.name), r.label);
        auto& e = form_.add<TEditD>(nullptr, r.name);
        e.setMyLabel(label.name());
        e.setFontColor(kBlue);
        std::vector<std::string> items;
        for (const UnitItem& u : r.units)
            items.push_back(UnitItemText(u));
        auto& unit = form_.add<TComboBoxU>(nullptr, SelectorName(r.name), std::move(items));
        unit.setAssociated(&e);
        unit.Loaded();
    }
    grid_.AddParam("t", "20", "C", "温度");
    grid_.AddParam("p", "100", "kPa", "压力");
    // A state typed into the grid is not the one the results were computed
    // for: they go at once, so that no value is read against the wrong state.
    grid_.Subscribe([this] {
        if (dropStaleResults() && onChanged) onChanged();
    });
    PageControlPChange();
}

std::optional<TFormSimpPL::ResultState> TFormSimpPL::currentState() const {
    const PropertyRecord* r = currentRecord();
    if (!r) return std::nullopt;
    return ResultState{*r, grid_.Names(), grid_.Values(), caller_ == "SBP2v"};
}

bool TFormSimpPL::resultsCurrent() const {
    return resultsFor_ && currentState() == resultsFor_;
}

bool TFormSimpPL::dropStaleResults() {
    if (computing_ || !resultsFor_ || resultsCurrent()) return false;
    resultsFor_.reset();
    for (const ResultRow& row : ResultRows())
        result(row.name).setText("");
    return true;
}

std::string TFormSimpPL::resultsFor() const {
    if (!resultsCurrent()) return {};
    const ResultState& s = *resultsFor_;
    std::string state;
    for (auto [name, unit] : {std::pair{"t", " °C"}, {"p", " kPa"}}) {
        for (std::size_t i = 1; i < s.names.size() && i < s.values.size(); ++i) {
            if (!SameNameIgnoringCase(s.names[i], name) || s.values[i].empty()) continue;
            state += (state.empty() ? "" : "，") + std::string(name) + "=" + s.values[i] + unit;
            break;
        }
    }
    const std::string fluid = s.record.NO + " " + s.record.CN;
    return state.empty() ? fluid : fluid + "（" + state + "）";
}

TEditD& TFormSimpPL::result(std::string_view name) const {
    return form_.get<TEditD>(name);
}

void TFormSimpPL::setCurrent(int index) {
    if (index < -1 || index >= static_cast<int>(records_.size()) || index == current_) return;
    // Moving to another record keeps a pending edit, as a navigator does.
    if (editing_) Post();
    current_ = index;
    changed();
}

const PropertyRecord* TFormSimpPL::currentRecord() const {
    if (current_ < 0 || current_ >= static_cast<int>(records_.size())) return nullptr;
    return &records_[static_cast<std::size_t>(current_)];
}

int TFormSimpPL::find(std::string_view key) const {
    // An empty key would meet every record whose English name is empty.
    if (key.empty()) return -1;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const PropertyRecord& r = records_[i];
        if (r.NO == key || r.CN == key || EqualsIgnoreAsciiCase(r.EN, key))
            return static_cast<int>(i);
    }
    // A running number typed without its leading zeros ("1" for "001"): the
    // digits compared with the zeros taken off both, and only when exactly
    // one record answers, so that "01" never picks one of "1" and "001".
    auto digits = [](std::string_view s) -> std::optional<std::string_view> {
        if (s.empty() || s.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const std::size_t first = s.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view("0") : s.substr(first);
    };
    const auto wanted = digits(key);
    if (!wanted) return -1;
    int found = -1;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (digits(records_[i].NO) != wanted) continue;
        if (found >= 0) return -1;
        found = static_cast<int>(i);
    }
    return found;
}

void TFormSimpPL::FormCreate() {
    maintenanceVisible_ = false;
    setActivePage(0);
    libraryPath_ = PropLibReadPath(programDir_);
    loadProblem_.clear();
    try {
        records_ = LoadPropLib(libraryPath_);
    } catch (const Error& e) {
        records_.clear();
        loadProblem_ = e.what();
        ui_.message(kCaption, std::string("物性库无法读入，物性数据库为空：") + e.what(),
                    MessageKind::Warning);
    }
    current_ = records_.empty() ? -1 : 0;
    changed();
}

void TFormSimpPL::Open(const std::string& caller) {
    maintenanceVisible_ = false;
    setActivePage(0);
    caller_ = caller;
    // From the steam button a saturated key gives the steam, from the others
    // the condensate: results of the other side are not this opening's.
    dropStaleResults();
    if (onShow) onShow();
}

void TFormSimpPL::setActivePage(int page) {
    if (page == 1 && !maintenanceVisible_) return;
    activePage_ = page == 1 ? 1 : 0;
    PageControlPChange();
}

void TFormSimpPL::PageControlPChange() {
    if (activePage_ == 1) {
        pageWidth_ = 670;
        windowWidth_ = 945;
        navigator_ = {"开头", "上一个", "下一个", "最后", "插入",
                      "删除", "编辑",   "确认",   "取消", "刷新"};
    } else {
        pageWidth_ = 370;
        windowWidth_ = 645;
        navigator_ = {"开头", "上一个", "下一个", "最后", "刷新"};
    }
    changed();
}

void TFormSimpPL::CalcProp(std::string_view name, TEditD& target) {
    computeForState([&] { evaluate(name, target); });
}

void TFormSimpPL::computeForState(const std::function<void()>& compute) {
    if (computing_) return compute();
    // A formula may add its variables to the grid while it is evaluated:
    // that is no change of the state the results are computed for.
    computing_ = true;
    struct Done {
        TFormSimpPL& lib;
        ~Done() {
            lib.computing_ = false;
            // Failures included: a property that failed is empty for this
            // state, not stale.
            lib.resultsFor_ = lib.currentState();
            if (lib.onChanged) lib.onChanged();
        }
    } done{*this};
    compute();
}

void TFormSimpPL::evaluate(std::string_view name, TEditD& target) {
    const PropertyRecord* r = currentRecord();
    if (!r) throw Error("物性数据库中没有选中的物质");
    const PropertyField* field = FindPropertyField(name);
    if (!field) throw Error("没有物性 " + std::string(name));
    const std::string& text = r->*field->member;
    if (std::string why = OutsideRecordRange(*r, text, grid_); !why.empty()) {
        target.setText("");
        throw Error(r->CN + ": " + why);
    }
    const bool liquid = r->CN.find("液") != std::string::npos;
    // Where a gas's equation of state finds the liquid stable, the record's
    // other texts (gas formulas and tables) do not hold either: every
    // property is refused with the density's reason.
    if (!liquid && !text.empty() && IsEquationOfStateText(r->MD)) {
        const PropertyResult phase = EvaluatePropertyText(r->MD, "MD", false, grid_, false);
        if (phase.kind == PropertyResult::Refused) {
            target.setText("");
            throw Error(r->CN + ": " + phase.message);
        }
    }
    // The grid's own compare is by exact name; the compute command names
    // the specific heat "Cp", the method keys read "MD", "VI", "TC".
    const PropertyResult res = EvaluatePropertyText(text, name, liquid, grid_, caller_ == "SBP2v");
    switch (res.kind) {
    case PropertyResult::Value:
        target.SetSIValue(res.value);
        break;
    case PropertyResult::Empty:
        target.setText("");
        break;
    case PropertyResult::NoTemperature:
        throw Error(res.message);
    case PropertyResult::Failed:
        target.setText("");
        throw Error(r->CN + "的" + field->label + "无法计算：" + res.message);
    case PropertyResult::Refused:
        target.setText("");
        throw Error(r->CN + ": " + res.message);
    }
}

void TFormSimpPL::BBCalClick() {
    if (!currentRecord()) {
        ui_.message(kCaption, "物性数据库中没有选中的物质，无法计算。", MessageKind::Warning);
        return;
    }
    if (grid_.ValueByName("t").empty()) {
        // Told once for the six properties; the results stay as they were.
        ui_.message(kCaption, "请指定温度！", MessageKind::Warning);
        return;
    }
    std::vector<std::string> problems;
    computeForState([&] {
        for (const ResultRow& row : ResultRows()) {
            try {
                evaluate(row.property, result(row.name));
            } catch (const Error& e) {
                // A state outside the record's range concerns every property: told once.
                if (std::find(problems.begin(), problems.end(), e.what()) == problems.end())
                    problems.push_back(e.what());
            }
        }
    });
    if (!problems.empty()) throw CalculationError(std::move(problems));
}

bool TFormSimpPL::BBOKClick(TFormKolvane& main) {
    const PropertyRecord* r = currentRecord();
    if (!r) {
        ui_.message(kCaption, "物性数据库中没有选中的物质，没有可带回的数据。",
                    MessageKind::Warning);
        return false;
    }
    // Only values of this fluid at this state are carried: results of
    // another record, grid or side are computed anew first. A computation
    // that fails is told and carries nothing; the results it left belong to
    // the state, so a second press carries what could be computed.
    if (!resultsCurrent()) BBCalClick();
    if (!resultsCurrent()) return false;
    for (const Carry& c : CarriesOf(caller_)) {
        const TEditD& from = result(c.result);
        TEditD& to = main.f(c.field);
        if (from.text().empty() || !to.enabled()) continue;
        to.SetSIValue(from.SIValue());
    }
    if (caller_ == "SBP1" && r->CN.find("气") != std::string::npos) {
        // A gas expands as an ideal gas: beta = 1/T. Without a temperature
        // the coefficient is left as it is rather than an older one.
        const std::string t = grid_.ValueByName("t");
        if (auto tc = ParseExactReal(TrimControl(t)))
            main.f(fid::BtoD).SetSIValue(1 / (*tc + 273.15));
    }
    return true;
}

void TFormSimpPL::BitBtn1Click(const std::string& code) {
    if (code != kAccessCode) return;
    maintenanceVisible_ = true;
    setActivePage(1);
}

void TFormSimpPL::BBSaveSysClick() {
    if (editing_) Post();
    const std::string path = PropLibSavePath(programDir_);
    SavePropLib(path, records_);
    libraryPath_ = path;
    ui_.message(kCaption, "物性库已保存：" + path, MessageKind::Information);
}

void TFormSimpPL::Insert() {
    if (editing_) Post();
    // The next free running number, as three digits.
    int next = 1;
    for (const PropertyRecord& r : records_)
        if (auto n = ParseExactReal(r.NO)) next = std::max(next, static_cast<int>(*n) + 1);
    PropertyRecord fresh;
    char no[16];
    std::snprintf(no, sizeof no, "%03d", next);
    fresh.NO = no;
    records_.push_back(fresh);
    current_ = static_cast<int>(records_.size()) - 1;
    beforeEdit_ = fresh;
    editing_ = true;
    inserted_ = true;
    changed();
}

void TFormSimpPL::Delete() {
    if (!currentRecord()) return;
    editing_ = false;
    inserted_ = false;
    records_.erase(records_.begin() + current_);
    if (current_ >= static_cast<int>(records_.size()))
        current_ = static_cast<int>(records_.size()) - 1;
    changed();
}

void TFormSimpPL::Edit(std::string_view fieldName, const std::string& value) {
    PropertyRecord* r = current_ < 0 ? nullptr : &records_[static_cast<std::size_t>(current_)];
    const PropertyField* field = FindPropertyField(fieldName);
    if (!r || !field) return;
    if (!editing_) {
        beforeEdit_ = *r;
        editing_ = true;
        inserted_ = false;
    }
    r->*field->member = value;
    changed();
}

void TFormSimpPL::Post() {
    if (!editing_ || !currentRecord()) {
        editing_ = false;
        return;
    }
    const PropertyRecord& r = records_[static_cast<std::size_t>(current_)];
    if (std::string problem = CheckPropertyRecord(r); !problem.empty()) throw Error(problem);
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (static_cast<int>(i) != current_ && records_[i].NO == r.NO)
            throw Error("流水号 " + r.NO + " 已经存在");
    editing_ = false;
    inserted_ = false;
    // The library stays ordered by its running number.
    const std::string no = r.NO;
    std::stable_sort(records_.begin(), records_.end(),
                     [](const PropertyRecord& a, const PropertyRecord& b) { return a.NO < b.NO; });
    current_ = find(no);
    changed();
}

void TFormSimpPL::Cancel() {
    if (!editing_) return;
    if (inserted_) {
        records_.erase(records_.begin() + current_);
        current_ = std::min(current_, static_cast<int>(records_.size()) - 1);
    } else {
        records_[static_cast<std::size_t>(current_)] = beforeEdit_;
    }
    editing_ = false;
    inserted_ = false;
    changed();
}

} // namespace kolvane
