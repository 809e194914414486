// The alternatives of a single-phase selection as an aligned text table or as JSON, in
// the SI or US output units of the units database.
#pragma once

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hxq::app {

enum class OutputSystem { SI, US };

// The channel text of side `side` of an alternative as the printouts compose it: each
// count per pass followed by its channel type letter, joined by "+"; several passes as
// "<passes>*(<counts>)".
std::string ChannelText(const core::OutDataType& alternative, int side);

// The printed designation of an alternative (FormatModelDesignation).
std::string Designation(const core::OutDataType& alternative, bool dual_pair);

// The filled slots of `data` (best first) as a table with a header of two lines (names,
// units). "No alternatives." when no slot is filled.
std::string ResultTable(const core::SPCDataType& data, OutputSystem system);

// The same as JSON: the duty's model or group and one object per filled slot, every
// quantity as {"value": number, "unit": label} in the chosen units.
nlohmann::json ResultJson(const core::SPCDataType& data, OutputSystem system);

}  // namespace hxq::app
