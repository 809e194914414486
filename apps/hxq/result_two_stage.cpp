#include "result_two_stage.h"

#include "result_table.h"
#include "single_phase_remarks.h"

#include "core/calculate.h"
#include "settings/library_state.h"

#include <fmt/format.h>

#include <array>
#include <vector>

namespace hxq::app {

namespace {

bool filled(const core::TwoStageOutDataType& a) {
    return a.Stage1.OutputData.Valid && a.Stage2.OutputData.Valid && a.Stage1.Price < core::kNoSolutionPrice &&
           a.Stage1.OutputData.ParallelUnits != core::kEmptySlotUnits;
}

std::vector<const core::TwoStageOutDataType*> listed(const core::TwoStageType& data) {
    std::vector<const core::TwoStageOutDataType*> out;
    for (const auto& slot : data.outdata)
        if (filled(slot)) out.push_back(&slot);
    return out;
}

std::array<const core::OutDataType*, 2> stages(const core::TwoStageOutDataType& a) { return {&a.Stage1, &a.Stage2}; }

// Stage 2 is cut from the model stage 1 names.
std::string model_of(const core::TwoStageOutDataType& a) {
    return a.Stage1.XerAlias.empty() ? a.Stage2.XerAlias : a.Stage1.XerAlias;
}

std::string stage_designation(const core::TwoStageOutDataType& a, int stage) {
    core::OutDataType s = stage == 1 ? a.Stage1 : a.Stage2;
    if (s.XerAlias.empty()) s.XerAlias = model_of(a);
    if (s.Chantype.empty()) s.Chantype = a.Stage1.Chantype;
    return Designation(s, false);
}

int total_plates(const core::TwoStageOutDataType& a) { return a.Stage1.OutputData.NoOfPlates + a.Stage2.OutputData.NoOfPlates; }
double total_load(const core::TwoStageOutDataType& a) { return a.Stage1.OutputData.HeatLoad + a.Stage2.OutputData.HeatLoad; }
double total_price(const core::TwoStageOutDataType& a) { return a.Stage1.Price + a.Stage2.Price; }
double primary_drop(const core::TwoStageOutDataType& a) {
    return a.Stage1.OutputData.PressureDrop[1] + a.Stage2.OutputData.PressureDrop[1];
}

std::string fluid_text(const core::TwoStageType& data, int side) {
    const core::FluidObject* f = data.InData.Fluid[side].get();
    if (!f) return "";
    return f->YConc() > 0 ? fmt::format("{} {:g} %", f->YFluidName(), f->YConc()) : f->YFluidName();
}

nlohmann::json side_json(const core::TwoStageType& data, const core::SinglePhaseResult& r, int s, const QuantityUnits& u) {
    return nlohmann::json{{"fluid", fluid_text(data, s)},
                          {"inlet_temp", Quantity(r.InletTemp[s], u.temperature)},
                          {"outlet_temp", Quantity(r.OutletTemp[s], u.temperature)},
                          {"mass_flow", Quantity(r.MassFlow[s], u.mass_flow)},
                          {"pressure_drop", Quantity(r.PressureDrop[s], u.pressure)},
                          {"port_pressure_drop", Quantity(r.PortPressureDrop[s], u.pressure)}};
}

nlohmann::json alternative_json(const core::TwoStageType& data, const core::TwoStageOutDataType& a, int rank,
                                const QuantityUnits& u) {
    nlohmann::json list = nlohmann::json::array();
    for (int n = 1; n <= 2; ++n) {
        const core::OutDataType& s = *stages(a)[static_cast<std::size_t>(n - 1)];
        const core::SinglePhaseResult& r = s.OutputData;
        list.push_back({{"stage", n},
                        {"designation", stage_designation(a, n)},
                        {"plates", r.NoOfPlates},
                        {"channels", {r.NoOfChannels[1], r.NoOfChannels[2]}},
                        {"heat_load", Quantity(r.HeatLoad, u.heat_load)},
                        {"area", Quantity(r.HeatTransferArea, u.area)},
                        {"ohtc_predicted", Quantity(r.Kpredicted, u.ohtc)},
                        {"price", FloatPrecision(s.Price)},
                        {"primary", side_json(data, r, 1, u)},
                        {"tap_water", side_json(data, r, 2, u)}});
    }
    return nlohmann::json{{"rank", rank},
                          {"model", model_of(a)},
                          {"node", a.Stage1.nodeid},
                          {"plates", total_plates(a)},
                          {"heat_load", Quantity(total_load(a), u.heat_load)},
                          {"primary_pressure_drop", Quantity(primary_drop(a), u.pressure)},
                          {"price", FloatPrecision(total_price(a))},
                          {"stages", std::move(list)},
                          {"remarks", RemarkJson(TwoStageRemarks(data, a, u))}};
}

void stage_detail(DetailText& d, const core::TwoStageOutDataType& a, int n,
                  const QuantityUnits& u) {
    const core::SinglePhaseResult& r = stages(a)[static_cast<std::size_t>(n - 1)]->OutputData;
    d.heading(fmt::format("Stage {} ({}): {}", n, n == 1 ? "pre-heater" : "after-heater", stage_designation(a, n)));
    d.line("Plates", std::to_string(r.NoOfPlates));
    d.line("Channels primary / tap water", fmt::format("{} / {}", r.NoOfChannels[1], r.NoOfChannels[2]));
    d.line("Heat load", ShownWithUnit(r.HeatLoad, u.heat_load));
    d.line("Heat transfer area", ShownWithUnit(r.HeatTransferArea, u.area));
    d.line("U predicted", ShownWithUnit(r.Kpredicted, u.ohtc));
    d.line("Mean temperature difference", ShownWithUnit(r.DeltaTempEffective, u.temperature_difference));
    for (int s = 1; s <= 2; ++s) {
        const std::string side = s == 1 ? "Primary" : "Tap water";
        d.line(side + " in / out", Shown(r.InletTemp[s], u.temperature) + " / " + ShownWithUnit(r.OutletTemp[s], u.temperature));
        d.line(side + " flow", ShownWithUnit(r.MassFlow[s], u.mass_flow));
        d.line(side + " pressure drop total / ports",
               Shown(r.PressureDrop[s], u.pressure) + " / " + ShownWithUnit(r.PortPressureDrop[s], u.pressure));
        d.line(side + " channel / port velocity",
               Shown(r.ChannelVelocity[s], u.velocity) + " / " + ShownWithUnit(r.PortVelocity[s], u.velocity));
        d.line(side + " film coefficient", ShownWithUnit(r.FilmCoefficient[s], u.film));
    }
    d.line("Price", Fixed(stages(a)[static_cast<std::size_t>(n - 1)]->Price, 0));
}

}  // namespace

Remarks TwoStageRemarks(const core::TwoStageType& data, const core::TwoStageOutDataType& a, const QuantityUnits& u) {
    // The primary's limit holds for both stages together and the stages are rated on
    // flows, not on a margin: only the port remarks and the engine's apply to a stage.
    SinglePhaseDuty duty;
    duty.calc_type = settings::library_state().UserSettings.StartUpCalcType;
    Remarks out;
    for (int n = 1; n <= 2; ++n) {
        for (Remark r : SinglePhaseRemarks(stages(a)[static_cast<std::size_t>(n - 1)]->OutputData, duty, u)) {
            r.mark = std::to_string(n) + r.mark;
            r.text = fmt::format("stage {}, {}", n, r.text);
            out.push_back(std::move(r));
        }
    }
    const core::SinglePhaseInput& in = data.InData;
    // The driver accepts a pair within 1.05 times the limit.
    if (in.MaxPressureDrop[1].Given && primary_drop(a) > 1.05 * in.MaxPressureDrop[1].Value)
        out.push_back({"L", "pressure_drop_limit", 1,
                       fmt::format("primary: pressure drop of both stages {} above the limit of {}",
                                   ShownWithUnit(primary_drop(a), u.pressure),
                                   ShownWithUnit(in.MaxPressureDrop[1].Value, u.pressure)),
                       ShownWithUnit(primary_drop(a), u.pressure)});
    return out;
}

int ListedAlternatives(const core::TwoStageType& data) { return static_cast<int>(listed(data).size()); }

std::string ResultTable(const core::TwoStageType& data, OutputSystem system, const Labels& text) {
    const auto alternatives = listed(data);
    if (alternatives.empty()) return "No alternatives.\n";
    const QuantityUnits u = OutputUnits(system);
    const std::string t = UnitLabel(u.temperature);
    const std::string flow = UnitLabel(u.mass_flow);
    const std::string dp = UnitLabel(u.pressure);
    AlignedTable units("Two-stage units");
    units.add_header({"#", text(359, "Model"), text(375, "Plates"), "Stage 1", "Stage 2", text(305, "Heat load"),
                      "Primary dp", text(129, "Price"), "Remarks"});
    units.add_header({"", "", "", "", "", UnitLabel(u.heat_load), dp, "", ""});
    units.align_left(1);
    units.align_left(3);
    units.align_left(4);
    units.align_left(8);
    AlignedTable rows(fmt::format("Stages (primary {}, tap water {})", fluid_text(data, 1), fluid_text(data, 2)));
    rows.add_header({"#", "Stage", text(375, "Plates"), text(153, "Channels"), text(305, "Heat load"), "Primary in", "Primary out", "Primary flow",
                     "Primary dp", "Tap in", "Tap out", "Tap flow", "Tap dp"});
    rows.add_header({"", "", "", "prim./tap", UnitLabel(u.heat_load), t, t, flow, dp, t, t, flow, dp});
    RemarkLegend legend;
    int rank = 0;
    for (const auto* a : alternatives) {
        const std::string n = std::to_string(++rank);
        const Remarks remarks = TwoStageRemarks(data, *a, u);
        legend.add(rank, remarks);
        units.add_row({n, model_of(*a), std::to_string(total_plates(*a)), stage_designation(*a, 1),
                       stage_designation(*a, 2), Shown(total_load(*a), u.heat_load), Shown(primary_drop(*a), u.pressure),
                       Fixed(total_price(*a), 0), RemarkMarks(remarks)});
        for (int s = 1; s <= 2; ++s) {
            const core::SinglePhaseResult& r = stages(*a)[static_cast<std::size_t>(s - 1)]->OutputData;
            rows.add_row({n, std::to_string(s), std::to_string(r.NoOfPlates),
                          fmt::format("{}/{}", r.NoOfChannels[1], r.NoOfChannels[2]), Shown(r.HeatLoad, u.heat_load),
                          Shown(r.InletTemp[1], u.temperature), Shown(r.OutletTemp[1], u.temperature),
                          Shown(r.MassFlow[1], u.mass_flow), Shown(r.PressureDrop[1], u.pressure),
                          Shown(r.InletTemp[2], u.temperature), Shown(r.OutletTemp[2], u.temperature),
                          Shown(r.MassFlow[2], u.mass_flow), Shown(r.PressureDrop[2], u.pressure)});
        }
    }
    return units.text() + "\n" + rows.text() + (legend.empty() ? "" : "\n" + legend.text());
}

nlohmann::json ResultJson(const core::TwoStageType& data, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (const auto* a : listed(data)) alternatives.push_back(alternative_json(data, *a, ++rank, u));
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", "two-stage"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", SystemName(system)},
                          {"alternatives", std::move(alternatives)}};
}

std::string ResultDetail(const core::TwoStageType& data, int rank, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    const core::TwoStageOutDataType& a = *listed(data).at(static_cast<std::size_t>(rank - 1));
    DetailText d;
    d.heading(fmt::format("Alternative {}: {} (node {}), price {}", rank, model_of(a), a.Stage1.nodeid,
                          Fixed(total_price(a), 0)));
    d.line("Plates stage 1 / stage 2 / total",
           fmt::format("{} / {} / {}", a.Stage1.OutputData.NoOfPlates, a.Stage2.OutputData.NoOfPlates, total_plates(a)));
    d.line("Heat load", ShownWithUnit(total_load(a), u.heat_load));
    d.line("Primary pressure drop, both stages", ShownWithUnit(primary_drop(a), u.pressure));
    d.line("Fluids", fmt::format("primary {}, tap water {}", fluid_text(data, 1), fluid_text(data, 2)));
    for (int n = 1; n <= 2; ++n) stage_detail(d, a, n, u);
    RemarkLegend legend;
    legend.add(rank, TwoStageRemarks(data, a, u));
    return legend.empty() ? d.str() : d.str() + "\n" + legend.text();
}

}  // namespace hxq::app
