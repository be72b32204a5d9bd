#pragma once

#include <optional>

namespace kolvane {

// The batch's own unsteady balance M c dT/dt = K A (Tm - T) - Ke Ae (T - Te)
// with constant coefficients, solved in closed form: T relaxes
// exponentially towards G/H, G = K A Tm + Ke Ae Te, H = K A + Ke Ae.
struct CurveInputs {
    double m = 0, c = 0;   // mass (kg) and specific heat (J/(kg.K)) of the contents
    double k = 0;          // overall coefficient, W/(m2.K)
    double tm = 0;         // mean temperature of the medium, C
    double ke = 0, ae = 0; // loss coefficient (W/(m2.K)) and loss area (m2); 0 without loss
    double te = 0;         // ambient temperature, C
    double t1 = 0;         // initial temperature of the contents, C
};

// The contents' temperature (C) after `seconds` with heating area `area`.
double CurveTemperature(const CurveInputs& in, double area, double seconds);
// When the contents reach `target` with heating area `area`; nothing when
// they never do (the temperature they approach lies short of it).
std::optional<double> TimeToReach(const CurveInputs& in, double area, double target);
// The time average of the medium's mean temperature less the contents'
// temperature over the first `seconds`, K: (1/τ)∫(Tm − T)dt.
double MeanDifference(const CurveInputs& in, double area, double seconds);

} // namespace kolvane
