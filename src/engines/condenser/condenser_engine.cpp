#include "engines/condenser/condenser_engine.h"

#include "engines/two_phase/duty.h"
#include "engines/two_phase/result_fill.h"
#include "engines/two_phase/search.h"
#include "platform/error.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace hxq::engines::condenser {

using namespace two_phase;
using single_phase::fail;
using single_phase::Failure;

namespace {

// Segments per zone: the two-phase zone carries most of the area and of the change of the
// coefficients along the unit.
constexpr int kVapourSegments = 3;
constexpr int kTwoPhaseSegments = 6;
constexpr int kLiquidSegments = 2;

// What leaves the unit.
enum class Outlet { Subcooled, Quality, Recovery };

struct Context {
    const core::CondenserInput& in;
    Mode mode;
    DutySet duty;
    Free free = Free::Load;
    const core::FluidObject* ref = nullptr;
    const core::FluidObject* sec = nullptr;
    double t_cond = 0;  // °C, dew point of the inlet pressure
    double p_in = 0;    // Pa
    bool superheated = false;
    double t1_in = 0;   // °C when superheated
    double x_in = 1;
    Outlet outlet = Outlet::Subcooled;
    double subcooling = 0;
    double x_out = 0;
    double q_recovery = 0;  // W, the desuperheater's load

    explicit Context(const core::CondenserInput& input) : in(input), mode(parse_mode(input.CalcMode)) {}
};

// Counts, values and the refrigerant's states: everything that needs no model data.
void check_duty(Context& c) {
    const auto& in = c.in;
    if (!in.Refrigerant || !in.Fluid) fail(single_phase::kParameters);
    c.ref = in.Refrigerant.get();
    c.sec = in.Fluid.get();
    if (!c.ref->IsTwoPhase() || c.sec->IsTwoPhase()) fail(single_phase::kParameters);
    const bool rating = c.mode == Mode::Performance;
    const int too_many = rating ? single_phase::kTooManyRating : single_phase::kTooManyDesign;
    if ((in.InletTemp[1].Given && in.Qin.Given) || (in.SubCooling.Given && in.Qout.Given)) fail(too_many);
    if (in.HeatRecovery.Given && (rating || in.Qout.Given)) fail(too_many);
    c.duty = given_duty(in);
    if (const int code = duty_count_code(c.duty, c.mode, &c.free)) fail(code);
    if (!in.CondTemp.Given) fail(single_phase::kTooFew);
    if (const int code = common_value_code(in)) fail(code);
    for (const core::DutyValue* v : {&in.CondTemp, &in.SubCooling, &in.HeatRecovery})
        if (v->Given && !std::isfinite(v->Value)) fail(single_phase::kParameters);
    if (in.HeatRecovery.Given && !(in.HeatRecovery.Value > 0)) fail(single_phase::kHeatLoad);
    if (in.SubCooling.Given && in.SubCooling.Value < 0) fail(single_phase::kImpossible);
    if (c.mode != Mode::Design && !in.NoOfPlates.Given) fail(single_phase::kNoPlates);

    c.t_cond = in.CondTemp.Value;
    const core::FluidInfoType info = c.ref->FluidInfo();
    if (info.CriticalTemperature != 0 && c.t_cond >= info.CriticalTemperature) fail(single_phase::kOutOfRange);
    c.p_in = c.ref->SatPressureDew(c.t_cond);
    if (in.InletTemp[1].Given) {
        c.t1_in = in.InletTemp[1].Value;
        // A gas entering below its dew point is not superheated vapour.
        if (c.t1_in < c.t_cond) fail(single_phase::kImpossible);
        c.superheated = c.t1_in > c.t_cond;
    } else if (in.Qin.Given) {
        c.x_in = in.Qin.Value;
        if (!(c.x_in > 0)) fail(single_phase::kImpossible);
    }
    if (in.HeatRecovery.Given) {
        c.outlet = Outlet::Recovery;
        c.q_recovery = in.HeatRecovery.Value;
    } else if (in.Qout.Given) {
        c.outlet = Outlet::Quality;
        c.x_out = in.Qout.Value;
        if (!(c.x_out < c.x_in)) fail(single_phase::kImpossible);
    }
    if (in.SubCooling.Given) c.subcooling = in.SubCooling.Value;
}

// The refrigerant's states for a channel pressure drop dp and the duty `d`.
Profile profile(const Context& c, const Model& m, const DutySet& d, double dp) {
    PathBuilder b(*c.ref);
    const double p_out = c.p_in - dp;
    Profile p;
    p.p_in = c.p_in;
    p.p_out = p_out;
    p.dp_assumed = dp;
    p.in = c.superheated ? b.vapour_state(c.p_in, c.t1_in) : b.mixture_state(c.p_in, c.x_in);
    p.in.t_dew = c.t_cond;
    // The outlet of a whole condensation. A heat recovery unit takes the refrigerant flow
    // of its circuit, whose condenser's outlet is counted at the inlet pressure: the
    // circuit's flow does not depend on this unit's drop.
    const double p_full = c.outlet == Outlet::Recovery ? c.p_in : p_out;
    const double tb_out = c.ref->SatTemperatureBubble(p_out);
    const double tb_full = c.ref->SatTemperatureBubble(p_full);
    RefState full_out;
    if (c.outlet == Outlet::Quality) full_out = b.mixture_state(p_full, c.x_out);
    else if (c.subcooling > 0) full_out = b.liquid_state(p_full, tb_full - c.subcooling);
    else full_out = b.mixture_state(p_full, 0.0);

    double x_end = c.outlet == Outlet::Quality ? c.x_out : 0.0;
    const bool to_liquid = c.outlet == Outlet::Subcooled && c.subcooling > 0;
    double h_end = full_out.h;
    DutySet unit = d;
    if (c.outlet == Outlet::Recovery) {
        // The circuit's flow from its whole load (or given); this unit takes its share of
        // the heat, and its own load is that share.
        const double m1 = d.m1 ? *d.m1 : *d.q / (p.in.h - full_out.h);
        if (!(m1 > 0) || c.q_recovery > m1 * (p.in.h - full_out.h) * (1 + 1e-12)) fail(single_phase::kImpossible);
        h_end = p.in.h - c.q_recovery / m1;
        unit.q = c.q_recovery;
        unit.m1.reset();
    }
    // Zones up to h_end.
    double tb = 0, td = 0, hl = 0, hv = 0;
    (void)b.saturation(p_out, tb, td, hl, hv);
    if (c.outlet == Outlet::Recovery && h_end >= hv) {
        // A desuperheater whose gas leaves above the dew point of the outlet pressure: the
        // outlet temperature of that enthalpy, by bisection on the vapour's enthalpy.
        if (!c.superheated) fail(single_phase::kImpossible);
        double lo = td, hi = c.t1_in;
        for (int i = 0; i < 80; ++i) {
            const double mid = 0.5 * (lo + hi);
            (b.vapour_state(p_out, mid).h > h_end ? hi : lo) = mid;
        }
        b.vapour(c.p_in, p_out, c.t1_in, 0.5 * (lo + hi), kVapourSegments);
    } else {
        if (c.superheated) b.vapour(c.p_in, c.p_in, c.t1_in, c.t_cond, kVapourSegments);
        if (c.outlet == Outlet::Recovery) x_end = std::clamp((h_end - hl) / (hv - hl), 0.0, 1.0);
        const int n = std::max(2, static_cast<int>(std::ceil(kTwoPhaseSegments * (c.x_in - x_end))));
        b.two_phase(c.p_in, p_out, c.x_in, x_end, n);
        if (to_liquid) b.liquid(p_out, tb_out, tb_out - c.subcooling, kLiquidSegments);
    }
    p.seg = b.take();
    if (p.seg.empty()) fail(single_phase::kImpossible);
    p.out = p.seg.back().b;
    close_duty(unit, p.in.h - p.out.h, *c.sec, true, p);
    place_secondary(p, *c.sec, true, m.counter, m.dt_min);
    return p;
}

Rated rate(const Context& c, const Model& m) {
    Request r;
    r.mode = c.mode;
    r.free = c.free;
    r.duty = c.duty;
    r.profile = [&](const DutySet& d, double dp) { return profile(c, m, d, dp); };
    const double default_dp1 =
        c.mode == Mode::Design ? c.p_in - c.ref->SatPressureDew(c.t_cond - kDefaultSaturationDrop) : 0;
    r.accept = [&, default_dp1](const Rated& x) {
        return pressure_limit_code(c.in.MaxPressureDrop, x.rating, default_dp1);
    };
    r.plates = c.in.NoOfPlates.Given ? c.in.NoOfPlates.Value : 0;
    r.parallel = c.in.ParallelUnits.Given ? c.in.ParallelUnits.Value : 0;
    r.series = c.in.SerialUnits.Given ? c.in.SerialUnits.Value : 1;
    return run(m, r);
}

void reset(core::CondenserResult& r) { r = core::CondenserResult{}; }

}  // namespace

void CondenserEngine::CheckInput(core::CondenserInput& input, std::int16_t& code) {
    code = static_cast<std::int16_t>(engine_code_of([&] {
        Context c(input);
        check_duty(c);
    }));
}

void CondenserEngine::Calculate(core::CondenserInput& input, core::CondenserResult& result) {
    reset(result);
    const int code = engine_code_of([&] {
        Context c(input);
        check_duty(c);
        Model m = load_model(input, true);
        if (input.NoOfPlates.Given && input.NoOfPlates.Value > m.max_plates) fail(single_phase::kPlateCount);
        // Wall viscosities of the secondary between its temperatures and the refrigerant's.
        double lo = c.t_cond - 60, hi = std::max(c.t1_in, c.t_cond);
        if (input.InletTemp[2].Given) lo = std::max(lo, input.InletTemp[2].Value);
        if (!m.secondary.gas) m.secondary.viscosity.build(*c.sec, std::max(lo, m.freezing_point), hi);
        const Rated r = rate(c, m);
        fill_common(m, r, input, result);
        const Profile& p = r.profile;
        result.HeatRecovery = p.zone_q[static_cast<std::size_t>(Zone::Vapour)];
        result.CondensingTemp = c.t_cond;
        result.FluidCondensed = p.m1 * std::max(0.0, p.in.x - p.out.x);
        const double tb_out = c.ref->SatTemperatureBubble(p.p_out);
        result.SubCooling = p.out.x == 0 ? tb_out - p.out.t : 0;
        result.Qin = p.in.x;
        result.Qout = p.out.x;
        result.CONTempProgram = temperature_program(p.in.t, c.t_cond, p.out.t, p.t2_in, p.t2_out);
    });
    if (code != 0) {
        reset(result);
        result.Status = status_of(code);
    }
}

}  // namespace hxq::engines::condenser
