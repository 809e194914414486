#include "result_table.h"

#include "core/calculate.h"
#include "core/model_designation.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace hxq::app {

namespace {

struct Units {
    std::int16_t area = 0;
    std::int16_t ohtc = 0;
    std::int16_t pressure = 0;
};

Units output_units(OutputSystem system) {
    settings::OutputUnitsType u;
    settings::FillOutputUnits(u, system == OutputSystem::US ? settings::kUSOutputUnits : settings::kSIOutputUnits);
    return Units{u.Area.UnitID, u.OHTC.UnitID, u.PdropPorts.UnitID};
}

bool filled(const core::OutDataType& slot) {
    return slot.OutputData.Valid && slot.OutputData.ParallelUnits != core::kEmptySlotUnits;
}

std::string letter(const std::string& chantype, int which) {
    const std::size_t i = static_cast<std::size_t>(which - 1);
    return i < chantype.size() ? chantype.substr(i, 1) : std::string();
}

std::string shown(double si, std::int16_t unit) {
    return settings::FormatInUnit(false, unit, platform::Variant(si), platform::Variant()).GVal;
}

// The records hold prices and many results in single precision, and the unit factors
// add no digits worth showing: a number is written as the shortest text that reads back
// as the same float (0.1745, not 0.1744976043701172).
double float_precision(double v) {
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) return v;
    const std::string text = fmt::format("{}", f);
    double out = v;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return out;
}

nlohmann::json quantity(double si, std::int16_t unit) {
    const double v = settings::SharedConverter().ConvertFromSI(platform::Variant(si), unit).as_double();
    return nlohmann::json{{"value", float_precision(v)}, {"unit", settings::UnitTable(unit).sUnit}};
}

bool is_dual_pair(const core::SPCDataType& data, const core::OutDataType& alt) {
    return data.GivenValues.IsDualCalc && !alt.OutputData.Dual;
}

}  // namespace

std::string ChannelText(const core::OutDataType& alternative, int side) {
    const core::SinglePhaseResult& r = alternative.OutputData;
    const int passes = std::max<int>(1, r.Passes[side] > 0 ? r.Passes[side] : r.NoOfPasses);
    // Channelout counts the unit's channels of each type over all passes. A pass holds
    // an equal share of the side; the types alternate inside it, so a share that does
    // not divide evenly gives the left type the odd channel (13H+13M in two passes is
    // 7H+6M per pass), and the counts of a pass always add up to its channels.
    const int left = std::max<int>(0, r.Channelout[side][1]);
    const int right = std::max<int>(0, r.Channelout[side][2]);
    const int per_pass = (left + right > 0 ? left + right : r.NoOfChannels[side]) / passes;
    const int left_per_pass = right > 0 ? std::min(per_pass, (2 * left + passes) / (2 * passes)) : per_pass;
    const int per_type[2] = {left_per_pass, per_pass - left_per_pass};
    std::string counts;
    for (int which = 1; which <= 2; ++which) {
        const int n = per_type[which - 1];
        if (n <= 0) continue;
        std::string type = letter(alternative.Chantype, which);
        if (type.empty()) type = letter(alternative.Chantype, 1);
        counts += (counts.empty() ? "" : "+") + std::to_string(n) + type;
    }
    if (counts.empty()) counts = std::to_string(per_pass) + letter(alternative.Chantype, 1);
    return passes > 1 ? fmt::format("{}*({})", passes, counts) : counts;
}

std::string Designation(const core::OutDataType& alternative, bool dual_pair) {
    std::string designation = alternative.XerAlias;
    return core::FormatModelDesignation(designation, alternative.OutputData.NoOfPlates, ChannelText(alternative, 1),
                                        ChannelText(alternative, 2), dual_pair || alternative.Dual);
}

std::string ResultTable(const core::SPCDataType& data, OutputSystem system) {
    const Units u = output_units(system);
    const auto label = [](std::int16_t id) { return settings::UnitTable(id).sUnit; };
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"#", "Model", "Plates", "Channels", "Passes", "Units", "Area", "OHTC pred.", "OHTC req.",
                    "Over-surface", "dp side 1", "dp side 2", "Price"});
    rows.push_back({"", "", "", "side 1/2", "", "", label(u.area), label(u.ohtc), label(u.ohtc), "%", label(u.pressure),
                    label(u.pressure), ""});
    int rank = 0;
    for (int i = 1; i <= 7; ++i) {
        const core::OutDataType& alt = data.outdata[i];
        if (!filled(alt)) continue;
        const core::SinglePhaseResult& r = alt.OutputData;
        rows.push_back({std::to_string(++rank), Designation(alt, is_dual_pair(data, alt)),
                        std::to_string(r.NoOfPlates), fmt::format("{}/{}", r.NoOfChannels[1], r.NoOfChannels[2]),
                        r.Passes[1] == r.Passes[2] || r.Passes[1] == 0
                            ? std::to_string(r.NoOfPasses)
                            : fmt::format("{}/{}", r.Passes[1], r.Passes[2]),
                        std::to_string(r.ParallelUnits), shown(r.HeatTransferArea, u.area), shown(r.Kpredicted, u.ohtc),
                        shown(r.Krequired, u.ohtc), settings::fixed_text(r.OverSurface, 1),
                        shown(r.PressureDrop[1], u.pressure), shown(r.PressureDrop[2], u.pressure),
                        settings::fixed_text(alt.Price, 0)});
    }
    if (rank == 0) return "No alternatives.\n";
    std::vector<std::size_t> width(rows.front().size(), 0);
    // Widths in characters, not bytes: unit labels carry "²" and "°".
    auto length = [](const std::string& s) {
        return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], length(row[c]));
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(width[c] - length(row[c]), ' ');
            // Text columns to the left, numbers to the right.
            line += c == 1 ? row[c] + pad : pad + row[c];
            if (c + 1 < row.size()) line += "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

nlohmann::json ResultJson(const core::SPCDataType& data, OutputSystem system) {
    const Units u = output_units(system);
    nlohmann::json alternatives = nlohmann::json::array();
    int rank = 0;
    for (int i = 1; i <= 7; ++i) {
        const core::OutDataType& alt = data.outdata[i];
        if (!filled(alt)) continue;
        const core::SinglePhaseResult& r = alt.OutputData;
        nlohmann::json j;
        j["rank"] = ++rank;
        j["designation"] = Designation(alt, is_dual_pair(data, alt));
        j["model"] = alt.XerAlias;
        j["channel_type"] = alt.Chantype;
        j["node"] = alt.nodeid;
        j["plates"] = r.NoOfPlates;
        j["channels"] = {r.NoOfChannels[1], r.NoOfChannels[2]};
        j["passes"] = {r.Passes[1], r.Passes[2]};
        j["parallel_units"] = r.ParallelUnits;
        j["area"] = quantity(r.HeatTransferArea, u.area);
        j["ohtc_predicted"] = quantity(r.Kpredicted, u.ohtc);
        j["ohtc_required"] = quantity(r.Krequired, u.ohtc);
        j["over_surface"] = {{"value", float_precision(r.OverSurface)}, {"unit", "%"}};
        j["pressure_drop"] = {quantity(r.PressureDrop[1], u.pressure), quantity(r.PressureDrop[2], u.pressure)};
        j["price"] = float_precision(alt.Price);
        if (r.ErrorCode != 0) j["remark_code"] = r.ErrorCode;
        alternatives.push_back(std::move(j));
    }
    const core::InputData& g = data.GivenValues;
    return nlohmann::json{{"duty", "single-phase"},
                          {g.IsXerGroup ? "group" : "model", g.Xer},
                          {"node", g.XerID},
                          {"units", system == OutputSystem::US ? "us" : "si"},
                          {"alternatives", std::move(alternatives)}};
}

}  // namespace hxq::app
