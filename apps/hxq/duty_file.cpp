#include "duty_file.h"

#include "installation.h"
#include "unit_labels.h"

#include "core/model_tree.h"
#include "core/xer_tag.h"
#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/variant.h"
#include "settings/convert.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>
#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <vector>

namespace hxq::app {

namespace {

// Quantity groups of the units database the given values belong to.
constexpr std::int16_t kTemperatureGroup = 1;
constexpr std::int16_t kHeatLoadGroup = 3;
constexpr std::int16_t kFlowGroup = 4;
constexpr std::int16_t kPressureGroup = 5;
constexpr std::int16_t kFoulingGroup = 17;
constexpr std::int16_t kPercentGroup = 18;

int line_of(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

std::string join_key(const std::string& table, std::string_view key) {
    return table.empty() ? std::string(key) : table + "." + std::string(key);
}

class Reader {
public:
    explicit Reader(std::string path) : path_(std::move(path)) {}

    [[noreturn]] void fail(const KeyPlace& place, const std::string& message) const {
        throw DutyFileError(path_, place.line, place.key, message);
    }

    KeyPlace place(const std::string& table, std::string_view key, const toml::node& node) const {
        return KeyPlace{join_key(table, key), line_of(node)};
    }

    // Every key of `table` must be one of `known`: a misspelt key would otherwise be
    // ignored and the duty rated without the value the user meant to give.
    void check_keys(const toml::table& table, const std::string& name, std::initializer_list<std::string_view> known) const {
        for (const auto& [key, node] : table) {
            if (std::find(known.begin(), known.end(), key.str()) != known.end()) continue;
            std::string list;
            for (auto k : known) list += (list.empty() ? "" : ", ") + std::string(k);
            fail(place(name, key.str(), node), fmt::format("unknown key (known here: {})", list));
        }
    }

    std::string text(const toml::node& node, const KeyPlace& p) const {
        if (const auto* s = node.as_string()) return s->get();
        fail(p, "expected a text in double quotes");
    }

    bool flag(const toml::node& node, const KeyPlace& p) const {
        if (const auto* b = node.as_boolean()) return b->get();
        fail(p, "expected true or false");
    }

    double number(const toml::node& node, const KeyPlace& p) const {
        if (const auto* i = node.as_integer()) return static_cast<double>(i->get());
        if (const auto* f = node.as_floating_point()) return f->get();
        fail(p, "expected a number");
    }

    CountValue count(const toml::node& node, const KeyPlace& p, std::int64_t low) const {
        const auto* i = node.as_integer();
        if (!i) fail(p, "expected a whole number");
        const std::int64_t v = i->get();
        if (v < low || v > std::numeric_limits<std::int16_t>::max())
            fail(p, fmt::format("expected a whole number from {} to {}", low, std::numeric_limits<std::int16_t>::max()));
        return CountValue{static_cast<std::int16_t>(v), p};
    }

    // "60 °C", or ["60", "°C"] / [60, "°C"].
    QuantityText quantity(const toml::node& node, const KeyPlace& p) const {
        QuantityText q;
        q.place = p;
        if (const auto* s = node.as_string()) {
            std::string t = s->get();
            const auto first = t.find_first_not_of(" \t");
            if (first == std::string::npos) fail(p, "empty value; write a number and a unit, e.g. \"60 °C\"");
            const auto gap = t.find_first_of(" \t", first);
            if (gap == std::string::npos)
                fail(p, fmt::format("\"{}\" has no unit; write the number, a blank and the unit, e.g. \"60 °C\"", t));
            q.number = t.substr(first, gap - first);
            const auto unit = t.find_first_not_of(" \t", gap);
            const auto last = t.find_last_not_of(" \t");
            q.unit = t.substr(unit, last - unit + 1);
        } else if (const auto* a = node.as_array()) {
            if (a->size() != 2) fail(p, "expected [number, unit], e.g. [\"60\", \"°C\"]");
            const toml::node& n = *a->get(0);
            if (const auto* ns = n.as_string()) q.number = ns->get();
            else if (const auto* ni = n.as_integer()) q.number = std::to_string(ni->get());
            else if (const auto* nf = n.as_floating_point()) q.number = fmt::format("{}", nf->get());
            else fail(p, "the first element must be the number");
            const auto* us = a->get(1)->as_string();
            if (!us) fail(p, "the second element must be the unit text, e.g. \"°C\"");
            q.unit = us->get();
        } else if (node.is_number()) {
            fail(p, "a number needs its unit: write e.g. \"60 °C\" or [\"60\", \"°C\"]");
        } else {
            fail(p, "expected a value with its unit, e.g. \"60 °C\" or [\"60\", \"°C\"]");
        }
        double ignored = 0;
        if (!parse_number(q.number, ignored)) fail(p, fmt::format("\"{}\" is not a number", q.number));
        return q;
    }

    static bool parse_number(const std::string& text, double& out) {
        const char* begin = text.data();
        const char* end = begin + text.size();
        if (begin != end && *begin == '+') ++begin;
        auto [ptr, ec] = std::from_chars(begin, end, out);
        return ec == std::errc() && ptr == end && std::isfinite(out);
    }

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void read_side(const Reader& r, const toml::table& root, int index, DutySide& side) {
    const std::string name = fmt::format("side{}", index);
    const toml::node* node = root.get(name);
    if (!node) throw DutyFileError(r.path(), 0, name, fmt::format("missing table [{}] with the fluid of side {}", name, index));
    const auto* table = node->as_table();
    if (!table) r.fail(r.place("", name, *node), "expected a table");
    r.check_keys(*table, name,
                 {"fluid", "concentration", "inlet_temp", "outlet_temp", "mass_flow", "max_pressure_drop", "passes",
                  "channels"});
    const toml::node* fluid = table->get("fluid");
    if (!fluid) r.fail(KeyPlace{name + ".fluid", line_of(*node)}, "missing: the fluid of this side, e.g. fluid = \"water\"");
    side.fluid_place = r.place(name, "fluid", *fluid);
    side.fluid = r.text(*fluid, side.fluid_place);
    for (const auto& [key, value] : *table) {
        const KeyPlace p = r.place(name, key.str(), value);
        const std::string_view k = key.str();
        if (k == "concentration") side.concentration = r.number(value, p);
        else if (k == "inlet_temp") side.inlet_temp = r.quantity(value, p);
        else if (k == "outlet_temp") side.outlet_temp = r.quantity(value, p);
        else if (k == "mass_flow") side.mass_flow = r.quantity(value, p);
        else if (k == "max_pressure_drop") side.max_pressure_drop = r.quantity(value, p);
        else if (k == "passes") side.passes = r.count(value, p, 1);
        else if (k == "channels") side.channels = r.count(value, p, 1);
    }
}

void read_filter(const Reader& r, const toml::node& node, core::FilterType& filter) {
    const auto* table = node.as_table();
    if (!table) r.fail(r.place("", "filter", node), "expected a table");
    r.check_keys(*table, "filter", {"material", "pressure", "factory", "warehouse", "connections"});
    filter.Active = true;
    for (const auto& [key, value] : *table) {
        const KeyPlace p = r.place("filter", key.str(), value);
        const std::string_view k = key.str();
        if (k == "material") filter.Material = r.text(value, p);
        else if (k == "pressure") filter.Pressure = r.text(value, p);
        else if (k == "factory") filter.Factory = r.text(value, p);
        else if (k == "warehouse") {
            filter.whs = r.text(value, p);
            filter.cew = true;
        } else if (k == "connections") {
            const auto* list = value.as_array();
            if (!list) r.fail(p, "expected a list of article codes, e.g. [\"C10\", \"C12\"]");
            std::string joined;
            for (const auto& item : *list) {
                const auto* s = item.as_string();
                if (!s) r.fail(p, "expected texts in the list of article codes");
                joined += (joined.empty() ? "" : ";") + s->get();
            }
            filter.ConnXPCs = joined;
        }
    }
    if (!filter.ConnXPCs.empty() && !filter.cew)
        r.fail(r.place("filter", "connections", *table->get("connections")),
               "connections restrict the stocked plate counts of a warehouse: give warehouse too");
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string group_name(std::int16_t group) {
    using settings::UnitGroupTable;
    if (UnitGroupTable.Contains(group) && !UnitGroupTable(group).sGroupName.empty())
        return UnitGroupTable(group).sGroupName;
    return fmt::format("group {}", group);
}

std::vector<std::string> labels_of_group(std::int16_t group) {
    using settings::UnitTable;
    std::vector<std::string> out;
    for (int id = UnitTable.LBound(); !UnitTable.Empty() && id <= UnitTable.UBound(); ++id)
        if (!UnitTable(id).sUnit.empty() && UnitTable(id).GroupID == group) out.push_back(UnitTable(id).sUnit);
    return out;
}

double si_value(const QuantityText& q, std::int16_t unit, core::FluidObject* fluid, std::optional<double> temp,
                const std::string& file) {
    double value = 0;
    Reader::parse_number(q.number, value);
    platform::Variant t = temp ? platform::Variant(*temp) : platform::Variant();
    try {
        const platform::Variant si = settings::SharedConverter().ConvertToSI(platform::Variant(value), unit, fluid, t);
        return si.as_double();
    } catch (const platform::Error& e) {
        std::string hint;
        if (fluid && !temp) hint = "; a volume flow needs the inlet or outlet temperature of its side";
        throw DutyFileError(file, q.place.line, q.place.key,
                            fmt::format("cannot convert {} {}: {}{}", q.number, q.unit, e.description(), hint));
    }
}

core::InputDataType given_text(const QuantityText& q, std::int16_t unit) {
    core::InputDataType in;
    in.sValue = q.number;
    in.sUnit = settings::UnitTable(unit).sUnit;
    in.iUnitID = unit;
    in.Given = true;
    return in;
}

core::InputDataType given_count(const CountValue& c) {
    core::InputDataType in;
    in.sValue = std::to_string(c.value);
    in.Given = true;
    in.iUnitID = 999;  // no unit
    return in;
}

}  // namespace

DutyFileError::DutyFileError(std::string file, int line, std::string key, const std::string& message)
    : std::runtime_error(line > 0 ? fmt::format("{}:{}: {}: {}", file, line, key, message)
                                  : fmt::format("{}: {}: {}", file, key, message)),
      file_(std::move(file)),
      line_(line),
      key_(std::move(key)),
      message_(message) {}

DutyFile ParseDutyText(std::string_view text, const std::string& path) {
    const Reader r(path);
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        // The key is the text of the line the parser stopped at, up to its "=".
        std::string line_text;
        std::istringstream lines{std::string(text)};
        for (std::uint32_t i = 0; i < e.source().begin.line && std::getline(lines, line_text); ++i) {
        }
        std::string key = line_text.substr(0, line_text.find('='));
        key.erase(0, key.find_first_not_of(" \t["));
        key.erase(key.find_last_not_of(" \t]") + 1);
        // The line may be anything (a binary file): no control characters reach the
        // terminal, and a long line is cut.
        for (char& c : key)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
        if (key.size() > 60) {
            std::size_t cut = 60;
            while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;  // a whole character
            key = key.substr(0, cut) + "...";
        }
        throw DutyFileError(path, static_cast<int>(e.source().begin.line), key.empty() ? "(syntax)" : key,
                            std::string(e.description()));
    }
    r.check_keys(root, "",
                 {"duty", "group", "model", "node", "database", "mode", "counter_current", "heat_load", "over_surface",
                  "fouling_factor", "parallel_units", "plates", "material", "dual", "forced_stock", "side1", "side2",
                  "filter"});
    DutyFile d;
    d.path = path;
    int targets = 0;
    for (const auto& [key, node] : root) {
        const KeyPlace p = r.place("", key.str(), node);
        const std::string_view k = key.str();
        if (k == "duty") {
            d.kind = r.text(node, p);
            if (d.kind != "single-phase") {
                const std::set<std::string> later{"condenser", "evaporator", "two-stage", "cascade", "air-dryer"};
                r.fail(p, later.count(d.kind) ? fmt::format("duty \"{}\" is not supported yet; use \"single-phase\"", d.kind)
                                              : fmt::format("unknown duty \"{}\"; use \"single-phase\"", d.kind));
            }
        } else if (k == "group" || k == "model" || k == "node") {
            // Keys come sorted by name; the one written later is the one to take back.
            if (++targets > 1) r.fail(p.line > d.target_place.line ? p : d.target_place, "give one of group, model and node");
            d.target_place = p;
            if (k == "node") {
                d.target = TargetKind::Node;
                d.target_node = r.count(node, p, 0).value;
            } else {
                d.target = k == "group" ? TargetKind::Group : TargetKind::Model;
                d.target_name = r.text(node, p);
                if (d.target_name.empty()) r.fail(p, "empty name");
            }
        } else if (k == "database") {
            d.database = r.text(node, p);
        } else if (k == "mode") {
            const std::string m = r.text(node, p);
            if (m == "design") d.mode = "D";
            else if (m == "performance") d.mode = "P";
            else if (m == "check") d.mode = "X";
            else r.fail(p, fmt::format("unknown mode \"{}\"; use \"design\", \"performance\" or \"check\"", m));
        } else if (k == "counter_current") {
            d.counter_current = r.flag(node, p);
        } else if (k == "heat_load") {
            d.heat_load = r.quantity(node, p);
        } else if (k == "over_surface") {
            d.over_surface = r.quantity(node, p);
        } else if (k == "fouling_factor") {
            d.fouling_factor = r.quantity(node, p);
        } else if (k == "parallel_units") {
            d.parallel_units = r.count(node, p, 1);
        } else if (k == "plates") {
            d.plates = r.count(node, p, 1);
        } else if (k == "material") {
            const CountValue m = r.count(node, p, 0);
            if (m.value > 1) r.fail(p, "expected 0 (AISI 316) or 1 (higher-alloyed plates)");
            d.material = m.value;
        } else if (k == "dual") {
            d.dual = r.flag(node, p);
        } else if (k == "forced_stock") {
            d.forced_stock = r.flag(node, p);
        } else if (k == "filter") {
            d.filter_place = p;
            read_filter(r, node, d.filter);
        }
    }
    if (targets == 0)
        throw DutyFileError(path, 0, "group",
                            "missing: the model or group to select from (group = \"...\", model = \"...\" or node = N)");
    read_side(r, root, 1, d.side[0]);
    read_side(r, root, 2, d.side[1]);
    return d;
}

DutyFile ParseDutyFile(const std::string& path) {
    // A folder opens as a stream that reads nothing; it would pass for an empty file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw DutyFileError(path, 0, "(file)", "is a folder, not a duty file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DutyFileError(path, 0, "(file)", "cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return ParseDutyText(text.str(), path);
}

ResolvedTarget ResolveTarget(const DutyFile& duty, platform::Database& product, const std::string& path,
                             const std::string& user_level) {
    const std::string visible = core::DutyTerm(core::Duty::SinglePhase, user_level).substr(5);  // without " AND "
    platform::Recordset tree = product.OpenRecordset("SELECT * FROM ModelTree");
    std::vector<platform::Bookmark> found;
    if (duty.target == TargetKind::Node) {
        if (tree.FindFirst(fmt::format("NodeID={} AND {}", duty.target_node, visible))) found.push_back(tree.GetBookmark());
    } else {
        const std::string wanted = lower(duty.target_name);
        for (bool ok = tree.FindFirst(visible); ok; ok = tree.FindNext(visible))
            if (lower(core::NullToText(tree.Fields("Alias"))) == wanted) found.push_back(tree.GetBookmark());
    }
    const char* what = duty.target == TargetKind::Group ? "group" : duty.target == TargetKind::Model ? "model" : "node";
    if (found.empty())
        throw DutyFileError(duty.path, duty.target_place.line, duty.target_place.key,
                            fmt::format("no single-phase {} {} in {} for user level \"{}\" (list them with hxq models --duty S)",
                                        what,
                                        duty.target == TargetKind::Node ? std::to_string(duty.target_node)
                                                                        : "\"" + duty.target_name + "\"",
                                        path, user_level));
    auto members_of = [&](std::int16_t node) {
        platform::Recordset probe = tree.Clone();
        return probe.FindFirst(fmt::format("Instr(Group,'S/{:03d}')>0", node));
    };
    std::vector<ResolvedTarget> candidates;
    for (const auto& b : found) {
        tree.SetBookmark(b);
        ResolvedTarget t;
        t.node = core::ToInt16(tree.Fields("NodeID"));
        t.alias = core::NullToText(tree.Fields("Alias"));
        t.tag = core::BuildXerTag(tree, path);
        t.is_group = members_of(t.node);
        // A group names its members; a model or folder is rated with its subtree.
        if (duty.target == TargetKind::Group && !t.is_group) continue;
        if (duty.target == TargetKind::Model) t.is_group = false;
        candidates.push_back(std::move(t));
    }
    if (candidates.empty())
        throw DutyFileError(duty.path, duty.target_place.line, duty.target_place.key,
                            fmt::format("\"{}\" is not a group (no node is a member of it); use model = \"{}\" to rate it "
                                        "with its subtree",
                                        duty.target_name, duty.target_name));
    if (candidates.size() > 1) {
        std::string nodes;
        for (const auto& c : candidates) nodes += (nodes.empty() ? "" : ", ") + std::to_string(c.node);
        throw DutyFileError(duty.path, duty.target_place.line, duty.target_place.key,
                            fmt::format("\"{}\" names nodes {}; give node = N instead", duty.target_name, nodes));
    }
    return candidates.front();
}

std::int16_t FindUnit(const QuantityText& q, std::int16_t group, const std::string& file) {
    using settings::UnitTable;
    const std::optional<std::int16_t> unit = find_unit_label(q.unit);
    std::string offered;
    for (const auto& l : labels_of_group(group)) offered += (offered.empty() ? "" : ", ") + l;
    if (!unit)
        throw DutyFileError(file, q.place.line, q.place.key,
                            fmt::format("unknown unit \"{}\"; {} units are: {}", q.unit, group_name(group), offered));
    if (UnitTable(*unit).GroupID != group)
        throw DutyFileError(file, q.place.line, q.place.key,
                            fmt::format("\"{}\" is a unit of {}, this value needs one of {}: {}", q.unit,
                                        group_name(UnitTable(*unit).GroupID), group_name(group), offered));
    return *unit;
}

core::SPCDataType BuildSPCData(const DutyFile& duty, const ResolvedTarget& target, const std::string& database) {
    core::SPCDataType data;
    core::InputData& g = data.GivenValues;
    core::SinglePhaseInput& in = data.InData;
    g.Xer = target.alias;
    g.XerID = target.node;
    g.XerDB = database;
    g.XerTag = target.tag;
    g.IsXerGroup = target.is_group;
    g.IsDualCalc = duty.dual;
    g.Material = duty.material;
    g.Filter = duty.filter;
    in.CalcMode = duty.mode;
    in.CounterCurrent = duty.counter_current;
    in.ForcedStock = duty.forced_stock;

    for (int s = 1; s <= 2; ++s) {
        const DutySide& side = duty.side[static_cast<std::size_t>(s - 1)];
        try {
            in.Fluid[s] = engines::fluid::create_fluid(side.fluid, side.concentration);
        } catch (const engines::fluid::UnknownFluid& e) {
            std::string near;
            for (const auto& n : e.nearest()) near += (near.empty() ? "" : ", ") + n;
            throw DutyFileError(duty.path, side.fluid_place.line, side.fluid_place.key,
                                fmt::format("unknown fluid \"{}\"{}", side.fluid, near.empty() ? "" : "; nearest: " + near));
        } catch (const platform::Error& e) {
            throw DutyFileError(duty.path, side.fluid_place.line, side.fluid_place.key, e.description());
        }
        core::FluidObject* fluid = in.Fluid[s].get();
        std::optional<double> inlet;
        auto take = [&](const std::optional<QuantityText>& q, std::int16_t group, core::InputDataType& given,
                        core::DutyValue& value, std::optional<double> temp = std::nullopt) {
            if (!q) return;
            const std::int16_t unit = FindUnit(*q, group, duty.path);
            given = given_text(*q, unit);
            value = core::DutyValue{si_value(*q, unit, fluid, temp, duty.path), true};
        };
        take(side.inlet_temp, kTemperatureGroup, g.InletTemp[s], in.InletTemp[s]);
        take(side.outlet_temp, kTemperatureGroup, g.OutletTemp[s], in.OutletTemp[s]);
        if (in.InletTemp[s].Given) inlet = in.InletTemp[s].Value;
        else if (in.OutletTemp[s].Given) inlet = in.OutletTemp[s].Value;
        // Volume flows are taken at the side's inlet (else outlet) temperature.
        take(side.mass_flow, kFlowGroup, g.MassFlux[s], in.MassFlow[s], inlet);
        take(side.max_pressure_drop, kPressureGroup, g.MaxPressureDrop[s], in.MaxPressureDrop[s]);
        if (side.passes) {
            g.NoOfPasses[s] = given_count(*side.passes);
            in.NoOfPasses[s] = core::DutyCount{side.passes->value, true};
        }
        if (side.channels) {
            g.NoOfChannels[s][1] = given_count(*side.channels);
            in.NoOfChannels[s][1] = core::DutyCount{side.channels->value, true};
        }
    }
    if (duty.heat_load) {
        const std::int16_t unit = FindUnit(*duty.heat_load, kHeatLoadGroup, duty.path);
        g.heatLoad = given_text(*duty.heat_load, unit);
        in.HeatLoad = core::DutyValue{si_value(*duty.heat_load, unit, nullptr, std::nullopt, duty.path), true};
    }
    if (duty.over_surface) {
        const std::int16_t unit = FindUnit(*duty.over_surface, kPercentGroup, duty.path);
        g.OverSurface = given_text(*duty.over_surface, unit);
        in.OverSurface = core::DutyValue{si_value(*duty.over_surface, unit, nullptr, std::nullopt, duty.path), true};
    }
    if (duty.fouling_factor) {
        const std::int16_t unit = FindUnit(*duty.fouling_factor, kFoulingGroup, duty.path);
        g.FoulingFactor = given_text(*duty.fouling_factor, unit);
        in.FoulingFactor = core::DutyValue{si_value(*duty.fouling_factor, unit, nullptr, std::nullopt, duty.path), true};
    }
    if (duty.parallel_units) {
        g.ParallelUnits = given_count(*duty.parallel_units);
        in.ParallelUnits = core::DutyCount{duty.parallel_units->value, true};
    }
    if (duty.plates) {
        g.NoPlates = given_count(*duty.plates);
        in.NoOfPlates = core::DutyCount{duty.plates->value, true};
    }
    return data;
}

Installation PrepareInstallation(const std::string& ini, const std::string& user_level) {
    namespace fs = std::filesystem;
    Installation inst;
    inst.registry = use_installation_registry();
    // A settings file named on the command line that is not there is a typing mistake,
    // not a wish for empty settings (no stock database, no user fluids).
    if (!ini.empty() && !fs::is_regular_file(ini))
        throw platform::Error(3024, "hxq", fmt::format("the settings file \"{}\" (--ini) does not exist", ini));
    inst.ini = installation_ini(ini);
    load_installation_settings(ini);
    settings::LibraryState& state = settings::library_state();
    state.host.UsrLev = user_level;

    settings::ResetSharedConverter();
    if (!settings::SharedConverter().IsOpen())
        throw platform::Error(3024, "hxq",
                              fmt::format("the units database \"{}\" (setting ConvertDB of {}) cannot be opened",
                                          state.Settings.ConvertDB,
                                          inst.registry.empty() ? std::string("the registry store") : inst.registry));
    return inst;
}

}  // namespace hxq::app
