// Water and steam properties: IAPWS-IF97 regions 1, 2 and 4.
#include "props/Iapws97.h"

#include "model/Errors.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace kolvane::if97 {

namespace {

constexpr double kR = 461.526;   // specific gas constant, J/(kg·K) (IF97 Eq. 1)
constexpr double kTc = 647.096;  // critical temperature, K
constexpr double kPc = 22.064e6; // critical pressure, Pa
constexpr double kT0 = 273.15;   // 0 °C, K

constexpr double kTMin = 273.15;     // lower bound of regions 1, 2 and 4
constexpr double kT13 = 623.15;      // region 1 upper bound, start of B23
constexpr double kT2B23 = 863.15;    // B23 upper bound
constexpr double kT2Max = 1073.15;   // region 2 upper bound
constexpr double kPMax = 100e6;      // regions 1 and 2 upper bound, Pa
constexpr double kPSatMin = 611.213; // psat(273.15 K) as the release rounds it, Pa
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

} // namespace kolvane::if97
