// Equation-of-state correlations over the correlation vector.
#include "model/Correlations.h"

#include "model/Errors.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace kolvane {

namespace {

constexpr double kR = 8.314; // J/(mol.K)

// The quantities every correlation reads, checked once.
struct Fluid {
    double pc, tc, vc, zc, omega, m, p, t; // SI: Pa, K, cm3/mol, -, -, g/mol, Pa, K
};

void RequirePositive(double x, const char* what) {
    if (!(x > 0) || !std::isfinite(x)) throw MathError(std::string(what) + "应为正数");
}

Fluid Read(const CorrelationVector& v, bool needVc, bool needZc) {
    Fluid f{1000 * v[1], v[2], v[3], v[4], v[5], v[6], 1000 * v[7], v[8] + 273.15};
    RequirePositive(f.pc, "临界压力Pc");
    RequirePositive(f.tc, "临界温度Tc");
    if (needVc) RequirePositive(f.vc, "临界体积Vc");
    if (needZc) RequirePositive(f.zc, "临界压缩因子Zc");
    RequirePositive(f.m, "摩尔质量M");
    RequirePositive(f.p, "压力p");
    RequirePositive(f.t, "绝对温度");
    if (!std::isfinite(f.omega)) throw MathError("偏心因子ω不是有效数值");
    return f;
}

// The shared secant iteration with a fixed step. `relative` chooses the
// stop test |step/x| instead of |step|.
double Secant(const std::function<double(double)>& f, double x, double delta, double tolerance,
              bool relative, const char* what) {
    for (int count = 1; count <= kCorrelationMaxIterations; ++count) {
        const double f1 = f(x), f2 = f(x + delta);
        const double step = delta * f1 / (f2 - f1);
        if (!std::isfinite(step)) throw MathError(std::string(what) + "的迭代出现无效数值");
        x -= step;
        if (count >= kCorrelationMaxIterations) break;
        if ((relative ? std::fabs(step / x) : std::fabs(step)) < tolerance) {
            if (!(x > 0)) throw MathError(std::string(what) + "的迭代得到非正值");
            return x;
        }
    }
    throw MathError(std::string(what) + "的迭代在200步内没有收敛");
}

double Sqrt(double x, const char* what) {
    if (!(x >= 0)) throw MathError(std::string(what) + "：负数开平方");
    return std::sqrt(x);
}

// The residual of a Peng-Robinson-form equation in x: zero where
// y = r*Y/(x - c) - a/(x(x + b) + b(x - b)), written as the implicit form
// every such correlation here uses.
double PRFormResidual(double x, double ry, double c, double a, double y, double b) {
    return ry + c - x - a * (x - c) / (y * (x * (x + b) + b * (x - b)));
}

// A transport property x from the Peng-Robinson form in which it takes the
// place of the molar volume: its critical value xc gives rc = xc Tc/(Pc Zc),
// the state enters through phi and tau.
double SolvePRForm(const Fluid& f, double critical, double phi, double tau, double start,
                   double delta, const char* what) {
    const double rc = critical * f.tc / (f.pc * f.zc);
    const double r = rc * phi;
    const double b = 0.0778 * rc * f.pc / f.tc;
    const double c = b * tau;
    const double a = 0.45724 * (rc * f.pc) * (rc * f.pc) / f.tc;
    auto residual = [&](double x) { return PRFormResidual(x, r * f.p / f.t, c, a, f.t, b); };
    return Secant(residual, start, delta, 1e-3, true, what);
}

// Real roots of z^3 + a2 z^2 + a1 z + a0, ascending: Cardano's formula for
// one real root, the trigonometric form for three; each root is polished
// by Newton steps, which the cancellation in either form can need.
std::vector<double> RealCubicRoots(double a2, double a1, double a0) {
    const double q = (3 * a1 - a2 * a2) / 9;
    const double r = (9 * a2 * a1 - 27 * a0 - 2 * a2 * a2 * a2) / 54;
    const double d = q * q * q + r * r;
    std::vector<double> roots;
    if (d > 0) {
        const double sd = std::sqrt(d);
        roots.push_back(std::cbrt(r + sd) + std::cbrt(r - sd) - a2 / 3);
    } else if (q == 0) {
        roots.assign(3, -a2 / 3);
    } else {
        const double m = std::sqrt(-q);
        const double theta = std::acos(std::clamp(r / (m * m * m), -1.0, 1.0));
        for (int k = 0; k < 3; ++k)
            roots.push_back(2 * m * std::cos((theta + 2 * std::numbers::pi * k) / 3) - a2 / 3);
    }
    for (double& z : roots) {
        for (int i = 0; i < 3; ++i) {
            const double f = ((z + a2) * z + a1) * z + a0;
            const double df = (3 * z + 2 * a2) * z + a1;
            if (df == 0) break;
            z -= f / df;
        }
        if (!std::isfinite(z)) throw MathError("Peng-Robinson方程的根不是有效数值");
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

// The Peng-Robinson a and b (SI) of a fluid at its temperature.
struct PRConstants {
    double a, b;
};
PRConstants PRAt(const Fluid& f) {
    const double kappa = 0.37464 + 1.54226 * f.omega - 0.26992 * f.omega * f.omega;
    const double s = 1 + kappa * (1 - std::sqrt(f.t / f.tc));
    return {0.45724 * (kR * f.tc) * (kR * f.tc) / f.pc * s * s, 0.0778 * kR * f.tc / f.pc};
}

// The Peng-Robinson critical volume in units of b (Zc = 0.3074, b = 0.0778 R Tc/Pc).
constexpr double kPRCriticalVolumeOverB = 3.9514;

} // namespace

double PRDensity(const CorrelationVector& v, bool liquid) {
    if (v[0] != 0) return 0;
    const Fluid f = Read(v, liquid, false);
    // Not a structured binding: clang before 16 cannot capture one, and the
    // fuzz targets build with clang.
    const PRConstants pr = PRAt(f);
    const double start = liquid ? 2.85e-7 * std::pow(f.vc, 1.048) : kR * f.t / f.p;
    auto residual = [&](double V) {
        return PRFormResidual(V, kR * f.t / f.p, pr.b, pr.a, f.p, pr.b);
    };
    const double volume = Secant(residual, start, 1e-7, 1e-7, false, "Peng-Robinson密度");
    return 0.001 * f.m / volume;
}

EosPhase PRPhase(const CorrelationVector& v) {
    const Fluid f = Read(v, false, false);
    if (f.t >= f.tc) return EosPhase::Gas;
    const auto [a, b] = PRAt(f);
    const double bigA = a * f.p / ((kR * f.t) * (kR * f.t)), bigB = b * f.p / (kR * f.t);
    std::vector<double> z = RealCubicRoots(-(1 - bigB), bigA - 3 * bigB * bigB - 2 * bigB,
                                           -(bigA * bigB - bigB * bigB - bigB * bigB * bigB));
    // Only roots with V > b are states of the fluid; the cubic is -2B^2 at
    // Z = B and grows without bound, so one always is.
    std::erase_if(z, [bigB](double x) { return !(x > bigB); });
    if (z.empty()) throw MathError("Peng-Robinson方程没有物理根");
    if (z.size() >= 2) {
        // ln(fugacity coefficient) of a PR root; the phase of lower fugacity is stable.
        auto lnPhi = [&](double x) {
            const double r2 = std::numbers::sqrt2;
            return x - 1 - std::log(x - bigB) -
                   bigA / (2 * r2 * bigB) * std::log((x + (1 + r2) * bigB) / (x + (1 - r2) * bigB));
        };
        return lnPhi(z.front()) < lnPhi(z.back()) ? EosPhase::Liquid : EosPhase::Gas;
    }
    return z.front() / bigB < kPRCriticalVolumeOverB ? EosPhase::Liquid : EosPhase::Gas;
}

double LeeKeslerVapourPressure(double tK, double tcK, double pcKPa, double omega) {
    RequirePositive(tK, "绝对温度");
    RequirePositive(tcK, "临界温度Tc");
    RequirePositive(pcKPa, "临界压力Pc");
    if (!std::isfinite(omega)) throw MathError("偏心因子ω不是有效数值");
    if (tK >= tcK) throw MathError("Lee-Kesler蒸气压：温度不低于临界温度");
    const double tr = tK / tcK, tr6 = std::pow(tr, 6);
    const double f0 = 5.92714 - 6.09648 / tr - 1.28862 * std::log(tr) + 0.169347 * tr6;
    const double f1 = 15.2518 - 15.6875 / tr - 13.4721 * std::log(tr) + 0.43577 * tr6;
    return pcKPa * std::exp(f0 + omega * f1);
}

EosPhase VirialPhase(const CorrelationVector& v) {
    const Fluid f = Read(v, false, false);
    if (f.t >= f.tc) return EosPhase::Gas;
    return v[7] > LeeKeslerVapourPressure(f.t, f.tc, v[1], f.omega) ? EosPhase::Liquid
                                                                    : EosPhase::Gas;
}

double VirialDensity(const CorrelationVector& v, bool liquid) {
    if (v[0] != 1) return 0;
    const Fluid f = Read(v, liquid, false);
    const double tr = f.t / f.tc;
    const double b0 = 0.083 - 0.422 / std::pow(tr, 1.6);
    const double b1 = 0.139 - 0.172 / std::pow(tr, 4.2);
    const double bv = kR * f.tc / f.pc * (b0 + f.omega * b1);
    const double start = liquid ? 2.85e-7 * std::pow(f.vc, 1.048) : kR * f.t / f.p;
    auto residual = [&](double V) { return bv / V + 1 - f.p * V / (kR * f.t); };
    const double volume = Secant(residual, start, 1e-7, 1e-4, true, "维里方程密度");
    return 0.001 * f.m / volume;
}

double PRViscosity(const CorrelationVector& v, bool liquid) {
    if (v[0] != 0) return 0;
    const Fluid f = Read(v, false, true);
    const double w = f.omega;
    double k1, k2, k3;
    if (w <= 0.3) {
        k1 = 0.829599 + 0.350857 * w - 0.74768 * w * w;
        k2 = 1.94546 - 3.19777 * w + 2.80193 * w * w;
        k3 = 0.299757 - 2.20855 * w + 6.64959 * w * w;
    } else {
        k1 = 0.956763 + 0.192829 * w - 0.303189 * w * w;
        k2 = -0.258789 - 37.1071 * w + 20.551 * w * w;
        k3 = 5.1630307 - 12.8207 * w + 11.0109 * w * w;
    }
    const double tr = f.t / f.tc;
    const double pr = std::sqrt(f.p / f.pc);
    const double tau = std::exp(k2 * (std::sqrt(tr) - 1)) + k3 * (pr - 1) * (pr - 1);
    const double phiRoot = 1 + k1 * (Sqrt(f.p * f.t / (f.pc * f.tc), "粘度关联式") - 1);
    const double phi = 1 / (phiRoot * phiRoot);
    const double muC =
        7.9483e-7 * std::pow(f.tc, -1.0 / 6) * std::sqrt(f.m) * std::pow(f.pc / 1e5, 2.0 / 3);
    return SolvePRForm(f, muC, phi, tau, liquid ? 1e-3 : 1e-6, 1e-8, "Peng-Robinson型粘度");
}

double PRConductivity(const CorrelationVector& v, bool liquid) {
    if (v[0] != 0) return 0;
    const Fluid f = Read(v, false, true);
    const double tr = f.t / f.tc;
    const double pr = f.p / f.pc;
    const double q = std::pow(pr, 0.125) - 1;
    const double root = Sqrt(f.t * f.p / (f.tc * f.pc), "导热系数关联式") - 1;
    const double a1 = 0.1879 * root * root;
    const double a2 = std::exp(-90.2319 * q * q);
    const double a3 = std::exp(9.8081 * q * q - 4.7582 * (std::sqrt(tr) - 1));
    const double a4 =
        23.2853 * std::exp((std::sqrt(tr) - 1) * (1 / f.t - 1 / f.tc) * (pr * pr * pr - 1));
    const double tau = a1 + a2 + a3 + a4;
    const double phiRoot = 1 - 0.127 * (1 - std::sqrt(pr));
    const double phi = 1 / (phiRoot * phiRoot);
    const double lamC =
        std::pow(f.tc, -1.0 / 6) * std::pow(f.m, -0.5) * std::pow(f.pc / 1e6, 2.0 / 3) / 21;
    return SolvePRForm(f, lamC, phi, tau, liquid ? 0.1 : 0.01, 1e-4, "Peng-Robinson型导热系数");
}

double PRResidualCp(const CorrelationVector& v) {
    if (v[0] != 0) return 0;
    const Fluid f = Read(v, false, false);
    const double kappa = 0.37464 + 1.54226 * f.omega - 0.26992 * f.omega * f.omega;
    const double ac = 0.45724 * (kR * f.tc) * (kR * f.tc) / f.pc;
    const double b = 0.0778 * kR * f.tc / f.pc;
    const double delta = 1e-4;
    auto s = [&](double dt) {
        CorrelationVector at = v;
        at[8] += dt;
        const double t = f.t + dt;
        const double volume = 0.001 * f.m / PRDensity(at, false);
        const double g = (1 + kappa * (1 - std::sqrt(t / f.tc))) * ac;
        const double aPrime = -kappa * g / std::sqrt(t * f.tc);
        const double inner = f.p * (volume - b) / (kR * t);
        const double ratio =
            (volume + (1 + std::sqrt(2.0)) * b) / (volume - (std::sqrt(2.0) - 1) * b);
        if (!(inner > 0) || !(ratio > 0))
            throw MathError("Peng-Robinson剩余比热：对数的自变量不是正数");
        // Residual entropy over R: ln(Z - B) + a'/(2 sqrt2 b R) ln((V + (1 + sqrt2) b) /
        // (V - (sqrt2 - 1) b)); a' < 0, so the second term lowers it.
        return std::log(inner) + aPrime / (2 * std::sqrt(2.0) * b * kR) * std::log(ratio);
    };
    const double cp = 1000 / f.m * kR * (f.t + delta) * (s(delta) - s(0)) / delta;
    RequireFinite(cp, "Peng-Robinson剩余比热无法计算");
    return cp;
}

double VirialResidualCp(const CorrelationVector& v) {
    if (v[0] != 0) return 0;
    const Fluid f = Read(v, false, false);
    const double tr = f.t / f.tc;
    return 1000 / f.m * kR * (f.p / f.pc) *
           (1.7552 / std::pow(tr, 2.6) + 0.3717252 / std::pow(tr, 5.2));
}

} // namespace kolvane
