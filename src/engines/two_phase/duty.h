// The duty of a two-phase unit as both engines read it: the calculation mode, the count
// of given quantities, the checks of their values and the closure of the heat balance.
#pragma once

#include "engines/two_phase/profile.h"
#include "records/two_phase_records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace hxq::engines::two_phase {

enum class Mode { Design, Performance, Check };
// "D", "P" or "X"; engine code 5 otherwise.
Mode parse_mode(const std::string& text);

// The five quantities of the heat balance: load, refrigerant flow and the secondary's
// inlet, outlet and flow. Unset ones follow from the others and the refrigerant's states.
struct DutySet {
    std::optional<double> q, m1, t2_in, t2_out, m2;
    int count() const { return !!q + !!m1 + !!t2_in + !!t2_out + !!m2; }
};

// What the performance rating solves for: the load (the secondary given by two of its
// quantities) or the secondary flow (the load or refrigerant flow and one secondary
// temperature given).
enum class Free { Load, SecondaryFlow };

// The given quantities of an input (load, flows per side, secondary temperatures).
template <typename Input>
DutySet given_duty(const Input& in);

// Checks the count of the given quantities: a design or check needs three, a rating two;
// returns 0 or the engine code (39/42 too many, 40 too few, 43 no flow or load at all).
// For a rating, `free` says what it solves for.
int duty_count_code(const DutySet& d, Mode mode, Free* free = nullptr);

// Checks values every duty shares: finite numbers, positive flows, loads and limits,
// fouling, margin and unit counts. Returns 0 or the engine code.
template <typename Input>
int common_value_code(const Input& in);

// Runs `body`; returns 0, or the engine code it failed with (a fluid's range error is
// code 3; any other platform error goes on).
int engine_code_of(const std::function<void()>& body);
// The result status of an engine code: "no solution" (15) is status 0.
std::int16_t status_of(int code);

// A secondary that gives an enthalpy (humid air that condenses) is balanced by it, not by
// cp ΔT; the temperature of enthalpy h between t_lo and t_hi.
using single_phase::has_enthalpy;
double temperature_of_enthalpy(const core::FluidObject& f, double h, double t_lo, double t_hi);

// Closes the heat balance for a refrigerant whose specific enthalpy changes by `dh`
// (J/kg, > 0) and fills q, m1, m2, t2_in, t2_out and cp2 of the profile. The secondary is
// heated when `refrigerant_hot`.
void close_duty(const DutySet& d, double dh, const core::FluidObject& secondary, bool refrigerant_hot,
                Profile& p);

}  // namespace hxq::engines::two_phase
