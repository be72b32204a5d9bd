// The window's recalculation: the calculation page read into a case, the
// case evaluated, every result written once, and what the evaluation has to
// tell put in front of the user.
#include "form/Recalculation.h"

#include "engine/CalcRules.h"
#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"

#include <algorithm>
#include <utility>

namespace kolvane {

Case Recalculation::readCase() {
    // Before the model has given a heat loss, the balance counts none.
    if (IsBlank(w_.f(fid::QLD))) w_.f(fid::QLD).setText("0.00");
    Case c;
    CaseOptions& o = c.options;
    const OptionControls& w = w_.options();
    o.phase = w.phi->itemIndex() == 1 ? Phase::Condensing : Phase::SinglePhase;
    o.tube = w.tshape->itemIndex() == 1 ? TubeForm::Coil : TubeForm::UTube;
    o.stirred = w.ifMix->checked();
    o.loss = w.evt->itemIndex() == 1 ? LossTo::Ground : LossTo::Air;
    o.vessel = w.vessel->itemIndex();
    o.tubeMaterial = w.tubeMaterial->itemIndex();
    o.vesselMaterial = w.vesselMaterial->itemIndex();
    o.insulation = w.insulation->itemIndex();
    o.stirrer = w.stirrer->itemIndex();
    for (int id = 0; id < fid::kCount; ++id) {
        const TEditD& e = w_.f(static_cast<fid::FieldId>(id));
        Quantity& x = c.q[static_cast<std::size_t>(id)];
        x.enabled = e.enabled();
        x.resolvable = e.MyResolved();
        x.exchange = e.exchange();
        if (const TComboBoxU* unit = w_.selectorOf(static_cast<fid::FieldId>(id)))
            x.unit = unit->itemIndex();
        // The look of a field says what it holds: computed values are
        // coloured, the balance's solved member red.
        if (IsBlank(e)) {
            x.state = QState::Empty;
        } else if (auto v = e.SIValueOrNull()) {
            x.value = *v;
            x.state = e.color() == kComputedColor ? QState::Computed
                      : e.color() == kRelationRed ? QState::Solved
                                                  : QState::Input;
        } else {
            x.state = QState::Refused;
            x.text = e.text();
        }
    }
    return c;
}

void Recalculation::showResults(const Results& r) {
    tolerance_ = r.passTolerance;
    // Heat direction, as the film coefficients used it.
    const char* tube = "";
    const char* vessel = "";
    if (r.mediumTakesHeat) {
        tube = *r.mediumTakesHeat ? "吸热流体" : "放热流体";
        vessel = *r.mediumTakesHeat ? "放热流体" : "吸热流体";
    }
    w_.options().htTube->setText(tube);
    w_.options().htVessel->setText(vessel);
    for (int id = 0; id < fid::kCount; ++id) {
        TEditD& e = w_.f(static_cast<fid::FieldId>(id));
        const double v = r.value[static_cast<std::size_t>(id)];
        const double t = r.tolerance[static_cast<std::size_t>(id)];
        switch (r.show[static_cast<std::size_t>(id)]) {
        case Show::Keep:
            break;
        case Show::Computed:
            PutComputedValue(e, kComputedColor, v, t);
            break;
        case Show::FromPressure:
            PutComputedValue(e, kComputedColor, v, t);
            // A typed value that already agrees takes the computed look too.
            e.setColor(kComputedColor);
            e.setReadOnly(true);
            e.setCursor(Cursor::NoEntry);
            break;
        case Show::Solved:
            PutComputedValue(e, kRelationRed, v, t);
            break;
        case Show::Clear:
            ClearComputedField(e);
            if (id == fid::QLD) e.setText("0.00");
            break;
        }
    }
}

double Recalculation::theoreticalArea() {
    return TheoreticalAreaOf(readCase());
}

void Recalculation::run(Component& sender) {
    Case c = readCase();
    Evaluation e = Evaluate(c);
    lastCase_ = std::move(c);
    showResults(e.results);
    publish(std::move(e.report), &sender);
}

void Recalculation::republish() {
    PassReport report = last_;
    report.problems = passProblems_;
    report.missing = passMissing_;
    publish(std::move(report));
}

void Recalculation::publish(PassReport report, const Component* sender) {
    passProblems_ = report.problems;
    passMissing_ = report.missing;
    for (auto& p : w_.vesselProblems())
        if (std::none_of(report.problems.begin(), report.problems.end(),
                         [&p](const auto& q) { return q.text == p.text; }))
            report.problems.push_back(std::move(p));
    if (vesselMissing_)
        report.missing.insert(report.missing.begin(), *std::exchange(vesselMissing_, std::nullopt));
    // Problems are told once while their text stays the same; the status bar
    // keeps saying them.
    std::vector<std::string> fresh;
    // After the message the cursor goes back to the control the user just
    // changed: its new value is what gave the message, also when the message
    // names another field (a failed area, an inside diameter that is now too
    // large). A command button changed no control of its own: the cursor
    // goes to the field the first new message names.
    std::string focus = sender && !dynamic_cast<const TButton*>(sender) ? sender->name() : "";
    std::vector<std::string> texts;
    for (const auto& p : report.problems) {
        texts.push_back(p.text);
        if (std::find(toldProblems_.begin(), toldProblems_.end(), p.text) == toldProblems_.end()) {
            fresh.push_back(p.text);
            if (focus.empty()) focus = p.field;
        }
    }
    toldProblems_ = std::move(texts);
    last_ = std::move(report);
    const std::string status = last_.statusText();
    if (status != statusShown_) {
        statusShown_ = status;
        w_.ui().statusText(1, status);
    }
    if (w_.onPassReport) w_.onPassReport();
    if (fresh.empty()) return;
    if (!focus.empty() && !quiet_) w_.ui().focusControl(focus);
    throw CalculationError(std::move(fresh));
}

void Recalculation::afterLoad() {
    std::array<std::string, fid::kCount> before;
    for (int id = 0; id < fid::kCount; ++id)
        before[id] = w_.f(static_cast<fid::FieldId>(id)).FloatStr();
    // Results brought up to date are no edit of the user's: the changed flag
    // stays as the load left it. What the pass refuses is in the status bar
    // and the field marks, not in a message box.
    const bool changed = w_.ProjectChanged();
    quiet_ = true;
    try {
        run(w_.field("MaoD"));
    } catch (const CalculationError&) {
    }
    quiet_ = false;
    w_.setProjectChanged(changed);

    // The headline results first, then the others in the window's order.
    std::vector<int> order(fid::kCount);
    for (int id = 0; id < fid::kCount; ++id)
        order[id] = id;
    std::stable_partition(order.begin(), order.end(), [](int id) {
        for (fid::FieldId h : {fid::AtD, fid::ArD, fid::LtD, fid::WiD})
            if (h == id) return true;
        return false;
    });
    constexpr std::size_t kNamed = 3;
    std::vector<std::string> moved;
    std::size_t count = 0;
    for (int id : order) {
        const TEditD& e = w_.f(static_cast<fid::FieldId>(id));
        const std::string now = e.FloatStr();
        // The heat loss's "0.00" stands for no loss: not a result the file held.
        if (now == before[id] || (id == fid::QLD && before[id].empty())) continue;
        if (++count > kNamed) continue;
        const TComboBoxU* unit = w_.selectorOf(e);
        moved.push_back(QualifiedCaption(static_cast<fid::FieldId>(id), e.caption()) + " " +
                        (before[id].empty() ? "空" : before[id]) + " → " +
                        (now.empty() ? "空" : now) +
                        (unit && !now.empty() ? " " + unit->unitLabel() : ""));
    }
    if (moved.empty()) {
        w_.repeatLoadNotice(); // records of the file this window does not know
        return;
    }
    std::string text = "已按当前输入重新计算：";
    for (std::size_t i = 0; i < moved.size(); ++i)
        text += (i ? "、" : "") + moved[i];
    if (count > kNamed) text += "等" + std::to_string(count) + "项";
    last_.notice = text;
    showStatus(last_.statusText());
    if (w_.onPassReport) w_.onPassReport();
    w_.repeatLoadNotice();
}

void Recalculation::showStatus(std::string text) {
    statusShown_ = std::move(text);
    w_.ui().statusText(1, statusShown_);
}

void Recalculation::reset() {
    last_ = {};
    lastCase_ = {};
    passProblems_.clear();
    passMissing_.clear();
    vesselMissing_.reset();
    toldProblems_.clear();
    if (!statusShown_.empty()) {
        statusShown_.clear();
        w_.ui().statusText(1, "");
    }
    if (w_.onPassReport) w_.onPassReport();
}

} // namespace kolvane
