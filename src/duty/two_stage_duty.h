// The two-stage duty reader: a tap-water heater of a district-heating substation, one pack
// in two stages rated by clsCalculate::TwoStageMainCalcLoop. The primary (district water)
// is side 1, the tap water side 2; the radiator circuit's return may join the primary
// between the stages.
#pragma once

#include "duty/duty_document.h"
#include "duty/duty_target.h"
#include "records/calc_records.h"

#include <string>

namespace hxq::duty {

const KindLayout& TwoStageLayout();

// The calculation record: the whole duty in InData (SI), the radiator return in kg/s and
// °C, the primary pressure-drop share in percent. The units tables must be loaded.
core::TwoStageType BuildTwoStageData(const DutyDocument& duty, const ResolvedTarget& target,
                                     const std::string& database);

}  // namespace hxq::duty
