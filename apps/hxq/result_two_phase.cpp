#include "result_two_phase.h"

#include "core/calculate.h"
#include "core/model_designation.h"
#include "duty/unit_groups.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

namespace hxq::app {

namespace groups = duty::groups;

namespace {

// A two-phase inlet faster than this in its port distributes badly: the evaporator group
// search drops such units (docs/engine-records.md); a single model rated is kept, with
// this remark.
constexpr double kTwoPhaseInletPortVelocity = 12.5;  // m/s
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

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

// The refrigerant's states as the printouts show them, whichever unit rated it.
struct RefrigerantStates {
    double sat_in = kNaN;   // condenser: dew point at the inlet; evaporator: the mixture entering
    double sat_out = kNaN;  // condenser: bubble point at the outlet; evaporator: dew point at the outlet
    double superheat = 0;
    double subcooling = 0;
    double gas_out = kNaN;  // evaporator: gas leaving
    double x_in = 0;
    double x_out = 0;
    double changed = 0;     // condensed or vaporised, kg/s
    double vapour_in = 0;   // evaporator: vapour entering, kg/s
    double p_out = 0;
};

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
CodedRemarks remarks_of(const Result& r, const GroupUnits& u, const std::string& prefix, const std::string& side1,
                   const std::string& side2) {
    CodedRemarks out;
    for (int s = 1; s <= 2; ++s) {
        const std::string& side = s == 1 ? side1 : side2;
        if (!r.NotePercentText[s].empty())
            out.push_back({fmt::format("{}P{}", prefix, s), fmt::format("{}: {}", side, r.NotePercentText[s]),
                           Fixed(r.NotePercent[s], 1) + " %"});
        if (!r.NotePressureText[s].empty())
            out.push_back({fmt::format("{}L{}", prefix, s), fmt::format("{}: {}", side, r.NotePressureText[s]),
                           u.with_unit(r.NotePressure[s], groups::kPressure)});
    }
    if (r.WetWall)
        out.push_back({prefix + "W", "superheated gas condenses on the wall below its dew point (wet-wall desuperheating)",
                       ""});
    return out;
}

template <class Data>
std::string table_of(const Data& data, OutputSystem system) {
    const GroupUnits u(system);
    const auto alternatives = listed(data);
    if (alternatives.empty()) return "No alternatives.\n";
    std::vector<std::vector<std::string>> units{
        {"#", "Model", "Plates", "Units", "Area", "U pred.", "U req.", "Over-surface", "Heat load", "Price", "Remarks"},
        {"", "", "", "", u.label(groups::kArea), u.label(groups::kHeatTransferCoefficient),
         u.label(groups::kHeatTransferCoefficient), "%", u.label(groups::kHeatLoad), "", ""}};
    std::vector<std::vector<std::string>> refrigerant;
    if constexpr (kCondenser<Data>)
        refrigerant = {{"#", "Dew in", "Bubble out", "Superheat", "Subcooling", "Quality in", "Quality out",
                        "Condensed", "Pressure out"},
                       {"", u.label(groups::kTemperature), u.label(groups::kTemperature),
                        u.label(groups::kTemperatureDifference), u.label(groups::kTemperatureDifference), "", "",
                        u.label(groups::kFlow), u.label(groups::kPressure)}};
    else
        refrigerant = {{"#", "Sat. in", "Dew out", "Superheat", "Gas out", "Quality in", "Quality out", "Vaporised",
                        "Pressure out"},
                       {"", u.label(groups::kTemperature), u.label(groups::kTemperature),
                        u.label(groups::kTemperatureDifference), u.label(groups::kTemperature), "", "",
                        u.label(groups::kFlow), u.label(groups::kPressure)}};
    std::vector<std::vector<std::string>> sides{
        {"#", "Side", "Fluid", "Inlet", "Outlet", "Flow", "dp", "dp ports", "Channel v. in/out", "Port v. in/out"},
        {"", "", "", u.label(groups::kTemperature), u.label(groups::kTemperature), u.label(groups::kFlow),
         u.label(groups::kPressure), u.label(groups::kPressure), u.label(groups::kVelocity),
         u.label(groups::kVelocity)}};
    std::vector<CodedRemarks> all;
    int rank = 0;
    for (const auto* a : alternatives) {
        const auto& r = a->OutputData;
        const std::string n = std::to_string(++rank);
        all.push_back(TwoPhaseRemarks(r, u));
        units.push_back({n, designation(*a, dual_pair(data, *a)), std::to_string(r.NoOfPlates),
                         units_text(r.ParallelUnits, r.SerialUnits), u.text(r.HeatTransferArea, groups::kArea),
                         u.text(r.Kpredicted, groups::kHeatTransferCoefficient),
                         u.text(r.Krequired, groups::kHeatTransferCoefficient), Fixed(r.OverSurface, 1),
                         u.text(r.HeatLoad, groups::kHeatLoad), Fixed(a->Price, 0), RemarkCodes(all.back())});
        const RefrigerantStates st = states(r);
        if constexpr (kCondenser<Data>)
            refrigerant.push_back({n, u.text(st.sat_in, groups::kTemperature), u.text(st.sat_out, groups::kTemperature),
                                   u.text(st.superheat, groups::kTemperatureDifference),
                                   u.text(st.subcooling, groups::kTemperatureDifference), Fixed(st.x_in, 3),
                                   Fixed(st.x_out, 3), u.text(st.changed, groups::kFlow),
                                   u.text(st.p_out, groups::kPressure)});
        else
            refrigerant.push_back({n, u.text(st.sat_in, groups::kTemperature), u.text(st.sat_out, groups::kTemperature),
                                   u.text(st.superheat, groups::kTemperatureDifference),
                                   u.text(st.gas_out, groups::kTemperature), Fixed(st.x_in, 3), Fixed(st.x_out, 3),
                                   u.text(st.changed, groups::kFlow), u.text(st.p_out, groups::kPressure)});
        for (int s = 1; s <= 2; ++s) {
            const core::FluidObject* fluid = s == 1 ? r.FluidObject.get() : data.InData.Fluid.get();
            sides.push_back({n, s == 1 ? "refrigerant" : "secondary", fluid_name(fluid),
                             u.text(r.InletTemp[s], groups::kTemperature), u.text(r.OutletTemp[s], groups::kTemperature),
                             u.text(r.MassFlow[s], groups::kFlow), u.text(r.PressureDrop[s], groups::kPressure),
                             u.text(r.PortPressureDrop[s], groups::kPressure),
                             u.text(r.ChannelVelocity[s], groups::kVelocity) + "/" +
                                 u.text(r.ChannelVelocityOut[s], groups::kVelocity),
                             u.text(r.PortVelocity[s], groups::kVelocity) + "/" +
                                 u.text(r.PortVelocityOut[s], groups::kVelocity)});
        }
    }
    const std::string ref_name = fluid_name(data.InData.Refrigerant.get());
    const std::string legend = CodedRemarkLegend(all);
    return AlignedBlock(kCondenser<Data> ? "Condensers" : "Evaporators", units,
                        {false, true, false, false, false, false, false, false, false, false, true}) +
           "\n" + AlignedBlock("Refrigerant (" + ref_name + ")", refrigerant, {}) + "\n" +
           AlignedBlock("Sides", sides, {false, true, true}) + (legend.empty() ? "" : "\n" + legend);
}

template <class Result>
nlohmann::json side_json(const Result& r, int s, const core::FluidObject* fluid, const GroupUnits& u) {
    return nlohmann::json{
        {"fluid", fluid ? fluid->YFluidName() : ""},
        {"concentration", fluid ? fluid->YConc() : 0.0},
        {"inlet_temp", u.json(r.InletTemp[s], groups::kTemperature)},
        {"outlet_temp", u.json(r.OutletTemp[s], groups::kTemperature)},
        {"mass_flow", u.json(r.MassFlow[s], groups::kFlow)},
        {"pressure_drop", u.json(r.PressureDrop[s], groups::kPressure)},
        {"port_pressure_drop", u.json(r.PortPressureDrop[s], groups::kPressure)},
        {"channel_velocity", {u.json(r.ChannelVelocity[s], groups::kVelocity), u.json(r.ChannelVelocityOut[s], groups::kVelocity)}},
        {"port_velocity", {u.json(r.PortVelocity[s], groups::kVelocity), u.json(r.PortVelocityOut[s], groups::kVelocity)}}};
}

template <class Data>
nlohmann::json json_of(const Data& data, OutputSystem system) {
    const GroupUnits u(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (const auto* a : listed(data)) {
        const auto& r = a->OutputData;
        const RefrigerantStates st = states(r);
        nlohmann::json ref = side_json(r, 1, r.FluidObject.get(), u);
        ref.erase("concentration");
        ref["superheat"] = u.json(st.superheat, groups::kTemperatureDifference);
        ref["inlet_quality"] = SinglePrecision(st.x_in);
        ref["outlet_quality"] = SinglePrecision(st.x_out);
        ref["outlet_pressure"] = u.json(st.p_out, groups::kPressure);
        if constexpr (kCondenser<Data>) {
            ref["condensing_temp"] = u.json(st.sat_in, groups::kTemperature);
            ref["bubble_temp_out"] = u.json(st.sat_out, groups::kTemperature);
            ref["subcooling"] = u.json(st.subcooling, groups::kTemperatureDifference);
            ref["condensed_flow"] = u.json(st.changed, groups::kFlow);
        } else {
            ref["evaporating_temp"] = u.json(st.sat_out, groups::kTemperature);
            ref["gas_outlet_temp"] = u.json(st.gas_out, groups::kTemperature);
            ref["vaporised_flow"] = u.json(st.changed, groups::kFlow);
            ref["inlet_vapour_flow"] = u.json(st.vapour_in, groups::kFlow);
            if (r.VType) ref["distributor_pressure_drop"] = u.json(r.VRingPressureDrop, groups::kPressure);
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
                         {"heat_load", u.json(r.HeatLoad, groups::kHeatLoad)},
                         {"area", u.json(r.HeatTransferArea, groups::kArea)},
                         {"ohtc_predicted", u.json(r.Kpredicted, groups::kHeatTransferCoefficient)},
                         {"ohtc_required", u.json(r.Krequired, groups::kHeatTransferCoefficient)},
                         {"over_surface", {{"value", SinglePrecision(r.OverSurface)}, {"unit", "%"}}},
                         {"price", SinglePrecision(a->Price)},
                         {"refrigerant", std::move(ref)},
                         {"secondary", side_json(r, 2, data.InData.Fluid.get(), u)},
                         {"remarks", CodedRemarksJson(TwoPhaseRemarks(r, u))}};
        alternatives.push_back(std::move(j));
    }
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", kCondenser<Data> ? "condenser" : "evaporator"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", system == OutputSystem::US ? "us" : "si"},
                          {"alternatives", std::move(alternatives)}};
}

std::string slash(const std::vector<std::string>& values, const std::string& unit) {
    std::string out;
    for (const auto& v : values) out += (out.empty() ? "" : " / ") + v;
    return unit.empty() ? out : out + " " + unit;
}

template <class Result>
void unit_detail(DetailText& d, const Result& r, const GroupUnits& u) {
    d.heading("Unit");
    d.line("Plates", std::to_string(r.NoOfPlates));
    d.line("Channels refrigerant / secondary", fmt::format("{} / {}", r.NoOfChannels[1], r.NoOfChannels[2]));
    d.line("Units in parallel x in series", fmt::format("{} x {}", r.ParallelUnits, r.SerialUnits));
    d.line("Heat load", u.with_unit(r.HeatLoad, groups::kHeatLoad));
    d.line("Heat transfer area", u.with_unit(r.HeatTransferArea, groups::kArea));
    d.line("Zone areas vapour / two-phase / liquid",
           slash({u.text(r.ZoneArea[1], groups::kArea), u.text(r.ZoneArea[2], groups::kArea),
                  u.text(r.ZoneArea[3], groups::kArea)},
                 u.label(groups::kArea)));
    d.line("Zone loads vapour / two-phase / liquid",
           slash({u.text(r.ZoneLoad[1], groups::kHeatLoad), u.text(r.ZoneLoad[2], groups::kHeatLoad),
                  u.text(r.ZoneLoad[3], groups::kHeatLoad)},
                 u.label(groups::kHeatLoad)));
    d.line("Mean temperature difference", u.with_unit(r.LMTD, groups::kTemperatureDifference));
    d.line("Heat flux", u.with_unit(r.HeatFlux, groups::kHeatFlux));
    d.line("U clean / predicted / required",
           slash({u.text(r.OHTC, groups::kHeatTransferCoefficient), u.text(r.Kpredicted, groups::kHeatTransferCoefficient),
                  u.text(r.Krequired, groups::kHeatTransferCoefficient)},
                 u.label(groups::kHeatTransferCoefficient)));
    d.line("Over-surface", Fixed(r.OverSurface, 1) + " %");
    d.line("Fouling factor", u.with_unit(r.FoulingFactor, groups::kFouling));
    d.line("Wet-wall desuperheating", r.WetWall ? "yes" : "no");
}

template <class Result>
void hydraulics_detail(DetailText& d, const Result& r, int s, const GroupUnits& u) {
    settings::OutputUnitsType lists;
    settings::FillOutputUnits(lists, u.system() == OutputSystem::US ? settings::kUSOutputUnits : settings::kSIOutputUnits);
    d.line("Film coefficient", u.with_unit(r.FilmCoefficient[s], groups::kHeatTransferCoefficient));
    d.line(s == 1 ? "Reynolds number (equivalent)" : "Reynolds number", Fixed(r.ReynoldsNumber[s], 0));
    d.line("Wall temperature min / mean / max",
           slash({u.text(r.MinTemp[s], groups::kTemperature), u.text(r.MeanWallTemp[s], groups::kTemperature),
                  u.text(r.MaxTemp[s], groups::kTemperature)},
                 u.label(groups::kTemperature)));
    d.line("Properties at", u.with_unit(r.RefTemp[s], groups::kTemperature));
    d.line("Channel velocity in / out",
           slash({u.text(r.ChannelVelocity[s], groups::kVelocity), u.text(r.ChannelVelocityOut[s], groups::kVelocity)},
                 u.label(groups::kVelocity)));
    d.line("Port velocity in / out",
           slash({u.text(r.PortVelocity[s], groups::kVelocity), u.text(r.PortVelocityOut[s], groups::kVelocity)},
                 u.label(groups::kVelocity)));
    d.line("Port diameter in / out",
           slash({u.text(r.PortDiameterUp[s], groups::kLength), u.text(r.PortDiameterDown[s], groups::kLength)},
                 u.label(groups::kLength)));
    d.line("Pressure drop total / ports",
           slash({u.text(r.PressureDrop[s], groups::kPressure), u.text(r.PortPressureDrop[s], groups::kPressure)},
                 u.label(groups::kPressure)));
    d.line("Wall shear stress", u.with_unit_id(r.ShearStress[s], lists.ShearStress.UnitID));
}

void phase_detail(DetailText& d, const std::string& phase, const core::PhaseProperties& p, const GroupUnits& u,
                  bool wall) {
    d.line(phase + " density", u.with_unit(p.Density, groups::kDensity));
    d.line(phase + " heat capacity", u.with_unit(p.SpecificHeat, groups::kHeatCapacity));
    d.line(phase + " viscosity", u.with_unit(p.Viscosity, groups::kViscosity));
    if (wall) d.line(phase + " viscosity at the wall", u.with_unit(p.WallViscosity, groups::kViscosity));
    d.line(phase + " conductivity", u.with_unit(p.Conductivity, groups::kConductivity));
}

template <class Result>
void refrigerant_detail(DetailText& d, const Result& r, const GroupUnits& u) {
    const RefrigerantStates st = states(r);
    d.heading("Refrigerant (" + fluid_name(r.FluidObject.get()) + ")");
    if constexpr (std::is_same_v<Result, core::CondenserResult>) {
        d.line("Condensing temperature (dew, inlet)", u.with_unit(st.sat_in, groups::kTemperature));
        d.line("Bubble point at the outlet", u.with_unit(st.sat_out, groups::kTemperature));
        d.line("Superheat entering / subcooling leaving",
               slash({u.text(st.superheat, groups::kTemperatureDifference),
                      u.text(st.subcooling, groups::kTemperatureDifference)},
                     u.label(groups::kTemperatureDifference)));
        d.line("Condensed", u.with_unit(st.changed, groups::kFlow));
        d.line("Heat recovery (superheated gas)", u.with_unit(r.HeatRecovery, groups::kHeatLoad));
        d.line("Temperature program", r.CONTempProgram);
    } else {
        d.line("Evaporating temperature (dew, outlet)", u.with_unit(st.sat_out, groups::kTemperature));
        d.line("Saturation entering", u.with_unit(st.sat_in, groups::kTemperature));
        d.line("Superheat / gas leaving",
               slash({u.text(st.superheat, groups::kTemperatureDifference)}, u.label(groups::kTemperatureDifference)) +
                   " / " + u.with_unit(st.gas_out, groups::kTemperature));
        d.line("Vaporised / vapour entering",
               slash({u.text(st.changed, groups::kFlow), u.text(st.vapour_in, groups::kFlow)}, u.label(groups::kFlow)));
        d.line("Two-phase inlet", r.TwoPhaseInlet ? "yes" : "no");
        if (r.VType) {
            d.line("Distributor orifice / ring inlet",
                   slash({u.text(r.Dorifice, groups::kLength), u.text(r.DiameterIN, groups::kLength)},
                         u.label(groups::kLength)));
            d.line("Distributor drop (window)",
                   u.with_unit(r.VRingPressureDrop, groups::kPressure) +
                       fmt::format(" ({} .. {})", u.text(r.VRingPressureDropMin, groups::kPressure),
                                   u.text(r.VRingPressureDropMax, groups::kPressure)));
        }
        d.line("Temperature program", r.VAPTempProgram);
    }
    d.line("Inlet / outlet temperature",
           slash({u.text(r.InletTemp[1], groups::kTemperature), u.text(r.OutletTemp[1], groups::kTemperature)},
                 u.label(groups::kTemperature)));
    d.line("Vapour quality in / out", Fixed(st.x_in, 3) + " / " + Fixed(st.x_out, 3));
    d.line("Mass flow", u.with_unit(r.MassFlow[1], groups::kFlow));
    d.line("Outlet pressure", u.with_unit(st.p_out, groups::kPressure));
    hydraulics_detail(d, r, 1, u);
    phase_detail(d, "Liquid", r.RefLiquid, u, false);
    phase_detail(d, "Vapour", r.RefVapor, u, false);
    d.line("Latent heat", u.with_unit(r.LatentHeat, groups::kLatentHeat));
}

template <class Result>
void secondary_detail(DetailText& d, const Result& r, const GroupUnits& u, const std::string& name) {
    d.heading("Secondary (" + name + ")");
    d.line("Inlet / outlet temperature",
           slash({u.text(r.InletTemp[2], groups::kTemperature), u.text(r.OutletTemp[2], groups::kTemperature)},
                 u.label(groups::kTemperature)));
    d.line("Mass flow", u.with_unit(r.MassFlow[2], groups::kFlow));
    hydraulics_detail(d, r, 2, u);
    phase_detail(d, "Fluid", r.Side2, u, true);
}

void remarks_detail(DetailText& d, const CodedRemarks& remarks) {
    if (remarks.empty()) return;
    d.heading("Remarks");
    for (const CodedRemark& r : remarks) d.line(r.code, r.text + (r.value.empty() ? "" : " (" + r.value + ")"));
}

template <class Data>
std::string detail_of(const Data& data, int rank, OutputSystem system) {
    const GroupUnits u(system);
    const auto alternatives = listed(data);
    const auto& a = *alternatives.at(static_cast<std::size_t>(rank - 1));
    const auto& r = a.OutputData;
    DetailText d;
    d.heading(fmt::format("Alternative {}: {} ({}, node {}), price {}", rank, designation(a, dual_pair(data, a)),
                          a.XerAlias, a.nodeid, Fixed(a.Price, 0)));
    if constexpr (kCondenser<Data>) {
        unit_detail(d, r, u);
        refrigerant_detail(d, r, u);
        secondary_detail(d, r, u, fluid_name(data.InData.Fluid.get()));
        remarks_detail(d, TwoPhaseRemarks(r, u));
    } else {
        EvaporatorDetail(d, r, u, fluid_name(data.InData.Fluid.get()));
        remarks_detail(d, TwoPhaseRemarks(r, u));
    }
    return d.str();
}

}  // namespace

CodedRemarks TwoPhaseRemarks(const core::CondenserResult& r, const GroupUnits& u) {
    return remarks_of(r, u, "", "refrigerant", "secondary");
}

CodedRemarks TwoPhaseRemarks(const core::EvaporatorResult& r, const GroupUnits& u, const std::string& prefix,
                        const std::string& unit, const std::string& secondary) {
    CodedRemarks out = remarks_of(r, u, prefix, unit + "refrigerant", unit + secondary);
    if (r.TwoPhaseInlet && r.PortVelocity[1] > kTwoPhaseInletPortVelocity)
        out.push_back({prefix + "V",
                       fmt::format("{}refrigerant: a two-phase inlet faster than {:g} m/s in its port distributes badly",
                                   unit, kTwoPhaseInletPortVelocity),
                       u.with_unit(r.PortVelocity[1], groups::kVelocity)});
    if (r.VType)
        out.push_back({prefix + "D", unit + "refrigerant: the pressure drop includes the distributor's",
                       u.with_unit(r.VRingPressureDrop, groups::kPressure)});
    return out;
}

void EvaporatorDetail(DetailText& d, const core::EvaporatorResult& r, const GroupUnits& u, const std::string& secondary) {
    unit_detail(d, r, u);
    refrigerant_detail(d, r, u);
    secondary_detail(d, r, u, secondary);
    if (r.CondensateFlow > 0 || r.PressureDewPoint != 0) {
        d.line("Condensate", u.with_unit(r.CondensateFlow, groups::kFlow));
        d.line("Outlet humidity", Fixed(1000 * r.OutletHumidity, 3) + " g/kg");
        d.line("Pressure dew point", u.with_unit(r.PressureDewPoint, groups::kTemperature));
    }
}

int ListedAlternatives(const core::CONDataType& data) { return static_cast<int>(listed(data).size()); }
int ListedAlternatives(const core::VAPDataType& data) { return static_cast<int>(listed(data).size()); }
std::string ResultTable(const core::CONDataType& data, OutputSystem system) { return table_of(data, system); }
std::string ResultTable(const core::VAPDataType& data, OutputSystem system) { return table_of(data, system); }
nlohmann::json ResultJson(const core::CONDataType& data, OutputSystem system) { return json_of(data, system); }
nlohmann::json ResultJson(const core::VAPDataType& data, OutputSystem system) { return json_of(data, system); }
std::string ResultDetail(const core::CONDataType& data, int rank, OutputSystem system) {
    return detail_of(data, rank, system);
}
std::string ResultDetail(const core::VAPDataType& data, int rank, OutputSystem system) {
    return detail_of(data, rank, system);
}

}  // namespace hxq::app
