// A duty file as read, before anything is looked up or converted: its kind, the model or
// group it names, and the values of its tables with the line of each. Reading checks the
// keys (unknown, missing, contradictory) of the file's duty kind; the readers of each
// kind (single_phase_duty.h, two_phase_duty.h, air_dryer_duty.h, two_stage_duty.h,
// cascade_duty.h) then build the
// calculation record. The format is described in docs/duty-files.md.
#pragma once

#include "duty/duty_values.h"
#include "records/calc_records.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hxq::duty {

enum class DutyKind { SinglePhase, Condenser, Evaporator, AirDryerDesign, AirDryerRating, TwoStage, Cascade };

// "single-phase", "condenser", "evaporator", "air-dryer" (both air-dryer kinds),
// "two-stage", "cascade".
std::string_view DutyName(DutyKind kind);
// The duty letter of the model tree's Group column: S, C, E, A or T (a cascade's units
// are in the evaporator tree).
char DutyLetter(DutyKind kind);

enum class TargetKind { Group, Model, Node };

struct DutyDocument;

// The keys of one duty kind: the top level and each table, and the checks of what must
// and must not be given together.
struct KindLayout {
    DutyKind kind = DutyKind::SinglePhase;
    std::string_view plural;  // "condenser duties": what a key of this kind is "a key of"
    std::vector<KeySpec> top;
    std::vector<std::pair<std::string_view, std::vector<KeySpec>>> tables;
    void (*check)(const DutyDocument&) = nullptr;
};

struct DutyDocument {
    std::string path;
    DutyKind kind = DutyKind::SinglePhase;
    TargetKind target = TargetKind::Model;
    std::string target_name;       // group or model: alias
    std::int16_t target_node = 0;  // node
    KeyPlace target_place;
    std::string database;  // product database; empty: the main one
    Section top;
    std::map<std::string, Section, std::less<>> tables;
    core::FilterType filter;
    KeyPlace filter_place;  // [filter], when given

    // The table `name` of the kind; one the file does not hold is empty and not present.
    const Section& table(std::string_view name) const;
};

// Reads a duty file; DutyFileError for TOML syntax errors, unknown keys, missing required
// keys, contradictory keys and values of the wrong type.
DutyDocument ParseDutyText(std::string_view text, const std::string& path);
DutyDocument ParseDutyFile(const std::string& path);

// Mode keys shared by the kinds that rate one unit: the engine's calculation mode text.
std::string EngineMode(const Section& top);

}  // namespace hxq::duty
