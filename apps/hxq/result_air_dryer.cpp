#include "result_air_dryer.h"

#include "result_two_phase.h"

#include "batch/ad_opt.h"
#include "engines/fluid/air.h"
#include "settings/engine_error_text_setting.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <vector>

namespace hxq::app {

namespace {

// Condensate in kg/h or lb/h: per second it is a number of many zeros.
constexpr std::int16_t kKilogramPerHour = 10;
constexpr std::int16_t kPoundPerHour = 11;

std::vector<const batch::ADOutputType*> listed(const batch::ADDataType& data) {
    std::vector<const batch::ADOutputType*> out;
    for (const auto& slot : data.ADOutData)
        if (slot.Exist && slot.TotalPrice < batch::kADEmptySlotPrice) out.push_back(&slot);
    return out;
}

std::int16_t condensate_unit(const QuantityUnits& u) {
    return u.system == OutputSystem::US ? kPoundPerHour : kKilogramPerHour;
}

int air_plates(const batch::ADOutputType& r) { return r.TotalNumberOfPlates - r.RefNumberOfPlates; }

// The water the dryer takes out of the air: what condenses in the air-to-air unit's warm
// side and then in the evaporator.
double condensate_of(const batch::ADOutputType& r) {
    return r.AirHXQResults.CondensateFlow[2] + r.RefHXQResults_new.CondensateFlow;
}

// Dew point of the air entering at its pressure (NaN when it is not humid air).
double inlet_dew_point(const batch::ADDataType& data) {
    const core::FluidRef& wet = data.ADInData.RefIndata.AirFluid;
    if (!wet || !(wet->YConc() > 0)) return std::numeric_limits<double>::quiet_NaN();
    try {
        return engines::fluid::dew_point(wet->YPressure(), wet->YConc() / 1000);
    } catch (const platform::Error&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

Remarks remarks_of(const batch::ADOutputType& p, const QuantityUnits& u) {
    Remarks out;
    const core::SinglePhaseResult& a = p.AirHXQResults;
    for (int s = 1; s <= 2; ++s) {
        const std::string side = s == 1 ? "air-to-air unit, dried air" : "air-to-air unit, warm air";
        if (!a.NotePercentText[s].empty())
            out.push_back(CodeMarked(fmt::format("AP{}", s), s, side + ": " + a.NotePercentText[s], Fixed(a.NotePercent[s], 1) + " %"));
        if (!a.NotePressureText[s].empty()) {
            const bool velocity = a.NotePressureText[s].rfind("Port velocity", 0) == 0;
            out.push_back(CodeMarked(fmt::format("A{}{}", velocity ? 'V' : 'L', s), s, side + ": " + a.NotePressureText[s],
                           ShownWithUnit(a.NotePressure[s], u.pressure)));
        }
    }
    if (a.ErrorCode != 0 && a.WarningOnly)
        out.push_back(CodeMarked("AE", 0, "air-to-air unit: " + settings::EngineErrorText(platform::kObjectError + a.ErrorCode)));
    Remarks evaporator = TwoPhaseRemarks(p.RefHXQResults_new, u, "E", "evaporator ", "air");
    out.insert(out.end(), evaporator.begin(), evaporator.end());
    return out;
}

std::string mode_of(const batch::ADDataType& data) {
    return data.ADInData.ADFormIndata.CalcMethod == 0 ? "design" : "rating";
}

void air_unit_side(DetailText& d, const core::SinglePhaseResult& a, int s, const QuantityUnits& u) {
    d.line("Inlet / outlet temperature",
           Shown(a.InletTemp[s], u.temperature) + " / " + ShownWithUnit(a.OutletTemp[s], u.temperature));
    d.line("Mass flow", ShownWithUnit(a.MassFlow[s], u.mass_flow));
    d.line("Film coefficient", ShownWithUnit(a.FilmCoefficient[s], u.ohtc));
    d.line("Reynolds number", Fixed(a.ReynoldsNumber[s], 0));
    d.line("Wall temperature min / mean / max", Shown(a.MinTemp[s], u.temperature) + " / " +
                                                     Shown(a.MeanWallTemp[s], u.temperature) + " / " +
                                                     ShownWithUnit(a.MaxTemp[s], u.temperature));
    d.line("Properties at", ShownWithUnit(a.RefTemp[s], u.temperature));
    d.line("Density", ShownWithUnit(a.Density[s], u.density));
    d.line("Heat capacity", ShownWithUnit(a.SpecificHeat[s], u.heat_capacity));
    d.line("Viscosity / at the wall",
           Shown(a.Viscosity[s], u.viscosity) + " / " + ShownWithUnit(a.WallViscosity[s], u.viscosity));
    d.line("Conductivity", ShownWithUnit(a.Conductivity[s], u.conductivity));
    d.line("Channel / port velocity",
           Shown(a.ChannelVelocity[s], u.velocity) + " / " + ShownWithUnit(a.PortVelocity[s], u.velocity));
    d.line("Port diameter", ShownWithUnit(a.PortDiameterUp[s], u.length));
    d.line("Pressure drop total / ports",
           Shown(a.PressureDrop[s], u.pressure) + " / " + ShownWithUnit(a.PortPressureDrop[s], u.pressure));
    d.line("NTU", Fixed(a.NTU[s], 3));
}

}  // namespace

int ListedAlternatives(const batch::ADDataType& data) { return static_cast<int>(listed(data).size()); }

std::string ResultTable(const batch::ADDataType& data, OutputSystem system, const Labels& text) {
    const QuantityUnits u = OutputUnits(system);
    const auto pairs = listed(data);
    if (pairs.empty()) return "No alternatives.\n";
    const std::string t = UnitLabel(u.temperature);
    const std::string dp = UnitLabel(u.pressure);
    const std::string refrigerant = data.ADInData.RefIndata.RefFluid ? data.ADInData.RefIndata.RefFluid->YFluidName() : "";
    AlignedTable dryers("Air dryers (" + mode_of(data) + ")");
    dryers.add_header({"#", text(359, "Model"), "Plates air", "Plates evap.", "Plates total", "Dew point", "Condensate", "Air dp",
                       text(129, "Price"), "Remarks"});
    dryers.add_header({"", "", "", "", "", t, UnitLabel(condensate_unit(u)), dp, "", ""});
    dryers.align_left(1);
    dryers.align_left(9);
    AlignedTable air("Air");
    air.add_header({"#", text(322, "Inlet"), "Pre-cooled", "Evaporator out", "Dryer out", "Flow", "dp warm", "dp dried",
                    "dp evaporator"});
    air.add_header({"", t, t, t, t, UnitLabel(u.mass_flow), dp, dp, dp});
    AlignedTable units("Units (refrigerant " + refrigerant + ")");
    units.add_header({"#", "Air unit load", "Air unit U", "Evaporator load", "Evaporator U", "Margin", "Evap. temp",
                      text(493, "Superheat"), text(446, "Quality in"), text(290, "Vaporised")});
    units.add_header({"", UnitLabel(u.heat_load), UnitLabel(u.ohtc), UnitLabel(u.heat_load), UnitLabel(u.ohtc), "%", t,
                      UnitLabel(u.temperature_difference), "", UnitLabel(u.mass_flow)});
    RemarkLegend legend;
    int rank = 0;
    for (const auto* p : pairs) {
        const core::SinglePhaseResult& a = p->AirHXQResults;
        const core::EvaporatorResult& e = p->RefHXQResults_new;
        const std::string n = std::to_string(++rank);
        const Remarks remarks = remarks_of(*p, u);
        legend.add(rank, remarks);
        dryers.add_row({n, p->XerType, std::to_string(air_plates(*p)), std::to_string(p->RefNumberOfPlates),
                        std::to_string(p->TotalNumberOfPlates), Shown(e.PressureDewPoint, u.temperature),
                        Shown(condensate_of(*p), condensate_unit(u)), Shown(p->TotalPressureDrop, u.pressure),
                        Fixed(p->TotalPrice, 0), RemarkMarks(remarks)});
        air.add_row({n, Shown(a.InletTemp[2], u.temperature), Shown(a.OutletTemp[2], u.temperature),
                     Shown(e.OutletTemp[2], u.temperature), Shown(a.OutletTemp[1], u.temperature),
                     Shown(a.MassFlow[2], u.mass_flow), Shown(a.PressureDrop[2], u.pressure),
                     Shown(a.PressureDrop[1], u.pressure), Shown(e.PressureDrop[2], u.pressure)});
        units.add_row({n, Shown(a.HeatLoad, u.heat_load), Shown(a.Kpredicted, u.ohtc), Shown(e.HeatLoad, u.heat_load),
                       Shown(e.Kpredicted, u.ohtc), Fixed(e.OverSurface, 1), Shown(e.EvapTemp, u.temperature),
                       Shown(e.SuperHeat, u.temperature_difference), Fixed(e.Xin, 3),
                       Shown(e.FluidVaporized, u.mass_flow)});
    }
    return dryers.text() + "\n" + air.text() + "\n" + units.text() + (legend.empty() ? "" : "\n" + legend.text());
}

nlohmann::json ResultJson(const batch::ADDataType& data, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (const auto* p : listed(data)) {
        const core::SinglePhaseResult& a = p->AirHXQResults;
        const core::EvaporatorResult& e = p->RefHXQResults_new;
        nlohmann::json j{
            {"rank", ++rank},
            {"model", p->XerType},
            {"node", p->XerNodeID},
            {"plates", {{"air_unit", air_plates(*p)}, {"evaporator", p->RefNumberOfPlates}, {"total", p->TotalNumberOfPlates}}},
            {"pressure_dew_point", Quantity(e.PressureDewPoint, u.temperature)},
            {"condensate_flow", Quantity(condensate_of(*p), condensate_unit(u))},
            {"pressure_drop", Quantity(p->TotalPressureDrop, u.pressure)},
            {"price", FloatPrecision(p->TotalPrice)},
            {"air",
             {{"inlet_temp", Quantity(a.InletTemp[2], u.temperature)},
              {"inlet_dew_point", Quantity(inlet_dew_point(data), u.temperature)},
              {"precooled_temp", Quantity(a.OutletTemp[2], u.temperature)},
              {"evaporator_outlet_temp", Quantity(e.OutletTemp[2], u.temperature)},
              {"outlet_temp", Quantity(a.OutletTemp[1], u.temperature)},
              {"outlet_humidity", {{"value", FloatPrecision(1000 * e.OutletHumidity)}, {"unit", "g/kg"}}},
              {"mass_flow", Quantity(a.MassFlow[2], u.mass_flow)}}},
            {"air_unit",
             {{"plates", air_plates(*p)},
              {"channels", {a.NoOfChannels[1], a.NoOfChannels[2]}},
              {"heat_load", Quantity(a.HeatLoad, u.heat_load)},
              {"area", Quantity(a.HeatTransferArea, u.area)},
              {"ohtc", Quantity(a.Kpredicted, u.ohtc)},
              {"pressure_drop",
               {{"dried", Quantity(a.PressureDrop[1], u.pressure)}, {"warm", Quantity(a.PressureDrop[2], u.pressure)}}}}},
            {"evaporator",
             {{"plates", p->RefNumberOfPlates},
              {"heat_load", Quantity(e.HeatLoad, u.heat_load)},
              {"area", Quantity(e.HeatTransferArea, u.area)},
              {"ohtc_predicted", Quantity(e.Kpredicted, u.ohtc)},
              {"over_surface", {{"value", FloatPrecision(e.OverSurface)}, {"unit", "%"}}},
              {"pressure_drop",
               {{"refrigerant", Quantity(e.PressureDrop[1], u.pressure)}, {"air", Quantity(e.PressureDrop[2], u.pressure)}}},
              {"refrigerant",
               {{"fluid", e.FluidObject ? e.FluidObject->YFluidName() : ""},
                {"evaporating_temp", Quantity(e.EvapTemp, u.temperature)},
                {"superheat", Quantity(e.SuperHeat, u.temperature_difference)},
                {"inlet_quality", FloatPrecision(e.Xin)},
                {"vaporised_flow", Quantity(e.FluidVaporized, u.mass_flow)}}}}},
            {"remarks", RemarkJson(remarks_of(*p, u))}};
        alternatives.push_back(std::move(j));
    }
    const batch::ADInputType& in = data.ADInData;
    return nlohmann::json{{"duty", "air-dryer"},
                          {"mode", mode_of(data)},
                          {in.IsGroup ? "group" : "model", in.Xer},
                          {"node", in.XerIndex},
                          {"units", SystemName(system)},
                          {"alternatives", std::move(alternatives)}};
}

std::string ResultDetail(const batch::ADDataType& data, int rank, OutputSystem system) {
    const QuantityUnits u = OutputUnits(system);
    const batch::ADOutputType& p = *listed(data).at(static_cast<std::size_t>(rank - 1));
    const core::SinglePhaseResult& a = p.AirHXQResults;
    DetailText d;
    d.heading(fmt::format("Alternative {}: {} (node {}), price {}", rank, p.XerType, p.XerNodeID, Fixed(p.TotalPrice, 0)));
    d.line("Plates air unit / evaporator / total",
           fmt::format("{} / {} / {}", air_plates(p), p.RefNumberOfPlates, p.TotalNumberOfPlates));
    d.line("Pressure dew point reached", ShownWithUnit(p.RefHXQResults_new.PressureDewPoint, u.temperature));
    d.line("Dew point of the air entering", ShownWithUnit(inlet_dew_point(data), u.temperature));
    d.line("Condensate", ShownWithUnit(condensate_of(p), condensate_unit(u)));
    d.line("  in the air-to-air unit", ShownWithUnit(a.CondensateFlow[2], condensate_unit(u)));
    d.line("Air pressure drop, both units", ShownWithUnit(p.TotalPressureDrop, u.pressure));

    d.heading("Air-to-air unit");
    d.line("Channels dried / warm air", fmt::format("{} / {}", a.NoOfChannels[1], a.NoOfChannels[2]));
    d.line("Heat load", ShownWithUnit(a.HeatLoad, u.heat_load));
    d.line("Heat transfer area", ShownWithUnit(a.HeatTransferArea, u.area));
    d.line("U predicted", ShownWithUnit(a.Kpredicted, u.ohtc));
    d.line("Mean temperature difference", ShownWithUnit(a.LMTD, u.temperature_difference));
    d.line("Heat flux", ShownWithUnit(a.HeatFlux, u.heat_flux));
    d.heading("Air-to-air unit, dried air (side 1)");
    air_unit_side(d, a, 1, u);
    d.heading("Air-to-air unit, warm air (side 2)");
    air_unit_side(d, a, 2, u);

    DetailText e;
    e.heading("Evaporator");
    EvaporatorDetail(e, p.RefHXQResults_new, u, "air");
    RemarkLegend legend;
    legend.add(rank, remarks_of(p, u));
    const std::string out = d.str() + "\n" + e.str();
    return legend.empty() ? out : out + "\n" + legend.text();
}

}  // namespace hxq::app
