#include "engines/fluid/air.h"
#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/glycol.h"
#include "fluid_test_util.h"

#include <gtest/gtest.h>

namespace hxq::engines::fluid {
namespace {

using testing::read_csv;
using testing::rel;

TEST(FluidGlycol, MatchesReferenceWithinOnePercent) {
    const auto t = read_csv("glycol.csv");
    ASSERT_GT(t.rows.size(), 200u);
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const double T = t.num(i, "T_C");
        auto f = create_fluid(t.text(i, "fluid"), t.num(i, "x_mass_pct"));
        const std::string where = t.text(i, "fluid") + " " + t.text(i, "x_mass_pct") + " % " +
                                  t.text(i, "T_C") + " °C";
        EXPECT_NEAR(rel(f->YDensity(T), t.num(i, "rho_kg_m3")), 0, 0.01) << where;
        EXPECT_NEAR(rel(f->YHeatCapacity(T), t.num(i, "cp_J_kgK")), 0, 0.01) << where;
        EXPECT_NEAR(rel(f->YConductivity(T), t.num(i, "lambda_W_mK")), 0, 0.01) << where;
        EXPECT_NEAR(rel(f->YViscosity(T), t.num(i, "mu_Pa_s")), 0, 0.01) << where;
    }
}

TEST(FluidGlycol, FreezingPointsAndLimits) {
    const auto t = read_csv("glycol_freezing.csv");
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const auto kind = t.text(i, "fluid") == "MEG" ? Glycol::Ethylene : Glycol::Propylene;
        EXPECT_NEAR(glycol_freezing_point(kind, t.num(i, "x_mass_pct")), t.num(i, "T_freeze_C"), 0.5)
            << t.text(i, "fluid") << " " << t.text(i, "x_mass_pct");
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
    const auto t = read_csv("air.csv");
    auto air = create_fluid("Air");
    EXPECT_TRUE(air->YGas());
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const double T = t.num(i, "T_C");
        air->SetYPressure(t.num(i, "p_Pa"));
        const std::string where = t.text(i, "p_bar_abs") + " bar " + t.text(i, "T_C") + " °C";
        EXPECT_NEAR(rel(air->YDensity(T), t.num(i, "rho_kg_m3")), 0, 0.01) << where;
        EXPECT_NEAR(rel(air->YHeatCapacity(T), t.num(i, "cp_J_kgK")), 0, 0.01) << where;
        EXPECT_NEAR(rel(air->YConductivity(T), t.num(i, "lambda_W_mK")), 0, 0.01) << where;
        EXPECT_NEAR(rel(air->YViscosity(T), t.num(i, "mu_Pa_s")), 0, 0.01) << where;
    }
}

TEST(FluidAir, HumidAirDensityAndPressureDewPoint) {
    const auto h = read_csv("humid_air.csv");
    for (std::size_t i = 0; i < h.rows.size(); ++i) {
        const double p = h.num(i, "P_Pa"), T = h.num(i, "T_C"), w = h.num(i, "W_kg_kg_dry");
        const std::string where = h.text(i, "P_Pa") + " Pa " + h.text(i, "T_C") + " °C RH " +
                                  h.text(i, "RH");
        EXPECT_NEAR(rel(humidity_ratio(p, T, h.num(i, "RH")), w), 0, 0.01) << where;
        EXPECT_NEAR(dew_point(p, w), h.num(i, "T_dewpoint_C"), 0.05) << where;
        auto air = create_fluid("Humid air", w * 1000);
        air->SetYPressure(p);
        // The reference column is (1 + W)/Vha with Vha already per kg of humid air, so
        // it is (1 + W) times the density; divided back here.
        EXPECT_NEAR(rel(air->YDensity(T), h.num(i, "rho_humid_air_kg_m3") / (1 + w)), 0, 0.01)
            << where;
    }
    const auto c = read_csv("humid_air_compressed.csv");
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        auto air = std::make_shared<HumidAirFluid>(5, "Humid air", 1000 * c.num(i, "W_kg_kg_dry"));
        air->SetYPressure(c.num(i, "P_Pa"));
        EXPECT_NEAR(air->DewPoint(), c.num(i, "T_dewpoint_at_P_C"), 0.05) << c.text(i, "P_Pa");
    }
}

TEST(FluidAir, SaturationOverIceAndWater) {
    const auto t = read_csv("water_vapor_saturation.csv");
    for (std::size_t i = 0; i < t.rows.size(); ++i)
        EXPECT_NEAR(rel(water_vapour_saturation_pressure(t.num(i, "T_C")), t.num(i, "p_ws_Pa")), 0,
                    1e-6)
            << t.text(i, "T_C");
    // IAPWS R14-08 check value of the sublimation curve.
    EXPECT_NEAR(rel(water_vapour_saturation_pressure(230 - 273.15), 8.94735), 0, 1e-6);
}

TEST(FluidAir, BelowTheDewPointTheGasIsSaturated) {
    // Air with 10 g/kg at 8 bar has its dew point near 45 °C: colder gas carries less
    // water, so it is lighter in vapour, never supersaturated.
    HumidAirFluid wet(5, "Humid air", 10);
    wet.SetYPressure(8e5);
    const double td = wet.DewPoint();
    EXPECT_GT(td, 40);
    const double w_at_10 = humidity_ratio(8e5, 10, 1.0);
    HumidAirFluid sat(5, "Humid air", 1000 * w_at_10);
    sat.SetYPressure(8e5);
    EXPECT_DOUBLE_EQ(wet.YDensity(10), sat.YDensity(10));
    EXPECT_THROW(create_fluid("Air")->YDensity(150), OutOfRange);
}

}  // namespace
}  // namespace hxq::engines::fluid
