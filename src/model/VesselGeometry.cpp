// Wetted (heat-loss) areas of the vessel shapes and the liquid depths they
// need.
#include "model/VesselGeometry.h"

#include "model/Errors.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace kolvane {

namespace {

constexpr double kPi = std::numbers::pi;

double SqrtChecked(double x, const char* what) {
    if (!(x >= 0)) throw MathError(std::string("无法计算") + what + "：负数开平方");
    return std::sqrt(x);
}

} // namespace

double SphereCapDepth(double r, double kv) {
    // Cap volume pi h^2 (3r - h)/3 = kv (4/3) pi r^3, as h = sqrt(4 kv r^3/(3r - h)).
    auto g = [&](double h) {
        return SqrtChecked(4 * kv * r * r * r / (3 * r - h), "球罐液深") - h;
    };
    double h = 0.001 * r;
    for (int i = 0; i < kGeometryMaxIterations; ++i) {
        double g0 = g(h);
        double h1 = h + 1e-6;
        double g1 = g(h1);
        double step = 1e-6 * g1 / (g1 - g0);
        RequireFinite(step, "无法计算球罐液深");
        h = h1 - step;
        if (std::fabs(step) < 1e-4) return h;
    }
    throw IterationLimitError("计算不收敛：球罐液深");
}

namespace {

// Half-angle of the wetted arc; the branch follows the fill, not the depth.
double WettedAngle(double d, double s, double kv) {
    double c = SqrtChecked(s * (d - s), "卧式罐液深");
    double ratio = std::min(1.0, c / (d / 2));
    return kv <= 0.5 ? std::asin(ratio) : kPi - std::asin(ratio);
}

double SegmentShortfall(double d, double s, double kv) {
    double c = SqrtChecked(s * (d - s), "卧式罐液深");
    double seg = (d / 2) * (d / 2) * WettedAngle(d, s, kv) - c * (d / 2 - s);
    return kv * kPi * d * d / 4 - seg;
}

// Bisection on [lo, hi], where the shortfall falls from >= 0 to <= 0.
double DepthByBisection(double d, double kv, double lo, double hi) {
    for (int i = 0; i < kGeometryMaxIterations; ++i) {
        double mid = (lo + hi) / 2;
        double fm = SegmentShortfall(d, mid, kv);
        // Halving on to a tight bracket: near the bottom the wetted angle
        // grows with the square root of the depth, so a small residual
        // alone would leave it coarse.
        if (hi - lo < 1e-10 * d) return mid;
        (fm > 0 ? lo : hi) = mid;
    }
    throw IterationLimitError("计算不收敛：卧式罐液深");
}

} // namespace

double HorizontalTankDepth(double d, double kv, double& alpha) {
    double s;
    if (kv <= 0) {
        s = 0; // empty: nothing wetted
    } else if (kv <= 0.5) {
        // The secant from a shallow start leaves the tank; the lower half is
        // searched by bisection instead.
        s = DepthByBisection(d, kv, 0, d / 2);
    } else {
        s = d / 2 + 0.001;
        bool settled = false;
        for (int i = 0; i < kGeometryMaxIterations && s > 0 && s <= d; ++i) {
            double f0 = SegmentShortfall(d, s, kv);
            s += 1e-6;
            if (s > d) break;
            double f1 = SegmentShortfall(d, s, kv);
            s -= 1e-6 * f1 / (f1 - f0);
            if (std::fabs(f1) < 1e-5) {
                settled = std::isfinite(s) && s > 0 && s <= d;
                break;
            }
        }
        // A fill close to 1 can push the secant past the top of the tank.
        if (!settled) s = DepthByBisection(d, kv, d / 2, d);
    }
    alpha = WettedAngle(d, s, kv);
    return s;
}

double SphereLossArea(double volume, double kv) {
    double r = std::cbrt(3 * volume / (4 * kPi));
    return 2 * kPi * r * SphereCapDepth(r, kv);
}

double CylinderLossArea(double d, double h, double kv) {
    return kPi * d * h * kv + kPi * d * d / 4;
}

double BoxLossArea(double l, double h, double w, double kv) {
    return 2 * (l + w) * h * kv + l * w;
}

double HorizontalTankLossArea(double d, double l, double kv) {
    // Wetted shell plus two domed ends, each 1.35 times the wetted flat end.
    double alpha = 0;
    HorizontalTankDepth(d, kv, alpha);
    return d * alpha * l + 2 * 1.35 * kv * kPi * d * d / 4;
}

} // namespace kolvane
