// The single-phase engine against physics: energy balance, rating equation, limits,
// design minimality, and a counter-current case calculated by hand from Martin's
// correlation and IAPWS water.
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace hxq::engines::single_phase {
namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;
using test::give;
using test::with;

// Water 60 → 40 °C against water entering at 20 °C (2.5 kg/s), 50 kPa per side, 10 %
// over-surface, one pass.
SinglePhaseInput design_duty() {
    return with(test::water_duty(), [](auto& in) {
        give(in.MaxPressureDrop[1], 50e3);
        give(in.MaxPressureDrop[2], 50e3);
        give(in.OverSurface, 10);
        give(in.NoOfPasses[1], 1);
        give(in.NoOfPasses[2], 1);
    });
}

SinglePhaseResult run(SinglePhaseInput in) { return test::rate(std::move(in)); }

// Check rating ("X") of the duty on a given plate count.
SinglePhaseResult check_at(SinglePhaseInput in, int plates) {
    in.CalcMode = "X";
    give(in.NoOfPlates, plates);
    return run(in);
}

// Counter-current log mean temperature difference from the four temperatures.
double lmtd(const SinglePhaseResult& r) {
    const int h = r.InletTemp[1] > r.InletTemp[2] ? 1 : 2;
    const double a = r.InletTemp[h] - r.OutletTemp[3 - h];
    const double b = r.OutletTemp[h] - r.InletTemp[3 - h];
    return std::abs(a - b) < 1e-12 ? a : (a - b) / std::log(a / b);
}

// What every valid rating obeys: the hot side cools and the cold side warms, neither
// beyond the other's inlet; each side's flow times its heat capacity at its mean
// temperature times its temperature change is the load; and U A F ΔT_lm carries the load
// with the over-surface reported.
void expect_balances(const SinglePhaseInput& in, const SinglePhaseResult& r) {
    const int h = r.InletTemp[1] > r.InletTemp[2] ? 1 : 2;
    EXPECT_LT(r.OutletTemp[h], r.InletTemp[h]);
    EXPECT_GT(r.OutletTemp[3 - h], r.InletTemp[3 - h]);
    EXPECT_LE(r.OutletTemp[3 - h], r.InletTemp[h]);
    EXPECT_GE(r.OutletTemp[h], r.InletTemp[3 - h]);
    const double q = r.HeatLoad * 1000.0;
    for (int s = 1; s <= 2; ++s) {
        const double side = r.MassFlow[s] * in.Fluid[s]->YHeatCapacity(0.5 * (r.InletTemp[s] + r.OutletTemp[s])) *
                            std::abs(r.InletTemp[s] - r.OutletTemp[s]);
        EXPECT_NEAR(side / q, 1.0, 1e-9) << "side " << s;
    }
    EXPECT_NEAR(r.Kpredicted * r.HeatTransferArea * r.CorrectionFactor * lmtd(r) / q, 1 + r.OverSurface / 100, 1e-6);
}

TEST(SinglePhaseDesign, PerformanceOfTheDesignedUnitGivesBackTheDuty) {
    const SinglePhaseResult d = run(design_duty());
    ASSERT_TRUE(d.Valid);
    SinglePhaseInput p = test::water_rating(d.NoOfPlates, 60, 20, d.MassFlow[1], d.MassFlow[2]);
    give(p.OverSurface, d.OverSurface);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.HeatLoad / d.HeatLoad, 1.0, 0.005);
    EXPECT_NEAR(r.OutletTemp[1], 40.0, 0.1);
    expect_balances(p, r);

    // Without the margin held back the unit does more than the duty.
    p.OverSurface = {};
    const SinglePhaseResult full = run(p);
    EXPECT_GT(full.HeatLoad, d.HeatLoad);
    EXPECT_DOUBLE_EQ(full.OverSurface, 0.0);
}

TEST(SinglePhaseDesign, MorePlatesNeverRaiseThePressureDrop) {
    SinglePhaseResult last = run(test::water_rating(6, 80, 10, 1.5, 1.2));
    ASSERT_TRUE(last.Valid);
    for (int n = 8; n <= 120; n += 2) {
        const SinglePhaseResult r = run(test::water_rating(n, 80, 10, 1.5, 1.2));
        ASSERT_TRUE(r.Valid) << n;
        for (int s = 1; s <= 2; ++s) EXPECT_LE(r.PressureDrop[s], last.PressureDrop[s]) << n << " side " << s;
        last = r;
    }
}

TEST(SinglePhaseDesign, ForcedStockRoundsUpToAStockedCount) {
    SinglePhaseInput in = design_duty();
    const SinglePhaseResult free = run(in);
    ASSERT_TRUE(free.Valid);
    in.ForcedStock = true;
    in.StockCount = 4;
    const std::array<std::int16_t, 4> stock{10, 30, 60, 100};
    for (int i = 1; i <= 4; ++i) in.StockPlates[i] = stock[static_cast<std::size_t>(i - 1)];
    const SinglePhaseResult r = run(in);
    ASSERT_TRUE(r.Valid);
    EXPECT_EQ(r.NoOfPlates, *std::find_if(stock.begin(), stock.end(), [&](int n) { return n >= free.NoOfPlates; }));
}

// Small flows from 70 to 30 °C, 100 kPa a side: a second pass raises the velocity and
// saves plates.
SinglePhaseInput small_flows(double pass_price) {
    return with(test::water_model(), [=](auto& in) {
        give(in.InletTemp[1], 70);
        give(in.OutletTemp[1], 30);
        give(in.MassFlow[1], 0.15);
        give(in.InletTemp[2], 15);
        give(in.MassFlow[2], 0.2);
        give(in.MaxPressureDrop[1], 100e3);
        give(in.MaxPressureDrop[2], 100e3);
        in.PassPriceRatio = pass_price;
    });
}

// Low-pressure air cooled by water with no pressure-drop limit on the air: nothing but
// the gas's own pressure bounds its loss.
SinglePhaseInput low_pressure_air() {
    return with(test::water_model(), [](auto& in) {
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
    });
}

// Every design meets its duty with its margin, inside its limits and on a plate count of
// the model, and the same units with one plate step less do not. Limits, pass prices and
// the flow direction shape the unit.
TEST(SinglePhaseDesign, MeetsTheDutyInsideTheLimitsWithTheSmallestUnit) {
    const std::vector<std::pair<std::string, SinglePhaseInput>> cases{
        {"one pass", design_duty()},
        {"8 kPa on the cold side", with(design_duty(), [](auto& in) { give(in.MaxPressureDrop[2], 8e3); })},
        {"co-current", with(design_duty(), [](auto& in) { in.CounterCurrent = false; })},
        {"large flows", with(design_duty(), [](auto& in) {
             in.MaxPlates = 60;
             give(in.MassFlow[1], 12.0);
             give(in.MassFlow[2], 15.0);
             give(in.MaxPressureDrop[1], 80e3);
             give(in.MaxPressureDrop[2], 80e3);
         })},
        {"passes free", small_flows(0)},
        {"passes dear", small_flows(1000)},
        {"low-pressure air", low_pressure_air()},
    };
    std::map<std::string, SinglePhaseResult> designs;
    for (const auto& [what, in] : cases) {
        SCOPED_TRACE(what);
        const SinglePhaseResult r = designs[what] = run(in);
        ASSERT_TRUE(r.Valid) << r.ErrorCode;
        EXPECT_EQ(r.ErrorCode, 0);
        expect_balances(in, r);
        EXPECT_GE(r.OverSurface, in.OverSurface.Value);
        EXPECT_LE(r.NoOfPlates, in.MaxPlates);
        EXPECT_EQ(r.NoOfChannels[1] + r.NoOfChannels[2] + 1, r.NoOfPlates);
        EXPECT_DOUBLE_EQ(r.HeatTransferArea, r.ParallelUnits * (r.NoOfPlates - 2) * in.PlateArea);
        const auto over_limit = [&](const SinglePhaseResult& x, int s) {
            return (in.MaxPressureDrop[s].Given && x.PressureDrop[s] > in.MaxPressureDrop[s].Value * (1 + 1e-9)) ||
                   (in.Fluid[s]->YGas() && x.PressureDrop[s] >= in.Fluid[s]->YPressure());
        };
        EXPECT_FALSE(over_limit(r, 1) || over_limit(r, 2));
        const SinglePhaseResult fewer = check_at(with(in, [&](auto& x) {
            give(x.ParallelUnits, r.ParallelUnits);
            for (int s = 1; s <= 2; ++s) give(x.NoOfPasses[s], r.Passes[s]);
        }), r.NoOfPlates - 2);
        const double carried = fewer.Kpredicted * fewer.HeatTransferArea * fewer.CorrectionFactor * lmtd(fewer);
        EXPECT_TRUE(!fewer.Valid || carried < r.HeatLoad * 1000.0 * (1 + in.OverSurface.Value / 100) ||
                    over_limit(fewer, 1) || over_limit(fewer, 2));
    }
    EXPECT_EQ(designs["one pass"].ParallelUnits, 1);
    EXPECT_EQ(designs["one pass"].NoOfPasses, 1);
    EXPECT_NEAR(designs["one pass"].CorrectionFactor, 1.0, 1e-12);
    EXPECT_GT(designs["8 kPa on the cold side"].NoOfPlates, designs["one pass"].NoOfPlates);
    EXPECT_GT(designs["co-current"].NoOfPlates, designs["one pass"].NoOfPlates);
    EXPECT_LT(designs["co-current"].CorrectionFactor, 1.0);
    EXPECT_GT(designs["large flows"].ParallelUnits, 1);
    EXPECT_EQ(designs["passes dear"].NoOfPasses, 1);
    EXPECT_GT(designs["passes free"].NoOfPasses, 1);
    EXPECT_LT(designs["passes free"].NoOfPlates, designs["passes dear"].NoOfPlates);
    EXPECT_LE(designs["passes free"].CorrectionFactor, 1.0 + 1e-12);

    // One unit fewer cannot carry the large flows.
    EXPECT_FALSE(run(with(cases[3].second, [&](auto& in) {
        give(in.ParallelUnits, designs["large flows"].ParallelUnits - 1);
    })).Valid);
    // Cold outlet above the hot outlet (near 51 °C): possible counter-current only.
    const SinglePhaseInput cross = with(design_duty(), [](auto& in) { give(in.MassFlow[2], 1.3); });
    EXPECT_TRUE(run(cross).Valid);
    EXPECT_EQ(run(with(cross, [](auto& in) { in.CounterCurrent = false; })).ErrorCode, 1);
    // A much smaller unit for the air has no operating point at all.
    EXPECT_EQ(check_at(low_pressure_air(), 10).ErrorCode, 15);
}

// A flow left open is found from the pressure-drop limit of its side, which it then uses
// to the full, or from the outlet temperatures given, which it then meets.
TEST(SinglePhaseOpenFlows, FoundFromALimitOrTheOutlets) {
    // Superheated steam at 1 bar leaves at 150 °C; its inlet follows from the load. No
    // temperature of the duty lies near 0 °C, where steam at 1 bar does not exist.
    SinglePhaseInput steam = test::water_model();
    steam.Fluid[2] = fluid::create_fluid("Steam");
    give(steam.HeatLoad, 20e3);
    give(steam.InletTemp[1], 20);
    give(steam.MaxPressureDrop[1], 30e3);
    give(steam.OutletTemp[2], 150);
    give(steam.MassFlow[2], 0.2);
    give(steam.MaxPressureDrop[2], 50e3);
    const std::vector<std::pair<const char*, SinglePhaseInput>> cases{
        {"design: the cold flow from its limit", with(design_duty(), [](auto& in) {
             in.MassFlow[2] = {};
             give(in.MaxPressureDrop[2], 30e3);
         })},
        {"design: the water flow from its limit, the steam inlet from the load", steam},
        {"performance: the cold flow from its limit", with(test::water_rating(40, 80, 10, 1.0), [](auto& in) {
             in.MassFlow[2] = {};
             give(in.MaxPressureDrop[2], 20e3);
         })},
        {"performance: the cold flow from the hot outlet", with(test::water_rating(40), [](auto& in) {
             in.MassFlow[2] = {};
             give(in.OutletTemp[1], 35);
         })},
        {"performance: both flows from the outlets", with(test::water_rating(40, 80, 10), [](auto& in) {
             in.MassFlow = {};
             give(in.OutletTemp[1], 30);
             give(in.OutletTemp[2], 50);
         })},
    };
    for (const auto& [what, in] : cases) {
        SCOPED_TRACE(what);
        const SinglePhaseResult r = run(in);
        ASSERT_TRUE(r.Valid) << r.ErrorCode;
        expect_balances(in, r);
        EXPECT_GE(r.OverSurface, in.OverSurface.Value);  // 0 when not given
        if (in.HeatLoad.Given) {
            EXPECT_NEAR(r.HeatLoad * 1000.0, in.HeatLoad.Value, 1e-6);
        }
        for (int s = 1; s <= 2; ++s) {
            if (in.OutletTemp[s].Given) {
                EXPECT_NEAR(r.OutletTemp[s], in.OutletTemp[s].Value, 1e-5) << "side " << s;
            }
            if (!in.MassFlow[s].Given && in.MaxPressureDrop[s].Given) {
                EXPECT_NEAR(r.PressureDrop[s] / in.MaxPressureDrop[s].Value, 1.0, 1e-6) << "side " << s;
            }
        }
    }
}

// Counter-current rating calculated by hand from physics.md: Martin (β = 60°) with the
// viscosity ratio at the wall, IAPWS water properties, 1/U = 1/h1 + 1/h2 + t/k,
// A = (N − 2) A_plate, P1 = Pc(NTU1, R1).
TEST(SinglePhasePerformance, CounterCurrentAgreesWithAHandCalculation) {
    SinglePhaseInput p = test::water_rating(30, 60, 20, 2.0, 2.4);
    for (int s = 1; s <= 2; ++s) p.Side[s].Left = test::martin_channel(60, test::kTurbulentPoints, s);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;

    const auto& water = *p.Fluid[1];
    const double dh = 2 * test::kGap / test::kPhi, beta = 60 * test::kPi / 180, rw = test::kThickness / 16.3;
    const std::array<int, 2> channels{14, 15};  // 29 channels: side 2 holds the odd one
    const std::array<double, 2> flow{2.0, 2.4}, tin{60, 20};
    std::array<double, 2> tout{45, 35}, dp{};
    double q = 0, u = 0;
    for (int outer = 0; outer < 50; ++outer) {
        std::array<double, 2> h0{}, mean{}, mu{};
        for (std::size_t s = 0; s < 2; ++s) {
            mean[s] = 0.5 * (tin[s] + tout[s]);
            const double rho = water.YDensity(mean[s]), k = water.YConductivity(mean[s]);
            mu[s] = water.YViscosity(mean[s]);
            const double m_ch = flow[s] / channels[s];
            const double re = 2 * m_ch / (test::kPhi * test::kWidth * mu[s]);
            const double xi = test::martin_xi(re, 60);
            const double pr = mu[s] * water.YHeatCapacity(mean[s]) / k;
            h0[s] = 0.122 * std::cbrt(pr) * std::pow(xi * re * re * std::sin(2 * beta), 0.374) * k / dh;
            const double w = m_ch / (rho * test::kGap * test::kWidth);
            dp[s] = xi * test::kLength / dh * rho * w * w / 2;
        }
        // Wall temperatures from the resistances at the mean temperatures.
        std::array<double, 2> h = h0;
        for (int it = 0; it < 20; ++it) {
            const double qf = (mean[0] - mean[1]) / (1 / h[0] + 1 / h[1] + rw);
            const std::array<double, 2> wall{mean[0] - qf / h[0], mean[1] + qf / h[1]};
            for (std::size_t s = 0; s < 2; ++s) h[s] = h0[s] * std::pow(mu[s] / water.YViscosity(wall[s]), 1.0 / 6);
        }
        u = 1 / (1 / h[0] + 1 / h[1] + rw);
        const double area = (30 - 2) * test::kWidth * test::kLength * test::kPhi;
        const double c1 = flow[0] * water.YHeatCapacity(mean[0]), c2 = flow[1] * water.YHeatCapacity(mean[1]);
        const double e = std::exp(-u * area / c1 * (1 - c1 / c2));
        q = (1 - e) / (1 - c1 / c2 * e) * c1 * (tin[0] - tin[1]);
        tout = {tin[0] - q / c1, tin[1] + q / c2};
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
    SinglePhaseInput p = test::water_rating(40, 60, 20, 2.0, 2.0);
    p.Side[1].Right = test::martin_channel(30, test::kWidePoints, 7);
    const SinglePhaseResult mixed = run(p);
    ASSERT_TRUE(mixed.Valid) << mixed.ErrorCode;
    EXPECT_EQ(mixed.Channelout[1][1] + mixed.Channelout[1][2], mixed.NoOfChannels[1]);
    EXPECT_EQ(mixed.Channelout[1][2], mixed.NoOfChannels[1] / 2);
    expect_balances(p, mixed);
    // Low-angle channels lower the pressure drop and the heat transfer of the side.
    p.Side[1].Right = {};
    const SinglePhaseResult high = run(p);
    EXPECT_LT(mixed.ChannelPressureDrop[1], high.ChannelPressureDrop[1]);
    EXPECT_LT(mixed.FilmCoefficient[1], high.FilmCoefficient[1]);
}

}  // namespace
}  // namespace hxq::engines::single_phase
