#pragma once

// The heat-transfer and friction correlations of the sizing model, one
// function each, over plain SI values. Each names its equation, its source
// and the range its source states; callers check the range with the
// `Validity` rows and warn outside it.

#include <cmath>

namespace kolvane {

// Standard gravity as the handbook equations use it, m/s².
inline constexpr double kGravity = 9.81;

// A correlation's stated validity in one dimensionless group.
struct Validity {
    const char* correlation; // "Dittus–Boelter"
    const char* group;       // "Pr"
    double lo, hi;
    const char* unit = "";
    bool holds(double v) const { return v >= lo && v <= hi; }
};

// The accuracy a correlation's source states for it: the relative band
// (0.25 for ±25 %) in which its predictions meet the measured coefficients.
// Where the source states none, the figure is a conservative one of our own
// and `stated` is false; the comment beside it says so.
struct Accuracy {
    const char* correlation; // "Dittus–Boelter"
    double relative;         // 0.25
    bool stated = true;
};

// --- Natural convection around horizontal tubes ---------------------------

// Mikheev's power law Nu = C·Ra^n for horizontal cylinders (diameter as the
// length), M. A. Mikheev, I. M. Mikheeva, Fundamentals of Heat Transfer
// (Mir, 1968), the table of C and n:
//   1e-3 ≤ Ra < 500: C = 1.18, n = 1/8;  500 ≤ Ra < 2e7: 0.54, 1/4;
//   2e7 ≤ Ra ≤ 1e13: 0.135, 1/3.
struct MikheevRegime {
    double c, n, raFrom, raTo;
};
const MikheevRegime& MikheevRegimeFor(double ra);
double MikheevNusselt(double ra);
inline constexpr Validity kMikheevValidity{"Mikheev水平管自然对流", "Ra", 1e-3, 1e13};
// Mikheev's table states no accuracy, nor did we find one for it elsewhere.
// ±25 %: as wide as the band Incropera & DeWitt state for the simplest
// forced-convection correlation (Dittus–Boelter below); a power-law fit of
// natural convection is no better founded.
inline constexpr Accuracy kMikheevAccuracy{"Mikheev", 0.25, false};

// The outside coefficient of a tube that passes the heat flux q (W/m²) by
// natural convection: Nu = C·Ra^n with Ra = a·ΔT and q = h·ΔT, so that
// h = [C·(λ/d)·a^n·q^n]^(1/(1+n)), a = g·β·ρ²·d³/μ²·Pr the Grashof–Prandtl
// product per kelvin. The regime is the one its own Ra falls in; where the
// power laws of two regimes leave a gap (at Ra = 2e7 neither is consistent)
// Ra stays at the boundary, so h is continuous in q.
struct NaturalConvection {
    double h = 0;    // W/(m²·K)
    double ra = 0;   // Rayleigh number of the film difference
    double dHdQ = 0; // ∂h/∂q, for Newton steps on the flux
};
NaturalConvection MikheevFluxCoefficient(double a, double lambdaOverD, double q);

// --- Stirred vessels --------------------------------------------------------

// Agitated vessel after Chilton, Drew & Jebens, Ind. Eng. Chem. 36 (1944)
// 510: Nu = a·Re_m^b·Pr^(1/3)·(μ/μw)^0.14 with Re_m = d_m²·N·ρ/μ and the
// vessel diameter as the length; b = 0.62 for a coil, 2/3 for the vessel
// wall; a is the stirrer's coefficient: flat paddle 0.87 coil, 0.36 wall
// (the paper's); turbine 1.01/0.62 and propeller 0.83/0.54 are the stirrer
// list's own, their source not established. φ stands for the viscosity
// ratio (1.05 heating the contents, 0.95 cooling). The paper states its fit
// for the turbulent region of agitation up to where gas is drawn in; it
// gives no Reynolds range, so none is checked.
double StirredCoilNusselt(double a, double reM, double pr, double phi);
double StirredWallNusselt(double a, double reM, double pr);
// No accuracy statement of the paper was found. ±25 %: refits of the same
// Nusselt form to a turbine-stirred vessel still deviate up to 21 % from
// their own data (da Silva Rosa et al., Ind. Eng. Chem. Res. 53 (2014),
// "a maximum deviation of 21% between the observed and predicted data"),
// and the turbine's and propeller's coefficients here have no source at all.
inline constexpr Accuracy kStirredVesselAccuracy{"Chilton–Drew–Jebens", 0.25, false};

// --- Single-phase flow inside tubes -----------------------------------------

// Dittus–Boelter in McAdams' form, Nu = 0.023·Re^0.8·Pr^n, n = 0.4 when the
// fluid is heated and 0.3 when cooled (Incropera & DeWitt, Fundamentals of
// Heat and Mass Transfer, 6th ed., eq. 8.60; Re ≥ 10⁴, 0.6 ≤ Pr ≤ 160).
double DittusBoelterNusselt(double re, double pr, double n);
inline constexpr Validity kDittusBoelterValidity{"Dittus–Boelter", "Pr", 0.6, 160};
// Incropera & DeWitt, 6th ed., §8.5, on eqs. 8.60 and 8.61: "errors as large
// as 25% may result from use of Equations 8.60 and 8.61".
inline constexpr Accuracy kDittusBoelterAccuracy{"Dittus–Boelter", 0.25};

// Sieder & Tate, Ind. Eng. Chem. 28 (1936) 1429, turbulent:
// Nu = 0.027·Re^0.8·Pr^(1/3)·(μ/μw)^0.14, φ for the viscosity ratio
// (Incropera & DeWitt, 6th ed., eq. 8.61; Re ≥ 10⁴, 0.7 ≤ Pr ≤ 16 700).
double SiederTateTurbulentNusselt(double re, double pr, double phi);
inline constexpr Validity kSiederTateTurbulentValidity{"Sieder–Tate", "Pr", 0.7, 16700};
// The same sentence of Incropera & DeWitt, §8.5, covers eq. 8.61: ±25 %.
inline constexpr Accuracy kSiederTateTurbulentAccuracy{"Sieder–Tate", 0.25};

// Hausen, Z. VDI Beih. Verfahrenstech. 4 (1943) 91, laminar flow with the
// wall at constant temperature, mean over the length L:
// Nu = 3.66 + 0.0668·Gz/(1 + 0.04·Gz^(2/3)), Gz = Re·Pr·d/L (Incropera &
// DeWitt, 6th ed., eq. 8.57; Re ≤ 2300). It takes the velocity profile as
// developed, which holds for Pr ≥ 5 and errs low (safe) below; it never
// falls below the fully developed 3.66.
double HausenNusselt(double re, double pr, double dOverL);
inline constexpr double kFullyDevelopedLaminarNusselt = 3.66;
// Incropera & DeWitt give no accuracy for Hausen's fit, nor did we find one.
// ±20 %: the fit is close to the Graetz solution it stands for, but a U-tube
// pass taken as the thermal entry length, and 3.66 taken without the pass
// at all, are approximations of ours.
inline constexpr Accuracy kHausenAccuracy{"Hausen", 0.20, false};
inline constexpr Accuracy kFullyDevelopedLaminarAccuracy{"Nu=3.66", 0.20, false};

// Petukhov's friction factor for smooth tubes, f = (0.790·ln Re − 1.64)^−2
// (Petukhov 1970; Incropera & DeWitt, 6th ed., eq. 8.21; 3000 ≤ Re ≤ 5·10⁶).
double PetukhovFriction(double re);

// Gnielinski, Int. Chem. Eng. 16 (1976) 359:
// Nu = (f/8)·(Re − 1000)·Pr / (1 + 12.7·√(f/8)·(Pr^(2/3) − 1)), f Petukhov's
// (Incropera & DeWitt, 6th ed., eq. 8.62; 0.5 ≤ Pr ≤ 2000, 2300 ≤ Re ≤ 5·10⁶
// after Rohsenow, Hartnett & Cho, Handbook of Heat Transfer, 3rd ed., 1998).
double GnielinskiNusselt(double re, double pr);
inline constexpr Validity kGnielinskiValidity{"Gnielinski", "Pr", 0.5, 2000};
// Incropera & DeWitt, §8.5, after the 25 % of eqs. 8.60–8.61: "Such errors
// may be reduced to less than 10% through the use of more recent, but
// generally more complex, correlations", the first of them eq. 8.62.
inline constexpr Accuracy kGnielinskiAccuracy{"Gnielinski", 0.10};

// Laminar/turbulent bounds of straight tubes.
inline constexpr double kLaminarReynolds = 2300;
inline constexpr double kTurbulentReynolds = 1e4;

// --- Helical coils -------------------------------------------------------

// Critical Reynolds number of a helix, Schmidt, Chem.-Ing.-Tech. 39 (1967)
// 781: Re_crit = 2300·(1 + 8.6·(d/D)^0.45), d inner tube, D coil diameter
// (VDI Heat Atlas, 2nd ed., ch. G3; recommended for d/D < 0.14).
double SchmidtCriticalReynolds(double dOverD);

// Schmidt (1967), laminar flow in a helix with the wall at constant
// temperature: Nu = 3.65 + 0.08·(1 + 0.8·(d/D)^0.9)·Re^m·Pr^(1/3),
// m = 0.5 + 0.2903·(d/D)^0.194 (VDI Heat Atlas, ch. G3; 100 < Re < Re_crit).
double SchmidtLaminarCoilNusselt(double re, double pr, double dOverD);
inline constexpr Validity kSchmidtLaminarValidity{"Schmidt螺旋管层流", "Re", 100, 1e300};
// No stated accuracy of Schmidt's fit was found; ±20 %, as for Hausen.
inline constexpr Accuracy kSchmidtLaminarAccuracy{"Schmidt", 0.20, false};

// Schmidt (1967), laminar friction in a helix (Darcy):
// f = 64/Re·[1 + 0.14·(d/D)^0.97·Re^(1 − 0.644·(d/D)^0.312)]
// (100 < Re < Re_crit).
double SchmidtLaminarCoilFriction(double re, double dOverD);
inline constexpr Validity kSchmidtFrictionValidity{"Schmidt螺旋管层流摩擦", "Re", 100, 1e300};

// --- Bends and turns --------------------------------------------------------

// The curvature of a helix raises the turbulent film and the friction by
// 1 + 3.5·d/D (Jeschke, Z. VDI 69 (1925) 1526); the program weights it by
// 1.5/s for the pitch s (in outside diameters) and applies it to the film
// (d inner), the friction (d inner) and the bends' pressure drop (d outer).
double CoilFactor(double s, double d, double sl);
// A U-tube bundle's bends: their share of a pass, (π/2)·s·do over the leg
// Sl − s·do, with the curvature term 1 + 3.5·di/(s·do) of a bend of radius
// s·do/2. The program's own; on the turbulent film and the pressure drop.
double UTubeBendFactor(double s, double dO, double dI, double sl);

// What stands for the viscosity ratio (μ/μw)^0.14 of the Sieder–Tate and
// Chilton–Drew–Jebens correlations without the wall temperature: 1.05 for a
// fluid being heated (its wall is warmer, thinner), 0.95 for one cooled.
inline double ViscosityRatioFactor(bool heated) {
    return heated ? 1.05 : 0.95;
}

// --- Film condensation inside the tubes ----------------------------------

// The program's condensation coefficient on the condensate loading of the
// area: h = C·[g·ρ²·λ³·A/(μ·d·W)]^(1/3) with C = 1.18 (fitted with
// g = 9.8 m/s²). 1.18 ≈ 1.13^(4/3): McAdams' vertical-surface constant 1.13
// (Nusselt's 0.943 raised by 20 %, Heat Transmission, 3rd ed., 1954) in the
// loading form that Kern's eq. 12.39–12.41 follow, with the inner diameter
// as the length. No published source states it in this form; it stands
// near 1.8 times Nusselt's horizontal tube at the same loading. Kept:
// projects were sized with it.
double CondensationLoadingCoefficient(double rho, double lambda, double mu, double d, double area,
                                      double w);
// No source states the constant, so none states its accuracy. ±30 %: McAdams
// raised Nusselt's constant by 20 % because measured films lie that far above
// the theory; the loading form and the inner diameter as its length add an
// uncertainty of their own, and the gas correction below has no source.
inline constexpr Accuracy kCondensationAccuracy{"冷凝膜系数1.18", 0.30, false};

// Nusselt (1916), film condensation on one horizontal tube:
// h = 0.729·[g·ρl·(ρl − ρv)·λ³·h'fg/(μ·d·ΔT)]^(1/4), h'fg = r + 0.68·cp·ΔT
// (Çengel & Ghajar, Heat and Mass Transfer, eq. 10-31; Incropera & DeWitt
// eq. 10.41).
double NusseltHorizontalTube(double rhoL, double rhoV, double lambda, double mu, double cp,
                             double r, double d, double dT);

// Chato (1962), low-velocity condensation inside a horizontal tube:
// h = 0.555·[g·ρl·(ρl − ρv)·λ³·h'fg/(μ·d·ΔT)]^(1/4), h'fg = r + 3/8·cp·ΔT
// (Çengel & Ghajar eq. 10-34; vapour Re = ρv·uv·d/μv < 35 000 at the inlet).
double ChatoInsideTube(double rhoL, double rhoV, double lambda, double mu, double cp, double r,
                       double d, double dT);

// A film coefficient h(ΔT) of the forms above on the condensate loading
// q·A = W·r: the ΔT at which h·ΔT·A = W·r, and h there.
// h·ΔT grows as ΔT^(3/4), so ΔT = W·r/(A·h(ΔT)) contracts by a quarter.
template <typename H> double OnLoading(H h, double w, double r, double area) {
    double dT = 1;
    for (int i = 0; i < 200; ++i) {
        const double next = w * r / (area * h(dT));
        if (std::fabs(next - dT) <= 1e-14 * next) break;
        dT = next;
    }
    return h(dT);
}

// Reduction of the condensing coefficient by non-condensable gas, x the
// content as a fraction: 0.195 + 0.805·exp(−107.7·x/(1 − x)); 1 for
// x ≤ 10⁻⁶. No published source for the fit was found; it halves the
// coefficient near 1 %, as Çengel & Ghajar (§10-5) state for air in steam.
double NonCondensableFactor(double x);

// --- Loss to the surroundings ----------------------------------------------

// Combined convection and radiation from an insulated flat surface to still
// indoor air, h = 9.8 + 0.07·(tw − t) W/(m²·K) (陈敏恒等《化工原理》上册，
// 第4章; surface below 150 °C).
inline constexpr double kSurfaceToAirBase = 9.8, kSurfaceToAirSlope = 0.07;
inline double SurfaceToAirCoefficient(double excess) {
    return kSurfaceToAirBase + kSurfaceToAirSlope * excess;
}
inline constexpr Validity kSurfaceToAirValidity{"保温外表面对空气联合传热系数", "tw", -1e300, 150,
                                                " °C"};
// The textbook gives the line without an accuracy; ±25 % of our own, as the
// still-air film depends on draughts and the surface's emissivity, which it
// does not know.
inline constexpr Accuracy kSurfaceToAirAccuracy{"9.8+0.07Δt", 0.25, false};

} // namespace kolvane
