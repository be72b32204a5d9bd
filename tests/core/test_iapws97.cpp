#include "model/Errors.h"
#include "model/Iapws97.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>

namespace kolvane::if97 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const auto RelDev = [](double got, double want) { return std::fabs(got / want - 1); };

// IF97 verification values (Tables 5 and 15), kJ/kg, kJ/(kg·K) and MPa as the release prints
// them; each row through its region's equation and through StateAt.
struct StateRow {
    const char* name;
    State (*region)(double, double);
    double T, pMPa, v, h, u, s, cp, w;
};

class VerificationTable : public testing::TestWithParam<StateRow> {};
TEST_P(VerificationTable, MatchesTheRelease) {
    const StateRow& r = GetParam();
    constexpr double tol = 5e-9; // half a unit in the ninth significant digit
    const State viaRegion = r.region(r.T, r.pMPa * 1e6), viaStateAt = StateAt(r.T, r.pMPa * 1e6);
    for (const State* p : {&viaRegion, &viaStateAt}) {
        SCOPED_TRACE(p == &viaRegion ? "region equation" : "StateAt");
        const State& st = *p;
        EXPECT_LT(RelDev(st.v, r.v), tol) << "v";
        EXPECT_LT(RelDev(st.h, r.h * 1e3), tol) << "h";
        EXPECT_LT(RelDev(st.u, r.u * 1e3), tol) << "u";
        EXPECT_LT(RelDev(st.s, r.s * 1e3), tol) << "s";
        EXPECT_LT(RelDev(st.cp, r.cp * 1e3), tol) << "cp";
        EXPECT_LT(RelDev(st.w, r.w), tol) << "w";
    }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(IF97, VerificationTable, testing::Values(
    StateRow{"Table5_300K_3MPa",        Region1, 300, 3,      0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792,   0.417301218e1, 0.150773921e4},
    StateRow{"Table5_300K_80MPa",       Region1, 300, 80,     0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852,   0.401008987e1, 0.163469054e4},
    StateRow{"Table5_500K_3MPa",        Region1, 500, 3,      0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1, 0.465580682e1, 0.124071337e4},
    StateRow{"Table15_300K_0p0035MPa",  Region2, 300, 0.0035, 0.394913866e2,  0.254991145e4, 0.241169160e4, 0.852238967e1, 0.191300162e1, 0.427920172e3},
    StateRow{"Table15_700K_0p0035MPa",  Region2, 700, 0.0035, 0.923015898e2,  0.333568375e4, 0.301262819e4, 0.101749996e2, 0.208141274e1, 0.644289068e3},
    StateRow{"Table15_700K_30MPa",      Region2, 700, 30,     0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1, 0.103505092e2, 0.480386523e3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// cv and kappa_T have no verification row: check them against cp - cv = T v alpha^2 / kappa_T
// with alpha and kappa_T from central differences of v(T, p).
TEST(HeatCapacities, CvAgreesWithTheDerivativesOfTheVolume) {
    using Eval = std::function<State(double, double)>;
    struct Row {
        const char* name;
        Eval f;
        double T, p;
    };
    for (const Row& r :
         {Row{"liquid_300K_3MPa", Region1, 300, 3e6}, Row{"liquid_500K_3MPa", Region1, 500, 3e6},
          Row{"vapour_700K_30MPa", Region2, 700, 30e6},
          Row{"vapour_450K_0p5MPa", Region2, 450, 0.5e6}}) {
        const State st = r.f(r.T, r.p);
        const double dT = 1e-3, dp = r.p * 1e-5;
        const double dvdT = (r.f(r.T + dT, r.p).v - r.f(r.T - dT, r.p).v) / (2 * dT);
        const double dvdp = (r.f(r.T, r.p + dp).v - r.f(r.T, r.p - dp).v) / (2 * dp);
        const double cpMinusCv = -r.T * dvdT * dvdT / dvdp;
        EXPECT_NEAR(st.cp - st.cv, cpMinusCv, 1e-5 * st.cp) << r.name;
        EXPECT_NEAR(st.kappaT, -dvdp / st.v, 1e-6 * st.kappaT) << r.name;
    }
}

// Saturated-steam tables (IAPWS-95 values, rounded as printed): IF97 agrees
// with them within 0.01 K, 0.0005 kg/m³ of steam density and 0.1 kJ/kg.
TEST(SaturationLine, EngineeringSteamTables) {
    struct Row {
        const char* name;
        double pKPa, tC, rhoV, hfg; // kPa, °C, kg/m³, kJ/kg
    };
    for (const Row& r : {Row{"300kPa", 300, 133.52, 1.651, 2163.4},
                         Row{"101p325kPa", 101.325, 99.97, 0.5976, 2256.5}}) {
        const Saturation sat = SaturationAtKPa(r.pKPa);
        EXPECT_NEAR(SaturationTemperatureC(r.pKPa), r.tC, 0.01) << r.name;
        EXPECT_NEAR(sat.vapour.rho, r.rhoV, 0.0005) << r.name;
        EXPECT_NEAR(sat.hLatent / 1e3, r.hfg, 0.1) << r.name;
    }
    // From the temperature side: 100 °C, 101.42 kPa, rho' = 958.35 kg/m³.
    const Saturation at100 = SaturationAtC(100);
    EXPECT_NEAR(at100.p / 1e3, 101.42, 0.005);
    EXPECT_NEAR(at100.liquid.rho, 958.35, 0.05);
    EXPECT_NEAR(at100.hLatent / 1e3, 2256.4, 0.1);
}

// Table 5 of the same release, the rows in IF97 region 2 (647.35 K, 1 and
// 122 kg/m³), with the critical enhancement from IF97 derivatives where the
// release takes IAPWS-95: lambda2 is 2.5e-6 and 15 % of lambda there, and the
// tolerances are below both and above the IF97/IAPWS-95 differences.
TEST(ThermalConductivity, Table5RowsInRegion2) {
    struct Row {
        double rho, lambda, relTol;
    };
    for (const Row& r : {Row{1, 51.9298924, 1e-7}, Row{122, 130.922885, 1e-3}}) {
        double lo = 1e4, hi = 19.6e6; // below pB23(647.35 K)
        for (int i = 0; i < 100; ++i)
            (Region2(647.35, (lo + hi) / 2).rho > r.rho ? hi : lo) = (lo + hi) / 2;
        const State st = Region2(647.35, (lo + hi) / 2);
        EXPECT_LT(RelDev(ThermalConductivity(st) * 1e3, r.lambda), r.relTol) << "Table5 " << r.rho;
    }
}

// Published tables, each value in the unit the release prints: IF97 Tables
// 35 and 36 (saturation, relative 5e-9); IAPWS 2008 viscosity Table 4
// (mu2 = 1, µPa·s); IAPWS 2011 thermal conductivity Table 4 (lambda2 = 0,
// mW/(m·K)); IAPWS R1-76(2014) surface tension (mN/m, two decimals).
TEST(PublishedTables, EveryPointOfTheReleases) {
    struct Row {
        const char* name;
        std::function<double()> got;
        double want, abs, rel;
    };
    // clang-format off
    const Row rows[] = {
        {"Table35 300 K",  [] { return SaturationPressure(300) / 1e6; }, 0.353658941e-2, 0, 5e-9},
        {"Table35 500 K",  [] { return SaturationPressure(500) / 1e6; }, 0.263889776e1, 0, 5e-9},
        {"Table35 600 K",  [] { return SaturationPressure(600) / 1e6; }, 0.123443146e2, 0, 5e-9},
        {"Table36 0.1 MPa", [] { return SaturationTemperature(0.1e6); }, 0.372755919e3, 0, 5e-9},
        {"Table36 1 MPa",  [] { return SaturationTemperature(1e6); },    0.453035632e3, 0, 5e-9},
        {"Table36 10 MPa", [] { return SaturationTemperature(10e6); },   0.584149488e3, 0, 5e-9},
        {"mu 298.15 K 998",   [] { return Viscosity(998, 298.15) * 1e6; },   889.735100, 1e-6, 0},
        {"mu 298.15 K 1200",  [] { return Viscosity(1200, 298.15) * 1e6; },  1437.649467, 1e-6, 0},
        {"mu 373.15 K 1000",  [] { return Viscosity(1000, 373.15) * 1e6; },  307.883622, 1e-6, 0},
        {"mu 433.15 K 1",     [] { return Viscosity(1, 433.15) * 1e6; },     14.538324, 1e-6, 0},
        {"mu 433.15 K 1000",  [] { return Viscosity(1000, 433.15) * 1e6; },  217.685358, 1e-6, 0},
        {"mu 873.15 K 1",     [] { return Viscosity(1, 873.15) * 1e6; },     32.619287, 1e-6, 0},
        {"mu 873.15 K 100",   [] { return Viscosity(100, 873.15) * 1e6; },   35.802262, 1e-6, 0},
        {"mu 873.15 K 600",   [] { return Viscosity(600, 873.15) * 1e6; },   77.430195, 1e-6, 0},
        {"mu 1173.15 K 1",    [] { return Viscosity(1, 1173.15) * 1e6; },    44.217245, 1e-6, 0},
        {"mu 1173.15 K 100",  [] { return Viscosity(100, 1173.15) * 1e6; },  47.640433, 1e-6, 0},
        {"mu 1173.15 K 400",  [] { return Viscosity(400, 1173.15) * 1e6; },  64.154608, 1e-6, 0},
        {"lambda 298.15 K 0",    [] { return ThermalConductivity(0, 298.15) * 1e3; },    18.4341883, 1e-7, 0},
        {"lambda 298.15 K 998",  [] { return ThermalConductivity(998, 298.15) * 1e3; },  607.712868, 1e-6, 0},
        {"lambda 298.15 K 1200", [] { return ThermalConductivity(1200, 298.15) * 1e3; }, 799.038144, 1e-6, 0},
        {"lambda 873.15 K 0",    [] { return ThermalConductivity(0, 873.15) * 1e3; },    79.1034659, 1e-7, 0},
        {"sigma 0.01 C", [] { return SurfaceTensionAtC(0.01) * 1e3; }, 75.65, 0.005, 0},
        {"sigma 25 C",   [] { return SurfaceTensionAtC(25) * 1e3; },   71.97, 0.005, 0},
        {"sigma 100 C",  [] { return SurfaceTensionAtC(100) * 1e3; },  58.91, 0.005, 0},
        {"sigma 200 C",  [] { return SurfaceTensionAtC(200) * 1e3; },  37.67, 0.005, 0},
        {"sigma 300 C",  [] { return SurfaceTensionAtC(300) * 1e3; },  14.36, 0.005, 0},
        {"sigma 370 C",  [] { return SurfaceTensionAtC(370) * 1e3; },  0.39, 0.005, 0},
        {"sigma at the critical point", [] { return SurfaceTension(647.096); }, 0, 0, 0},
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_NEAR(r.got(), r.want, r.abs + r.rel * std::fabs(r.want)) << r.name;
}

TEST(Regions, PicksLiquidAboveAndVapourBelowTheSaturationPressure) {
    const double ps = SaturationPressure(400);
    EXPECT_EQ(RegionOf(400, ps * 1.001), Region::Liquid);
    EXPECT_EQ(RegionOf(400, ps * 0.999), Region::Vapour);
    EXPECT_GT(StateAtCKPa(20, 101.325).rho, 998);
    EXPECT_LT(StateAtCKPa(120, 101.325).rho, 1);
    // Above 350 °C the B23 boundary closes region 2: at 700 K near 30.48 MPa.
    EXPECT_EQ(RegionOf(700, 30.4e6), Region::Vapour);
    EXPECT_THROW(RegionOf(700, 30.6e6), MathError);
    EXPECT_EQ(RegionOf(900, 90e6), Region::Vapour);
}

void ExpectError(const std::function<void()>& f, const std::string& part) {
    try {
        f();
        ADD_FAILURE() << "no MathError, expected one naming " << part;
    } catch (const MathError& e) {
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

TEST(Ranges, InputsOutsideTheFormulationsAreErrors) {
    ExpectError([] { RegionOf(650, 25e6); }, "区域3");
    ExpectError([] { RegionOf(1200, 1e6); }, "区域5");
    ExpectError([] { RegionOf(300, 101e6); }, "100000 kPa");
    ExpectError([] { RegionOf(270, 1e5); }, "0 °C");
    ExpectError([] { StateAt(300, -1e5); }, "正数");
    ExpectError([] { StateAt(kNaN, 1e5); }, "温度");
    ExpectError([] { StateAt(400, SaturationPressure(400)); }, "饱和");
    ExpectError([] { Region1(400, 0.9 * SaturationPressure(400)); }, "饱和压力");
    ExpectError([] { Region2(400, 1.1 * SaturationPressure(400)); }, "饱和压力");
    ExpectError([] { Region1(630, 50e6); }, "350 °C");
    ExpectError([] { SaturationAtKPa(18000); }, "区域3");
    ExpectError([] { SaturationAtC(360); }, "区域3");
    ExpectError([] { SaturationPressure(650); }, "373.946");
    ExpectError([] { SaturationTemperature(500); }, "kPa");
    ExpectError([] { SaturationTemperatureC(kNaN); }, "压力");
    ExpectError([] { Viscosity(-1, 300); }, "密度");
    ExpectError([] { Viscosity(1000, 1200); }, "温度");
    ExpectError([] { ThermalConductivity(kNaN, 300); }, "导热系数");
    ExpectError([] { SurfaceTension(650); }, "表面张力");
}

} // namespace
} // namespace kolvane::if97
