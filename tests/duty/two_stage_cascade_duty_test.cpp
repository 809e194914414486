// Two-stage and cascade duty files: the records the drivers need (SI values, the
// radiator return and the share in the driver's units, each cascade circuit's stand-in
// for the other) and the mistakes each refuses with key and line (their nodes are found
// in two_phase_duty_test.cpp).
#include "duty_fixture.h"

#include <string>

namespace hxq::duty {
namespace {

const std::string kTwoStage = R"(duty = "two-stage"
group = "Two-stage units"
heat_load = "50 kW"
primary_pressure_drop_share = "40 %"

[primary]
fluid = "water"
inlet_temp = "70 °C"
outlet_temp = "25 °C"
max_pressure_drop = "0.5 bar"

[tap_water]
fluid = "water"
inlet_temp = "10 °C"
outlet_temp = "55 °C"
max_pressure_drop = "50 kPa"

[radiator_return]
mass_flow = "0.54 m3/h"
temperature = "40 °C"
)";

const std::string kCascade = R"(duty = "cascade"
group = "Cascade units"
over_surface = "10 %"

[condensing]
fluid = "R744"
condensing_temp = "-5 °C"
inlet_temp = "35 °C"
subcooling = "2 K"

[evaporating]
fluid = "R134a"
evaporating_temp = "-10 °C"
inlet_quality = 0.2
superheat = "4 K"
heat_load = "40 kW"
)";

TEST_F(DutyFiles, TwoStageRecordHoldsTheWholeDutyAndTheDriversExtras) {
    const core::TwoStageType data = BuildTwoStageData(parse(kTwoStage), target(42, true, "Two-stage units"), "p.db");
    const core::SinglePhaseInput& in = data.InData;
    EXPECT_TRUE(data.TwoStageCalc);
    EXPECT_EQ(in.CalcMode, "D");
    // Primary on side 1, tap water on side 2.
    EXPECT_EQ(in.InletTemp[1], (core::DutyValue{70, true}));
    EXPECT_EQ(in.InletTemp[2], (core::DutyValue{10, true}));
    EXPECT_DOUBLE_EQ(in.MaxPressureDrop[1].Value, 50e3);  // 0.5 bar
    EXPECT_FALSE(in.MassFlow[1].Given || in.MassFlow[2].Given);
    // The driver takes the share in percent, the return in kg/s and °C: 0.54 m³/h of
    // water at its 40 °C.
    EXPECT_TRUE(data.Primary_dP_Percentage.bolSet);
    EXPECT_FLOAT_EQ(data.Primary_dP_Percentage.SngValue, 40);
    EXPECT_NEAR(data.Rad_Flow.SngValue, 0.54 / 3600 * in.Fluid[1]->YDensity(40), 1e-6);
    EXPECT_TRUE(data.Rad_Temp.bolSet);
    EXPECT_FLOAT_EQ(data.Rad_Temp.SngValue, 40);

    // Without the optional parts the driver sees none of them.
    std::string summer = with(kTwoStage, "primary_pressure_drop_share", "");
    summer = summer.substr(0, summer.find("[radiator_return]"));
    const core::TwoStageType s = BuildTwoStageData(parse(summer), ResolvedTarget{}, "p.db");
    EXPECT_FALSE(s.Primary_dP_Percentage.bolSet || s.Rad_Flow.bolSet || s.Rad_Temp.bolSet);
    // A return without its temperature joins at stage 2's outlet: only the flow is set.
    const core::TwoStageType f = BuildTwoStageData(parse(with(kTwoStage, "temperature", "")), ResolvedTarget{}, "p.db");
    EXPECT_TRUE(f.Rad_Flow.bolSet);
    EXPECT_FALSE(f.Rad_Temp.bolSet);
}

TEST_F(DutyFiles, CascadeRecordRatesEachCircuitAgainstAStandInForTheOther) {
    const core::CascadeDataType data = BuildCascadeData(parse(kCascade), target(35, true, "Cascade units"), "p.db");
    const core::CondenserInput& c = data.InDataCon;
    const core::EvaporatorInput& v = data.InDataVap;
    // Each table's refrigerant is read as its own duty kind reads it.
    EXPECT_EQ(c.CondTemp, (core::DutyValue{-5, true}));
    EXPECT_EQ(v.EvapTemp, (core::DutyValue{-10, true}));
    EXPECT_EQ(c.CalcMode, "D");
    EXPECT_EQ(v.CalcMode, "D");
    // Exactly the one duty quantity the driver counts.
    EXPECT_EQ(v.HeatLoad, (core::DutyValue{40e3, true}));
    EXPECT_FALSE(c.HeatLoad.Given || c.MassFlow[1].Given);
    EXPECT_EQ(c.OverSurface, (core::DutyValue{10, true}));
    EXPECT_EQ(v.OverSurface, (core::DutyValue{10, true}));
    // The stand-ins: 40 % glycol warming from -10 °C for the condensing circuit, cooling
    // to -5 °C for the evaporating one.
    for (const core::FluidRef& f : {c.Fluid, v.Fluid}) {
        EXPECT_FALSE(f->IsTwoPhase());
        EXPECT_EQ(f->YConc(), 40);
    }
    EXPECT_EQ(c.InletTemp[2], (core::DutyValue{-10, true}));
    EXPECT_EQ(c.OutletTemp[2], (core::DutyValue{-7, true}));
    EXPECT_EQ(v.InletTemp[2], (core::DutyValue{-2, true}));
    EXPECT_EQ(v.OutletTemp[2], (core::DutyValue{-5, true}));

    // The condensing circuit's flow as the duty and a stand-in of the file's own.
    std::string other = with(kCascade, "heat_load", "");
    other = with(other, "subcooling", "subcooling = \"2 K\"\nmass_flow = \"0.15 kg/s\"");
    other = with(other, "over_surface", "stand_in_fluid = \"water\"\nstand_in_glide = \"2 K\"");
    other = with(other, "condensing_temp", "condensing_temp = \"10 °C\"");
    other = with(other, "evaporating_temp", "evaporating_temp = \"5 °C\"");
    const core::CascadeDataType o = BuildCascadeData(parse(other), ResolvedTarget{}, "p.db");
    EXPECT_TRUE(o.InDataCon.MassFlow[1].Given);
    EXPECT_NEAR(o.InDataCon.MassFlow[1].Value, 0.15, 1e-7);
    EXPECT_FALSE(o.InDataVap.HeatLoad.Given);
    EXPECT_EQ(o.InDataCon.Fluid->YFluidName(), "Water");
    EXPECT_EQ(o.InDataCon.OutletTemp[2], (core::DutyValue{7, true}));
    EXPECT_EQ(o.InDataVap.InletTemp[2], (core::DutyValue{12, true}));
}

TEST_F(DutyFiles, TwoStageAndCascadeMistakesNameTheKeyAndTheLine) {
    const std::string t = kTwoStage, c = kCascade;
    expect_mistakes(
        {
            {with(t, "primary_pressure_drop_share", "primary_pressure_drop_share = \"100 %\""), 4,
             "primary_pressure_drop_share", "between 0 and 100"},
            {with(t, "max_pressure_drop = \"0.5 bar\"", ""), 4, "primary_pressure_drop_share",
             "give primary.max_pressure_drop"},
            {with(t, "mass_flow = \"0.54", ""), 18, "radiator_return.mass_flow", "missing: the flow of the radiator"},
            {with(t, "inlet_temp = \"70", "inlet_temp = \"8 °C\""), 8, "primary.inlet_temp", "must enter above"},
            {t.substr(0, t.find("[tap_water]")), 0, "tap_water", "missing table [tap_water]"},
            // Cascades: of two duty quantities the later is named, the earlier with its line.
            {with(c, "subcooling", "subcooling = \"2 K\"\nheat_load = \"45 kW\""), 17, "evaporating.heat_load",
             "give one of evaporating.heat_load, condensing.heat_load and condensing.mass_flow; "
             "condensing.heat_load (line 10) given too"},
            {with(c, "heat_load = \"40", ""), 0, "evaporating.heat_load", "missing: the duty"},
            {with(c, "condensing_temp", "condensing_temp = \"-8 °C\""), 7, "condensing.condensing_temp",
             "by more than the stand-in's 3 K"},
            {with(c, "over_surface", "stand_in_fluid = \"R134a\""), 3, "stand_in_fluid", "the stand-in is a liquid"},
            {with(c, "over_surface", "stand_in_concentration = 30"), 3, "stand_in_concentration", "stand_in_fluid"},
            {c.substr(0, c.find("[evaporating]")), 0, "evaporating", "missing table [evaporating]"},
        });
}

}  // namespace
}  // namespace hxq::duty
