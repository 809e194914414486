#include "output/sheet_values.h"

#include "core/model_designation.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/texts.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace hxq::output {
namespace {

// The channel types of one side: ChanComb names both sides' types as "<1>-<2>" or
// "<1>/<2>"; one part serves both sides. Without a combination the channel type does.
std::string side_types(const std::string& chan_comb, const std::string& chantype, int side) {
    const std::string& source = chan_comb.empty() ? chantype : chan_comb;
    const std::size_t cut = source.find_first_of("-/");
    if (cut == std::string::npos) return source;
    return side == 1 ? source.substr(0, cut) : source.substr(cut + 1);
}

std::string letter(const std::string& types, int which) {
    const std::size_t i = static_cast<std::size_t>(which - 1);
    if (i < types.size()) return types.substr(i, 1);
    return types.empty() ? std::string() : types.substr(0, 1);
}

// Counts per pass of the two types of a side: a pass holds an equal share of the side's
// channels and the types alternate in it, so an odd share gives the left type the extra
// channel (13H+13M over two passes is 7H+6M per pass).
std::string counts_text(int left, int right, int channels, int passes, const std::string& types) {
    passes = std::max(1, passes);
    left = std::max(0, left);
    right = std::max(0, right);
    const int per_pass = (left + right > 0 ? left + right : channels) / passes;
    const int left_per_pass = right > 0 ? std::min(per_pass, (2 * left + passes) / (2 * passes)) : per_pass;
    const int per_type[2] = {left_per_pass, per_pass - left_per_pass};
    std::string counts;
    for (int which = 1; which <= 2; ++which) {
        const int n = per_type[which - 1];
        if (n > 0) counts += (counts.empty() ? "" : "+") + std::to_string(n) + letter(types, which);
    }
    if (counts.empty()) counts = std::to_string(per_pass) + letter(types, 1);
    return passes > 1 ? fmt::format("{}*({})", passes, counts) : counts;
}

int passes_of(const core::SinglePhaseResult& r, int side) { return r.Passes[side] > 0 ? r.Passes[side] : r.NoOfPasses; }

template <class Alternative>
std::string two_phase_designation(const Alternative& a, bool dual) {
    const auto& r = a.OutputData;
    std::string designation = a.XerAlias;
    std::string side[2];
    for (int s = 1; s <= 2; ++s)
        side[s - 1] = counts_text(r.NoOfChannels[s], 0, r.NoOfChannels[s], 1, side_types(a.ChanComb, a.Chantype, s));
    return core::FormatModelDesignation(designation, r.NoOfPlates, side[0], side[1], dual);
}

}  // namespace

std::int16_t group_unit(std::int16_t group, const settings::OutputUnitsType& unit) {
    const settings::UnitGroupsType& g = settings::UnitGroupTable(group);
    const settings::UnitGroupsType& ohtc = settings::UnitGroupTable(unit.OHTC.GroupID);
    const bool us = ohtc.USID != ohtc.SIID && unit.OHTC.UnitID == ohtc.USID;
    return us ? g.USID : g.SIID;
}

std::int16_t chosen_unit(const core::GivenOutputUnitsType& chosen, const settings::UnitType& fallback) {
    return chosen_unit(chosen, fallback.UnitID);
}

std::int16_t chosen_unit(const core::GivenOutputUnitsType& chosen, std::int16_t fallback) {
    // Unit 0 is a real unit (°C): a choice is made when it has a label.
    return chosen.sUnit.empty() ? fallback : chosen.iUnit;
}

SheetUnits sheet_units(const settings::OutputUnitsType& unit, const core::GivenUnitsType& chosen) {
    SheetUnits u;
    u.temperature = unit.MaxWorkTemp.UnitID;
    u.temperature_difference = unit.MTD.UnitID;
    u.flow = group_unit(kFlowGroup, unit);
    u.heat_load = group_unit(kHeatLoadGroup, unit);
    u.area = chosen_unit(chosen.Area, unit.Area);
    u.heat_flux = group_unit(kHeatFluxGroup, unit);
    u.mean_difference = chosen_unit(chosen.LMTD, unit.MTD);
    u.ohtc = chosen_unit(chosen.OHTC, unit.OHTC);
    for (int s = 1; s <= 2; ++s) u.pressure_drop[s] = chosen_unit(chosen.CalculatedPressureDrop[s], unit.PdropPorts);
    u.port_pressure_drop = unit.PdropPorts.UnitID;
    u.pressure = unit.Op_Max_Pressure.UnitID;
    u.length = unit.length.UnitID;
    u.viscosity = unit.Viscosity.UnitID;
    u.density = unit.Density.UnitID;
    u.heat_capacity = unit.HeatCapacity.UnitID;
    u.conductivity = unit.ThermalConductivity.UnitID;
    u.latent_heat = unit.LatentHeat.UnitID;
    u.fouling = group_unit(kFoulingGroup, unit);
    u.fluid_condensed = chosen_unit(chosen.FluidCondensed, u.flow);
    u.fluid_vaporized = chosen_unit(chosen.FluidVaporized, u.flow);
    u.inlet_vapour = chosen_unit(chosen.InletVaporFlow, u.flow);
    u.gas_outlet_temperature = chosen_unit(chosen.OutletTempGas, u.temperature);
    u.operating_pressure_out = chosen_unit(chosen.OperatingPressOut, u.pressure);
    return u;
}

core::OutVal result_value(double si, std::int16_t unit) {
    if (!std::isfinite(si)) return core::OutVal{"-", settings::UnitTable(unit).sUnit};
    return settings::FormatInUnit(false, unit, platform::Variant(si), platform::Variant());
}

core::OutVal duty_value(const core::InputDataType& given, double si, std::int16_t unit) {
    if (given.Given && !given.sValue.empty() && settings::UnitTable.Contains(given.iUnitID) &&
        !settings::UnitTable(given.iUnitID).sUnit.empty())
        return settings::FormatInUnit(true, given.iUnitID, platform::Variant(), platform::Variant(given.sValue));
    return result_value(si, unit);
}

std::string hash_point_zero(double value) {
    if (!std::isfinite(value)) return "-";
    std::string text = settings::fixed_text(value, 1);
    // "###.0" shows no digit before the separator for a magnitude below 1.
    const std::size_t digit = text[0] == '-' ? 1 : 0;
    if (text.size() > digit + 1 && text[digit] == '0' && !std::isdigit(static_cast<unsigned char>(text[digit + 1])))
        text.erase(digit, 1);
    return text;
}

std::string percent_remark(double percent) { return " (" + hash_point_zero(percent) + " %)"; }

std::string pressure_remark(double pascal) { return " (" + hash_point_zero(pascal / 100000.0) + " bar)"; }

SideNotes side_notes(const std::string& percent_text, double percent, const std::string& pressure_text,
                     double pressure) {
    SideNotes notes;
    if (!percent_text.empty()) notes.percent = percent_text + percent_remark(percent);
    if (!pressure_text.empty()) notes.pressure = pressure_text + pressure_remark(pressure);
    return notes;
}

std::string channel_text(const core::OutDataType& alternative, int side) {
    const core::SinglePhaseResult& r = alternative.OutputData;
    return counts_text(r.Channelout[side][1], r.Channelout[side][2], r.NoOfChannels[side], passes_of(r, side),
                       side_types(alternative.ChanComb, alternative.Chantype, side));
}

std::string alternative_designation(const core::OutDataType& alternative, bool dual) {
    std::string designation = alternative.XerAlias;
    return core::FormatModelDesignation(designation, alternative.OutputData.NoOfPlates, channel_text(alternative, 1),
                                        channel_text(alternative, 2), dual);
}

std::string alternative_designation(const core::CONOutDataType& alternative, bool dual) {
    return two_phase_designation(alternative, dual);
}

std::string alternative_designation(const core::VAPOutDataType& alternative, bool dual) {
    return two_phase_designation(alternative, dual);
}

std::string two_stage_designation(const core::TwoStageOutDataType& alternative) {
    // One pack: stage 1's plates, stage 2's and the plate between them. Stage 2 is cut
    // from the model stage 1 names, so stage 1 gives the designation and types.
    const core::OutDataType& one = alternative.Stage1;
    const core::OutDataType& two = alternative.Stage2;
    core::OutDataType pack = one;
    if (pack.XerAlias.empty()) pack.XerAlias = two.XerAlias;
    if (pack.ChanComb.empty() && pack.Chantype.empty()) {
        pack.ChanComb = two.ChanComb;
        pack.Chantype = two.Chantype;
    }
    core::SinglePhaseResult& r = pack.OutputData;
    const core::SinglePhaseResult& r2 = two.OutputData;
    r.NoOfPlates = static_cast<std::int16_t>(r.NoOfPlates + r2.NoOfPlates + 1);
    for (int s = 1; s <= 2; ++s) {
        r.NoOfChannels[s] = static_cast<std::int16_t>(r.NoOfChannels[s] + r2.NoOfChannels[s]);
        for (int t = 1; t <= 2; ++t)
            r.Channelout[s][t] = static_cast<std::int16_t>(r.Channelout[s][t] + r2.Channelout[s][t]);
        r.Passes[s] = 1;
    }
    r.NoOfPasses = 1;
    return alternative_designation(pack, false) + "/2S";
}

bool is_dual(const core::InputData& given, bool alternative_dual) { return alternative_dual || given.IsDualCalc; }

std::string unit_counts(std::int16_t parallel, std::int16_t serial, std::int16_t offset) {
    std::string out;
    if (parallel > 1)
        out = fmt::format("{} {} {}", parallel, settings::localised_text(262, offset), settings::localised_text(409, offset));
    if (serial > 1)
        out += fmt::format("{}{} {}", out.empty() ? "" : ", ", serial, settings::localised_text(528, offset));
    return out;
}

}  // namespace hxq::output
