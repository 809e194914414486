// The states a refrigerant passes through one duty, cut into segments of the moving-
// boundary zones (superheated vapour, two-phase, subcooled liquid), with the secondary
// fluid's temperatures beside them. A profile depends on the duty only, not on the unit:
// the layouts of a design search are rated on the same profile.
#pragma once

#include "engines/single_phase/rating.h"
#include "engines/two_phase/correlations.h"
#include "records/fluid_object.h"

#include <array>
#include <vector>

namespace hxq::engines::two_phase {

enum class Zone { Vapour = 0, TwoPhase = 1, Liquid = 2 };
inline constexpr int kZones = 3;

// One refrigerant state at a segment boundary.
struct RefState {
    double h = 0;  // J/kg
    double t = 0;  // °C
    double p = 0;  // Pa
    double x = 0;  // vapour quality: 1 for vapour, 0 for liquid
    double rho = 0;  // kg/m³, homogeneous in the two-phase zone
    single_phase::Props props;  // single-phase states
    Saturation sat;             // the saturated states of p (two-phase states, and the
                                // dew state of a vapour zone for wet-wall condensation)
    double t_dew = 0;           // °C, dew temperature of p
};

// One segment between two states, in the refrigerant's flow direction.
struct Segment {
    Zone zone = Zone::TwoPhase;
    RefState a, b;
    double dh = 0;               // J/kg exchanged, |h_a − h_b|
    double t2a = 0, t2b = 0;     // °C, secondary beside a and b
    single_phase::Props sec;     // secondary at its mean over the segment
    double sec_moisture = 1;     // enthalpy over sensible heat of a condensing secondary
    single_phase::Props ref;     // refrigerant mean (single-phase zones)
    Saturation sat;              // mean saturated states (two-phase, wet wall)
    double x = 0;                // mean quality
    double t_dew = 0;            // mean dew temperature
    double t_ref() const { return 0.5 * (a.t + b.t); }
    double t_sec() const { return 0.5 * (t2a + t2b); }
};

// Appends zones of states along the refrigerant's path, `n` segments each.
class PathBuilder {
public:
    explicit PathBuilder(const core::FluidObject& refrigerant) : ref_(refrigerant) {}
    // Vapour from (p_from, t_from) to (p_to, t_to), linear in both.
    void vapour(double p_from, double p_to, double t_from, double t_to, int n);
    // Two-phase from (p_from, x_from) to (p_to, x_to), linear in both.
    void two_phase(double p_from, double p_to, double x_from, double x_to, int n);
    // Liquid at p from t_from to t_to.
    void liquid(double p, double t_from, double t_to, int n);
    std::vector<Segment> take() { return std::move(segments_); }

    // States (also used by the engines for the ends of a duty).
    RefState vapour_state(double p, double t) const;
    RefState liquid_state(double p, double t) const;
    // Two-phase state of quality x: temperature and enthalpy linear between the bubble
    // and the dew state of p (the glide of a zeotropic blend is taken linear in enthalpy).
    RefState mixture_state(double p, double x) const;
    Saturation saturation(double p, double& t_bubble, double& t_dew, double& h_l, double& h_v) const;

private:
    static RefState single_phase_state(const core::PhaseState& s, double p, double t, double x);
    void append(Zone zone, std::vector<RefState> states);
    const core::FluidObject& ref_;
    std::vector<Segment> segments_;
};

// A duty closed on both sides, with its segments.
struct Profile {
    std::vector<Segment> seg;
    double q = 0;                // W, whole duty
    double m1 = 0, m2 = 0;       // kg/s, whole duty
    RefState in, out;            // refrigerant entering and leaving
    double p_in = 0, p_out = 0;  // Pa
    double t2_in = 0, t2_out = 0;
    double cp2 = 0;              // J/(kg K), secondary at its mean temperature
    single_phase::Props sec_mean;
    std::array<double, kZones> zone_q{};  // W per zone
    double dp_assumed = 0;       // Pa, refrigerant channel pressure drop the states assume
};

// Places the secondary beside the segments: its temperatures from the cumulative heat
// (cp at the mean of its inlet and outlet, as its load is computed) and its properties.
// `refrigerant_hot` (condenser) or not (evaporator); `counter` current or co-current.
// Throws engine code 1 where the temperatures cross anywhere along the unit and 9 where
// they come closer than dt_min.
void place_secondary(Profile& p, const core::FluidObject& secondary, bool refrigerant_hot,
                     bool counter, double dt_min);

}  // namespace hxq::engines::two_phase
