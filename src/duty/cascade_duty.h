// The cascade duty reader: one pack that condenses the low stage's refrigerant
// ([condensing]) and evaporates the high stage's ([evaporating]), rated by
// clsCalculate::CascadeMainCalcLoop. Each circuit's engine rates its refrigerant against
// a liquid that stands for the other circuit (docs/duty-files.md, "Cascade duties").
#pragma once

#include "duty/duty_document.h"
#include "duty/duty_target.h"
#include "records/calc_records.h"

#include <string>

namespace hxq::duty {

const KindLayout& CascadeLayout();

// The stand-in liquid when the file names none, and the temperature change it is rated
// with: 40 % ethylene glycol stays liquid to about -24 °C.
inline constexpr const char* kStandInFluid = "ethylene glycol";
inline constexpr double kStandInConcentration = 40;  // % by mass
inline constexpr double kStandInGlide = 3;           // K

// The calculation record, both circuits' inputs in SI; the condensing circuit's stand-in
// warms from the evaporating temperature by the glide, the evaporating circuit's cools
// to the condensing temperature by it. The units tables must be loaded.
core::CascadeDataType BuildCascadeData(const DutyDocument& duty, const ResolvedTarget& target,
                                       const std::string& database);

}  // namespace hxq::duty
