#include "result_two_phase.h"

#include "core/calculate.h"
#include "core/model_designation.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

namespace hxq::app {

namespace {

// A two-phase inlet faster than this in its port distributes badly: the evaporator group
// search drops such units (docs/engine-records.md); a single model rated is kept, with
// this remark.
constexpr double kTwoPhaseInletPortVelocity = 12.5;  // m/s

template <class Data>
constexpr bool kCondenser = std::is_same_v<Data, core::CONDataType>;

template <class Alternative>
bool filled(const Alternative& a) {
    return a.OutputData.Status < 0 && a.OutputData.ParallelUnits != core::kEmptySlotUnits &&
           a.Price < core::kEmptySlotPrice;
}

template <class Data>
auto listed(const Data& data) {
    std::vector<const std::decay_t<decltype(data.outdata[1])>*> out;
    for (int i = 1; i <= 7; ++i)
        if (filled(data.outdata[i])) out.push_back(&data.outdata[i]);
    return out;
}

template <class Data, class Alternative>
bool dual_pair(const Data& data, const Alternative& a) {
    return data.GivenValues.IsDualCalc && !a.Dual;
}

template <class Alternative>
std::string designation(const Alternative& a, bool pair) {
    std::string alias = a.XerAlias;
    const std::string type = a.Chantype.substr(0, 1);
    const auto& r = a.OutputData;
    return core::FormatModelDesignation(alias, r.NoOfPlates, std::to_string(r.NoOfChannels[1]) + type,
                                        std::to_string(r.NoOfChannels[2]) + type, pair || a.Dual);
}

std::string fluid_name(const core::FluidObject* f) {
    if (!f) return "-";
    std::string name = f->YFluidName();
    if (f->YConc() > 0) name += fmt::format(" {:g} %", f->YConc());
    return name;
}

std::string units_text(std::int16_t parallel, std::int16_t serial) {
    return serial > 1 ? fmt::format("{}x{}", parallel, serial) : std::to_string(parallel);
}


RefrigerantStates states(const core::CondenserResult& r) {
    RefrigerantStates s;
    s.sat_in = r.CondensingTemp;
    try {
        if (r.FluidObject) s.sat_out = r.FluidObject->SatTemperatureBubble(r.OperatingPressOut);
    } catch (const platform::Error&) {
    }
    s.superheat = r.Qin >= 1 ? std::max(0.0, r.InletTemp[1] - r.CondensingTemp) : 0;
    s.subcooling = r.SubCooling;
    s.x_in = r.Qin;
    s.x_out = r.Qout;
    s.changed = r.FluidCondensed;
    s.p_out = r.OperatingPressOut;
    return s;
}

RefrigerantStates states(const core::EvaporatorResult& r) {
    RefrigerantStates s;
    s.sat_in = r.InletTemp[1];
    s.sat_out = r.EvapTemp;
    s.superheat = r.SuperHeat;
    s.gas_out = r.OutletTempGas;
    s.x_in = r.Xin;
    s.x_out = r.Xout;
    s.changed = r.FluidVaporized;
    s.vapour_in = r.InletVaporFlow;
    s.p_out = r.OperatingPressOut;
    return s;
}

template <class Result>
Remarks remarks_of(const Result& r, const QuantityUnits& u, const std::string& prefix, const std::string& side1,
                   const std::string& side2) {
    Remarks out;
    for (int s = 1; s <= 2; ++s) {
        const std::string& side = s == 1 ? side1 : side2;
        if (!r.NotePercentText[s].empty())
            out.push_back(CodeMarked(fmt::format("{}P{}", prefix, s), s, fmt::format("{}: {}", side, r.NotePercentText[s]),
                           Fixed(r.NotePercent[s], 1) + " %"));
        if (!r.NotePressureText[s].empty())
            out.push_back(CodeMarked(fmt::format("{}L{}", prefix, s), s, fmt::format("{}: {}", side, r.NotePressureText[s]),
                           ShownWithUnit(r.NotePressure[s], u.pressure)));
    }
    if (r.WetWall)
        out.push_back(CodeMarked(prefix + "W", 0,
                                 "superheated gas condenses on the wall below its dew point (wet-wall desuperheating)"));
    return out;
}

template <class Data>
std::string table_of(const Data& data, OutputSystem system, const Labels& text) {
    const QuantityUnits u = OutputUnits(system);
    const auto alternatives = listed(data);
    if (alternatives.empty()) return "No alternatives.\n";
    const std::string t = UnitLabel(u.temperature);
    const std::string dt = UnitLabel(u.temperature_difference);
    const std::string flow = UnitLabel(u.mass_flow);
    const std::string dp = UnitLabel(u.pressure);
    const std::string vel = UnitLabel(u.velocity);
    AlignedTable units(kCondenser<Data> ? text(168, "Condensers") : text(258, "Evaporators"));
    units.add_header({"#", text(359, "Model"), text(375, "Plates"), text(408, "Units"), text(112, "Area"), "U pred.",
                      "U req.", text(397, "Over-surface"), text(305, "Heat load"), text(129, "Price"), "Remarks"});
    units.add_header({"", "", "", "", UnitLabel(u.area), UnitLabel(u.ohtc), UnitLabel(u.ohtc), "%",
                      UnitLabel(u.heat_load), "", ""});
    units.align_left(1);
    units.align_left(10);
    AlignedTable refrigerant(text(450, "Refrigerant") + " (" + fluid_name(data.InData.Refrigerant.get()) + ")");
    if constexpr (kCondenser<Data>) {
        refrigerant.add_header({"#", text(202, "Dew in"), "Bubble out", text(493, "Superheat"), text(492, "Subcooling"),
                                text(446, "Quality in"), text(447, "Quality out"), text(279, "Condensed"),
                                "Pressure out"});
        refrigerant.add_header({"", t, t, dt, dt, "", "", flow, dp});
    } else {
        refrigerant.add_header({"#", "Sat. in", "Dew out", text(493, "Superheat"), "Gas out", text(446, "Quality in"),
                                text(447, "Quality out"), text(290, "Vaporised"), "Pressure out"});
        refrigerant.add_header({"", t, t, dt, t, "", "", flow, dp});
    }
    AlignedTable sides(text(483, "Sides"));
    sides.add_header({"#", text(483, "Side"), text(276, "Fluid"), text(322, "Inlet"), text(400, "Outlet"),
                      text(348, "Flow"), text(125, "dp"), text(431, "dp ports"), "Channel v. in/out", "Port v. in/out"});
    sides.add_header({"", "", "", t, t, flow, dp, dp, vel, vel});
    sides.align_left(1);
    sides.align_left(2);
    RemarkLegend legend;
    int rank = 0;
    for (const auto* a : alternatives) {
        const auto& r = a->OutputData;
        const std::string n = std::to_string(++rank);
        const Remarks remarks = TwoPhaseRemarks(r, u);
        legend.add(rank, remarks);
        units.add_row({n, designation(*a, dual_pair(data, *a)), std::to_string(r.NoOfPlates),
                       units_text(r.ParallelUnits, r.SerialUnits), Shown(r.HeatTransferArea, u.area),
                       Shown(r.Kpredicted, u.ohtc), Shown(r.Krequired, u.ohtc), Fixed(r.OverSurface, 1),
                       Shown(r.HeatLoad, u.heat_load), Fixed(a->Price, 0), RemarkMarks(remarks)});
        const RefrigerantStates st = states(r);
        refrigerant.add_row({n, Shown(st.sat_in, u.temperature), Shown(st.sat_out, u.temperature),
                             Shown(st.superheat, u.temperature_difference),
                             kCondenser<Data> ? Shown(st.subcooling, u.temperature_difference)
                                              : Shown(st.gas_out, u.temperature),
                             Fixed(st.x_in, 3), Fixed(st.x_out, 3), Shown(st.changed, u.mass_flow),
                             Shown(st.p_out, u.pressure)});
        for (int s = 1; s <= 2; ++s) {
            const core::FluidObject* fluid = s == 1 ? r.FluidObject.get() : data.InData.Fluid.get();
            sides.add_row({n, s == 1 ? "refrigerant" : "secondary", fluid_name(fluid),
                           Shown(r.InletTemp[s], u.temperature), Shown(r.OutletTemp[s], u.temperature),
                           Shown(r.MassFlow[s], u.mass_flow), Shown(r.PressureDrop[s], u.pressure),
                           Shown(r.PortPressureDrop[s], u.pressure),
                           Shown(r.ChannelVelocity[s], u.velocity) + "/" + Shown(r.ChannelVelocityOut[s], u.velocity),
                           Shown(r.PortVelocity[s], u.velocity) + "/" + Shown(r.PortVelocityOut[s], u.velocity)});
        }
    }
    return units.text() + "\n" + refrigerant.text() + "\n" + sides.text() +
           (legend.empty() ? "" : "\n" + legend.text());
}

template <class Result>
nlohmann::json side_json(const Result& r, int s, const core::FluidObject* fluid, const QuantityUnits& u) {
    return nlohmann::json{
        {"fluid", fluid ? fluid->YFluidName() : ""},
        {"concentration", fluid ? fluid->YConc() : 0.0},
        {"inlet_temp", Quantity(r.InletTemp[s], u.temperature)},
        {"outlet_temp", Quantity(r.OutletTemp[s], u.temperature)},
        {"mass_flow", Quantity(r.MassFlow[s], u.mass_flow)},
        {"pressure_drop", Quantity(r.PressureDrop[s], u.pressure)},
        {"port_pressure_drop", Quantity(r.PortPressureDrop[s], u.pressure)},
        {"channel_velocity", {Quantity(r.ChannelVelocity[s], u.velocity), Quantity(r.ChannelVelocityOut[s], u.velocity)}},
        {"port_velocity", {Quantity(r.PortVelocity[s], u.velocity), Quantity(r.PortVelocityOut[s], u.velocity)}}};
}

template <class Data>
nlohmann::json json_of(const Data& data, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (const auto* a : listed(data)) {
        const auto& r = a->OutputData;
        const RefrigerantStates st = states(r);
        nlohmann::json ref = side_json(r, 1, r.FluidObject.get(), u);
        ref.erase("concentration");
        ref["superheat"] = Quantity(st.superheat, u.temperature_difference);
        ref["inlet_quality"] = FloatPrecision(st.x_in);
        ref["outlet_quality"] = FloatPrecision(st.x_out);
        ref["outlet_pressure"] = Quantity(st.p_out, u.pressure);
        if constexpr (kCondenser<Data>) {
            ref["condensing_temp"] = Quantity(st.sat_in, u.temperature);
            ref["bubble_temp_out"] = Quantity(st.sat_out, u.temperature);
            ref["subcooling"] = Quantity(st.subcooling, u.temperature_difference);
            ref["condensed_flow"] = Quantity(st.changed, u.mass_flow);
        } else {
            ref["evaporating_temp"] = Quantity(st.sat_out, u.temperature);
            ref["gas_outlet_temp"] = Quantity(st.gas_out, u.temperature);
            ref["vaporised_flow"] = Quantity(st.changed, u.mass_flow);
            ref["inlet_vapour_flow"] = Quantity(st.vapour_in, u.mass_flow);
            if (r.VType) ref["distributor_pressure_drop"] = Quantity(r.VRingPressureDrop, u.pressure);
        }
        nlohmann::json j{{"rank", ++rank},
                         {"designation", designation(*a, dual_pair(data, *a))},
                         {"model", a->XerAlias},
                         {"channel_type", a->Chantype},
                         {"node", a->nodeid},
                         {"dual", a->Dual || dual_pair(data, *a)},
                         {"plates", r.NoOfPlates},
                         {"channels", {r.NoOfChannels[1], r.NoOfChannels[2]}},
                         {"parallel_units", r.ParallelUnits},
                         {"serial_units", r.SerialUnits},
                         {"heat_load", Quantity(r.HeatLoad, u.heat_load)},
                         {"area", Quantity(r.HeatTransferArea, u.area)},
                         {"ohtc_predicted", Quantity(r.Kpredicted, u.ohtc)},
                         {"ohtc_required", Quantity(r.Krequired, u.ohtc)},
                         {"over_surface", {{"value", FloatPrecision(r.OverSurface)}, {"unit", "%"}}},
                         {"price", FloatPrecision(a->Price)},
                         {"refrigerant", std::move(ref)},
                         {"secondary", side_json(r, 2, data.InData.Fluid.get(), u)},
                         {"remarks", RemarkJson(TwoPhaseRemarks(r, u))}};
        alternatives.push_back(std::move(j));
    }
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", kCondenser<Data> ? "condenser" : "evaporator"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", SystemName(system)},
                          {"alternatives", std::move(alternatives)}};
}

std::string slash(const std::vector<std::string>& values, const std::string& unit) {
    std::string out;
    for (const auto& v : values) out += (out.empty() ? "" : " / ") + v;
    return unit.empty() ? out : out + " " + unit;
}

template <class Result>
void unit_detail(DetailText& d, const Result& r, const QuantityUnits& u) {
    d.heading("Unit");
    d.line("Plates", std::to_string(r.NoOfPlates));
    d.line("Channels refrigerant / secondary", fmt::format("{} / {}", r.NoOfChannels[1], r.NoOfChannels[2]));
    d.line("Units in parallel x in series", fmt::format("{} x {}", r.ParallelUnits, r.SerialUnits));
    d.line("Heat load", ShownWithUnit(r.HeatLoad, u.heat_load));
    d.line("Heat transfer area", ShownWithUnit(r.HeatTransferArea, u.area));
    d.line("Zone areas vapour / two-phase / liquid",
           slash({Shown(r.ZoneArea[1], u.area), Shown(r.ZoneArea[2], u.area),
                  Shown(r.ZoneArea[3], u.area)},
                 UnitLabel(u.area)));
    d.line("Zone loads vapour / two-phase / liquid",
           slash({Shown(r.ZoneLoad[1], u.heat_load), Shown(r.ZoneLoad[2], u.heat_load),
                  Shown(r.ZoneLoad[3], u.heat_load)},
                 UnitLabel(u.heat_load)));
    d.line("Mean temperature difference", ShownWithUnit(r.LMTD, u.temperature_difference));
    d.line("Heat flux", ShownWithUnit(r.HeatFlux, u.heat_flux));
    d.line("U clean / predicted / required",
           slash({Shown(r.OHTC, u.ohtc), Shown(r.Kpredicted, u.ohtc),
                  Shown(r.Krequired, u.ohtc)},
                 UnitLabel(u.ohtc)));
    d.line("Over-surface", Fixed(r.OverSurface, 1) + " %");
    d.line("Fouling factor", ShownWithUnit(r.FoulingFactor, u.fouling));
    d.line("Wet-wall desuperheating", r.WetWall ? "yes" : "no");
}

template <class Result>
void hydraulics_detail(DetailText& d, const Result& r, int s, const QuantityUnits& u) {
    d.line("Film coefficient", ShownWithUnit(r.FilmCoefficient[s], u.film));
    d.line(s == 1 ? "Reynolds number (equivalent)" : "Reynolds number", Fixed(r.ReynoldsNumber[s], 0));
    d.line("Wall temperature min / mean / max",
           slash({Shown(r.MinTemp[s], u.temperature), Shown(r.MeanWallTemp[s], u.temperature),
                  Shown(r.MaxTemp[s], u.temperature)},
                 UnitLabel(u.temperature)));
    d.line("Properties at", ShownWithUnit(r.RefTemp[s], u.temperature));
    d.line("Channel velocity in / out",
           slash({Shown(r.ChannelVelocity[s], u.velocity), Shown(r.ChannelVelocityOut[s], u.velocity)},
                 UnitLabel(u.velocity)));
    d.line("Port velocity in / out",
           slash({Shown(r.PortVelocity[s], u.velocity), Shown(r.PortVelocityOut[s], u.velocity)},
                 UnitLabel(u.velocity)));
    d.line("Port diameter in / out",
           slash({Shown(r.PortDiameterUp[s], u.length), Shown(r.PortDiameterDown[s], u.length)},
                 UnitLabel(u.length)));
    d.line("Pressure drop total / ports",
           slash({Shown(r.PressureDrop[s], u.pressure), Shown(r.PortPressureDrop[s], u.pressure)},
                 UnitLabel(u.pressure)));
    d.line("Wall shear stress", ShownWithUnit(r.ShearStress[s], u.shear));
}

void phase_detail(DetailText& d, const std::string& phase, const core::PhaseProperties& p, const QuantityUnits& u,
                  bool wall) {
    d.line(phase + " density", ShownWithUnit(p.Density, u.density));
    d.line(phase + " heat capacity", ShownWithUnit(p.SpecificHeat, u.heat_capacity));
    d.line(phase + " viscosity", ShownWithUnit(p.Viscosity, u.viscosity));
    if (wall) d.line(phase + " viscosity at the wall", ShownWithUnit(p.WallViscosity, u.viscosity));
    d.line(phase + " conductivity", ShownWithUnit(p.Conductivity, u.conductivity));
}

template <class Result>
void refrigerant_detail(DetailText& d, const Result& r, const QuantityUnits& u) {
    const RefrigerantStates st = states(r);
    d.heading("Refrigerant (" + fluid_name(r.FluidObject.get()) + ")");
    if constexpr (std::is_same_v<Result, core::CondenserResult>) {
        d.line("Condensing temperature (dew, inlet)", ShownWithUnit(st.sat_in, u.temperature));
        d.line("Bubble point at the outlet", ShownWithUnit(st.sat_out, u.temperature));
        d.line("Superheat entering / subcooling leaving",
               slash({Shown(st.superheat, u.temperature_difference),
                      Shown(st.subcooling, u.temperature_difference)},
                     UnitLabel(u.temperature_difference)));
        d.line("Condensed", ShownWithUnit(st.changed, u.mass_flow));
        d.line("Heat recovery (superheated gas)", ShownWithUnit(r.HeatRecovery, u.heat_load));
        d.line("Temperature program", r.CONTempProgram);
    } else {
        d.line("Evaporating temperature (dew, outlet)", ShownWithUnit(st.sat_out, u.temperature));
        d.line("Saturation entering", ShownWithUnit(st.sat_in, u.temperature));
        d.line("Superheat / gas leaving",
               slash({Shown(st.superheat, u.temperature_difference)}, UnitLabel(u.temperature_difference)) +
                   " / " + ShownWithUnit(st.gas_out, u.temperature));
        d.line("Vaporised / vapour entering",
               slash({Shown(st.changed, u.mass_flow), Shown(st.vapour_in, u.mass_flow)}, UnitLabel(u.mass_flow)));
        d.line("Two-phase inlet", r.TwoPhaseInlet ? "yes" : "no");
        if (r.VType) {
            d.line("Distributor orifice / ring inlet",
                   slash({Shown(r.Dorifice, u.length), Shown(r.DiameterIN, u.length)},
                         UnitLabel(u.length)));
            d.line("Distributor drop (window)",
                   ShownWithUnit(r.VRingPressureDrop, u.pressure) +
                       fmt::format(" ({} .. {})", Shown(r.VRingPressureDropMin, u.pressure),
                                   Shown(r.VRingPressureDropMax, u.pressure)));
        }
        d.line("Temperature program", r.VAPTempProgram);
    }
    d.line("Inlet / outlet temperature",
           slash({Shown(r.InletTemp[1], u.temperature), Shown(r.OutletTemp[1], u.temperature)},
                 UnitLabel(u.temperature)));
    d.line("Vapour quality in / out", Fixed(st.x_in, 3) + " / " + Fixed(st.x_out, 3));
    d.line("Mass flow", ShownWithUnit(r.MassFlow[1], u.mass_flow));
    d.line("Outlet pressure", ShownWithUnit(st.p_out, u.pressure));
    hydraulics_detail(d, r, 1, u);
    phase_detail(d, "Liquid", r.RefLiquid, u, false);
    phase_detail(d, "Vapour", r.RefVapor, u, false);
    d.line("Latent heat", ShownWithUnit(r.LatentHeat, u.latent_heat));
}

template <class Result>
void secondary_detail(DetailText& d, const Result& r, const QuantityUnits& u, const std::string& name) {
    d.heading("Secondary (" + name + ")");
    d.line("Inlet / outlet temperature",
           slash({Shown(r.InletTemp[2], u.temperature), Shown(r.OutletTemp[2], u.temperature)},
                 UnitLabel(u.temperature)));
    d.line("Mass flow", ShownWithUnit(r.MassFlow[2], u.mass_flow));
    hydraulics_detail(d, r, 2, u);
    phase_detail(d, "Fluid", r.Side2, u, true);
}

template <class Data>
std::string detail_of(const Data& data, int rank, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    const auto alternatives = listed(data);
    const auto& a = *alternatives.at(static_cast<std::size_t>(rank - 1));
    const auto& r = a.OutputData;
    DetailText d;
    d.heading(fmt::format("Alternative {}: {} ({}, node {}), price {}", rank, designation(a, dual_pair(data, a)),
                          a.XerAlias, a.nodeid, Fixed(a.Price, 0)));
    if constexpr (kCondenser<Data>) CondenserDetail(d, r, u, fluid_name(data.InData.Fluid.get()));
    else EvaporatorDetail(d, r, u, fluid_name(data.InData.Fluid.get()));
    RemarkLegend legend;
    legend.add(rank, TwoPhaseRemarks(r, u));
    return legend.empty() ? d.str() : d.str() + "\n" + legend.text();
}

}  // namespace

Remarks TwoPhaseRemarks(const core::CondenserResult& r, const QuantityUnits& u, const std::string& prefix,
                        const std::string& unit, const std::string& secondary) {
    return remarks_of(r, u, prefix, unit + "refrigerant", unit + secondary);
}

void CondenserDetail(DetailText& d, const core::CondenserResult& r, const QuantityUnits& u, const std::string& secondary) {
    unit_detail(d, r, u);
    refrigerant_detail(d, r, u);
    secondary_detail(d, r, u, secondary);
}

Remarks TwoPhaseRemarks(const core::EvaporatorResult& r, const QuantityUnits& u, const std::string& prefix,
                        const std::string& unit, const std::string& secondary) {
    Remarks out = remarks_of(r, u, prefix, unit + "refrigerant", unit + secondary);
    if (r.TwoPhaseInlet && r.PortVelocity[1] > kTwoPhaseInletPortVelocity)
        out.push_back(CodeMarked(prefix + "V", 1,
                       fmt::format("{}refrigerant: a two-phase inlet faster than {:g} m/s in its port distributes badly",
                                   unit, kTwoPhaseInletPortVelocity),
                       ShownWithUnit(r.PortVelocity[1], u.velocity)));
    if (r.VType)
        out.push_back(CodeMarked(prefix + "D", 1, unit + "refrigerant: the pressure drop includes the distributor's",
                       ShownWithUnit(r.VRingPressureDrop, u.pressure)));
    return out;
}

void EvaporatorDetail(DetailText& d, const core::EvaporatorResult& r, const QuantityUnits& u, const std::string& secondary) {
    unit_detail(d, r, u);
    refrigerant_detail(d, r, u);
    secondary_detail(d, r, u, secondary);
    if (r.CondensateFlow > 0 || r.PressureDewPoint != 0) {
        d.line("Condensate", ShownWithUnit(r.CondensateFlow, u.mass_flow));
        d.line("Outlet humidity", Fixed(1000 * r.OutletHumidity, 3) + " g/kg");
        d.line("Pressure dew point", ShownWithUnit(r.PressureDewPoint, u.temperature));
    }
}

RefrigerantStates StatesOf(const core::CondenserResult& r) { return states(r); }
RefrigerantStates StatesOf(const core::EvaporatorResult& r) { return states(r); }
std::string FluidName(const core::FluidObject* fluid) { return fluid_name(fluid); }
std::string TwoPhaseDesignation(const core::VAPOutDataType& alternative) { return designation(alternative, false); }

int ListedAlternatives(const core::CONDataType& data) { return static_cast<int>(listed(data).size()); }
int ListedAlternatives(const core::VAPDataType& data) { return static_cast<int>(listed(data).size()); }
std::string ResultTable(const core::CONDataType& data, OutputSystem system, const Labels& text) {
    return table_of(data, system, text);
}
std::string ResultTable(const core::VAPDataType& data, OutputSystem system, const Labels& text) {
    return table_of(data, system, text);
}
nlohmann::json ResultJson(const core::CONDataType& data, OutputSystem system) { return json_of(data, system); }
nlohmann::json ResultJson(const core::VAPDataType& data, OutputSystem system) { return json_of(data, system); }
std::string ResultDetail(const core::CONDataType& data, int rank, OutputSystem system) {
    return detail_of(data, rank, system);
}
std::string ResultDetail(const core::VAPDataType& data, int rank, OutputSystem system) {
    return detail_of(data, rank, system);
}

}  // namespace hxq::app
