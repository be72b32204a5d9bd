#pragma once

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

} // namespace kolvane
