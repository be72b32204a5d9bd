#pragma once

#include <array>

namespace kolvane {

// The correlation vector: slot 0 the method flag (0 the Peng-Robinson
// family, 1 the virial equation), 1 Pc (kPa), 2 Tc (K), 3 Vc (cm3/mol),
// 4 Zc, 5 the acentric factor, 6 M (g/mol), 7 p (kPa), 8 t (C).
using CorrelationVector = std::array<double, 21>;

// Fluid properties from critical constants. Each returns 0 when slot 0 does
// not select its method. Inputs that leave a formula undefined (a zero or
// negative critical constant, molar mass or absolute temperature, a root or
// logarithm of a negative number) and iterations that do not settle within
// 200 steps raise MathError naming the cause; no NaN, infinity or 0 ever
// stands for a failure. `liquid` only chooses the iterations' start.

// Density (kg/m3) from the Peng-Robinson equation of state.
double PRDensity(const CorrelationVector& v, bool liquid);
// Density (kg/m3) from the virial equation truncated after B, with the
// Pitzer-Curl (Tsonopoulos form) second coefficient.
double VirialDensity(const CorrelationVector& v, bool liquid);
// Viscosity (Pa.s) and thermal conductivity (W/(m.K)) from equations of the
// Peng-Robinson form in which the property takes the place of the molar
// volume (Guo, Wang, Rong and Lin, Fluid Phase Equilibria 1997/2001).
double PRViscosity(const CorrelationVector& v, bool liquid);
double PRConductivity(const CorrelationVector& v, bool liquid);
// Residual heat capacity (J/(kg.K)) of the Peng-Robinson gas, from the
// temperature derivative of its residual entropy, and of the virial gas.
double PRResidualCp(const CorrelationVector& v);
double VirialResidualCp(const CorrelationVector& v);

// The phase a gas record's equation of state finds at the vector's t and p.
// A fluid above its critical temperature counts as gas (no liquid can form).
enum class EosPhase { Gas, Liquid };
// Peng-Robinson (1976): the real roots of the cubic in Z; with three, the one
// of lower fugacity is stable, with one, a root below the critical volume
// 3.9514 b below Tc is the liquid branch.
EosPhase PRPhase(const CorrelationVector& v);
// Vapour pressure (kPa) from the Lee-Kesler correlation (Lee & Kesler, AIChE
// J. 21 (1975) 510; Poling et al. 5th ed. eq. 7-4.1), for 0.3 < T/Tc <= 1,
// within about 1-2 % for nonpolar fluids. MathError for T >= Tc or an
// undefined input.
double LeeKeslerVapourPressure(double tK, double tcK, double pcKPa, double omega);
// The virial equation has no liquid root: below Tc the state is liquid when
// p is above the Lee-Kesler vapour pressure.
EosPhase VirialPhase(const CorrelationVector& v);

constexpr int kCorrelationMaxIterations = 200;

} // namespace kolvane
