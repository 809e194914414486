// Sizing of the two stages of a two-stage single-phase unit: one plate pack in two
// sections, the primary (side 1) through stage 2 then stage 1, the secondary (side 2)
// through stage 1 then stage 2. Internal to core; see docs/two-stage-cascade.md.
#pragma once

#include "records/engine_contracts.h"
#include "records/single_phase_records.h"

#include <cstdint>

namespace hxq::core {

// Side-1 pressure drop a result is judged by, plus the other stage's (Pa).
double PrimaryDrop(const SinglePhaseResult& r);

// A stage of `plates` plates holds as many channels, half on each side: the plate that
// closes it is the first plate of the neighbouring stage.
void SetStagePlates(SinglePhaseInput& stage, std::int16_t plates);
// Channels per side given explicitly (a stage moved off the even split).
void SetStageChannels(SinglePhaseInput& stage, std::int16_t side1, std::int16_t side2);

// Bisection of a stage's plate count between `lo` and `hi` on its side-1 pressure drop
// plus `offset` against `target`: more plates, less drop. Returns the last valid rating
// within 1.05 × target, or an invalid (empty) result when none came within it. The
// stage keeps the channel counts of the result returned (of the last count tried when
// none came within the target).
SinglePhaseResult PlateBisection(SinglePhaseEngine& engine, SinglePhaseInput& stage, double offset, double target,
                                 int lo, int hi);

// Adiabatic mixing of two streams of the same liquid (steady-flow energy balance,
// Çengel & Boles, Thermodynamics: An Engineering Approach, 8th ed., sec. 5-4, mixing
// chambers), with the capacity rates of both streams taken alike.
double MixedTemperature(double flow_a, double temp_a, double flow_b, double temp_b);

}  // namespace hxq::core
