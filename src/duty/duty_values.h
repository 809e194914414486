// The values of a duty file as every duty kind reads them: the keys a table may hold
// (KeySpec), the values as written with the line of each (Section), and their
// conversion to the SI values of the calculation records through the units database.
// Physical values always carry their unit: "45 °C" or ["45", "°C"].
#pragma once

#include "duty/duty_error.h"
#include "records/calc_records.h"

#include <toml++/toml.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::duty {

// A given quantity as written: the number text and the unit label.
struct QuantityText {
    std::string number;  // as written, "." decimal point
    std::string unit;    // label as written, e.g. "°C", "degC", "m3/h"
    KeyPlace place;
};

struct CountValue {
    std::int16_t value = 0;
    KeyPlace place;
};

enum class ValueKind {
    Text,      // a text in double quotes; one of `choices` when there are any
    Flag,      // true or false
    Number,    // a plain number (concentrations in % by mass)
    Count,     // a whole number from `min` to `max`
    Quantity,  // a number with a unit of `group`
    Fraction,  // a plain number from 0 to 1 (vapour qualities)
    Table,     // a [table] of its own, read by its own KeySpec list
    Custom,    // read by the duty kind itself (the filter's list of article codes)
};

// One key a table of a duty file may hold.
struct KeySpec {
    std::string_view key;
    ValueKind kind = ValueKind::Text;
    std::int16_t group = 0;                 // Quantity
    std::int64_t min = 0;                   // Count
    std::int64_t max = 32767;               // Count
    std::vector<std::string_view> choices;  // Text
    std::string_view range_hint;            // Count: what to say of a value outside min..max
};

KeySpec Text(std::string_view key, std::vector<std::string_view> choices = {});
KeySpec Flag(std::string_view key);
KeySpec Number(std::string_view key);
KeySpec Count(std::string_view key, std::int64_t min, std::int64_t max = 32767, std::string_view range_hint = {});
KeySpec Quantity(std::string_view key, std::int16_t group);
KeySpec Fraction(std::string_view key);
KeySpec Table(std::string_view key);
KeySpec Custom(std::string_view key);

// One value as read, of the kind its KeySpec names.
struct Entry {
    KeyPlace place;
    ValueKind kind = ValueKind::Text;
    std::int16_t group = 0;
    std::string text;
    bool flag = false;
    double number = 0;  // Number, Fraction
    std::int16_t count = 0;
    QuantityText quantity;
};

// The values of one table of a duty file ("" the top level), by key.
struct Section {
    std::string file;
    std::string name;
    int line = 0;          // the table's header line (0 for the top level)
    bool present = false;  // the table is in the file
    std::map<std::string, Entry, std::less<>> entries;

    const Entry* get(std::string_view key) const;
    bool has(std::string_view key) const { return get(key) != nullptr; }
    // Where `key` was written; a key not written is placed at the table's line.
    KeyPlace place_of(std::string_view key) const;
    [[noreturn]] void fail(const KeyPlace& place, const std::string& message) const;
    [[noreturn]] void fail(std::string_view key, const std::string& message) const { fail(place_of(key), message); }
};

// Where a key unknown in a table is known instead (another duty kind, another mode),
// e.g. "a key of evaporator duties"; "" when nowhere.
using KeyElsewhere = std::function<std::string(std::string_view table, std::string_view key)>;

// The TOML helpers of a duty file: values of the expected type or a DutyFileError that
// names the file, the line and the key.
class TomlReader {
public:
    explicit TomlReader(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    [[noreturn]] void fail(const KeyPlace& place, const std::string& message) const;
    KeyPlace place(const std::string& table, std::string_view key, const toml::node& node) const;

    // Every key of `table` must be one of `known`: a misspelt key would otherwise be
    // ignored and the duty rated without the value the user meant to give.
    void check_keys(const toml::table& table, const std::string& name, std::span<const KeySpec> known,
                    const KeyElsewhere& elsewhere = {}) const;

    std::string text(const toml::node& node, const KeyPlace& p) const;
    bool flag(const toml::node& node, const KeyPlace& p) const;
    double number(const toml::node& node, const KeyPlace& p) const;
    CountValue count(const toml::node& node, const KeyPlace& p, std::int64_t low,
                     std::int64_t high = 32767, std::string_view range_hint = {}) const;
    // "60 °C", or ["60", "°C"] / [60, "°C"].
    QuantityText quantity(const toml::node& node, const KeyPlace& p) const;

    // The keys of `table` by `known` (its keys checked first); Table and Custom entries
    // hold only their place.
    Section section(const toml::table& table, const std::string& name, int line, std::span<const KeySpec> known,
                    const KeyElsewhere& elsewhere = {}) const;

private:
    std::string path_;
};

int LineOf(const toml::node& node);
// A number written with a decimal point, whatever the locale; false when it is none.
bool ParseNumber(const std::string& text, double& out);

// At most one of `keys` may be given in `s`; the one written last is named.
void AtMostOne(const Section& s, std::initializer_list<std::string_view> keys);
// Exactly one of `keys`; missing: `what` names what to give.
void ExactlyOne(const Section& s, std::initializer_list<std::string_view> keys, const std::string& what);
// `key` must be given; `what` names what to give.
const Entry& Require(const Section& s, std::string_view key, const std::string& what);
// `key` must not be given: `why` says why it does not apply.
void Refuse(const Section& s, std::string_view key, const std::string& why);

// --- Conversion to the calculation records (the unit tables must be loaded) ---

// A unit of the loaded unit table by its label: exact, as typed on a plain keyboard
// ("degC", "m3/h", "m2,C/W"), or the one label equal without regard to case. `group` is
// the quantity group the value needs; a temperature difference also takes the
// temperature labels K, °C and °F as ΔK, Δ°C and Δ°F. DutyFileError when the label is
// unknown or of another group.
std::int16_t FindUnit(const QuantityText& q, std::int16_t group, const std::string& file);

// A quantity as the record keeps it: the text and unit as given, and the SI value.
struct GivenQuantity {
    core::InputDataType given;
    core::DutyValue value;
};
// The SI value of a Quantity entry; volume flows through `fluid` at `temp` (°C).
GivenQuantity ConvertQuantity(const Section& s, const Entry& e, core::FluidObject* fluid = nullptr,
                              std::optional<double> temp = std::nullopt);
double SiValue(const Section& s, std::string_view key, core::FluidObject* fluid = nullptr,
               std::optional<double> temp = std::nullopt);
// When `key` is given in `s`: its text into `given` and its SI value into `value`.
void TakeQuantity(const Section& s, std::string_view key, core::InputDataType& given, core::DutyValue& value,
                  core::FluidObject* fluid = nullptr, std::optional<double> temp = std::nullopt);
void TakeCount(const Section& s, std::string_view key, core::InputDataType& given, core::DutyCount& value);
core::InputDataType GivenCount(std::int16_t value);
core::InputDataType GivenNumber(double value);

// The fluid named by the Text entry `key` of `s` (with `concentration` % by mass);
// DutyFileError naming the key with the nearest catalogue names when there is none.
core::FluidRef CreateFluid(const Section& s, std::string_view key, double concentration);

}  // namespace hxq::duty
