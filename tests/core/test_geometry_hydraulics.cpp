#include "model/Errors.h"
#include "model/Hydraulics.h"
#include "model/VesselGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kolvane {
namespace {

constexpr double kPi = std::numbers::pi;

// Colebrook-White solved by bisection on 1/sqrt(lambda), independent of the
// Newton iteration under test.
double ColebrookByBisection(double re, double d, double eps) {
    auto f = [&](double y) { return y + 2 * std::log10(eps / (3.7 * d) + 2.51 * y / re); };
    double lo = 1, hi = 100;
    for (int i = 0; i < 200; ++i) {
        double mid = (lo + hi) / 2;
        (f(mid) > 0 ? hi : lo) = mid;
    }
    double y = (lo + hi) / 2;
    return 1 / (y * y);
}

TEST(FrictionFactor, LaminarUpToTwoThousand) {
    EXPECT_DOUBLE_EQ(FrictionFactor(2000, 0.02, 1e-4), 64.0 / 2000);
    EXPECT_DOUBLE_EQ(FrictionFactor(500, 0.02, 0), 64.0 / 500);
    // Just above, Colebrook-White (a much lower value at the transition).
    double l = FrictionFactor(2001, 0.02, 1e-4);
    EXPECT_NEAR(l, ColebrookByBisection(2001, 0.02, 1e-4), 1e-6 * l);
}

struct FrictionRow {
    const char* name;
    double re, d, eps;
};

class Colebrook : public testing::TestWithParam<FrictionRow> {};

TEST_P(Colebrook, MatchesAnIndependentSolution) {
    const auto& r = GetParam();
    double l = FrictionFactor(r.re, r.d, r.eps);
    EXPECT_NEAR(l, ColebrookByBisection(r.re, r.d, r.eps), 1e-6 * l);
}

INSTANTIATE_TEST_SUITE_P(Rows, Colebrook,
                         testing::Values(FrictionRow{"smooth_tube", 1e5, 0.05, 0},
                                         FrictionRow{"commercial_steel", 2e5, 0.05, 4.6e-5},
                                         FrictionRow{"low_turbulent", 5000, 0.025, 1e-5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrictionFactor, FullyRoughBeyondCompleteTurbulence) {
    // eps/d = 0.01 at Re = 1e7: far past the boundary.
    double d = 0.05, eps = 5e-4;
    double expected = 1 / std::pow(2 * std::log10(3.7 * d / eps), 2);
    EXPECT_DOUBLE_EQ(FrictionFactor(1e7, d, eps), expected);
}

TEST(FrictionFactor, NonsenseInputIsAMathError) {
    EXPECT_THROW(FrictionFactor(0, 0.02, 0), MathError);
    EXPECT_THROW(FrictionFactor(-5000, 0.02, 0), MathError);
    EXPECT_THROW(FrictionFactor(5000, 0, 0), MathError);
    EXPECT_THROW(ReynoldsNumber(1, 0, 0.02), MathError);
    EXPECT_NEAR(ReynoldsNumber(1, 0.001, 0.02), 4 / (kPi * 0.001 * 0.02), 1e-9);
}

TEST(SphereGeometry, WorkedValues) {
    double r = std::cbrt(3 * 10 / (4 * kPi));
    EXPECT_NEAR(r, 1.3365, 5e-5);
    EXPECT_NEAR(SphereCapDepth(r, 0.8), 1.9055, 5e-4);
    EXPECT_NEAR(SphereLossArea(10, 0.8), 16.00, 5e-3);
    EXPECT_NEAR(SphereCapDepth(r, 0.5), r, 1e-3);
    EXPECT_NEAR(SphereLossArea(10, 0.5), 2 * kPi * r * r, 1e-2);
    EXPECT_NEAR(SphereLossArea(10, 1.0), 22.45, 1e-2);
    EXPECT_NEAR(SphereLossArea(10, 0.0), 0.0, 1e-6);
}

TEST(SphereGeometry, CapHoldsTheContents) {
    // The depth found satisfies the cap volume it stands for.
    double r = 2;
    for (double kv : {0.1, 0.3, 0.6, 0.9}) {
        double h = SphereCapDepth(r, kv);
        double cap = kPi * h * h * (3 * r - h) / 3;
        EXPECT_NEAR(cap / (4.0 / 3 * kPi * r * r * r), kv, 1e-3) << kv;
    }
}

TEST(PlainShapes, WorkedValues) {
    EXPECT_NEAR(CylinderLossArea(2, 3, 0.8), 18.22, 5e-3);
    EXPECT_NEAR(BoxLossArea(2, 3, 1.5, 0.8), 19.80, 1e-9);
}

// Segment area of a circle of diameter d filled to depth s, independent of
// the code under test.
double Segment(double d, double s) {
    double r = d / 2;
    return r * r * std::acos((r - s) / r) - (r - s) * std::sqrt(s * (d - s));
}

struct TankRow {
    const char* name;
    double kv;
};

class HorizontalTank : public testing::TestWithParam<TankRow> {};

TEST_P(HorizontalTank, DepthHoldsTheContentsOnBothBranches) {
    double d = 2, kv = GetParam().kv, alpha = 0;
    double s = HorizontalTankDepth(d, kv, alpha);
    EXPECT_GT(s, 0);
    EXPECT_LE(s, d);
    EXPECT_NEAR(Segment(d, s), kv * kPi * d * d / 4, 1e-4);
    EXPECT_NEAR(alpha, std::acos((d / 2 - s) / (d / 2)), 1e-6); // the wetted half-angle
}

INSTANTIATE_TEST_SUITE_P(Rows, HorizontalTank,
                         testing::Values(TankRow{"quarter", 0.25}, TankRow{"shallow", 0.05},
                                         TankRow{"half", 0.5}, TankRow{"sixty", 0.6},
                                         TankRow{"eighty", 0.8}, TankRow{"nearly_full", 0.999}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HorizontalTankGeometry, WorkedValues) {
    double alpha = 0;
    EXPECT_NEAR(HorizontalTankDepth(2, 0.8, alpha), 1.4919, 5e-4);
    EXPECT_NEAR(2 * alpha, 4.1700, 5e-4); // wetted arc D*alpha with D = 2
    EXPECT_NEAR(HorizontalTankLossArea(2, 5, 0.8), 27.64, 5e-3);
    EXPECT_NEAR(HorizontalTankDepth(2, 0.6, alpha), 1.1577, 5e-4);
    EXPECT_NEAR(HorizontalTankLossArea(2, 5, 0.6), 22.38, 5e-3);
    EXPECT_NEAR(HorizontalTankLossArea(2, 5, 0.0), 0.0, 1e-6);
}

} // namespace
} // namespace kolvane
