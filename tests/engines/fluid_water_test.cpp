#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/if97.h"
#include "fluid_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::engines::fluid {
namespace {

using testing::read_csv;
using testing::rel;

// Verification values printed in IAPWS R7-97(2012) (Tables 5, 15, 35, 36), R12-08
// (Table 4) and R15-11 (Table 4).
TEST(FluidWater, If97VerificationValues) {
    EXPECT_NEAR(rel(if97::saturation_pressure(300), 3.53658941e3), 0, 1e-8);
    EXPECT_NEAR(rel(if97::saturation_pressure(500), 2.63889776e6), 0, 1e-8);
    EXPECT_NEAR(rel(if97::saturation_pressure(600), 1.23443146e7), 0, 1e-8);
    EXPECT_NEAR(rel(if97::saturation_temperature(0.1e6), 372.755919), 0, 1e-8);
    EXPECT_NEAR(rel(if97::saturation_temperature(1e6), 453.035632), 0, 1e-8);
    EXPECT_NEAR(rel(if97::saturation_temperature(10e6), 584.149488), 0, 1e-8);

    struct R1 {
        double T, p, v, h, cp;
    };
    for (const R1& c : {R1{300, 3e6, 0.100215168e-2, 115.331273e3, 4.17301218e3},
                        R1{300, 80e6, 0.971180894e-3, 184.142828e3, 4.01008987e3},
                        R1{500, 3e6, 0.120241800e-2, 975.542239e3, 4.65580682e3}}) {
        const auto s = if97::region1(c.p, c.T);
        EXPECT_NEAR(rel(s.v, c.v), 0, 1e-8) << c.T << " K " << c.p << " Pa";
        EXPECT_NEAR(rel(s.h, c.h), 0, 1e-8) << c.T << " K " << c.p << " Pa";
        EXPECT_NEAR(rel(s.cp, c.cp), 0, 1e-8) << c.T << " K " << c.p << " Pa";
    }
    for (const R1& c : {R1{300, 0.0035e6, 0.394913866e2, 0.254991145e7, 0.191300162e4},
                        R1{700, 0.0035e6, 0.923015898e2, 0.333568375e7, 0.208141274e4},
                        R1{700, 30e6, 0.542946619e-2, 0.263149474e7, 0.103505092e5}}) {
        const auto s = if97::region2(c.p, c.T);
        EXPECT_NEAR(rel(s.v, c.v), 0, 1e-8) << c.T << " K " << c.p << " Pa";
        EXPECT_NEAR(rel(s.h, c.h), 0, 1e-8) << c.T << " K " << c.p << " Pa";
        EXPECT_NEAR(rel(s.cp, c.cp), 0, 1e-8) << c.T << " K " << c.p << " Pa";
    }
}

TEST(FluidWater, TransportVerificationValues) {
    EXPECT_NEAR(rel(if97::viscosity(298.15, 998), 889.735100e-6), 0, 1e-6);
    EXPECT_NEAR(rel(if97::viscosity(298.15, 1200), 1437.649467e-6), 0, 1e-6);
    EXPECT_NEAR(rel(if97::viscosity(373.15, 1000), 307.883622e-6), 0, 1e-6);
    EXPECT_NEAR(rel(if97::viscosity(433.15, 1), 14.538324e-6), 0, 1e-6);
    EXPECT_NEAR(rel(if97::viscosity(873.15, 600), 77.430195e-6), 0, 1e-6);
    EXPECT_NEAR(rel(if97::conductivity(298.15, 998), 607.712868e-3), 0, 1e-6);
    EXPECT_NEAR(rel(if97::conductivity(298.15, 1200), 799.038144e-3), 0, 1e-6);
    EXPECT_NEAR(rel(if97::conductivity(873.15, 0), 79.1034659e-3), 0, 1e-6);
}

TEST(FluidWater, MatchesReferenceTables) {
    auto water = create_fluid("Water");
    const auto t = read_csv("water.csv");
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const double T = t.num(i, "T_C");
        if (T < 1) continue;  // the 0 °C row is metastable in the reference
        water->SetYPressure(t.num(i, "p_Pa"));
        EXPECT_NEAR(rel(water->YDensity(T), t.num(i, "rho_kg_m3")), 0, 1e-3) << T;
        EXPECT_NEAR(rel(water->YHeatCapacity(T), t.num(i, "cp_J_kgK")), 0, 1e-3) << T;
        EXPECT_NEAR(rel(water->YViscosity(T), t.num(i, "mu_Pa_s")), 0, 1e-3) << T;
        EXPECT_NEAR(rel(water->YConductivity(T), t.num(i, "lambda_W_mK")), 0, 1e-3) << T;
    }
    const auto s = read_csv("water_saturation.csv");
    for (std::size_t i = 0; i < s.rows.size(); ++i)
        EXPECT_NEAR(rel(water->SatPressureBubble(s.num(i, "T_C")), s.num(i, "psat_Pa")), 0, 1e-3);
}

TEST(FluidWater, TextbookValuesAtOneBar) {
    // Liquid water at 1 bar (physics reference): 20 °C and 60 °C.
    auto w = create_fluid("water");
    EXPECT_NEAR(w->YDensity(20), 998.2, 0.1);
    EXPECT_NEAR(w->YHeatCapacity(20), 4184, 3);
    EXPECT_NEAR(w->YViscosity(20), 1.002e-3, 0.002e-3);
    EXPECT_NEAR(w->YConductivity(60), 0.651, 0.002);
    EXPECT_NEAR(w->YViscosity(60), 0.467e-3, 0.002e-3);
}

TEST(FluidWater, LiquidAboveBoilingIsHeldAtSaturationPressure) {
    auto w = create_fluid("Water");
    w->SetYPressure(1e5);
    const auto sat = w->RefLiquid(150);
    EXPECT_DOUBLE_EQ(w->YDensity(150), sat.Density);
    w->SetYPressure(20e5);  // above saturation: the pressure is used
    EXPECT_GT(w->YDensity(150), sat.Density);
}

TEST(FluidWater, SaturationLineAndSteam) {
    auto w = create_fluid("Water");
    EXPECT_NEAR(w->SatTemperatureDew(w->SatPressureDew(123.4)), 123.4, 1e-9);
    // Latent heat at 100 °C: 2256.4 kJ/kg (IAPWS-95 steam tables).
    EXPECT_NEAR(w->LatentHeat(100), 2256.4e3, 1.5e3);
    // Surface tension at 100 °C: 58.91 mN/m (IAPWS R1-76(2014), Table 1).
    EXPECT_NEAR(w->SurfaceTension(100), 58.91e-3, 0.01e-3);
    auto steam = create_fluid("Steam");
    steam->SetYPressure(1e5);
    EXPECT_THROW(steam->YDensity(90), OutOfRange);
    EXPECT_NEAR(steam->YDensity(150), 0.5163, 0.002);  // steam tables, 0.1 MPa 150 °C
    EXPECT_EQ(steam->YGas(), true);
}

TEST(FluidWater, OutOfRangeIsCodeThreeNotNaN) {
    auto w = create_fluid("Water");
    for (double t : {-5.0, 351.0, std::nan("")}) {
        try {
            w->YDensity(t);
            FAIL() << "no error at " << t;
        } catch (const OutOfRange& e) {
            EXPECT_EQ(e.number(), platform::kObjectError + 3);
        }
    }
    EXPECT_THROW(w->SatPressureBubble(-1), OutOfRange);
    EXPECT_THROW(w->SetYPressure(-1), OutOfRange);
    EXPECT_THROW(w->LiquidState(1e5, 120), OutOfRange);  // boils at 1 bar
}

}  // namespace
}  // namespace hxq::engines::fluid
