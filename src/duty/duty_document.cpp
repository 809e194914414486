#include "duty/duty_document.h"

#include "duty/air_dryer_duty.h"
#include "duty/cascade_duty.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace hxq::duty {

namespace {

const std::array<const KindLayout*, 7>& layouts() {
    static const std::array<const KindLayout*, 7> all{&SinglePhaseLayout(),     &CondenserLayout(),
                                                      &EvaporatorLayout(),      &AirDryerDesignLayout(),
                                                      &AirDryerRatingLayout(),  &TwoStageLayout(),
                                                      &CascadeLayout()};
    return all;
}

const KindLayout& layout_of(DutyKind kind) {
    return **std::find_if(layouts().begin(), layouts().end(), [&](const KindLayout* l) { return l->kind == kind; });
}

const std::vector<KeySpec>* keys_of(const KindLayout& l, std::string_view table) {
    if (table.empty()) return &l.top;
    for (const auto& [name, keys] : l.tables)
        if (name == table) return &keys;
    return nullptr;
}

// The keys every kind shares, ahead of its own.
std::vector<KeySpec> top_keys(const KindLayout& l) {
    std::vector<KeySpec> keys{Text("duty"), Text("group"), Text("model"), Count("node", 0), Text("database")};
    keys.insert(keys.end(), l.top.begin(), l.top.end());
    return keys;
}

// A key this kind does not know may be one of another kind: say so, so that a file
// written for an evaporator and marked "condenser" is not just "unknown".
KeyElsewhere elsewhere_than(DutyKind kind) {
    return [kind](std::string_view table, std::string_view key) -> std::string {
        for (const KindLayout* l : layouts()) {
            if (l->kind == kind) continue;
            const std::vector<KeySpec>* keys = keys_of(*l, table);
            if (keys && std::any_of(keys->begin(), keys->end(), [&](const KeySpec& k) { return k.key == key; }))
                return fmt::format("a key of {}", l->plural);
        }
        return {};
    };
}

// Which kind the file is: `duty` (default single-phase) and, for an air dryer, `mode`.
DutyKind kind_of(const TomlReader& r, const toml::table& root) {
    std::string name = "single-phase";
    if (const toml::node* node = root.get("duty")) name = r.text(*node, r.place("", "duty", *node));
    const KeyPlace at = root.get("duty") ? r.place("", "duty", *root.get("duty")) : KeyPlace{"duty", 0};
    if (name == "single-phase") return DutyKind::SinglePhase;
    if (name == "condenser") return DutyKind::Condenser;
    if (name == "evaporator") return DutyKind::Evaporator;
    if (name == "air-dryer") {
        const toml::node* mode = root.get("mode");
        if (!mode) return DutyKind::AirDryerDesign;
        const KeyPlace p = r.place("", "mode", *mode);
        const std::string m = r.text(*mode, p);
        if (m == "design") return DutyKind::AirDryerDesign;
        if (m == "rating") return DutyKind::AirDryerRating;
        r.fail(p, fmt::format("unknown mode \"{}\"; use \"design\" or \"rating\"", m));
    }
    if (name == "two-stage") return DutyKind::TwoStage;
    if (name == "cascade") return DutyKind::Cascade;
    const char* kinds = "\"single-phase\", \"condenser\", \"evaporator\", \"air-dryer\", \"two-stage\" or \"cascade\"";
    r.fail(at, fmt::format("unknown duty \"{}\"; use {}", name, kinds));
}

toml::table parse_toml(std::string_view text, const std::string& path) {
    try {
        return toml::parse(text, path);
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
}

void read_filter(const TomlReader& r, const toml::table& table, core::FilterType& filter) {
    static const std::vector<KeySpec> keys{Text("material"), Text("pressure"), Text("factory"), Text("warehouse"),
                                           Custom("connections")};
    const Section s = r.section(table, "filter", LineOf(table), keys);
    filter.Active = true;
    if (const Entry* e = s.get("material")) filter.Material = e->text;
    if (const Entry* e = s.get("pressure")) filter.Pressure = e->text;
    if (const Entry* e = s.get("factory")) filter.Factory = e->text;
    if (const Entry* e = s.get("warehouse")) {
        filter.whs = e->text;
        filter.cew = true;
    }
    if (const Entry* e = s.get("connections")) {
        const auto* list = table.get("connections")->as_array();
        if (!list) r.fail(e->place, "expected a list of article codes, e.g. [\"C10\", \"C12\"]");
        std::string joined;
        for (const auto& item : *list) {
            const auto* text = item.as_string();
            if (!text) r.fail(e->place, "expected texts in the list of article codes");
            joined += (joined.empty() ? "" : ";") + text->get();
        }
        filter.ConnXPCs = joined;
        if (!filter.cew)
            r.fail(e->place, "connections restrict the stocked plate counts of a warehouse: give warehouse too");
    }
}

}  // namespace

std::string_view DutyName(DutyKind kind) {
    switch (kind) {
        case DutyKind::SinglePhase: return "single-phase";
        case DutyKind::Condenser: return "condenser";
        case DutyKind::Evaporator: return "evaporator";
        case DutyKind::AirDryerDesign:
        case DutyKind::AirDryerRating: return "air-dryer";
        case DutyKind::TwoStage: return "two-stage";
        case DutyKind::Cascade: return "cascade";
    }
    return "";
}

char DutyLetter(DutyKind kind) {
    switch (kind) {
        case DutyKind::SinglePhase: return 'S';
        case DutyKind::Condenser: return 'C';
        case DutyKind::Evaporator: return 'E';
        case DutyKind::AirDryerDesign:
        case DutyKind::AirDryerRating: return 'A';
        case DutyKind::TwoStage: return 'T';
        case DutyKind::Cascade: return 'E';
    }
    return 'S';
}

const Section& DutyDocument::table(std::string_view name) const {
    static const Section none;
    const auto it = tables.find(name);
    return it == tables.end() ? none : it->second;
}

std::string EngineMode(const Section& top) {
    const Entry* e = top.get("mode");
    if (!e || e->text == "design") return "D";
    return e->text == "performance" ? "P" : "X";
}

DutyDocument ParseDutyText(std::string_view text, const std::string& path) {
    const TomlReader r(path);
    const toml::table root = parse_toml(text, path);
    DutyDocument d;
    d.path = path;
    d.kind = kind_of(r, root);
    const KindLayout& layout = layout_of(d.kind);
    const std::vector<KeySpec> keys = top_keys(layout);
    // Line 0: a top-level key that is missing is on no line of the file.
    d.top = r.section(root, "", 0, keys, elsewhere_than(d.kind));

    AtMostOne(d.top, {"group", "model", "node"});
    for (const char* k : {"group", "model", "node"}) {
        const Entry* e = d.top.get(k);
        if (!e) continue;
        d.target_place = e->place;
        d.target = k[0] == 'g' ? TargetKind::Group : k[0] == 'm' ? TargetKind::Model : TargetKind::Node;
        d.target_node = e->count;
        d.target_name = e->text;
        if (d.target != TargetKind::Node && d.target_name.empty()) r.fail(e->place, "empty name");
    }
    if (d.target_place.key.empty())
        throw DutyFileError(path, 0, "group",
                            "missing: the model or group to select from (group = \"...\", model = \"...\" or node = N)");
    if (const Entry* e = d.top.get("database")) d.database = e->text;
    if (const Entry* e = d.top.get("filter")) {
        d.filter_place = e->place;
        read_filter(r, *root.get("filter")->as_table(), d.filter);
    }
    for (const auto& [name, table_keys] : layout.tables) {
        Section s;
        if (const toml::node* node = root.get(name))
            s = r.section(*node->as_table(), std::string(name), LineOf(*node), table_keys, elsewhere_than(d.kind));
        s.file = path;
        s.name = std::string(name);
        d.tables.emplace(std::string(name), std::move(s));
    }
    if (layout.check) layout.check(d);
    return d;
}

DutyDocument ParseDutyFile(const std::string& path) {
    // A folder opens as a stream that reads nothing; it would pass for an empty file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw DutyFileError(path, 0, "(file)", "is a folder, not a duty file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DutyFileError(path, 0, "(file)", "cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return ParseDutyText(text.str(), path);
}

}  // namespace hxq::duty
