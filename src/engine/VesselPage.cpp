// The vessel page: the shape's volume relation, the wetted area that loses
// heat, the carry-over to the calculation page and the stirrer group.
#include "model/VesselGeometry.h"

#include "engine/CalcRules.h"
#include "engine/FormKolvane.h"
#include "engine/Solver.h"
#include "engine/UiServices.h"
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
    int k = vessel_->itemIndex();
    enableRow("HsD", k > 0);
    enableRow("WsD", k == 2);
    form_.get<TLabel>("DsL").setCaption(k == 2 ? "长度" : "直径");
    if (k == 1 || k == 2) form_.get<TLabel>("HsL").setCaption("高度");
    if (k == 3) form_.get<TLabel>("HsL").setCaption("长度");
}

void TFormKolvane::VsDExit(Component&) {
    int k = vessel_->itemIndex();
    if (k < 0) return;
    TEditD &v = f(fid::VsD), &kv = f(fid::KvD), &d = f(fid::DsD), &h = f(fid::HsD),
           &w = f(fid::WsD);

    // A dimension that is no number or cannot be physical is refused before
    // the volume relation would carry it into the other fields; the page
    // says so in the status bar, as it does for the blade.
    for (auto id : {fid::VsD, fid::KvD, fid::DsD, fid::HsD, fid::WsD}) {
        const TEditD& e = f(id);
        if (!e.enabled() || IsBlank(e)) continue;
        auto x = e.SIValueOrNull();
        const char* rule = x ? InputRuleViolation(id, *x) : "不是有效的数值";
        if (!rule) continue;
        ClearComputedField(f(fid::Ae1D));
        ui_.statusText(1, "错误：" + e.caption() + rule + "。");
        ui_.beep();
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
    PutComputedValue(f(fid::Ae1D), kComputedColor, area, tolerance_);
}

void TFormKolvane::BTVesselClick(Component& sender) {
    if (carryVesselOver()) OptionChanged(sender);
}

bool TFormKolvane::carryVesselOver() {
    TEditD &area = f(fid::Ae1D), &v = f(fid::VsD), &kv = f(fid::KvD), &rho = f(fid::DenoD);
    if (!FieldsFilled({&area, &v, &kv, &rho})) {
        // Nothing is carried over; say what is still empty rather than leave
        // the button looking dead.
        std::string text = "确定还需要：";
        bool first = true;
        for (auto [id, field] :
             {std::pair{fid::VsD, &v}, {fid::KvD, &kv}, {fid::Ae1D, &area}, {fid::DenoD, &rho}}) {
            if (!field->text().empty()) continue;
            text += (first ? "" : "、") + QualifiedCaption(id, field->caption());
            first = false;
        }
        ui_.statusText(1, text);
        ui_.beep();
        return false;
    }
    f(fid::AeD).SetSIValue(area.SIValue());
    f(fid::MaoD).SetSIValue(kv.SIValue() * v.SIValue() * rho.SIValue());
    return true;
}

void TFormKolvane::ifMixClick(Component&) {
    bool stirred = ifMix_->checked();
    const Component& mix = *form_.find("GBMix");
    for (const auto& c : form_.components())
        if (Form::IsInside(*c, mix)) c->setEnabled(stirred);
    // Without a stirrer the natural-convection model needs the expansion
    // coefficient; with one it does not.
    f(fid::BtoD).setEnabled(!stirred);
    form_.get<TLabel>("BtoL").setEnabled(!stirred);
}

void TFormKolvane::midDExit(Component&) {
    TEditD &d = f(fid::DsD), &blade = f(fid::midD);
    if (!FieldsFilled({&d, &blade})) return;
    // Words in either field are the recalculation's to tell.
    auto vessel = d.SIValueOrNull(), bladeDiameter = blade.SIValueOrNull();
    if (!vessel || !bladeDiameter) return;
    if (*vessel > *bladeDiameter) {
        setProjectChanged(true);
        return;
    }
    ui_.statusText(1, "错误：浆叶直径大于等于容器内径。");
    ui_.beep();
}

} // namespace kolvane
