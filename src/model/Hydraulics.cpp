#include "model/Hydraulics.h"

#include "model/Errors.h"

#include <cmath>
#include <numbers>

namespace kolvane {

double ReynoldsNumber(double w, double mu, double d) {
    double re = 4 * w / (std::numbers::pi * mu * d);
    RequireFinite(re, "雷诺数无法计算：粘度或管内径为零");
    return re;
}

namespace {
double Log10Checked(double x) {
    if (!(x > 0)) throw MathError("摩擦系数无法计算：对数的自变量不是正数");
    return std::log10(x);
}
} // namespace

double FrictionFactor(double re, double d, double roughness) {
    if (!(re > 0) || !(d > 0)) throw MathError("摩擦系数无法计算：雷诺数或管内径不是正数");
    if (re <= 2000) return 64 / re;
    double relative = roughness / (3.7 * d);
    auto g = [&](double y) { return y + 2 * Log10Checked(relative + 2.51 * y / re); };
    double y = 10;
    for (int i = 0;; ++i) {
        if (i >= kColebrookMaxIterations) throw IterationLimitError("计算不收敛：摩擦系数");
        double g0 = g(y);
        double step = 1e-6 * g0 / (g(y + 1e-6) - g0);
        RequireFinite(step, "摩擦系数无法计算");
        y -= step;
        if (std::fabs(step) < 1e-6) break;
    }
    double lambda = 1 / (y * y);
    if (roughness / d * re * std::sqrt(lambda) > 200) {
        double l = 2 * Log10Checked(3.7 * d / roughness);
        lambda = 1 / (l * l);
    }
    RequireFinite(lambda, "摩擦系数无法计算");
    return lambda;
}

} // namespace kolvane

namespace kolvane {

namespace {
constexpr double kPi = std::numbers::pi;

double VelocityHead(double w, double rho, double dI) {
    const double u = 4 * w / (kPi * rho * dI * dI);
    return rho * u * u / 2;
}
} // namespace

TubeLayout UTubeLayout(double lt, double sl, double s, double dO, double dI) {
    const double sdo = s * dO;
    const double a = sl - sdo;          // straight part of a leg
    const double b = kPi / 2 * sdo + a; // one further pass: half a bend and a leg
    TubeLayout t;
    t.shape = UTubeBendFactor(s, dO, dI, sl);
    t.onePass = 2 * (a + kPi * sdo / 4) + b;
    const double m = lt > a ? (lt - 2 * (a + kPi * sdo / 4)) / b : 1;
    // Less than one pass is still one pass: the bundle cannot be shorter.
    t.short_ = !(m >= 1) || lt <= a;
    t.passes = t.short_ ? 1 : m;
    return t;
}

TubeLayout CoilLayout(double lt, double sl, double s, double dO) {
    const double sdo = s * dO;
    TubeLayout t;
    t.shape = CoilFactor(s, dO, sl);
    // Turns of a helix of diameter Sl and pitch s*do, to a tenth.
    t.onePass = std::sqrt(kPi * kPi * sl * sl + sdo * sdo);
    t.passes = std::ceil(10 * lt / t.onePass) / 10;
    t.short_ = !(t.passes >= 1);
    return t;
}

namespace {
// Straight-tube friction with a note when Colebrook-White is stretched
// into the transition.
double StraightFriction(PressureDrop& out, double dI, double eps) {
    if (out.re > 2000 && !kColebrookValidity.holds(out.re)) {
        out.outside = &kColebrookValidity;
        out.value = out.re;
    }
    return FrictionFactor(out.re, dI, eps);
}
} // namespace

PressureDrop UTubePressureDrop(double w, double rho, double mu, double dI, double eps, double sl,
                               const TubeLayout& layout) {
    PressureDrop out;
    out.re = ReynoldsNumber(w, mu, dI);
    const double lambda = StraightFriction(out, dI, eps);
    out.dp = lambda * layout.passes * sl / dI * layout.shape * VelocityHead(w, rho, dI);
    return out;
}

PressureDrop CoilPressureDrop(double w, double rho, double mu, double dI, double eps, double sl,
                              double s, double lt, const TubeLayout& layout) {
    PressureDrop out;
    out.re = ReynoldsNumber(w, mu, dI);
    double lambdaCoil;
    if (!(out.re > 0)) throw MathError("摩擦系数无法计算：雷诺数或管内径不是正数");
    if (out.re < SchmidtCriticalReynolds(dI / sl)) {
        if (!kSchmidtFrictionValidity.holds(out.re)) {
            out.outside = &kSchmidtFrictionValidity;
            out.value = out.re;
        }
        lambdaCoil = SchmidtLaminarCoilFriction(out.re, dI / sl);
    } else {
        lambdaCoil = CoilFactor(s, dI, sl) * StraightFriction(out, dI, eps);
    }
    out.dp = lambdaCoil * lt / dI * layout.shape * VelocityHead(w, rho, dI);
    return out;
}

} // namespace kolvane
