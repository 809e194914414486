// The alternatives of a two-stage selection: per pack its two stages (stage 1 the
// pre-heater the tap water enters, stage 2 the after-heater the district water enters),
// as aligned tables keyed by the rank, JSON, and the full result of one alternative.
#pragma once

#include "result_common.h"

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hxq::app {

int ListedAlternatives(const core::TwoStageType& data);
std::string ResultTable(const core::TwoStageType& data, OutputSystem system, const Labels& text = {});
nlohmann::json ResultJson(const core::TwoStageType& data, OutputSystem system);
std::string ResultDetail(const core::TwoStageType& data, int rank, OutputSystem system);

// The single-phase remarks of both stages, each mark prefixed by its stage ("1V", "2P").
Remarks TwoStageRemarks(const core::TwoStageType& data, const core::TwoStageOutDataType& alternative,
                        const QuantityUnits& u);

}  // namespace hxq::app
