// The brazed plate condenser engine: a refrigerant entering superheated (or at a given
// quality) condenses against water, a brine or a user fluid and leaves subcooled (or at a
// given quality); or, with a heat recovery load, a desuperheater takes that share of the
// gas's heat. Modes, members and codes: docs/engine-records.md.
#pragma once

#include "records/engine_contracts.h"

namespace hxq::engines::condenser {

class CondenserEngine final : public core::CondenserEngine {
public:
    // Rates the model of `input` for its duty; `result` is overwritten, the input is not
    // changed. result.Status: −1 solution, 0 none, > 0 an engine code.
    void Calculate(core::CondenserInput& input, core::CondenserResult& result) override;
    // The checks that need no model data; `code` is 0 when a rating may start.
    void CheckInput(core::CondenserInput& input, std::int16_t& code) override;
};

}  // namespace hxq::engines::condenser
