#include "result_detail.h"

#include "result_table.h"
#include "single_phase_remarks.h"

#include "settings/format.h"

#include <fmt/format.h>

#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace hxq::app {

namespace {

const core::OutDataType& listed(const core::SPCDataType& data, int rank) {
    const auto all = ListedAlternatives(data);
    if (rank < 1 || static_cast<std::size_t>(rank) > all.size())
        throw std::out_of_range(fmt::format("alternative {} is not listed", rank));
    return *all[static_cast<std::size_t>(rank - 1)];
}

// A quantity of one side: its name, unit id (-1: a plain number) and value.
struct SideRow {
    const char* name;
    std::int16_t text;  // its identifier in the text table; 0: none
    const char* key;  // in JSON
    std::int16_t unit;
    std::function<double(int)> value;
};

std::vector<SideRow> side_rows(const core::SPCDataType& data, const core::OutDataType& alt, const QuantityUnits& u) {
    const core::SinglePhaseResult& r = alt.OutputData;
    const int circuits = Circuits(data, alt);
    return {
        {"Inlet temperature", 322, "inlet_temp", u.temperature, [&r](int s) { return r.InletTemp[s]; }},
        {"Outlet temperature", 400, "outlet_temp", u.temperature, [&r](int s) { return r.OutletTemp[s]; }},
        {"Mass flow", 272, "mass_flow", u.mass_flow, [&r, circuits](int s) { return circuits * r.MassFlow[s]; }},
        {"Pressure drop", 125, "pressure_drop", u.pressure, [&r](int s) { return r.PressureDrop[s]; }},
        {"  in channels", 0, "channel_pressure_drop", u.pressure, [&r](int s) { return r.ChannelPressureDrop[s]; }},
        {"  in ports", 431, "port_pressure_drop", u.pressure, [&r](int s) { return r.PortPressureDrop[s]; }},
        {"Port diameter in", 0, "port_diameter_in", u.length, [&r](int s) { return r.PortDiameterUp[s]; }},
        {"Port diameter out", 0, "port_diameter_out", u.length, [&r](int s) { return r.PortDiameterDown[s]; }},
        {"Port velocity in", 0, "port_velocity_in", u.velocity, [&r](int s) { return PortVelocityAt(r, s, r.PortDiameterUp[s]); }},
        {"Port velocity out", 0, "port_velocity_out", u.velocity, [&r](int s) { return PortVelocityAt(r, s, r.PortDiameterDown[s]); }},
        {"Port velocity (effective diameter)", 0, "port_velocity_effective", u.velocity, [&r](int s) { return r.PortVelocity[s]; }},
        {"Channel velocity", 154, "channel_velocity", u.velocity, [&r](int s) { return r.ChannelVelocity[s]; }},
        {"Reynolds number", 457, "reynolds_number", -1, [&r](int s) { return r.ReynoldsNumber[s]; }},
        {"Film coefficient", 268, "film_coefficient", u.film, [&r](int s) { return r.FilmCoefficient[s]; }},
        {"Shear stress", 0, "shear_stress", u.shear, [&r](int s) { return r.ShearStress[s]; }},
        {"NTU", 0, "ntu", -1, [&r](int s) { return r.NTU[s]; }},
        {"Wall temperature min.", 0, "wall_temp_min", u.temperature, [&r](int s) { return r.MinTemp[s]; }},
        {"Wall temperature max.", 0, "wall_temp_max", u.temperature, [&r](int s) { return r.MaxTemp[s]; }},
        {"Wall temperature mean", 116, "wall_temp_mean", u.temperature, [&r](int s) { return r.MeanWallTemp[s]; }},
        {"Reference temperature", 0, "reference_temp", u.temperature, [&r](int s) { return r.RefTemp[s]; }},
        {"Density", 200, "density", u.density, [&r](int s) { return r.Density[s]; }},
        {"Specific heat", 306, "specific_heat", u.heat_capacity, [&r](int s) { return r.SpecificHeat[s]; }},
        {"Viscosity", 557, "viscosity", u.viscosity, [&r](int s) { return r.Viscosity[s]; }},
        {"Wall viscosity", 0, "wall_viscosity", u.viscosity, [&r](int s) { return r.WallViscosity[s]; }},
        {"Conductivity", 499, "conductivity", u.conductivity, [&r](int s) { return r.Conductivity[s]; }},
    };
}

std::string plain(double v) { return settings::show_value(v, 3); }

void unit_lines(DetailText& d, const core::OutDataType& alt, const QuantityUnits& u, const Labels& text) {
    const core::SinglePhaseResult& r = alt.OutputData;
    d.heading("Unit");
    d.line(text(305, "Heat load"), ShownWithUnit(r.HeatLoad, u.heat_load));
    d.line(text(375, "Plates"), std::to_string(r.NoOfPlates) + " per unit");
    d.line(text(408, "Units in parallel"), std::to_string(r.ParallelUnits));
    d.line(text(112, "Area"), ShownWithUnit(r.HeatTransferArea, u.area));
    d.line("OHTC predicted", ShownWithUnit(r.Kpredicted, u.ohtc));
    d.line("OHTC required", ShownWithUnit(r.Krequired, u.ohtc));
    d.line("OHTC clean", ShownWithUnit(r.U_clean, u.ohtc));
    d.line(text(397, "Over-surface"), Fixed(r.OverSurface, 1) + " %");
    d.line(text(343, "LMTD"), ShownWithUnit(r.LMTD, u.temperature_difference));
    d.line("Mean temperature difference", ShownWithUnit(r.DeltaTempEffective, u.temperature_difference));
    d.line("Correction factor", plain(r.CorrectionFactor));
    d.line("Heat flux", ShownWithUnit(r.HeatFlux, u.heat_flux));
    d.line("Fouling factor", ShownWithUnit(r.FoulingFactor, u.fouling));
    d.line("Flow", r.CounterCurrent ? "counter-current" : "co-current");
    d.line(text(129, "Price"), Fixed(alt.Price, 0));
}

void side_lines(DetailText& d, const core::SPCDataType& data, const core::OutDataType& alt, int s,
                const QuantityUnits& u, const Labels& text) {
    const core::SinglePhaseResult& r = alt.OutputData;
    d.heading(fmt::format("{} {} ({})", text(483, "Side"), s, FluidText(data, s)));
    d.line(text(153, "Channels"), std::to_string(r.NoOfChannels[s]));
    d.line(text(374, "Passes"), std::to_string(r.Passes[s]));
    for (const SideRow& q : side_rows(data, alt, u)) {
        // The engine leaves the NTU 0 where it did not rate one.
        if (q.unit < 0 && std::string_view(q.key) == "ntu" && !(q.value(s) > 0)) continue;
        // An indented line ("  in ports") keeps its indent in every language.
        const std::string name = q.text == 0 || text.offset == 0
                                     ? std::string(q.name)
                                     : (q.name[0] == ' ' ? "  " : "") + text(q.text, q.name);
        d.line(name, q.unit < 0 ? plain(q.value(s)) : ShownWithUnit(q.value(s), q.unit));
    }
}

}  // namespace

std::string SinglePhaseDetail(const core::SPCDataType& data, int rank, OutputSystem system, const Labels& text) {
    const core::OutDataType& alt = listed(data, rank);
    const QuantityUnits u = OutputUnits(system);
    DetailText d;
    d.heading(fmt::format("Alternative {}: {}", rank, Designation(alt, IsDualPair(data, alt))));
    unit_lines(d, alt, u, text);
    for (int s = 1; s <= 2; ++s) side_lines(d, data, alt, s, u, text);
    RemarkLegend legend;
    legend.add(rank, SinglePhaseRemarks(alt.OutputData, DutyOf(data), u));
    return legend.empty() ? d.str() : d.str() + "\n" + legend.text();
}

nlohmann::json SinglePhaseDetailJson(const core::SPCDataType& data, int rank, OutputSystem system) {
    const core::OutDataType& alt = listed(data, rank);
    const core::SinglePhaseResult& r = alt.OutputData;
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json j = AlternativeJson(data, alt, rank, u);
    nlohmann::json d;
    d["ohtc_clean"] = Quantity(r.U_clean, u.ohtc);
    d["lmtd"] = Quantity(r.LMTD, u.temperature_difference);
    d["mean_temperature_difference"] = Quantity(r.DeltaTempEffective, u.temperature_difference);
    d["correction_factor"] = FloatPrecision(r.CorrectionFactor);
    d["heat_flux"] = Quantity(r.HeatFlux, u.heat_flux);
    d["fouling_factor"] = Quantity(r.FoulingFactor, u.fouling);
    d["counter_current"] = r.CounterCurrent;
    nlohmann::json sides = nlohmann::json::array();
    for (int s = 1; s <= 2; ++s) {
        nlohmann::json side{{"side", s}};
        for (const SideRow& q : side_rows(data, alt, u)) {
            if (q.unit < 0 && std::string_view(q.key) == "ntu" && !(q.value(s) > 0)) continue;
            side[q.key] = q.unit < 0 ? nlohmann::json(FloatPrecision(q.value(s))) : Quantity(q.value(s), q.unit);
        }
        sides.push_back(std::move(side));
    }
    d["sides"] = std::move(sides);
    j["detail"] = std::move(d);
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", "single-phase"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", SystemName(system)},
                          {"alternative", std::move(j)}};
}

}  // namespace hxq::app
