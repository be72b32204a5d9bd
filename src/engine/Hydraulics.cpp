#include "engine/Hydraulics.h"

#include "engine/Errors.h"

#include <cmath>
#include <numbers>

namespace kolvane {

double ReynoldsNumber(double w, double mu, double d) {
    double re = 4 * w / (std::numbers::pi * mu * d);
    RequireFinite(re, "雷诺数无法计算：粘度或管内径为零");
    return re;
}

namespace {
double Log10Checked(double x) {
    if (!(x > 0)) throw MathError("摩擦系数无法计算：对数的自变量不是正数");
    return std::log10(x);
}
} // namespace

double FrictionFactor(double re, double d, double roughness) {
    if (!(re > 0) || !(d > 0)) throw MathError("摩擦系数无法计算：雷诺数或管内径不是正数");
    if (re <= 2000) return 64 / re;
    double relative = roughness / (3.7 * d);
    auto g = [&](double y) { return y + 2 * Log10Checked(relative + 2.51 * y / re); };
    double y = 10;
    for (int i = 0;; ++i) {
        if (i >= kColebrookMaxIterations) throw IterationLimitError("计算不收敛：摩擦系数");
        double g0 = g(y);
        double step = 1e-6 * g0 / (g(y + 1e-6) - g0);
        RequireFinite(step, "摩擦系数无法计算");
        y -= step;
        if (std::fabs(step) < 1e-6) break;
    }
    double lambda = 1 / (y * y);
    if (roughness / d * re * std::sqrt(lambda) > 200) {
        double l = 2 * Log10Checked(3.7 * d / roughness);
        lambda = 1 / (l * l);
    }
    RequireFinite(lambda, "摩擦系数无法计算");
    return lambda;
}

} // namespace kolvane
