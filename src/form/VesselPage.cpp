// The vessel page: the shape's volume relation, the wetted area that loses
// heat, the carry-over to the calculation page and the stirrer group.
#include "model/VesselGeometry.h"

#include "engine/CalcRules.h"
#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "form/Solver.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"

#include <cmath>
#include <numbers>

namespace kolvane {

namespace {
constexpr double kPi = std::numbers::pi;
} // namespace

void TFormKolvane::VNDClick(Component&) {
    // A new shape starts from empty, editable fields.
    for (auto id : {fid::VsD, fid::KvD, fid::Ae1D, fid::DsD, fid::HsD, fid::WsD})
        ClearComputedField(f(id));
}

void TFormKolvane::VNDChange(Component&) {
    int k = options_.vessel->itemIndex();
    enableRow("HsD", k > 0);
    enableRow("WsD", k == 2);
    form_.get<TLabel>("DsL").setCaption(k == 2 ? "长度" : "直径");
    if (k == 1 || k == 2) form_.get<TLabel>("HsL").setCaption("高度");
    if (k == 3) form_.get<TLabel>("HsL").setCaption("长度");
}

std::vector<PassReport::Problem> TFormKolvane::vesselProblems() const {
    // A dimension that is no number or cannot be physical, on the fields the
    // shape uses; told as the calculation page tells its inputs.
    std::vector<PassReport::Problem> out;
    for (auto id : {fid::VsD, fid::KvD, fid::DsD, fid::HsD, fid::WsD}) {
        const TEditD& e = f(id);
        if (!e.enabled() || IsBlank(e)) continue;
        // Named only when there is something to tell (this runs with every pass).
        auto who = [&] { return QualifiedCaption(id, e.caption()); };
        if (auto x = e.SIValueOrNull()) {
            if (const char* rule = InputRuleViolation(id, *x))
                out.push_back({e.name(), who() + ": " + rule});
        } else {
            out.push_back({e.name(), who() + ": '" + e.text() + "' 不是有效的数值"});
        }
    }
    return out;
}

void TFormKolvane::VsDExit(Component& sender) {
    solveVesselGeometry();
    // The stirred correlations read the vessel diameter: the pass follows and
    // tells the page's problems with its own. Otherwise the page's problems
    // are told alone, and those that no longer hold leave the status bar.
    if (&sender == &f(fid::DsD) && options_.ifMix->checked())
        OptionChanged(sender);
    else
        pass_.republish();
}

void TFormKolvane::solveVesselGeometry() {
    int k = options_.vessel->itemIndex();
    if (k < 0) return;
    TEditD &v = f(fid::VsD), &kv = f(fid::KvD), &d = f(fid::DsD), &h = f(fid::HsD),
           &w = f(fid::WsD);

    // A refused dimension is not carried by the volume relation into the
    // other fields, and gives no area.
    if (!vesselProblems().empty()) {
        ClearComputedField(f(fid::Ae1D));
        return;
    }

    switch (k) {
    case 0: {
        TEditD* m[] = {&d, &v};
        SolveForUnknown(
            m, kRelationSphere,
            [](const ValueArray& x) { return 4 * kPi / 3 * std::pow(x[0] / 2, 3) - x[1]; }, ui_);
        break;
    }
    case 1: {
        TEditD* m[] = {&d, &h, &v};
        SolveForUnknown(
            m, kRelationCylinder,
            [](const ValueArray& x) { return kPi * x[0] * x[0] / 4 * x[1] - x[2]; }, ui_);
        break;
    }
    case 2: {
        TEditD* m[] = {&d, &h, &w, &v};
        SolveForUnknown(
            m, kRelationBox, [](const ValueArray& x) { return x[0] * x[1] * x[2] - x[3]; }, ui_);
        break;
    }
    default: {
        TEditD* m[] = {&d, &h, &v};
        SolveForUnknown(
            m, kRelationHorizontal,
            [](const ValueArray& x) { return kPi * x[0] * x[0] / 4 * x[1] - x[2]; }, ui_);
        break;
    }
    }

    bool filled = k == 0   ? FieldsFilled({&v, &kv, &d})
                  : k == 2 ? FieldsFilled({&kv, &d, &h, &w})
                           : FieldsFilled({&kv, &d, &h});
    if (!filled) return;
    double fill = kv.SIValue();
    double area = k == 0   ? SphereLossArea(v.SIValue(), fill)
                  : k == 1 ? CylinderLossArea(d.SIValue(), h.SIValue(), fill)
                  : k == 2 ? BoxLossArea(d.SIValue(), h.SIValue(), w.SIValue(), fill)
                           : HorizontalTankLossArea(d.SIValue(), h.SIValue(), fill);
    PutComputedValue(f(fid::Ae1D), kComputedColor, area, pass_.tolerance());
}

void TFormKolvane::BTVesselClick(Component& sender) {
    if (carryVesselOver()) OptionChanged(sender);
}

bool TFormKolvane::carryVesselOver() {
    TEditD &area = f(fid::Ae1D), &v = f(fid::VsD), &kv = f(fid::KvD), &rho = f(fid::DenoD);
    if (!FieldsFilled({&area, &v, &kv, &rho})) {
        // Nothing is carried over; say what is still empty rather than leave
        // the button looking dead.
        PassReport::Missing missing{"BTVessel", "确定还需要：", {}};
        for (auto [id, field] :
             {std::pair{fid::VsD, &v}, {fid::KvD, &kv}, {fid::Ae1D, &area}, {fid::DenoD, &rho}}) {
            if (!field->text().empty()) continue;
            missing.text +=
                (missing.fields.empty() ? "" : "、") + QualifiedCaption(id, field->caption());
            missing.fields.push_back(field->name());
        }
        pass_.noteVesselMissing(std::move(missing));
        pass_.republish();
        ui_.beep();
        return false;
    }
    // A refused value carries nothing: the status bar already names it.
    auto admissible = [](fid::FieldId id, const TEditD& e) {
        const std::optional<double> x = e.SIValueOrNull();
        return x && !InputRuleViolation(id, *x);
    };
    if (!admissible(fid::VsD, v) || !admissible(fid::KvD, kv) || !admissible(fid::DenoD, rho) ||
        !admissible(fid::AeD, area)) {
        pass_.republish();
        ui_.beep();
        return false;
    }
    const double contents = kv.SIValue() * v.SIValue() * rho.SIValue();
    TEditD& mass = f(fid::MaoD);
    const bool replace =
        !mass.enabled() || mass.readOnly() || IsBlank(mass) || askReplaceMass(mass, contents);
    f(fid::AeD).SetSIValue(area.SIValue());
    if (replace) mass.SetSIValue(contents);
    return true;
}

bool TFormKolvane::askReplaceMass(const TEditD& mass, double contents) {
    // A mass the user typed is an input of its own (a batch weighed, not
    // filled to the coefficient): it is replaced only when the two agree to
    // 0.1 %, or when the user says so.
    constexpr double kSameMass = 1e-3;
    const std::optional<double> typed = mass.SIValueOrNull();
    if (typed && std::fabs(*typed - contents) <= kSameMass * std::fabs(contents)) return true;
    const TComboBoxU* selector = selectorOf(mass);
    const std::string unit = selector ? " " + selector->unitLabel() : "";
    const std::string now = mass.FloatStr() + (typed ? unit : "");
    const std::string filled = DisplayFloatStr(FloatToStr15(contents / mass.exchange())) + unit;
    std::string text =
        "质量中已输入" + now + "，容器定义得出的物料质量（充装系数×容器体积×密度）为" + filled;
    if (typed && contents != 0)
        text += "，相差" + FormatGeneral(100 * std::fabs(*typed - contents) / contents, 3, 1) + "%";
    text += "。\n用" + filled + "替换吗？\n是：替换；否：保留" + now + "，只带回散热面积。";
    return ui_.question("容器定义", text, false, Answer::Yes) == Answer::Yes;
}

void TFormKolvane::ifMixClick(Component&) {
    bool stirred = options_.ifMix->checked();
    const Component& mix = *form_.find("GBMix");
    for (const auto& c : form_.components())
        if (Form::IsInside(*c, mix)) c->setEnabled(stirred);
    // Without a stirrer the natural-convection model needs the expansion
    // coefficient; with one it does not.
    f(fid::BtoD).setEnabled(!stirred);
    form_.get<TLabel>("BtoL").setEnabled(!stirred);
}

} // namespace kolvane
