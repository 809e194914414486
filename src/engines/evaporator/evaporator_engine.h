// The brazed plate evaporator engine: a refrigerant entering at a given vapour quality
// evaporates against water, a brine or a user fluid and leaves superheated (or at a fixed
// gas temperature, or at a given quality), optionally through a distributor ring.
// Modes, members and codes: docs/engine-records.md.
#pragma once

#include "records/engine_contracts.h"

namespace hxq::engines::evaporator {

class EvaporatorEngine final : public core::EvaporatorEngine {
public:
    // Rates the model of `input` for its duty; `result` is overwritten, the input is not
    // changed. result.Status: −1 solution, 0 none, > 0 an engine code.
    void Calculate(core::EvaporatorInput& input, core::EvaporatorResult& result) override;
    // The checks that need no model data; `code` is 0 when a rating may start.
    void CheckInput(core::EvaporatorInput& input, std::int16_t& code) override;
};

}  // namespace hxq::engines::evaporator
