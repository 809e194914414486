// The duties of the two units of an air dryer as the engines take them: the air-to-air
// unit's engine input and the fluids of both units.
#pragma once

#include "batch/ad_records.h"
#include "core/calculate.h"

namespace hxq::batch {

// The plate wall of both units: AISI 316L, 16.3 W/(m K) at 100 °C (ASM Handbook vol. 1,
// 10th ed., wrought stainless steels; the value core::kWallConductivityMaterial0 holds).
inline constexpr double kADWallConductivity = core::kWallConductivityMaterial0;

// The common set-up of the air-to-air unit's engine input for dew temperature `dew_temp`:
// side 1 the cold dried air returning, side 2 the warm air entering, the air flow on both
// sides, one pass each, performance mode, the plate wall of the range.
void SetAirUnitDuty(ADInputType& input, double dew_temp);

// Gives the two units their fluids where the host set none: the refrigerant by the
// entered name, dry "Air" for the air; every air fluid at the operating pressure.
void PrepareADFluids(ADInputType& input);

}  // namespace hxq::batch
