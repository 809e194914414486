// What a single-phase alternative is remarked for: a port too fast, ports taking too
// much of a side's pressure drop, a pressure drop above the duty's limit, far more area
// than the duty asked for, and the engine's own remark codes. Thresholds and their
// reasons: docs/duty-files.md, "Remarks".
#pragma once

#include "result_common.h"

#include "records/single_phase_records.h"

#include <optional>
#include <vector>

namespace hxq::app {

// An alternative whose area exceeds the area the duty needs with its asked margin by more
// than this ratio is remarked as oversized. 1.3: customary margins of liquid duties reach
// about 30 % for fouling service; area beyond a whole such margin on top of the asked one
// is no longer margin but a model too large for the duty (its smallest pack, or a
// pressure-drop limit holding the plates up).
inline constexpr double kOversizeAreaRatio = 1.3;

// What the remarks compare with that the result does not hold: the duty.
struct SinglePhaseDuty {
    double asked_over_surface = 0;                     // %, 0 when the duty gives none
    core::PerSide<std::optional<double>> max_pressure_drop;  // Pa, where the duty limits it
    int calc_type = 0;                                 // the CalcType setting: picks engine texts
};

// The port of a side the flow passes fastest: the narrower of the two.
struct NarrowPort {
    double diameter = 0;  // m; 0 when the result gives no diameter
    double velocity = 0;  // m/s
};

// The engine reports the port velocity at the effective diameter of the two ports; through
// a port of diameter d the same flow passes at (d_effective / d)² times that velocity.
double PortVelocityAt(const core::SinglePhaseResult& r, int side, double diameter);
NarrowPort NarrowestPort(const core::SinglePhaseResult& r, int side);

// The remarks of one alternative, side 1 before side 2, then the unit's; texts in `units`.
Remarks SinglePhaseRemarks(const core::SinglePhaseResult& r, const SinglePhaseDuty& duty, const QuantityUnits& units);

}  // namespace hxq::app
