// The older preview: the host hands over every row ready made (labels, values, units), so
// the sheet only lays them out.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"

namespace hxq::output {

// The sheet of the older CreatePreview. Row i has the label header[i], the value data[i]
// and the unit unit[i]; a value or unit with ";" holds side 1 and side 2 ("1.2;3.4",
// "kg/s;l/min"), one without it side 1 alone. A label whose value and unit are both empty
// heads a section. The side headings are the fluid names of `Fluid` (elements 0 and 1),
// else those of FluObj1 and FluObj2. The heading is CalcType followed by ": " and
// CalcName when there is one. CMethod and HXQ are accepted and not used.
PreviewArray host_preview_sheet(const std::vector<std::string>& data, const std::vector<std::string>& unit,
                                const std::vector<platform::Variant>& Fluid, const std::string& CalcType,
                                const std::vector<std::string>& header, std::uint8_t CMethod,
                                const std::string& CalcName, core::FluidObject* FluObj1, core::FluidObject* FluObj2,
                                const PreviewWarnings& Warnings, bool HXQ);

}  // namespace hxq::output
