#include "duty/single_phase_duty.h"

#include "duty/unit_groups.h"

#include <fmt/format.h>

#include <optional>

namespace hxq::duty {

namespace {

std::vector<KeySpec> side_keys() {
    return {Text("fluid"),
            Number("concentration"),
            Quantity("inlet_temp", groups::kTemperature),
            Quantity("outlet_temp", groups::kTemperature),
            Quantity("mass_flow", groups::kFlow),
            Quantity("max_pressure_drop", groups::kPressure),
            Count("passes", 1),
            Count("channels", 1)};
}

void check(const DutyDocument& d) {
    for (int s = 1; s <= 2; ++s) {
        const std::string name = fmt::format("side{}", s);
        const Section& side = d.table(name);
        if (!side.present)
            throw DutyFileError(d.path, 0, name, fmt::format("missing table [{}] with the fluid of side {}", name, s));
        Require(side, "fluid", "the fluid of this side, e.g. fluid = \"water\"");
    }
}

}  // namespace

const KindLayout& SinglePhaseLayout() {
    static const KindLayout layout{
        DutyKind::SinglePhase,
        "single-phase duties",
        {Text("mode", {"design", "performance", "check"}), Flag("counter_current"),
         Quantity("heat_load", groups::kHeatLoad), Quantity("over_surface", groups::kPercent),
         Quantity("fouling_factor", groups::kFouling), Count("parallel_units", 1), Count("plates", 1),
         Count("material", 0, 1, "expected 0 (AISI 316) or 1 (higher-alloyed plates)"), Flag("dual"),
         Flag("forced_stock"), Table("side1"), Table("side2"), Table("filter")},
        {{"side1", side_keys()}, {"side2", side_keys()}},
        &check};
    return layout;
}

void ReadSingleSide(const Section& side, int s, core::InputData& g, core::SinglePhaseInput& in) {
    const Entry* conc = side.get("concentration");
    in.Fluid[s] = CreateFluid(side, "fluid", conc ? conc->number : 0);
    TakeQuantity(side, "inlet_temp", g.InletTemp[s], in.InletTemp[s]);
    TakeQuantity(side, "outlet_temp", g.OutletTemp[s], in.OutletTemp[s]);
    std::optional<double> flow_temp;
    if (in.InletTemp[s].Given) flow_temp = in.InletTemp[s].Value;
    else if (in.OutletTemp[s].Given) flow_temp = in.OutletTemp[s].Value;
    // Volume flows are taken at the side's inlet (else outlet) temperature.
    TakeQuantity(side, "mass_flow", g.MassFlux[s], in.MassFlow[s], in.Fluid[s].get(), flow_temp);
    TakeQuantity(side, "max_pressure_drop", g.MaxPressureDrop[s], in.MaxPressureDrop[s]);
    TakeCount(side, "passes", g.NoOfPasses[s], in.NoOfPasses[s]);
    TakeCount(side, "channels", g.NoOfChannels[s][1], in.NoOfChannels[s][1]);
}

void FillTarget(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database,
                core::InputData& g) {
    g.Xer = target.alias;
    g.XerID = target.node;
    g.XerDB = database;
    g.XerTag = target.tag;
    g.IsXerGroup = target.is_group;
    if (const Entry* e = duty.top.get("dual")) g.IsDualCalc = e->flag;
    if (const Entry* e = duty.top.get("material")) g.Material = e->count;
    g.Filter = duty.filter;
}

core::SPCDataType BuildSPCData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database) {
    core::SPCDataType data;
    core::InputData& g = data.GivenValues;
    core::SinglePhaseInput& in = data.InData;
    const Section& top = duty.top;
    FillTarget(duty, target, database, g);
    in.CalcMode = EngineMode(top);
    if (const Entry* e = top.get("counter_current")) in.CounterCurrent = e->flag;
    if (const Entry* e = top.get("forced_stock")) in.ForcedStock = e->flag;

    for (int s = 1; s <= 2; ++s) ReadSingleSide(duty.table(fmt::format("side{}", s)), s, g, in);
    TakeQuantity(top, "heat_load", g.heatLoad, in.HeatLoad);
    TakeQuantity(top, "over_surface", g.OverSurface, in.OverSurface);
    TakeQuantity(top, "fouling_factor", g.FoulingFactor, in.FoulingFactor);
    TakeCount(top, "parallel_units", g.ParallelUnits, in.ParallelUnits);
    TakeCount(top, "plates", g.NoPlates, in.NoOfPlates);
    return data;
}

}  // namespace hxq::duty
