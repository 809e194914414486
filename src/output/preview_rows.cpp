#include "output/preview_rows.h"

#include "settings/format.h"
#include "settings/texts.h"

#include <fmt/format.h>

#include <cmath>

namespace hxq::output {
namespace {

// A side without a value shows the other side's unit, so that the column names it once.
std::string unit_of(const Cell& own, const Cell& other) { return own.GVal.empty() && own.GUnit.empty() ? other.GUnit : own.GUnit; }

}  // namespace

Cell number_cell(double value) {
    return text_cell(std::isfinite(value) ? settings::show_value(platform::Variant(value), 3) : "-");
}

Cell percent_cell(double percent) {
    return Cell{std::isfinite(percent) ? settings::fixed_text(percent, 1) : "-", "%"};
}

std::string label(std::int16_t id, std::int16_t offset) { return std::string(settings::localised_text(id, offset)); }

std::string value_row(std::string_view label, const Cell& side1, const Cell& side2) {
    return table_row(label, unit_of(side1, side2), unit_of(side2, side1), side1.GVal, side2.GVal);
}

std::string sub_value_row(std::string_view group, std::string_view label, const Cell& side1, const Cell& side2,
                          bool list_entry) {
    std::string row = sub_row(label, unit_of(side1, side2), unit_of(side2, side1), side1.GVal, side2.GVal, list_entry);
    // The group's name stands before the sub-group's tab.
    row.insert(kSubRow.size(), rtf_escape(group));
    return row;
}

std::string section_with_columns(std::string_view title, std::string_view column1, std::string_view column2) {
    return fmt::format("{}\\fs24 {}\\fs19 {}{}{}{}", kSideHeading, rtf_escape(title), kTab, rtf_escape(column1), kTab,
                       rtf_escape(column2));
}

std::string sheet_heading(std::int16_t offset, std::initializer_list<std::string> parts) {
    std::string text = label(520, offset) + ": ";
    bool first = true;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        text += (first ? "" : ", ") + part;
        first = false;
    }
    return section_heading(text);
}

void add_notes(SheetWriter& out, const std::string& title, const std::array<SideNotes, 2>& notes,
               const std::array<std::string, 2>& sides) {
    if (notes[0].empty() && notes[1].empty()) return;
    out.add(std::string(kSmallSpacer));
    for (std::size_t s = 0; s < 2; ++s) {
        bool first = true;
        for (const std::string* note : {&notes[s].percent, &notes[s].pressure}) {
            if (note->empty()) continue;
            out.add(std::string(kWarningRow) + (first ? rtf_escape(title + sides[s]) : "") + std::string(kTab) +
                    rtf_escape(*note));
            first = false;
        }
    }
}

std::string fluid_text(const core::FluidObject* fluid) {
    if (!fluid) return "";
    if (fluid->YConc() > 0) return fmt::format("{} {} %", fluid->YFluidName(), settings::show_value(fluid->YConc(), 3));
    return fluid->YFluidName();
}

}  // namespace hxq::output
