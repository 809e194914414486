// The air dryer sheet: one alternative of an air dryer sizing, the refrigerant and the
// air it was sized for, and the pair of units it found.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"

namespace hxq::output {

// The sheet of ADCreatePreview for alternative `ind` (1..7; error 9 otherwise); CalcType
// 0 is a design, any other a performance rating.
PreviewArray air_dryer_preview_sheet(const batch::ADDataType& AD, std::int16_t ind, std::int16_t CalcType,
                                     std::int16_t offset, const PreviewWarnings& Warnings);

}  // namespace hxq::output
