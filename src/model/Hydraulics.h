#pragma once

#include "model/HeatTransferCorrelations.h"

namespace kolvane {

// Reynolds number of a flow W (kg/s) of viscosity mu (Pa.s) in a tube of
// inner diameter d (m): 4W/(pi mu d).
double ReynoldsNumber(double w, double mu, double d);

// Darcy friction factor: 64/Re for laminar flow (Re <= 2000), otherwise the
// Colebrook-White equation, limited by the fully rough value beyond the
// boundary of complete turbulence. Raises MathError for a non-positive
// Reynolds number or diameter and IterationLimitError when the
// Colebrook-White iteration does not settle.
double FrictionFactor(double re, double d, double roughness);

constexpr int kColebrookMaxIterations = 200;
// Colebrook & White (J. ICE 11, 1939) describe turbulent flow; between
// Re = 2000 and 4000 the flow may be either and the value is uncertain.
inline constexpr Validity kColebrookValidity{"Colebrook–White", "Re", 4000, 1e300};

} // namespace kolvane

namespace kolvane {

// Passes of a U-tube bundle or turns of a coil, and the shape factor of the
// bends, for a total length lt (m), coil diameter sl (U-tube: leg length),
// pitch s in outside diameters, outside and inside diameters.
struct TubeLayout {
    double passes = 0;   // U-tube passes, at least 1; coil turns, to a tenth
    double shape = 0;    // shape factor of the pressure drop
    bool short_ = false; // the length is less than one pass (U-tube) or one turn (coil)
    double onePass = 0;  // the length one pass or one turn needs, m
};
TubeLayout UTubeLayout(double lt, double sl, double s, double dO, double dI);
TubeLayout CoilLayout(double lt, double sl, double s, double dO);

// Pressure drop (Pa) of a flow w (kg/s) of density rho and viscosity mu in
// tubes of inner diameter dI and roughness eps laid out as `layout`, with
// the friction correlation's range when the flow lies outside it. A coil
// below Schmidt's critical Reynolds number flows laminar with Schmidt's
// friction; above it Colebrook–White with the coil's correction.
struct PressureDrop {
    double dp = 0;
    const Validity* outside = nullptr; // the friction correlation's range, if left
    double value = 0;                  // the group that left it
    double re = 0;
};
PressureDrop UTubePressureDrop(double w, double rho, double mu, double dI, double eps, double sl,
                               const TubeLayout& layout);
PressureDrop CoilPressureDrop(double w, double rho, double mu, double dI, double eps, double sl,
                              double s, double lt, const TubeLayout& layout);

} // namespace kolvane
