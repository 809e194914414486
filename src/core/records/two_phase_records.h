// Input and result records of the condenser and evaporator engines. Every member, its
// unit and its role is listed in docs/engine-records.md.
#pragma once

#include "core/records/bounded.h"
#include "core/records/fluid_object.h"

#include <cstdint>
#include <string>

namespace hxq::core {

struct CondenserInput {
    FluidRef Refrigerant;
    FluidRef Fluid;  // the secondary fluid
    std::string CalcMode;
};

// Status: negative = solution, 0 = none, positive = an engine error code.
struct CondenserResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
};

struct EvaporatorInput {
    FluidRef Refrigerant;
    FluidRef Fluid;
    std::string CalcMode;
};

struct EvaporatorResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
};

}  // namespace hxq::core
