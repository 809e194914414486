// The single-phase engine on a small plate model with channel laws laid through Martin's
// correlation: laws and pass arrangements against published values, every code a real duty
// reaches, and ratings against physics (balances, limits, minimal designs, a hand calculation).
#include "engines/single_phase/pntu.h"
#include "engines/single_phase/power_law.h"
#include "engines/single_phase/rating.h"
#include "engines/single_phase/single_phase_engine.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace hxq::engines::single_phase {
namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;
using namespace test;

// The model: Martin's 60° channel on both sides.
SinglePhaseInput water_model() {
    SinglePhaseInput in;
    in.Fluid[1] = fluid::create_fluid("Water");
    in.Fluid[2] = fluid::create_fluid("Water");
    in.plateThickness = kThickness;
    in.Enlargement = kPhi;
    in.Dh = 2 * kGap / kPhi;
    in.PlateArea = kWidth * kLength * kPhi;
    in.FlowLength = kLength;
    in.FlowWidth = kWidth;
    in.CoCurrHTCFactor = 0.9;
    in.MaxPasses = 3;
    in.MaxPlates = 150;
    in.PortMassFluxLimit[1] = 2000;
    in.PortMassFluxLimit[2] = 2000;
    in.WallConductivity = 16.3;
    for (int s = 1; s <= 2; ++s) {
        in.Side[s].Left = martin_channel(60, kWidePoints, s);
        in.Side[s].PortDiaUp = kPort;
        in.Side[s].PortDiaDown = kPort;
        in.Side[s].PortDia = kPort;
        in.Side[s].SlitResistance = 0.5;
    }
    return in;
}

// Changes of a duty, for tables of duties: with(water_duty(), {open_flow(2), outlet(2, 70)}).
using Change = std::function<void(SinglePhaseInput&)>;

SinglePhaseInput with(SinglePhaseInput in, std::initializer_list<Change> changes) {
    for (const Change& change : changes) change(in);
    return in;
}
Change inlet(int side, double t) { return [=](auto& in) { give(in.InletTemp[side], t); }; }
Change outlet(int side, double t) { return [=](auto& in) { give(in.OutletTemp[side], t); }; }
Change flow(int side, double kg_s) { return [=](auto& in) { give(in.MassFlow[side], kg_s); }; }
Change limit(int side, double pa) { return [=](auto& in) { give(in.MaxPressureDrop[side], pa); }; }
Change load(double w) { return [=](auto& in) { give(in.HeatLoad, w); }; }
Change units(int n) { return [=](auto& in) { give(in.ParallelUnits, n); }; }
Change open_flow(int side) { return [=](auto& in) { in.MassFlow[side] = {}; }; }
Change open_inlet(int side) { return [=](auto& in) { in.InletTemp[side] = {}; }; }
Change passes(int side1, int side2) {
    return [=](auto& in) {
        give(in.NoOfPasses[1], side1);
        give(in.NoOfPasses[2], side2);
    };
}

// Water 60 → 40 °C (2 kg/s) heating water entering at 20 °C (2.5 kg/s).
SinglePhaseInput water_duty(std::initializer_list<Change> changes = {}) {
    return with(with(water_model(), {inlet(1, 60), outlet(1, 40), flow(1, 2.0), inlet(2, 20), flow(2, 2.5)}), changes);
}

// Performance ("P") of the water model with both inlets and flows; plates 0: not given.
SinglePhaseInput water_rating(int plates, double t1 = 60, double t2 = 20, double m1 = 2.0, double m2 = 2.5) {
    SinglePhaseInput in = with(water_model(), {inlet(1, t1), inlet(2, t2), flow(1, m1), flow(2, m2)});
    in.CalcMode = "P";
    if (plates > 0) give(in.NoOfPlates, plates);
    return in;
}

SinglePhaseInput rating(int plates, std::initializer_list<Change> changes = {}) {
    return with(water_rating(plates), changes);
}

// One Calculate call on a fresh engine.
SinglePhaseResult run(SinglePhaseInput in) {
    SinglePhaseResult r;
    SinglePhaseEngine().Calculate(in, r);
    return r;
}

// The law of the example in docs/engine-records.md: one breakpoint at Re 2000.
core::SinglePhaseChannel one_break() {
    core::SinglePhaseChannel ch;
    ch.Defined = true;
    ch.cFp = 4;
    ch.noFp = 1;
    ch.xFp[0] = -0.3;
    ch.xFp[1] = -0.1;
    ch.crFp[1] = 2000;
    ch.cnu = 0.3;
    ch.noNu = 0;
    ch.xNu[0] = 0.7;
    return ch;
}

TEST(SinglePhaseLaws, DocumentedExampleIsContinuousAtTheBreakpoint) {
    const PowerLaw xi = PowerLaw::friction(one_break());
    ASSERT_TRUE(xi.valid());
    EXPECT_NEAR(xi(5000), 0.37321, 5e-5);
    EXPECT_NEAR(xi(2000), 0.40903, 5e-5);
    EXPECT_NEAR(xi(1999.999), xi(2000), 1e-6);
    EXPECT_DOUBLE_EQ(PowerLaw::heat_transfer(one_break())(1000), 0.3 * std::pow(1000.0, 0.7));  // no breakpoint
}

// physics.md tabulates Martin's Nu at Pr = 5, η/η_w = 1, and ξ(60°, 2000) = 1.9813. The
// laws laid through it pass its points, and ξ Re² inverts in every range.
TEST(SinglePhaseLaws, MartinChannelFollowsThePublishedTableAndInverts) {
    EXPECT_NEAR(martin_xi(2000, 60), 1.9813, 1e-4);
    struct Nu {
        double re, beta, nu;
    };
    for (const Nu& c : {Nu{2000, 60, 75.20}, {10000, 30, 138.25}, {500, 30, 16.51}, {2000, 65, 80.95}})
        EXPECT_NEAR(martin_nu_group(c.re, c.beta) * std::cbrt(5.0), c.nu, 0.01) << c.re << " " << c.beta;
    const PowerLaw nu = PowerLaw::heat_transfer(martin_channel(60, kWidePoints));
    EXPECT_NEAR(nu(5000), martin_nu_group(5000, 60), 1e-9);
    EXPECT_NEAR(nu(8000) / martin_nu_group(8000, 60), 1.0, 0.03);  // between the points
    const PowerLaw xi = PowerLaw::friction(martin_channel(60, kWidePoints));
    for (double re : {50.0, 250.0, 1500.0, 2000.0, 7000.0, 25000.0, 80000.0})
        EXPECT_NEAR(xi.inverse_times_re2(xi(re) * re * re), re, 1e-9 * re) << re;
}

TEST(SinglePhaseLaws, DataThatDescribeNoLawAreRefused) {
    struct Broken {
        const char* what;
        void (*change)(core::SinglePhaseChannel&);
        bool friction;
    };
    for (const Broken& c : {
             Broken{"a negative breakpoint", [](auto& ch) { ch.crFp[1] = -5; }, true},
             {"a breakpoint below the one before", [](auto& ch) { ch.noFp = 2; ch.crFp[2] = 1000; }, true},
             {"seven breakpoints", [](auto& ch) { ch.noFp = 7; }, true},
             {"a pressure drop that falls as the flow rises", [](auto& ch) { ch.xFp[1] = -2.5; }, true},
             {"no coefficient", [](auto& ch) { ch.cnu = 0; }, false},
         }) {
        auto ch = one_break();
        c.change(ch);
        EXPECT_FALSE((c.friction ? PowerLaw::friction(ch) : PowerLaw::heat_transfer(ch)).valid()) << c.what;
    }
}

TEST(SinglePhasePassArrangements, MultiPassMatchesKandlikarShah) {
    // physics.md check: 3-pass/1-pass, R1 = 1/3, NTU1 = 1 → P1 = 0.57435 (0.57187 reversed).
    const PassArrangement three{3, false}, two{2, false};
    EXPECT_NEAR(effectiveness(three, 1, 1.0, 1.0 / 3.0), 0.57435, 5e-6);
    EXPECT_NEAR(effectiveness(three, 2, 1.0, 1.0 / 3.0), 0.57187, 5e-6);
    // 1/2: P1 = ½(A + B − ½ A B R1), A = Pp(NTU1, R1/2), B = Pc(NTU1, R1/2).
    for (double ntu : {0.3, 1.0, 2.5}) {
        for (double r : {0.4, 1.0, 1.7}) {
            const double pa = p_parallel(ntu, r / 2), pb = p_counter(ntu, r / 2);
            EXPECT_NEAR(effectiveness(two, 2, ntu, r), 0.5 * (pa + pb - 0.5 * pa * pb * r), 1e-12);
        }
    }
}

TEST(SinglePhasePassArrangements, RequiredNtuInvertsEveryArrangement) {
    const PassArrangement counter, parallel{1, true, false}, multi{3, false};
    for (double r : {0.25, 1.0, 2.0}) {
        for (double ntu : {0.2, 1.0, 3.0}) {
            for (const PassArrangement* a : {&counter, &parallel, &multi}) {
                const double p = effectiveness(*a, 1, ntu, r);
                EXPECT_NEAR(required_ntu(*a, 1, p, r), ntu, 1e-8 * ntu);
            }
        }
    }
    // Co-current flow cannot cool the hot side below the mixed temperature.
    EXPECT_LT(ntu_parallel(0.6, 1.0), 0);
    EXPECT_LT(ntu_counter(1.0, 0.5), 0);
}

TEST(SinglePhasePlateRules, ChannelsAlternateAndFillEveryPass) {
    for (int plates = 3; plates <= 80; ++plates) {
        for (const auto& passes : {std::array<int, 2>{1, 1}, {2, 2}, {3, 3}, {4, 4}, {2, 1}, {1, 3}}) {
            for (int extra = 0; extra < 2; ++extra) {
                const auto ch = channels_for(plates, passes[0], passes[1], extra);
                if (!ch) continue;
                const auto& n = *ch;
                EXPECT_EQ(n[0] + n[1], plates - 1);
                EXPECT_LE(std::abs(n[0] - n[1]), 1) << plates;
                for (std::size_t s = 0; s < 2; ++s) {
                    EXPECT_EQ(n[s] % passes[s], 0) << plates << " side " << s;
                    EXPECT_GE(n[s], passes[s]);
                }
                if (passes[0] == 1 && passes[1] == 1 && n[0] != n[1]) {
                    EXPECT_GT(n[static_cast<std::size_t>(extra)], n[static_cast<std::size_t>(1 - extra)]);
                }
            }
        }
    }
    // The counts the plate rules name.
    EXPECT_TRUE(channels_for(4, 1, 1, 1));
    EXPECT_FALSE(channels_for(5, 1, 1, 1));
    EXPECT_TRUE(channels_for(5, 2, 2, 1));
    EXPECT_FALSE(channels_for(7, 2, 2, 1));  // 6 channels: 3 per pass cannot alternate
    EXPECT_TRUE(channels_for(9, 4, 4, 1));
}

// Both hot temperatures and the cold inlet, no flows.
SinglePhaseInput temperatures(std::initializer_list<Change> changes) {
    return with(with(water_model(), {inlet(1, 60), outlet(1, 40), inlet(2, 20)}), changes);
}

Change channels(int side1, int side2) {
    return [=](auto& in) {
        give(in.NoOfChannels[1][1], side1);
        give(in.NoOfChannels[2][1], side2);
    };
}

TEST(SinglePhaseCodes, EveryCheckOfTheDutyAndTheModel) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Change small_model = [](auto& in) {  // too small for the duty as one unit
        give(in.MaxPressureDrop[1], 50e3);
        give(in.MaxPressureDrop[2], 50e3);
        in.MaxPlates = 12;
    };
    struct CodeCase {
        const char* what;
        SinglePhaseInput in;
        int check;      // code of CheckInput: 0 where the fault shows only with the model's data
        int calculate;  // code of Calculate
    };
    for (const CodeCase& c : std::vector<CodeCase>{
             {"a full duty", water_duty(), 0, 0},
             {"a full rating", rating(30), 0, 0},
             {"six values", water_duty({outlet(2, 36)}), 39, 39},
             {"an outlet given to a rating", rating(30, {outlet(1, 40)}), 42, 42},
             {"four values", water_duty({open_flow(2), open_inlet(2), outlet(2, 40)}), 40, 40},
             // Load and four temperatures close the flows; without the load nothing gives a flow.
             {"a load and three temperatures", temperatures({load(100e3)}), 43, 43},
             {"a load and four temperatures", temperatures({load(100e3), outlet(2, 30)}), 0, 0},
             // Load given and a side fully given: the two disagree unless by chance.
             {"no load", temperatures({load(0), outlet(2, 30)}), 44, 44},
             {"no temperature change", water_duty({outlet(1, 60)}), 44, 44},
             {"crossing temperatures", water_duty({open_flow(2), outlet(2, 70)}), 1, 1},
             {"a cold flow that would leave above 60 °C", water_duty({flow(2, 0.2)}), 1, 1},
             {"both sides cooled", water_duty({open_flow(2), inlet(2, 50), outlet(2, 30)}), 4, 4},
             {"a pinch of 0.05 K", water_duty({open_flow(2), outlet(2, 59.95)}), 9, 9},
             {"liquid water below its range", water_duty({inlet(2, -5)}), 3, 3},
             {"inlets 0.03 K apart", rating(30, {inlet(2, 59.97)}), 9, 9},
             {"a cold outlet below its inlet", rating(30, {open_flow(2), outlet(2, 15)}), 4, 4},
             {"no plates", rating(0), 2, 2},
             {"an odd plate count in one pass", rating(31), 6, 6},
             {"three plates", rating(3), 7, 7},
             {"two passes on four plates", rating(4, {passes(2, 2)}), 8, 8},
             {"29 channels in two passes", rating(30, {passes(2, 2)}), 6, 6},
             {"three passes on five plates", rating(5, {passes(3, 3)}), 10, 10},
             {"four passes on eight plates", rating(8, {passes(4, 4)}), 11, 45},
             {"two passes against three", rating(31, {passes(2, 3)}), 45, 45},
             {"more passes than the model has", rating(31, {passes(5, 5)}), 0, 45},
             {"channels 10 and 13", rating(0, {channels(10, 13)}), 46, 46},
             {"channels 10 and 11", rating(0, {channels(10, 11)}), 0, 0},
             {"channels 10 and 11 on 30 plates", rating(30, {channels(10, 11)}), 46, 46},
             {"more plates than the model has", rating(152), 0, 6},
             {"an unknown mode", water_duty({[](auto& in) { in.CalcMode = "Q"; }}), 5, 5},
             {"no fluid", water_duty({[](auto& in) { in.Fluid[2] = nullptr; }}), 5, 5},
             {"no channel", water_duty({[](auto& in) { in.Side[2].Left = {}; }}), 0, 5},
             // An infinite number in the product data is no unit, not a valid rating of one.
             {"an infinite plate area", water_duty({[=](auto& in) { in.PlateArea = inf; }}), 0, 5},
             {"a small model as one unit", water_duty({small_model, units(1)}), 0, 15},
             {"a small model in parallel units", water_duty({small_model}), 0, 0},
         }) {
        SCOPED_TRACE(c.what);
        SinglePhaseInput in = c.in;
        SinglePhaseResult checked;
        SinglePhaseEngine().CheckInput(in, checked);
        EXPECT_EQ(checked.ErrorCode, c.check);
        EXPECT_FALSE(checked.Valid);
        const SinglePhaseResult r = run(c.in);
        EXPECT_EQ(r.ErrorCode, c.calculate);
        EXPECT_EQ(r.Valid, c.calculate == 0);
    }
}

TEST(SinglePhaseCodes, WallOutsideTheFluidIsAWarningOnly) {
    // Water cooled to 3 °C by a glycol brine at −15 °C: the water film at the wall lies
    // below 0 °C, where the liquid water data end.
    SinglePhaseInput in = water_rating(40, 6, -15, 1.0, 1.0);
    in.Fluid[2] = fluid::create_fluid("MEG", 40);
    const SinglePhaseResult r = run(in);
    EXPECT_TRUE(r.Valid);
    EXPECT_EQ(r.ErrorCode, 3);
    EXPECT_TRUE(r.WarningOnly);
    EXPECT_LT(r.MinTemp[1], 0.0);
}

TEST(SinglePhaseCodes, RemarksOfPortsAndLimits) {
    // Many plates: the channels carry the flow easily and the ports dominate.
    const SinglePhaseResult r = run(with(water_rating(100, 60, 20, 4.0, 4.0), {limit(1, 5e3)}));
    ASSERT_TRUE(r.Valid);
    // 4 kg/s through a 40 mm port: 3180 kg/m²s, over the 2000 kg/m²s preset.
    EXPECT_EQ(r.NotePressureText[1], "Pressure drop above the limit");
    EXPECT_DOUBLE_EQ(r.NotePressure[1], r.PressureDrop[1]);
    EXPECT_EQ(r.NotePressureText[2], "Port velocity above the limit, port pressure drop");
    EXPECT_NEAR(r.NotePercent[1], 100 * r.PortPressureDrop[1] / r.PressureDrop[1], 1e-9);
}

// The water duty with 50 kPa per side, 10 % over-surface, one pass.
SinglePhaseInput design_duty(std::initializer_list<Change> changes = {}) {
    const Change margin = [](auto& in) { give(in.OverSurface, 10); };
    return with(water_duty({limit(1, 50e3), limit(2, 50e3), margin, passes(1, 1)}), changes);
}

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

// What every valid rating obeys: temperatures that do not cross, m cp ΔT of each side
// equal to the load, and U A F ΔT_lm carrying it with the over-surface reported.
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

// Small flows 70 → 30 °C, 100 kPa a side: a second pass raises the velocity, saves plates.
SinglePhaseInput small_flows(double pass_price) {
    const Change price = [=](auto& in) { in.PassPriceRatio = pass_price; };
    return with(water_model(), {inlet(1, 70), outlet(1, 30), flow(1, 0.15), inlet(2, 15), flow(2, 0.2),
                                limit(1, 100e3), limit(2, 100e3), price});
}

// Low-pressure air without a limit on its pressure drop: only its own pressure bounds it.
SinglePhaseInput low_pressure_air() {
    const Change air = [](auto& in) {
        in.Fluid[1] = fluid::create_fluid("Air");
        in.Fluid[1]->SetYPressure(1.5e5);
    };
    return with(water_model(), {air, inlet(1, 110), outlet(1, 40), flow(1, 0.6), inlet(2, 20), flow(2, 2.0),
                                limit(2, 50e3), passes(1, 1)});
}

// Every design meets its duty with its margin inside its limits, one plate step less does
// not; limits, pass prices and the flow direction shape the unit.
TEST(SinglePhaseDesign, MeetsTheDutyInsideTheLimitsWithTheSmallestUnit) {
    const Change large = [](auto& in) { in.MaxPlates = 60; };
    const Change co_current = [](auto& in) { in.CounterCurrent = false; };
    const std::vector<std::pair<std::string, SinglePhaseInput>> cases{
        {"one pass", design_duty()},
        {"8 kPa on the cold side", design_duty({limit(2, 8e3)})},
        {"co-current", design_duty({co_current})},
        {"large flows", design_duty({large, flow(1, 12.0), flow(2, 15.0), limit(1, 80e3), limit(2, 80e3)})},
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
        const SinglePhaseResult fewer =
            check_at(with(in, {units(r.ParallelUnits), passes(r.Passes[1], r.Passes[2])}), r.NoOfPlates - 2);
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
    EXPECT_FALSE(run(with(cases[3].second, {units(designs["large flows"].ParallelUnits - 1)})).Valid);
    // Cold outlet above the hot outlet (near 51 °C): possible counter-current only.
    EXPECT_TRUE(run(design_duty({flow(2, 1.3)})).Valid);
    EXPECT_EQ(run(design_duty({flow(2, 1.3), co_current})).ErrorCode, 1);
    // A much smaller unit for the air has no operating point at all.
    EXPECT_EQ(check_at(low_pressure_air(), 10).ErrorCode, 15);
}

// The designed unit rated again gives back the duty; forced to stock, the design takes
// the next stocked count.
TEST(SinglePhaseDesign, PerformanceOfTheDesignedUnitAndForcedStock) {
    const SinglePhaseResult d = run(design_duty());
    ASSERT_TRUE(d.Valid);
    SinglePhaseInput p = water_rating(d.NoOfPlates, 60, 20, d.MassFlow[1], d.MassFlow[2]);
    give(p.OverSurface, d.OverSurface);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;
    EXPECT_NEAR(r.HeatLoad / d.HeatLoad, 1.0, 0.005);
    expect_balances(p, r);

    // Without the margin held back the unit does more than the duty.
    p.OverSurface = {};
    const SinglePhaseResult full = run(p);
    EXPECT_GT(full.HeatLoad, d.HeatLoad);
    EXPECT_DOUBLE_EQ(full.OverSurface, 0.0);

    SinglePhaseInput in = design_duty();
    in.ForcedStock = true;
    in.StockCount = 4;
    const std::array<std::int16_t, 4> stock{10, 30, 60, 100};
    for (int i = 1; i <= 4; ++i) in.StockPlates[i] = stock[static_cast<std::size_t>(i - 1)];
    const SinglePhaseResult stocked = run(in);
    ASSERT_TRUE(stocked.Valid);
    EXPECT_EQ(stocked.NoOfPlates, *std::find_if(stock.begin(), stock.end(), [&](int n) { return n >= d.NoOfPlates; }));
}

// A flow left open is found from the pressure-drop limit of its side, which it then uses
// to the full, or from the outlet temperatures given, which it then meets.
TEST(SinglePhasePerformance, OpenFlowsFromALimitOrTheOutlets) {
    // Superheated steam at 1 bar leaves at 150 °C; its inlet follows from the load. No
    // temperature of the duty lies near 0 °C, where steam at 1 bar does not exist.
    const Change steam = [](auto& in) { in.Fluid[2] = fluid::create_fluid("Steam"); };
    const std::vector<std::pair<const char*, SinglePhaseInput>> cases{
        {"design: the cold flow from its limit", design_duty({open_flow(2), limit(2, 30e3)})},
        {"design: the water flow from its limit, the steam inlet from the load",
         with(water_model(), {steam, load(20e3), inlet(1, 20), limit(1, 30e3), outlet(2, 150), flow(2, 0.2),
                              limit(2, 50e3)})},
        {"performance: the cold flow from its limit",
         with(water_rating(40, 80, 10, 1.0), {open_flow(2), limit(2, 20e3)})},
        {"performance: the cold flow from the hot outlet", with(water_rating(40), {open_flow(2), outlet(1, 35)})},
        {"performance: both flows from the outlets",
         with(water_rating(40, 80, 10), {open_flow(1), open_flow(2), outlet(1, 30), outlet(2, 50)})},
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
    SinglePhaseInput p = water_rating(30, 60, 20, 2.0, 2.4);
    for (int s = 1; s <= 2; ++s) p.Side[s].Left = martin_channel(60, kTurbulentPoints, s);
    const SinglePhaseResult r = run(p);
    ASSERT_TRUE(r.Valid) << r.ErrorCode;

    const auto& water = *p.Fluid[1];
    const double dh = 2 * kGap / kPhi, beta = 60 * kPi / 180, rw = kThickness / 16.3;
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
            const double re = 2 * m_ch / (kPhi * kWidth * mu[s]);
            const double xi = martin_xi(re, 60);
            const double pr = mu[s] * water.YHeatCapacity(mean[s]) / k;
            h0[s] = 0.122 * std::cbrt(pr) * std::pow(xi * re * re * std::sin(2 * beta), 0.374) * k / dh;
            const double w = m_ch / (rho * kGap * kWidth);
            dp[s] = xi * kLength / dh * rho * w * w / 2;
        }
        // Wall temperatures from the resistances at the mean temperatures.
        std::array<double, 2> h = h0;
        for (int it = 0; it < 20; ++it) {
            const double qf = (mean[0] - mean[1]) / (1 / h[0] + 1 / h[1] + rw);
            const std::array<double, 2> wall{mean[0] - qf / h[0], mean[1] + qf / h[1]};
            for (std::size_t s = 0; s < 2; ++s) h[s] = h0[s] * std::pow(mu[s] / water.YViscosity(wall[s]), 1.0 / 6);
        }
        u = 1 / (1 / h[0] + 1 / h[1] + rw);
        const double area = (30 - 2) * kWidth * kLength * kPhi;
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
    const double g = 2.0 / (kPi * kPort * kPort / 4);
    const double rho1 = water.YDensity(0.5 * (r.InletTemp[1] + r.OutletTemp[1]));
    EXPECT_NEAR(r.PortPressureDrop[1], 1.9 * g * g / (2 * rho1), 1e-6 * r.PortPressureDrop[1]);
    EXPECT_NEAR(r.PortVelocity[1], g / rho1, 1e-9);
    EXPECT_DOUBLE_EQ(r.PortDiameterUp[1], 1000 * kPort);  // engine: mm
    // Viscosities in mPa s; the hot side's wall is colder than its fluid.
    EXPECT_NEAR(r.Viscosity[1], 1000 * water.YViscosity(r.RefTemp[1]), 1e-9);
    EXPECT_GT(r.WallViscosity[1], r.Viscosity[1]);
    for (int s = 1; s <= 2; ++s)
        EXPECT_NEAR(r.WallViscosity[s] / (1000 * water.YViscosity(r.MeanWallTemp[s])), 1.0, 1e-6);
}

TEST(SinglePhasePerformance, MixedChannelsSplitTheFlowAtEqualPressureDrop) {
    SinglePhaseInput p = water_rating(40, 60, 20, 2.0, 2.0);
    p.Side[1].Right = martin_channel(30, kWidePoints, 7);
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

// A dual pack holds two equal circuits rated for the whole (given) duty: the result carries
// one circuit's load and flows, everything else as for the same pack without the flag.
TEST(SinglePhaseDual, TheResultIsOneOfTheTwoCircuitsOfThePackRatedForTheWholeDuty) {
    SinglePhaseInput check = design_duty();
    check.CalcMode = "X";
    give(check.NoOfPlates, 40);
    const std::vector<std::pair<const char*, SinglePhaseInput>> cases{
        {"design", design_duty()},
        {"design, a flow from its limit, two units", design_duty({open_flow(2), limit(2, 30e3), units(2)})},
        {"performance of given flows", water_rating(40)},
        {"performance, a flow from the hot outlet", with(water_rating(40), {open_flow(2), outlet(1, 35)})},
        {"check", check},
    };
    for (const auto& [what, plain] : cases) {
        SCOPED_TRACE(what);
        SinglePhaseInput dual_input = plain;
        dual_input.Dual = true;
        const SinglePhaseResult whole = run(plain);
        const SinglePhaseResult dual = run(dual_input);
        ASSERT_TRUE(whole.Valid && dual.Valid) << whole.ErrorCode << " " << dual.ErrorCode;
        EXPECT_TRUE(dual.Dual);
        EXPECT_DOUBLE_EQ(2 * dual.HeatLoad, whole.HeatLoad);
        EXPECT_EQ(dual.NoOfPlates, whole.NoOfPlates);
        EXPECT_EQ(dual.ParallelUnits, whole.ParallelUnits);
        EXPECT_DOUBLE_EQ(dual.OverSurface, whole.OverSurface);
        for (int s = 1; s <= 2; ++s) {
            SCOPED_TRACE(s);
            EXPECT_DOUBLE_EQ(2 * dual.MassFlow[s], whole.MassFlow[s]);
            EXPECT_DOUBLE_EQ(dual.OutletTemp[s], whole.OutletTemp[s]);
            EXPECT_DOUBLE_EQ(dual.PressureDrop[s], whole.PressureDrop[s]);
        }
    }
}

// Compressed air (8 bar(a), 0.06 kg/s) from 35 °C cooled by water at 10 °C: saturated
// air (4.5 g/kg) condenses on the way and gives up its latent heat as well; drier air
// (0.5 g/kg, dew point near 1 °C at this pressure) stays above its dew point.
TEST(SinglePhaseHumidAir, CondensesWhatThePsychrometricBalanceGivesAndNoneAboveTheDewPoint) {
    for (const double water_content : {4.5, 0.5}) {
        SCOPED_TRACE(water_content);
        SinglePhaseInput p = water_rating(20, 35, 10, 0.06, 0.2);
        p.Fluid[1] = fluid::create_fluid("Humid air", water_content);
        p.Fluid[1]->SetYPressure(8e5);
        const SinglePhaseResult r = run(p);
        ASSERT_TRUE(r.Valid) << r.ErrorCode;
        const auto& air = *p.Fluid[1];
        const double q = 1000 * r.HeatLoad;
        EXPECT_NEAR(q, 0.06 * (air.YEnthalpy(35) - air.YEnthalpy(r.OutletTemp[1])), 1e-6 * q);
        EXPECT_NEAR(q, load_of(*p.Fluid[2], 10, r.OutletTemp[2], 0.2), 1e-6 * q);
        const double condensed = 0.06 * (air.YCondensate(r.OutletTemp[1]) - air.YCondensate(35));
        EXPECT_NEAR(r.CondensateFlow[1], condensed, 1e-6 * condensed + 1e-15);
        if (water_content > 4) {
            EXPECT_GT(r.CondensateFlow[1], 0);
            // More than the sensible heat of the span: the latent heat came with it.
            EXPECT_GT(q, 1.05 * 0.06 * air.YHeatCapacity(r.RefTemp[1]) * (35 - r.OutletTemp[1]));
        } else {
            EXPECT_EQ(r.CondensateFlow[1], 0);
        }
    }
}

}  // namespace
}  // namespace hxq::engines::single_phase
