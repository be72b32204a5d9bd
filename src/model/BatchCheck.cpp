#include "model/BatchCheck.h"

#include "model/Errors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kolvane {

namespace {

constexpr double kQuadratureTolerance = 1e-10;
constexpr double kAreaTolerance = 1e-10; // in ln A: the area to 1e-10 of itself
constexpr int kMaxAreaDoublings = 60;
constexpr int kMaxRootSteps = 100;
constexpr int kMaxFluxSteps = 100;
constexpr int kCurveSteps = 2000;

// The heat rate into the contents at their temperature T with area A.
class BatchEquation {
public:
    BatchEquation(const FilmModel& film, double area) : film_(film), in_(film.inputs()), a_(area) {
        ki_ = film.inside(area);
        if (!film.naturalConvection()) {
            const FilmModel::Outside o = film.outside(0);
            hw_ = o.hw;
            k_ = film.overall(o.ko, ki_);
        }
    }

    // M·co·dT/dt, W.
    double rate(double t) const {
        const double drive = in_.ti1 - t;
        double hw = hw_;
        double q = 0;
        if (drive != 0) {
            if (film_.naturalConvection()) {
                q = naturalFlux(std::fabs(drive), hw);
            } else {
                q = medium(k_, std::fabs(drive)) / a_;
            }
        } else if (film_.naturalConvection()) {
            hw = film_.outside(std::numeric_limits<double>::min()).hw;
        }
        double f = std::copysign(q * a_, drive);
        if (in_.hasLoss) f -= film_.loss(t - in_.te, hw) * in_.ae * (t - in_.te);
        return f;
    }

private:
    // Heat passed with the overall coefficient k and the driving difference
    // (magnitude) at the medium's inlet; ∂Q/∂K into *slope.
    double medium(double k, double drive, double* slope = nullptr) const {
        if (in_.condensing) {
            if (slope) *slope = a_ * drive;
            return k * a_ * drive;
        }
        const double wc = in_.w * in_.ci;
        const double m1 = std::expm1(-k * a_ / wc); // e^(−NTU) − 1
        if (slope) *slope = a_ * drive * (1 + m1);
        return -wc * drive * m1;
    }

    // The outside flux q solves q = Q(K(ko(q)))/A: Newton steps kept in a
    // bracket, which also settles where the regimes' power laws meet.
    double naturalFlux(double drive, double& hw) const {
        // With no outside resistance at all the flux is largest.
        const double kMax = film_.overall(std::numeric_limits<double>::infinity(), ki_);
        double lo = 0, hi = medium(kMax, drive) / a_;
        // From the last solve, scaled with the driving difference by the
        // local exponent d ln q/d ln ΔT = 1/(1 − S′) found there.
        double q = q_ > 0 ? q_ * std::pow(drive / drive_, exponent_) : hi / 2;
        q = std::clamp(q, hi * 1e-12, hi);
        double previous = 0; // the last relative step: none yet, no evidence
        for (int i = 0; i < kMaxFluxSteps; ++i) {
            const FilmModel::Outside o = film_.outside(q);
            const double k = film_.overall(o.ko, ki_);
            double dQdK;
            const double g = q - medium(k, drive, &dQdK) / a_;
            const double slope = 1 - dQdK * k * k / (o.ko * o.ko) * o.dKoDq / a_;
            (g > 0 ? hi : lo) = q;
            double next = q - g / slope;
            if (!(next > lo && next < hi)) next = (lo + hi) / 2;
            // Where the steps shrink quadratically, one below 1e-5 leaves
            // next right to about 1e-12 (the wall film at q is as close as
            // the loss needs); near a regime's edge they may not, and the
            // iteration goes on to 1e-10.
            const double step = std::fabs(next - q) / q;
            const bool quadratic = step <= 1e-5 && step <= std::pow(previous, 1.8);
            previous = step;
            if (quadratic || step <= 1e-10 || hi - lo <= 1e-13 * hi) {
                q_ = next;
                drive_ = drive;
                exponent_ = slope > 0 ? 1 / slope : 1;
                hw = o.hw;
                return next;
            }
            q = next;
        }
        throw IterationLimitError("校核计算不收敛：管外自然对流");
    }
    const FilmModel& film_;
    const HeatModelInputs& in_;
    double a_;
    double ki_ = 0, k_ = 0, hw_ = 0;
    // The last flux, its drive and how it scales: the next solve's start.
    mutable double q_ = 0, drive_ = 0, exponent_ = 1;
};

// Gauss–Kronrod 7/15 nodes and weights (Piessens et al., QUADPACK, 1983).
constexpr std::array<double, 8> kXgk = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr std::array<double, 8> kWgk = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kWg = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

struct Panel {
    double a, b, value, error;
};

template <typename F> Panel Kronrod(F& f, double a, double b) {
    const double c = (a + b) / 2, h = (b - a) / 2;
    const double fc = f(c);
    double k = fc * kWgk[7], g = fc * kWg[3];
    for (int j = 0; j < 7; ++j) {
        const double x = h * kXgk[j];
        const double sum = f(c - x) + f(c + x);
        k += kWgk[j] * sum;
        if (j % 2 == 1) g += kWg[j / 2] * sum;
    }
    return {a, b, k * h, std::fabs((k - g) * h)};
}

// Globally adaptive: the panel with the largest error is halved until the
// estimate is within the tolerance of the whole.
template <typename F> double Integrate(F f, double a, double b) {
    std::array<Panel, kMaxCheckPanels> panels;
    int count = 1;
    panels[0] = Kronrod(f, a, b);
    for (;;) {
        double value = 0, error = 0;
        int worst = 0;
        for (int i = 0; i < count; ++i) {
            value += panels[i].value;
            error += panels[i].error;
            if (panels[i].error > panels[worst].error) worst = i;
        }
        RequireFinite(value, "校核计算出现无效数值");
        if (error <= kQuadratureTolerance * std::fabs(value)) return value;
        if (count == kMaxCheckPanels)
            throw IterationLimitError("校核计算步数超过上限：升温过程无法按精度积分");
        const Panel p = panels[worst];
        const double mid = (p.a + p.b) / 2;
        panels[worst] = Kronrod(f, p.a, mid);
        panels[count++] = Kronrod(f, mid, p.b);
    }
}

std::optional<double> TimeTo(const BatchEquation& eq, const HeatModelInputs& in, double target) {
    const double t1 = in.t1;
    if (target == t1) return 0.0;
    const double dir = target > t1 ? 1 : -1;
    const double f1 = eq.rate(t1), f2 = eq.rate(target);
    // The contents must move towards the target all the way (the rate is
    // monotone in T, so its ends tell).
    if (!(f1 * dir > 0) || !(f2 * dir > 0)) return std::nullopt;
    const double mc = in.m * in.cO;
    double t;
    if (std::fabs(f2 / f1 - 1) < 1e-6) {
        t = Integrate([&](double temp) { return mc / eq.rate(temp); }, t1, target);
    } else {
        // The rate is nearly linear in T: integrate in v = ln(F_lin/F1), on
        // which the integrand F_lin/F is smooth and bounded even where F
        // approaches zero near the target.
        const double slope = (f2 - f1) / (target - t1);
        const double span = std::log(f2 / f1);
        t = mc / slope *
            Integrate(
                [&](double v) {
                    const double temp = t1 + f1 * std::expm1(v) / slope;
                    return f1 * std::exp(v) / eq.rate(temp);
                },
                0.0, span);
    }
    if (!(t > 0) || !std::isfinite(t)) return std::nullopt;
    return t;
}

// How the time to the target falls with the area, d ln t/d ln A, for a
// constant coefficient without loss: −1 for steam; for a single-phase
// medium −NTU·e^(−NTU)/(1 − e^(−NTU)), as the outlet approaches the inlet.
double lnTimePerLnArea(const FilmModel& film, double area) {
    const HeatModelInputs& in = film.inputs();
    if (in.condensing) return -1;
    const double q = std::fabs(in.qi / (area * in.tau));
    const double k = film.overall(film.outside(q > 0 ? q : 1).ko, film.inside(area));
    const double ntu = k * area / (in.w * in.ci);
    if (!(ntu > 1e-9) || !std::isfinite(ntu)) return -1;
    const double slope = -ntu * std::exp(-ntu) / -std::expm1(-ntu);
    return slope < -0.05 ? slope : -0.05;
}

} // namespace

std::optional<double> CheckedTimeTo(const HeatModelInputs& in, double area, double target) {
    const FilmModel film(in);
    return TimeTo(BatchEquation(film, area), in, target);
}

BatchCheck CheckBatch(const HeatModelInputs& in, double theoreticalArea,
                      std::optional<double> actualArea) {
    const FilmModel film(in);
    BatchCheck out;
    auto time = [&](double area) { return TimeTo(BatchEquation(film, area), in, in.t2); };
    out.tTheoretical = time(theoreticalArea);
    if (actualArea) out.tActual = time(*actualArea);

    // The area whose time is τ: f(ln A) = ln t − ln τ falls with A; a
    // target never reached counts as +∞.
    const double lnTau = std::log(in.tau);
    auto f = [&](double lnA) {
        const auto t = time(std::exp(lnA));
        return t ? std::log(*t) - lnTau : std::numeric_limits<double>::infinity();
    };
    double x0 = std::log(theoreticalArea);
    double f0 = out.tTheoretical ? std::log(*out.tTheoretical) - lnTau
                                 : std::numeric_limits<double>::infinity();
    if (f0 == 0) {
        out.areaNeeded = theoreticalArea;
        return out;
    }
    // Bracket the root, stepping past it by a secant with a fifth more (a
    // doubling where there is no secant); where the time stops changing,
    // no area does it.
    const double direction = f0 > 0 ? 1 : -1;
    double x1 = x0, f1 = f0;
    double xa = x0, fa = f0; // the point before x1
    for (int i = 0; x1 == x0 || (f1 > 0) == (f0 > 0); ++i) {
        if (i == kMaxAreaDoublings) {
            out.note = f0 > 0 ? "任何加热面积都无法在加热时间内达到目标温度"
                              : "不需加热面积即可在加热时间内达到目标温度";
            return out;
        }
        double step = std::log(2.0);
        if (x1 == x0 && std::isfinite(f0)) {
            step = std::fabs(f0 / lnTimePerLnArea(film, theoreticalArea));
        } else if (std::isfinite(fa) && std::isfinite(f1) && f1 != fa) {
            step = 1.2 * std::fabs(f1 * (x1 - xa) / (f1 - fa));
        }
        const double previous = f1;
        xa = x1;
        fa = f1;
        x0 = x1 == x0 ? x0 : x1;
        f0 = x1 == x0 ? f0 : f1;
        x1 += direction * std::clamp(step, 1e-9, std::log(4.0));
        f1 = f(x1);
        if (std::isfinite(f1) && std::isfinite(previous) && std::fabs(f1 - previous) < 1e-12 &&
            (f1 > 0) == (f0 > 0)) {
            out.note = f0 > 0 ? "介质流量与进口温度不足以在加热时间内达到目标温度"
                              : "不需加热面积即可在加热时间内达到目标温度";
            return out;
        }
    }
    // Secant steps on the last two points, kept inside the bracket (a
    // halving where a step would leave it).
    double lo = x0, flo = f0, hi = x1;
    double xb = x1, fb = f1;
    for (int i = 0; i < kMaxRootSteps; ++i) {
        double x = (lo + hi) / 2;
        if (std::isfinite(fa) && std::isfinite(fb) && fb != fa) {
            const double s = xb - fb * (xb - xa) / (fb - fa);
            if (s > std::min(lo, hi) && s < std::max(lo, hi)) x = s;
        }
        // A secant step this small is the root to the tolerance already.
        if (std::fabs(x - xb) < kAreaTolerance || std::fabs(hi - lo) < kAreaTolerance) {
            out.areaNeeded = std::exp(x);
            return out;
        }
        const double fx = f(x);
        if (fx == 0) {
            out.areaNeeded = std::exp(x);
            return out;
        }
        if ((fx > 0) == (flo > 0)) {
            lo = x;
            flo = fx;
        } else {
            hi = x;
        }
        xa = xb;
        fa = fb;
        xb = x;
        fb = fx;
    }
    throw IterationLimitError("校核计算不收敛：所需面积");
}

void CheckedTemperatures(const HeatModelInputs& in, double area, std::span<const double> times,
                         std::span<double> out) {
    if (times.empty()) return;
    const FilmModel film(in);
    const BatchEquation eq(film, area);
    const double mc = in.m * in.cO;
    auto slope = [&](double t) { return eq.rate(t) / mc; };
    const double last = times.back();
    const double maxStep = last > 0 ? last / kCurveSteps : 0;
    double now = 0, temp = in.t1;
    for (std::size_t i = 0; i < times.size() && i < out.size(); ++i) {
        const double until = times[i];
        if (until > now && maxStep > 0) {
            const int steps = static_cast<int>(std::ceil((until - now) / maxStep - 1e-9));
            const double h = (until - now) / steps;
            for (int s = 0; s < steps; ++s) {
                const double k1 = slope(temp);
                const double k2 = slope(temp + h / 2 * k1);
                const double k3 = slope(temp + h / 2 * k2);
                const double k4 = slope(temp + h * k3);
                temp += h / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
            }
            now = until;
        }
        out[i] = temp;
    }
}

} // namespace kolvane
