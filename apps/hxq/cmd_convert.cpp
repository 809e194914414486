// hxq convert VALUE FROM_UNIT TO_UNIT: a value from one unit of the units database to
// another; volume flows through the density of a fluid of the fluid component.
// hxq convert --list: the units, group by group.
#include "command_registry.h"
#include "installation.h"
#include "duty/unit_labels.h"

#include "engines/fluid/catalogue.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "platform/variant.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/settings_store.h"
#include "settings/unit_tables.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hxq::app {
namespace {

using settings::UnitGroupTable;
using settings::UnitTable;

struct ConvertOptions {
    std::string value;
    std::string from;
    std::string to;
    std::string fluid;
    double conc = 0;
    std::optional<double> temp;
    std::optional<double> pressure;
    std::string units_db;
    bool list = false;
    bool display = false;
};

// A database path of the installation's registry store; "" when it names none.
std::string installation_setting(const std::string& value_name) {
    use_installation_registry();
    return settings::GetSettingHXQ("HXQ", "Settings", value_name, "");
}

// The units database: the setting ConvertDB, else the sample installation's units.db.
std::string default_units_db() {
    const std::string setting = installation_setting("ConvertDB");
    return setting.empty() ? (sample_installation() / "units.db").string() : setting;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The unit a command-line word names: a label (see find_unit_label) or a UnitID.
std::optional<std::int16_t> find_unit(const std::string& word) {
    if (auto unit = duty::find_unit_label(word)) return unit;
    if (!word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); }) &&
        word.size() <= 5) {
        const int id = std::stoi(word);
        if (UnitTable.Contains(id) && !UnitTable(id).sUnit.empty()) return static_cast<std::int16_t>(id);
    }
    return std::nullopt;
}

std::string nearest_labels(const std::string& word) {
    const std::string typed = lower(duty::keyboard_to_label(word));
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (int id = UnitTable.LBound(); !UnitTable.Empty() && id <= UnitTable.UBound(); ++id) {
        const auto& label = UnitTable(id).sUnit;
        if (!label.empty()) scored.emplace_back(edit_distance(typed, lower(label)), label);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    for (std::size_t i = 0; i < scored.size() && i < 5; ++i) out += (i ? ", " : "") + scored[i].second;
    return out;
}

const std::string& group_name(std::int16_t unit) {
    static const std::string none;
    const auto group = UnitTable(unit).GroupID;
    return UnitGroupTable.Contains(group) ? UnitGroupTable(group).sGroupName : none;
}

void print_units() {
    std::map<int, std::vector<std::int16_t>> groups;
    for (int id = UnitTable.LBound(); !UnitTable.Empty() && id <= UnitTable.UBound(); ++id)
        if (!UnitTable(id).sUnit.empty()) groups[UnitTable(id).GroupID].push_back(static_cast<std::int16_t>(id));
    for (const auto& [group, ids] : groups) {
        fmt::print("{}:", UnitGroupTable.Contains(group) ? UnitGroupTable(group).sGroupName : "?");
        for (auto id : ids) fmt::print(" {} [{}]", UnitTable(id).sUnit, id);
        fmt::print("\n");
    }
}

// Values are converted in single precision, as the library holds them.
constexpr int kOverflow = 6;
int too_large(const ConvertOptions& o) {
    fmt::print(stderr, "hxq convert: {} {} in {} is beyond the range of the conversion (about ±3.4e38)\n", o.value,
               o.from, o.to);
    return 1;
}

// Runs the command; returns the exit code and writes its errors to stderr.
int run(const ConvertOptions& o) {
    const std::string db_path = o.units_db.empty() ? default_units_db() : o.units_db;
    platform::ScriptedPrompter quiet;
    settings::clsConvert conv(db_path, settings::kUnitSystemSI, quiet);
    if (!conv.IsOpen()) {
        fmt::print(stderr, "hxq convert: cannot open the units database (give its path with --units-db):\n");
        for (const auto& text : quiet.shown_texts()) fmt::print(stderr, "{}\n", text);
        return 1;
    }
    if (o.list) {
        print_units();
        return 0;
    }
    if (o.value.empty() || o.from.empty() || o.to.empty()) {
        fmt::print(stderr, "hxq convert: give VALUE FROM_UNIT TO_UNIT (hxq convert --list shows the units)\n");
        return 2;
    }
    if (!settings::variant_number(platform::Variant(o.value))) {
        fmt::print(stderr, "hxq convert: '{}' is not a number\n", o.value);
        return 1;
    }
    const auto from = find_unit(o.from);
    const auto to = find_unit(o.to);
    for (const auto& [word, unit] : {std::pair{o.from, from}, std::pair{o.to, to}}) {
        if (!unit) {
            fmt::print(stderr, "hxq convert: unknown unit '{}'; nearest: {}\n", word, nearest_labels(word));
            return 1;
        }
    }
    if (UnitTable(*from).GroupID != UnitTable(*to).GroupID) {
        fmt::print(stderr, "hxq convert: {} ({}) and {} ({}) measure different quantities\n", UnitTable(*from).sUnit,
                   group_name(*from), UnitTable(*to).sUnit, group_name(*to));
        return 1;
    }

    core::FluidRef fluid;
    if (!o.fluid.empty()) {
        load_installation_settings("");
        fluid = engines::fluid::create_fluid(o.fluid, o.conc);
        if (o.pressure) fluid->SetYPressure(*o.pressure);
    }
    const platform::Variant temp = o.temp ? platform::Variant(*o.temp) : platform::Variant();
    platform::Variant result;
    try {
        result = conv.Convert_(platform::Variant(o.value), *from, *to, fluid.get(), temp);
    } catch (const platform::Error& e) {
        if (e.number() == 424) {
            fmt::print(stderr,
                       "hxq convert: {} to {} needs the density of a fluid: give --fluid NAME "
                       "(with --conc for solutions) and --temp T in °C\n",
                       UnitTable(*from).sUnit, UnitTable(*to).sUnit);
            return 1;
        }
        if (e.number() == 13) {
            fmt::print(stderr, "hxq convert: {} to {} needs the fluid's temperature: give --temp T in °C\n",
                       UnitTable(*from).sUnit, UnitTable(*to).sUnit);
            return 1;
        }
        if (e.number() == kOverflow) return too_large(o);
        throw;
    }
    const double value = result.as_double();
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return too_large(o);
    std::string text;
    if (o.display) {
        const auto& group = UnitGroupTable(UnitTable(*to).GroupID);
        text = conv.ShowVal(result, group.bSignDigit, group.iOffset);
    } else {
        text = settings::single_text(static_cast<float>(value));
    }
    fmt::print("{} {}\n", text, UnitTable(*to).sUnit);
    return 0;
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("convert", "Convert a value between units of the units database");
    auto o = std::make_shared<ConvertOptions>();
    cmd->add_option("VALUE", o->value, "The value, with \".\" or \",\" as decimal separator");
    cmd->add_option("FROM_UNIT", o->from,
                    "Unit label (\"kW\", \"m³/h\"; \"degC\", \"m3/h\", \"deltaK\" also work) or UnitID");
    cmd->add_option("TO_UNIT", o->to, "Unit label or UnitID");
    cmd->add_option("--fluid", o->fluid,
                    "Fluid whose density volume flows need (e.g. Water, MEG, Air; refrigerants from the "
                    "setting DBFluid2000)");
    cmd->add_option("--conc", o->conc, "Concentration of a solution, % by mass")->capture_default_str();
    cmd->add_option("--temp", o->temp, "Temperature of the flow in °C (volume flows)");
    cmd->add_option("--pressure", o->pressure, "Pressure of the fluid in Pa (gases; default 100000)");
    cmd->add_option("--units-db", o->units_db,
                    "Units database; default: the setting ConvertDB of the registry store ($HXQ_REGISTRY, "
                    "else the build's sample/registry.ini), else the build's sample/units.db");
    cmd->add_flag("--list", o->list, "List the units of every group with their UnitIDs");
    cmd->add_flag("--display", o->display, "Show the result with the significant digits of its group");
    cmd->callback([o, &exit_code] { exit_code = run(*o); });
});

}  // namespace
}  // namespace hxq::app
