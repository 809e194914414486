// The merge data of the condenser printouts (SaveCON, SaveCONDual).
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// Alternative `Index` (1..7) of `data`; `Quote` adds the quotation block, `dual` writes the
// dual form (both circuits' fluids, the total load).
MergeRecord con_merge_record(const core::CONDataType& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                             bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual);

}  // namespace hxq::output
