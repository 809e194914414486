// Every engine code reached by a duty a user could really enter, through CheckInput and
// Calculate, without a crash and without a result that claims to be valid.
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <limits>

namespace hxq::engines::single_phase {
namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;
using test::give;

// Water 60 → 40 °C (2 kg/s) heating water from 20 °C (2.5 kg/s).
SinglePhaseInput duty() { return test::water_duty(); }

SinglePhaseInput rating(int plates) {
    SinglePhaseInput in = test::water_model();
    in.CalcMode = "P";
    give(in.InletTemp[1], 60);
    give(in.InletTemp[2], 20);
    give(in.MassFlow[1], 2.0);
    give(in.MassFlow[2], 2.5);
    if (plates > 0) give(in.NoOfPlates, plates);
    return in;
}

int calculate(SinglePhaseInput in) {
    const SinglePhaseResult r = test::rate(std::move(in));
    if (r.ErrorCode != 0 && !r.WarningOnly) {
        EXPECT_FALSE(r.Valid);
    }
    return r.ErrorCode;
}

int check(SinglePhaseInput in) {
    SinglePhaseEngine engine;
    SinglePhaseResult r;
    engine.CheckInput(in, r);
    EXPECT_FALSE(r.Valid);
    return r.ErrorCode;
}

// Both entry points agree on a code that needs no model data.
void expect_code(const SinglePhaseInput& in, int code) {
    EXPECT_EQ(check(in), code);
    EXPECT_EQ(calculate(in), code);
}

TEST(SinglePhaseCodes, AGoodDutyPassesTheCheck) {
    EXPECT_EQ(check(duty()), 0);
    EXPECT_EQ(check(rating(30)), 0);
    EXPECT_EQ(calculate(duty()), 0);
}

TEST(SinglePhaseCodes, ParameterCounts) {
    SinglePhaseInput six = duty();
    give(six.OutletTemp[2], 36);
    expect_code(six, 39);

    SinglePhaseInput over_rated = rating(30);
    give(over_rated.OutletTemp[1], 40);
    expect_code(over_rated, 42);

    SinglePhaseInput four = duty();
    four.MassFlow[2] = {};
    four.InletTemp[2] = {};
    give(four.OutletTemp[2], 40);
    expect_code(four, 40);

    // Load and four temperatures close the flows; without the load nothing gives a flow.
    SinglePhaseInput no_flow;
    no_flow = test::water_model();
    give(no_flow.InletTemp[1], 60);
    give(no_flow.OutletTemp[1], 40);
    give(no_flow.InletTemp[2], 20);
    give(no_flow.HeatLoad, 100e3);
    expect_code(no_flow, 43);
    give(no_flow.OutletTemp[2], 30);
    EXPECT_EQ(calculate(no_flow), 0);

    // Load given and a side fully given: the two disagree unless by chance.
    SinglePhaseInput twice = duty();
    twice.MassFlow[2] = {};
    give(twice.HeatLoad, 160e3);
    expect_code(twice, 39);
}

TEST(SinglePhaseCodes, HeatLoadAndTemperatures) {
    SinglePhaseInput zero = test::water_model();
    give(zero.HeatLoad, 0);
    give(zero.InletTemp[1], 60);
    give(zero.OutletTemp[1], 40);
    give(zero.InletTemp[2], 20);
    give(zero.OutletTemp[2], 30);
    expect_code(zero, 44);

    SinglePhaseInput no_change = duty();
    give(no_change.OutletTemp[1], 60);
    expect_code(no_change, 44);

    SinglePhaseInput crossing = duty();
    crossing.MassFlow[2] = {};
    give(crossing.OutletTemp[2], 70);
    expect_code(crossing, 1);

    SinglePhaseInput too_cold = duty();
    give(too_cold.MassFlow[2], 0.2);  // would have to leave above 60 °C
    expect_code(too_cold, 1);

    SinglePhaseInput both_cooled = duty();
    both_cooled.MassFlow[2] = {};
    give(both_cooled.InletTemp[2], 50);
    give(both_cooled.OutletTemp[2], 30);
    expect_code(both_cooled, 4);

    SinglePhaseInput pinch = duty();
    pinch.MassFlow[2] = {};
    give(pinch.OutletTemp[2], 59.95);
    expect_code(pinch, 9);

    SinglePhaseInput ice = duty();
    give(ice.InletTemp[2], -5);  // liquid water below its range
    expect_code(ice, 3);

    SinglePhaseInput same_inlets = rating(30);
    give(same_inlets.InletTemp[2], 59.97);
    expect_code(same_inlets, 9);

    SinglePhaseInput wrong_way = rating(30);
    wrong_way.MassFlow[2] = {};
    give(wrong_way.OutletTemp[2], 15);
    expect_code(wrong_way, 4);
}

TEST(SinglePhaseCodes, PlatesPassesAndChannels) {
    expect_code(rating(0), 2);
    expect_code(rating(31), 6);  // one pass needs an even count
    expect_code(rating(3), 7);

    SinglePhaseInput two = rating(4);
    give(two.NoOfPasses[1], 2);
    give(two.NoOfPasses[2], 2);
    expect_code(two, 8);
    SinglePhaseInput two_odd = rating(30);  // 29 channels do not split into 2 passes
    give(two_odd.NoOfPasses[1], 2);
    give(two_odd.NoOfPasses[2], 2);
    expect_code(two_odd, 6);

    SinglePhaseInput three = rating(5);
    give(three.NoOfPasses[1], 3);
    give(three.NoOfPasses[2], 3);
    expect_code(three, 10);

    SinglePhaseInput four = rating(8);
    give(four.NoOfPasses[1], 4);
    give(four.NoOfPasses[2], 4);
    EXPECT_EQ(check(four), 11);

    SinglePhaseInput mixed_passes = rating(31);
    give(mixed_passes.NoOfPasses[1], 2);
    give(mixed_passes.NoOfPasses[2], 3);
    expect_code(mixed_passes, 45);
    SinglePhaseInput beyond_model = rating(31);
    give(beyond_model.NoOfPasses[1], 5);
    give(beyond_model.NoOfPasses[2], 5);
    EXPECT_EQ(check(beyond_model), 0);  // the model's limit is not known before a search
    EXPECT_EQ(calculate(beyond_model), 45);

    SinglePhaseInput channels = rating(0);
    give(channels.NoOfChannels[1][1], 10);
    give(channels.NoOfChannels[2][1], 13);
    expect_code(channels, 46);
    give(channels.NoOfChannels[2][1], 11);
    EXPECT_EQ(calculate(channels), 0);
    give(channels.NoOfPlates, 30);  // 10 + 11 channels make 22 plates
    expect_code(channels, 46);

    SinglePhaseInput too_big = rating(152);
    EXPECT_EQ(calculate(too_big), 6);
}

TEST(SinglePhaseCodes, ModelDataAndModes) {
    SinglePhaseInput mode = duty();
    mode.CalcMode = "Q";
    expect_code(mode, 5);

    SinglePhaseInput no_fluid = duty();
    no_fluid.Fluid[2] = nullptr;
    expect_code(no_fluid, 5);

    SinglePhaseInput no_channel = duty();
    no_channel.Side[2].Left = {};
    EXPECT_EQ(check(no_channel), 0);
    EXPECT_EQ(calculate(no_channel), 5);

    // An infinite number in the product data is no unit, not a valid rating of one.
    SinglePhaseInput endless = duty();
    endless.PlateArea = std::numeric_limits<double>::infinity();
    EXPECT_EQ(calculate(endless), 5);
    endless = duty();
    endless.Side[1].SlitResistance = std::numeric_limits<double>::infinity();
    EXPECT_EQ(calculate(endless), 5);

    SinglePhaseInput small = duty();
    give(small.MaxPressureDrop[1], 50e3);
    give(small.MaxPressureDrop[2], 50e3);
    small.MaxPlates = 12;
    give(small.ParallelUnits, 1);
    EXPECT_EQ(calculate(small), 15);
    small.ParallelUnits = {};
    EXPECT_EQ(calculate(small), 0);  // takes units in parallel instead
}

TEST(SinglePhaseCodes, WallOutsideTheFluidIsAWarningOnly) {
    // Water cooled to 3 °C by a glycol brine at −15 °C: the water film at the wall lies
    // below 0 °C, where the liquid water data end.
    SinglePhaseInput in = test::water_model();
    in.Fluid[2] = fluid::create_fluid("MEG", 40);
    in.CalcMode = "P";
    give(in.NoOfPlates, 40);
    give(in.InletTemp[1], 6);
    give(in.InletTemp[2], -15);
    give(in.MassFlow[1], 1.0);
    give(in.MassFlow[2], 1.0);
    SinglePhaseEngine engine;
    SinglePhaseResult r;
    engine.Calculate(in, r);
    EXPECT_TRUE(r.Valid);
    EXPECT_EQ(r.ErrorCode, 3);
    EXPECT_TRUE(r.WarningOnly);
    EXPECT_LT(r.MinTemp[1], 0.0);
}

TEST(SinglePhaseCodes, RemarksOfPortsAndLimits) {
    // Many plates: the channels carry the flow easily and the ports dominate.
    SinglePhaseInput in = rating(100);
    give(in.MaxPressureDrop[1], 5e3);
    give(in.MassFlow[1], 4.0);
    give(in.MassFlow[2], 4.0);
    SinglePhaseEngine engine;
    SinglePhaseResult r;
    engine.Calculate(in, r);
    ASSERT_TRUE(r.Valid);
    // 4 kg/s through a 40 mm port: 3180 kg/m²s, over the 2000 kg/m²s preset.
    EXPECT_GT(r.PressureDrop[1], 5e3);
    EXPECT_EQ(r.NotePressureText[1], "Pressure drop above the limit");
    EXPECT_DOUBLE_EQ(r.NotePressure[1], r.PressureDrop[1]);
    EXPECT_EQ(r.NotePressureText[2], "Port velocity above the limit, port pressure drop");
    EXPECT_GT(r.NotePercent[1], 30.0);
    EXPECT_NEAR(r.NotePercent[1], 100 * r.PortPressureDrop[1] / r.PressureDrop[1], 1e-9);
}

}  // namespace
}  // namespace hxq::engines::single_phase
