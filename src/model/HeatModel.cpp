// The heat-transfer model: film coefficients, loss coefficients and the
// theoretical area that heats the contents from T1 to T2 within the heating
// time while the vessel loses heat to its surroundings.
#include "model/HeatModel.h"

#include "model/Errors.h"

#include <cmath>
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
            nu = DittusBoelterNusselt(f.re, f.pr, in.mediumTakesHeat ? 0.4 : 0.3);
            note(kDittusBoelterValidity, f.pr);
        } else {
            f.correlation = "Sieder–Tate";
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
            const double length = UTubePassLength(in.sl, in.s, in.dO);
            f.h = HausenNusselt(f.re, f.pr, in.dI / length) * lambdaOverD;
        } else {
            f.correlation = "Nu=3.66";
            f.h = kFullyDevelopedLaminarNusselt * lambdaOverD;
            f.hasNote = true;
            f.note = CorrelationNote{NoteSide::Inside, nullptr, 0, f.re};
        }
    } else if (f.re < kTurbulentReynolds) {
        f.regime = InsideRegime::Transition;
        f.correlation = "Gnielinski";
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
        koStirred_ = StirredCoilNusselt(in.a1, reM, prO, phiO) * lamO / in.ds;
        hwStirred_ = StirredWallNusselt(in.a2, reM, prO) * lamO / in.ds;
    }
    wall_ = dO * (dO - in.dI) / (in.lamW * (dO + in.dI));
    ratio_ = dO / in.dI;
    if (in.condensing) {
        condensing_ = CondensationLoadingCoefficient(in.rhoI, in.lamI, in.muI, in.dI, 1, in.w) *
                      NonCondensableFactor(in.x / 100);
    } else {
        inside_ = SinglePhaseInsideFilm(in);
    }
}

FilmModel::Outside FilmModel::outside(double q) const {
    if (in_.stirred) return {koStirred_, hwStirred_, 0, 0};
    if (!(q > 0)) throw MathError("管外膜系数为零：容器热量或物性数据不正确");
    const NaturalConvection c = MikheevFluxCoefficient(a_, in_.lamO / in_.dO, q);
    return {c.h, c.h, c.dHdQ, c.ra};
}

double FilmModel::inside(double area) const {
    return in_.condensing ? condensing_ * std::cbrt(area) : inside_.h;
}

double FilmModel::loss(double theta, double hw, double* excess) const {
    // Vessel wall, insulation and the film inside the vessel wall.
    const double res = in_.wallThickness / in_.lamS + in_.insulationThickness / in_.lamP + 1 / hw;
    if (in_.lossToGround) return 1 / res;
    // Outer film to air h = 9.8 + 0.07·x, x the surface's excess over the
    // ambient: 0.07·R·x² + (9.8·R + 1)·x = θ.
    const double b = kSurfaceToAirBase * res + 1;
    const double disc = b * b + 4 * kSurfaceToAirSlope * res * theta;
    if (!(disc >= 0)) throw MathError("保温外壁温无法计算：环境温度与容器温度数据不合理");
    const double x = (std::sqrt(disc) - b) / (2 * kSurfaceToAirSlope * res);
    // The linear surface film holds for ordinary differences only; far below
    // the ambient it would turn negative.
    const double he = SurfaceToAirCoefficient(x);
    if (!(he > 0)) throw MathError("环境传热系数无法计算：环境温度与容器温度相差过大");
    if (excess) *excess = x;
    return 1 / (1 / he + res);
}

HeatModelResult TheoreticalArea(const HeatModelInputs& in) {
    const FilmModel film(in);
    HeatModelResult out;
    auto addNote = [&out](const CorrelationNote& n) {
        if (out.noteCount < HeatModelResult::kMaxNotes) out.notes[out.noteCount++] = n;
    };
    const double tau = in.tau;
    const double tol = in.tolerance > 0 ? in.tolerance : 1e-6;

    double area = kStartArea;
    for (int step = 0; step < kMaxAreaSteps; ++step) {
        const double previous = area;

        // Magnitudes: a cooling duty drives the same convection as heating.
        const FilmModel::Outside o = film.outside(std::fabs(in.qi / (area * tau)));
        const double ko = o.ko, hw = o.hw;
        out.ko = Checked(ko, "管外膜系数无法计算");
        if (!(ko > 0)) throw MathError("管外膜系数为零：容器热量或物性数据不正确");
        const double ki = film.inside(area);
        out.ki = Checked(ki, "管内膜系数无法计算：请检查管程物性、流量与管径");
        const double k = Checked(film.overall(ko, ki), "总传热系数无法计算");
        out.k = k;

        double ae = 0, ke = 0, te = 0;
        if (in.hasLoss) {
            ae = in.ae;
            te = in.te;
            const double t1 = in.t1, t2 = in.t2;
            const double thetaM = (t1 + t2) / 2 - te;
            double excess = 0;
            ke = film.loss(thetaM, hw, &excess);
            const double kc = film.loss(t2 - te, hw);
            out.hasSurface = !in.lossToGround;
            if (out.hasSurface) out.twa = Checked(te + excess, "保温外壁温无法计算");
            out.kc = Checked(kc, "维持传热系数无法计算");
            const double wc = in.condensing ? kc * ae * (t2 - te) / in.r
                                            : kc * ae * (t2 - te) / ((in.ti1 - in.ti2) * in.ci);
            out.wc = Checked(wc, "维持质量流量无法计算：介质进出口温度相同或相变热为零");
            out.ke = Checked(ke, "环境传热系数无法计算");
            out.ql = Checked(ke * ae * thetaM, "环境热损无法计算");
        }

        const double t1 = in.t1, t2 = in.t2;
        const double tm = (in.ti1 + in.ti2) / 2;
        const double p = in.m * in.cO / (tau * k);
        const double g = k * area * tm + ke * ae * te;
        const double h = k * area + ke * ae;
        const double ratio = (g - h * t1) / (g - h * t2);
        if (!(ratio > 0) || !std::isfinite(ratio))
            throw MathError("加热介质无法使容器内物料达到目标温度：请检查介质温度、目标温度与热损");
        area = p * std::log(ratio) - ae * ke / k;
        RequireFinite(area, "理论面积无法计算");
        if (!(area > 0)) throw MathError("理论面积不是正值：介质温度、目标温度与热损数据不合理");
        if (std::fabs((area - previous) / area) < tol) {
            out.area = area;
            // The correlations' ranges at the state the area settled in.
            if (!in.condensing && film.insideFilm().hasNote) addNote(film.insideFilm().note);
            if (!in.stirred && !kMikheevValidity.holds(o.ra)) {
                addNote(Note(NoteSide::Outside, kMikheevValidity, o.ra, o.ra));
            }
            if (out.hasSurface && !kSurfaceToAirValidity.holds(out.twa))
                addNote(Note(NoteSide::Surface, kSurfaceToAirValidity, out.twa, 0));
            return out;
        }
    }
    throw IterationLimitError("计算不收敛：理论面积");
}

} // namespace kolvane
