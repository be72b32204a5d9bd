#pragma once

#include "engine/Case.h"
#include "engine/PassReport.h"

#include <optional>
#include <string>
#include <vector>

namespace kolvane {

class Component;
class TFormKolvane;

// The window's recalculation: the calculation page read into a case, the
// case evaluated, every result written once, and what the evaluation has to
// tell put in front of the user once. The window owns one and forwards its
// exit and option handlers to it.
class Recalculation {
public:
    explicit Recalculation(TFormKolvane& window) : w_(window) {}
    Recalculation(const Recalculation&) = delete;
    Recalculation& operator=(const Recalculation&) = delete;

    // The pass, run when a calculation field is left or an option changed.
    // Raises CalculationError for problems it has not told before.
    void run(Component& sender);
    // The theoretical area (m2) for the fields as they are, -1 when an input
    // it needs is missing or the model fails.
    double theoreticalArea();
    // The pass after a load, without message boxes or a move of the focus;
    // results the file held otherwise are named in the status bar.
    void afterLoad();

    // Tells a report: the vessel page's refused inputs join the pass's
    // problems (told once, framed, the focus returned), a hint of the page's
    // "确定" comes first among the missing inputs until the next report.
    // `sender` is the control whose change ran the pass.
    void publish(PassReport report, const Component* sender = nullptr);
    // The latest pass's report again with the vessel page as it is now.
    void republish();
    // What the last pass said no longer holds (a load replaced the project).
    void reset();
    // The hint the vessel page's "确定" leaves for the next report.
    void noteVesselMissing(PassReport::Missing missing) { vesselMissing_ = std::move(missing); }
    // The status bar's text when something else than a report sets it.
    void showStatus(std::string text);

    double tolerance() const { return tolerance_; }
    const PassReport& last() const { return last_; }
    // The case the last pass evaluated (an empty case before any).
    const Case& lastCase() const { return lastCase_; }

    // The calculation page as a case (TFormKolvane::readCase).
    Case readCase();

private:
    void showResults(const Results& results);

    TFormKolvane& w_;
    double tolerance_ = 0;
    PassReport last_;
    Case lastCase_;
    // What the latest pass itself found, without the vessel page's.
    std::vector<PassReport::Problem> passProblems_;
    std::vector<PassReport::Missing> passMissing_;
    std::optional<PassReport::Missing> vesselMissing_;
    bool quiet_ = false; // the pass after a load: no focus moves
    std::vector<std::string> toldProblems_;
    std::string statusShown_;
};

} // namespace kolvane
