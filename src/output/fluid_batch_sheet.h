// The fluid batch sheet: a batch heated or cooled through the exchanger, its fluids, the
// batch's temperatures and the time it takes.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"

#include <string>
#include <vector>

namespace hxq::output {

// Units of the batch rows when the host gives none (UnitIDs: kg, °C, kg/s, s).
inline constexpr std::int16_t kBatchDefaultUnits[4] = {32, 0, 9, 88};

// The sheet of Create_FluidBatch_Preview in the current language. `InData` gives the
// fluids and the batch (concentration, pressure, size, initial and final temperature),
// `outdata` how the exchanger runs (inlet and outlet temperatures, flows, the required
// time). `header`: the host's lines under the heading. `BatchUnits`: UnitIDs as text for
// the batch size, the temperatures, the flow rates and the time, in that order.
PreviewArray fluid_batch_sheet(const FluidBatchData& InData, const FluidBatchData& outdata, core::FluidObject* FluObj1,
                               core::FluidObject* FluObj2, const std::vector<std::string>& header,
                               const std::vector<std::string>& BatchUnits, const std::string& flu1,
                               const std::string& flu2);

}  // namespace hxq::output
