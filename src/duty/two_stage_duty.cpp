#include "duty/two_stage_duty.h"

#include "duty/single_phase_duty.h"
#include "duty/unit_groups.h"

#include <fmt/format.h>

#include <optional>

namespace hxq::duty {

namespace {

std::vector<KeySpec> circuit_keys() {
    return {Text("fluid"),
            Number("concentration"),
            Quantity("inlet_temp", groups::kTemperature),
            Quantity("outlet_temp", groups::kTemperature),
            Quantity("mass_flow", groups::kFlow),
            Quantity("max_pressure_drop", groups::kPressure)};
}

void require_circuit(const DutyDocument& d, const char* name, const char* what) {
    const Section& s = d.table(name);
    if (!s.present)
        throw DutyFileError(d.path, 0, name, fmt::format("missing table [{}] with the {}, e.g. fluid = \"water\"", name, what));
    Require(s, "fluid", fmt::format("the {}, e.g. fluid = \"water\"", what));
    Require(s, "inlet_temp", fmt::format("the inlet temperature of the {}, e.g. inlet_temp = \"10 °C\"", what));
}

void check(const DutyDocument& d) {
    require_circuit(d, "primary", "district water (the heating side)");
    require_circuit(d, "tap_water", "tap water (the heated side)");
    // The share splits the primary's limit between the stages: without the limit there
    // is nothing to split and the driver would ignore it.
    if (d.top.has("primary_pressure_drop_share") && !d.table("primary").has("max_pressure_drop"))
        d.top.fail("primary_pressure_drop_share",
                   "a share of the primary pressure drop needs the limit it divides: give primary.max_pressure_drop");
    const Section& radiator = d.table("radiator_return");
    if (radiator.present)
        Require(radiator, "mass_flow", "the flow of the radiator return joining the primary, e.g. mass_flow = \"0.15 kg/s\"");
}

}  // namespace

const KindLayout& TwoStageLayout() {
    static const KindLayout layout{
        DutyKind::TwoStage,
        "two-stage duties",
        {Quantity("heat_load", groups::kHeatLoad), Quantity("over_surface", groups::kPercent),
         Quantity("fouling_factor", groups::kFouling), Quantity("primary_pressure_drop_share", groups::kPercent),
         Count("material", 0, 1, "expected 0 (AISI 316) or 1 (higher-alloyed plates)"), Flag("forced_stock"),
         Table("primary"), Table("tap_water"), Table("radiator_return"), Table("filter")},
        {{"primary", circuit_keys()},
         {"tap_water", circuit_keys()},
         {"radiator_return", {Quantity("mass_flow", groups::kFlow), Quantity("temperature", groups::kTemperature)}}},
        &check};
    return layout;
}

core::TwoStageType BuildTwoStageData(const DutyDocument& duty, const ResolvedTarget& target,
                                     const std::string& database) {
    core::TwoStageType data;
    data.TwoStageCalc = true;
    core::InputData& g = data.GivenValues;
    core::SinglePhaseInput& in = data.InData;
    const Section& top = duty.top;
    FillTarget(duty, target, database, g);
    in.CalcMode = "D";  // the whole duty is designed in one pack, then split
    if (const Entry* e = top.get("forced_stock")) in.ForcedStock = e->flag;
    const Section& primary = duty.table("primary");
    ReadSingleSide(primary, 1, g, in);
    ReadSingleSide(duty.table("tap_water"), 2, g, in);
    if (!(in.InletTemp[1].Value > in.InletTemp[2].Value))
        primary.fail("inlet_temp", fmt::format("the district water heats the tap water: it must enter above the tap "
                                               "water's {:g} °C",
                                               in.InletTemp[2].Value));
    TakeQuantity(top, "heat_load", g.heatLoad, in.HeatLoad);
    TakeQuantity(top, "over_surface", g.OverSurface, in.OverSurface);
    TakeQuantity(top, "fouling_factor", g.FoulingFactor, in.FoulingFactor);

    if (top.has("primary_pressure_drop_share")) {
        const double share = SiValue(top, "primary_pressure_drop_share");
        if (!(share > 0 && share < 100))
            top.fail("primary_pressure_drop_share",
                     fmt::format("{:g} %: stage 1's part of the primary pressure drop lies between 0 and 100 %", share));
        data.Primary_dP_Percentage = core::TwoStageIndataType{static_cast<float>(share), true};
    }
    const Section& radiator = duty.table("radiator_return");
    if (radiator.present) {
        std::optional<double> temp;
        if (radiator.has("temperature")) temp = SiValue(radiator, "temperature");
        // A volume flow is the primary water's at the return's temperature, else the
        // primary's leaving or entering temperature.
        std::optional<double> flow_temp = temp;
        if (!flow_temp) flow_temp = in.OutletTemp[1].Given ? in.OutletTemp[1].Value : in.InletTemp[1].Value;
        const double flow = SiValue(radiator, "mass_flow", in.Fluid[1].get(), flow_temp);
        if (!(flow > 0)) radiator.fail("mass_flow", "the radiator return's flow must be above 0");
        data.Rad_Flow = core::TwoStageIndataType{static_cast<float>(flow), true};
        if (temp) data.Rad_Temp = core::TwoStageIndataType{static_cast<float>(*temp), true};
    }
    return data;
}

}  // namespace hxq::duty
