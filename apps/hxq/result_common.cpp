#include "result_common.h"

#include "settings/convert.h"
#include "settings/format.h"
#include "settings/texts.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <cstdio>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace hxq::app {

namespace {

// Quantity groups of the units database whose units the output-unit list has no field for.
constexpr std::int16_t kHeatLoadGroup = 3;
constexpr std::int16_t kFlowGroup = 4;
constexpr std::int16_t kLatentHeatGroup = 13;
constexpr std::int16_t kFoulingGroup = 17;
constexpr std::int16_t kHeatFluxGroup = 19;

std::int16_t group_unit(std::int16_t group, OutputSystem system) {
    const settings::UnitGroupsType& g = settings::UnitGroupTable(group);
    return system == OutputSystem::US ? g.USID : g.SIID;
}

}  // namespace

QuantityUnits OutputUnits(OutputSystem system) {
    settings::OutputUnitsType u;
    settings::FillOutputUnits(u, system == OutputSystem::US ? settings::kUSOutputUnits : settings::kSIOutputUnits);
    QuantityUnits q;
    q.system = system;
    q.area = u.Area.UnitID;
    q.ohtc = u.OHTC.UnitID;
    q.film = u.FilmCoeff.UnitID;
    q.pressure = u.PdropPorts.UnitID;
    q.shear = u.ShearStress.UnitID;
    q.temperature = u.MaxWorkTemp.UnitID;
    q.temperature_difference = u.MTD.UnitID;
    q.velocity = u.Velocity.UnitID;
    q.length = u.length.UnitID;
    q.density = u.Density.UnitID;
    q.heat_capacity = u.HeatCapacity.UnitID;
    q.viscosity = u.Viscosity.UnitID;
    q.conductivity = u.ThermalConductivity.UnitID;
    q.heat_load = group_unit(kHeatLoadGroup, system);
    q.mass_flow = group_unit(kFlowGroup, system);
    q.heat_flux = group_unit(kHeatFluxGroup, system);
    q.fouling = group_unit(kFoulingGroup, system);
    q.latent_heat = group_unit(kLatentHeatGroup, system);
    return q;
}

std::string Labels::operator()(std::int16_t id, const char* english) const {
    return offset == 0 ? std::string(english) : std::string(settings::localised_text(id, offset));
}

const char* SystemName(OutputSystem system) { return system == OutputSystem::US ? "us" : "si"; }

std::string UnitLabel(std::int16_t unit) { return settings::UnitTable(unit).sUnit; }

std::string Shown(double si, std::int16_t unit) {
    if (!std::isfinite(si)) return "-";
    return settings::FormatInUnit(false, unit, platform::Variant(si), platform::Variant()).GVal;
}

std::string ShownWithUnit(double si, std::int16_t unit) {
    if (!std::isfinite(si)) return "-";
    return Shown(si, unit) + " " + UnitLabel(unit);
}

std::string Fixed(double value, int decimals) {
    return std::isfinite(value) ? settings::fixed_text(value, decimals) : "-";
}

double FloatPrecision(double value) {
    const float f = static_cast<float>(value);
    if (!std::isfinite(f)) return value;
    const std::string text = fmt::format("{}", f);
    double out = value;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return out;
}

nlohmann::json Quantity(double si, std::int16_t unit) {
    if (!std::isfinite(si)) return nlohmann::json{{"value", nullptr}, {"unit", UnitLabel(unit)}};
    const double v = settings::SharedConverter().ConvertFromSI(platform::Variant(si), unit).as_double();
    return nlohmann::json{{"value", FloatPrecision(v)}, {"unit", UnitLabel(unit)}};
}

nlohmann::json PercentQuantity(double percent) {
    return nlohmann::json{{"value", FloatPrecision(percent)}, {"unit", "%"}};
}

int RefuseDetail(int detail, std::size_t listed) {
    fmt::print(stderr, "hxq: --detail {}: no such alternative; {}\n", detail,
               listed == 0 ? std::string("no alternative is listed")
                           : fmt::format("alternatives 1 to {} are listed", listed));
    return 2;
}

std::size_t DisplayWidth(const std::string& text) {
    // Count the bytes that start a UTF-8 sequence.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void AlignedTable::add_header(std::vector<std::string> cells) {
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(headers_), std::move(cells));
    ++headers_;
}

void AlignedTable::add_row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

void AlignedTable::align_left(std::size_t column) { left_.push_back(column); }

std::string AlignedTable::text() const {
    std::vector<std::size_t> width;
    for (const auto& row : rows_) {
        if (width.size() < row.size()) width.resize(row.size(), 0);
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], DisplayWidth(row[c]));
    }
    std::string out = title_.empty() ? "" : title_ + "\n";
    for (const auto& row : rows_) {
        std::string line;
        for (std::size_t c = 0; c < width.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            const std::string pad(width[c] - DisplayWidth(cell), ' ');
            const bool left = std::find(left_.begin(), left_.end(), c) != left_.end();
            line += left ? cell + pad : pad + cell;
            if (c + 1 < width.size()) line += "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

Remark CodeMarked(std::string code, int side, std::string text, std::string value) {
    Remark r;
    r.mark = code;
    r.code = std::move(code);
    r.side = side;
    r.text = std::move(text);
    r.value = std::move(value);
    return r;
}

std::string RemarkMarks(const Remarks& remarks) {
    std::vector<std::string> seen;
    std::string marks;
    for (const Remark& r : remarks) {
        if (std::find(seen.begin(), seen.end(), r.mark) != seen.end()) continue;
        seen.push_back(r.mark);
        marks += (marks.empty() ? "" : " ") + r.mark;
    }
    return marks;
}

nlohmann::json RemarkJson(const Remarks& remarks) {
    nlohmann::json out = nlohmann::json::array();
    for (const Remark& r : remarks) {
        nlohmann::json j{{"code", r.code}, {"text", r.text}};
        if (r.side != 0) j["side"] = r.side;
        if (!r.value.empty()) j["value"] = r.value;
        out.push_back(std::move(j));
    }
    return out;
}

void RemarkLegend::add(int rank, const Remarks& remarks) {
    for (const Remark& r : remarks) lines_.emplace_back(rank, r);
}

std::string RemarkLegend::text() const {
    if (lines_.empty()) return "";
    std::size_t width = 0;
    for (const auto& line : lines_) width = std::max(width, DisplayWidth(line.second.mark));
    std::string out = "Remarks:\n";
    for (const auto& [rank, remark] : lines_) {
        const std::string pad(width - DisplayWidth(remark.mark), ' ');
        out += fmt::format("{:>3}  {}{}  {}{}\n", rank, remark.mark, pad, remark.text,
                           remark.value.empty() ? "" : " (" + remark.value + ")");
    }
    return out;
}

void DetailText::heading(const std::string& title) { lines_.push_back(Line{title, "", true}); }

void DetailText::line(const std::string& label, const std::string& value) { lines_.push_back(Line{label, value, false}); }

std::string DetailText::str() const {
    std::size_t width = 0;
    for (const Line& l : lines_)
        if (!l.heading) width = std::max(width, DisplayWidth(l.label));
    std::string text;
    for (const Line& l : lines_) {
        if (l.heading) {
            text += (text.empty() ? "" : "\n") + l.label + "\n";
            continue;
        }
        std::string line = "  " + l.label + std::string(width - DisplayWidth(l.label), ' ') + "  " + l.value;
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

}  // namespace hxq::app
