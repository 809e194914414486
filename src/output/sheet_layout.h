// The layout every sheet shares: the paragraph prefixes of its rows, the unit column,
// the company's address block, the title, the reference rows, the warnings and the
// disclaimer. A sheet is a PreviewArray of these fragments in index order.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hxq::output {

// The library's name on its documents, after the maker's name.
inline constexpr std::string_view kMakerName = "Qarn";
inline constexpr std::string_view kApplicationTitle = "HXQ";

// Paragraph prefixes.
inline constexpr std::string_view kTableRow = "\\par\\pard\\tx4570\\tx5770\\tx5970\\tx7700\\ql\\plain\\f0\\fs19 ";
inline constexpr std::string_view kSubRow = "\\par\\pard\\tx1460\\tx4570\\tx5770\\tx5970\\tx7700\\ql\\plain\\f0\\fs19 ";
inline constexpr std::string_view kSideHeading = "\\par\\pard\\plain\\tx5970\\tx7700\\ql\\f0\\fs19\\b ";
inline constexpr std::string_view kAirDryerRow =
    "\\par\\pard\\tx4570\\tx5770\\tx5970\\tx6885\\tx7700\\ql\\plain\\f0\\fs19 ";
inline constexpr std::string_view kAirDryerHeading = "\\par\\pard\\plain\\tx5970\\tx8000\\ql\\f0\\fs19\\b ";
inline constexpr std::string_view kBody = "\\par\\pard\\plain\\f0\\fs19 ";
inline constexpr std::string_view kSection = "\\par\\pard\\plain\\f0\\fs24\\b ";
inline constexpr std::string_view kWarningRow = "\\par\\pard\\tx1360\\ql\\plain\\f0\\fs19 ";
inline constexpr std::string_view kSmallSpacer = "\\par\\pard\\plain\\f0\\fs0 ";
inline constexpr std::string_view kSpacer = "\\par\\pard\\plain\\f0\\fs18 ";
inline constexpr std::string_view kDisclaimerLine = "\\par\\pard\\plain\\f0\\fs12 ";
inline constexpr std::string_view kTab = "\\tab ";

// The unit column of a row: one text when both sides use the same unit, otherwise side 1,
// " / ", side 2.
std::string unit_column(std::string_view unit1, std::string_view unit2);

// Rich-text control characters of a value or label ("\", "{", "}") escaped, so that a
// fluid or customer name cannot break the document.
std::string rtf_escape(std::string_view text);

// A table row: label, unit column, ":", side-1 value, side-2 value. Texts are escaped.
std::string table_row(std::string_view label, std::string_view unit1, std::string_view unit2,
                      std::string_view value1, std::string_view value2);
// The same with the prefix of a sub-group row (an extra tab; `list_entry` adds "- ").
std::string sub_row(std::string_view label, std::string_view unit1, std::string_view unit2,
                    std::string_view value1, std::string_view value2, bool list_entry = false);
// The two-column heading: `label` + " 1" and `label` + " 2" above the value columns.
std::string side_heading(std::string_view label);
// A bold section heading (12 points).
std::string section_heading(std::string_view text);

// Which index the next fragment goes to: sheets fill their array from the top.
class SheetWriter {
public:
    explicit SheetWriter(PreviewArray& sheet, std::size_t first = 1) : sheet_(sheet), next_(first) {}
    // Puts `fragment` at the next index; an empty fragment takes no index. std::out_of_range
    // when the sheet is full.
    void add(std::string fragment);
    std::size_t next() const { return next_; }

private:
    PreviewArray& sheet_;
    std::size_t next_;
};

// The five address lines of the user's company (settings "Address1".."Address5"),
// right-aligned on the preview font's printer.
void add_address_block(SheetWriter& out);
// The title: maker and application title centred, the version ("v. " + version) small.
void add_title(SheetWriter& out);
// The rows of "Date" (today), "Customer", "Our Ref." and "Reference" in the language of
// `offset`.
void add_reference_rows(SheetWriter& out, std::int16_t offset);
// The warnings: nothing when `warnings` is not an array; otherwise a small spacer, then
// each non-empty text on its own row, the first preceded by "Note :" (text 377).
void add_warnings(SheetWriter& out, const PreviewWarnings& warnings, std::int16_t offset);
// When the setting UseDisclaimer is on, grows the sheet by five: a "\par " line and the
// texts 204 to 207 in small type.
void add_disclaimer(PreviewArray& sheet, std::int16_t offset);

// Throws the common error when `index` is not an alternative 1..7.
void check_alternative_index(std::int16_t index, const char* source);

}  // namespace hxq::output
