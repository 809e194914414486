// Everything of a result preview around its own rows: the address block, the title, the
// heading with the reference rows, then after the rows the warnings and the disclaimer.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"
#include "output/sheet_layout.h"

#include <cstdint>
#include <functional>
#include <string>

namespace hxq::output {

PreviewArray preview_sheet(const std::string& heading, const std::function<void(SheetWriter&)>& rows,
                           const PreviewWarnings& warnings, std::int16_t offset);

// The blank line before each section.
void add_section_gap(SheetWriter& out);

}  // namespace hxq::output
