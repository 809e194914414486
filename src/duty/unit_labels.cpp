#include "duty/unit_labels.h"

#include "settings/unit_tables.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace hxq::duty {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::string keyboard_to_label(const std::string& typed) {
    std::string out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        auto starts = [&](std::string_view w) { return typed.compare(i, w.size(), w) == 0; };
        const char prev = i > 0 ? typed[i - 1] : '\0';
        if (starts("delta")) {
            out += "Δ";
            i += 4;
        } else if (starts("deg")) {
            out += "°";
            i += 2;
        } else if ((typed[i] == '2' || typed[i] == '3') && (std::isalpha(static_cast<unsigned char>(prev)) || prev == '^')) {
            if (!out.empty() && out.back() == '^') out.pop_back();
            out += typed[i] == '2' ? "²" : "³";
        } else if ((typed[i] == 'C' || typed[i] == 'F') && (prev == ',' || prev == '\0' || prev == '/') &&
                   (i + 1 == typed.size() || typed[i + 1] == '/' || typed[i + 1] == ',')) {
            out += "°";
            out += typed[i];
        } else {
            out += typed[i];
        }
    }
    return out;
}

std::optional<std::int16_t> find_unit_label(const std::string& word) {
    using settings::UnitTable;
    std::vector<std::int16_t> ids;
    for (int id = UnitTable.LBound(); !UnitTable.Empty() && id <= UnitTable.UBound(); ++id)
        if (!UnitTable(id).sUnit.empty()) ids.push_back(static_cast<std::int16_t>(id));
    for (const std::string& label : {word, keyboard_to_label(word)}) {
        for (auto id : ids)
            if (UnitTable(id).sUnit == label) return id;
        std::vector<std::int16_t> same;
        for (auto id : ids)
            if (lower(UnitTable(id).sUnit) == lower(label)) same.push_back(id);
        if (same.size() == 1) return same.front();
    }
    return std::nullopt;
}

}  // namespace hxq::duty
