#pragma once

#include "form/CalculationError.h"
#include "form/Form.h"
#include "formula/MyValues.h"
#include "props/PropLib.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kolvane {

class TEditD;
class TFormKolvane;
class UiServices;

// The property library window without the window: the library in memory
// with its current record, the parameter grid, the six result fields with
// their unit selectors, the button that opened it, and the commands. The Qt
// dialog is a view of it; the command line and the tests drive it directly.
class TFormSimpPL {
public:
    static constexpr const char* kCaption = "简易物性数据库";
    // The access code guards the library against accidental edits; it is no
    // security and lives only here.
    static constexpr const char* kAccessCode = "velmisk";

    TFormSimpPL(UiServices& ui, std::string programDir);
    TFormSimpPL(const TFormSimpPL&) = delete;
    TFormSimpPL& operator=(const TFormSimpPL&) = delete;

    Form& form() { return form_; }
    TMyValues& MyValues1() { return grid_; }
    TEditD& result(std::string_view name) const; // CPD, MDD, VID, TCD, STD, HVD

    // --- The library ---
    std::vector<PropertyRecord>& records() { return records_; }
    int current() const { return current_; }
    // -1 for none; an index outside the library is ignored.
    void setCurrent(int index);
    const PropertyRecord* currentRecord() const;
    // The record whose NO, Chinese or English name is `key` (names: case of
    // ASCII letters ignored), else the one record whose NO is the number
    // `key` with other leading zeros ("1" finds "001"); -1 when none is.
    int find(std::string_view key) const;
    // Where the library was read from, and why it could not be ("" when it
    // could).
    const std::string& libraryPath() const { return libraryPath_; }
    const std::string& loadProblem() const { return loadProblem_; }

    // --- Commands ---
    // Creation: reads the library; a missing or unreadable file leaves it
    // empty and says so once.
    void FormCreate();
    // Opened by a property button of the main window (SBP1, SBP2, SBP2v).
    void Open(const std::string& caller);
    const std::string& Caller() const { return caller_; }
    // The active page: 0 properties, 1 maintenance; the widths and the
    // navigator buttons follow it.
    int activePage() const { return activePage_; }
    bool maintenanceVisible() const { return maintenanceVisible_; }
    void setActivePage(int page);
    void PageControlPChange();
    int pageControlWidth() const { return pageWidth_; }
    int windowWidth() const { return windowWidth_; }
    const std::vector<std::string>& navigatorButtons() const { return navigator_; }

    // Evaluates property `name` of the current record into `target`. A state
    // outside the range the record's note states, or one at which a gas's
    // equation of state finds the liquid, is refused with Error naming the
    // fluid and the state; the target is emptied.
    void CalcProp(std::string_view name, TEditD& target);
    // "&C 计算": the six properties; problems are collected and told once.
    // The results then belong to the current record, the grid and the side
    // (steam or condensate) they were computed for.
    void BBCalClick();
    // "&O 确定": carries the results into the main window's group of the
    // caller, computing them first when they do not belong to the current
    // record and grid. False when there was nothing to carry (the window
    // stays); a failed computation is raised and carries nothing.
    bool BBOKClick(TFormKolvane& main);
    // True when the result fields hold what the current record gives at the
    // grid's state, as the caller's side reads it.
    bool resultsCurrent() const;
    // What the results were computed for ("001 水，t=20 °C，p=100 kPa"), or
    // "" when they belong to nothing shown.
    std::string resultsFor() const;
    // "&E 维护": with the access code, the maintenance page.
    void BitBtn1Click(const std::string& code);
    // "&S 保存系统库".
    void BBSaveSysClick();

    // --- Maintenance (the navigator's insert, delete, edit, post, cancel) ---
    void Insert();
    void Delete();
    // Puts the current record into editing with `value` in field `name`.
    void Edit(std::string_view field, const std::string& value);
    bool editing() const { return editing_; }
    // Checks and keeps the edit; Error naming the field when it is too long
    // or NO is empty or taken.
    void Post();
    void Cancel();

    // Shows the window modally (set by the view; nothing headless).
    std::function<void()> onShow;
    // Told when the current record, the records, the page or what the
    // results belong to change.
    std::function<void()> onChanged;

private:
    // What a computation read: the record's texts, every grid parameter (a
    // formula may read any of them) and the side of a saturated key.
    struct ResultState {
        PropertyRecord record;
        std::vector<std::string> names, values;
        bool vapourSide = false;
        bool operator==(const ResultState&) const = default;
    };
    std::optional<ResultState> currentState() const;
    // Runs a computation of results and makes them the current state's,
    // whether it succeeds or not.
    void computeForState(const std::function<void()>& compute);
    void evaluate(std::string_view name, TEditD& target);
    // Empties the results once the record, the grid or the side they were
    // computed for is no longer current; true when it did.
    bool dropStaleResults();
    void changed() {
        dropStaleResults();
        if (onChanged) onChanged();
    }
    UiServices& ui_;
    std::string programDir_;
    Form form_;
    TMyValues grid_;
    std::vector<PropertyRecord> records_;
    int current_ = -1;
    std::string libraryPath_, loadProblem_;
    std::string caller_;
    int activePage_ = 0;
    bool maintenanceVisible_ = false;
    int pageWidth_ = 370, windowWidth_ = 645;
    std::vector<std::string> navigator_;
    bool editing_ = false;
    PropertyRecord beforeEdit_;
    bool inserted_ = false;
    // What the results belong to; nothing while they belong to no state.
    std::optional<ResultState> resultsFor_;
    // Set while properties are evaluated: a formula may add its variables
    // to the grid, which is no change of the state computed for.
    bool computing_ = false;
};

} // namespace kolvane
