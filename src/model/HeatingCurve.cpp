#include "model/HeatingCurve.h"

#include <cmath>

namespace kolvane {

double CurveTemperature(const CurveInputs& in, double area, double seconds) {
    const double h = in.k * area + in.ke * in.ae;
    const double g = in.k * area * in.tm + in.ke * in.ae * in.te;
    if (!(h > 0) || !(in.m * in.c > 0)) return in.t1;
    const double limit = g / h;
    return limit + (in.t1 - limit) * std::exp(-h * seconds / (in.m * in.c));
}

std::optional<double> TimeToReach(const CurveInputs& in, double area, double target) {
    const double h = in.k * area + in.ke * in.ae;
    const double g = in.k * area * in.tm + in.ke * in.ae * in.te;
    if (!(h > 0) || !(in.m * in.c > 0)) return std::nullopt;
    const double ratio = (g - h * in.t1) / (g - h * target);
    if (!(ratio > 0) || !std::isfinite(ratio)) return std::nullopt;
    const double t = in.m * in.c / h * std::log(ratio);
    if (!(t >= 0)) return std::nullopt;
    return t;
}

double MeanDifference(const CurveInputs& in, double area, double seconds) {
    const double h = in.k * area + in.ke * in.ae;
    const double g = in.k * area * in.tm + in.ke * in.ae * in.te;
    if (!(h > 0) || !(in.m * in.c > 0) || !(seconds > 0)) return in.tm - in.t1;
    // T = L + (T1 − L)·e^(−t/θ): its mean over τ is L + (T1 − L)·θ/τ·(1 − e^(−τ/θ)).
    const double limit = g / h;
    const double theta = in.m * in.c / h;
    const double x = seconds / theta;
    // (1 − e^(−x))/x without cancellation for a short time.
    const double share = x < 1e-8 ? 1 - x / 2 : -std::expm1(-x) / x;
    return in.tm - limit - (in.t1 - limit) * share;
}

} // namespace kolvane
