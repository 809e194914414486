#include "result_air_dryer.h"

#include "result_two_phase.h"

#include "batch/ad_opt.h"
#include "duty/unit_groups.h"
#include "engines/fluid/air.h"
#include "settings/engine_error_text_setting.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <vector>

namespace hxq::app {

namespace groups = duty::groups;

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

std::int16_t condensate_unit(const GroupUnits& u) {
    return u.system() == OutputSystem::US ? kPoundPerHour : kKilogramPerHour;
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

CodedRemarks remarks_of(const batch::ADOutputType& p, const GroupUnits& u) {
    CodedRemarks out;
    const core::SinglePhaseResult& a = p.AirHXQResults;
    for (int s = 1; s <= 2; ++s) {
        const std::string side = s == 1 ? "air-to-air unit, dried air" : "air-to-air unit, warm air";
        if (!a.NotePercentText[s].empty())
            out.push_back({fmt::format("AP{}", s), side + ": " + a.NotePercentText[s], Fixed(a.NotePercent[s], 1) + " %"});
        if (!a.NotePressureText[s].empty()) {
            const bool velocity = a.NotePressureText[s].rfind("Port velocity", 0) == 0;
            out.push_back({fmt::format("A{}{}", velocity ? 'V' : 'L', s), side + ": " + a.NotePressureText[s],
                           u.with_unit(a.NotePressure[s], groups::kPressure)});
        }
    }
    if (a.ErrorCode != 0 && a.WarningOnly)
        out.push_back({"AE", "air-to-air unit: " + settings::EngineErrorText(platform::kObjectError + a.ErrorCode), ""});
    CodedRemarks evaporator = TwoPhaseRemarks(p.RefHXQResults_new, u, "E", "evaporator ", "air");
    out.insert(out.end(), evaporator.begin(), evaporator.end());
    return out;
}

std::string mode_of(const batch::ADDataType& data) {
    return data.ADInData.ADFormIndata.CalcMethod == 0 ? "design" : "rating";
}

void air_unit_side(DetailText& d, const core::SinglePhaseResult& a, int s, const GroupUnits& u) {
    d.line("Inlet / outlet temperature",
           u.text(a.InletTemp[s], groups::kTemperature) + " / " + u.with_unit(a.OutletTemp[s], groups::kTemperature));
    d.line("Mass flow", u.with_unit(a.MassFlow[s], groups::kFlow));
    d.line("Film coefficient", u.with_unit(a.FilmCoefficient[s], groups::kHeatTransferCoefficient));
    d.line("Reynolds number", Fixed(a.ReynoldsNumber[s], 0));
    d.line("Wall temperature min / mean / max", u.text(a.MinTemp[s], groups::kTemperature) + " / " +
                                                     u.text(a.MeanWallTemp[s], groups::kTemperature) + " / " +
                                                     u.with_unit(a.MaxTemp[s], groups::kTemperature));
    d.line("Properties at", u.with_unit(a.RefTemp[s], groups::kTemperature));
    d.line("Density", u.with_unit(a.Density[s], groups::kDensity));
    d.line("Heat capacity", u.with_unit(a.SpecificHeat[s], groups::kHeatCapacity));
    d.line("Viscosity / at the wall",
           u.text(a.Viscosity[s], groups::kViscosity) + " / " + u.with_unit(a.WallViscosity[s], groups::kViscosity));
    d.line("Conductivity", u.with_unit(a.Conductivity[s], groups::kConductivity));
    d.line("Channel / port velocity",
           u.text(a.ChannelVelocity[s], groups::kVelocity) + " / " + u.with_unit(a.PortVelocity[s], groups::kVelocity));
    d.line("Port diameter", u.with_unit(a.PortDiameterUp[s], groups::kLength));
    d.line("Pressure drop total / ports",
           u.text(a.PressureDrop[s], groups::kPressure) + " / " + u.with_unit(a.PortPressureDrop[s], groups::kPressure));
    d.line("NTU", Fixed(a.NTU[s], 3));
}

}  // namespace

int ListedAlternatives(const batch::ADDataType& data) { return static_cast<int>(listed(data).size()); }

std::string ResultTable(const batch::ADDataType& data, OutputSystem system) {
    const GroupUnits u(system);
    const auto pairs = listed(data);
    if (pairs.empty()) return "No alternatives.\n";
    const std::string t = u.label(groups::kTemperature);
    const std::string dp = u.label(groups::kPressure);
    std::vector<std::vector<std::string>> dryers{
        {"#", "Model", "Plates air", "Plates evap.", "Plates total", "Dew point", "Condensate", "Air dp", "Price",
         "Remarks"},
        {"", "", "", "", "", t, settings::UnitTable(condensate_unit(u)).sUnit, dp, "", ""}};
    std::vector<std::vector<std::string>> air{
        {"#", "Inlet", "Pre-cooled", "Evaporator out", "Dryer out", "Flow", "dp warm", "dp dried", "dp evaporator"},
        {"", t, t, t, t, u.label(groups::kFlow), dp, dp, dp}};
    std::vector<std::vector<std::string>> units{
        {"#", "Air unit load", "Air unit U", "Evaporator load", "Evaporator U", "Margin", "Evap. temp", "Superheat",
         "Quality in", "Vaporised"},
        {"", u.label(groups::kHeatLoad), u.label(groups::kHeatTransferCoefficient), u.label(groups::kHeatLoad),
         u.label(groups::kHeatTransferCoefficient), "%", t, u.label(groups::kTemperatureDifference), "",
         u.label(groups::kFlow)}};
    std::vector<CodedRemarks> all;
    int rank = 0;
    for (const auto* p : pairs) {
        const core::SinglePhaseResult& a = p->AirHXQResults;
        const core::EvaporatorResult& e = p->RefHXQResults_new;
        const std::string n = std::to_string(++rank);
        all.push_back(remarks_of(*p, u));
        dryers.push_back({n, p->XerType, std::to_string(air_plates(*p)), std::to_string(p->RefNumberOfPlates),
                          std::to_string(p->TotalNumberOfPlates), u.text(e.PressureDewPoint, groups::kTemperature),
                          u.text_id(condensate_of(*p), condensate_unit(u)),
                          u.text(p->TotalPressureDrop, groups::kPressure), Fixed(p->TotalPrice, 0),
                          RemarkCodes(all.back())});
        air.push_back({n, u.text(a.InletTemp[2], groups::kTemperature), u.text(a.OutletTemp[2], groups::kTemperature),
                       u.text(e.OutletTemp[2], groups::kTemperature), u.text(a.OutletTemp[1], groups::kTemperature),
                       u.text(a.MassFlow[2], groups::kFlow), u.text(a.PressureDrop[2], groups::kPressure),
                       u.text(a.PressureDrop[1], groups::kPressure), u.text(e.PressureDrop[2], groups::kPressure)});
        units.push_back({n, u.text(a.HeatLoad, groups::kHeatLoad), u.text(a.Kpredicted, groups::kHeatTransferCoefficient),
                         u.text(e.HeatLoad, groups::kHeatLoad), u.text(e.Kpredicted, groups::kHeatTransferCoefficient),
                         Fixed(e.OverSurface, 1), u.text(e.EvapTemp, groups::kTemperature),
                         u.text(e.SuperHeat, groups::kTemperatureDifference), Fixed(e.Xin, 3),
                         u.text(e.FluidVaporized, groups::kFlow)});
    }
    const std::string legend = CodedRemarkLegend(all);
    const std::string refrigerant = data.ADInData.RefIndata.RefFluid ? data.ADInData.RefIndata.RefFluid->YFluidName() : "";
    return AlignedBlock("Air dryers (" + mode_of(data) + ")", dryers, {false, true, false, false, false, false, false,
                                                                        false, false, true}) +
           "\n" + AlignedBlock("Air", air, {}) + "\n" + AlignedBlock("Units (refrigerant " + refrigerant + ")", units, {}) +
           (legend.empty() ? "" : "\n" + legend);
}

nlohmann::json ResultJson(const batch::ADDataType& data, OutputSystem system) {
    const GroupUnits u(system);
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
            {"pressure_dew_point", u.json(e.PressureDewPoint, groups::kTemperature)},
            {"condensate_flow", u.json_id(condensate_of(*p), condensate_unit(u))},
            {"pressure_drop", u.json(p->TotalPressureDrop, groups::kPressure)},
            {"price", SinglePrecision(p->TotalPrice)},
            {"air",
             {{"inlet_temp", u.json(a.InletTemp[2], groups::kTemperature)},
              {"inlet_dew_point", u.json(inlet_dew_point(data), groups::kTemperature)},
              {"precooled_temp", u.json(a.OutletTemp[2], groups::kTemperature)},
              {"evaporator_outlet_temp", u.json(e.OutletTemp[2], groups::kTemperature)},
              {"outlet_temp", u.json(a.OutletTemp[1], groups::kTemperature)},
              {"outlet_humidity", {{"value", SinglePrecision(1000 * e.OutletHumidity)}, {"unit", "g/kg"}}},
              {"mass_flow", u.json(a.MassFlow[2], groups::kFlow)}}},
            {"air_unit",
             {{"plates", air_plates(*p)},
              {"channels", {a.NoOfChannels[1], a.NoOfChannels[2]}},
              {"heat_load", u.json(a.HeatLoad, groups::kHeatLoad)},
              {"area", u.json(a.HeatTransferArea, groups::kArea)},
              {"ohtc", u.json(a.Kpredicted, groups::kHeatTransferCoefficient)},
              {"pressure_drop",
               {{"dried", u.json(a.PressureDrop[1], groups::kPressure)}, {"warm", u.json(a.PressureDrop[2], groups::kPressure)}}}}},
            {"evaporator",
             {{"plates", p->RefNumberOfPlates},
              {"heat_load", u.json(e.HeatLoad, groups::kHeatLoad)},
              {"area", u.json(e.HeatTransferArea, groups::kArea)},
              {"ohtc_predicted", u.json(e.Kpredicted, groups::kHeatTransferCoefficient)},
              {"over_surface", {{"value", SinglePrecision(e.OverSurface)}, {"unit", "%"}}},
              {"pressure_drop",
               {{"refrigerant", u.json(e.PressureDrop[1], groups::kPressure)}, {"air", u.json(e.PressureDrop[2], groups::kPressure)}}},
              {"refrigerant",
               {{"fluid", e.FluidObject ? e.FluidObject->YFluidName() : ""},
                {"evaporating_temp", u.json(e.EvapTemp, groups::kTemperature)},
                {"superheat", u.json(e.SuperHeat, groups::kTemperatureDifference)},
                {"inlet_quality", SinglePrecision(e.Xin)},
                {"vaporised_flow", u.json(e.FluidVaporized, groups::kFlow)}}}}},
            {"remarks", CodedRemarksJson(remarks_of(*p, u))}};
        alternatives.push_back(std::move(j));
    }
    const batch::ADInputType& in = data.ADInData;
    return nlohmann::json{{"duty", "air-dryer"},
                          {"mode", mode_of(data)},
                          {in.IsGroup ? "group" : "model", in.Xer},
                          {"node", in.XerIndex},
                          {"units", system == OutputSystem::US ? "us" : "si"},
                          {"alternatives", std::move(alternatives)}};
}

std::string ResultDetail(const batch::ADDataType& data, int rank, OutputSystem system) {
    const GroupUnits u(system);
    const batch::ADOutputType& p = *listed(data).at(static_cast<std::size_t>(rank - 1));
    const core::SinglePhaseResult& a = p.AirHXQResults;
    DetailText d;
    d.heading(fmt::format("Alternative {}: {} (node {}), price {}", rank, p.XerType, p.XerNodeID, Fixed(p.TotalPrice, 0)));
    d.line("Plates air unit / evaporator / total",
           fmt::format("{} / {} / {}", air_plates(p), p.RefNumberOfPlates, p.TotalNumberOfPlates));
    d.line("Pressure dew point reached", u.with_unit(p.RefHXQResults_new.PressureDewPoint, groups::kTemperature));
    d.line("Dew point of the air entering", u.with_unit(inlet_dew_point(data), groups::kTemperature));
    d.line("Condensate", u.with_unit_id(condensate_of(p), condensate_unit(u)));
    d.line("  in the air-to-air unit", u.with_unit_id(a.CondensateFlow[2], condensate_unit(u)));
    d.line("Air pressure drop, both units", u.with_unit(p.TotalPressureDrop, groups::kPressure));

    d.heading("Air-to-air unit");
    d.line("Channels dried / warm air", fmt::format("{} / {}", a.NoOfChannels[1], a.NoOfChannels[2]));
    d.line("Heat load", u.with_unit(a.HeatLoad, groups::kHeatLoad));
    d.line("Heat transfer area", u.with_unit(a.HeatTransferArea, groups::kArea));
    d.line("U predicted", u.with_unit(a.Kpredicted, groups::kHeatTransferCoefficient));
    d.line("Mean temperature difference", u.with_unit(a.LMTD, groups::kTemperatureDifference));
    d.line("Heat flux", u.with_unit(a.HeatFlux, groups::kHeatFlux));
    d.heading("Air-to-air unit, dried air (side 1)");
    air_unit_side(d, a, 1, u);
    d.heading("Air-to-air unit, warm air (side 2)");
    air_unit_side(d, a, 2, u);

    DetailText e;
    e.heading("Evaporator");
    EvaporatorDetail(e, p.RefHXQResults_new, u, "air");
    const CodedRemarks remarks = remarks_of(p, u);
    std::string out = d.str() + "\n" + e.str();
    if (!remarks.empty()) {
        DetailText r;
        r.heading("Remarks of the pair");
        for (const CodedRemark& m : remarks) r.line(m.code, m.text + (m.value.empty() ? "" : " (" + m.value + ")"));
        out += "\n" + r.str();
    }
    return out;
}

}  // namespace hxq::app
