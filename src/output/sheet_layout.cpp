#include "output/sheet_layout.h"

#include "platform/error.h"
#include "settings/library_state.h"
#include "settings/preview_font.h"
#include "settings/texts.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <ctime>
#include <stdexcept>

namespace hxq::output {
namespace {

std::string text(std::int16_t id, std::int16_t offset) { return std::string(settings::localised_text(id, offset)); }

std::string row_body(std::string_view label, std::string_view unit1, std::string_view unit2, std::string_view value1,
                     std::string_view value2) {
    std::string row = rtf_escape(label);
    row += kTab;
    row += rtf_escape(unit_column(unit1, unit2));
    row += kTab;
    row += ":";
    row += kTab;
    row += rtf_escape(value1);
    row += kTab;
    row += rtf_escape(value2);
    return row;
}

}  // namespace

std::string unit_column(std::string_view unit1, std::string_view unit2) {
    if (unit1 == unit2) return std::string(unit1);
    return std::string(unit1) + " / " + std::string(unit2);
}

std::string rtf_escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

std::string table_row(std::string_view label, std::string_view unit1, std::string_view unit2, std::string_view value1,
                      std::string_view value2) {
    return std::string(kTableRow) + row_body(label, unit1, unit2, value1, value2);
}

std::string sub_row(std::string_view label, std::string_view unit1, std::string_view unit2, std::string_view value1,
                    std::string_view value2, bool list_entry) {
    return std::string(kSubRow) + std::string(kTab) + (list_entry ? "- " : "") +
           row_body(label, unit1, unit2, value1, value2);
}

std::string side_heading(std::string_view label) {
    const std::string escaped = rtf_escape(label);
    return std::string(kSideHeading) + std::string(kTab) + escaped + " 1" + std::string(kTab) + escaped + " 2";
}

std::string section_heading(std::string_view text) { return std::string(kSection) + rtf_escape(text); }

void SheetWriter::add(std::string fragment) {
    if (fragment.empty()) return;
    if (next_ > sheet_.size()) throw std::out_of_range("the sheet is full");
    sheet_[next_++] = std::move(fragment);
}

constexpr const char* kA4Page = "\\paperw11906\\paperh16838";

void add_address_block(SheetWriter& out) {
    const auto& lines = settings::library_state().UserSettings.header;
    bool first = true;
    for (const std::string& line : lines) {
        const std::int16_t position = settings::preview_line_room(line);
        // The first line also sets the A4 page the lines were measured for; a reader's own
        // default (Letter in some locales) would move them.
        out.add(fmt::format("{}\\pard\\ql\\plain\\tx{}\\f0\\fs19 \\tab {}", first ? kA4Page : "\\par", position,
                            rtf_escape(line)));
        first = false;
    }
}

void add_title(SheetWriter& out) {
    const std::string& version = settings::library_state().host.TQSAppVersion;
    out.add(fmt::format("\\par\\pard\\qc\\f0\\fs26\\b {} {}\\plain\\f0\\fs16  v. {}", kMakerName, kApplicationTitle,
                        rtf_escape(version)));
}

void add_reference_rows(SheetWriter& out, std::int16_t offset) {
    const auto& host = settings::library_state().host;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto row = [&](std::int16_t id, const std::string& value) {
        out.add(std::string(kTableRow) + rtf_escape(text(id, offset)) + std::string(kTab) + std::string(kTab) + ":" +
                std::string(kTab) + rtf_escape(value));
    };
    row(197, fmt::format("{:%Y-%m-%d}", local));
    row(192, host.Customer);
    row(398, host.OurRef);
    row(451, host.Reference);
}

void add_warnings(SheetWriter& out, const PreviewWarnings& warnings, std::int16_t offset) {
    if (!warnings) return;
    out.add(std::string(kSmallSpacer));
    bool first = true;
    for (const std::string& warning : *warnings) {
        if (warning.empty()) continue;
        std::string row(kWarningRow);
        if (first) row += rtf_escape(text(377, offset)) + " ";
        row += std::string(kTab) + rtf_escape(warning);
        out.add(std::move(row));
        first = false;
    }
}

void add_disclaimer(PreviewArray& sheet, std::int16_t offset) {
    if (!settings::library_state().UserSettings.UseDisclaimer) return;
    const std::size_t first = sheet.size() + 1;
    sheet.grow(5);
    sheet[first] = "\\par ";
    for (std::int16_t id = 204; id <= 207; ++id)
        sheet[first + 1 + static_cast<std::size_t>(id - 204)] = std::string(kDisclaimerLine) + rtf_escape(text(id, offset));
}

void check_alternative_index(std::int16_t index, const char* source) {
    if (index < 1 || index > 7) throw platform::Error(9, source, "Subscript out of range");
}

}  // namespace hxq::output
