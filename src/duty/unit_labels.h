// Unit labels as users type them on the command line and in duty files: the labels of
// the units database ("m²,°C/kW") or their plain-keyboard spellings ("m2,C/kW").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hxq::duty {

// A label as typed on a plain keyboard: "degC" -> "°C", "deltaK" -> "ΔK", "m3/h" -> "m³/h",
// "m^2" -> "m²", "C" or "F" standing alone between "," and "/" -> "°C" ("m2,C/W" -> "m²,°C/W").
std::string keyboard_to_label(const std::string& typed);

// The unit of the loaded unit table that `word` names: its exact label, else its label
// typed on a plain keyboard; either one without regard to case when only one label
// matches that way (case tells "mWC" from "MW").
std::optional<std::int16_t> find_unit_label(const std::string& word);

}  // namespace hxq::duty
