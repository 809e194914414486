// Every engine code reached by a duty a user could really enter, through CheckInput and
// Calculate, without a crash and without a result that claims to be valid.
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace hxq::engines::single_phase {
namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;
using test::give;
using test::with;

struct CodeCase {
    const char* what;
    SinglePhaseInput in;
    int check;      // code of CheckInput: 0 where the fault shows only with the model's data
    int calculate;  // code of Calculate
};

SinglePhaseInput duty() { return test::water_duty(); }
SinglePhaseInput rating(int plates) { return test::water_rating(plates); }

// Both hot temperatures and the cold inlet, no flows.
SinglePhaseInput temperatures() {
    return with(test::water_model(), [](auto& in) {
        give(in.InletTemp[1], 60);
        give(in.OutletTemp[1], 40);
        give(in.InletTemp[2], 20);
    });
}

// The cold flow left open and its outlet given instead.
SinglePhaseInput cold_outlet(SinglePhaseInput in, double t) {
    in.MassFlow[2] = {};
    give(in.OutletTemp[2], t);
    return in;
}

SinglePhaseInput passes(int plates, int side1, int side2) {
    return with(rating(plates), [=](auto& in) {
        give(in.NoOfPasses[1], side1);
        give(in.NoOfPasses[2], side2);
    });
}

SinglePhaseInput channels(int plates, int side1, int side2) {
    return with(rating(plates), [=](auto& in) {
        give(in.NoOfChannels[1][1], side1);
        give(in.NoOfChannels[2][1], side2);
    });
}

// The duty with 50 kPa a side on a model of at most 12 plates: too large for one unit.
SinglePhaseInput small_model() {
    return with(duty(), [](auto& in) {
        give(in.MaxPressureDrop[1], 50e3);
        give(in.MaxPressureDrop[2], 50e3);
        in.MaxPlates = 12;
    });
}

TEST(SinglePhaseCodes, EveryCheckOfTheDutyAndTheModel) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::vector<CodeCase> cases{
        {"a full duty", duty(), 0, 0},
        {"a full rating", rating(30), 0, 0},
        {"six values", with(duty(), [](auto& in) { give(in.OutletTemp[2], 36); }), 39, 39},
        {"an outlet given to a rating", with(rating(30), [](auto& in) { give(in.OutletTemp[1], 40); }), 42, 42},
        {"four values", with(cold_outlet(duty(), 40), [](auto& in) { in.InletTemp[2] = {}; }), 40, 40},
        // Load and four temperatures close the flows; without the load nothing gives a flow.
        {"a load and three temperatures", with(temperatures(), [](auto& in) { give(in.HeatLoad, 100e3); }), 43, 43},
        {"a load and four temperatures", with(temperatures(), [](auto& in) {
             give(in.HeatLoad, 100e3);
             give(in.OutletTemp[2], 30);
         }), 0, 0},
        // Load given and a side fully given: the two disagree unless by chance.
        {"a load besides a full side", with(duty(), [](auto& in) {
             in.MassFlow[2] = {};
             give(in.HeatLoad, 160e3);
         }), 39, 39},
        {"no load", with(temperatures(), [](auto& in) {
             give(in.HeatLoad, 0);
             give(in.OutletTemp[2], 30);
         }), 44, 44},
        {"no temperature change", with(duty(), [](auto& in) { give(in.OutletTemp[1], 60); }), 44, 44},
        {"crossing temperatures", cold_outlet(duty(), 70), 1, 1},
        {"a cold flow that would leave above 60 °C", with(duty(), [](auto& in) { give(in.MassFlow[2], 0.2); }), 1, 1},
        {"both sides cooled", with(cold_outlet(duty(), 30), [](auto& in) { give(in.InletTemp[2], 50); }), 4, 4},
        {"a pinch of 0.05 K", cold_outlet(duty(), 59.95), 9, 9},
        {"liquid water below its range", with(duty(), [](auto& in) { give(in.InletTemp[2], -5); }), 3, 3},
        {"inlets 0.03 K apart", with(rating(30), [](auto& in) { give(in.InletTemp[2], 59.97); }), 9, 9},
        {"a cold outlet below its inlet", cold_outlet(rating(30), 15), 4, 4},
        {"no plates", rating(0), 2, 2},
        {"an odd plate count in one pass", rating(31), 6, 6},
        {"three plates", rating(3), 7, 7},
        {"two passes on four plates", passes(4, 2, 2), 8, 8},
        {"29 channels in two passes", passes(30, 2, 2), 6, 6},
        {"three passes on five plates", passes(5, 3, 3), 10, 10},
        {"four passes on eight plates", passes(8, 4, 4), 11, 45},
        {"two passes against three", passes(31, 2, 3), 45, 45},
        {"more passes than the model has", passes(31, 5, 5), 0, 45},
        {"channels 10 and 13", channels(0, 10, 13), 46, 46},
        {"channels 10 and 11", channels(0, 10, 11), 0, 0},
        {"channels 10 and 11 on 30 plates", channels(30, 10, 11), 46, 46},
        {"more plates than the model has", rating(152), 0, 6},
        {"an unknown mode", with(duty(), [](auto& in) { in.CalcMode = "Q"; }), 5, 5},
        {"no fluid", with(duty(), [](auto& in) { in.Fluid[2] = nullptr; }), 5, 5},
        {"no channel", with(duty(), [](auto& in) { in.Side[2].Left = {}; }), 0, 5},
        // An infinite number in the product data is no unit, not a valid rating of one.
        {"an infinite plate area", with(duty(), [=](auto& in) { in.PlateArea = inf; }), 0, 5},
        {"an infinite slit resistance", with(duty(), [=](auto& in) { in.Side[1].SlitResistance = inf; }), 0, 5},
        {"a small model as one unit", with(small_model(), [](auto& in) { give(in.ParallelUnits, 1); }), 0, 15},
        {"a small model in parallel units", small_model(), 0, 0},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        SinglePhaseEngine engine;
        SinglePhaseInput in = c.in;
        SinglePhaseResult checked;
        engine.CheckInput(in, checked);
        EXPECT_EQ(checked.ErrorCode, c.check);
        EXPECT_FALSE(checked.Valid);
        const SinglePhaseResult r = test::rate(c.in);
        EXPECT_EQ(r.ErrorCode, c.calculate);
        EXPECT_EQ(r.Valid, c.calculate == 0);
    }
}

TEST(SinglePhaseCodes, WallOutsideTheFluidIsAWarningOnly) {
    // Water cooled to 3 °C by a glycol brine at −15 °C: the water film at the wall lies
    // below 0 °C, where the liquid water data end.
    SinglePhaseInput in = test::water_rating(40, 6, -15, 1.0, 1.0);
    in.Fluid[2] = fluid::create_fluid("MEG", 40);
    const SinglePhaseResult r = test::rate(in);
    EXPECT_TRUE(r.Valid);
    EXPECT_EQ(r.ErrorCode, 3);
    EXPECT_TRUE(r.WarningOnly);
    EXPECT_LT(r.MinTemp[1], 0.0);
}

TEST(SinglePhaseCodes, RemarksOfPortsAndLimits) {
    // Many plates: the channels carry the flow easily and the ports dominate.
    SinglePhaseInput in = test::water_rating(100, 60, 20, 4.0, 4.0);
    give(in.MaxPressureDrop[1], 5e3);
    const SinglePhaseResult r = test::rate(in);
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
