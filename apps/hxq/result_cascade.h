// The alternatives of a cascade selection: per pack its condensing circuit (the low
// stage) and its evaporating circuit (the high stage), as aligned tables keyed by the
// rank, JSON, and the full result of one alternative.
#pragma once

#include "result_common.h"

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hxq::app {

int ListedAlternatives(const core::CascadeDataType& data);
std::string ResultTable(const core::CascadeDataType& data, OutputSystem system, const Labels& text = {});
nlohmann::json ResultJson(const core::CascadeDataType& data, OutputSystem system);
std::string ResultDetail(const core::CascadeDataType& data, int rank, OutputSystem system);

// The engines' remarks on both circuits: the condensing circuit's codes prefixed "C",
// the evaporating circuit's "E" ("CP1", "EV").
Remarks CascadeRemarks(const core::CONOutDataType& con, const core::VAPOutDataType& vap, const QuantityUnits& u);

}  // namespace hxq::app
