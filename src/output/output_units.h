// The unit a sheet shows a quantity in: the output unit the settings chose for it, or the
// unit of the unit system in force for quantities that have no output unit of their own.
#pragma once

#include "output/sheet_values.h"
#include "settings/unit_tables.h"

#include <cstdint>

namespace hxq::output {

// Further quantity groups of the units database (UnitGroups.GroupID), beside those of
// output/sheet_values.h.
inline constexpr std::int16_t kTemperatureGroup = 1;
inline constexpr std::int16_t kTemperatureDifferenceGroup = 2;
inline constexpr std::int16_t kPressureGroup = 5;
inline constexpr std::int16_t kLengthGroup = 16;

// The unit of `group` in the unit system the tables were loaded for; the SI unit for a
// user-defined system (which has none of its own).
std::int16_t base_unit(std::int16_t group);

// `chosen` when it is a unit of `group` in the table (an output unit the settings have not
// filled yet is not), otherwise base_unit(group).
std::int16_t unit_or_base(const settings::UnitType& chosen, std::int16_t group);

// The unit the host chose for an input (`iUnitID` of a given value) when it is one of
// `group`, otherwise base_unit(group).
std::int16_t unit_or_base(std::int16_t unit_id, std::int16_t group);

}  // namespace hxq::output
