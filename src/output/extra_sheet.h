// The extra data sheets: per-side detail results of one alternative (Reynolds numbers,
// wall temperatures, film coefficients, velocities, shear) and, for refrigerant duties,
// the recommended connection diameters.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"

#include <optional>
#include <string>
#include <vector>

namespace hxq::output {

// The unit of the connection sizing's result (mm) in the units database.
inline constexpr std::int16_t kMillimetreUnit = 52;

// The sheet of Create_Xtra for alternative `SelIndex` (1..7; error 9 otherwise) in the
// language of `offset`, values in the library's output units (temperatures in the unit
// the user gave the inlet temperature in). `CalcType` names the record's kind (0 single
// phase, 1 condenser, 2 evaporator; error 13 when it does not match). `header`: the
// host's lines under the heading. `Dual`, when given, overrides the record's dual flag.
// `Plt` is accepted and not used. `DiaWarning` receives the connection warning ("" when
// every recommended connection fits its port).
PreviewArray extra_sheet(const PreviewRecord& OData, const std::vector<std::string>& header, std::int16_t SelIndex,
                         std::int16_t CalcType, const std::string& CalcMethod, std::int16_t Plt, std::int16_t offset,
                         std::string* DiaWarning = nullptr, std::optional<bool> Dual = std::nullopt);

// The sheet of Create_Xtra_Cascade: the evaporating and the condensing circuit of the
// unit side by side.
PreviewArray extra_cascade_sheet(const core::CascadeDataType& cascadeData, const std::vector<std::string>& header,
                                 std::int16_t SelIndex, std::int16_t offset, std::string* DiaWarning = nullptr);

}  // namespace hxq::output
