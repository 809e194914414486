#include "duty/duty_values.h"

#include "duty/unit_groups.h"
#include "duty/unit_labels.h"
#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "platform/error.h"
#include "platform/variant.h"
#include "settings/convert.h"
#include "settings/unit_tables.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace hxq::duty {

namespace {

std::string join_key(const std::string& table, std::string_view key) {
    return table.empty() ? std::string(key) : table + "." + std::string(key);
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items, const char* last) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? std::string(" ") + last + " " : ", ";
        out += items[i];
    }
    return out;
}

std::string group_name(std::int16_t group) {
    using settings::UnitGroupTable;
    if (UnitGroupTable.Contains(group) && !UnitGroupTable(group).sGroupName.empty())
        return UnitGroupTable(group).sGroupName;
    return fmt::format("group {}", group);
}

std::string labels_of_group(std::int16_t group) {
    using settings::UnitTable;
    std::vector<std::string> out;
    for (int id = UnitTable.LBound(); !UnitTable.Empty() && id <= UnitTable.UBound(); ++id)
        if (!UnitTable(id).sUnit.empty() && UnitTable(id).GroupID == group) out.push_back(UnitTable(id).sUnit);
    std::string text;
    for (const auto& l : out) text += (text.empty() ? "" : ", ") + l;
    return text;
}

}  // namespace

namespace {

KeySpec key_spec(std::string_view key, ValueKind kind) {
    KeySpec k;
    k.key = key;
    k.kind = kind;
    return k;
}

}  // namespace

KeySpec Text(std::string_view key, std::vector<std::string_view> choices) {
    KeySpec k = key_spec(key, ValueKind::Text);
    k.choices = std::move(choices);
    return k;
}
KeySpec Flag(std::string_view key) { return key_spec(key, ValueKind::Flag); }
KeySpec Number(std::string_view key) { return key_spec(key, ValueKind::Number); }
KeySpec Count(std::string_view key, std::int64_t min, std::int64_t max, std::string_view range_hint) {
    KeySpec k = key_spec(key, ValueKind::Count);
    k.min = min;
    k.max = max;
    k.range_hint = range_hint;
    return k;
}
KeySpec Quantity(std::string_view key, std::int16_t group) {
    KeySpec k = key_spec(key, ValueKind::Quantity);
    k.group = group;
    return k;
}
KeySpec Fraction(std::string_view key) { return key_spec(key, ValueKind::Fraction); }
KeySpec Table(std::string_view key) { return key_spec(key, ValueKind::Table); }
KeySpec Custom(std::string_view key) { return key_spec(key, ValueKind::Custom); }

const Entry* Section::get(std::string_view key) const {
    const auto it = entries.find(key);
    return it == entries.end() ? nullptr : &it->second;
}

KeyPlace Section::place_of(std::string_view key) const {
    if (const Entry* e = get(key)) return e->place;
    return KeyPlace{join_key(name, key), present ? line : 0};
}

void Section::fail(const KeyPlace& place, const std::string& message) const { throw DutyFileError(file, place, message); }

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

bool ParseNumber(const std::string& text, double& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

void TomlReader::fail(const KeyPlace& place, const std::string& message) const {
    throw DutyFileError(path_, place, message);
}

KeyPlace TomlReader::place(const std::string& table, std::string_view key, const toml::node& node) const {
    return KeyPlace{join_key(table, key), LineOf(node)};
}

void TomlReader::check_keys(const toml::table& table, const std::string& name, std::span<const KeySpec> known,
                            const KeyElsewhere& elsewhere) const {
    for (const auto& [key, node] : table) {
        if (std::any_of(known.begin(), known.end(), [&](const KeySpec& k) { return k.key == key.str(); })) continue;
        std::string list;
        for (const auto& k : known) list += (list.empty() ? "" : ", ") + std::string(k.key);
        const std::string other = elsewhere ? elsewhere(name, key.str()) : std::string();
        fail(place(name, key.str(), node),
             other.empty() ? fmt::format("unknown key (known here: {})", list)
                           : fmt::format("{}; unknown here (known here: {})", other, list));
    }
}

std::string TomlReader::text(const toml::node& node, const KeyPlace& p) const {
    if (const auto* s = node.as_string()) return s->get();
    fail(p, "expected a text in double quotes");
}

bool TomlReader::flag(const toml::node& node, const KeyPlace& p) const {
    if (const auto* b = node.as_boolean()) return b->get();
    fail(p, "expected true or false");
}

double TomlReader::number(const toml::node& node, const KeyPlace& p) const {
    if (const auto* i = node.as_integer()) return static_cast<double>(i->get());
    if (const auto* f = node.as_floating_point()) return f->get();
    fail(p, "expected a number");
}

CountValue TomlReader::count(const toml::node& node, const KeyPlace& p, std::int64_t low, std::int64_t high,
                             std::string_view range_hint) const {
    const auto* i = node.as_integer();
    if (!i) fail(p, "expected a whole number");
    const std::int64_t v = i->get();
    if (v < low || v > high)
        fail(p, range_hint.empty() ? fmt::format("expected a whole number from {} to {}", low, high)
                                   : std::string(range_hint));
    return CountValue{static_cast<std::int16_t>(v), p};
}

QuantityText TomlReader::quantity(const toml::node& node, const KeyPlace& p) const {
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
    if (!ParseNumber(q.number, ignored)) fail(p, fmt::format("\"{}\" is not a number", q.number));
    return q;
}

Section TomlReader::section(const toml::table& table, const std::string& name, int line, std::span<const KeySpec> known,
                            const KeyElsewhere& elsewhere) const {
    check_keys(table, name, known, elsewhere);
    Section s;
    s.file = path_;
    s.name = name;
    s.line = line;
    s.present = true;
    for (const auto& [key, node] : table) {
        const KeySpec& rule = *std::find_if(known.begin(), known.end(), [&](const KeySpec& k) { return k.key == key.str(); });
        Entry e;
        e.place = place(name, key.str(), node);
        e.kind = rule.kind;
        e.group = rule.group;
        switch (rule.kind) {
            case ValueKind::Text:
                e.text = text(node, e.place);
                if (!rule.choices.empty() &&
                    std::find(rule.choices.begin(), rule.choices.end(), e.text) == rule.choices.end()) {
                    std::vector<std::string> quoted;
                    for (auto c : rule.choices) quoted.push_back(fmt::format("\"{}\"", c));
                    fail(e.place, fmt::format("unknown {} \"{}\"; use {}", rule.key, e.text, listed(quoted, "or")));
                }
                break;
            case ValueKind::Flag: e.flag = flag(node, e.place); break;
            case ValueKind::Number: e.number = number(node, e.place); break;
            case ValueKind::Count: e.count = count(node, e.place, rule.min, rule.max, rule.range_hint).value; break;
            case ValueKind::Quantity: e.quantity = quantity(node, e.place); break;
            case ValueKind::Fraction:
                if (!node.is_number()) fail(e.place, "expected a vapour quality: a plain number from 0 to 1, e.g. 0.25");
                e.number = number(node, e.place);
                if (!(e.number >= 0 && e.number <= 1)) fail(e.place, "expected a vapour quality from 0 to 1");
                break;
            case ValueKind::Table:
                if (!node.is_table()) fail(e.place, "expected a table");
                break;
            case ValueKind::Custom: break;
        }
        s.entries.emplace(std::string(key.str()), std::move(e));
    }
    return s;
}

void AtMostOne(const Section& s, std::initializer_list<std::string_view> keys) {
    std::vector<const Entry*> given;
    for (auto k : keys)
        if (const Entry* e = s.get(k)) given.push_back(e);
    if (given.size() < 2) return;
    const Entry* last = *std::max_element(given.begin(), given.end(),
                                          [](const Entry* a, const Entry* b) { return a->place.line < b->place.line; });
    std::vector<std::string> names;
    for (auto k : keys) names.emplace_back(k);
    s.fail(last->place, fmt::format("give one of {}", listed(names, "and")));
}

void ExactlyOne(const Section& s, std::initializer_list<std::string_view> keys, const std::string& what) {
    AtMostOne(s, keys);
    for (auto k : keys)
        if (s.has(k)) return;
    s.fail(*keys.begin(), "missing: " + what);
}

const Entry& Require(const Section& s, std::string_view key, const std::string& what) {
    if (const Entry* e = s.get(key)) return *e;
    s.fail(key, "missing: " + what);
}

void Refuse(const Section& s, std::string_view key, const std::string& why) {
    if (s.has(key)) s.fail(key, why);
}

std::int16_t FindUnit(const QuantityText& q, std::int16_t group, const std::string& file) {
    using settings::UnitTable;
    std::optional<std::int16_t> unit = find_unit_label(q.unit);
    // A difference of temperatures is written in K (and °C, °F) as often as in ΔK.
    if (unit && group == groups::kTemperatureDifference && UnitTable(*unit).GroupID == groups::kTemperature)
        unit = find_unit_label("Δ" + UnitTable(*unit).sUnit);
    if (!unit)
        throw DutyFileError(file, q.place,
                            fmt::format("unknown unit \"{}\"; {} units are: {}", q.unit, group_name(group),
                                        labels_of_group(group)));
    if (UnitTable(*unit).GroupID != group)
        throw DutyFileError(file, q.place,
                            fmt::format("\"{}\" is a unit of {}, this value needs one of {}: {}", q.unit,
                                        group_name(UnitTable(*unit).GroupID), group_name(group), labels_of_group(group)));
    return *unit;
}

GivenQuantity ConvertQuantity(const Section& s, const Entry& e, core::FluidObject* fluid, std::optional<double> temp) {
    const QuantityText& q = e.quantity;
    const std::int16_t unit = FindUnit(q, e.group, s.file);
    double value = 0;
    ParseNumber(q.number, value);
    const platform::Variant t = temp ? platform::Variant(*temp) : platform::Variant();
    GivenQuantity out;
    try {
        const platform::Variant si =
            settings::SharedConverter().ConvertToSI(platform::Variant(value), unit, fluid, t);
        out.value = core::DutyValue{si.as_double(), true};
    } catch (const platform::Error& err) {
        std::string hint;
        if (!fluid && e.group == groups::kFlow) hint = "; this flow takes a mass unit (kg/s, kg/h, lb/h, ...)";
        else if (!temp) hint = "; a volume flow needs the inlet or outlet temperature of its side";
        s.fail(q.place, fmt::format("cannot convert {} {}: {}{}", q.number, q.unit, err.description(), hint));
    }
    out.given.sValue = q.number;
    out.given.sUnit = settings::UnitTable(unit).sUnit;
    out.given.iUnitID = unit;
    out.given.Given = true;
    return out;
}

double SiValue(const Section& s, std::string_view key, core::FluidObject* fluid, std::optional<double> temp) {
    return ConvertQuantity(s, Require(s, key, std::string(key)), fluid, temp).value.Value;
}

void TakeQuantity(const Section& s, std::string_view key, core::InputDataType& given, core::DutyValue& value,
                  core::FluidObject* fluid, std::optional<double> temp) {
    const Entry* e = s.get(key);
    if (!e) return;
    GivenQuantity q = ConvertQuantity(s, *e, fluid, temp);
    given = std::move(q.given);
    value = q.value;
}

core::InputDataType GivenCount(std::int16_t value) {
    core::InputDataType in;
    in.sValue = std::to_string(value);
    in.Given = true;
    in.iUnitID = 999;  // no unit
    return in;
}

core::InputDataType GivenNumber(double value) {
    core::InputDataType in = GivenCount(0);
    in.sValue = fmt::format("{}", value);
    return in;
}

void TakeCount(const Section& s, std::string_view key, core::InputDataType& given, core::DutyCount& value) {
    const Entry* e = s.get(key);
    if (!e) return;
    given = GivenCount(e->count);
    value = core::DutyCount{e->count, true};
}

core::FluidRef CreateFluid(const Section& s, std::string_view key, double concentration) {
    const Entry& e = Require(s, key, "the fluid, e.g. fluid = \"water\"");
    try {
        return engines::fluid::create_fluid(e.text, concentration);
    } catch (const engines::fluid::UnknownFluid& err) {
        std::string near;
        for (const auto& n : err.nearest()) near += (near.empty() ? "" : ", ") + n;
        s.fail(e.place, fmt::format("unknown fluid \"{}\"{}", e.text, near.empty() ? "" : "; nearest: " + near));
    } catch (const platform::Error& err) {
        s.fail(e.place, err.description());
    }
}

}  // namespace hxq::duty
