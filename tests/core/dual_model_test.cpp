// Dual models with the real engines on the sample range: the reported load is the duty
// and the heat balance of the flows summed over the pack's circuits; a non-dual model of
// a dual calculation still forms its pair.
#include "core/calculate.h"
#include "core/fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::core {
namespace {

constexpr double kRelative = 1e-6;
constexpr int kDualSinglePhaseGroup = 16;
constexpr int kDualCondenserGroup = 23;
constexpr int kDualEvaporatorGroup = 33;


// Single-phase model nodes of the sample range.
constexpr std::int16_t kQ32H = 116, kQ32DH = 283, kQ32DM = 284, kQ32DL = 285;

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

// 20 kW from 60/45 °C water to 15/35 °C water, 40 kPa on each side.
class DualSinglePhase : public test::SampleRange {
protected:
    const SinglePhaseResult& run_model(std::int16_t node) {
        d.GivenValues.IsXerGroup = false;
        d.GivenValues.XerID = node;
        calc.SPCMainCalcLoop(d);
        return d.outdata[1].OutputData;
    }

    static constexpr double kDuty = 20e3;
    SPCDataType d = test::water_duty(kDuty, 60, 45, 15, 35);
};

TEST_F(DualSinglePhase, EveryChannelTypeAndTheGroupReportTheDutyAndTheBalanceOfBothCircuits) {
    for (const std::int16_t node : {kQ32DH, kQ32DM, kQ32DL}) {
        SCOPED_TRACE(node);
        expect_single_phase_balance(run_model(node), kDuty);
        EXPECT_TRUE(d.outdata[1].Dual);
    }
    // The group's one member is the model's folder: its best channel type.
    d.GivenValues.IsXerGroup = true;
    d.GivenValues.XerID = kDualSinglePhaseGroup;
    calc.SPCMainCalcLoop(d);
    EXPECT_EQ(d.outdata[1].XerAlias.rfind("Q32D", 0), 0u) << d.outdata[1].XerAlias;
    expect_single_phase_balance(d.outdata[1].OutputData, kDuty);
    EXPECT_FALSE(d.outdata[2].OutputData.Valid);
}

TEST_F(DualSinglePhase, RatingsOfTheDesignedUnitGiveItsDutyBack) {
    const SinglePhaseResult design = run_model(kQ32DH);
    expect_single_phase_balance(design, kDuty);
    struct Rating {
        const char* mode;
        bool load_given;  // else the whole unit's flows (both circuits) are given
    };
    for (const Rating& c : {Rating{"P", false}, Rating{"X", true}}) {
        SCOPED_TRACE(c.mode);
        SPCDataType given = d;
        SinglePhaseInput& in = given.InData;
        in.CalcMode = c.mode;
        in.NoOfPlates = {design.NoOfPlates, true};
        if (!c.load_given) {
            // A rating holds the reported margin back, as the design did.
            in.OverSurface = {design.OverSurface, true};
            in.HeatLoad.Given = false;
            for (int s = 1; s <= 2; ++s) {
                in.OutletTemp[s].Given = false;
                in.MaxPressureDrop[s].Given = false;
                in.MassFlow[s] = {2 * design.MassFlow[s], true};
            }
        }
        calc.SPCMainCalcLoop(given);
        const SinglePhaseResult& r = given.outdata[1].OutputData;
        expect_single_phase_balance(r, kDuty);
        for (int s = 1; s <= 2; ++s) {
            expect_relative(r.OutletTemp[s], design.OutletTemp[s], "outlet");
            expect_relative(r.PressureDrop[s], design.PressureDrop[s], "pressure drop");
        }
        if (c.load_given) {
            EXPECT_NEAR(r.OverSurface, design.OverSurface, 1e-6);
        }
    }
}

TEST_F(DualSinglePhase, ADualCalculationPairsANonDualModelAndRatesADualOneForBothCircuits) {
    const SinglePhaseResult single = run_model(kQ32H);
    const SinglePhaseResult dual = run_model(kQ32DH);
    d.GivenValues.IsDualCalc = true;
    const SinglePhaseResult pair = run_model(kQ32H);
    ASSERT_TRUE(pair.Valid);
    // The pair holds two circuits of the alternative in one pack, each with the duty.
    EXPECT_EQ(pair.NoOfPlates, 2 * single.NoOfPlates);
    // Each circuit carries at least the duty with the alternative's margin, which the
    // pair cannot exceed (a larger area raises the load less than in proportion).
    EXPECT_GE(pair.HeatLoad, 2 * kDuty);
    EXPECT_LT(pair.HeatLoad, 2 * kDuty * (1 + single.OverSurface / 100));

    // A dual model in a dual calculation takes the duty per circuit as well: its pack
    // carries twice the duty, as the pair does.
    const SinglePhaseResult dual_in_dual_calc = run_model(kQ32DH);
    expect_relative(dual_in_dual_calc.HeatLoad, 2 * kDuty, "load");
    EXPECT_GT(dual_in_dual_calc.NoOfPlates, dual.NoOfPlates);
}

// The condenser and evaporator rate a dual pack for the whole duty and report the
// unit's load and flows (both circuits together); their drivers double nothing. Every
// alternative listed is dual and balances its secondary and its refrigerant, in a single
// and in a dual calculation.
using DualTwoPhase = test::SampleRange;

TEST_F(DualTwoPhase, DualCondensersAndEvaporatorsReportTheDutyAndTheBalanceOfTheirRefrigerant) {
    const auto expect_listed = [](const auto& outdata, double duty, int at_least, const auto& refrigerant_dh) {
        int listed = 0;
        for (const auto& a : outdata) {
            if (a.Price == kEmptySlotPrice) continue;
            SCOPED_TRACE(a.XerAlias);
            ++listed;
            EXPECT_TRUE(a.Dual);
            const auto& r = a.OutputData;
            ASSERT_EQ(r.Status, -1);
            expect_relative(r.HeatLoad, duty, "load");
            const double secondary = r.MassFlow[2] * r.Side2.SpecificHeat * std::abs(r.OutletTemp[2] - r.InletTemp[2]);
            expect_relative(secondary, r.HeatLoad, "secondary flow x cp x dT");
            expect_relative(r.MassFlow[1] * refrigerant_dh(r), r.HeatLoad, "refrigerant flow x dh");
        }
        EXPECT_GE(listed, at_least);
    };
    // A dual calculation gives the duty of one circuit: the pack carries twice it.
    for (const bool dual_calculation : {false, true}) {
        SCOPED_TRACE(dual_calculation ? "dual calculation" : "single calculation");
        const double circuits = dual_calculation ? 2 : 1;
        CONDataType con = test::condenser_duty(kDualCondenserGroup, true);
        con.GivenValues.IsDualCalc = dual_calculation;
        calc.CONMainCalcLoop(con);
        const FluidObject& r134a = *con.InData.Refrigerant;
        expect_listed(con.outdata, circuits * 50e3, dual_calculation ? 1 : 2, [&](const CondenserResult& r) {
            return r134a.VaporState(r134a.SatPressureDew(45), 75).Enthalpy -
                   r134a.LiquidState(r.OperatingPressOut, r.OutletTemp[1]).Enthalpy;
        });

        VAPDataType vap = test::evaporator_duty(kDualEvaporatorGroup, true);
        vap.GivenValues.IsDualCalc = dual_calculation;
        calc.VAPMainCalcLoop(vap);
        const FluidObject& r410a = *vap.InData.Refrigerant;
        // Q45D and Q90D; fewer reach twice the load.
        expect_listed(vap.outdata, circuits * 40e3, dual_calculation ? 1 : 2, [&](const EvaporatorResult& r) {
            // The channels start below the distributor: its drop is part of side 1's.
            const double p_in = r.OperatingPressOut + r.PressureDrop[1] - r.VRingPressureDrop;
            const double h_l = r410a.RefLiquid(r410a.SatTemperatureBubble(p_in)).Enthalpy;
            const double h_v = r410a.RefVapor(r410a.SatTemperatureDew(p_in)).Enthalpy;
            return r410a.VaporState(r.OperatingPressOut, r.OutletTempGas).Enthalpy - (h_l + 0.25 * (h_v - h_l));
        });
    }
}

}  // namespace
}  // namespace hxq::core
