#include "result_table.h"

#include "result_detail.h"

#include "core/calculate.h"
#include "core/model_designation.h"
#include "settings/format.h"
#include "settings/library_state.h"

#include <fmt/core.h>
#include <fmt/format.h>

#include <algorithm>
#include <cstdio>

namespace hxq::app {

namespace {

bool filled(const core::OutDataType& slot) {
    return slot.OutputData.Valid && slot.OutputData.ParallelUnits != core::kEmptySlotUnits;
}

std::string letter(const std::string& chantype, int which) {
    const std::size_t i = static_cast<std::size_t>(which - 1);
    return i < chantype.size() ? chantype.substr(i, 1) : std::string();
}

std::string passes_text(const core::SinglePhaseResult& r) {
    return r.Passes[1] == r.Passes[2] || r.Passes[1] == 0 ? std::to_string(r.NoOfPasses)
                                                           : fmt::format("{}/{}", r.Passes[1], r.Passes[2]);
}

// One row per alternative: the unit, its load and area, price and remark marks.
std::string performance_block(const core::SPCDataType& data, const std::vector<const core::OutDataType*>& listed,
                              const QuantityUnits& u, const Labels& text, RemarkLegend& legend) {
    AlignedTable t(text(484, "Single-phase units"));
    t.add_header({"#", text(359, "Model"), text(375, "Plates"), text(153, "Channels"), text(374, "Passes"),
                  text(408, "Units"), text(305, "Heat load"), text(112, "Area"), "OHTC pred.", "OHTC req.",
                  text(397, "Over-surface"), text(129, "Price"), "Remarks"});
    t.add_header({"", "", "", "side 1/2", "", "", UnitLabel(u.heat_load), UnitLabel(u.area), UnitLabel(u.ohtc),
                  UnitLabel(u.ohtc), "%", "", ""});
    t.align_left(1);
    t.align_left(12);
    const SinglePhaseDuty duty = DutyOf(data);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const core::OutDataType& alt = *listed[i];
        const core::SinglePhaseResult& r = alt.OutputData;
        const int rank = static_cast<int>(i + 1);
        const Remarks remarks = SinglePhaseRemarks(r, duty, u);
        legend.add(rank, remarks);
        t.add_row({std::to_string(rank), Designation(alt, IsDualPair(data, alt)), std::to_string(r.NoOfPlates),
                   fmt::format("{}/{}", r.NoOfChannels[1], r.NoOfChannels[2]), passes_text(r),
                   std::to_string(r.ParallelUnits), Shown(r.HeatLoad, u.heat_load), Shown(r.HeatTransferArea, u.area),
                   Shown(r.Kpredicted, u.ohtc), Shown(r.Krequired, u.ohtc), settings::fixed_text(r.OverSurface, 1),
                   settings::fixed_text(alt.Price, 0), RemarkMarks(remarks)});
    }
    return t.text();
}

// Two rows per alternative, one per side, keyed by the rank.
std::string sides_block(const core::SPCDataType& data, const std::vector<const core::OutDataType*>& listed,
                        const QuantityUnits& u, const Labels& text) {
    AlignedTable t(text(483, "Sides"));
    t.add_header({"#", text(483, "Side"), text(276, "Fluid"), text(322, "Inlet"), text(400, "Outlet"),
                  text(272, "Mass flow"), text(125, "dp"), text(431, "dp ports"), text(154, "Channel vel."),
                  text(181, "Port vel.")});
    const std::string temperature = UnitLabel(u.temperature);
    const std::string pressure = UnitLabel(u.pressure);
    const std::string velocity = UnitLabel(u.velocity);
    t.add_header({"", "", "", temperature, temperature, UnitLabel(u.mass_flow), pressure, pressure, velocity, velocity});
    t.align_left(2);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const core::OutDataType& alt = *listed[i];
        const core::SinglePhaseResult& r = alt.OutputData;
        const int circuits = Circuits(data, alt);
        for (int s = 1; s <= 2; ++s)
            t.add_row({std::to_string(i + 1), std::to_string(s), FluidText(data, s), Shown(r.InletTemp[s], u.temperature),
                       Shown(r.OutletTemp[s], u.temperature), Shown(circuits * r.MassFlow[s], u.mass_flow),
                       Shown(r.PressureDrop[s], u.pressure), Shown(r.PortPressureDrop[s], u.pressure),
                       Shown(r.ChannelVelocity[s], u.velocity), Shown(NarrowestPort(r, s).velocity, u.velocity)});
    }
    return t.text();
}

nlohmann::json side_json(const core::SPCDataType& data, const core::OutDataType& alt, int s, const QuantityUnits& u) {
    const core::SinglePhaseResult& r = alt.OutputData;
    const NarrowPort port = NarrowestPort(r, s);
    nlohmann::json j;
    j["side"] = s;
    const core::FluidObject* fluid = data.InData.Fluid[s].get();
    j["fluid"] = fluid ? fluid->YFluidName() : std::string();
    j["concentration"] = PercentQuantity(fluid ? fluid->YConc() : 0.0);
    j["inlet_temp"] = Quantity(r.InletTemp[s], u.temperature);
    j["outlet_temp"] = Quantity(r.OutletTemp[s], u.temperature);
    j["mass_flow"] = Quantity(Circuits(data, alt) * r.MassFlow[s], u.mass_flow);
    j["pressure_drop"] = Quantity(r.PressureDrop[s], u.pressure);
    j["port_pressure_drop"] = Quantity(r.PortPressureDrop[s], u.pressure);
    j["channel_velocity"] = Quantity(r.ChannelVelocity[s], u.velocity);
    j["port_velocity"] = Quantity(port.velocity, u.velocity);
    j["port_velocity_effective"] = Quantity(r.PortVelocity[s], u.velocity);
    j["port_diameter"] = Quantity(port.diameter, u.length);
    return j;
}

}  // namespace

std::string ChannelText(const core::OutDataType& alternative, int side) {
    const core::SinglePhaseResult& r = alternative.OutputData;
    const int passes = std::max<int>(1, r.Passes[side] > 0 ? r.Passes[side] : r.NoOfPasses);
    // Channelout counts the unit's channels of each type over all passes. A pass holds
    // an equal share of the side; the types alternate inside it, so a share that does
    // not divide evenly gives the left type the odd channel (13H+13M in two passes is
    // 7H+6M per pass), and the counts of a pass always add up to its channels.
    const int left = std::max<int>(0, r.Channelout[side][1]);
    const int right = std::max<int>(0, r.Channelout[side][2]);
    const int per_pass = (left + right > 0 ? left + right : r.NoOfChannels[side]) / passes;
    const int left_per_pass = right > 0 ? std::min(per_pass, (2 * left + passes) / (2 * passes)) : per_pass;
    const int per_type[2] = {left_per_pass, per_pass - left_per_pass};
    std::string counts;
    for (int which = 1; which <= 2; ++which) {
        const int n = per_type[which - 1];
        if (n <= 0) continue;
        std::string type = letter(alternative.Chantype, which);
        if (type.empty()) type = letter(alternative.Chantype, 1);
        counts += (counts.empty() ? "" : "+") + std::to_string(n) + type;
    }
    if (counts.empty()) counts = std::to_string(per_pass) + letter(alternative.Chantype, 1);
    return passes > 1 ? fmt::format("{}*({})", passes, counts) : counts;
}

std::string Designation(const core::OutDataType& alternative, bool dual_pair) {
    std::string designation = alternative.XerAlias;
    return core::FormatModelDesignation(designation, alternative.OutputData.NoOfPlates, ChannelText(alternative, 1),
                                        ChannelText(alternative, 2), dual_pair || alternative.Dual);
}

std::vector<const core::OutDataType*> ListedAlternatives(const core::SPCDataType& data) {
    std::vector<const core::OutDataType*> out;
    for (int i = 1; i <= 7; ++i)
        if (filled(data.outdata[i])) out.push_back(&data.outdata[i]);
    return out;
}

bool IsDualPair(const core::SPCDataType& data, const core::OutDataType& alternative) {
    return data.GivenValues.IsDualCalc && !alternative.OutputData.Dual;
}

int Circuits(const core::SPCDataType& data, const core::OutDataType& alternative) {
    return alternative.Dual || IsDualPair(data, alternative) ? 2 : 1;
}

std::string FluidText(const core::SPCDataType& data, int side) {
    const core::FluidObject* fluid = data.InData.Fluid[side].get();
    if (!fluid) return "";
    if (fluid->YConc() > 0) return fmt::format("{} {} %", fluid->YFluidName(), settings::show_value(fluid->YConc(), 3));
    return fluid->YFluidName();
}

SinglePhaseDuty DutyOf(const core::SPCDataType& data) {
    const core::SinglePhaseInput& in = data.InData;
    SinglePhaseDuty duty;
    if (in.OverSurface.Given) duty.asked_over_surface = in.OverSurface.Value;
    for (int s = 1; s <= 2; ++s)
        if (in.MaxPressureDrop[s].Given) duty.max_pressure_drop[s] = in.MaxPressureDrop[s].Value;
    duty.calc_type = settings::library_state().UserSettings.StartUpCalcType;
    return duty;
}

std::string ResultTable(const core::SPCDataType& data, OutputSystem system, const Labels& text) {
    const std::vector<const core::OutDataType*> listed = ListedAlternatives(data);
    if (listed.empty()) return "No alternatives.\n";
    const QuantityUnits u = OutputUnits(system);
    RemarkLegend legend;
    std::string out = performance_block(data, listed, u, text, legend);
    out += "\n" + sides_block(data, listed, u, text);
    if (!legend.empty()) out += "\n" + legend.text();
    return out;
}

nlohmann::json AlternativeJson(const core::SPCDataType& data, const core::OutDataType& alt, int rank,
                               const QuantityUnits& u) {
    const core::SinglePhaseResult& r = alt.OutputData;
    nlohmann::json j;
    j["rank"] = rank;
    j["designation"] = Designation(alt, IsDualPair(data, alt));
    j["model"] = alt.XerAlias;
    j["channel_type"] = alt.Chantype;
    j["node"] = alt.nodeid;
    j["plates"] = r.NoOfPlates;
    j["channels"] = {r.NoOfChannels[1], r.NoOfChannels[2]};
    j["passes"] = {r.Passes[1], r.Passes[2]};
    j["parallel_units"] = r.ParallelUnits;
    j["circuits"] = Circuits(data, alt);
    j["heat_load"] = Quantity(r.HeatLoad, u.heat_load);
    j["area"] = Quantity(r.HeatTransferArea, u.area);
    j["ohtc_predicted"] = Quantity(r.Kpredicted, u.ohtc);
    j["ohtc_required"] = Quantity(r.Krequired, u.ohtc);
    j["over_surface"] = PercentQuantity(r.OverSurface);
    j["pressure_drop"] = {Quantity(r.PressureDrop[1], u.pressure), Quantity(r.PressureDrop[2], u.pressure)};
    j["sides"] = {side_json(data, alt, 1, u), side_json(data, alt, 2, u)};
    j["price"] = FloatPrecision(alt.Price);
    if (r.ErrorCode != 0) j["remark_code"] = r.ErrorCode;
    j["remarks"] = RemarkJson(SinglePhaseRemarks(r, DutyOf(data), u));
    return j;
}

nlohmann::json ResultJson(const core::SPCDataType& data, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json alternatives = nlohmann::json::array();
    const std::vector<const core::OutDataType*> listed = ListedAlternatives(data);
    for (std::size_t i = 0; i < listed.size(); ++i)
        alternatives.push_back(AlternativeJson(data, *listed[i], static_cast<int>(i + 1), u));
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", "single-phase"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", SystemName(system)},
                          {"alternatives", std::move(alternatives)}};
}

int PrintSinglePhase(const core::SPCDataType& data, OutputSystem system, bool json, std::optional<int> detail,
                     const Labels& text) {
    if (!detail) {
        if (json) fmt::print("{}\n", ResultJson(data, system).dump(2));
        else fmt::print("{}", ResultTable(data, system, text));
        return 0;
    }
    const std::size_t listed = ListedAlternatives(data).size();
    if (*detail < 1 || static_cast<std::size_t>(*detail) > listed) return RefuseDetail(*detail, listed);
    if (json) fmt::print("{}\n", SinglePhaseDetailJson(data, *detail, system).dump(2));
    else fmt::print("{}", SinglePhaseDetail(data, *detail, system, text));
    return 0;
}

}  // namespace hxq::app
