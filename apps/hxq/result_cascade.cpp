#include "result_cascade.h"

#include "result_two_phase.h"

#include "core/calculate.h"

#include <fmt/format.h>

#include <utility>
#include <vector>

namespace hxq::app {

namespace {

// Slot i of both lists is the same pack.
using Pack = std::pair<const core::CONOutDataType*, const core::VAPOutDataType*>;

std::vector<Pack> listed(const core::CascadeDataType& data) {
    std::vector<Pack> out;
    for (int i = 1; i <= 7; ++i) {
        const core::VAPOutDataType& v = data.outdataVap[i];
        if (v.Price < core::kEmptySlotPrice && v.OutputData.Status < 0) out.emplace_back(&data.outdataCon[i], &v);
    }
    return out;
}

std::string units_text(const core::EvaporatorResult& r) {
    return r.SerialUnits > 1 ? fmt::format("{}x{}", r.ParallelUnits, r.SerialUnits) : std::to_string(r.ParallelUnits);
}

nlohmann::json condensing_json(const core::CondenserResult& r, const QuantityUnits& u) {
    const RefrigerantStates st = StatesOf(r);
    return nlohmann::json{{"fluid", FluidName(r.FluidObject.get())},
                          {"condensing_temp", Quantity(st.sat_in, u.temperature)},
                          {"bubble_temp_out", Quantity(st.sat_out, u.temperature)},
                          {"superheat", Quantity(st.superheat, u.temperature_difference)},
                          {"subcooling", Quantity(st.subcooling, u.temperature_difference)},
                          {"inlet_temp", Quantity(r.InletTemp[1], u.temperature)},
                          {"outlet_temp", Quantity(r.OutletTemp[1], u.temperature)},
                          {"mass_flow", Quantity(r.MassFlow[1], u.mass_flow)},
                          {"pressure_drop", Quantity(r.PressureDrop[1], u.pressure)},
                          {"heat_load", Quantity(r.HeatLoad, u.heat_load)},
                          {"over_surface", PercentQuantity(r.OverSurface)}};
}

nlohmann::json evaporating_json(const core::EvaporatorResult& r, const QuantityUnits& u) {
    const RefrigerantStates st = StatesOf(r);
    return nlohmann::json{{"fluid", FluidName(r.FluidObject.get())},
                          {"evaporating_temp", Quantity(st.sat_out, u.temperature)},
                          {"inlet_saturation_temp", Quantity(st.sat_in, u.temperature)},
                          {"superheat", Quantity(st.superheat, u.temperature_difference)},
                          {"inlet_quality", FloatPrecision(st.x_in)},
                          {"inlet_temp", Quantity(r.InletTemp[1], u.temperature)},
                          {"outlet_temp", Quantity(r.OutletTemp[1], u.temperature)},
                          {"mass_flow", Quantity(r.MassFlow[1], u.mass_flow)},
                          {"pressure_drop", Quantity(r.PressureDrop[1], u.pressure)},
                          {"heat_load", Quantity(r.HeatLoad, u.heat_load)},
                          {"over_surface", PercentQuantity(r.OverSurface)}};
}

nlohmann::json pack_json(const Pack& p, int rank, const QuantityUnits& u) {
    const core::VAPOutDataType& v = *p.second;
    const core::EvaporatorResult& r = v.OutputData;
    return nlohmann::json{{"rank", rank},
                          {"designation", TwoPhaseDesignation(v)},
                          {"model", v.XerAlias},
                          {"channel_type", v.Chantype},
                          {"node", v.nodeid},
                          {"plates", r.NoOfPlates},
                          {"parallel_units", r.ParallelUnits},
                          {"serial_units", r.SerialUnits},
                          {"area", Quantity(r.HeatTransferArea, u.area)},
                          {"heat_load", Quantity(r.HeatLoad, u.heat_load)},
                          {"price", FloatPrecision(v.Price)},
                          {"condensing", condensing_json(p.first->OutputData, u)},
                          {"evaporating", evaporating_json(r, u)},
                          {"remarks", RemarkJson(CascadeRemarks(*p.first, v, u))}};
}

}  // namespace

Remarks CascadeRemarks(const core::CONOutDataType& con, const core::VAPOutDataType& vap, const QuantityUnits& u) {
    Remarks out = TwoPhaseRemarks(con.OutputData, u, "C", "condensing circuit ", "stand-in");
    Remarks evaporating = TwoPhaseRemarks(vap.OutputData, u, "E", "evaporating circuit ", "stand-in");
    out.insert(out.end(), evaporating.begin(), evaporating.end());
    return out;
}

int ListedAlternatives(const core::CascadeDataType& data) { return static_cast<int>(listed(data).size()); }

std::string ResultTable(const core::CascadeDataType& data, OutputSystem system, const Labels& text) {
    const auto packs = listed(data);
    if (packs.empty()) return "No alternatives.\n";
    const QuantityUnits u = OutputUnits(system);
    const std::string t = UnitLabel(u.temperature);
    const std::string dt = UnitLabel(u.temperature_difference);
    AlignedTable units(text(606, "Cascade units"));
    units.add_header({"#", text(359, "Model"), text(375, "Plates"), text(408, "Units"), text(112, "Area"),
                      text(305, "Heat load"), text(129, "Price"), "Remarks"});
    units.add_header({"", "", "", "", UnitLabel(u.area), UnitLabel(u.heat_load), "", ""});
    units.align_left(1);
    units.align_left(7);
    AlignedTable circuits("Circuits");
    circuits.add_header({"#", "Circuit", text(450, "Refrigerant"), "Sat. in", "Sat. out", text(493, "Superheat"),
                         text(492, "Subcooling"), text(322, "Inlet"), text(400, "Outlet"), text(348, "Flow"),
                         text(125, "dp"), text(305, "Heat load"), text(397, "Over-surface")});
    circuits.add_header({"", "", "", t, t, dt, dt, t, t, UnitLabel(u.mass_flow), UnitLabel(u.pressure),
                         UnitLabel(u.heat_load), "%"});
    circuits.align_left(1);
    circuits.align_left(2);
    RemarkLegend legend;
    int rank = 0;
    for (const Pack& p : packs) {
        const core::CondenserResult& c = p.first->OutputData;
        const core::EvaporatorResult& e = p.second->OutputData;
        const std::string n = std::to_string(++rank);
        const Remarks remarks = CascadeRemarks(*p.first, *p.second, u);
        legend.add(rank, remarks);
        units.add_row({n, TwoPhaseDesignation(*p.second), std::to_string(e.NoOfPlates), units_text(e),
                       Shown(e.HeatTransferArea, u.area), Shown(e.HeatLoad, u.heat_load), Fixed(p.second->Price, 0),
                       RemarkMarks(remarks)});
        const RefrigerantStates cs = StatesOf(c);
        const RefrigerantStates es = StatesOf(e);
        circuits.add_row({n, "condensing", FluidName(c.FluidObject.get()), Shown(cs.sat_in, u.temperature),
                          Shown(cs.sat_out, u.temperature), Shown(cs.superheat, u.temperature_difference),
                          Shown(cs.subcooling, u.temperature_difference), Shown(c.InletTemp[1], u.temperature),
                          Shown(c.OutletTemp[1], u.temperature), Shown(c.MassFlow[1], u.mass_flow),
                          Shown(c.PressureDrop[1], u.pressure), Shown(c.HeatLoad, u.heat_load), Fixed(c.OverSurface, 1)});
        circuits.add_row({n, "evaporating", FluidName(e.FluidObject.get()), Shown(es.sat_in, u.temperature),
                          Shown(es.sat_out, u.temperature), Shown(es.superheat, u.temperature_difference), "",
                          Shown(e.InletTemp[1], u.temperature), Shown(e.OutletTemp[1], u.temperature),
                          Shown(e.MassFlow[1], u.mass_flow), Shown(e.PressureDrop[1], u.pressure),
                          Shown(e.HeatLoad, u.heat_load), Fixed(e.OverSurface, 1)});
    }
    return units.text() + "\n" + circuits.text() + (legend.empty() ? "" : "\n" + legend.text());
}

nlohmann::json ResultJson(const core::CascadeDataType& data, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (const Pack& p : listed(data)) alternatives.push_back(pack_json(p, ++rank, u));
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", "cascade"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", SystemName(system)},
                          {"alternatives", std::move(alternatives)}};
}

std::string ResultDetail(const core::CascadeDataType& data, int rank, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    const Pack p = listed(data).at(static_cast<std::size_t>(rank - 1));
    const core::VAPOutDataType& v = *p.second;
    DetailText c;
    c.heading(fmt::format("Alternative {}: {} ({}, node {}), price {}", rank, TwoPhaseDesignation(v), v.XerAlias,
                          v.nodeid, Fixed(v.Price, 0)));
    c.heading("Condensing circuit (low stage)");
    const std::string stand_in = FluidName(data.InDataCon.Fluid.get());
    CondenserDetail(c, p.first->OutputData, u, "stand-in " + stand_in);
    DetailText e;
    e.heading("Evaporating circuit (high stage)");
    EvaporatorDetail(e, v.OutputData, u, "stand-in " + stand_in);
    RemarkLegend legend;
    legend.add(rank, CascadeRemarks(*p.first, v, u));
    const std::string out = c.str() + "\n" + e.str();
    return legend.empty() ? out : out + "\n" + legend.text();
}

}  // namespace hxq::app
