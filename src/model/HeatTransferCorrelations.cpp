#include "model/HeatTransferCorrelations.h"

#include "model/Errors.h"

#include <cmath>
#include <numbers>

namespace kolvane {

namespace {
constexpr MikheevRegime kMikheev[] = {
    {1.18, 1.0 / 8, 0, 500},
    {0.54, 1.0 / 4, 500, 2e7},
    {0.135, 1.0 / 3, 2e7, 1e300},
};
} // namespace

const MikheevRegime& MikheevRegimeFor(double ra) {
    for (const MikheevRegime& r : kMikheev)
        if (ra < r.raTo) return r;
    return kMikheev[2];
}

double MikheevNusselt(double ra) {
    const MikheevRegime& r = MikheevRegimeFor(ra);
    return r.c * std::pow(ra, r.n);
}

NaturalConvection MikheevFluxCoefficient(double a, double lambdaOverD, double q) {
    if (!(a > 0) || !(lambdaOverD > 0) || !(q > 0) || !std::isfinite(q))
        throw MathError("管外膜系数无法计算：请检查容器物性与热量");
    // q·d·a/λ = Nu·Ra = C·Ra^(1+n): each regime gives its Ra in closed form.
    // A regime holds up to the Φ its upper bound gives; past the second,
    // the third's Ra would fall short of 2e7 up to its own Φ there (the gap).
    auto phiAt = [](const MikheevRegime& r, double ra) { return r.c * std::pow(ra, 1 + r.n); };
    static const double firstEnds = phiAt(kMikheev[0], kMikheev[0].raTo);
    static const double secondEnds = phiAt(kMikheev[1], kMikheev[1].raTo);
    static const double thirdStarts = phiAt(kMikheev[2], kMikheev[2].raFrom);
    const double phi = q * a / lambdaOverD;
    NaturalConvection out;
    const MikheevRegime& r = phi < firstEnds    ? kMikheev[0]
                             : phi < secondEnds ? kMikheev[1]
                                                : kMikheev[2];
    if (&r == &kMikheev[2] && phi < thirdStarts) {
        // Ra at the boundary, h = q·a/Ra.
        out.ra = r.raFrom;
        out.h = q * a / r.raFrom;
        out.dHdQ = out.h / q;
        return out;
    }
    out.ra = std::pow(phi / r.c, 1 / (1 + r.n));
    out.h = q * a / out.ra;
    out.dHdQ = r.n / (1 + r.n) * out.h / q;
    return out;
}

double StirredCoilNusselt(double a, double reM, double pr, double phi) {
    return a * std::pow(reM, 0.62) * std::cbrt(pr) * phi;
}

double StirredWallNusselt(double a, double reM, double pr) {
    return a * std::pow(reM, 2.0 / 3) * std::cbrt(pr);
}

double DittusBoelterNusselt(double re, double pr, double n) {
    return 0.023 * std::pow(re, 0.8) * std::pow(pr, n);
}

double SiederTateTurbulentNusselt(double re, double pr, double phi) {
    return 0.027 * std::pow(re, 0.8) * std::cbrt(pr) * phi;
}

double HausenNusselt(double re, double pr, double dOverL) {
    const double gz = re * pr * dOverL;
    return kFullyDevelopedLaminarNusselt + 0.0668 * gz / (1 + 0.04 * std::pow(gz, 2.0 / 3));
}

double PetukhovFriction(double re) {
    const double x = 0.790 * std::log(re) - 1.64;
    return 1 / (x * x);
}

double GnielinskiNusselt(double re, double pr) {
    const double f8 = PetukhovFriction(re) / 8;
    return f8 * (re - 1000) * pr / (1 + 12.7 * std::sqrt(f8) * (std::pow(pr, 2.0 / 3) - 1));
}

double SchmidtCriticalReynolds(double dOverD) {
    return 2300 * (1 + 8.6 * std::pow(dOverD, 0.45));
}

double SchmidtLaminarCoilNusselt(double re, double pr, double dOverD) {
    const double m = 0.5 + 0.2903 * std::pow(dOverD, 0.194);
    return 3.65 + 0.08 * (1 + 0.8 * std::pow(dOverD, 0.9)) * std::pow(re, m) * std::cbrt(pr);
}

double SchmidtLaminarCoilFriction(double re, double dOverD) {
    return 64 / re *
           (1 + 0.14 * std::pow(dOverD, 0.97) * std::pow(re, 1 - 0.644 * std::pow(dOverD, 0.312)));
}

double CoilFactor(double s, double d, double sl) {
    return 1 + 1.5 / s * 3.5 * d / sl;
}

double UTubeBendFactor(double s, double dO, double dI, double sl) {
    const double sdo = s * dO;
    return 1 + std::numbers::pi / 2 * sdo * (1 + 3.5 * dI / sdo) / (sl - sdo);
}

double CondensationLoadingCoefficient(double rho, double lambda, double mu, double d, double area,
                                      double w) {
    // 1.18 was fitted with g = 9.8 m/s²; the constant keeps its products.
    static const double c = 1.18 * std::cbrt(9.8 / kGravity);
    return c * std::cbrt(kGravity * rho * rho * lambda * lambda * lambda * area / (mu * d * w));
}

namespace {
double FilmCondensation(double c, double rhoL, double rhoV, double lambda, double mu, double hfg,
                        double d, double dT) {
    return c * std::pow(kGravity * rhoL * (rhoL - rhoV) * lambda * lambda * lambda * hfg /
                            (mu * d * dT),
                        0.25);
}
} // namespace

double NusseltHorizontalTube(double rhoL, double rhoV, double lambda, double mu, double cp,
                             double r, double d, double dT) {
    return FilmCondensation(0.729, rhoL, rhoV, lambda, mu, r + 0.68 * cp * dT, d, dT);
}

double ChatoInsideTube(double rhoL, double rhoV, double lambda, double mu, double cp, double r,
                       double d, double dT) {
    return FilmCondensation(0.555, rhoL, rhoV, lambda, mu, r + 0.375 * cp * dT, d, dT);
}

double NonCondensableFactor(double x) {
    if (!(x > 1e-6)) return 1;
    return 0.195 + 0.805 * std::exp(-107.7 * x / (1 - x));
}

} // namespace kolvane
