#include "engines/two_phase/duty.h"

#include "engines/single_phase/rating.h"
#include "platform/error.h"

#include <cmath>

namespace hxq::engines::two_phase {

using namespace single_phase;  // engine codes and the single-phase heat balance

Mode parse_mode(const std::string& text) {
    if (text == "D") return Mode::Design;
    if (text == "P") return Mode::Performance;
    if (text == "X") return Mode::Check;
    fail(kParameters);
}

template <typename Input>
DutySet given_duty(const Input& in) {
    DutySet d;
    if (in.HeatLoad.Given) d.q = in.HeatLoad.Value;
    if (in.MassFlow[1].Given) d.m1 = in.MassFlow[1].Value;
    if (in.MassFlow[2].Given) d.m2 = in.MassFlow[2].Value;
    if (in.InletTemp[2].Given) d.t2_in = in.InletTemp[2].Value;
    if (in.OutletTemp[2].Given) d.t2_out = in.OutletTemp[2].Value;
    return d;
}
template DutySet given_duty(const core::CondenserInput&);
template DutySet given_duty(const core::EvaporatorInput&);

int duty_count_code(const DutySet& d, Mode mode, Free* free) {
    const bool rating = mode == Mode::Performance;
    const int needed = rating ? 2 : 3;
    const int too_many = rating ? kTooManyRating : kTooManyDesign;
    const int n = d.count();
    // Load and refrigerant flow say the same through the refrigerant's enthalpy change.
    if (n > needed || (d.q && d.m1)) return too_many;
    if (!d.q && !d.m1 && !d.m2 && !rating) return kNoFlow;
    if (n < needed) return kTooFew;
    if (!rating) return 0;
    const bool load = d.q || d.m1;
    if (load && !d.t2_in && !d.t2_out) return kTooFew;
    if (free) *free = load ? Free::SecondaryFlow : Free::Load;
    return 0;
}

template <typename Input>
int common_value_code(const Input& in) {
    auto bad = [](const core::DutyValue& v) { return v.Given && !std::isfinite(v.Value); };
    auto not_positive = [](const core::DutyValue& v) { return v.Given && !(v.Value > 0); };
    if (bad(in.HeatLoad)) return kParameters;
    if (not_positive(in.HeatLoad)) return kHeatLoad;
    for (int s = 1; s <= 2; ++s) {
        if (bad(in.InletTemp[s]) || bad(in.OutletTemp[s]) || bad(in.MassFlow[s]) || bad(in.MaxPressureDrop[s]))
            return kParameters;
        if (not_positive(in.MassFlow[s]) || not_positive(in.MaxPressureDrop[s])) return kParameters;
    }
    if (bad(in.Qin) || bad(in.Qout) || bad(in.FoulingFactor) || bad(in.OverSurface)) return kParameters;
    if (in.FoulingFactor.Given && in.FoulingFactor.Value < 0) return kParameters;
    if (in.OverSurface.Given && !(in.OverSurface.Value > -100)) return kParameters;
    if (in.ParallelUnits.Given && in.ParallelUnits.Value < 1) return kParameters;
    if (in.SerialUnits.Given && in.SerialUnits.Value < 1) return kParameters;
    for (const core::DutyValue* x : {&in.Qin, &in.Qout})
        if (x->Given && !(x->Value >= 0 && x->Value <= 1)) return kImpossible;
    if (in.NoOfPlates.Given) {
        if (in.NoOfPlates.Value < 4) return min_plates_code(1);
        if (in.NoOfPlates.Value % 2 != 0) return kPlateCount;
    }
    return 0;
}
template int common_value_code(const core::CondenserInput&);
template int common_value_code(const core::EvaporatorInput&);


double temperature_of_enthalpy(const core::FluidObject& f, double h, double t_lo, double t_hi) {
    return solve_rising([&](double t) { return f.YEnthalpy(t) - h; }, t_lo, t_hi);
}

namespace {
// Secondaries balanced by enthalpy (humid air that condenses) stay within these (°C).
constexpr double kEnthalpyTMin = -40, kEnthalpyTMax = 120;

void close_by_enthalpy(const DutySet& d, double q, int dir, const core::FluidObject& f, Profile& p) {
    auto h = [&](double t) { return f.YEnthalpy(t); };
    if (d.t2_in && d.t2_out) {
        p.t2_in = *d.t2_in;
        p.t2_out = *d.t2_out;
        if (dir * (p.t2_in - p.t2_out) <= 0) fail(kImpossible);
        p.m2 = d.m2 ? *d.m2 : q / std::abs(h(p.t2_in) - h(p.t2_out));
    } else if (d.t2_in && d.m2) {
        p.t2_in = *d.t2_in;
        p.m2 = *d.m2;
        const double target = h(p.t2_in) - dir * q / p.m2;
        const double lo = dir > 0 ? kEnthalpyTMin : p.t2_in, hi = dir > 0 ? p.t2_in : kEnthalpyTMax;
        if (!(target >= h(lo) && target <= h(hi))) fail(kOutOfRange);
        p.t2_out = temperature_of_enthalpy(f, target, lo, hi);
    } else if (d.t2_out && d.m2) {
        p.t2_out = *d.t2_out;
        p.m2 = *d.m2;
        const double target = h(p.t2_out) + dir * q / p.m2;
        const double lo = dir > 0 ? p.t2_out : kEnthalpyTMin, hi = dir > 0 ? kEnthalpyTMax : p.t2_out;
        if (!(target >= h(lo) && target <= h(hi))) fail(kOutOfRange);
        p.t2_in = temperature_of_enthalpy(f, target, lo, hi);
    } else {
        fail(kTooFew);
    }
}
}  // namespace

void close_duty(const DutySet& d, double dh, const core::FluidObject& secondary, bool refrigerant_hot,
                Profile& p) {
    if (!(dh > 0)) fail(kImpossible);
    // The secondary's direction: +1 cooled (evaporator), −1 heated (condenser).
    const int dir = refrigerant_hot ? -1 : 1;
    const double unbounded = dir > 0 ? -1e300 : 1e300;
    double q = 0;
    if (d.q) q = *d.q;
    else if (d.m1) q = *d.m1 * dh;
    else if (d.t2_in && d.t2_out && d.m2)
        q = has_enthalpy(secondary, *d.t2_in)
                ? *d.m2 * std::abs(secondary.YEnthalpy(*d.t2_in) - secondary.YEnthalpy(*d.t2_out))
                : load_of(secondary, *d.t2_in, *d.t2_out, *d.m2);
    else fail(kTooFew);
    if (!(q > 0)) fail(kHeatLoad);
    p.q = q;
    p.m1 = d.m1 ? *d.m1 : q / dh;
    const double t_any = d.t2_in ? *d.t2_in : *d.t2_out;
    if (has_enthalpy(secondary, t_any)) {
        close_by_enthalpy(d, q, dir, secondary, p);
        p.cp2 = cp_at(secondary, 0.5 * (p.t2_in + p.t2_out));
        return;
    }
    if (d.t2_in && d.t2_out) {
        p.t2_in = *d.t2_in;
        p.t2_out = *d.t2_out;
        if (dir * (p.t2_in - p.t2_out) <= 0) fail(kImpossible);
        p.m2 = d.m2 ? *d.m2 : q / (cp_at(secondary, 0.5 * (p.t2_in + p.t2_out)) * std::abs(p.t2_in - p.t2_out));
    } else if (d.t2_in && d.m2) {
        p.t2_in = *d.t2_in;
        p.m2 = *d.m2;
        p.t2_out = outlet_for(secondary, p.t2_in, q, p.m2, dir, unbounded);
    } else if (d.t2_out && d.m2) {
        p.t2_out = *d.t2_out;
        p.m2 = *d.m2;
        p.t2_in = inlet_for(secondary, p.t2_out, q, p.m2, dir);
    } else {
        fail(kTooFew);
    }
    p.cp2 = cp_at(secondary, 0.5 * (p.t2_in + p.t2_out));
}

int engine_code_of(const std::function<void()>& body) {
    try {
        body();
        return 0;
    } catch (const Failure& f) {
        return f.code;
    } catch (const platform::Error& e) {
        if (e.number() == platform::kObjectError + core::kFluidRangeCode) return kOutOfRange;
        throw;
    }
}

std::int16_t status_of(int code) { return static_cast<std::int16_t>(code == kNoSolution ? 0 : code); }

}  // namespace hxq::engines::two_phase
