// Air dryer duty files: the entered values in SI, the humid air of both units at the
// operating pressure, design and rating, and the mistakes of each.
#include "duty_fixture.h"

#include "engines/fluid/air.h"

#include <string>

namespace hxq::duty {
namespace {

const std::string kDesign = R"(duty = "air-dryer"
group = "Air dryers"

[air]
inlet_temp = "35 °C"
mass_flow = "180 Nm3/h"
operating_pressure = "8 bar"
pressure_dew_point = "3 °C"
max_pressure_drop = "20 kPa"

[refrigerant]
fluid = "R134a"
evaporating_temp = "0 °C"
superheat = "5 K"
inlet_quality = 0.25
)";

const std::string kRating = R"(duty = "air-dryer"
mode = "rating"
model = "AD 600"
air_plates = 12
evaporator_plates = 8

[air]
inlet_temp = "35 °C"
mass_flow = "0.06 kg/s"
operating_pressure = "800 kPa"
inlet_dew_point = "30 °C"

[refrigerant]
fluid = "R134a"
evaporating_temp = "0 °C"
superheat = "5 K"
liquid_temp = "40 °C"
)";

// Humidity ratio of saturated air (g/kg) at 8 bar: the water the air can hold.
double saturated(double t, double p = 8e5) { return 1000 * engines::fluid::humidity_ratio(p, t, 1.0); }

TEST_F(DutyFiles, AirDryerDesignGivesTheDriverSIValuesAndHumidAirAtItsPressure) {
    const batch::ADDataType data = BuildADData(parse(kDesign), target(52, true, "Air dryers", "tag"));
    const batch::ADInputType& in = data.ADInData;
    const batch::ADFormIndataType& f = in.ADFormIndata;
    EXPECT_EQ(in.XerIndex, 52);
    EXPECT_TRUE(in.IsGroup);
    EXPECT_EQ(in.XerTag, "tag");
    EXPECT_EQ(f.CalcMethod, 0);
    EXPECT_FLOAT_EQ(f.AirOperatingPressure, 8e5);
    EXPECT_FLOAT_EQ(f.DewTemp, 3);
    EXPECT_FLOAT_EQ(f.AirMaxPressureDrop, 20e3);
    EXPECT_FLOAT_EQ(f.RefSuperHeat, 5);
    EXPECT_FLOAT_EQ(f.RefVaporQualityInlet, 0.25f);
    EXPECT_EQ(f.RefFluid, "R134a");
    EXPECT_LT(f.AirMinOutletTemp, -200);  // no limit unless given
    // 180 Nm³/h at 20 °C and 1 bar: dry air there is 100000 / (287.05 · 293.15) =
    // 1.188 kg/m³ (ideal gas, R of air from Lemmon et al. 2000); its water lowers it a little.
    EXPECT_NEAR(f.AirMassFlow, 180 / 3600.0 * 1.188, 0.01 * 180 / 3600.0 * 1.188);

    // Saturated air entering (the default); the dried air holds what 3 °C saturation leaves.
    const core::FluidRef& wet = in.RefIndata.AirFluid;
    const core::PerSide<core::FluidRef>& air = in.AirIndata.InData.Fluid;
    EXPECT_EQ(air[2], wet);
    EXPECT_NEAR(wet->YConc(), saturated(35), 1e-9);
    EXPECT_NEAR(air[1]->YConc(), saturated(3), 1e-9);
    for (const auto* fluid : {wet.get(), air[1].get()}) EXPECT_DOUBLE_EQ(fluid->YPressure(), 8e5);

    // Half saturated: half the vapour pressure.
    const batch::ADDataType half = BuildADData(parse(with(kDesign, "max_pressure_drop", "max_pressure_drop = \"20 kPa\"\ninlet_humidity = \"50 %\"")), {});
    EXPECT_NEAR(half.ADInData.RefIndata.AirFluid->YConc(), 1000 * engines::fluid::humidity_ratio(8e5, 35, 0.5), 1e-9);
}

TEST_F(DutyFiles, AirDryerRatingTakesThePlatesAndTheDewPointEntering) {
    const batch::ADDataType data = BuildADData(parse(kRating), target(281, false, "AD 600"));
    const batch::ADFormIndataType& f = data.ADInData.ADFormIndata;
    EXPECT_EQ(f.CalcMethod, 1);
    EXPECT_EQ(f.AirNoOfPlates, 12);
    EXPECT_EQ(f.RefNoOfPlates, 8);
    EXPECT_FLOAT_EQ(f.AirMassFlow, 0.06f);
    EXPECT_NEAR(data.ADInData.RefIndata.AirFluid->YConc(), saturated(30), 1e-9);
    // A rating finds its dew temperature: the dried air holds the water of saturation at
    // the evaporating temperature.
    EXPECT_NEAR(data.ADInData.AirIndata.InData.Fluid[1]->YConc(), saturated(0), 1e-9);
    EXPECT_NEAR(f.RefVaporQualityInlet, QualityAfterExpansion(*data.ADInData.RefIndata.RefFluid, 40, 0), 1e-6);
}

TEST_F(DutyFiles, AirDryerMistakesNameTheKeyAndTheLine) {
    const std::string d = kDesign;
    const std::string r = kRating;
    expect_mistakes(
        {
            {with(d, "pressure_dew_point", ""), 4, "air.pressure_dew_point", "missing: the pressure dew point"},
            {with(d, "group", "group = \"Air dryers\"\nair_plates = 12"), 3, "air_plates",
             "a key of air-dryer ratings (mode = \"rating\")"},
            {with(r, "evaporator_plates", ""), 0, "evaporator_plates", "plates of both units"},
            {with(r, "air_plates", "air_plates = 13"), 4, "air_plates", "even number"},
            {with(r, "air_plates", "air_plates = 4"), 4, "air_plates", "from 6"},
            {with(r, "inlet_dew_point", "inlet_dew_point = \"40 °C\""), 11, "air.inlet_dew_point", "above its temperature"},
            {with(r, "inlet_dew_point", "inlet_humidity = \"120 %\""), 11, "air.inlet_humidity", "up to 100 %"},
            {with(d, "pressure_dew_point", "pressure_dew_point = \"40 °C\""), 8, "air.pressure_dew_point", "already"},
            {with(d, "pressure_dew_point", "pressure_dew_point = \"-1 °C\""), 8, "air.pressure_dew_point",
             "above refrigerant.evaporating_temp"},
            {with(d, "mass_flow", "mass_flow = \"180 kW\""), 6, "air.mass_flow", "Flow"},
            {with(r, "mode", "mode = \"rate\""), 2, "mode", "use \"design\" or \"rating\""},
            {d.substr(0, d.find("[air]")) + d.substr(d.find("[refrigerant]")), 0, "air", "missing table [air]"},
            {with(d, "fluid", "fluid = \"Air\""), 12, "refrigerant.fluid", "no saturation data"},
        });
}

}  // namespace
}  // namespace hxq::duty
