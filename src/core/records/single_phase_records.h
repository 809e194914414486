// Input and result records of the single-phase engine. Every member, its unit and its
// role is listed in docs/engine-records.md.
#pragma once

#include "core/records/bounded.h"
#include "core/records/fluid_object.h"

#include <cstdint>
#include <string>

namespace hxq::core {

struct SinglePhaseInput {
    PerSide<FluidRef> Fluid;
    std::string CalcMode;  // mode text, see docs/engine-records.md
};

struct SinglePhaseResult {
    bool Valid = false;           // the engine found a solution
    std::int16_t ErrorCode = 0;   // 0 = none; otherwise a code of EngineErrorText
    bool WarningOnly = false;     // ErrorCode is a remark, the result is usable
    std::int16_t NoOfPlates = 0;
    std::int16_t NoOfPasses = 0;
    PerSide<std::int16_t> NoOfChannels;
    std::int16_t ParallelUnits = 0;
};

}  // namespace hxq::core
