// The air dryers of a design or rating: the pairs of an air-to-air unit and an
// evaporator as aligned blocks keyed by the rank, JSON, and the full result of one pair,
// in the SI or US units of the units database.
#pragma once

#include "result_common.h"

#include "batch/ad_records.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hxq::app {

// The pairs found (they meet the duty), cheapest first.
int ListedAlternatives(const batch::ADDataType& data);

std::string ResultTable(const batch::ADDataType& data, OutputSystem system, const Labels& text = {});
nlohmann::json ResultJson(const batch::ADDataType& data, OutputSystem system);
// The full result of listed pair `rank` (1 = cheapest).
std::string ResultDetail(const batch::ADDataType& data, int rank, OutputSystem system);

}  // namespace hxq::app
