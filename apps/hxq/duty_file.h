// Duty files of `hxq select`: a TOML file that names the duty kind, the model or group,
// the fluids per side and the given values, each with a unit the units database knows.
// The format is described in docs/duty-files.md.
#pragma once

#include "records/calc_records.h"
#include "platform/db.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hxq::app {

// A malformed duty file: the line (1-based, 0 when unknown) and the key it concerns.
class DutyFileError : public std::runtime_error {
public:
    DutyFileError(std::string file, int line, std::string key, const std::string& message);
    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    const std::string& key() const noexcept { return key_; }
    const std::string& message() const noexcept { return message_; }

private:
    std::string file_;
    int line_;
    std::string key_;
    std::string message_;
};

// Where a key was written, for the messages about it.
struct KeyPlace {
    std::string key;  // dotted, e.g. "side1.inlet_temp"
    int line = 0;
};

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

struct DutySide {
    std::string fluid;
    double concentration = 0;  // % by mass
    KeyPlace fluid_place;
    std::optional<QuantityText> inlet_temp;
    std::optional<QuantityText> outlet_temp;
    std::optional<QuantityText> mass_flow;
    std::optional<QuantityText> max_pressure_drop;
    std::optional<CountValue> passes;
    std::optional<CountValue> channels;
};

enum class TargetKind { Group, Model, Node };

struct DutyFile {
    std::string path;
    std::string kind = "single-phase";
    TargetKind target = TargetKind::Model;
    std::string target_name;     // group or model: alias
    std::int16_t target_node = 0;  // node
    KeyPlace target_place;
    std::string database;        // product database; empty: the main one
    std::string mode = "D";      // engine calculation mode
    bool counter_current = true;
    std::array<DutySide, 2> side;
    std::optional<QuantityText> heat_load;
    std::optional<QuantityText> over_surface;
    std::optional<QuantityText> fouling_factor;
    std::optional<CountValue> parallel_units;
    std::optional<CountValue> plates;
    std::int16_t material = 0;
    bool dual = false;
    bool forced_stock = false;
    core::FilterType filter;
    KeyPlace filter_place;  // [filter], when given
};

// Parses a duty file; DutyFileError for TOML syntax errors, unknown keys, missing
// required keys and values of the wrong type.
DutyFile ParseDutyText(std::string_view text, const std::string& path);
DutyFile ParseDutyFile(const std::string& path);

// The model-tree node a duty names.
struct ResolvedTarget {
    std::int16_t node = 0;
    bool is_group = false;  // some node of the duty is a member ("S/NNN") of it
    std::string alias;
    std::string tag;        // the node's XerTag
};

// Finds the duty's group, model or node in the ModelTree of `product` (at `path`) among
// the single-phase nodes the user level may see. DutyFileError naming the target key
// when there is none or more than one.
ResolvedTarget ResolveTarget(const DutyFile& duty, platform::Database& product, const std::string& path,
                             const std::string& user_level);

// A unit of the loaded unit table by its label: exact, as typed on a plain keyboard
// ("degC", "m3/h", "m2,C/W"), or the one label equal without regard to case. `group` is
// the quantity group the value needs; DutyFileError when the label is unknown or of
// another group.
std::int16_t FindUnit(const QuantityText& q, std::int16_t group, const std::string& file);

// The calculation record of a single-phase duty: given values as written, the engine
// input in SI (fluids created from the catalogue). The units tables must be loaded.
core::SPCDataType BuildSPCData(const DutyFile& duty, const ResolvedTarget& target, const std::string& database);

// The installation the program works with: the machine-wide store of $HXQ_REGISTRY and
// the user settings file `ini`. Either one not given falls back to the sample
// installation of the build (<program folder>/../../sample/registry.ini and hxq.ini)
// when it is there. Loads the settings, points the fluid component at the fluid
// database and opens the units database; platform::Error when that cannot be opened.
struct Installation {
    std::string registry;  // the store in use ("" when none was found)
    std::string ini;       // the settings file in use ("" when none was found)
};
Installation PrepareInstallation(const std::string& ini, const std::string& user_level);

}  // namespace hxq::app
