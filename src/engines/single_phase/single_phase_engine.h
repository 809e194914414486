// The single-phase brazed plate heat exchanger engine: design, performance and check
// ratings of one model for a duty between two single-phase fluids. Modes, units and
// codes: docs/engine-records.md, "Single-phase records".
#pragma once

#include "records/engine_contracts.h"

namespace hxq::engines::single_phase {

class SinglePhaseEngine final : public core::SinglePhaseEngine {
public:
    // Rates the model of `input` for its duty; `result` is overwritten. The input is not
    // changed.
    void Calculate(core::SinglePhaseInput& input, core::SinglePhaseResult& result) override;
    // The duty checks that need no model data (counts, values, temperatures, plates,
    // passes, channels); result.ErrorCode is 0 when a search may start.
    void CheckInput(core::SinglePhaseInput& input, core::SinglePhaseResult& result) override;
};

}  // namespace hxq::engines::single_phase
