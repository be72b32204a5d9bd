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

// Natural convection around horizontal tubes (Mikheev): constants by regime.
void ConvectionRegime(double ra, double& c, double& n) {
    if (ra < 500) {
        c = 1.18;
        n = 1.0 / 8;
    } else if (ra < 2e7) {
        c = 0.54;
        n = 1.0 / 4;
    } else {
        c = 0.135;
        n = 1.0 / 3;
    }
}

// Inside film of a single-phase medium; it does not depend on the area.
double SinglePhaseInside(const HeatModelInputs& in) {
    const double re = 4 * in.w / (kPi * in.muI * in.dI);
    const double pr = in.ci * in.muI / in.lamI;
    const double phiI = in.mediumTakesHeat ? 1.05 : 0.95;
    const double n = in.mediumTakesHeat ? 0.4 : 0.3;
    double ki;
    if (in.muI < 0.003) // Dittus-Boelter
        ki = 0.023 * (in.lamI / in.dI) * std::pow(re, 0.8) * std::pow(pr, n);
    else // Sieder-Tate, with phi for the viscosity ratio
        ki = 0.027 * (in.lamI / in.dI) * std::pow(re, 0.8) * std::cbrt(pr) * phiI;
    if (in.hasShape) {
        const double sdo = in.s * in.dO;
        if (!in.coil)
            ki *= 1 + kPi / 2 * sdo * (1 + 3.5 * in.dI / sdo) / (in.sl - sdo);
        else
            ki *= 1 + 1.5 / in.s * 3.5 * in.dI / in.sl;
    }
    return ki;
}

} // namespace

HeatModelResult TheoreticalArea(const HeatModelInputs& in) {
    HeatModelResult out;
    const double rhoO = in.rhoO, dO = in.dO, muO = in.muO, cO = in.cO, lamO = in.lamO;
    const double tau = in.tau, dI = in.dI;

    double a = 0, heatRate = 0, koStirred = 0, hwStirred = 0;
    if (!in.stirred) {
        // Grashof-Prandtl product per kelvin, tube outer diameter as length.
        a = 9.81 * in.beta * rhoO * rhoO * dO * dO * dO / (muO * muO) * (cO * muO / lamO);
        // The medium's heat rate sets the natural-convection regime.
        heatRate = in.condensing ? in.w * in.r : in.w * in.ci * (in.ti1 - in.ti2);
    } else {
        // Agitated vessel (Chilton, Drew and Jebens), coefficients of the stirrer.
        const double reM = in.dm * in.dm * in.n * rhoO / muO;
        const double prO = cO * muO / lamO;
        const double phiO = in.contentsTakeHeat ? 1.05 : 0.95;
        koStirred = in.a1 * (lamO / in.ds) * std::pow(reM, 0.62) * std::cbrt(prO) * phiO;
        hwStirred = in.a2 * (lamO / in.ds) * std::pow(reM, 2.0 / 3) * std::cbrt(prO);
    }
    const double kiSingle = in.condensing ? 0 : SinglePhaseInside(in);

    double area = kStartArea;
    double e = 0; // carries over between area steps
    for (int step = 0; step < kMaxAreaSteps; ++step) {
        const double previous = area;

        double ko, hw;
        if (!in.stirred) {
            // Magnitudes: a cooling duty drives the same convection as heating.
            const double q = std::fabs(in.qi / (area * tau));
            double dT = 0.5;
            ko = 0;
            for (int i = 0;; ++i) {
                if (i >= kMaxConvectionSteps)
                    throw IterationLimitError("计算不收敛：管外自然对流传热系数");
                const double dTprev = dT, ePrev = e;
                double c, n;
                ConvectionRegime(a * dT, c, n);
                ko = std::pow(c * (lamO / dO) * std::pow(a, n) * std::pow(q, n), 1 / (1 + n));
                Checked(ko, "管外膜系数无法计算：请检查容器物性与热量");
                if (!(ko > 0)) throw MathError("管外膜系数为零：容器热量或物性数据不正确");
                dT = std::fabs(heatRate / (ko * area));
                e = std::fabs(dTprev - dT);
                if (std::fabs(e - ePrev) < 1e-4) break;
            }
            hw = ko;
        } else {
            ko = koStirred;
            hw = hwStirred;
        }
        out.ko = Checked(ko, "管外膜系数无法计算");

        double ki;
        if (in.condensing) {
            // Film condensation on the condensate loading of the area (Nusselt type).
            ki = 1.18 * std::cbrt(9.8 * in.rhoI * in.rhoI * in.lamI * in.lamI * in.lamI * area /
                                  (in.muI * dI * in.w));
            const double x = in.x / 100;
            if (x > 1e-6) ki *= 0.195 + 0.805 * std::exp(-107.7 * x / (1 - x));
        } else {
            ki = kiSingle;
        }
        out.ki = Checked(ki, "管内膜系数无法计算：请检查管程物性、流量与管径");

        // Overall coefficient referred to the outer tube surface.
        const double k = Checked(1 / (1 / ko + in.ro + dO * (dO - dI) / (in.lamW * (dO + dI)) +
                                      (1 / ki + in.ri) * dO / dI),
                                 "总传热系数无法计算");
        out.k = k;

        double ae = 0, ke = 0, te = 0;
        if (in.hasLoss) {
            ae = in.ae;
            te = in.te;
            const double t1 = in.t1, t2 = in.t2;
            // Vessel wall, insulation and the film inside the vessel wall.
            const double res =
                in.wallThickness / in.lamS + in.insulationThickness / in.lamP + 1 / hw;
            double kc;
            if (!in.lossToGround) {
                // Surface coefficient to air 9.8 + 0.07 x, x the surface excess
                // temperature: 0.07 R x^2 + (9.8 R + 1) x = theta.
                const double b = 9.8 * res + 1;
                auto excess = [&](double theta) {
                    const double disc = b * b + 0.28 * res * theta;
                    if (!(disc >= 0))
                        throw MathError("保温外壁温无法计算：环境温度与容器温度数据不合理");
                    return (std::sqrt(disc) - b) / (0.14 * res);
                };
                auto lossCoefficient = [&](double theta) {
                    // The linear surface film holds for ordinary differences
                    // only; far below the ambient it would turn negative.
                    const double he = 9.8 + 0.07 * excess(theta);
                    if (!(he > 0))
                        throw MathError("环境传热系数无法计算：环境温度与容器温度相差过大");
                    return 1 / (1 / he + res);
                };
                const double thetaM = (t1 + t2) / 2 - te;
                ke = lossCoefficient(thetaM);
                out.twa = Checked(te + excess(thetaM), "保温外壁温无法计算");
                out.hasSurface = true;
                kc = lossCoefficient(t2 - te);
            } else {
                ke = 1 / res;
                kc = ke;
                out.hasSurface = false;
            }
            out.kc = Checked(kc, "维持传热系数无法计算");
            const double wc = in.condensing ? kc * ae * (t2 - te) / in.r
                                            : kc * ae * (t2 - te) / ((in.ti1 - in.ti2) * in.ci);
            out.wc = Checked(wc, "维持质量流量无法计算：介质进出口温度相同或相变热为零");
            out.ke = Checked(ke, "环境传热系数无法计算");
            out.ql = Checked(ke * ae * ((t1 + t2) / 2 - te), "环境热损无法计算");
        }

        const double t1 = in.t1, t2 = in.t2;
        const double tm = (in.ti1 + in.ti2) / 2;
        const double p = in.m * cO / (tau * k);
        const double g = k * area * tm + ke * ae * te;
        const double h = k * area + ke * ae;
        const double ratio = (g - h * t1) / (g - h * t2);
        if (!(ratio > 0) || !std::isfinite(ratio))
            throw MathError("加热介质无法使容器内物料达到目标温度：请检查介质温度、目标温度与热损");
        area = p * std::log(ratio) - ae * ke / k;
        RequireFinite(area, "理论面积无法计算");
        if (!(area > 0)) throw MathError("理论面积不是正值：介质温度、目标温度与热损数据不合理");
        if (std::fabs((area - previous) / area) < 1e-4) {
            out.area = area;
            return out;
        }
    }
    throw IterationLimitError("计算不收敛：理论面积");
}

} // namespace kolvane
