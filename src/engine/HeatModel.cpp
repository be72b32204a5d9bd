// The heat-transfer model: film coefficients, loss coefficients and the
// theoretical area that heats the contents from T1 to T2 within the heating
// time while the vessel loses heat to its surroundings.
#include "engine/ComboBoxU.h"
#include "engine/Errors.h"
#include "engine/FormKolvane.h"
#include "engine/NumberFormat.h"

#include <cmath>
#include <numbers>

namespace kolvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMaxAreaSteps = 1000;
constexpr int kMaxConvectionSteps = 1000;
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

} // namespace

double TFormKolvane::GetFx() {
    const double tol = tolerance_;
    auto put = [&](fid::FieldId id, double value) {
        PutComputedValue(f(id), kComputedColor, value, tol);
    };

    using namespace fid;
    if (!filled({DenoD, dioD, VioD, CopD, LdoD, WiD, TaoD})) return -1;
    const bool condensing = phi_->itemIndex() == 1;
    if (condensing && !filled({DHiD})) return -1;
    const bool stirred = ifMix_->checked();
    if (!stirred && !filled({BtoD, QiD})) return -1;
    if (stirred && !filled({DsD, midD, rvD})) return -1;
    // The single-phase medium's heat rate sets the natural-convection regime.
    if (!stirred && !condensing && !filled({CipD, Ti1D, Ti2D})) return -1;

    const double rhoO = v(DenoD), dO = v(dioD), muO = v(VioD), cO = v(CopD), lamO = v(LdoD);
    const double w = v(WiD), tau = v(TaoD);
    const double r = condensing ? v(DHiD) : 0;
    const bool vesselTakesHeat = htVessel_->text() == "吸热流体";
    const bool tubeTakesHeat = htTube_->text() == "吸热流体";

    double a = 0, qi = 0, heatRate = 0, koStirred = 0, hwStirred = 0;
    if (!stirred) {
        const double beta = v(BtoD);
        qi = v(QiD);
        // Grashof-Prandtl product per kelvin, tube outer diameter as length.
        a = 9.81 * beta * rhoO * rhoO * dO * dO * dO / (muO * muO) * (cO * muO / lamO);
        heatRate = condensing ? w * r : w * v(CipD) * (v(Ti1D) - v(Ti2D));
    } else {
        // Agitated vessel (Chilton, Drew and Jebens), coefficients of the stirrer.
        const std::string item = stirrer_->text();
        const std::size_t bar = item.find('|');
        if (bar == std::string::npos) throw ConvertError(item);
        const double a1 = StrToFloat(item.substr(bar + 1, 4));
        const double a2 = StrToFloat(bar + 6 <= item.size() ? item.substr(bar + 6, 4) : "");
        const double ds = v(DsD), dm = v(midD), n = v(rvD);
        const double reM = dm * dm * n * rhoO / muO;
        const double prO = cO * muO / lamO;
        const double phiO = vesselTakesHeat ? 1.05 : 0.95;
        koStirred = a1 * (lamO / ds) * std::pow(reM, 0.62) * std::cbrt(prO) * phiO;
        hwStirred = a2 * (lamO / ds) * std::pow(reM, 2.0 / 3) * std::cbrt(prO);
    }

    // Wall, vessel and insulation conductivities from the material lists.
    const double lamW = ItemValue(tubeMaterial_->text(), 1000);
    const double lamS = ItemValue(vesselMaterial_->text(), 1000);
    const double lamP = ItemValue(insulation_->text(), 1000);

    double area = kStartArea;
    double e = 0; // carries over between area steps
    for (int step = 0; step < kMaxAreaSteps; ++step) {
        const double previous = area;

        double ko, hw;
        if (!stirred) {
            // Magnitudes: a cooling duty drives the same convection as heating.
            const double q = std::fabs(qi / (area * tau));
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
        put(koD, Checked(ko, "管外膜系数无法计算"));

        double ki;
        if (condensing) {
            if (!filled({DeniD, LdiD, ViiD, diiD, LaiD})) return -1;
            const double rhoI = v(DeniD), lamI = v(LdiD), muI = v(ViiD), dI = v(diiD);
            // Film condensation on the condensate loading of the area (Nusselt type).
            ki = 1.18 * std::cbrt(9.8 * rhoI * rhoI * lamI * lamI * lamI * area / (muI * dI * w));
            const double x = v(LaiD) / 100;
            if (x > 1e-6) ki *= 0.195 + 0.805 * std::exp(-107.7 * x / (1 - x));
        } else {
            if (!filled({DeniD, LdiD, ViiD, diiD, WiD, CipD})) return -1;
            const double lamI = v(LdiD), muI = v(ViiD), dI = v(diiD), cI = v(CipD);
            const double re = 4 * w / (kPi * muI * dI);
            const double pr = cI * muI / lamI;
            const double phiI = tubeTakesHeat ? 1.05 : 0.95;
            const double n = tubeTakesHeat ? 0.4 : 0.3;
            if (muI < 0.003) // Dittus-Boelter
                ki = 0.023 * (lamI / dI) * std::pow(re, 0.8) * std::pow(pr, n);
            else // Sieder-Tate, with phi for the viscosity ratio
                ki = 0.027 * (lamI / dI) * std::pow(re, 0.8) * std::cbrt(pr) * phiI;
            if (tshape_->itemIndex() == 0 && filled({DspD, dioD, diiD, SlD})) {
                const double sdo = v(DspD) * dO;
                ki *= 1 + kPi / 2 * sdo * (1 + 3.5 * dI / sdo) / (v(SlD) - sdo);
            } else if (tshape_->itemIndex() == 1 && filled({DspD, dioD, SlD})) {
                ki *= 1 + 1.5 / v(DspD) * 3.5 * dI / v(SlD);
            }
        }
        put(kiD, Checked(ki, "管内膜系数无法计算：请检查管程物性、流量与管径"));

        // Overall coefficient referred to the outer tube surface.
        if (!filled({RoD, RiD, diiD})) return -1;
        const double dI = v(diiD);
        const double k = Checked(1 / (1 / ko + v(RoD) + dO * (dO - dI) / (lamW * (dO + dI)) +
                                      (1 / ki + v(RiD)) * dO / dI),
                                 "总传热系数无法计算");

        double ae = 0, ke = 0, te = 0;
        if (filled({Tom1D, Tom2D, AeD, StD, BpD, TeD, Ti1D, Ti2D})) {
            ae = v(AeD);
            te = v(TeD);
            const double t1 = v(Tom1D), t2 = v(Tom2D);
            // Vessel wall, insulation and the film inside the vessel wall.
            const double res = v(StD) / lamS + v(BpD) / lamP + 1 / hw;
            double kc;
            if (evt_->itemIndex() == 0) {
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
                    return 1 / (1 / (9.8 + 0.07 * excess(theta)) + res);
                };
                const double thetaM = (t1 + t2) / 2 - te;
                ke = lossCoefficient(thetaM);
                put(TwaD, Checked(te + excess(thetaM), "保温外壁温无法计算"));
                kc = lossCoefficient(t2 - te);
            } else {
                ke = 1 / res;
                kc = ke;
            }
            put(KcD, Checked(kc, "维持传热系数无法计算"));
            double wc;
            if (!condensing) {
                if (!filled({CipD})) return -1;
                wc = kc * ae * (t2 - te) / ((v(Ti1D) - v(Ti2D)) * v(CipD));
            } else {
                wc = kc * ae * (t2 - te) / r;
            }
            put(WcD, Checked(wc, "维持质量流量无法计算：介质进出口温度相同或相变热为零"));
            if (evt_->itemIndex() != 0) f(TwaD).setText("");
            put(KeD, Checked(ke, "环境传热系数无法计算"));
            put(QLD, Checked(ke * ae * ((t1 + t2) / 2 - te), "环境热损无法计算"));
        }

        if (!filled({Ti1D, Ti2D, Tom1D, Tom2D, MaoD, TaoD})) return -1;
        const double t1 = v(Tom1D), t2 = v(Tom2D);
        const double tm = (v(Ti1D) + v(Ti2D)) / 2;
        const double p = v(MaoD) * cO / (tau * k);
        const double g = k * area * tm + ke * ae * te;
        const double h = k * area + ke * ae;
        const double ratio = (g - h * t1) / (g - h * t2);
        if (!(ratio > 0) || !std::isfinite(ratio))
            throw MathError("加热介质无法使容器内物料达到目标温度：请检查介质温度、目标温度与热损");
        area = p * std::log(ratio) - ae * ke / k;
        RequireFinite(area, "理论面积无法计算");
        if (!(area > 0)) throw MathError("理论面积不是正值：介质温度、目标温度与热损数据不合理");
        if (std::fabs((area - previous) / area) < 1e-4) return area;
    }
    throw IterationLimitError("计算不收敛：理论面积");
}

} // namespace kolvane
