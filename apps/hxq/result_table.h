// The alternatives of a single-phase selection as aligned text tables or as JSON, in
// the SI or US output units of the units database (docs/duty-files.md, "Output").
#pragma once

#include "result_common.h"
#include "single_phase_remarks.h"

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace hxq::app {

// The channel text of side `side` of an alternative as the printouts compose it: each
// count per pass followed by its channel type letter, joined by "+"; several passes as
// "<passes>*(<counts>)".
std::string ChannelText(const core::OutDataType& alternative, int side);

// The printed designation of an alternative (FormatModelDesignation).
std::string Designation(const core::OutDataType& alternative, bool dual_pair);

// The filled slots of `data`, best first: alternative N is element N - 1.
std::vector<const core::OutDataType*> ListedAlternatives(const core::SPCDataType& data);

// A dual calculation of a model that is not dual: two circuits of the designed unit in
// one pack.
bool IsDualPair(const core::SPCDataType& data, const core::OutDataType& alternative);

// Circuits whose flows the printed flows cover: 2 for a dual model and for a dual pair
// (the engine's record holds one circuit's flows, the load is the unit's), else 1.
int Circuits(const core::SPCDataType& data, const core::OutDataType& alternative);

// The fluid of a side as printed: its name, with the concentration for a solution.
std::string FluidText(const core::SPCDataType& data, int side);

// What the remarks compare with from the duty of `data`.
SinglePhaseDuty DutyOf(const core::SPCDataType& data);

// The two blocks: "performance" (one row per alternative, with the remark marks) and
// "sides" (one row per side), then the remark legend. "No alternatives." when no slot is
// filled.
std::string ResultTable(const core::SPCDataType& data, OutputSystem system, const Labels& text = {});

// One alternative as JSON, every quantity as {"value": number, "unit": label}.
nlohmann::json AlternativeJson(const core::SPCDataType& data, const core::OutDataType& alternative, int rank,
                               const QuantityUnits& units);

// The duty's model or group and one object per filled slot.
nlohmann::json ResultJson(const core::SPCDataType& data, OutputSystem system);

// Prints the tables (or JSON) on stdout, or with `detail` the full result of that
// alternative; an alternative that is not listed is a message on stderr. The exit status.
int PrintSinglePhase(const core::SPCDataType& data, OutputSystem system, bool json, std::optional<int> detail,
                     const Labels& text = {});

}  // namespace hxq::app
