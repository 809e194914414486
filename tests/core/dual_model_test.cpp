// Dual models with the real engines on the sample range: the reported load is the duty of
// the pack's circuits together.
#include "core/calculate.h"
#include "core/fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::core {
namespace {

constexpr double kRelative = 1e-6;
constexpr int kDualCondenserGroup = 23;
constexpr int kDualEvaporatorGroup = 33;
constexpr std::int16_t kQ32DH = 283;  // a single-phase model node

void expect_relative(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * kRelative) << what;
}

// Two equal circuits share the pack; the result's flows are one circuit's.
void expect_single_phase_balance(const SinglePhaseResult& r, double duty) {
    ASSERT_TRUE(r.Valid);
    ASSERT_TRUE(r.Dual);
    expect_relative(r.HeatLoad, duty, "load");
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE(s);
        const double circuit = r.MassFlow[s] * r.SpecificHeat[s] * std::abs(r.OutletTemp[s] - r.InletTemp[s]);
        expect_relative(2 * circuit, r.HeatLoad, "flows x cp x dT over both circuits");
    }
}

// 20 kW from 60/45 °C water to 15/35 °C water, 40 kPa on each side, on Q32D H. The engine
// tests hold a dual pack's ratings in every mode and the scripted driver tests the pair of
// a non-dual model; here the driver's doubling meets the real engine.
using DualModels = test::SampleRange;

TEST_F(DualModels, ADualModelCarriesTheDutyOverBothCircuitsAndTwiceItInADualCalculation) {
    constexpr double kDuty = 20e3;
    SPCDataType d = test::water_duty(kDuty, 60, 45, 15, 35);
    d.GivenValues.XerID = kQ32DH;
    calc.SPCMainCalcLoop(d);
    const SinglePhaseResult design = d.outdata[1].OutputData;
    expect_single_phase_balance(design, kDuty);
    EXPECT_TRUE(d.outdata[1].Dual);
    // A dual calculation gives the duty per circuit: the pack carries twice it.
    d.GivenValues.IsDualCalc = true;
    calc.SPCMainCalcLoop(d);
    expect_single_phase_balance(d.outdata[1].OutputData, 2 * kDuty);
    EXPECT_GT(d.outdata[1].OutputData.NoOfPlates, design.NoOfPlates);
}

// The condenser and evaporator rate a dual pack for the whole duty and report the unit's
// load (their engine tests hold the balances); the drivers double the duty only for a
// dual calculation, which gives one circuit's, and list every result in SI units.
TEST_F(DualModels, DualCondensersAndEvaporatorsCarryTheDutyOfBothCircuits) {
    const auto expect_listed = [](const auto& outdata, double duty, int at_least) {
        int listed = 0;
        for (const auto& a : outdata) {
            if (a.Price == kEmptySlotPrice) {
                EXPECT_EQ(a.OutputData.ParallelUnits, kEmptySlotUnits);
                continue;
            }
            SCOPED_TRACE(a.XerAlias);
            ++listed;
            EXPECT_TRUE(a.Dual);
            ASSERT_EQ(a.OutputData.Status, -1);
            expect_relative(a.OutputData.HeatLoad, duty, "load");
            // The rest in SI too: ports in metres, latent heat in J/kg.
            EXPECT_LT(a.OutputData.PortDiameterUp[1], 0.2);
            EXPECT_GT(a.OutputData.LatentHeat, 1e5);
        }
        EXPECT_GE(listed, at_least);
    };
    for (const bool dual_calculation : {false, true}) {
        SCOPED_TRACE(dual_calculation ? "dual calculation" : "single calculation");
        const double circuits = dual_calculation ? 2 : 1;
        CONDataType con = test::condenser_duty(kDualCondenserGroup, true);
        con.GivenValues.IsDualCalc = dual_calculation;
        calc.CONMainCalcLoop(con);
        expect_listed(con.outdata, circuits * 50e3, dual_calculation ? 1 : 2);
        VAPDataType vap = test::evaporator_duty(kDualEvaporatorGroup, true);
        vap.GivenValues.IsDualCalc = dual_calculation;
        calc.VAPMainCalcLoop(vap);
        // Q45D and Q90D; fewer reach twice the load.
        expect_listed(vap.outdata, circuits * 40e3, dual_calculation ? 1 : 2);
    }
}

}  // namespace
}  // namespace hxq::core
