// The merge data of the cascade printout (SaveCascade): one unit that evaporates the high
// stage's refrigerant (side 1) and condenses the low stage's (side 2).
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// Pack `Index` (1..7) of `data`: slot `Index` of both circuits' alternatives.
MergeRecord cascade_merge_record(const core::CascadeDataType& data, std::int16_t Index,
                                 const settings::OutputUnitsType& unit, bool Quote, const std::string& CM,
                                 const QuotationTexts& quotation);

// The remarks of both circuits, each after its circuit's name ("Condenser: ",
// "Evaporator: "); "" when neither has any.
std::string cascade_note(const core::CondenserResult& condensing, const core::EvaporatorResult& evaporating);

}  // namespace hxq::output
