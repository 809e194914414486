// The single-phase main loop with the real engine on the sample product range.
#include "core/calculate.h"
#include "engines/fluid/catalogue.h"
#include "platform/db.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace hxq::core {
namespace {

const std::string kSample = HXQ_SAMPLE_DIR;

CalculationSources sample_sources() {
    CalculationSources s;
    s.MainProductDB = kSample + "/products.db";
    s.StockDB = kSample + "/stock.db";
    s.SelectorDB = kSample + "/selector.db";
    s.UserLevel = "A";
    return s;
}

// 400 kW from 80/50 °C water to 25/45 °C water, 40 kPa on each side.
SPCDataType process_water_duty() {
    SPCDataType d;
    d.GivenValues.XerDB = kSample + "/products.db";
    SinglePhaseInput& in = d.InData;
    in.Fluid[1] = engines::fluid::create_fluid("water");
    in.Fluid[2] = engines::fluid::create_fluid("water");
    in.HeatLoad = {400e3, true};
    in.InletTemp[1] = {80, true};
    in.OutletTemp[1] = {50, true};
    in.InletTemp[2] = {25, true};
    in.OutletTemp[2] = {45, true};
    in.MaxPressureDrop[1] = {40e3, true};
    in.MaxPressureDrop[2] = {40e3, true};
    return d;
}

class DriverOnSampleRange : public ::testing::Test {
protected:
    void SetUp() override { calc.SetSources(sample_sources()); }
    clsCalculate calc;
};

TEST_F(DriverOnSampleRange, AGroupSelectionFillsSevenRankedAlternativesWithPhysicalData) {
    SPCDataType d = process_water_duty();
    d.GivenValues.IsXerGroup = true;
    d.GivenValues.XerID = 13;  // the large units
    const platform::DbHandleCounts before = platform::db_open_handles();
    calc.SPCMainCalcLoop(d);
    EXPECT_EQ(platform::db_open_handles().recordsets, before.recordsets);
    EXPECT_EQ(platform::db_open_handles().databases, before.databases);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        const OutDataType& a = d.outdata[i];
        const SinglePhaseResult& r = a.OutputData;
        ASSERT_TRUE(r.Valid);
        if (i > 1) {
            const OutDataType& prev = d.outdata[i - 1];
            EXPECT_TRUE(BetterAlternative(prev.Price, prev.OutputData, a.Price, r));
        }
        // Rescaled to SI: the duty in W, ports in m, water's viscosity in Pa s.
        EXPECT_NEAR(r.HeatLoad, 400e3, 400e3 * 1e-6);
        EXPECT_GT(r.PortDiameterUp[1], 0.01);
        EXPECT_LT(r.PortDiameterUp[1], 0.3);
        EXPECT_GT(r.Viscosity[1], 2e-4);
        EXPECT_LT(r.Viscosity[1], 1e-3);
        EXPECT_LE(r.PressureDrop[1], 40e3 * (1 + 1e-6));
        EXPECT_GE(r.OverSurface, 0);
        EXPECT_GT(a.XerPhysics.Height, 0);
        EXPECT_GT(a.XerPhysics.Weight_full, a.XerPhysics.Weight_empty);
        // The price follows from the model's Cost row and the rated plates.
        EXPECT_GT(a.Price, 0);
        EXPECT_LT(a.Price, 1e6);
    }
}

TEST_F(DriverOnSampleRange, TheSameDutyOnTheLegacyDatabaseHasNoPhysicalData) {
    SPCDataType d = process_water_duty();
    d.GivenValues.XerDB = kSample + "/legacy.db";
    d.GivenValues.IsXerGroup = true;
    d.GivenValues.XerID = 4;
    d.InData.HeatLoad = {60e3, true};
    calc.SPCMainCalcLoop(d);
    ASSERT_TRUE(d.outdata[1].OutputData.Valid);
    for (const auto& a : d.outdata) EXPECT_EQ(a.XerPhysics, XerPhysicsType{});
}

TEST_F(DriverOnSampleRange, ASingleModelWithAnImpossibleDutyRaisesTheEngineCode) {
    SPCDataType d = process_water_duty();
    d.GivenValues.XerID = 109;  // Q22 H
    d.InData.OutletTemp[2] = {90, true};  // heated above the hot inlet
    try {
        calc.SPCMainCalcLoop(d);
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        const int code = e.number() - platform::kObjectError;
        EXPECT_TRUE(code == 1 || code == 4) << e.number() << " " << e.description();
        EXPECT_EQ(e.source(), "SPCMainCalcLoop");
    }
}

TEST_F(DriverOnSampleRange, MaterialOneRatesWithTheBetterConductingPlate) {
    SPCDataType d = process_water_duty();
    d.GivenValues.XerID = 109;
    d.InData.HeatLoad = {30e3, true};
    d.InData.NoOfPlates = {20, true};
    d.InData.CalcMode = "X";
    calc.SPCMainCalcLoop(d);
    const double k0 = d.outdata[1].OutputData.Kpredicted;
    d.GivenValues.Material = 1;
    calc.SPCMainCalcLoop(d);
    EXPECT_DOUBLE_EQ(d.InData.WallConductivity, 22.5);
    EXPECT_GT(d.outdata[1].OutputData.Kpredicted, k0);
}

TEST_F(DriverOnSampleRange, AMultiPassUnitHoldsTheVolumeOfItsChannelsOnce) {
    SPCDataType d = process_water_duty();
    d.GivenValues.XerID = 123;  // Q45 HM: a left and a right channel type on each side
    d.InData.HeatLoad = {30e3, true};
    d.InData.NoOfPlates = {21, true};
    for (int s = 1; s <= 2; ++s) d.InData.NoOfPasses[s] = {2, true};
    d.InData.CalcMode = "X";
    calc.SPCMainCalcLoop(d);
    const OutDataType& a = d.outdata[1];
    ASSERT_TRUE(a.OutputData.Valid);
    ASSERT_EQ(a.OutputData.Passes[1], 2);
    platform::Database db = platform::OpenDatabase(kSample + "/products.db", true);
    platform::Recordset ch = db.OpenRecordset("SELECT ChVol FROM Channel WHERE ChannelID IN (51, 53)");
    double low = 1, high = 0;
    for (; !ch.Eof(); ch.MoveNext()) {
        low = std::min(low, ch.Fields("ChVol").as_double());
        high = std::max(high, ch.Fields("ChVol").as_double());
    }
    ASSERT_GT(low, 0);
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE(s);
        const double channels = a.OutputData.NoOfChannels[s];
        EXPECT_GE(a.XerPhysics.Vol[s], low * channels * (1 - 1e-6));
        EXPECT_LE(a.XerPhysics.Vol[s], high * channels * (1 + 1e-6));
    }
}

}  // namespace
}  // namespace hxq::core
