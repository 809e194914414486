// The result previews of a single-phase, condenser or evaporator calculation: the sheet
// of one alternative (CreatePreview_new) and of a dual calculation (CreatePreview_Dual),
// as arrays ready for PreviewPrint.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"
#include "settings/unit_tables.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// `CalcT` names the record's kind (0 single-phase, 1 condenser, 2 evaporator) and must
// match it (error 13 otherwise); an `Index` outside 1..7 is error 9. `CalcType` and
// `HXQ` are accepted and not used.
PreviewArray single_phase_preview_sheet(const PreviewRecord& OData, std::int16_t Index,
                                        const settings::OutputUnitsType& unit, const std::string& CalcType,
                                        std::int16_t CalcT, const PreviewWarnings& Warnings, bool HXQ,
                                        const std::string& CM, std::int16_t offset);

// The same sheet headed "Dual", its columns "Refrigerant" and "Brine", the heat load per
// circuit and in total.
PreviewArray dual_preview_sheet(const PreviewRecord& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                                const std::string& CalcType, std::int16_t CalcT, const PreviewWarnings& Warnings,
                                bool HXQ, const std::string& CM, std::int16_t offset);

}  // namespace hxq::output
