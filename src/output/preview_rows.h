// The rows of the result previews built from values: a quantity of both sides with its
// unit column, a sub-group row, the headings of a section with its two value columns,
// the heading of the sheet and the engine's notes per side.
#pragma once

#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "records/calc_records.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace hxq::output {

// A value of one side; an empty cell shows nothing and takes the other side's unit.
using Cell = core::OutVal;

// A text without a unit (a fluid name, a count).
inline Cell text_cell(std::string text) { return Cell{std::move(text), ""}; }
// A plain number with the significant digits of a result ("-" when not finite).
Cell number_cell(double value);
// A percentage with one decimal.
Cell percent_cell(double percent);

// The label in the language of the sheet.
std::string label(std::int16_t id, std::int16_t offset);

// label, unit column, ":", side 1, side 2.
std::string value_row(std::string_view label, const Cell& side1, const Cell& side2);
// A row of a sub-group: `group` in the label column (only on the group's first row), the
// row's label at the sub-group's tab; `list_entry` writes it as "- <label>".
std::string sub_value_row(std::string_view group, std::string_view label, const Cell& side1, const Cell& side2,
                          bool list_entry = false);

// A section heading with the two value columns headed `column1` and `column2` on its line.
std::string section_with_columns(std::string_view title, std::string_view column1, std::string_view column2);

// The bold heading of the sheet: "Heat exchanger: " + the parts joined by ", " (empty
// parts left out).
std::string sheet_heading(std::int16_t offset, std::initializer_list<std::string> parts);

// The engine's remarks of both sides after a small gap, one row each, the first of a side
// under `title` + its side's name ("Note : 1"); nothing when there are none.
void add_notes(SheetWriter& out, const std::string& title, const std::array<SideNotes, 2>& notes,
               const std::array<std::string, 2>& sides);

// The name of a fluid with its concentration ("MEG 30 %"); "" without a fluid.
std::string fluid_text(const core::FluidObject* fluid);

}  // namespace hxq::output
