#include "output/fluid_batch_sheet.h"

#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/texts.h"

#include "settings/library_state.h"

#include <charconv>

namespace hxq::output {
namespace {

std::string label(std::int16_t id) { return std::string(settings::localised_text(id)); }

std::int16_t batch_unit(const std::vector<std::string>& units, std::size_t index) {
    if (index < units.size()) {
        const std::string& text = units[index];
        std::int16_t id = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
        if (ec == std::errc() && end == text.data() + text.size()) return id;
    }
    return kBatchDefaultUnits[index];
}

// A quantity of the batch in `unit`; flows through `fluid` at `temp` when one is given,
// for the volume flow units.
core::OutVal shown(double si, std::int16_t unit, core::FluidObject* fluid = nullptr, double temp = 0) {
    if (fluid) return settings::FormatInUnit(false, unit, si, {}, temp, fluid);
    return settings::FormatInUnit(false, unit, si, {});
}

std::string one_side(std::string_view text, const core::OutVal& v) {
    return table_row(text, v.GUnit, v.GUnit, v.GVal, "");
}

std::string both_sides(std::string_view text, const core::OutVal& v1, const core::OutVal& v2) {
    return table_row(text, v1.GUnit, v2.GUnit, v1.GVal, v2.GVal);
}

}  // namespace

PreviewArray fluid_batch_sheet(const FluidBatchData& InData, const FluidBatchData& outdata, core::FluidObject* FluObj1,
                               core::FluidObject* FluObj2, const std::vector<std::string>& header,
                               const std::vector<std::string>& BatchUnits, const std::string& flu1,
                               const std::string& flu2) {
    const std::int16_t offset = settings::library_state().UserSettings.language.iOffset;
    PreviewArray sheet;
    SheetWriter out(sheet);
    add_address_block(out);
    add_title(out);
    out.add(section_heading(label(278)));
    for (const std::string& line : header)
        if (!line.empty()) out.add(std::string(kBody) + rtf_escape(line));
    out.add(std::string(kSpacer));
    add_reference_rows(out, offset);
    out.add(std::string(kSpacer));

    out.add(side_heading(label(483)));
    out.add(table_row(label(277), "", "", flu1, flu2));
    out.add(table_row(label(280), "%", "%", hash_point_zero(InData.Concentration1), hash_point_zero(InData.Concentration2)));
    // Pa on the record, bar on the sheet.
    out.add(table_row(label(284), "bar", "bar", hash_point_zero(InData.Pressure1 / 1e5),
                      hash_point_zero(InData.Pressure2 / 1e5)));
    out.add(std::string(kSpacer));

    const std::int16_t mass = batch_unit(BatchUnits, 0);
    const std::int16_t temperature = batch_unit(BatchUnits, 1);
    const std::int16_t flow = batch_unit(BatchUnits, 2);
    const std::int16_t time = batch_unit(BatchUnits, 3);
    out.add(one_side(label(117), shown(InData.BatchSize, mass)));
    out.add(one_side(label(321), shown(InData.InitialTemp, temperature)));
    out.add(one_side(label(269), shown(InData.FinalTemp, temperature)));
    out.add(both_sides(label(322), shown(outdata.InletTemp1, temperature), shown(outdata.InletTemp2, temperature)));
    out.add(both_sides(label(400), shown(outdata.OutletTemp1, temperature), shown(outdata.OutletTemp2, temperature)));
    out.add(both_sides(label(348), shown(outdata.MassFlow1, flow, FluObj1, outdata.InletTemp1),
                       shown(outdata.MassFlow2, flow, FluObj2, outdata.InletTemp2)));
    out.add(one_side(label(458), shown(outdata.RequiredTime, time)));
    add_disclaimer(sheet, offset);
    return sheet;
}

}  // namespace hxq::output
