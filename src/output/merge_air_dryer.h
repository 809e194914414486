// The merge data of the air dryer printout (SaveAD): the refrigerant unit (evaporator) and
// the air-to-air unit of one pair side by side.
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"

#include <cstdint>

namespace hxq::output {

// Pair `ind` (1..7) of `AD`. `CalcM` writes the method as "Performance", else "Design", in
// the language of `offset`. The whole field list is always written; without `bQuote` the
// connection and quotation fields are empty.
MergeRecord air_dryer_merge_record(const batch::ADDataType& AD, std::int16_t ind, bool CalcM, std::int16_t offset,
                                   bool bQuote, const settings::OutputUnitsType& Units,
                                   const QuotationTexts& quotation);

}  // namespace hxq::output
