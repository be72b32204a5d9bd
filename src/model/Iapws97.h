#pragma once

// Water and steam: thermodynamic properties from IAPWS-IF97 (Revised Release
// on the IAPWS Industrial Formulation 1997, 2007), viscosity from the IAPWS
// Formulation 2008, thermal conductivity from the IAPWS Formulation 2011 and
// surface tension from the IAPWS Revised Release of 2014.
//
// Pure functions in SI units (K, Pa, kg/m³, J/kg, J/(kg·K), m/s, Pa·s,
// W/(m·K), N/m), with thin wrappers in °C and kPa for the property library.
// An input outside a formulation's range, NaN or infinity raises MathError
// whose Chinese message names the quantity and the range (temperatures in °C,
// pressures in kPa); no function returns NaN, infinity or a stand-in 0.
//
// Covered: the saturation line (region 4) from 0.00 °C to the critical point;
// compressed liquid (region 1) from 0 °C to 350 °C up to 100 MPa; steam
// (region 2) from 0 °C to 800 °C below the saturation pressure, the B23
// boundary (350 °C to 590 °C) and 100 MPa. Not covered: region 3 (around the
// critical point, 350 °C to the B23 boundary above it), region 5 (800 °C to
// 2000 °C) and the metastable states of region 2.

namespace kolvane::if97 {

// One single-phase state.
struct State {
    double T = 0;      // temperature, K
    double p = 0;      // pressure, Pa
    double v = 0;      // specific volume, m³/kg
    double rho = 0;    // density, kg/m³
    double h = 0;      // specific enthalpy, J/kg
    double u = 0;      // specific internal energy, J/kg
    double s = 0;      // specific entropy, J/(kg·K)
    double cp = 0;     // isobaric heat capacity, J/(kg·K)
    double cv = 0;     // isochoric heat capacity, J/(kg·K)
    double w = 0;      // speed of sound, m/s
    double kappaT = 0; // isothermal compressibility -(1/v)(dv/dp)_T, 1/Pa
};

// Both phases on the saturation line at one temperature and pressure.
struct Saturation {
    double T = 0;       // saturation temperature, K
    double p = 0;       // saturation pressure, Pa
    State liquid;       // saturated liquid (region 1 on the line)
    State vapour;       // saturated vapour (region 2 on the line)
    double hLatent = 0; // latent heat h'' - h', J/kg
};

enum class Region { Liquid = 1, Vapour = 2 };

// Saturation pressure (Pa) at T from 273.15 K to 647.096 K.
double SaturationPressure(double T);
// Saturation temperature (K) at p from 611.213 Pa to 22.064 MPa.
double SaturationTemperature(double p);

// Compressed liquid (region 1): 273.15 K ≤ T ≤ 623.15 K, psat(T) ≤ p ≤ 100 MPa.
State Region1(double T, double p);
// Steam (region 2): 0 < p ≤ psat(T) up to 623.15 K, ≤ pB23(T) up to 863.15 K,
// ≤ 100 MPa up to 1073.15 K.
State Region2(double T, double p);
// The region of (T, p): liquid above psat(T), vapour below; MathError on the
// saturation line itself and outside regions 1 and 2 (naming region 3 or 5).
Region RegionOf(double T, double p);
// The state at (T, p) in the region RegionOf picks.
State StateAt(double T, double p);

// Saturated liquid and vapour at p from 611.213 Pa to psat(623.15 K) = 16.529 MPa.
Saturation SaturationAtPressure(double p);
// Saturated liquid and vapour at T from 273.15 K to 623.15 K.
Saturation SaturationAtTemperature(double T);

// Dynamic viscosity (Pa·s) at density rho (kg/m³) and T, 273.15 K to 1173.15 K.
double Viscosity(double rho, double T);
// Thermal conductivity lambda0·lambda1 (W/(m·K)) at rho (kg/m³) and T, 273.15 K
// to 1173.15 K, without the critical enhancement (it needs the state's
// derivatives): on the saturation line low by 0.2 % at 200 °C, by 1 % (water)
// and 5 % (steam) at 300 °C, by 4 % and 30 % at 350 °C.
double ThermalConductivity(double rho, double T);
// Thermal conductivity (W/(m·K)) of an IF97 state, critical enhancement included.
double ThermalConductivity(const State& s);
// Surface tension (N/m) of the liquid against its vapour, 248.15 K to 647.096 K.
double SurfaceTension(double T);

// The property library's units: t in °C, p in kPa; results as above unless named.

// Saturation pressure (kPa) at t (°C).
double SaturationPressureKPa(double tC);
// Saturation temperature (°C) at p (kPa).
double SaturationTemperatureC(double pKPa);
// The state at (t, p), in SI.
State StateAtCKPa(double tC, double pKPa);
// Saturated liquid and vapour at p (kPa), in SI.
Saturation SaturationAtKPa(double pKPa);
// Saturated liquid and vapour at t (°C), in SI.
Saturation SaturationAtC(double tC);
// Viscosity (Pa·s) at (t, p), the density from IF97.
double ViscosityAtCKPa(double tC, double pKPa);
// Thermal conductivity (W/(m·K)) at (t, p), the density from IF97.
double ThermalConductivityAtCKPa(double tC, double pKPa);
// Surface tension (N/m) at t (°C).
double SurfaceTensionAtC(double tC);

} // namespace kolvane::if97
