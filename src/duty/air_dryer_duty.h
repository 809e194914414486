// The air dryer duty readers: compressed air ([air]) dried by an air-to-air unit and an
// evaporator on a refrigerant ([refrigerant]), sized (design: the wanted pressure dew
// point) or rated (the plates of both units) by batch::clsADOpt::AD_Main.
#pragma once

#include "batch/ad_records.h"
#include "duty/duty_document.h"
#include "duty/duty_target.h"

#include <string>

namespace hxq::duty {

const KindLayout& AirDryerDesignLayout();
const KindLayout& AirDryerRatingLayout();

// The air dryer record: the entered values in SI, the refrigerant, and the humid air of
// both units at the operating pressure (the warm air entering with its water content, the
// dried air with the water of saturation at the wanted pressure dew point, for a rating
// at the evaporating temperature). The units tables must be loaded.
batch::ADDataType BuildADData(const DutyDocument& duty, const ResolvedTarget& target);

}  // namespace hxq::duty
