#include "engines/two_phase/profile.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::two_phase {

using single_phase::fail;
using single_phase::Props;

namespace {

Props mean_props(const Props& a, const Props& b) {
    Props p;
    p.rho = 0.5 * (a.rho + b.rho);
    p.cp = 0.5 * (a.cp + b.cp);
    p.k = 0.5 * (a.k + b.k);
    p.mu = 0.5 * (a.mu + b.mu);
    p.pr = p.mu * p.cp / p.k;
    return p;
}

Saturation mean_sat(const Saturation& a, const Saturation& b) {
    Saturation s;
    s.rho_l = 0.5 * (a.rho_l + b.rho_l);
    s.rho_v = 0.5 * (a.rho_v + b.rho_v);
    s.mu_l = 0.5 * (a.mu_l + b.mu_l);
    s.mu_v = 0.5 * (a.mu_v + b.mu_v);
    s.k_l = 0.5 * (a.k_l + b.k_l);
    s.pr_l = 0.5 * (a.pr_l + b.pr_l);
    s.latent = 0.5 * (a.latent + b.latent);
    s.sigma = 0.5 * (a.sigma + b.sigma);
    return s;
}

}  // namespace

Saturation PathBuilder::saturation(double p, double& t_bubble, double& t_dew, double& h_l,
                                   double& h_v) const {
    t_bubble = ref_.SatTemperatureBubble(p);
    t_dew = ref_.SatTemperatureDew(p);
    const core::PhaseState l = ref_.RefLiquid(t_bubble);
    const core::PhaseState v = ref_.RefVapor(t_dew);
    Saturation s;
    s.rho_l = l.Density;
    s.rho_v = v.Density;
    s.mu_l = l.Viscosity;
    s.mu_v = v.Viscosity;
    s.k_l = l.Conductivity;
    s.pr_l = l.Viscosity * l.SpecificHeat / l.Conductivity;
    h_l = l.Enthalpy;
    h_v = v.Enthalpy;
    s.latent = h_v - h_l;
    s.sigma = ref_.SurfaceTension(t_bubble);
    const bool ok = s.rho_l > s.rho_v && s.rho_v > 0 && s.mu_l > 0 && s.mu_v > 0 && s.k_l > 0 &&
                    s.latent > 0 && s.sigma > 0 && std::isfinite(s.pr_l);
    if (!ok) fail(single_phase::kOutOfRange);
    return s;
}

RefState PathBuilder::single_phase_state(const core::PhaseState& s, double p, double t, double x) {
    RefState r;
    r.h = s.Enthalpy;
    r.t = t;
    r.p = p;
    r.x = x;
    r.props = single_phase::props_of(s);
    r.rho = r.props.rho;
    return r;
}

RefState PathBuilder::vapour_state(double p, double t) const { return single_phase_state(ref_.VaporState(p, t), p, t, 1); }

RefState PathBuilder::liquid_state(double p, double t) const { return single_phase_state(ref_.LiquidState(p, t), p, t, 0); }

RefState PathBuilder::mixture_state(double p, double x) const {
    RefState r;
    double tb = 0, td = 0, hl = 0, hv = 0;
    r.sat = saturation(p, tb, td, hl, hv);
    r.p = p;
    r.x = x;
    r.h = hl + x * (hv - hl);
    r.t = tb + x * (td - tb);
    r.t_dew = td;
    r.rho = 1.0 / (x / r.sat.rho_v + (1.0 - x) / r.sat.rho_l);
    return r;
}

void PathBuilder::append(Zone zone, std::vector<RefState> states) {
    // The first state of a zone is the last of the one before: one enthalpy for both,
    // so that the segments' heat adds up to the refrigerant's whole change.
    if (!segments_.empty()) states.front().h = segments_.back().b.h;
    for (std::size_t i = 0; i + 1 < states.size(); ++i) {
        Segment s;
        s.zone = zone;
        s.a = states[i];
        s.b = states[i + 1];
        s.dh = std::abs(s.a.h - s.b.h);
        s.x = 0.5 * (s.a.x + s.b.x);
        s.t_dew = 0.5 * (s.a.t_dew + s.b.t_dew);
        s.sat = mean_sat(s.a.sat, s.b.sat);
        if (zone != Zone::TwoPhase) s.ref = mean_props(s.a.props, s.b.props);
        segments_.push_back(s);
    }
}

void PathBuilder::vapour(double p_from, double p_to, double t_from, double t_to, int n) {
    if (!(std::abs(t_from - t_to) > 1e-9)) return;
    std::vector<RefState> states;
    for (int i = 0; i <= n; ++i) {
        const double f = static_cast<double>(i) / n;
        const double p = p_from + (p_to - p_from) * f;
        RefState s = vapour_state(p, t_from + (t_to - t_from) * f);
        // The saturated states of the pressure, for condensation on a cold wall.
        if (i == 0 || p_to != p_from) {
            double tb = 0, hl = 0, hv = 0;
            s.sat = saturation(p, tb, s.t_dew, hl, hv);
        } else {
            s.sat = states.front().sat;
            s.t_dew = states.front().t_dew;
        }
        states.push_back(s);
    }
    append(Zone::Vapour, std::move(states));
}

void PathBuilder::two_phase(double p_from, double p_to, double x_from, double x_to, int n) {
    if (!(std::abs(x_from - x_to) > 1e-12)) return;
    std::vector<RefState> states;
    for (int i = 0; i <= n; ++i) {
        const double f = static_cast<double>(i) / n;
        states.push_back(mixture_state(p_from + (p_to - p_from) * f, x_from + (x_to - x_from) * f));
    }
    append(Zone::TwoPhase, std::move(states));
}

void PathBuilder::liquid(double p, double t_from, double t_to, int n) {
    if (!(std::abs(t_from - t_to) > 1e-9)) return;
    std::vector<RefState> states;
    for (int i = 0; i <= n; ++i) states.push_back(liquid_state(p, t_from + (t_to - t_from) * i / n));
    append(Zone::Liquid, std::move(states));
}

void place_secondary(Profile& p, const core::FluidObject& secondary, bool refrigerant_hot,
                     bool counter, double dt_min) {
    const double c2 = p.m2 * p.cp2;
    const bool by_enthalpy = std::isfinite(secondary.YEnthalpy(p.t2_in));
    const double h_start = by_enthalpy ? secondary.YEnthalpy(counter ? p.t2_out : p.t2_in) : 0;
    const double t_lo = std::min(p.t2_in, p.t2_out), t_hi = std::max(p.t2_in, p.t2_out);
    // Along the refrigerant's flow the secondary cools towards its inlet (counter-current
    // condenser) or warms towards its outlet (co-current condenser); the other way round
    // in an evaporator.
    const double dir = (refrigerant_hot ? -1.0 : 1.0) * (counter ? 1.0 : -1.0);
    const double t_start = counter ? p.t2_out : p.t2_in;
    double cumulative = 0;
    double closest = 1e300;
    p.zone_q = {};
    auto t2_at = [&](double q) {
        if (!by_enthalpy) return t_start + dir * q / c2;
        const double h = h_start + dir * q / p.m2;
        return single_phase::solve_rising([&](double t) { return secondary.YEnthalpy(t) - h; }, t_lo, t_hi);
    };
    for (Segment& s : p.seg) {
        s.t2a = t2_at(cumulative);
        cumulative += p.m1 * s.dh;
        s.t2b = t2_at(cumulative);
        p.zone_q[static_cast<std::size_t>(s.zone)] += p.m1 * s.dh;
        for (double d : {s.a.t - s.t2a, s.b.t - s.t2b}) closest = std::min(closest, refrigerant_hot ? d : -d);
    }
    if (!(closest > 0)) fail(single_phase::kCrossing);
    if (closest < std::max(dt_min, single_phase::kMinApproach)) fail(single_phase::kSmallDifference);
    for (Segment& s : p.seg) {
        s.sec = single_phase::props_at(secondary, s.t_sec());
        // Where the secondary condenses, its heat moves with its vapour: the film carries
        // the enthalpy change over the sensible one (the moisture factor ξ of the wet-coil
        // method, Threlkeld, Thermal Environmental Engineering, 2nd ed., 1970, ch. 11,
        // with a Lewis number of one).
        const double dt = std::abs(s.t2a - s.t2b);
        if (by_enthalpy && dt > 1e-9)
            s.sec_moisture = std::max(1.0, p.m1 * s.dh / (p.m2 * dt) / s.sec.cp);
    }
    p.sec_mean = single_phase::props_at(secondary, 0.5 * (p.t2_in + p.t2_out));
}

}  // namespace hxq::engines::two_phase
