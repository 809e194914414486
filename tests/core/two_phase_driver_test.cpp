// The condenser and evaporator main loops: errors with the real engines on the sample
// range (their group runs and SI results are in dual_model_test.cpp), the fast-inlet rule
// and the price of several units with a scripted evaporator.
#include "core/calculate.h"
#include "core/fixture.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace hxq::test {
namespace {

using core::CONDataType;
using core::VAPDataType;

using TwoPhaseDrivers = SampleRange;

TEST_F(TwoPhaseDrivers, SingleModelErrorsAndTooManyParametersEndTheRun) {
    auto number_of = [&](auto data, bool condenser) {
        try {
            if constexpr (std::is_same_v<decltype(data), CONDataType>) calc.CONMainCalcLoop(data);
            else calc.VAPMainCalcLoop(data);
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.source(), condenser ? "CONMainCalcLoop" : "VAPMainCalcLoop");
            return e.number() - platform::kObjectError;
        }
        return 0;
    };
    CONDataType none = condenser_duty(180, false);
    set(none.InData.MaxPressureDrop[2], 1.0);
    EXPECT_EQ(number_of(none, true), 15);
    // The engine's own code of a model rated alone.
    CONDataType bad = condenser_duty(180, false);
    set(bad.InData.InletTemp[1], 40);  // below the dew point
    EXPECT_EQ(number_of(bad, true), 4);
    // A rating given three duty values: code 42 ends even a group search.
    VAPDataType over = evaporator_duty(32, true);
    over.InData.CalcMode = "P";
    over.InData.NoOfPlates = core::DutyCount{30, true};
    EXPECT_EQ(number_of(over, false), 42);
}

// Model 1 enters two-phase at 13 m/s, above the 12.5 m/s an evaporator distributes well.
TEST(TwoPhaseDriver, AFastTwoPhaseInletDropsAModelFromAGroupOnlyAndUnitsMultiplyThePrice) {
    DriverDatabases db;
    db.node(8, 0, "E E/040", 1);
    db.node(9, 0, "E E/040", 3);
    auto script = std::make_unique<EvaporatorScript>();
    script->after = [](int model, core::EvaporatorResult& r) {
        r.TwoPhaseInlet = true;
        r.PortVelocity[1] = model == 1 ? 13 : 12.5;
    };
    core::clsCalculate calc;
    calc.SetEvaporatorEngine(std::move(script));
    calc.SetSources(db.sources(false));
    VAPDataType d;
    const auto listed = [&](int node, bool group) {
        target(d, node, group);
        d.GivenValues.XerDB = db.products;
        calc.VAPMainCalcLoop(d);
        std::vector<int> nodes;
        for (const auto& a : d.outdata)
            if (a.Price < core::kEmptySlotPrice) nodes.push_back(a.nodeid);
        return nodes;
    };
    d.InData.ParallelUnits = core::DutyCount{1, true};
    EXPECT_EQ(listed(40, true), std::vector<int>{9});
    // Alone it is listed, priced for its units in parallel times in series (model 1: plate
    // 10, start 100).
    d.InData.ParallelUnits = core::DutyCount{2, true};
    d.InData.SerialUnits = core::DutyCount{3, true};
    EXPECT_EQ(listed(8, false), std::vector<int>{8});
    EXPECT_FLOAT_EQ(d.outdata[1].Price, (20 * 10 + 100) * 6);
}

}  // namespace
}  // namespace hxq::test
