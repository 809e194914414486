// The result preview of a cascade calculation (CreatePreview_Cascade): one pack that
// evaporates the high stage's refrigerant and condenses the low stage's; its value
// columns are the evaporating and the condensing circuit.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"
#include "records/calc_records.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// Values in the output units of the user's settings (the cascade call passes none). An
// `Index` outside 1..7 is error 9; `HXQ` is accepted and not used.
PreviewArray cascade_preview_sheet(const core::CascadeDataType& cascadeData, std::int16_t Index,
                                   const PreviewWarnings& Warnings, bool HXQ, const std::string& CM,
                                   std::int16_t offset);

}  // namespace hxq::output
