// The single-phase engine against physics: energy balance, rating equation, limits,
// design minimality, and a counter-current case calculated by hand from Martin's
// correlation and IAPWS water.
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::engines::single_phase {
namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;
using test::give;

// Water 60 → 40 °C against water entering at 20 °C (2.5 kg/s), 50 kPa per side, 10 %
// over-surface, one pass.
SinglePhaseInput design_duty() {
    SinglePhaseInput in = test::water_duty();
    give(in.MaxPressureDrop[1], 50e3);
    give(in.MaxPressureDrop[2], 50e3);
    give(in.OverSurface, 10);
    give(in.NoOfPasses[1], 1);
    give(in.NoOfPasses[2], 1);
    return in;
}

SinglePhaseResult run(SinglePhaseInput in) { return test::rate(std::move(in)); }

double cp(const SinglePhaseInput& in, int side, double t) { return in.Fluid[side]->YHeatCapacity(t); }

// Counter-current log mean temperature difference from the four temperatures.
double lmtd(const SinglePhaseResult& r) {
    const int h = r.InletTemp[1] > r.InletTemp[2] ? 1 : 2;
    const int c = 3 - h;
    const double a = r.InletTemp[h] - r.OutletTemp[c];
    const double b = r.OutletTemp[h] - r.InletTemp[c];
    return std::abs(a - b) < 1e-12 ? a : (a - b) / std::log(a / b);
}

// Q of each side from its flow and the heat capacity at its mean temperature.
void expect_energy_balance(const SinglePhaseInput& in, const SinglePhaseResult& r) {
    const double q = r.HeatLoad * 1000.0;
    for (int s = 1; s <= 2; ++s) {
        const double side = r.MassFlow[s] * cp(in, s, 0.5 * (r.InletTemp[s] + r.OutletTemp[s])) *
                            std::abs(r.InletTemp[s] - r.OutletTemp[s]);
        EXPECT_NEAR(side / q, 1.0, 1e-9) << "side " << s;
    }
}

// Check rating ("X") of the duty on a given plate count.
SinglePhaseResult check_at(SinglePhaseInput in, int plates) {
    in.CalcMode = "X";
    give(in.NoOfPlates, plates);
    return run(in);
}

TEST(SinglePhaseDesign, MeetsTheDutyWithMarginAndOnePlateFewerDoesNot) {
    const SinglePhaseInput in = design_duty();
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_EQ(r.ErrorCode, 0);
    EXPECT_EQ(r.ParallelUnits, 1);
    EXPECT_EQ(r.NoOfPasses, 1);
    EXPECT_EQ(r.NoOfPlates % 2, 0);
    EXPECT_EQ(r.NoOfChannels[1] + r.NoOfChannels[2] + 1, r.NoOfPlates);
    EXPECT_DOUBLE_EQ(r.HeatTransferArea, (r.NoOfPlates - 2) * in.PlateArea);
    expect_energy_balance(in, r);

    const double q = r.HeatLoad * 1000.0;
    const double ua_dt = r.Kpredicted * r.HeatTransferArea * lmtd(r);
    EXPECT_GE(ua_dt, q * 1.10);
    EXPECT_NEAR(r.OverSurface, 100.0 * (ua_dt / q - 1.0), 1e-6);
    for (int s = 1; s <= 2; ++s) EXPECT_LE(r.PressureDrop[s], 50e3 * (1 + 1e-9));

    const SinglePhaseResult fewer = check_at(in, r.NoOfPlates - 2);
    ASSERT_TRUE(fewer.Valid) << fewer.ErrorCode;
    const bool short_of_area = fewer.Kpredicted * fewer.HeatTransferArea * lmtd(fewer) < q * 1.10;
    const bool over_limit = fewer.PressureDrop[1] > 50e3 || fewer.PressureDrop[2] > 50e3;
    EXPECT_TRUE(short_of_area || over_limit);
}

TEST(SinglePhaseDesign, PerformanceOfTheDesignedUnitGivesBackTheDuty) {
    const SinglePhaseInput in = design_duty();
    const SinglePhaseResult d = run(in);
    ASSERT_TRUE(d.Valid);

    SinglePhaseInput p = test::water_model();
    p.CalcMode = "P";
    give(p.InletTemp[1], 60);
    give(p.InletTemp[2], 20);
    give(p.MassFlow[1], d.MassFlow[1]);
    give(p.MassFlow[2], d.MassFlow[2]);
    give(p.NoOfPlates, d.NoOfPlates);
    give(p.OverSurface, d.OverSurface);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.HeatLoad / d.HeatLoad, 1.0, 0.005);
    EXPECT_NEAR(r.OutletTemp[1], 40.0, 0.1);
    expect_energy_balance(p, r);
    EXPECT_LE(r.OutletTemp[2], r.InletTemp[1]);

    // Without the margin held back the unit does more than the duty.
    p.OverSurface = {};
    const SinglePhaseResult full = run(p);
    EXPECT_GT(full.HeatLoad, d.HeatLoad);
    EXPECT_DOUBLE_EQ(full.OverSurface, 0.0);
}

TEST(SinglePhaseDesign, PressureDropLimitDrivesThePlateCount) {
    SinglePhaseInput loose = design_duty();
    SinglePhaseInput tight = design_duty();
    give(tight.MaxPressureDrop[2], 8e3);
    const SinglePhaseResult a = run(loose);
    const SinglePhaseResult b = run(tight);
    ASSERT_TRUE(a.Valid && b.Valid);
    EXPECT_GT(b.NoOfPlates, a.NoOfPlates);
    EXPECT_LE(b.PressureDrop[2], 8e3 * (1 + 1e-9));
    const SinglePhaseResult fewer = check_at(tight, b.NoOfPlates - 2);
    EXPECT_GT(fewer.PressureDrop[2], 8e3);
}

TEST(SinglePhaseDesign, MorePlatesNeverRaiseThePressureDrop) {
    SinglePhaseInput p = test::water_model();
    p.CalcMode = "P";
    give(p.InletTemp[1], 80);
    give(p.InletTemp[2], 10);
    give(p.MassFlow[1], 1.5);
    give(p.MassFlow[2], 1.2);
    std::array<double, 2> last{1e300, 1e300};
    for (int n = 6; n <= 120; n += 2) {
        give(p.NoOfPlates, n);
        const SinglePhaseResult r = run(p);
        ASSERT_TRUE(r.Valid) << n;
        for (int s = 1; s <= 2; ++s) {
            EXPECT_LE(r.PressureDrop[s], last[static_cast<std::size_t>(s - 1)]) << n << " side " << s;
            last[static_cast<std::size_t>(s - 1)] = r.PressureDrop[s];
        }
    }
}

TEST(SinglePhaseDesign, LargeFlowsTakeUnitsInParallel) {
    SinglePhaseInput in = design_duty();
    in.MaxPlates = 60;
    give(in.MassFlow[1], 12.0);
    give(in.MassFlow[2], 15.0);
    give(in.MaxPressureDrop[1], 80e3);
    give(in.MaxPressureDrop[2], 80e3);
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_GT(r.ParallelUnits, 1);
    EXPECT_LE(r.NoOfPlates, 60);
    expect_energy_balance(in, r);
    EXPECT_DOUBLE_EQ(r.HeatTransferArea, r.ParallelUnits * (r.NoOfPlates - 2) * in.PlateArea);
    EXPECT_GE(r.Kpredicted * r.HeatTransferArea * lmtd(r), r.HeatLoad * 1000.0 * 1.10);
    for (int s = 1; s <= 2; ++s) EXPECT_LE(r.PressureDrop[s], 80e3 * (1 + 1e-9));

    // One unit fewer cannot carry it.
    give(in.ParallelUnits, r.ParallelUnits - 1);
    EXPECT_FALSE(run(in).Valid);
}

TEST(SinglePhaseDesign, ForcedStockRoundsUpToAStockedCount) {
    SinglePhaseInput in = design_duty();
    const SinglePhaseResult free = run(in);
    ASSERT_TRUE(free.Valid);
    in.ForcedStock = true;
    in.StockCount = 4;
    in.StockPlates[1] = 10;
    in.StockPlates[2] = 30;
    in.StockPlates[3] = 60;
    in.StockPlates[4] = 100;
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid);
    int expected = 0;
    for (int n : {10, 30, 60, 100})
        if (expected == 0 && n >= free.NoOfPlates) expected = n;
    EXPECT_EQ(r.NoOfPlates, expected);
}

TEST(SinglePhaseDesign, PassPriceDecidesBetweenPassesAndPlates) {
    // Small flows: a second pass raises the velocity and saves plates.
    SinglePhaseInput in = test::water_model();
    give(in.InletTemp[1], 70);
    give(in.OutletTemp[1], 30);
    give(in.MassFlow[1], 0.15);
    give(in.InletTemp[2], 15);
    give(in.MassFlow[2], 0.2);
    give(in.MaxPressureDrop[1], 100e3);
    give(in.MaxPressureDrop[2], 100e3);
    in.PassPriceRatio = 0;
    const SinglePhaseResult cheap = run(in);
    in.PassPriceRatio = 1000;
    const SinglePhaseResult dear = run(in);
    ASSERT_TRUE(cheap.Valid && dear.Valid);
    EXPECT_EQ(dear.NoOfPasses, 1);
    EXPECT_GT(cheap.NoOfPasses, 1);
    EXPECT_LT(cheap.NoOfPlates, dear.NoOfPlates);
    expect_energy_balance(in, cheap);
    // The multi-pass unit meets the duty with its own mean temperature difference.
    EXPECT_GE(cheap.OverSurface, -1e-9);
    EXPECT_LE(cheap.CorrectionFactor, 1.0 + 1e-12);
}

TEST(SinglePhaseDesign, CoCurrentNeedsMoreAreaAndRefusesACross) {
    SinglePhaseInput in = design_duty();
    const SinglePhaseResult counter = run(in);
    in.CounterCurrent = false;
    const SinglePhaseResult co = run(in);
    ASSERT_TRUE(counter.Valid && co.Valid);
    EXPECT_GT(co.NoOfPlates, counter.NoOfPlates);
    EXPECT_LT(co.CorrectionFactor, 1.0);
    // Cold outlet above the hot outlet: possible counter-current only.
    SinglePhaseInput cross = design_duty();
    give(cross.MassFlow[2], 1.3);  // leaves near 51 °C, above the hot outlet
    EXPECT_TRUE(run(cross).Valid);
    cross.CounterCurrent = false;
    EXPECT_EQ(run(cross).ErrorCode, 1);
}

TEST(SinglePhaseDesign, FlowFromThePressureDropLimit) {
    // Cold flow left open: the design uses the side-2 limit to the full.
    SinglePhaseInput in = design_duty();
    in.MassFlow[2] = {};
    give(in.MaxPressureDrop[2], 30e3);
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.PressureDrop[2] / 30e3, 1.0, 1e-6);
    expect_energy_balance(in, r);
    EXPECT_GE(r.Kpredicted * r.HeatTransferArea * lmtd(r), r.HeatLoad * 1000.0 * 1.10);
}

TEST(SinglePhaseDesign, FlowFromTheLimitWhileTheOtherInletFollowsFromTheLoad) {
    // Superheated steam at 1 bar leaves at 150 °C; its inlet follows from the load. The
    // water's flow uses its limit. No temperature of the duty lies near 0 °C, where steam
    // at 1 bar does not exist.
    SinglePhaseInput in = test::water_model();
    in.Fluid[2] = fluid::create_fluid("Steam");
    give(in.HeatLoad, 20e3);
    give(in.InletTemp[1], 20);
    give(in.MaxPressureDrop[1], 30e3);
    give(in.OutletTemp[2], 150);
    give(in.MassFlow[2], 0.2);
    give(in.MaxPressureDrop[2], 50e3);
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.PressureDrop[1] / 30e3, 1.0, 1e-6);
    EXPECT_NEAR(r.HeatLoad, 20.0, 1e-9);
    EXPECT_GT(r.InletTemp[2], 150.0);
    expect_energy_balance(in, r);
}

TEST(SinglePhasePerformance, OpenFlowIsFoundFromAnOutletTemperature) {
    SinglePhaseInput p = test::water_model();
    p.CalcMode = "P";
    give(p.NoOfPlates, 40);
    give(p.InletTemp[1], 60);
    give(p.InletTemp[2], 20);
    give(p.MassFlow[1], 2.0);
    give(p.OutletTemp[1], 35);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.OutletTemp[1], 35.0, 1e-6);
    expect_energy_balance(p, r);
    // Rating with the flow it found reproduces the outlet.
    SinglePhaseInput back = p;
    back.OutletTemp[1] = {};
    give(back.MassFlow[2], r.MassFlow[2]);
    EXPECT_NEAR(run(back).OutletTemp[1], 35.0, 1e-5);
}

TEST(SinglePhasePerformance, FlowsFromALimitOrFromBothOutlets) {
    SinglePhaseInput p = test::water_model();
    p.CalcMode = "P";
    give(p.NoOfPlates, 40);
    give(p.InletTemp[1], 80);
    give(p.InletTemp[2], 10);
    give(p.MassFlow[1], 1.0);
    give(p.MaxPressureDrop[2], 20e3);
    const SinglePhaseResult by_limit = run(p);
    ASSERT_TRUE(by_limit.Valid) << by_limit.ErrorCode;
    EXPECT_NEAR(by_limit.PressureDrop[2] / 20e3, 1.0, 1e-6);
    expect_energy_balance(p, by_limit);

    SinglePhaseInput q = test::water_model();
    q.CalcMode = "P";
    give(q.NoOfPlates, 40);
    give(q.InletTemp[1], 80);
    give(q.InletTemp[2], 10);
    give(q.OutletTemp[1], 30);
    give(q.OutletTemp[2], 50);
    const SinglePhaseResult outlets = run(q);
    ASSERT_TRUE(outlets.Valid) << outlets.ErrorCode;
    EXPECT_NEAR(outlets.OutletTemp[1], 30.0, 1e-5);
    EXPECT_NEAR(outlets.OutletTemp[2], 50.0, 1e-5);
    expect_energy_balance(q, outlets);
    // The unit carries exactly that load: no area to spare, none missing.
    EXPECT_NEAR(outlets.Kpredicted * outlets.HeatTransferArea * lmtd(outlets) / (outlets.HeatLoad * 1000), 1.0, 1e-6);
}

// Counter-current rating calculated by hand from physics.md: Martin (β = 60°) with the
// viscosity ratio at the wall, IAPWS water properties, 1/U = 1/h1 + 1/h2 + t/k,
// A = (N − 2) A_plate, P1 = Pc(NTU1, R1).
TEST(SinglePhasePerformance, CounterCurrentAgreesWithAHandCalculation) {
    SinglePhaseInput p = test::water_model(60, test::kTurbulentPoints);
    p.CalcMode = "P";
    const int plates = 30;
    give(p.NoOfPlates, plates);
    give(p.InletTemp[1], 60);
    give(p.InletTemp[2], 20);
    give(p.MassFlow[1], 2.0);
    give(p.MassFlow[2], 2.4);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;

    const auto& water = *p.Fluid[1];
    const double dh = 2 * test::kGap / test::kPhi;
    const double beta = 60;
    // 29 channels: side 2 holds the odd one.
    const std::array<int, 2> channels{14, 15};
    const std::array<double, 2> flow{2.0, 2.4};
    std::array<double, 2> tin{60, 20};
    std::array<double, 2> tout{45, 35};
    double q = 0;
    double u = 0;
    std::array<double, 2> dp{};
    for (int outer = 0; outer < 50; ++outer) {
        std::array<double, 2> h0{};
        std::array<double, 2> mean{};
        std::array<double, 2> mu{};
        for (int s = 0; s < 2; ++s) {
            const auto i = static_cast<std::size_t>(s);
            mean[i] = 0.5 * (tin[i] + tout[i]);
            const double rho = water.YDensity(mean[i]);
            const double cpv = water.YHeatCapacity(mean[i]);
            const double k = water.YConductivity(mean[i]);
            mu[i] = water.YViscosity(mean[i]);
            const double m_ch = flow[i] / channels[i];
            const double re = 2 * m_ch / (test::kPhi * test::kWidth * mu[i]);
            const double xi = test::martin_xi(re, beta);
            const double pr = mu[i] * cpv / k;
            h0[i] = 0.122 * std::cbrt(pr) * std::pow(xi * re * re * std::sin(2 * beta * test::kPi / 180), 0.374) * k / dh;
            const double w = m_ch / (rho * test::kGap * test::kWidth);
            dp[i] = xi * test::kLength / dh * rho * w * w / 2;
        }
        // Wall temperatures from the resistances at the mean temperatures.
        std::array<double, 2> h = h0;
        for (int it = 0; it < 20; ++it) {
            const double rw = test::kThickness / 16.3;
            const double qf = (mean[0] - mean[1]) / (1 / h[0] + 1 / h[1] + rw);
            const std::array<double, 2> wall{mean[0] - qf / h[0], mean[1] + qf / h[1]};
            for (std::size_t s = 0; s < 2; ++s) h[s] = h0[s] * std::pow(mu[s] / water.YViscosity(wall[s]), 1.0 / 6);
        }
        u = 1 / (1 / h[0] + 1 / h[1] + test::kThickness / 16.3);
        const double area = (plates - 2) * test::kWidth * test::kLength * test::kPhi;
        const double c1 = flow[0] * water.YHeatCapacity(mean[0]);
        const double c2 = flow[1] * water.YHeatCapacity(mean[1]);
        const double ntu = u * area / c1;
        const double r1 = c1 / c2;
        const double e = std::exp(-ntu * (1 - r1));
        const double p1 = (1 - e) / (1 - r1 * e);
        q = p1 * c1 * (tin[0] - tin[1]);
        tout[0] = tin[0] - q / c1;
        tout[1] = tin[1] + q / c2;
    }
    EXPECT_NEAR(r.HeatLoad * 1000.0 / q, 1.0, 0.01);
    EXPECT_NEAR(r.Kpredicted / u, 1.0, 0.01);
    EXPECT_NEAR(r.ChannelPressureDrop[1] / dp[0], 1.0, 0.01);
    EXPECT_NEAR(r.ChannelPressureDrop[2] / dp[1], 1.0, 0.01);
    EXPECT_EQ(r.NoOfChannels[1], 14);
    EXPECT_EQ(r.NoOfChannels[2], 15);
    // Port loss: 1.4 velocity heads plus the slit's 0.5 per pass.
    const double g = 2.0 / (test::kPi * test::kPort * test::kPort / 4);
    const double rho1 = water.YDensity(0.5 * (r.InletTemp[1] + r.OutletTemp[1]));
    EXPECT_NEAR(r.PortPressureDrop[1], 1.9 * g * g / (2 * rho1), 1e-6 * r.PortPressureDrop[1]);
    EXPECT_NEAR(r.PortVelocity[1], g / rho1, 1e-9);
    // Walls lie between the fluids; viscosity reported in mPa s.
    EXPECT_GT(r.MeanWallTemp[1], r.MeanWallTemp[2]);
    EXPECT_LT(r.MaxTemp[2], r.InletTemp[1]);
    EXPECT_NEAR(r.Viscosity[1], 1000 * water.YViscosity(r.RefTemp[1]), 1e-9);
    EXPECT_GT(r.WallViscosity[1], r.Viscosity[1]);  // the hot side's wall is colder
    for (int s = 1; s <= 2; ++s)
        EXPECT_NEAR(r.WallViscosity[s] / (1000 * water.YViscosity(r.MeanWallTemp[s])), 1.0, 1e-6);
}

TEST(SinglePhasePerformance, MixedChannelsSplitTheFlowAtEqualPressureDrop) {
    SinglePhaseInput p = test::water_model();
    p.Side[1].Right = test::martin_channel(30, test::kWidePoints, 7);
    p.CalcMode = "P";
    give(p.NoOfPlates, 40);
    give(p.InletTemp[1], 60);
    give(p.InletTemp[2], 20);
    give(p.MassFlow[1], 2.0);
    give(p.MassFlow[2], 2.0);
    const SinglePhaseResult mixed = run(p);
    ASSERT_TRUE(mixed.Valid) << mixed.ErrorCode;
    EXPECT_EQ(mixed.Channelout[1][1] + mixed.Channelout[1][2], mixed.NoOfChannels[1]);
    EXPECT_EQ(mixed.Channelout[1][2], mixed.NoOfChannels[1] / 2);
    SinglePhaseInput plain = p;
    plain.Side[1].Right = {};
    const SinglePhaseResult high = run(plain);
    // Low-angle channels lower the pressure drop and the heat transfer of the side.
    EXPECT_LT(mixed.ChannelPressureDrop[1], high.ChannelPressureDrop[1]);
    EXPECT_LT(mixed.FilmCoefficient[1], high.FilmCoefficient[1]);
    expect_energy_balance(p, mixed);
}

}  // namespace
}  // namespace hxq::engines::single_phase

namespace hxq::engines::single_phase {
namespace {

// Low-pressure air cooled by water with no pressure-drop limit: nothing but the gas's own
// pressure bounds the air side's loss.
SinglePhaseInput low_pressure_air_duty() {
    SinglePhaseInput in = test::water_model();
    in.Fluid[1] = fluid::create_fluid("Air");
    in.Fluid[1]->SetYPressure(1.5e5);
    give(in.InletTemp[1], 110);
    give(in.OutletTemp[1], 40);
    give(in.MassFlow[1], 0.6);
    give(in.InletTemp[2], 20);
    give(in.MassFlow[2], 2.0);
    give(in.MaxPressureDrop[2], 50e3);
    give(in.NoOfPasses[1], 1);
    give(in.NoOfPasses[2], 1);
    return in;
}

TEST(SinglePhaseGas, DesignNeverLosesMoreThanTheGasPressure) {
    const SinglePhaseInput in = low_pressure_air_duty();
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_LT(r.PressureDrop[1], 1.5e5);
    // The unit the search settled on is the smallest that keeps the pressure: a check
    // rating of a much smaller unit of the same duty has no operating point.
    const SinglePhaseResult tiny = check_at(in, 10);
    EXPECT_FALSE(tiny.Valid);
    EXPECT_EQ(tiny.ErrorCode, 15);
}

}  // namespace
}  // namespace hxq::engines::single_phase
