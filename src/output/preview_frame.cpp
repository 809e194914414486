#include "output/preview_frame.h"

namespace hxq::output {

PreviewArray preview_sheet(const std::string& heading, const std::function<void(SheetWriter&)>& rows,
                           const PreviewWarnings& warnings, std::int16_t offset) {
    PreviewArray sheet;
    SheetWriter out(sheet);
    add_address_block(out);
    add_title(out);
    out.add(std::string(kSpacer));
    out.add(heading);
    add_reference_rows(out, offset);
    rows(out);
    add_warnings(out, warnings, offset);
    add_disclaimer(sheet, offset);
    return sheet;
}

void add_section_gap(SheetWriter& out) { out.add(std::string(kSpacer)); }

}  // namespace hxq::output
