// Water and steam properties: IAPWS-IF97 regions 1, 2 and 4, and the IAPWS
// viscosity, thermal-conductivity and surface-tension formulations.
#include "model/Iapws97.h"

#include "model/Errors.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <numbers>
#include <string>

namespace kolvane::if97 {

namespace {

constexpr double kR = 461.526;   // specific gas constant, J/(kg·K) (IF97 Eq. 1)
constexpr double kTc = 647.096;  // critical temperature, K
constexpr double kPc = 22.064e6; // critical pressure, Pa
constexpr double kRhoc = 322.0;  // critical density, kg/m³
constexpr double kT0 = 273.15;   // 0 °C, K

constexpr double kTMin = 273.15;     // lower bound of regions 1, 2 and 4
constexpr double kT13 = 623.15;      // region 1 upper bound, start of B23
constexpr double kT2B23 = 863.15;    // B23 upper bound
constexpr double kT2Max = 1073.15;   // region 2 upper bound
constexpr double kPMax = 100e6;      // regions 1 and 2 upper bound, Pa
constexpr double kPSatMin = 611.213; // psat(273.15 K) as the release rounds it, Pa
constexpr double kTransportTMax = 1173.15;
// Above every fluid density the transport releases cover (the liquid at
// 1000 MPa stays below 1.3 g/cm³).
constexpr double kTransportRhoMax = 1300.0;

// Numbers in messages: temperatures in °C, pressures in kPa, as the user
// enters them.
std::string Num(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}
std::string Celsius(double T) {
    return Num(T - kT0) + " °C";
}
std::string KPa(double p) {
    return Num(p / 1000) + " kPa";
}

void RequireFiniteInputs(double T, double p, const char* what) {
    if (!std::isfinite(T)) throw MathError(std::string(what) + "：温度不是有效数值");
    if (!std::isfinite(p)) throw MathError(std::string(what) + "：压力不是有效数值");
    if (!(p > 0)) throw MathError(std::string(what) + "：压力 " + KPa(p) + " 应为正数");
}

// ---------------------------------------------------------------------------
// Region 4: saturation line, IF97 Eq. 30 (pressure) and Eq. 31 (temperature),
// coefficients of Table 34.
constexpr double kN4[10] = {0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2,
                            0.12020824702470e5,  -0.32325550322333e7, 0.14915108613530e2,
                            -0.48232657361591e4, 0.40511340542057e6,  -0.23855557567849,
                            0.65017534844798e3};

double Psat(double T) {
    const double* n = kN4;
    const double th = T + n[8] / (T - n[9]);
    const double a = th * th + n[0] * th + n[1];
    const double b = n[2] * th * th + n[3] * th + n[4];
    const double c = n[5] * th * th + n[6] * th + n[7];
    const double x = 2 * c / (-b + std::sqrt(b * b - 4 * a * c));
    return 1e6 * x * x * x * x;
}

double Tsat(double p) {
    const double* n = kN4;
    const double be = std::pow(p / 1e6, 0.25);
    const double e = be * be + n[2] * be + n[5];
    const double f = n[0] * be * be + n[3] * be + n[6];
    const double g = n[1] * be * be + n[4] * be + n[7];
    const double d = 2 * g / (-f - std::sqrt(f * f - 4 * e * g));
    return (n[9] + d - std::sqrt((n[9] + d) * (n[9] + d) - 4 * (n[8] + n[9] * d))) / 2;
}

// Boundary between regions 2 and 3, IF97 Eq. 5, coefficients of Table 1.
double PB23(double T) {
    return 1e6 * (0.34805185628969e3 - 0.11671859879975e1 * T + 0.10192970039326e-2 * T * T);
}

// ---------------------------------------------------------------------------
// Region 1, dimensionless Gibbs free energy, IF97 Eq. 7, Table 2.
struct Term {
    int i, j;
    double n;
};

constexpr Term kRegion1[34] = {{0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
                               {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
                               {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
                               {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
                               {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
                               {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
                               {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
                               {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
                               {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
                               {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
                               {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
                               {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
                               {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
                               {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
                               {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
                               {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
                               {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25}};

// Region 2, ideal-gas part, IF97 Eq. 16, Table 10 (J, n).
constexpr Term kRegion2Ideal[9] = {
    {0, 0, -0.96927686500217e1},  {0, 1, 0.10086655968018e2}, {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1}, {0, -3, -0.40710498223928}, {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1}, {0, 2, -0.28408632460772},  {0, 3, 0.21268463753307e-1}};

// Region 2, residual part, IF97 Eq. 17, Table 11.
constexpr Term kRegion2Residual[43] = {
    {1, 0, -0.17731742473213e-2},   {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},   {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},   {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},   {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},   {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},   {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},  {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},  {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},  {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},  {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},   {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},  {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},     {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},  {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6}};

// A Gibbs function g(x, y) = sum n x^i y^j and its derivatives.
struct Gibbs {
    double g = 0, gx = 0, gy = 0, gxx = 0, gyy = 0, gxy = 0;
};

template <std::size_t N> Gibbs Series(const Term (&terms)[N], double x, double y) {
    Gibbs r;
    for (const Term& t : terms) {
        const double xi = std::pow(x, t.i), yj = std::pow(y, t.j);
        const double xi1 = t.i == 0 ? 0 : t.i * std::pow(x, t.i - 1);
        const double yj1 = t.j == 0 ? 0 : t.j * std::pow(y, t.j - 1);
        r.g += t.n * xi * yj;
        r.gx += t.n * xi1 * yj;
        r.gy += t.n * xi * yj1;
        r.gxx += t.i < 2 ? 0 : t.n * t.i * (t.i - 1) * std::pow(x, t.i - 2) * yj;
        r.gyy += t.j == 0 || t.j == 1 ? 0 : t.n * xi * t.j * (t.j - 1) * std::pow(y, t.j - 2);
        r.gxy += t.n * xi1 * yj1;
    }
    return r;
}

// Region 1 at (T, p) without range checks (IF97 Table 3 relations).
State EvalRegion1(double T, double p) {
    const double pi = p / 16.53e6, tau = 1386 / T;
    // gamma(pi, tau) = sum n (7.1 - pi)^I (tau - 1.222)^J: d/dpi = -d/dx.
    const Gibbs s = Series(kRegion1, 7.1 - pi, tau - 1.222);
    const double g = s.g, gp = -s.gx, gpp = s.gxx, gt = s.gy, gtt = s.gyy, gpt = -s.gxy;
    State r;
    r.T = T;
    r.p = p;
    r.v = kR * T / p * pi * gp;
    r.rho = 1 / r.v;
    r.h = kR * T * tau * gt;
    r.u = kR * T * (tau * gt - pi * gp);
    r.s = kR * (tau * gt - g);
    r.cp = -kR * tau * tau * gtt;
    const double a = gp - tau * gpt;
    r.cv = kR * (-tau * tau * gtt + a * a / gpp);
    r.w = std::sqrt(kR * T * gp * gp / (a * a / (tau * tau * gtt) - gpp));
    r.kappaT = -gpp / (gp * 16.53e6);
    return r;
}

// Region 2 at (T, p) without range checks (IF97 Table 12 relations).
State EvalRegion2(double T, double p) {
    const double pi = p / 1e6, tau = 540 / T;
    const Gibbs o = Series(kRegion2Ideal, 1.0, tau);
    const Gibbs r = Series(kRegion2Residual, pi, tau - 0.5);
    const double g = std::log(pi) + o.g + r.g;
    const double gt = o.gy + r.gy, gtt = o.gyy + r.gyy;
    const double grp = r.gx, grpp = r.gxx, grpt = r.gxy;
    State st;
    st.T = T;
    st.p = p;
    st.v = kR * T / p * pi * (1 / pi + grp);
    st.rho = 1 / st.v;
    st.h = kR * T * tau * gt;
    st.u = kR * T * (tau * gt - pi * (1 / pi + grp));
    st.s = kR * (tau * gt - g);
    st.cp = -kR * tau * tau * gtt;
    const double a = 1 + pi * grp - tau * pi * grpt;
    const double b = 1 - pi * pi * grpp;
    st.cv = kR * (-tau * tau * gtt - a * a / b);
    const double c = 1 + 2 * pi * grp + pi * pi * grp * grp;
    st.w = std::sqrt(kR * T * c / (b + a * a / (tau * tau * gtt)));
    st.kappaT = (1 / (pi * pi) - grpp) / ((1 / pi + grp) * 1e6);
    return st;
}

void RequireFiniteState(const State& s, const char* what) {
    for (double x : {s.v, s.h, s.u, s.s, s.cp, s.cv, s.w, s.kappaT})
        if (!std::isfinite(x)) throw MathError(std::string(what) + "：计算结果不是有效数值");
}

Saturation OnLine(double T, double p) {
    Saturation sat;
    sat.T = T;
    sat.p = p;
    sat.liquid = EvalRegion1(T, p);
    sat.vapour = EvalRegion2(T, p);
    RequireFiniteState(sat.liquid, "饱和液");
    RequireFiniteState(sat.vapour, "饱和汽");
    sat.hLatent = sat.vapour.h - sat.liquid.h;
    return sat;
}

// ---------------------------------------------------------------------------
// Transport properties.

void RequireTransportInputs(double rho, double T, const char* what) {
    if (!std::isfinite(rho) || !std::isfinite(T))
        throw MathError(std::string(what) + "：密度或温度不是有效数值");
    if (!(rho >= 0 && rho <= kTransportRhoMax))
        throw MathError(std::string(what) + "：密度 " + Num(rho) + " kg/m³ 超出 0–" +
                        Num(kTransportRhoMax) + " kg/m³ 的范围");
    if (!(T >= kTMin && T <= kTransportTMax))
        throw MathError(std::string(what) + "：温度 " + Celsius(T) + " 超出 0–900 °C 的范围");
}

// sum over i, j of c[i][j] (1/Tr - 1)^i (rhor - 1)^j.
template <std::size_t I, std::size_t J>
double DoubleSum(const double (&c)[I][J], double tr, double dr) {
    double sum = 0, xi = 1;
    for (std::size_t i = 0; i < I; ++i, xi *= 1 / tr - 1) {
        double yj = 1;
        for (std::size_t j = 0; j < J; ++j, yj *= dr - 1)
            sum += c[i][j] * xi * yj;
    }
    return sum;
}

// Viscosity, IAPWS 2008: Table 1 (H_i of mu0, Eq. 11), Table 2 (H_ij of mu1,
// Eq. 12); mu* = 1e-6 Pa·s.
constexpr double kMu0[4] = {1.67752, 2.20462, 0.6366564, -0.241605};
constexpr double kMu1[6][7] = {{0.520094, 0.222531, -0.281378, 0.161913, -0.0325372, 0, 0},
                               {0.0850895, 0.999115, -0.906851, 0.257399, 0, 0, 0},
                               {-1.08374, 1.88797, -0.772479, 0, 0, 0, 0},
                               {-0.289555, 1.26613, -0.489837, 0, 0.0698452, 0, -0.00435673},
                               {0, 0, -0.257040, 0, 0, 0.00872102, 0},
                               {0, 0.120573, 0, 0, 0, 0, -0.000593264}};

// Thermal conductivity, IAPWS 2011: Table 1 (L_k of lambda0, Eq. 16), Table 2
// (L_ij of lambda1, Eq. 17); lambda* = 1e-3 W/(m·K).
constexpr double kLambda0[5] = {2.443221e-3, 1.323095e-2, 6.770357e-3, -3.454586e-3, 4.096266e-4};
constexpr double kLambda1[5][6] = {
    {1.60397357, -0.646013523, 0.111443906, 0.102997357, -0.0504123634, 0.00609859258},
    {2.33771842, -2.78843778, 1.53616167, -0.463045512, 0.0832827019, -0.00719201245},
    {2.19650529, -4.54580785, 3.55777244, -1.40944978, 0.275418278, -0.0205938816},
    {-1.21051378, 1.60812989, -0.621178141, 0.0716373224, 0, 0},
    {-2.7203370, 4.57586331, -3.18369245, 1.1168348, -0.19268305, 0.012913842}};

template <std::size_t N> double InverseSeries(const double (&c)[N], double tr) {
    double sum = 0, x = 1;
    for (double ck : c) {
        sum += ck / x;
        x *= tr;
    }
    return sum;
}

double Lambda01(double rho, double T) {
    const double tr = T / kTc, dr = rho / kRhoc;
    const double l0 = std::sqrt(tr) / InverseSeries(kLambda0, tr);
    const double l1 = std::exp(dr * DoubleSum(kLambda1, tr, dr));
    return l0 * l1; // mW/(m·K)
}

// zeta(T_R, rho) = (d rho/d p)_T at T_R = 1.5 Tc, reduced, for industrial use:
// 1/zeta = sum a_ij rhor^i in five density ranges (2011 release, Eq. 25 and
// Table 6). Only the two lowest ranges (up to 250 kg/m³) meet a check value
// of the release outside region 3.
constexpr double kZetaRBounds[4] = {0.310559006, 0.776397516, 1.242236025, 1.863354037};
constexpr double kZetaR[5][6] = {{6.53786807199516, -5.61149954923348, 3.39624167361325,
                                  -2.27492629730878, 10.2631854662709, 1.97815050331519},
                                 {6.52717759281799, -6.30816983387575, 8.08379285492595,
                                  -9.82240510197603, 12.1358413791395, -5.54349664571295},
                                 {5.35500529896124, -3.96415689925446, 8.91990208918795,
                                  -12.0338729505790, 9.19494865194302, -2.16866274479712},
                                 {1.55225959906681, 0.464621290821181, 8.93237374861479,
                                  -11.0321960061126, 6.16780999933360, -0.965458722086812},
                                 {1.11999926419994, 0.595748562571649, 9.88952565078920,
                                  -10.3255051147040, 4.66861294457414, -0.503243546373828}};

double ZetaR(double dr) {
    int k = 0;
    while (k < 4 && dr > kZetaRBounds[k])
        ++k;
    double sum = 0, x = 1;
    for (double a : kZetaR[k]) {
        sum += a * x;
        x *= dr;
    }
    const double z = 1 / sum;
    // The release's footnote: a negative or larger value is replaced by 1e13.
    return z < 0 || z > 1e13 ? 1e13 : z;
}

// Critical enhancement lambda2 (mW/(m·K)), 2011 release Eq. 18 and its auxiliaries, with
// Lambda = 177.8514, q_D^-1 = 0.40 nm, nu = 0.630, gamma = 1.239,
// xi0 = 0.13 nm, Gamma0 = 0.06, T_R = 1.5 Tc, R = 0.46151805 kJ/(kg·K), and
// mu from the 2008 viscosity formulation without its own enhancement.
double Lambda2(const State& s, double mu) {
    const double tr = s.T / kTc, dr = s.rho / kRhoc;
    const double zeta = kPc / kRhoc * s.rho * s.kappaT; // (d rhor/d pr)_T
    const double dchi = dr * (zeta - ZetaR(dr) * 1.5 / tr);
    if (!(dchi > 0)) return 0;
    const double xi = 0.13 * std::pow(dchi / 0.06, 0.630 / 1.239); // nm
    const double y = xi / 0.40;
    if (y < 1.2e-7) return 0;
    const double inverseKappa = s.cv / s.cp;
    const double z = 2 / (std::numbers::pi * y) *
                     ((1 - inverseKappa) * std::atan(y) + inverseKappa * y -
                      (1 - std::exp(-1 / (1 / y + y * y / (3 * dr * dr)))));
    const double cpr = s.cp / 461.51805, mur = mu / 1e-6;
    return 177.8514 * dr * cpr * tr / mur * z;
}

} // namespace

// ---------------------------------------------------------------------------

double SaturationPressure(double T) {
    if (!std::isfinite(T)) throw MathError("饱和压力：温度不是有效数值");
    if (!(T >= kTMin && T <= kTc))
        throw MathError("饱和压力：温度 " + Celsius(T) + " 超出 0–373.946 °C 的范围");
    return Psat(T);
}

double SaturationTemperature(double p) {
    if (!std::isfinite(p)) throw MathError("饱和温度：压力不是有效数值");
    if (!(p >= kPSatMin && p <= kPc))
        throw MathError("饱和温度：压力 " + KPa(p) + " 超出 0.611213–22064 kPa 的范围");
    return Tsat(p);
}

State Region1(double T, double p) {
    RequireFiniteInputs(T, p, "液态水（IF97区域1）");
    if (!(T >= kTMin && T <= kT13))
        throw MathError("液态水（IF97区域1）：温度 " + Celsius(T) + " 超出 0–350 °C 的范围");
    if (p > kPMax) throw MathError("液态水（IF97区域1）：压力 " + KPa(p) + " 高于 100000 kPa");
    const double ps = Psat(T);
    if (p < ps)
        throw MathError("液态水（IF97区域1）：压力 " + KPa(p) + " 低于 " + Celsius(T) +
                        " 的饱和压力 " + KPa(ps));
    State s = EvalRegion1(T, p);
    RequireFiniteState(s, "液态水（IF97区域1）");
    return s;
}

State Region2(double T, double p) {
    RequireFiniteInputs(T, p, "水蒸气（IF97区域2）");
    if (!(T >= kTMin && T <= kT2Max))
        throw MathError("水蒸气（IF97区域2）：温度 " + Celsius(T) + " 超出 0–800 °C 的范围");
    if (T <= kT13) {
        const double ps = Psat(T);
        if (p > ps)
            throw MathError("水蒸气（IF97区域2）：压力 " + KPa(p) + " 高于 " + Celsius(T) +
                            " 的饱和压力 " + KPa(ps));
    } else if (T <= kT2B23) {
        const double pb = PB23(T);
        if (p > pb)
            throw MathError("水蒸气（IF97区域2）：压力 " + KPa(p) + " 高于 " + Celsius(T) +
                            " 的区域2/3边界压力 " + KPa(pb) + "（区域3未包括）");
    } else if (p > kPMax) {
        throw MathError("水蒸气（IF97区域2）：压力 " + KPa(p) + " 高于 100000 kPa");
    }
    State s = EvalRegion2(T, p);
    RequireFiniteState(s, "水蒸气（IF97区域2）");
    return s;
}

Region RegionOf(double T, double p) {
    RequireFiniteInputs(T, p, "水的物性（IF97）");
    if (T < kTMin)
        throw MathError("水的物性（IF97）：温度 " + Celsius(T) + " 低于 0 °C（冰未包括）");
    if (T > kT2Max)
        throw MathError("水的物性（IF97）：温度 " + Celsius(T) +
                        " 高于 800 °C（区域5，800–2000 °C，未包括）");
    if (p > kPMax) throw MathError("水的物性（IF97）：压力 " + KPa(p) + " 高于 100000 kPa");
    if (T <= kT13) {
        const double ps = Psat(T);
        if (p > ps) return Region::Liquid;
        if (p < ps) return Region::Vapour;
        throw MathError("水的物性（IF97）：" + KPa(p) + " 正是 " + Celsius(T) +
                        " 的饱和压力，液相还是汽相不确定：请用饱和液或饱和汽的物性");
    }
    if (T <= kT2B23 && p > PB23(T))
        throw MathError("水的物性（IF97）：" + Celsius(T) + "、" + KPa(p) +
                        " 在临界点附近的区域3内（未包括）");
    return Region::Vapour;
}

State StateAt(double T, double p) {
    return RegionOf(T, p) == Region::Liquid ? Region1(T, p) : Region2(T, p);
}

Saturation SaturationAtPressure(double p) {
    const double T = SaturationTemperature(p);
    if (T > kT13)
        throw MathError("饱和状态：压力 " + KPa(p) +
                        " 高于 350 °C 的饱和压力 16529.2 kPa（区域3，未包括）");
    return OnLine(T, p);
}

Saturation SaturationAtTemperature(double T) {
    const double p = SaturationPressure(T);
    if (T > kT13) throw MathError("饱和状态：温度 " + Celsius(T) + " 高于 350 °C（区域3，未包括）");
    return OnLine(T, p);
}

// mu = mu0(T) mu1(rho, T) mu2 with mu2 = 1: the critical enhancement is
// negligible except very close to the critical point and the release
// recommends omitting it for industrial use.
double Viscosity(double rho, double T) {
    RequireTransportInputs(rho, T, "粘度");
    const double tr = T / kTc, dr = rho / kRhoc;
    const double mu0 = 100 * std::sqrt(tr) / InverseSeries(kMu0, tr);
    const double mu1 = std::exp(dr * DoubleSum(kMu1, tr, dr));
    const double mu = 1e-6 * mu0 * mu1;
    RequireFinite(mu, "粘度：计算结果不是有效数值");
    return mu;
}

// lambda = lambda0(T) lambda1(rho, T) + lambda2: from (rho, T) alone only the
// first product; the critical enhancement lambda2 needs (d rho/d p)_T, cp and
// cv of the state, which the State overload takes from IF97 as the release
// recommends for industrial use.
double ThermalConductivity(double rho, double T) {
    RequireTransportInputs(rho, T, "导热系数");
    const double lambda = 1e-3 * Lambda01(rho, T);
    RequireFinite(lambda, "导热系数：计算结果不是有效数值");
    return lambda;
}

double ThermalConductivity(const State& s) {
    RequireTransportInputs(s.rho, s.T, "导热系数");
    if (!(s.cp > 0 && s.cv > 0 && s.kappaT > 0))
        throw MathError("导热系数：状态的比热或压缩系数不是正数");
    const double lambda = 1e-3 * (Lambda01(s.rho, s.T) + Lambda2(s, Viscosity(s.rho, s.T)));
    RequireFinite(lambda, "导热系数：计算结果不是有效数值");
    return lambda;
}

// sigma = B tau^mu (1 + b tau), tau = 1 - T/Tc, B = 235.8 mN/m, b = -0.625,
// mu = 1.256 (IAPWS R1-76(2014), Eq. 1); valid from the triple point to the
// critical point and down to -25 °C for supercooled water.
double SurfaceTension(double T) {
    if (!std::isfinite(T)) throw MathError("表面张力：温度不是有效数值");
    if (!(T >= 248.15 && T <= kTc))
        throw MathError("表面张力：温度 " + Celsius(T) + " 超出 -25–373.946 °C 的范围");
    const double tau = 1 - T / kTc;
    return 235.8e-3 * std::pow(tau, 1.256) * (1 - 0.625 * tau);
}

// ---------------------------------------------------------------------------

double SaturationPressureKPa(double tC) {
    return SaturationPressure(tC + kT0) / 1000;
}
double SaturationTemperatureC(double pKPa) {
    return SaturationTemperature(pKPa * 1000) - kT0;
}
State StateAtCKPa(double tC, double pKPa) {
    return StateAt(tC + kT0, pKPa * 1000);
}
Saturation SaturationAtKPa(double pKPa) {
    return SaturationAtPressure(pKPa * 1000);
}
Saturation SaturationAtC(double tC) {
    return SaturationAtTemperature(tC + kT0);
}

double ViscosityAtCKPa(double tC, double pKPa) {
    const State s = StateAtCKPa(tC, pKPa);
    return Viscosity(s.rho, s.T);
}

double ThermalConductivityAtCKPa(double tC, double pKPa) {
    return ThermalConductivity(StateAtCKPa(tC, pKPa));
}

double SurfaceTensionAtC(double tC) {
    return SurfaceTension(tC + kT0);
}

} // namespace kolvane::if97
