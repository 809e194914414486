// The merge data of the single-phase printouts (SaveSPC, SaveSPCDual) and of the
// two-stage printout (SaveTwoStage), which lays out one pack of two single-phase stages.
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// Alternative `Index` (1..7) of `data`; `Quote` adds the quotation block, `dual` writes the
// dual form (both circuits' fluids on side 1, the total load).
MergeRecord spc_merge_record(const core::SPCDataType& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                             bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual);

// The pack of alternative `Index`: the duty at the pack's terminals, both stages'
// properties, the stages' drops added up.
MergeRecord two_stage_merge_record(const core::TwoStageType& data, std::int16_t Index,
                                   const settings::OutputUnitsType& unit, bool Quote,
                                   const QuotationTexts& quotation);

}  // namespace hxq::output
