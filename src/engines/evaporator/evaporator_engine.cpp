#include "engines/evaporator/evaporator_engine.h"

#include "engines/fluid/air.h"
#include "engines/two_phase/duty.h"
#include "engines/two_phase/result_fill.h"
#include "engines/two_phase/search.h"
#include "platform/error.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::evaporator {

using namespace two_phase;
using single_phase::fail;
using single_phase::Failure;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTwoPhaseSegments = 6;
constexpr int kVapourSegments = 3;
// Discharge coefficient of a sharp-edged orifice (ISO 5167-2; Idelchik, Handbook of
// Hydraulic Resistance, 3rd ed., diagram 4-10: about 0.61 at large Reynolds numbers).
constexpr double kOrificeDischarge = 0.61;

struct Context {
    const core::EvaporatorInput& in;
    Mode mode;
    DutySet duty;
    Free free = Free::Load;
    const core::FluidObject* ref = nullptr;
    const core::FluidObject* sec = nullptr;
    double t_evap = 0;  // °C, dew point of the outlet pressure
    double p_out = 0;   // Pa
    double x_in = 0;
    double superheat = 0;  // K
    double x_out = 1;      // below 1: the refrigerant leaves wet

    explicit Context(const core::EvaporatorInput& input) : in(input), mode(parse_mode(input.CalcMode)) {}
};

void check_duty(Context& c) {
    const auto& in = c.in;
    if (!in.Refrigerant || !in.Fluid) fail(single_phase::kParameters);
    c.ref = in.Refrigerant.get();
    c.sec = in.Fluid.get();
    if (!c.ref->IsTwoPhase() || c.sec->IsTwoPhase()) fail(single_phase::kParameters);
    const bool rating = c.mode == Mode::Performance;
    const int too_many = rating ? single_phase::kTooManyRating : single_phase::kTooManyDesign;
    const int outlets = in.SuperHeating.Given + in.OutletTemp[1].Given + in.Qout.Given;
    if (outlets > 1) fail(too_many);
    c.duty = given_duty(in);
    if (const int code = duty_count_code(c.duty, c.mode, &c.free)) fail(code);
    if (!in.EvapTemp.Given || !in.Qin.Given) fail(single_phase::kTooFew);
    if (const int code = common_value_code(in)) fail(code);
    for (const core::DutyValue* v : {&in.EvapTemp, &in.SuperHeating})
        if (v->Given && !std::isfinite(v->Value)) fail(single_phase::kParameters);
    if (c.mode != Mode::Design && !in.NoOfPlates.Given) fail(single_phase::kNoPlates);

    c.t_evap = in.EvapTemp.Value;
    const core::FluidInfoType info = c.ref->FluidInfo();
    if (info.CriticalTemperature != 0 && c.t_evap >= info.CriticalTemperature) fail(single_phase::kOutOfRange);
    c.p_out = c.ref->SatPressureDew(c.t_evap);
    c.x_in = in.Qin.Value;
    if (!(c.x_in < 1)) fail(single_phase::kImpossible);
    if (in.SuperHeating.Given) c.superheat = in.SuperHeating.Value;
    if (in.OutletTemp[1].Given) c.superheat = in.OutletTemp[1].Value - c.t_evap;
    if (c.superheat < 0) fail(single_phase::kImpossible);
    if (in.Qout.Given) {
        c.x_out = in.Qout.Value;
        if (!(c.x_out > c.x_in)) fail(single_phase::kImpossible);
    }
    // A secondary asked to leave below its freezing point.
    const core::FluidInfoType sec = c.sec->FluidInfo();
    if (sec.Category == core::FluidCategory::Liquid && in.OutletTemp[2].Given && in.OutletTemp[2].Value < sec.Range.TMin)
        fail(kFreezing);
}

Profile profile(const Context& c, const Model& m, const DutySet& d, double dp) {
    PathBuilder b(*c.ref);
    Profile p;
    p.p_out = c.p_out;
    p.p_in = c.p_out + dp;
    p.dp_assumed = dp;
    const int n = std::max(2, static_cast<int>(std::ceil(kTwoPhaseSegments * (c.x_out - c.x_in))));
    b.two_phase(p.p_in, c.p_out, c.x_in, c.x_out, n);
    if (c.x_out >= 1 && c.superheat > 0) b.vapour(c.p_out, c.p_out, c.t_evap, c.t_evap + c.superheat, kVapourSegments);
    p.seg = b.take();
    p.in = p.seg.front().a;
    p.out = p.seg.back().b;
    close_duty(d, p.out.h - p.in.h, *c.sec, false, p);
    if (p.t2_out < m.freezing_point) fail(kFreezing);
    place_secondary(p, *c.sec, false, m.counter, m.dt_min);
    return p;
}

// Pressure drop of the distributor ring of one unit: the orifices as sharp-edged
// orifices of the homogeneous inlet mixture, plus one velocity head at the ring's inlet.
double ring_drop(const core::EvaporatorInput& in, const Profile& p, int parallel) {
    if (!in.VRing) return 0;
    const double m = p.m1 / parallel;
    const double rho = p.in.rho;
    const double orifice = kPi * in.Dorifice * in.Dorifice / 4.0;
    const double inlet = kPi * in.DiameterIN * in.DiameterIN / 4.0;
    const double g_or = m / in.NoOrifice / orifice;
    const double g_in = m / inlet;
    return g_or * g_or / (2.0 * rho * kOrificeDischarge * kOrificeDischarge) + g_in * g_in / (2.0 * rho);
}

int acceptance(const core::EvaporatorInput& in, const Rated& r, double default_dp1) {
    if (r.rating.freezes) return kFreezing;
    if (const int code = pressure_limit_code(in.MaxPressureDrop, r.rating, default_dp1)) return code;
    if (in.VRing) {
        const double dp = ring_drop(in, r.profile, r.layout.parallel);
        if ((in.MaxPressureDropVRing > 0 && dp > in.MaxPressureDropVRing) ||
            (in.MinPressureDropVRing > 0 && dp < in.MinPressureDropVRing))
            return kDistributor;
    }
    return 0;
}

void reset(core::EvaporatorResult& r) {
    r = core::EvaporatorResult{};
    r.HeatTransferArea = 1e30;
}

}  // namespace

void EvaporatorEngine::CheckInput(core::EvaporatorInput& input, std::int16_t& code) {
    code = static_cast<std::int16_t>(engine_code_of([&] {
        Context c(input);
        check_duty(c);
    }));
}

void EvaporatorEngine::Calculate(core::EvaporatorInput& input, core::EvaporatorResult& result) {
    reset(result);
    const int code = engine_code_of([&] {
        Context c(input);
        check_duty(c);
        Model m = load_model(input, false);
        if (input.VRing && !(input.NoOrifice > 0 && input.Dorifice > 0 && input.DiameterIN > 0 &&
                             std::isfinite(input.Dorifice) && std::isfinite(input.DiameterIN)))
            fail(single_phase::kParameters);
        if (input.NoOfPlates.Given && input.NoOfPlates.Value > m.max_plates) fail(single_phase::kPlateCount);
        double hi = c.t_evap + 60;
        if (input.InletTemp[2].Given) hi = std::min(hi, input.InletTemp[2].Value);
        if (!m.secondary.gas) m.secondary.viscosity.build(*c.sec, std::max(c.t_evap - 5, m.freezing_point), hi);

        Request r;
        r.mode = c.mode;
        r.free = c.free;
        r.duty = c.duty;
        r.profile = [&](const DutySet& d, double dp) { return profile(c, m, d, dp); };
        const double default_dp1 =
            c.mode == Mode::Design ? c.ref->SatPressureDew(c.t_evap + kDefaultSaturationDrop) - c.p_out : 0;
        r.accept = [&, default_dp1](const Rated& x) { return acceptance(input, x, default_dp1); };
        r.plates = input.NoOfPlates.Given ? input.NoOfPlates.Value : 0;
        r.parallel = input.ParallelUnits.Given ? input.ParallelUnits.Value : 0;
        r.series = input.SerialUnits.Given ? input.SerialUnits.Value : 1;
        const Rated rated = run(m, r);
        fill_common(m, rated, input, result);
        const Profile& p = rated.profile;
        result.EvapTemp = c.t_evap;
        result.SuperHeat = p.out.x >= 1 ? p.out.t - c.t_evap : 0;
        result.OutletTempGas = p.out.t;
        result.FluidVaporized = p.m1 * (std::min(p.out.x, 1.0) - p.in.x);
        result.InletVaporFlow = p.m1 * p.in.x;
        result.Xin = p.in.x;
        result.Xout = std::min(p.out.x, 1.0);
        result.TwoPhaseInlet = p.in.x > 0;
        result.VType = input.VRing;
        if (input.VRing) {
            result.Dorifice = input.Dorifice * 1000.0;  // engine: mm
            result.DiameterIN = input.DiameterIN * 1000.0;
            result.VRingPressureDrop = ring_drop(input, p, rated.layout.parallel);
            result.VRingPressureDropMin = input.MinPressureDropVRing;
            result.VRingPressureDropMax = input.MaxPressureDropVRing;
            result.PressureDrop[1] += result.VRingPressureDrop;
        }
        if (has_enthalpy(*c.sec, p.t2_out)) {
            const double w_in = c.sec->YConc() / 1000.0;
            // Per kg of air entering: all the water that is liquid at the outlet, of which
            // this unit condensed what was still vapour at its inlet (air pre-cooled below
            // its dew point upstream brings condensate along).
            const double condensed = c.sec->YCondensate(p.t2_out);
            result.CondensateFlow = p.m2 * std::max(0.0, condensed - c.sec->YCondensate(p.t2_in));
            result.OutletHumidity = w_in - condensed * (1.0 + w_in);
            const auto* air = dynamic_cast<const fluid::HumidAirFluid*>(c.sec);
            result.PressureDewPoint = condensed > 0 || !air ? p.t2_out : air->DewPoint();
        }
        double dew_in = c.ref->SatTemperatureDew(p.p_in);
        result.VAPTempProgram = temperature_program(p.in.t, dew_in, p.out.t, p.t2_in, p.t2_out);
    });
    if (code != 0) {
        reset(result);
        result.Status = status_of(code);
    }
}

}  // namespace hxq::engines::evaporator
