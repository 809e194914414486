// The condenser and evaporator main loops on the sample range with the real engines.
#include "core/calculate.h"
#include "core/fixture.h"
#include "engines/evaporator/evaporator_engine.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <string>

namespace hxq::test {
namespace {

using core::CONDataType;
using core::VAPDataType;

class TwoPhaseDrivers : public SampleRange {};

TEST_F(TwoPhaseDrivers, GroupRunsRankSolutionsAndPriceThemByUnits) {
    CONDataType con = condenser_duty(22, true);
    calc.CONMainCalcLoop(con);
    ASSERT_EQ(con.outdata[1].OutputData.Status, -1);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        const auto& a = con.outdata[i];
        if (a.Price == core::kEmptySlotPrice) {
            EXPECT_EQ(a.OutputData.ParallelUnits, core::kEmptySlotUnits);
            continue;
        }
        EXPECT_EQ(a.OutputData.Status, -1);
        EXPECT_FALSE(a.XerAlias.empty());
        EXPECT_LE(a.OutputData.PressureDrop[2], 50e3 * (1 + 1e-9));
        // SI after the loop: ports in metres, latent heat in J/kg.
        EXPECT_LT(a.OutputData.PortDiameterUp[1], 0.2);
        EXPECT_GT(a.OutputData.LatentHeat, 1e5);
        if (i > 1) {
            EXPECT_TRUE(core::BetterAlternative(con.outdata[i - 1].Price, con.outdata[i - 1].OutputData, a.Price,
                                                a.OutputData));
        }
    }

    VAPDataType vap = evaporator_duty(32, true);
    calc.VAPMainCalcLoop(vap);
    ASSERT_EQ(vap.outdata[1].OutputData.Status, -1);
    for (const auto& a : vap.outdata) {
        if (a.Price == core::kEmptySlotPrice) continue;
        // A group search never lists a two-phase inlet faster than 12.5 m/s.
        EXPECT_FALSE(a.OutputData.TwoPhaseInlet && a.OutputData.PortVelocity[1] > 12.5);
        EXPECT_NEAR(a.OutputData.HeatLoad, 40e3, 1e-6);
    }
}

TEST_F(TwoPhaseDrivers, PriceCountsUnitsInParallelTimesInSeries) {
    CONDataType con = condenser_duty(180, false);  // Q32 H
    con.InData.ParallelUnits = core::DutyCount{2, true};
    con.InData.SerialUnits = core::DutyCount{3, true};
    con.InData.MaxPressureDrop[2].Given = false;
    calc.CONMainCalcLoop(con);
    const auto& a = con.outdata[1];
    ASSERT_EQ(a.OutputData.Status, -1);
    const core::PriceType& p = con.GivenValues.Price;
    EXPECT_FLOAT_EQ(a.Price, (a.OutputData.NoOfPlates * p.Plateprice + p.Startprice) * 6);
}

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
    CONDataType bad = condenser_duty(180, false);
    set(bad.InData.InletTemp[1], 40);  // below the dew point
    EXPECT_EQ(number_of(bad, true), 4);
    CONDataType unreadable = condenser_duty(180, false);
    set(unreadable.InData.FoulingFactor, -1e-4);
    EXPECT_EQ(number_of(unreadable, true), 5);
    // A rating given three duty values: code 42 ends even a group search.
    VAPDataType over = evaporator_duty(32, true);
    over.InData.CalcMode = "P";
    over.InData.NoOfPlates = core::DutyCount{30, true};
    EXPECT_EQ(number_of(over, false), 42);
}

// The real evaporator, except that one model's two-phase inlet is made to run faster than
// 12.5 m/s (the sample range's ports keep every real rating well below it).
class FastInletOfOneModel final : public core::EvaporatorEngine {
public:
    explicit FastInletOfOneModel(double plate_area) : plate_area_(plate_area) {}
    void Calculate(core::EvaporatorInput& in, core::EvaporatorResult& r) override {
        real_.Calculate(in, r);
        if (in.PlateArea == plate_area_ && r.Status == -1) {
            r.TwoPhaseInlet = true;
            r.PortVelocity[1] = 13;
        }
    }
    void CheckInput(core::EvaporatorInput& in, std::int16_t& code) override { real_.CheckInput(in, code); }

private:
    double plate_area_;
    engines::evaporator::EvaporatorEngine real_;
};

TEST_F(TwoPhaseDrivers, TheFastInletCheckDropsAModelFromAGroupOnly) {
    VAPDataType alone = evaporator_duty(176, false);  // Q22 H, the group's cheapest here
    calc.VAPMainCalcLoop(alone);
    ASSERT_EQ(alone.outdata[1].OutputData.Status, -1);
    VAPDataType group = evaporator_duty(32, true);
    calc.VAPMainCalcLoop(group);
    auto listed = [](const VAPDataType& d, const std::string& alias) {
        for (const auto& a : d.outdata)
            if (a.XerAlias == alias) return true;
        return false;
    };
    const std::string q22 = alone.outdata[1].XerAlias;
    ASSERT_TRUE(listed(group, q22));

    // The model's plate area, which its engine input carries.
    platform::Database products = platform::OpenDatabase(sample("products.db"), true);
    platform::Recordset row = products.OpenRecordset(
        "SELECT h.PlateArea FROM HXQ h JOIN ModelTree t ON t.ModelID = h.HXQID WHERE t.NodeID = 176");
    const double plate_area = row.Fields("PlateArea").as_double();
    calc.SetEvaporatorEngine(std::make_unique<FastInletOfOneModel>(plate_area));
    alone = evaporator_duty(176, false);
    calc.VAPMainCalcLoop(alone);
    EXPECT_EQ(alone.outdata[1].XerAlias, q22) << "a model rated alone is listed";
    group = evaporator_duty(32, true);
    calc.VAPMainCalcLoop(group);
    EXPECT_FALSE(listed(group, q22)) << "a group search drops it";
    EXPECT_EQ(group.outdata[1].OutputData.Status, -1);
}

}  // namespace
}  // namespace hxq::test
