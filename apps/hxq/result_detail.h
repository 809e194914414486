// The full result of one single-phase alternative (`hxq select --detail N`): the unit's
// quantities, then each side's flow, ports, heat transfer, walls and fluid properties.
#pragma once

#include "result_common.h"

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hxq::app {

// Alternative `rank` (1 = best) of the listed ones as text; std::out_of_range when it is
// not listed.
std::string SinglePhaseDetail(const core::SPCDataType& data, int rank, OutputSystem system, const Labels& text = {});

// The same as JSON: the alternative's object of ResultJson with a "detail" object added.
nlohmann::json SinglePhaseDetailJson(const core::SPCDataType& data, int rank, OutputSystem system);

}  // namespace hxq::app
