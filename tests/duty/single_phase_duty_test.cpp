// Single-phase duty files: the two value forms, SI conversion with the units database,
// and messages that name the line and the key of a mistake.
#include "duty_fixture.h"

#include <string>

namespace hxq::duty {
namespace {

const char* kSides = R"(
[side1]
fluid = "water"
inlet_temp = "90 °C"
outlet_temp = ["60", "°C"]
max_pressure_drop = "0.5 bar"

[side2]
fluid = "ethylene glycol"
concentration = 30
inlet_temp = [10, "degC"]
mass_flow = "3.6 m3/h"
)";

TEST_F(DutyFiles, BothValueFormsAreConvertedToSIWithTheirTextsKept) {
    const DutyDocument d = parse(std::string("group = \"Large\"\nheat_load = \"50 kW\"\nover_surface = \"10 %\"\n"
                                             "fouling_factor = \"0.02 m2,C/kW\"\nmaterial = 1\ndual = true\n") + kSides);
    const core::SPCDataType data = BuildSPCData(d, target(13, true), "products.db");
    const core::SinglePhaseInput& in = data.InData;
    EXPECT_EQ(in.HeatLoad, (core::DutyValue{50e3, true}));
    EXPECT_EQ(in.OutletTemp[1], (core::DutyValue{60, true}));  // a number as text in the list form
    // The converter works in single precision.
    EXPECT_DOUBLE_EQ(in.MaxPressureDrop[1].Value, 50e3);
    EXPECT_NEAR(in.FoulingFactor.Value, 2e-5, 2e-5 * 1e-6);
    EXPECT_DOUBLE_EQ(in.OverSurface.Value, 10);
    EXPECT_FALSE(in.OutletTemp[2].Given);
    // 3.6 m³/h of the glycol at its 10 °C inlet: 1e-3 m³/s times its density.
    const double rho = in.Fluid[2]->YDensity(10);
    EXPECT_NEAR(in.MassFlow[2].Value, 1e-3 * rho, 1e-3 * rho * 1e-6);
    EXPECT_EQ(in.Fluid[2]->YConc(), 30);
    // The texts as entered, the units as the documents print them.
    const core::InputData& g = data.GivenValues;
    EXPECT_EQ(g.InletTemp[2].sValue, "10");
    EXPECT_EQ(g.InletTemp[2].sUnit, "°C");
    EXPECT_EQ(g.MassFlux[2].sUnit, "m³/h");
    EXPECT_EQ(g.FoulingFactor.sUnit, "m²,°C/kW");
    EXPECT_TRUE(g.IsXerGroup);
    EXPECT_EQ(g.XerID, 13);
    EXPECT_TRUE(g.IsDualCalc);
    EXPECT_EQ(g.Material, 1);
}

TEST_F(DutyFiles, MistakesNameTheLineAndTheKey) {
    const std::string model = "model = \"Q22 H\"\n";
    expect_mistakes(
        {
            {model + "heat_lod = \"5 kW\"\n" + kSides, 2, "heat_lod", "unknown key"},
            {model + "heat_load = 5\n" + kSides, 2, "heat_load", "needs its unit"},
            {model + "heat_load = \"5\"\n" + kSides, 2, "heat_load", "has no unit"},
            {model + "heat_load = \"five kW\"\n" + kSides, 2, "heat_load", "not a number"},
            {model + "heat_load = \"5 kPa\"\n" + kSides, 2, "heat_load", "Heat load"},
            {model + "heat_load = \"5 kWh\"\n" + kSides, 2, "heat_load", "unknown unit"},
            {model + "plates = 2.5\n" + kSides, 2, "plates", "whole number"},
            {model + "material = 2\n" + kSides, 2, "material", "0 (AISI 316) or 1"},
            {model + "duty = \"heat-pump\"\n" + kSides, 2, "duty", "unknown duty \"heat-pump\"; use"},
            {model + "mode = \"fast\"\n" + kSides, 2, "mode", "unknown mode \"fast\"; use \"design\", \"performance\" or \"check\""},
            {model + "group = \"G\"\n" + kSides, 2, "group", "one of group, model and node"},
            // A key of another kind says whose it is.
            {model + "[side1]\nfluid = \"water\"\nsuperheat = \"5 K\"\n", 4, "side1.superheat", "unknown key"},
            {model + "[refrigerant]\nfluid = \"R134a\"\n" + kSides, 2, "refrigerant", "a key of condenser duties"},
            {model + "[side1]\nfluid = \"water\"\n[side2]\n", 4, "side2.fluid", "missing: the fluid of this side"},
            {model + "heat_load = \"5 kW\n" + kSides, 2, "heat_load", ""},
            {model + std::string(kSides) + "[filter]\nconnections = [\"C1\"]\n", 15, "filter.connections", "warehouse"},
            {model + "[side1]\nfluid = \"watr\"\n[side2]\nfluid = \"water\"\n", 3, "side1.fluid", "unknown fluid"},
            {"heat_load = \"5 kW\"\n" + std::string(kSides), 0, "group", "missing: the model or group"},
            {model + "[side1]\nfluid = \"water\"\n", 0, "side2", "missing table [side2]"},
        });
}

}  // namespace
}  // namespace hxq::duty
