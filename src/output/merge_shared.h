// Interim: the opening fields, the heat load, over-surface, note and quotation rules
// every printout shares, until the single-phase printouts' common pieces take over.
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"
#include "output/sheet_values.h"

#include <array>
#include <string>
#include <string_view>

namespace hxq::output {

// The quotation form's comment boxes as the merge hands them on: joined by CR LF.
std::string merge_comments(const QuotationTexts& quotation);

// "'TQSVersion'" .. "'Reference'"; the two-stage printout has no "'CalcM'" (no `CM`).
void add_opening_fields(MergeRecord& record, const std::string& designation, const std::string& CM);
void add_opening_fields(MergeRecord& record, const std::string& designation);
// The given heat load times `multiplier` in the user's unit, else the SI load converted.
core::OutVal heat_load_value(const core::InputDataType& given, double si, std::int16_t unit, int multiplier);
std::string over_surface_text(double over_surface, const core::InputData& given, bool Quote,
                              const QuotationTexts& quotation);
std::string note_text(const std::array<SideNotes, 2>& notes);
// The connection places of the first two rows: side 1's pair, side 2's pair.
using ConnectionPlaces = std::array<std::string_view, 2>;
inline constexpr ConnectionPlaces kPackPlaces{"F1/F3", "F2/F4"};
void add_quotation_fields(MergeRecord& record, const core::XerPhysicsType& physics,
                          const settings::OutputUnitsType& unit, const QuotationTexts& quotation,
                          std::string_view width_unit_name, const ConnectionPlaces& places = kPackPlaces);

}  // namespace hxq::output
