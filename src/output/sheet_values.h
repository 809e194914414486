// The values every sheet shows: a quantity in its output unit (a given value as the user
// typed it), the endings of the engine's remarks, an alternative's designation and the
// unit counts of the heading.
#pragma once

#include "records/calc_records.h"
#include "settings/unit_tables.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// Quantity groups of the units database that the output-unit list has no field for.
inline constexpr std::int16_t kHeatLoadGroup = 3;
inline constexpr std::int16_t kFlowGroup = 4;
inline constexpr std::int16_t kLatentHeatGroup = 13;
inline constexpr std::int16_t kFoulingGroup = 17;
inline constexpr std::int16_t kHeatFluxGroup = 19;

// The unit of `group` in the unit system of `unit` (its US unit when the output units are
// the US ones, otherwise its SI unit).
std::int16_t group_unit(std::int16_t group, const settings::OutputUnitsType& unit);

// The unit the record's own output-unit choice names, or `fallback` when it names none.
std::int16_t chosen_unit(const core::GivenOutputUnitsType& chosen, const settings::UnitType& fallback);
std::int16_t chosen_unit(const core::GivenOutputUnitsType& chosen, std::int16_t fallback);

// The unit of every quantity a sheet shows: the output units of the sheet, the record's
// own choice where it made one (area, mean temperature difference, coefficient, pressure
// drops, refrigerant flows and outlet state), the unit of the quantity's group otherwise.
struct SheetUnits {
    std::int16_t temperature = 0;
    std::int16_t temperature_difference = 0;  // subcooling, superheat
    std::int16_t flow = 0;
    std::int16_t heat_load = 0;
    std::int16_t area = 0;
    std::int16_t heat_flux = 0;
    std::int16_t mean_difference = 0;
    std::int16_t ohtc = 0;
    core::PerSide<std::int16_t> pressure_drop{};
    std::int16_t port_pressure_drop = 0;
    std::int16_t pressure = 0;  // operating pressures
    std::int16_t length = 0;    // port diameters
    std::int16_t viscosity = 0;
    std::int16_t density = 0;
    std::int16_t heat_capacity = 0;
    std::int16_t conductivity = 0;
    std::int16_t latent_heat = 0;
    std::int16_t fouling = 0;
    std::int16_t fluid_condensed = 0;
    std::int16_t fluid_vaporized = 0;
    std::int16_t inlet_vapour = 0;
    std::int16_t gas_outlet_temperature = 0;
    std::int16_t operating_pressure_out = 0;
};
SheetUnits sheet_units(const settings::OutputUnitsType& unit, const core::GivenUnitsType& chosen);

// A result: the SI value `si` converted to `unit` and its label; "-" for a value the
// result cannot give (not finite, as an area without a solution).
core::OutVal result_value(double si, std::int16_t unit);

// A duty value: the text the user typed, in the user's unit, when `given.Given` is set;
// otherwise result_value(si, unit).
core::OutVal duty_value(const core::InputDataType& given, double si, std::int16_t unit);

// `value` laid out as "###.0": one decimal, no leading zero ("12.3", ".5", "-.5").
std::string hash_point_zero(double value);
// " (" + percent "###.0" + " %)": the ending of a percentage remark.
std::string percent_remark(double percent);
// " (" + pascal / 100000 "###.0" + " bar)": the ending of a pressure remark.
std::string pressure_remark(double pascal);

// The engine's remarks on one side, each with its ending; empty texts are left out.
struct SideNotes {
    std::string percent;   // "" when none
    std::string pressure;  // "" when none
    bool empty() const { return percent.empty() && pressure.empty(); }
};
SideNotes side_notes(const std::string& percent_text, double percent, const std::string& pressure_text,
                     double pressure);

// The printed designation of an alternative: its displayed designation, plate count and
// channel counts per side and pass (channel types from ChanComb split at "-" or "/").
// `dual` prints the plate count as two halves (a dual model or the pair of a dual
// calculation).
std::string alternative_designation(const core::OutDataType& alternative, bool dual);
std::string alternative_designation(const core::CONOutDataType& alternative, bool dual);
std::string alternative_designation(const core::VAPOutDataType& alternative, bool dual);
// The pack of a two-stage alternative: both stages' plates and the plate between them,
// the channels of both stages per side, then "/2S".
std::string two_stage_designation(const core::TwoStageOutDataType& alternative);

// The channel text of one side as the designation takes it: counts per type and pass,
// joined by "+", several passes as "<n>*(<counts>)".
std::string channel_text(const core::OutDataType& alternative, int side);

// The dual flag of an alternative of a record: a dual model, or a non-dual model that a
// dual calculation builds as a pair.
bool is_dual(const core::InputData& given, bool alternative_dual);

// "<n> " + "Units" + " " + "connected in parallell", and with units in series ", <m> " +
// "Units in series", in the language of `offset`; "" for a single unit.
std::string unit_counts(std::int16_t parallel, std::int16_t serial, std::int16_t offset);

}  // namespace hxq::output
