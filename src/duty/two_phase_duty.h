// The condenser and evaporator duty readers: a refrigerant ([refrigerant]) against a
// secondary fluid ([secondary]), rated by clsCalculate::CONMainCalcLoop and
// VAPMainCalcLoop. A dual calculation (`dual = true`) goes to the driver as IsDualCalc.
#pragma once

#include "duty/duty_document.h"
#include "duty/duty_target.h"
#include "records/calc_records.h"

#include <string>
#include <vector>

namespace hxq::duty {

const KindLayout& CondenserLayout();
const KindLayout& EvaporatorLayout();

// The calculation records, given values as written and the engine input in SI. A liquid
// outlet temperature becomes the subcooling below the bubble point of the condensing
// pressure; a liquid temperature before the expansion valve the inlet vapour quality at
// the evaporating pressure. The units tables must be loaded.
core::CONDataType BuildCONData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database);
core::VAPDataType BuildVAPData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database);

// The refrigerant tables of a condensing and an evaporating circuit, shared with the
// cascade's circuits: their keys, what must and must not be given together, and their
// values into the engine input (the refrigerant on side 1; given texts into `g`).
std::vector<KeySpec> CondensingRefrigerantKeys();
std::vector<KeySpec> EvaporatingRefrigerantKeys();
void CheckCondensingRefrigerant(const Section& ref);
void CheckEvaporatingRefrigerant(const Section& ref);
void ReadCondensingRefrigerant(const Section& ref, core::InputData& g, core::CondenserInput& in);
void ReadEvaporatingRefrigerant(const Section& ref, core::InputData& g, core::EvaporatorInput& in);

// The vapour quality after throttling saturated liquid of `liquid_temp` (°C) to the dew
// pressure of `evap_temp`: the valve keeps the enthalpy.
double QualityAfterExpansion(const core::FluidObject& refrigerant, double liquid_temp, double evap_temp);
// The subcooling (K) of liquid at `outlet_temp` below the bubble point of the dew
// pressure of `cond_temp`.
double SubcoolingAt(const core::FluidObject& refrigerant, double outlet_temp, double cond_temp);

}  // namespace hxq::duty
