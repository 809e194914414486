#include "result_layout.h"

#include "platform/variant.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

namespace hxq::app {

namespace {

// Widths in characters, not bytes: unit labels carry "²", "°" and "Δ".
std::size_t length(const std::string& s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::int16_t GroupUnits::unit(std::int16_t group) const {
    const settings::UnitGroupsType& g = settings::UnitGroupTable(group);
    return system_ == OutputSystem::US ? g.USID : g.SIID;
}

std::string GroupUnits::label(std::int16_t group) const { return settings::UnitTable(unit(group)).sUnit; }

std::string GroupUnits::text(double si, std::int16_t group) const { return text_id(si, unit(group)); }

std::string GroupUnits::text_id(double si, std::int16_t id) const {
    if (!std::isfinite(si)) return "-";
    return settings::FormatInUnit(false, id, platform::Variant(si), platform::Variant()).GVal;
}

nlohmann::json GroupUnits::json(double si, std::int16_t group) const { return json_id(si, unit(group)); }

nlohmann::json GroupUnits::json_id(double si, std::int16_t id) const {
    if (!std::isfinite(si)) return nlohmann::json{{"value", nullptr}, {"unit", settings::UnitTable(id).sUnit}};
    const double v = settings::SharedConverter().ConvertFromSI(platform::Variant(si), id).as_double();
    return nlohmann::json{{"value", SinglePrecision(v)}, {"unit", settings::UnitTable(id).sUnit}};
}

std::string GroupUnits::with_unit(double si, std::int16_t group) const { return with_unit_id(si, unit(group)); }

std::string GroupUnits::with_unit_id(double si, std::int16_t id) const {
    if (!std::isfinite(si)) return "-";
    return text_id(si, id) + " " + settings::UnitTable(id).sUnit;
}

double SinglePrecision(double v) {
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) return v;
    const std::string text = fmt::format("{}", f);
    double out = v;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return out;
}

std::string Fixed(double v, int decimals) { return std::isfinite(v) ? settings::fixed_text(v, decimals) : "-"; }

std::string AlignedBlock(const std::string& title, const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& left) {
    std::vector<std::size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], length(row[c]));
    }
    std::string out = title.empty() ? "" : title + "\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string line;
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& cell = rows[r][c];
            const std::string pad(width[c] - length(cell), ' ');
            const bool to_left = c < left.size() && left[c];
            line += to_left ? cell + pad : pad + cell;
            if (c + 1 < rows[r].size()) line += "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

std::string RemarkCodes(const CodedRemarks& remarks) {
    std::string out;
    for (const CodedRemark& r : remarks) out += (out.empty() ? "" : " ") + r.code;
    return out;
}

std::string CodedRemarkLegend(const std::vector<CodedRemarks>& alternatives) {
    std::set<std::string> seen;
    std::string out;
    for (const CodedRemarks& remarks : alternatives)
        for (const CodedRemark& r : remarks)
            if (seen.insert(r.code).second) out += fmt::format("  {:<4} {}\n", r.code, r.text);
    return out.empty() ? out : "Remarks:\n" + out;
}

nlohmann::json CodedRemarksJson(const CodedRemarks& remarks) {
    nlohmann::json out = nlohmann::json::array();
    for (const CodedRemark& r : remarks) {
        nlohmann::json j{{"code", r.code}, {"text", r.text}};
        if (!r.value.empty()) j["value"] = r.value;
        out.push_back(std::move(j));
    }
    return out;
}

void DetailText::heading(const std::string& title) { lines_.push_back(Line{title, "", true}); }

void DetailText::line(const std::string& label, const std::string& value) { lines_.push_back(Line{label, value, false}); }

std::string DetailText::str() const {
    std::size_t width = 0;
    for (const Line& l : lines_)
        if (!l.heading) width = std::max(width, length(l.label));
    std::string text;
    for (const Line& l : lines_) {
        if (l.heading) {
            text += (text.empty() ? "" : "\n") + l.label + "\n";
            continue;
        }
        text += "  " + l.label + std::string(width - length(l.label), ' ') + "  " + l.value + "\n";
    }
    return text;
}

}  // namespace hxq::app
