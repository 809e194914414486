// The model tree of a product database: the queries that pick the rows of a model or
// group, and the walk of a node's subtree that has a duty driver rate every candidate
// the duty and the user level allow, each model row at most once per run.
#pragma once

#include "records/calc_records.h"
#include "platform/db.h"
#include "platform/variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace hxq::core {

// The duty letters of the `Group` column.
enum class Duty { SinglePhase, Condenser, Evaporator, TwoStage };

char DutyLetter(Duty duty);  // S, C, E, T

// "" for a Null (or empty) field, otherwise the field's value as text.
std::string NullToText(const platform::Variant& field);

// A text made safe for a quoted Jet literal: single quotes doubled.
std::string JetText(std::string_view text);

// The driver's main query: the rows of group `group_or_node` for a group calculation,
// otherwise the one row of node `group_or_node`. The cascade uses Duty::Evaporator.
std::string MainQuery(Duty duty, bool is_group, long group_or_node, std::string_view user_level);

// " AND Instr(Group,'S')>0 AND Instr(UserLevel, '<lvl>')>0" for the duty.
std::string DutyTerm(Duty duty, std::string_view user_level);

// The record positions (AbsolutePosition of the ModelTree recordset) already rated in
// the current run. Positions are kept as long: a tree beyond 32767 rows stays correct.
class CalculatedSet {
public:
    bool IsCalculated(long position) const { return positions_.count(position) != 0; }
    void Add(long position) { positions_.insert(position); }
    void Clear() { positions_.clear(); }
    std::size_t size() const { return positions_.size(); }

private:
    std::unordered_set<long> positions_;
};

struct WalkOptions {
    Duty duty = Duty::SinglePhase;
    std::string user_level;
    // Single-phase mode "PM": children and the node itself are found by ParentID/NodeID
    // alone, without duty and user-level terms.
    bool without_terms = false;
    // The cascade's condenser side: a childless node is found without the duty letter.
    bool ignore_duty_letter = false;
};

// What a duty driver plugs into the walk for one candidate row.
template <class Alternative>
class CandidateRating {
public:
    virtual ~CandidateRating() = default;
    // FilterCheck of the driver's engine input for the node.
    virtual bool PassesFilter(std::int16_t node) = 0;
    // SetData, engine and price for the model row `tree` stands on. `alternative`
    // already carries the row's designation, cross-flow and dual flags. The tree may be
    // moved; the walk restores its position.
    virtual void Rate(platform::Recordset& tree, Alternative& alternative) = 0;
    // BetterAlternative(candidate, best): the candidate replaces the best so far (an
    // equal candidate replaces it too).
    virtual bool Better(const Alternative& candidate, const Alternative& best) = 0;
};

// The best alternative of node `node`'s subtree, or nothing when no row of it was rated
// (every row filtered out, already rated, or hidden by the duty and level terms).
// `tree` is the whole ModelTree table; its position afterwards is unspecified.
template <class Alternative>
std::optional<Alternative> NodeCalc(platform::Recordset& tree, std::int16_t node, const WalkOptions& options,
                                    CalculatedSet& calculated, CandidateRating<Alternative>& rating);

// Copies ChannelCombination, PureType, ChannelType, ModelID and nodeid of the current
// tree row into the alternative's designation members, and its cross-flow and dual
// flags from Information2 and Dual where those are not Null. Two-stage alternatives get
// them in both stages.
void ReadDesignation(const platform::Recordset& tree, OutDataType& alternative);
void ReadDesignation(const platform::Recordset& tree, CONOutDataType& alternative);
void ReadDesignation(const platform::Recordset& tree, VAPOutDataType& alternative);
void ReadDesignation(const platform::Recordset& tree, TwoStageOutDataType& alternative);

// Reads an int16 field or value: Null and empty give 0; out of range is error 6.
std::int16_t ToInt16(const platform::Variant& value);

}  // namespace hxq::core
