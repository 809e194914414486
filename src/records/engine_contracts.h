// The three engine classes as the calculation drivers call them. Implementations live
// in src/engines; the drivers only see these contracts.
#pragma once

#include "records/single_phase_records.h"
#include "records/two_phase_records.h"

#include <cstdint>

namespace hxq::core {

class SinglePhaseEngine {
public:
    virtual ~SinglePhaseEngine() = default;
    virtual void Calculate(SinglePhaseInput& input, SinglePhaseResult& result) = 0;
    // Checks a duty before a group search; a non-zero result.ErrorCode stops it.
    virtual void CheckInput(SinglePhaseInput& input, SinglePhaseResult& result) = 0;
};

class CondenserEngine {
public:
    virtual ~CondenserEngine() = default;
    virtual void Calculate(CondenserInput& input, CondenserResult& result) = 0;
    virtual void CheckInput(CondenserInput& input, std::int16_t& code) = 0;
};

class EvaporatorEngine {
public:
    virtual ~EvaporatorEngine() = default;
    virtual void Calculate(EvaporatorInput& input, EvaporatorResult& result) = 0;
    virtual void CheckInput(EvaporatorInput& input, std::int16_t& code) = 0;
};

}  // namespace hxq::core
