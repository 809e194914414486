// Dual models with the real engines on the sample range: the reported load is the duty
// and the heat balance of the flows summed over the pack's circuits; a non-dual model of
// a dual calculation still forms its pair.
#include "core/calculate.h"
#include "sample_duties.h"
#include "engines/fluid/catalogue.h"
#include "platform/db.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace hxq::core {
namespace {

constexpr double kRelative = 1e-6;
constexpr int kDualSinglePhaseGroup = 16;
constexpr int kDualCondenserGroup = 23;
constexpr int kDualEvaporatorGroup = 33;

using test::sample;
using test::sample_sources;

// The single-phase model node of `alias` ("Q32D H").
std::int16_t single_phase_node(const std::string& alias) {
    platform::Database db = platform::OpenDatabase(sample("products.db"), true);
    platform::Recordset r =
        db.OpenRecordset("SELECT NodeID FROM ModelTree WHERE [Table] = 'HXQ' AND [Group] = 'S' AND Alias = '" +
                         alias + "'");
    EXPECT_FALSE(r.Eof()) << alias;
    return r.Eof() ? std::int16_t{0} : static_cast<std::int16_t>(r.Fields("NodeID").as_double());
}

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
class DualSinglePhase : public ::testing::Test {
protected:
    void SetUp() override {
        calc.SetSources(sample_sources());
        d.GivenValues.XerDB = sample("products.db");
        SinglePhaseInput& in = d.InData;
        in.Fluid[1] = engines::fluid::create_fluid("water");
        in.Fluid[2] = engines::fluid::create_fluid("water");
        in.HeatLoad = {kDuty, true};
        in.InletTemp[1] = {60, true};
        in.OutletTemp[1] = {45, true};
        in.InletTemp[2] = {15, true};
        in.OutletTemp[2] = {35, true};
        in.MaxPressureDrop[1] = {40e3, true};
        in.MaxPressureDrop[2] = {40e3, true};
    }
    const SinglePhaseResult& run_model(const std::string& alias) {
        d.GivenValues.IsXerGroup = false;
        d.GivenValues.XerID = single_phase_node(alias);
        calc.SPCMainCalcLoop(d);
        return d.outdata[1].OutputData;
    }

    static constexpr double kDuty = 20e3;
    clsCalculate calc;
    SPCDataType d;
};

TEST_F(DualSinglePhase, EveryChannelTypeAndTheGroupReportTheDutyAndTheBalanceOfBothCircuits) {
    for (const char* alias : {"Q32D H", "Q32D M", "Q32D L"}) {
        SCOPED_TRACE(alias);
        expect_single_phase_balance(run_model(alias), kDuty);
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
    const SinglePhaseResult design = run_model("Q32D H");
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

TEST_F(DualSinglePhase, TheDualPackRatesAsTheSinglePackOfItsPlatesWithHalfTheFlowsPerCircuit) {
    // Q32D is the Q32 plate: in one pass both make the same unit for the same duty.
    for (int s = 1; s <= 2; ++s) d.InData.NoOfPasses[s] = {1, true};
    const SinglePhaseResult dual = run_model("Q32D H");
    const SinglePhaseResult single = run_model("Q32 H");
    ASSERT_TRUE(dual.Valid && single.Valid);
    EXPECT_FALSE(single.Dual);
    EXPECT_EQ(dual.NoOfPlates, single.NoOfPlates);
    expect_relative(dual.HeatLoad, single.HeatLoad, "load");
    expect_relative(dual.HeatTransferArea, single.HeatTransferArea, "area of the pack");
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(dual.NoOfChannels[s], single.NoOfChannels[s]);
        expect_relative(2 * dual.MassFlow[s], single.MassFlow[s], "flow per circuit");
        expect_relative(dual.OutletTemp[s], single.OutletTemp[s], "outlet");
        expect_relative(dual.PressureDrop[s], single.PressureDrop[s], "pressure drop");
        expect_relative(dual.ReynoldsNumber[s], single.ReynoldsNumber[s], "channel flow");
    }
}

TEST_F(DualSinglePhase, ADualCalculationPairsANonDualModelAndLeavesADualOneAsItIs) {
    const SinglePhaseResult single = run_model("Q32 H");
    const SinglePhaseResult dual = run_model("Q32D H");
    d.GivenValues.IsDualCalc = true;
    const SinglePhaseResult pair = run_model("Q32 H");
    ASSERT_TRUE(pair.Valid);
    // The pair holds two circuits of the alternative in one pack, each with the duty.
    EXPECT_EQ(pair.NoOfPlates, 2 * single.NoOfPlates);
    EXPECT_EQ(pair.NoOfChannels[2], 2 * single.NoOfChannels[2]);
    EXPECT_EQ(pair.NoOfChannels[1], single.NoOfChannels[1]);
    // Each circuit carries at least the duty with the alternative's margin, which the
    // pair cannot exceed (a larger area raises the load less than in proportion).
    EXPECT_GE(pair.HeatLoad, 2 * kDuty);
    EXPECT_LT(pair.HeatLoad, 2 * kDuty * (1 + single.OverSurface / 100));

    const SinglePhaseResult dual_in_dual_calc = run_model("Q32D H");
    EXPECT_EQ(dual_in_dual_calc.NoOfPlates, dual.NoOfPlates);
    expect_relative(dual_in_dual_calc.HeatLoad, kDuty, "load");
}

// The condenser and evaporator rate a dual pack for the whole duty and report the
// unit's load and flows (both circuits together); their drivers double nothing.
template <class Result>
void expect_secondary_balance(const Result& r, double duty) {
    expect_relative(r.HeatLoad, duty, "load");
    const double secondary = r.MassFlow[2] * r.Side2.SpecificHeat * std::abs(r.OutletTemp[2] - r.InletTemp[2]);
    expect_relative(secondary, r.HeatLoad, "secondary flow x cp x dT");
}

TEST(DualTwoPhase, DualCondensersReportTheDutyAndTheBalanceOfTheirRefrigerant) {
    clsCalculate calc;
    calc.SetSources(sample_sources());
    CONDataType d = test::condenser_duty(kDualCondenserGroup, true);
    const auto& in = d.InData;
    calc.CONMainCalcLoop(d);
    const FluidObject& ref = *in.Refrigerant;
    int listed = 0;
    for (const CONOutDataType& a : d.outdata) {
        if (a.Price == kEmptySlotPrice) continue;
        SCOPED_TRACE(a.XerAlias);
        ++listed;
        EXPECT_TRUE(a.Dual);
        const CondenserResult& r = a.OutputData;
        ASSERT_EQ(r.Status, -1);
        expect_secondary_balance(r, 50e3);
        const double h_in = ref.VaporState(ref.SatPressureDew(45), 75).Enthalpy;
        const double h_out = ref.LiquidState(r.OperatingPressOut, r.OutletTemp[1]).Enthalpy;
        expect_relative(r.MassFlow[1] * (h_in - h_out), r.HeatLoad, "refrigerant flow x dh");
    }
    EXPECT_GE(listed, 2);  // Q45D and Q90D
}

TEST(DualTwoPhase, DualEvaporatorsReportTheDutyAndTheBalanceOfTheirRefrigerant) {
    clsCalculate calc;
    calc.SetSources(sample_sources());
    VAPDataType d = test::evaporator_duty(kDualEvaporatorGroup, true);
    const auto& in = d.InData;
    calc.VAPMainCalcLoop(d);
    const FluidObject& ref = *in.Refrigerant;
    int listed = 0;
    for (const VAPOutDataType& a : d.outdata) {
        if (a.Price == kEmptySlotPrice) continue;
        SCOPED_TRACE(a.XerAlias);
        ++listed;
        EXPECT_TRUE(a.Dual);
        const EvaporatorResult& r = a.OutputData;
        ASSERT_EQ(r.Status, -1);
        expect_secondary_balance(r, 40e3);
        // The channels start below the distributor: its drop is part of side 1's.
        const double p_in = r.OperatingPressOut + r.PressureDrop[1] - r.VRingPressureDrop;
        const double h_l = ref.RefLiquid(ref.SatTemperatureBubble(p_in)).Enthalpy;
        const double h_v = ref.RefVapor(ref.SatTemperatureDew(p_in)).Enthalpy;
        const double h_in = h_l + 0.25 * (h_v - h_l);
        const double h_out = ref.VaporState(r.OperatingPressOut, r.OutletTempGas).Enthalpy;
        expect_relative(r.MassFlow[1] * (h_out - h_in), r.HeatLoad, "refrigerant flow x dh");
    }
    EXPECT_GE(listed, 2);
}

}  // namespace
}  // namespace hxq::core
