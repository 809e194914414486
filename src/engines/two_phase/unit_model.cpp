#include "engines/two_phase/unit_model.h"

#include "platform/error.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::two_phase {

using single_phase::fail;
using single_phase::kParameters;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Port losses: the single-phase engine's 1.4 velocity heads per pass (Kakaç & Liu, Heat
// Exchangers: Selection, Rating and Thermal Design, 2nd ed., ch. 10), split evenly
// between the inlet and the outlet port, each at its own density: a refrigerant enters
// and leaves at densities that differ by a factor of ten or more.
constexpr double kPortHeadsEach = 0.7;
// Viscosity-ratio exponent of the secondary's film (Martin 1996, as the single-phase engine).
constexpr double kViscosityExponent = 1.0 / 6.0;
constexpr int kWallPasses = 6;
constexpr int kNewtonIterations = 20;
// The wall iteration stops when the flux moves by less than this share: the area follows
// to the same share.
constexpr double kWallTolerance = 1e-7;
// The secondary's wall viscosity enters its film by the power 1/6: a change of 1e-5 in
// the film is a change of about 1e-6 in the area.
constexpr double kViscosityTolerance = 1e-5;

bool finite_positive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

template <typename Input>
Model load_model(const Input& in, bool refrigerant_hot) {
    Model m;
    single_phase::Geometry& g = m.geo;
    g.dh = in.Dh;
    g.phi = in.Enlargement;
    g.width = in.FlowWidth;
    g.length = in.FlowLength;
    g.plate_area = in.PlateArea;
    bool ok = finite_positive(g.dh) && g.phi >= 1 && std::isfinite(g.phi) && finite_positive(g.width) &&
              finite_positive(g.length) && finite_positive(g.plate_area) && in.plateThickness >= 0 &&
              std::isfinite(in.plateThickness) && finite_positive(in.WallConductivity);
    if (!ok || in.MaxPlates < 4) fail(kParameters);
    g.gap = g.phi * g.dh / 2.0;
    g.wall_resistance = in.plateThickness / in.WallConductivity;
    m.max_plates = in.MaxPlates;

    const core::TwoPhaseSide& s1 = in.SideData[1];
    const core::TwoPhaseSide& s2 = in.SideData[2];
    if (!s1.Channel.Defined || !s2.Channel.Defined) fail(kParameters);
    m.ref_friction = single_phase::PowerLaw::friction(s1.Channel);
    m.ref_nusselt = single_phase::PowerLaw::heat_transfer(s1.Channel);
    m.port_up = s1.PortDiaUp;
    m.port_down = s1.PortDiaDown;
    m.slit = s1.SlitResistance;
    single_phase::SideModel& sec = m.secondary;
    sec.friction[0] = single_phase::PowerLaw::friction(s2.Channel);
    sec.nusselt[0] = single_phase::PowerLaw::heat_transfer(s2.Channel);
    sec.port_dia = std::pow((std::pow(s2.PortDiaUp, -4) + std::pow(s2.PortDiaDown, -4)) / 2.0, -0.25);
    sec.slit = s2.SlitResistance;
    sec.fluid = in.Fluid.get();
    ok = m.ref_friction.valid() && m.ref_nusselt.valid() && sec.friction[0].valid() &&
         sec.nusselt[0].valid() && finite_positive(m.port_up) && finite_positive(m.port_down) &&
         finite_positive(s2.PortDiaUp) && finite_positive(s2.PortDiaDown) && finite_positive(sec.port_dia) &&
         m.slit >= 0 && std::isfinite(m.slit) && sec.slit >= 0 && std::isfinite(sec.slit);
    if (!ok) fail(kParameters);
    sec.gas = sec.fluid->YGas();

    m.correction = NuCorrection{in.cNuCorr, in.xNuCorr, in.cNuNoPCorr, in.cNuNoPRef, in.cNuMaxNoP};
    if (!m.correction.valid()) fail(kParameters);
    const double beta = s1.ChevronAngle;
    if (!(beta >= 0 && beta < 90)) fail(kParameters);
    m.beta = beta > 0 ? beta : kDefaultChevronAngle;
    m.counter = in.CounterCurrent;
    m.refrigerant_hot = refrigerant_hot;
    if (!m.counter && in.CoCurrHTCFactor > 0 && std::isfinite(in.CoCurrHTCFactor)) m.film_factor = in.CoCurrHTCFactor;
    m.fouling = in.FoulingFactor.Given ? in.FoulingFactor.Value : 0;
    m.margin = in.OverSurface.Given ? in.OverSurface.Value / 100.0 : 0;
    m.dt_min = std::isfinite(in.DTMin) ? std::max(0.0, in.DTMin) : 0;
    const core::FluidInfoType info = sec.fluid->FluidInfo();
    if (info.Category == core::FluidCategory::Liquid) m.freezing_point = info.Range.TMin;
    if (in.ForcedStock && in.StockCount > 0)
        for (int i = 1; i <= std::min<int>(in.StockCount, 20); ++i) m.stock.push_back(in.StockPlates[i]);
    return m;
}

template Model load_model(const core::CondenserInput&, bool);
template Model load_model(const core::EvaporatorInput&, bool);

std::optional<Layout> make_layout(int plates, int parallel, int series) {
    const auto ch = single_phase::channels_for(plates, 1, 1, 1);
    if (!ch) return std::nullopt;
    Layout l;
    l.plates = plates;
    l.channels = *ch;
    l.parallel = parallel;
    l.series = series;
    return l;
}

namespace {

// Film coefficient, flux and wall temperatures of one segment at its mean state.
struct Local {
    double h1 = 0, h2 = 0, q = 0, u = 0, u_clean = 0, tw1 = 0, tw2 = 0;
    bool freezes = false;
};

// Solves the heat flux and the wall temperatures of a segment at its mean state. The
// refrigerant film h = a q^m ΔT_w^n with ΔT_w = q/h is h = A q^B, A = a^(1/(1+n)),
// B = (m+n)/(1+n): for a given secondary film the flux solves q^(1−B)/A + R q = ΔT by
// Newton's method. The secondary film follows its wall viscosity, which moves little:
// a few outer passes.
Local solve_wall(const Model& m, const Segment& s, double t_ref, double h2_bulk, const FilmLaw& film1) {
    Local w;
    const double sign = m.refrigerant_hot ? 1.0 : -1.0;
    const double t2 = s.t_sec();
    const double dt = std::abs(t_ref - t2);
    const double rest = m.geo.wall_resistance + m.fouling;
    const double big_a = std::pow(film1.a, 1.0 / (1.0 + film1.dt_exp));
    const double big_b = (film1.q_exp + film1.dt_exp) / (1.0 + film1.dt_exp);
    w.h2 = h2_bulk;
    double q = 0;
    for (int pass = 0; pass < kWallPasses; ++pass) {
        const double r = rest + 1.0 / w.h2;
        if (big_b == 0) {
            q = dt / (r + 1.0 / big_a);
        } else {
            if (q == 0) q = dt / (r + 1.0 / (big_a * std::pow(0.5 * dt / r, big_b)));
            for (int it = 0; it < kNewtonIterations; ++it) {
                const double film = big_a * std::pow(q, big_b);
                const double g = q / film + r * q - dt;
                const double slope = (1.0 - big_b) / film + r;
                const double next = std::max(q - g / slope, 0.1 * q);
                const bool settled = std::abs(next - q) <= kWallTolerance * next;
                q = next;
                if (settled) break;
            }
        }
        w.h1 = big_b == 0 ? big_a : big_a * std::pow(q, big_b);
        w.tw1 = t_ref - sign * q / w.h1;
        w.tw2 = t2 + sign * q / w.h2;
        if (m.secondary.gas) break;
        w.freezes = w.tw2 < m.freezing_point;
        const double mu_w = m.secondary.viscosity.at(*m.secondary.fluid, std::max(w.tw2, m.freezing_point));
        const double h2 = h2_bulk * std::pow(s.sec.mu / mu_w, kViscosityExponent);
        const bool settled = std::abs(h2 - w.h2) <= kViscosityTolerance * h2;
        w.h2 = h2;
        if (settled) break;
    }
    const double resistance = 1.0 / w.h1 + rest + 1.0 / w.h2;
    w.q = dt / resistance;
    w.u = 1.0 / resistance;
    w.u_clean = 1.0 / (resistance - m.fouling);
    return w;
}

}  // namespace

UnitRating rate_layout(const Model& m, const Profile& p, const Layout& l) {
    const single_phase::Geometry& g = m.geo;
    UnitRating r;
    const double m1 = p.m1 / l.parallel;
    const double m2 = p.m2 / l.parallel;
    const int n1 = l.channels[0];
    const int n2 = l.channels[1];
    const double g1 = m1 / n1 / (g.gap * g.width);
    const double m2_channel = m2 / n2;
    r.g1 = g1;
    r.area_provided = (l.plates - 2) * g.plate_area * l.series;

    std::vector<double> areas(p.seg.size());
    double area = 0, ua = 0, ua_clean = 0, h1a = 0, h2a = 0, wall1 = 0, wall2 = 0;
    double re_eq_area = 0, two_phase_area = 0;
    r.wall_min = {1e300, 1e300};
    r.wall_max = {-1e300, -1e300};
    for (std::size_t k = 0; k < p.seg.size(); ++k) {
        const Segment& s = p.seg[k];
        const double re2 = 2.0 * m2_channel / (g.phi * g.width * s.sec.mu);
        const double h2_bulk =
            m.secondary.nusselt[0](re2) * std::cbrt(s.sec.pr) * s.sec.k / g.dh * m.film_factor * s.sec_moisture;
        const double dq = m1 * s.dh;
        double re1 = 0;
        FilmLaw film1;
        if (s.zone == Zone::TwoPhase) {
            const FilmLaw law = m.refrigerant_hot ? condensation_law(s.sat, g1, s.x, g.dh, g.length)
                                                  : evaporation_law(s.sat, g1, s.x, g.dh, m.beta);
            film1 = m.correction.apply(law, l.plates, s.sat.k_l, g.dh);
        } else {
            re1 = g1 * g.dh / s.ref.mu;
            film1.a = m.ref_nusselt(re1) * std::cbrt(s.ref.pr) * s.ref.k / g.dh;
        }
        film1.a *= m.film_factor;
        Local w = solve_wall(m, s, s.t_ref(), h2_bulk, film1);
        double a = dq / (w.u * single_phase::log_mean(std::abs(s.a.t - s.t2a), std::abs(s.b.t - s.t2b)));
        if (s.zone == Zone::Vapour && m.refrigerant_hot && w.tw1 < s.t_dew) {
            // Wet-wall desuperheating: on a wall below the dew point vapour condenses, and
            // the heat leaves through the condensate film at the dew temperature (Webb,
            // "Convective condensation of superheated vapor", J. Heat Transfer 120 (1998)
            // 418-421). Taken where it moves more heat than the dry vapour film.
            FilmLaw wet_film = m.correction.apply(condensation_law(s.sat, g1, 1.0, g.dh, g.length), l.plates,
                                                  s.sat.k_l, g.dh);
            wet_film.a *= m.film_factor;
            const Local wet = solve_wall(m, s, s.t_dew, h2_bulk, wet_film);
            const double lm = single_phase::log_mean(s.t_dew - s.t2a, s.t_dew - s.t2b);
            const double a_wet = lm > 0 ? dq / (wet.u * lm) : 1e300;
            if (a_wet < a) {
                a = a_wet;
                // The same heat on the same area, as a coefficient on the gas temperature.
                const double dt_gas = single_phase::log_mean(std::abs(s.a.t - s.t2a), std::abs(s.b.t - s.t2b));
                const double tw1 = wet.tw1;
                w = wet;
                w.u = dq / (a * dt_gas);
                w.u_clean = 1.0 / (1.0 / w.u - m.fouling);
                w.h1 = 1.0 / (1.0 / w.u - 1.0 / w.h2 - m.geo.wall_resistance - m.fouling);
                w.tw1 = tw1;
                r.wet_wall = true;
            }
        }
        if (!(a > 0) || !std::isfinite(a)) fail(single_phase::kNoSolution);
        if (w.freezes) r.freezes = true;
        areas[k] = a;
        area += a;
        ua += w.u * a;
        ua_clean += w.u_clean * a;
        h1a += w.h1 * a;
        h2a += w.h2 * a;
        wall1 += w.tw1 * a;
        wall2 += w.tw2 * a;
        r.zone_area[static_cast<std::size_t>(s.zone)] += a;
        r.wall_min = {std::min(r.wall_min[0], w.tw1), std::min(r.wall_min[1], w.tw2)};
        r.wall_max = {std::max(r.wall_max[0], w.tw1), std::max(r.wall_max[1], w.tw2)};
        if (s.zone == Zone::TwoPhase) {
            re_eq_area += equivalent_mass_flux(g1, s.x, s.sat) * g.dh / s.sat.mu_l * a;
            two_phase_area += a;
        } else if (two_phase_area == 0) {
            re_eq_area += re1 * a;
        }
    }
    r.area_needed = area;
    r.u = ua / area;
    r.u_clean = ua_clean / area;
    r.h = {h1a / area, h2a / area};
    r.wall_mean = {wall1 / area, wall2 / area};
    r.re1 = two_phase_area > 0 ? re_eq_area / two_phase_area : re_eq_area / area;

    // Refrigerant pressure drop along the segments, each over its share of the length.
    const double length = g.length * l.series;
    const double up = m.refrigerant_hot ? -1.0 : 1.0;  // condensers drain down, evaporators rise
    for (std::size_t k = 0; k < p.seg.size(); ++k) {
        const Segment& s = p.seg[k];
        const double lk = length * areas[k] / area;
        auto channel_dp = [&](double flux, double rho, double mu) {
            if (!(flux > 0)) return 0.0;
            const double re = flux * g.dh / mu;
            return m.ref_friction(re) * lk / g.dh * flux * flux / (2.0 * rho);
        };
        double rho_mean = 0;
        if (s.zone == Zone::TwoPhase) {
            const double dp_l = channel_dp(g1 * (1.0 - s.x), s.sat.rho_l, s.sat.mu_l);
            const double dp_v = channel_dp(g1 * s.x, s.sat.rho_v, s.sat.mu_v);
            r.dp1_friction += dp_l > 0 ? friction_multiplier(dp_l, dp_v) * dp_l : dp_v;
            rho_mean = 1.0 / (s.x / s.sat.rho_v + (1.0 - s.x) / s.sat.rho_l);
        } else {
            r.dp1_friction += channel_dp(g1, s.ref.rho, s.ref.mu);
            rho_mean = s.ref.rho;
        }
        // Momentum change of the homogeneous flow (negative where it slows down).
        r.dp1_acceleration += g1 * g1 * (1.0 / s.b.rho - 1.0 / s.a.rho);
        r.dp1_static += up * rho_mean * kGravity * lk;
    }
    const double rho_in = p.seg.front().a.rho;
    const double rho_out = p.seg.back().b.rho;
    const double port_in = m1 / (kPi * m.port_up * m.port_up / 4.0);
    const double port_out = m1 / (kPi * m.port_down * m.port_down / 4.0);
    r.dp1_port = l.series * ((kPortHeadsEach + m.slit) * port_in * port_in / (2.0 * rho_in) +
                             kPortHeadsEach * port_out * port_out / (2.0 * rho_out));
    r.dp1 = r.dp1_friction + r.dp1_acceleration + r.dp1_static + r.dp1_port;
    r.port_velocity_in = port_in / rho_in;
    r.port_velocity_out = port_out / rho_out;
    r.channel_velocity_in = g1 / rho_in;
    r.channel_velocity_out = g1 / rho_out;
    // Force balance on the channel: τ = Δp_f d_h / (4 L).
    r.shear1 = r.dp1_friction * g.dh / (4.0 * length);

    r.flow2 = single_phase::side_flow(g, m.secondary, p.sec_mean, m2, 1, n2, 0);
    r.flow2.dp_channel *= l.series;
    r.flow2.dp_port *= l.series;
    r.flow2.dp_total *= l.series;
    return r;
}

int pressure_limit_code(const core::PerSide<core::DutyValue>& limits, const UnitRating& u, double default_dp1) {
    // The slack lets a drop found at a limit meet it to rounding.
    auto over = [](double limit, double dp) { return dp > limit * (1 + 1e-9); };
    const double dp1_limit = limits[1].Given ? limits[1].Value : default_dp1;
    if (dp1_limit > 0 && over(dp1_limit, u.dp1)) return single_phase::kNoSolution;
    if (limits[2].Given && over(limits[2].Value, u.flow2.dp_total)) return single_phase::kNoSolution;
    return 0;
}

}  // namespace hxq::engines::two_phase
