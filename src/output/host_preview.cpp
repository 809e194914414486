#include "output/host_preview.h"

#include "output/sheet_layout.h"
#include "settings/library_state.h"

#include <utility>

namespace hxq::output {
namespace {

std::pair<std::string, std::string> sides(const std::string& text) {
    const std::size_t at = text.find(';');
    if (at == std::string::npos) return {text, ""};
    return {text.substr(0, at), text.substr(at + 1)};
}

std::string fluid_heading(const std::vector<platform::Variant>& names, std::size_t index, core::FluidObject* fluid) {
    if (index < names.size() && !names[index].is_empty() && !names[index].is_null()) {
        const std::string name = names[index].as_text();
        if (!name.empty()) return name;
    }
    return fluid ? fluid->YFluidName() : std::string();
}

}  // namespace

PreviewArray host_preview_sheet(const std::vector<std::string>& data, const std::vector<std::string>& unit,
                                const std::vector<platform::Variant>& Fluid, const std::string& CalcType,
                                const std::vector<std::string>& header, std::uint8_t /*CMethod*/,
                                const std::string& CalcName, core::FluidObject* FluObj1, core::FluidObject* FluObj2,
                                const PreviewWarnings& Warnings, bool /*HXQ*/) {
    const std::int16_t offset = settings::library_state().UserSettings.language.iOffset;
    PreviewArray sheet;
    SheetWriter out(sheet);
    add_address_block(out);
    add_title(out);
    out.add(section_heading(CalcName.empty() ? CalcType : CalcType + ": " + CalcName));
    add_reference_rows(out, offset);
    out.add(std::string(kSpacer));

    const std::string fluid1 = fluid_heading(Fluid, 0, FluObj1);
    const std::string fluid2 = fluid_heading(Fluid, 1, FluObj2);
    if (!fluid1.empty() || !fluid2.empty())
        out.add(std::string(kSideHeading) + std::string(kTab) + rtf_escape(fluid1) + std::string(kTab) +
                rtf_escape(fluid2));
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string value = i < data.size() ? data[i] : std::string();
        const std::string units = i < unit.size() ? unit[i] : std::string();
        if (value.empty() && units.empty()) {
            if (header[i].empty()) continue;
            out.add(std::string(kSpacer));
            out.add(std::string(kSideHeading) + rtf_escape(header[i]));
            continue;
        }
        const auto [value1, value2] = sides(value);
        auto [unit1, unit2] = sides(units);
        if (units.find(';') == std::string::npos) unit2 = unit1;
        out.add(table_row(header[i], unit1, unit2, value1, value2));
    }
    add_warnings(out, Warnings, offset);
    add_disclaimer(sheet, offset);
    return sheet;
}

}  // namespace hxq::output
