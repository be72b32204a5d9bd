// The vessel page: the shape's volume relation, the wetted area that loses
// heat, the carry-over to the calculation page and the stirrer group.
#include "engine/VesselGeometry.h"

#include "engine/Errors.h"
#include "engine/FormKolvane.h"
#include "engine/Solver.h"
#include "engine/UiServices.h"

#include <cmath>
#include <numbers>

namespace kolvane {

namespace {

constexpr double kPi = std::numbers::pi;

double SqrtChecked(double x, const char* what) {
    if (!(x >= 0)) throw MathError(std::string("无法计算") + what + "：负数开平方");
    return std::sqrt(x);
}

} // namespace

double SphereCapDepth(double r, double kv) {
    // Cap volume pi h^2 (3r - h)/3 = kv (4/3) pi r^3, as h = sqrt(4 kv r^3/(3r - h)).
    auto g = [&](double h) {
        return SqrtChecked(4 * kv * r * r * r / (3 * r - h), "球罐液深") - h;
    };
    double h = 0.001 * r;
    for (int i = 0; i < kGeometryMaxIterations; ++i) {
        double g0 = g(h);
        double h1 = h + 1e-6;
        double g1 = g(h1);
        double step = 1e-6 * g1 / (g1 - g0);
        RequireFinite(step, "无法计算球罐液深");
        h = h1 - step;
        if (std::fabs(step) < 1e-4) return h;
    }
    throw IterationLimitError("计算不收敛：球罐液深");
}

namespace {

// Half-angle of the wetted arc; the branch follows the fill, not the depth.
double WettedAngle(double d, double s, double kv) {
    double c = SqrtChecked(s * (d - s), "卧式罐液深");
    double ratio = std::min(1.0, c / (d / 2));
    return kv <= 0.5 ? std::asin(ratio) : kPi - std::asin(ratio);
}

double SegmentShortfall(double d, double s, double kv) {
    double c = SqrtChecked(s * (d - s), "卧式罐液深");
    double seg = (d / 2) * (d / 2) * WettedAngle(d, s, kv) - c * (d / 2 - s);
    return kv * kPi * d * d / 4 - seg;
}

// Bisection on [lo, hi], where the shortfall falls from >= 0 to <= 0.
double DepthByBisection(double d, double kv, double lo, double hi) {
    for (int i = 0; i < kGeometryMaxIterations; ++i) {
        double mid = (lo + hi) / 2;
        double fm = SegmentShortfall(d, mid, kv);
        // Halving on to a tight bracket: near the bottom the wetted angle
        // grows with the square root of the depth, so a small residual
        // alone would leave it coarse.
        if (hi - lo < 1e-10 * d) return mid;
        (fm > 0 ? lo : hi) = mid;
    }
    throw IterationLimitError("计算不收敛：卧式罐液深");
}

} // namespace

double HorizontalTankDepth(double d, double kv, double& alpha) {
    double s;
    if (kv <= 0) {
        s = 0; // empty: nothing wetted
    } else if (kv <= 0.5) {
        // The secant from a shallow start leaves the tank; the lower half is
        // searched by bisection instead.
        s = DepthByBisection(d, kv, 0, d / 2);
    } else {
        s = d / 2 + 0.001;
        bool settled = false;
        for (int i = 0; i < kGeometryMaxIterations && s > 0 && s <= d; ++i) {
            double f0 = SegmentShortfall(d, s, kv);
            s += 1e-6;
            if (s > d) break;
            double f1 = SegmentShortfall(d, s, kv);
            s -= 1e-6 * f1 / (f1 - f0);
            if (std::fabs(f1) < 1e-5) {
                settled = std::isfinite(s) && s > 0 && s <= d;
                break;
            }
        }
        // A fill close to 1 can push the secant past the top of the tank.
        if (!settled) s = DepthByBisection(d, kv, d / 2, d);
    }
    alpha = WettedAngle(d, s, kv);
    return s;
}

double SphereLossArea(double volume, double kv) {
    double r = std::cbrt(3 * volume / (4 * kPi));
    return 2 * kPi * r * SphereCapDepth(r, kv);
}

double CylinderLossArea(double d, double h, double kv) {
    return kPi * d * h * kv + kPi * d * d / 4;
}

double BoxLossArea(double l, double h, double w, double kv) {
    return 2 * (l + w) * h * kv + l * w;
}

double HorizontalTankLossArea(double d, double l, double kv) {
    // Wetted shell plus two domed ends, each 1.35 times the wetted flat end.
    double alpha = 0;
    HorizontalTankDepth(d, kv, alpha);
    return d * alpha * l + 2 * 1.35 * kv * kPi * d * d / 4;
}

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
    if (!(fill >= 0 && fill <= 1)) {
        // Above 1 no depth holds the contents: say so instead of failing.
        ui_.statusText(1, "错误：充装系数应在0与1之间。");
        ui_.beep();
        return;
    }
    double area = k == 0   ? SphereLossArea(v.SIValue(), fill)
                  : k == 1 ? CylinderLossArea(d.SIValue(), h.SIValue(), fill)
                  : k == 2 ? BoxLossArea(d.SIValue(), h.SIValue(), w.SIValue(), fill)
                           : HorizontalTankLossArea(d.SIValue(), h.SIValue(), fill);
    PutComputedValue(f(fid::Ae1D), kComputedColor, area, tolerance_);
}

void TFormKolvane::BTVesselClick(Component&) {
    TEditD &area = f(fid::Ae1D), &v = f(fid::VsD), &kv = f(fid::KvD), &rho = f(fid::DenoD);
    if (!FieldsFilled({&area, &v, &kv, &rho})) return;
    f(fid::AeD).SetSIValue(area.SIValue());
    f(fid::MaoD).SetSIValue(kv.SIValue() * v.SIValue() * rho.SIValue());
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
    if (d.SIValue() > blade.SIValue()) {
        setProjectChanged(true);
        return;
    }
    ui_.statusText(1, "错误：浆叶直径大于等于容器内径。");
    ui_.beep();
}

} // namespace kolvane
