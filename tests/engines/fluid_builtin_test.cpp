// The interpolation of the fluid tables and the built-in fluids (water and steam, glycol
// solutions, dry and humid air) against published verification values and reference tables.
#include "engines/fluid/air.h"
#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/glycol.h"
#include "engines/fluid/if97.h"
#include "engines/fluid/interp.h"
#include "fluid_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace hxq::engines::fluid {
namespace {

using testing::num;
using testing::read_csv;
using testing::rel;

TEST(FluidInterp, SmoothDataToFourthOrder) {
    // exp on a 1-wide grid: fourth-order slopes make the midpoints good to ~1e-4.
    std::vector<double> y;
    for (int i = 0; i <= 10; ++i) y.push_back(std::exp(0.3 * i));
    const UniformSpline s(0, 1, y);
    for (int i = 0; i <= 10; ++i) EXPECT_DOUBLE_EQ(s(i), y[static_cast<std::size_t>(i)]);
    for (double x = 2.5; x < 8; x += 1) EXPECT_NEAR(s(x) / std::exp(0.3 * x), 1, 1e-4) << x;
    double x = 0;
    ASSERT_TRUE(s.inverse(std::exp(0.3 * 4.321), x));
    EXPECT_NEAR(x, 4.321, 1e-4);
    EXPECT_FALSE(s.inverse(0.5, x));  // below the data
}

TEST(FluidInterp, MonotoneDataStayMonotoneWithoutOvershoot) {
    // A step (the shape of cp next to the critical point) on a coarse grid.
    const UniformSpline s(0, 1, {0, 0, 0.01, 0.02, 5, 5.1, 5.1, 5.1});
    double prev = -1;
    for (double x = 0; x <= 7; x += 0.01) {
        const double v = s(x);
        EXPECT_GE(v, prev - 1e-12) << x;
        EXPECT_GE(v, 0 - 1e-12) << x;
        EXPECT_LE(v, 5.1 + 1e-12) << x;
        prev = v;
    }
    // A local maximum in the data is not overshot.
    const UniformSpline peak(0, 1, {1, 2, 3, 2, 1});
    for (double x = 0; x <= 4; x += 0.01) EXPECT_LE(peak(x), 3 + 1e-12);
}

TEST(FluidInterp, ContinuousSlopeAtNodes) {
    const UniformSpline s(0, 2, {1, 1.5, 3, 3.2, 7, 7.5, 9});
    for (double node : {2.0, 4.0, 6.0, 8.0, 10.0}) {
        const double e = 1e-7;
        EXPECT_NEAR(s.derivative(node - e), s.derivative(node + e), 1e-5) << node;
        EXPECT_NEAR(s(node - e), s(node + e), 1e-6) << node;
    }
}

TEST(FluidInterp, GapsLimitTheCoveredRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const UniformSpline s(-10, 1, {nan, 1, 2, 3, 4, nan, 6});
    EXPECT_DOUBLE_EQ(s.x_min(), -9);
    EXPECT_DOUBLE_EQ(s.x_max(), -6);
    EXPECT_FALSE(s.covers(-9.5));
    EXPECT_FALSE(s.covers(-5.5));
    EXPECT_TRUE(s.covers(-7.5));
    EXPECT_TRUE(UniformSpline(0, 1, {nan, 1, nan}).empty());
}

// Verification values printed in IAPWS R7-97(2012) (Tables 5, 15, 35, 36), R12-08
// (Table 4) and R15-11 (Table 4).
TEST(FluidWater, If97AndTransportVerificationValues) {
    struct Saturation {
        double T, p;
    };
    for (const auto& c : {Saturation{300, 3.53658941e3}, {500, 2.63889776e6}, {600, 1.23443146e7}})
        EXPECT_NEAR(rel(if97::saturation_pressure(c.T), c.p), 0, 1e-8) << c.T;
    for (const auto& c : {Saturation{372.755919, 0.1e6}, {453.035632, 1e6}, {584.149488, 10e6}})
        EXPECT_NEAR(rel(if97::saturation_temperature(c.p), c.T), 0, 1e-8) << c.p;

    struct Region {
        int region;
        double T, p, v, h, cp;
    };
    for (const auto& c : {Region{1, 300, 3e6, 0.100215168e-2, 115.331273e3, 4.17301218e3},
                          {1, 300, 80e6, 0.971180894e-3, 184.142828e3, 4.01008987e3},
                          {1, 500, 3e6, 0.120241800e-2, 975.542239e3, 4.65580682e3},
                          {2, 300, 0.0035e6, 0.394913866e2, 0.254991145e7, 0.191300162e4},
                          {2, 700, 0.0035e6, 0.923015898e2, 0.333568375e7, 0.208141274e4},
                          {2, 700, 30e6, 0.542946619e-2, 0.263149474e7, 0.103505092e5}}) {
        SCOPED_TRACE(::testing::Message() << "region " << c.region << " " << c.T << " K " << c.p << " Pa");
        const auto s = c.region == 1 ? if97::region1(c.p, c.T) : if97::region2(c.p, c.T);
        EXPECT_NEAR(rel(s.v, c.v), 0, 1e-8);
        EXPECT_NEAR(rel(s.h, c.h), 0, 1e-8);
        EXPECT_NEAR(rel(s.cp, c.cp), 0, 1e-8);
    }

    struct Transport {
        double (*law)(double, double);
        double T, rho, value;
    };
    for (const auto& c : {Transport{if97::viscosity, 298.15, 998, 889.735100e-6},
                          {if97::viscosity, 298.15, 1200, 1437.649467e-6},
                          {if97::viscosity, 373.15, 1000, 307.883622e-6},
                          {if97::viscosity, 433.15, 1, 14.538324e-6},
                          {if97::viscosity, 873.15, 600, 77.430195e-6},
                          {if97::conductivity, 298.15, 998, 607.712868e-3},
                          {if97::conductivity, 298.15, 1200, 799.038144e-3},
                          {if97::conductivity, 873.15, 0, 79.1034659e-3}})
        EXPECT_NEAR(rel(c.law(c.T, c.rho), c.value), 0, 1e-6) << c.T << " K " << c.rho << " kg/m³";
}

TEST(FluidWater, MatchesReferenceTables) {
    auto water = create_fluid("Water");
    for (const auto& row : read_csv("water.csv")) {
        const double T = num(row, "T_C");
        if (T < 1) continue;  // the 0 °C row is metastable in the reference
        SCOPED_TRACE(row.at("T_C") + " °C");
        water->SetYPressure(num(row, "p_Pa"));
        testing::expect_properties(*water, T, row, 1e-3);
    }
    for (const auto& row : read_csv("water_saturation.csv"))
        EXPECT_NEAR(rel(water->SatPressureBubble(num(row, "T_C")), num(row, "psat_Pa")), 0, 1e-3) << row.at("T_C");
}

TEST(FluidWater, SaturationLiquidAboveBoilingAndSteam) {
    auto w = create_fluid("Water");
    EXPECT_NEAR(w->SatTemperatureDew(w->SatPressureDew(123.4)), 123.4, 1e-9);
    // Latent heat at 100 °C: 2256.4 kJ/kg (IAPWS-95 steam tables).
    EXPECT_NEAR(w->LatentHeat(100), 2256.4e3, 1.5e3);
    // Surface tension at 100 °C: 58.91 mN/m (IAPWS R1-76(2014), Table 1).
    EXPECT_NEAR(w->SurfaceTension(100), 58.91e-3, 0.01e-3);
    // Liquid above its boiling point is held at the saturation pressure; above that
    // pressure the pressure is used.
    w->SetYPressure(1e5);
    const auto sat = w->RefLiquid(150);
    EXPECT_DOUBLE_EQ(w->YDensity(150), sat.Density);
    w->SetYPressure(20e5);
    EXPECT_GT(w->YDensity(150), sat.Density);

    auto steam = create_fluid("Steam");
    steam->SetYPressure(1e5);
    EXPECT_THROW(steam->YDensity(90), OutOfRange);
    EXPECT_NEAR(steam->YDensity(150), 0.5163, 0.002);  // steam tables, 0.1 MPa 150 °C
    EXPECT_TRUE(steam->YGas());
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

TEST(FluidGlycol, MatchesReferenceWithinOnePercent) {
    const auto rows = read_csv("glycol.csv");
    ASSERT_GT(rows.size(), 200u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.at("fluid") + " " + row.at("x_mass_pct") + " % " + row.at("T_C") + " °C");
        testing::expect_properties(*create_fluid(row.at("fluid"), num(row, "x_mass_pct")), num(row, "T_C"), row, 0.01);
    }
}

TEST(FluidGlycol, FreezingPointsAndLimits) {
    for (const auto& row : read_csv("glycol_freezing.csv")) {
        const auto kind = row.at("fluid") == "MEG" ? Glycol::Ethylene : Glycol::Propylene;
        EXPECT_NEAR(glycol_freezing_point(kind, num(row, "x_mass_pct")), num(row, "T_freeze_C"), 0.5)
            << row.at("fluid") << " " << row.at("x_mass_pct");
    }
    // Melinder's check point: MEG 40 % at 0 °C.
    auto meg = create_fluid("Ethylene glycol", 40);
    EXPECT_NEAR(meg->FluidInfo().Range.TMin, -23.8, 0.1);
    EXPECT_NEAR(meg->YDensity(0), 1060.4, 0.2);
    EXPECT_NEAR(meg->YHeatCapacity(0), 3434, 2);
    EXPECT_NEAR(meg->YViscosity(0), 5.81e-3, 0.02e-3);
    // Below the freezing point, above 100 °C and outside 0-60 % the solution has no data.
    EXPECT_THROW(meg->YDensity(-24), OutOfRange);
    EXPECT_THROW(meg->YDensity(100.5), OutOfRange);
    EXPECT_THROW(create_fluid("MPG", 61), OutOfRange);
    EXPECT_THROW(create_fluid("MPG", -1), OutOfRange);
    EXPECT_THROW(create_fluid("Water", 10), OutOfRange);  // a pure fluid has no concentration
}

TEST(FluidAir, DryAirMatchesReferenceWithinOnePercent) {
    auto air = create_fluid("Air");
    EXPECT_TRUE(air->YGas());
    for (const auto& row : read_csv("air.csv")) {
        SCOPED_TRACE(row.at("p_bar_abs") + " bar " + row.at("T_C") + " °C");
        air->SetYPressure(num(row, "p_Pa"));
        testing::expect_properties(*air, num(row, "T_C"), row, 0.01);
    }
    EXPECT_THROW(air->YDensity(150), OutOfRange);
}

TEST(FluidAir, HumidAirDensityAndPressureDewPoint) {
    for (const auto& row : read_csv("humid_air.csv")) {
        SCOPED_TRACE(row.at("P_Pa") + " Pa " + row.at("T_C") + " °C RH " + row.at("RH"));
        const double p = num(row, "P_Pa"), T = num(row, "T_C"), w = num(row, "W_kg_kg_dry");
        EXPECT_NEAR(rel(humidity_ratio(p, T, num(row, "RH")), w), 0, 0.01);
        EXPECT_NEAR(dew_point(p, w), num(row, "T_dewpoint_C"), 0.05);
        auto air = create_fluid("Humid air", w * 1000);
        air->SetYPressure(p);
        // The reference column is (1 + W)/Vha with Vha already per kg of humid air, so
        // it is (1 + W) times the density; divided back here.
        EXPECT_NEAR(rel(air->YDensity(T), num(row, "rho_humid_air_kg_m3") / (1 + w)), 0, 0.01);
    }
    for (const auto& row : read_csv("humid_air_compressed.csv")) {
        HumidAirFluid air(5, "Humid air", 1000 * num(row, "W_kg_kg_dry"));
        air.SetYPressure(num(row, "P_Pa"));
        EXPECT_NEAR(air.DewPoint(), num(row, "T_dewpoint_at_P_C"), 0.05) << row.at("P_Pa");
    }
}

TEST(FluidAir, SaturationOverIceAndWater) {
    for (const auto& row : read_csv("water_vapor_saturation.csv"))
        EXPECT_NEAR(rel(water_vapour_saturation_pressure(num(row, "T_C")), num(row, "p_ws_Pa")), 0, 1e-6)
            << row.at("T_C");
    // IAPWS R14-08 check value of the sublimation curve.
    EXPECT_NEAR(rel(water_vapour_saturation_pressure(230 - 273.15), 8.94735), 0, 1e-6);
}

TEST(FluidAir, BelowTheDewPointTheGasIsSaturated) {
    // Air with 10 g/kg at 8 bar has its dew point near 45 °C: colder gas carries less
    // water, so it is lighter in vapour, never supersaturated.
    HumidAirFluid wet(5, "Humid air", 10);
    wet.SetYPressure(8e5);
    EXPECT_GT(wet.DewPoint(), 40);
    HumidAirFluid sat(5, "Humid air", 1000 * humidity_ratio(8e5, 10, 1.0));
    sat.SetYPressure(8e5);
    EXPECT_DOUBLE_EQ(wet.YDensity(10), sat.YDensity(10));
}

}  // namespace
}  // namespace hxq::engines::fluid
