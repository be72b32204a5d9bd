// The heat-transfer model: film coefficients, loss coefficients and the
// theoretical area that heats the contents from T1 to T2 within the heating
// time while the vessel loses heat to its surroundings.
#include "model/HeatModel.h"

#include "model/Errors.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace kolvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kStartArea = 10;

double Checked(double v, const char* what) {
    RequireFinite(v, what);
    return v;
}

CorrelationNote Note(NoteSide side, const Validity& v, double value, double re) {
    return {side, &v, value, re};
}

// Bends of a U-tube bundle and turns of a coil raise the turbulent film.
double ShapeCorrection(const HeatModelInputs& in) {
    if (!in.hasShape) return 1;
    return in.coil ? CoilFactor(in.s, in.dI, in.sl) : UTubeBendFactor(in.s, in.dO, in.dI, in.sl);
}

} // namespace

double UTubePassLength(double sl, double s, double dO) {
    const double sdo = s * dO;
    return (sl - sdo) + kPi / 2 * sdo;
}

InsideFilm SinglePhaseInsideFilm(const HeatModelInputs& in) {
    InsideFilm f;
    f.re = 4 * in.w / (kPi * in.muI * in.dI);
    f.pr = in.ci * in.muI / in.lamI;
    const double phi = ViscosityRatioFactor(in.mediumTakesHeat);
    const double lambdaOverD = in.lamI / in.dI;
    auto note = [&f](const Validity& v, double value) {
        if (v.holds(value)) return;
        f.hasNote = true;
        f.note = Note(NoteSide::Inside, v, value, f.re);
    };
    // Turbulent: today's correlations with the shape's correction.
    auto turbulent = [&] {
        f.regime = InsideRegime::Turbulent;
        double nu;
        if (in.muI < 0.003) {
            f.correlation = "Dittus–Boelter";
            f.accuracy = &kDittusBoelterAccuracy;
            nu = DittusBoelterNusselt(f.re, f.pr, in.mediumTakesHeat ? 0.4 : 0.3);
            note(kDittusBoelterValidity, f.pr);
        } else {
            f.correlation = "Sieder–Tate";
            f.accuracy = &kSiederTateTurbulentAccuracy;
            nu = SiederTateTurbulentNusselt(f.re, f.pr, phi);
            note(kSiederTateTurbulentValidity, f.pr);
        }
        f.h = nu * lambdaOverD * ShapeCorrection(in);
    };

    if (in.coil && in.hasShape) {
        const double dOverD = in.dI / in.sl;
        if (f.re < SchmidtCriticalReynolds(dOverD)) {
            f.regime = InsideRegime::Laminar;
            f.correlation = "Schmidt";
            f.accuracy = &kSchmidtLaminarAccuracy;
            f.h = SchmidtLaminarCoilNusselt(f.re, f.pr, dOverD) * lambdaOverD;
            note(kSchmidtLaminarValidity, f.re);
        } else {
            turbulent();
        }
        return f;
    }
    if (f.re <= kLaminarReynolds) {
        f.regime = InsideRegime::Laminar;
        // Each bend mixes the flow, so the thermal entrance starts again in
        // every pass. Without the pass's length the fully developed value
        // is the safe one.
        if (!in.coil && in.hasShape) {
            f.correlation = "Hausen";
            f.accuracy = &kHausenAccuracy;
            const double length = UTubePassLength(in.sl, in.s, in.dO);
            f.h = HausenNusselt(f.re, f.pr, in.dI / length) * lambdaOverD;
        } else {
            f.correlation = "Nu=3.66";
            f.accuracy = &kFullyDevelopedLaminarAccuracy;
            f.h = kFullyDevelopedLaminarNusselt * lambdaOverD;
            f.hasNote = true;
            f.note = CorrelationNote{NoteSide::Inside, nullptr, 0, f.re};
        }
    } else if (f.re < kTurbulentReynolds) {
        f.regime = InsideRegime::Transition;
        f.correlation = "Gnielinski";
        f.accuracy = &kGnielinskiAccuracy;
        f.h = GnielinskiNusselt(f.re, f.pr) * lambdaOverD * ShapeCorrection(in);
        note(kGnielinskiValidity, f.pr);
    } else {
        turbulent();
    }
    return f;
}

FilmModel::FilmModel(const HeatModelInputs& in) : in_(in) {
    const double rhoO = in.rhoO, dO = in.dO, muO = in.muO, cO = in.cO, lamO = in.lamO;
    const double prO = cO * muO / lamO;
    if (!in.stirred) {
        // Grashof-Prandtl product per kelvin, tube outer diameter as length.
        a_ = kGravity * in.beta * rhoO * rhoO * dO * dO * dO / (muO * muO) * prO;
    } else {
        const double reM = in.dm * in.dm * in.n * rhoO / muO;
        const double phiO = ViscosityRatioFactor(in.contentsTakeHeat);
        koStirred_ = StirredCoilNusselt(in.a1, reM, prO, phiO) * lamO / in.ds * in.outsideFactor;
        hwStirred_ = StirredWallNusselt(in.a2, reM, prO) * lamO / in.ds * in.outsideFactor;
    }
    wall_ = dO * (dO - in.dI) / (in.lamW * (dO + in.dI));
    ratio_ = dO / in.dI;
    if (in.condensing) {
        condensing_ = CondensationLoadingCoefficient(in.rhoI, in.lamI, in.muI, in.dI, 1, in.w) *
                      NonCondensableFactor(in.x / 100) * in.insideFactor;
    } else {
        inside_ = SinglePhaseInsideFilm(in);
        inside_.h *= in.insideFactor;
    }
}

FilmModel::Outside FilmModel::outside(double q) const {
    if (in_.stirred) return {koStirred_, hwStirred_, 0, 0};
    if (!(q > 0)) throw MathError("管外膜系数为零：容器热量或物性数据不正确");
    // Nu = f·C·Ra^n passes q where C·Ra^(1+n) = Φ/f: the plain correlation's
    // Ra at q/f, with h = q·a/Ra = f·h(q/f) and ∂h/∂q = h′(q/f).
    const double f = in_.outsideFactor;
    const NaturalConvection c = MikheevFluxCoefficient(a_, in_.lamO / in_.dO, q / f);
    return {c.h * f, c.h * f, c.dHdQ, c.ra};
}

double FilmModel::inside(double area) const {
    return in_.condensing ? condensing_ * std::cbrt(area) : inside_.h;
}

double FilmModel::loss(double theta, double hw, double* excess) const {
    // Vessel wall, insulation and the film inside the vessel wall.
    const double res = in_.wallThickness / in_.lamS + in_.insulationThickness / in_.lamP + 1 / hw;
    if (in_.lossToGround) return 1 / res;
    // Outer film to air h = f·(9.8 + 0.07·x), x the surface's excess over the
    // ambient: 0.07·f·R·x² + (9.8·f·R + 1)·x = θ.
    const double f = in_.surfaceFactor;
    const double b = kSurfaceToAirBase * res * f + 1;
    const double disc = b * b + 4 * kSurfaceToAirSlope * res * f * theta;
    if (!(disc >= 0)) throw MathError("保温外壁温无法计算：环境温度与容器温度数据不合理");
    const double x = (std::sqrt(disc) - b) / (2 * kSurfaceToAirSlope * res * f);
    // The linear surface film holds for ordinary differences only; far below
    // the ambient it would turn negative.
    const double he = SurfaceToAirCoefficient(x) * f;
    if (!(he > 0)) throw MathError("环境传热系数无法计算：环境温度与容器温度相差过大");
    if (excess) *excess = x;
    return 1 / (1 / he + res);
}

namespace {

// The coefficients of the sizing at one area.
struct AreaCoefficients {
    FilmModel::Outside o;
    double ki = 0, k = 0;
    double ke = 0, kc = 0, excess = 0; // with the loss group
};

AreaCoefficients CoefficientsAt(const FilmModel& film, double area) {
    const HeatModelInputs& in = film.inputs();
    AreaCoefficients c;
    // Magnitudes: a cooling duty drives the same convection as heating.
    c.o = film.outside(std::fabs(in.qi / (area * in.tau)));
    Checked(c.o.ko, "管外膜系数无法计算");
    if (!(c.o.ko > 0)) throw MathError("管外膜系数为零：容器热量或物性数据不正确");
    c.ki = Checked(film.inside(area), "管内膜系数无法计算：请检查管程物性、流量与管径");
    c.k = Checked(film.overall(c.o.ko, c.ki), "总传热系数无法计算");
    if (in.hasLoss) {
        c.ke = Checked(film.loss((in.t1 + in.t2) / 2 - in.te, c.o.hw, &c.excess),
                       "环境传热系数无法计算");
        c.kc = Checked(film.loss(in.t2 - in.te, c.o.hw), "维持传热系数无法计算");
    }
    return c;
}

// The closed form of the batch with the coefficients c at `area`: the
// contents relax towards G/H; ratio = (G − H·T1)/(G − H·T2), positive when
// they reach T2.
struct Batch {
    double g, h, ratio;
};
Batch BatchAt(const HeatModelInputs& in, const AreaCoefficients& c, double area) {
    const double ae = in.hasLoss ? in.ae : 0, te = in.hasLoss ? in.te : 0;
    const double tm = (in.ti1 + in.ti2) / 2;
    Batch b;
    b.g = c.k * area * tm + c.ke * ae * te;
    b.h = c.k * area + c.ke * ae;
    b.ratio = (b.g - b.h * in.t1) / (b.g - b.h * in.t2);
    return b;
}

const char* const kUnreachable =
    "加热介质无法使容器内物料达到目标温度：请检查介质温度、目标温度与热损";
const char* const kNotPositive = "理论面积不是正值：介质温度、目标温度与热损数据不合理";

// Where the fixed point does not settle (a loss that outweighs the area's
// own heat, a coefficient that moves a lot with the area), the area whose
// batch takes exactly the heating time, by a bracketed secant on ln A:
// f = ln(t/τ) falls with the area, and is +∞ where the target is out of
// reach.
double AreaByBracket(const FilmModel& film, double tol) {
    const HeatModelInputs& in = film.inputs();
    auto f = [&](double x) {
        const double area = std::exp(x);
        const Batch b = BatchAt(in, CoefficientsAt(film, area), area);
        if (!(b.ratio > 0) || !std::isfinite(b.ratio) || !(b.h > 0))
            return std::numeric_limits<double>::infinity();
        const double t = in.m * in.cO / b.h * std::log(b.ratio);
        return t > 0 ? std::log(t / in.tau) : -std::numeric_limits<double>::infinity();
    };
    constexpr int kSteps = 60;
    double lo = std::log(kStartArea), flo = f(lo);
    double hi = lo, fhi = flo;
    // lo: too small an area (f > 0); hi: large enough (f < 0).
    for (int i = 0; !(fhi < 0); ++i) {
        if (i == kSteps) throw MathError(kUnreachable);
        lo = hi;
        flo = fhi;
        hi += std::log(4.0);
        fhi = f(hi);
    }
    for (int i = 0; !(flo > 0); ++i) {
        if (i == kSteps) throw MathError(kNotPositive);
        hi = lo;
        fhi = flo;
        lo -= std::log(4.0);
        flo = f(lo);
    }
    for (int i = 0; i < kMaxAreaSteps; ++i) {
        double x = (lo + hi) / 2;
        if (std::isfinite(flo) && std::isfinite(fhi)) {
            const double s = hi - fhi * (hi - lo) / (fhi - flo);
            if (s > lo && s < hi) x = s;
        }
        if (hi - lo < tol / 10) return std::exp(x);
        const double fx = f(x);
        if (fx == 0) return std::exp(x);
        // Illinois: the end that stays has its value halved.
        if (fx > 0) {
            lo = x;
            flo = fx;
            if (std::isfinite(fhi)) fhi /= 2;
        } else {
            hi = x;
            fhi = fx;
            if (std::isfinite(flo)) flo /= 2;
        }
    }
    throw IterationLimitError("计算不收敛：理论面积");
}

} // namespace

HeatModelResult TheoreticalArea(const HeatModelInputs& in) {
    const FilmModel film(in);
    const double tol = in.tolerance > 0 ? in.tolerance : 1e-6;
    const double ae = in.hasLoss ? in.ae : 0;

    // The fixed point of the closed form from 10 m², as the coefficients
    // follow the area; a bracketed search where it does not settle.
    double area = kStartArea;
    AreaCoefficients c;
    bool settled = false;
    for (int step = 0; step < kMaxAreaSteps && !settled; ++step) {
        const double previous = area;
        c = CoefficientsAt(film, area);
        const Batch b = BatchAt(in, c, area);
        if (!(b.ratio > 0) || !std::isfinite(b.ratio)) break;
        area = in.m * in.cO / (in.tau * c.k) * std::log(b.ratio) - ae * c.ke / c.k;
        if (!std::isfinite(area) || !(area > 0)) break;
        settled = std::fabs((area - previous) / area) < tol;
    }
    if (!settled) {
        area = AreaByBracket(film, tol);
        c = CoefficientsAt(film, area);
    }

    HeatModelResult out;
    out.area = area;
    out.ko = c.o.ko;
    out.ki = c.ki;
    out.k = c.k;
    if (in.hasLoss) {
        const double t2 = in.t2, te = in.te;
        out.hasSurface = !in.lossToGround;
        if (out.hasSurface) out.twa = Checked(te + c.excess, "保温外壁温无法计算");
        out.kc = c.kc;
        out.wc = Checked(in.condensing ? c.kc * ae * (t2 - te) / in.r
                                       : c.kc * ae * (t2 - te) / ((in.ti1 - in.ti2) * in.ci),
                         "维持质量流量无法计算：介质进出口温度相同或相变热为零");
        out.ke = c.ke;
        out.ql = Checked(c.ke * ae * ((in.t1 + t2) / 2 - te), "环境热损无法计算");
    }
    out.resistances = film.resistances(c.o.ko, c.ki);
    out.outsideAccuracy = &film.outsideAccuracy();
    out.insideAccuracy = &film.insideAccuracy();
    if (out.hasSurface) out.surfaceAccuracy = &kSurfaceToAirAccuracy;
    // The correlations' ranges at the state the area settled in.
    auto addNote = [&out](const CorrelationNote& n) {
        if (out.noteCount < HeatModelResult::kMaxNotes) out.notes[out.noteCount++] = n;
    };
    if (!in.condensing && film.insideFilm().hasNote) addNote(film.insideFilm().note);
    if (!in.stirred && !kMikheevValidity.holds(c.o.ra))
        addNote(Note(NoteSide::Outside, kMikheevValidity, c.o.ra, c.o.ra));
    if (out.hasSurface && !kSurfaceToAirValidity.holds(out.twa))
        addNote(Note(NoteSide::Surface, kSurfaceToAirValidity, out.twa, 0));
    return out;
}

} // namespace kolvane
