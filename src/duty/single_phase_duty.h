// The single-phase duty reader: two fluids, side1 and side2, rated by the single-phase
// driver (clsCalculate::SPCMainCalcLoop).
#pragma once

#include "duty/duty_document.h"
#include "duty/duty_target.h"
#include "records/calc_records.h"

#include <string>

namespace hxq::duty {

const KindLayout& SinglePhaseLayout();

// The calculation record of a single-phase duty: given values as written, the engine
// input in SI (fluids created from the catalogue). The units tables must be loaded.
core::SPCDataType BuildSPCData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database);

// One liquid side of a single-phase record (side `s`, 1 or 2) from its table: the fluid
// with its concentration, temperatures, flow (a volume flow at the side's inlet, else
// outlet temperature), pressure-drop limit, and passes and channels where given.
void ReadSingleSide(const Section& side, int s, core::InputData& g, core::SinglePhaseInput& in);

// The given values every kind that rates one unit shares (model or group, database,
// dual calculation, material, filter) into `g`.
void FillTarget(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database,
                core::InputData& g);

}  // namespace hxq::duty
