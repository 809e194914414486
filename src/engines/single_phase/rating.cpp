#include "engines/single_phase/rating.h"

#include "platform/error.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::single_phase {

namespace {

// Port losses in velocity heads per pass: Kakaç & Liu, Heat Exchangers: Selection,
// Rating and Thermal Design, 2nd ed., ch. 10 (Shah & Focke use 1.5).
constexpr double kPortVelocityHeads = 1.4;
constexpr double kPi = 3.14159265358979323846;
// Viscosity-ratio exponent of Martin's correlation (Martin 1996, Chem. Eng. Process. 35:301).
constexpr double kViscosityExponent = 1.0 / 6.0;
// The wall iteration stops when no wall temperature moves by more than this (K).
constexpr double kWallTolerance = 1e-6;
constexpr int kWallIterations = 30;

bool is_range_error(const platform::Error& e) {
    return e.number() == platform::kObjectError + core::kFluidRangeCode;
}

}  // namespace

void ViscositySpan::build(const core::FluidObject& fluid, double t_lo, double t_hi) {
    ready_ = false;
    if (!(t_hi > t_lo)) return;
    mid_ = 0.5 * (t_hi + t_lo);
    half_ = 0.5 * (t_hi - t_lo);
    nodes_ = std::clamp(static_cast<int>(std::ceil((t_hi - t_lo) / 15.0)) + 5, 8, kMaxNodes);
    const double pi_nodes = 3.14159265358979323846 / nodes_;
    try {
        for (int k = 0; k < nodes_; ++k) {
            const auto i = static_cast<std::size_t>(k);
            // Chebyshev points of the first kind and their barycentric weights.
            x_[i] = std::cos(pi_nodes * (k + 0.5));
            weight_[i] = (k % 2 == 0 ? 1.0 : -1.0) * std::sin(pi_nodes * (k + 0.5));
            const double mu = fluid.YViscosity(mid_ + half_ * x_[i]);
            if (!(mu > 0)) return;
            ln_mu_[i] = std::log(mu);
        }
    } catch (const platform::Error& e) {
        if (!is_range_error(e)) throw;
        return;
    }
    ready_ = true;
}

double ViscositySpan::at(const core::FluidObject& fluid, double t) const {
    const double x = ready_ ? (t - mid_) / half_ : 2.0;
    if (!(x >= -1.0 && x <= 1.0)) return fluid.YViscosity(t);
    double num = 0;
    double den = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(nodes_); ++k) {
        const double d = x - x_[k];
        if (d == 0) return std::exp(ln_mu_[k]);
        const double w = weight_[k] / d;
        num += w * ln_mu_[k];
        den += w;
    }
    return std::exp(num / den);
}

Props props_at(const core::FluidObject& fluid, double t) { return props_of(fluid.YState(t)); }

Props props_of(const core::PhaseState& s) {
    Props p;
    p.rho = s.Density;
    p.cp = s.SpecificHeat;
    p.k = s.Conductivity;
    p.mu = s.Viscosity;
    if (!(p.rho > 0 && p.cp > 0 && p.k > 0 && p.mu > 0)) fail(kOutOfRange);
    p.pr = p.mu * p.cp / p.k;
    p.cap = p.cp;
    return p;
}

double cp_at(const core::FluidObject& f, double t) {
    const double cp = f.YHeatCapacity(t);
    if (!(cp > 0)) fail(kOutOfRange);
    return cp;
}

bool has_enthalpy(const core::FluidObject& f, double t) { return std::isfinite(f.YEnthalpy(t)); }

namespace {

// The temperature at which the stream's enthalpy is h, searched from `from` towards
// dir (+1 rising, −1 falling) in steps of about `step`, never past `bound`; code 1 when
// the enthalpy lies beyond the bound.
double temperature_at_enthalpy(const core::FluidObject& f, double h, double from, int dir, double step,
                               double bound) {
    auto g = [&](double t) { return f.YEnthalpy(t) - h; };  // rising in t
    double far = from;
    for (int i = 0; i < 60 && dir * g(far) < 0; ++i) {
        far += dir * step;
        step *= 1.5;
        if (dir * (far - bound) > 0) {
            far = bound;
            if (dir * g(far) < 0) fail(kCrossing);
            break;
        }
    }
    return dir > 0 ? solve_rising(g, from, far) : solve_rising(g, far, from);
}

}  // namespace

double outlet_for(const core::FluidObject& f, double tin, double q, double m, int dir, double bound,
                  double cp_guess) {
    double dt = q / (m * (cp_guess > 0 ? cp_guess : cp_at(f, tin)));
    if (has_enthalpy(f, tin)) {
        // The sensible estimate overshoots a condensing stream, whose latent heat
        // shortens its span; the search starts from it and never passes the bound.
        if (dir * (tin - bound) < 0) fail(kCrossing);
        return temperature_at_enthalpy(f, f.YEnthalpy(tin) - dir * q / m, tin, -dir, std::max(dt, 1e-6), bound);
    }
    for (int i = 0; i < 100; ++i) {
        // Checked before the properties are asked for a temperature beyond the other inlet.
        if (dir * (tin - dir * dt - bound) < 0) fail(kCrossing);
        const double next = q / (m * cp_at(f, tin - dir * dt / 2.0));
        const bool settled = std::abs(next - dt) <= 1e-15 * next;
        dt = next;
        if (settled) break;
    }
    if (dir * (tin - dir * dt - bound) < 0) fail(kCrossing);
    return tin - dir * dt;
}

double inlet_for(const core::FluidObject& f, double tout, double q, double m, int dir) {
    double dt = q / (m * cp_at(f, tout));
    if (has_enthalpy(f, tout))
        return temperature_at_enthalpy(f, f.YEnthalpy(tout) + dir * q / m, tout, dir, std::max(dt, 1e-6),
                                       dir * 1e300);
    for (int i = 0; i < 100; ++i) {
        const double next = q / (m * cp_at(f, tout + dir * dt / 2.0));
        if (std::abs(next - dt) <= 1e-15 * next) {
            dt = next;
            break;
        }
        dt = next;
    }
    return tout + dir * dt;
}

double load_of(const core::FluidObject& f, double tin, double tout, double m) {
    if (has_enthalpy(f, tin) && has_enthalpy(f, tout)) return m * std::abs(f.YEnthalpy(tin) - f.YEnthalpy(tout));
    return m * cp_at(f, 0.5 * (tin + tout)) * std::abs(tin - tout);
}

void condensing_span(const core::FluidObject& f, double tin, double tout, Props& p) {
    p.cap = p.cp;
    p.moisture = 1;
    if (std::abs(tin - tout) < 1e-9 || condensate_of(f, tin, tout, 1.0) <= 0) return;
    // The wet-surface analogy (Threlkeld, Thermal Environmental Engineering, 2nd ed.,
    // 1970, ch. 11): with a Lewis number near 1 the heat a condensing humid stream gives
    // up is driven by its enthalpy, so both its capacity and its film coefficient in
    // temperature terms grow by ξ = Δh / (cp ΔT).
    p.cap = load_of(f, tin, tout, 1.0) / std::abs(tin - tout);
    p.moisture = std::max(1.0, p.cap / p.cp);
}

double condensate_of(const core::FluidObject& f, double tin, double tout, double m) {
    if (!has_enthalpy(f, tin)) return 0;
    return std::max(0.0, m * (f.YCondensate(tout) - f.YCondensate(tin)));
}

double log_mean(double a, double b) {
    if (a <= 0 || b <= 0) return 0;
    if (std::abs(a - b) <= 1e-9 * std::max(a, b)) return 0.5 * (a + b);
    return (a - b) / std::log(a / b);
}

std::optional<std::array<int, 2>> channels_for(int plates, int p1, int p2, int extra_side) {
    if (plates < 3 || p1 < 1 || p2 < 1) return std::nullopt;
    const int total = plates - 1;
    if (p1 == p2) {
        const int p = p1;
        if (p == 1) {
            if (plates % 2 != 0) return std::nullopt;
            const int low = total / 2;
            std::array<int, 2> c{low, low};
            c[static_cast<std::size_t>(extra_side)] = total - low;
            return c;
        }
        // The sides alternate, so their counts differ by at most one; both divisible by
        // p > 1 makes them equal: (plates − 1) / p is even.
        if (total % (2 * p) != 0) return std::nullopt;
        return std::array<int, 2>{total / 2, total / 2};
    }
    if (std::min(p1, p2) != 1) return std::nullopt;
    const int low = total / 2;
    const int high = total - low;
    const std::array<int, 2> passes{p1, p2};
    for (int first : {extra_side, 1 - extra_side}) {
        std::array<int, 2> c{low, low};
        c[static_cast<std::size_t>(first)] = high;
        bool ok = true;
        for (std::size_t s = 0; s < 2; ++s)
            if (c[s] < passes[s] || c[s] % passes[s] != 0) ok = false;
        if (ok) return c;
    }
    return std::nullopt;
}

int min_plates(int max_passes) {
    if (max_passes <= 1) return 4;
    if (max_passes == 2) return 5;
    if (max_passes == 3) return 6;
    return 9;
}

int min_plates_code(int max_passes) {
    if (max_passes <= 1) return 7;
    if (max_passes == 2) return 8;
    if (max_passes == 3) return 10;
    return 11;
}

SideFlow side_flow(const Geometry& g, const SideModel& side, const Props& p, double mass_flow,
                   int passes, int n_left, int n_right) {
    SideFlow out;
    const double per_pass = static_cast<double>(n_left + n_right) / passes;
    // Re of a channel carrying the whole flow of the pass: Re = 2 ṁ_ch / (Φ W η).
    const double re_total = 2.0 * mass_flow / (g.phi * g.width * p.mu);
    const double left_pp = static_cast<double>(n_left) / passes;
    const double right_pp = static_cast<double>(n_right) / passes;

    // Channels of one pass are in parallel: both types see the same Δp, which for the
    // same geometry means the same ξ Re².
    double re_left = 0;
    double re_right = 0;
    if (n_right == 0) {
        re_left = re_total / left_pp;
    } else if (n_left == 0) {
        re_right = re_total / right_pp;
    } else {
        const PowerLaw& fl = side.friction[0];
        const PowerLaw& fr = side.friction[1];
        auto right_of = [&](double rl) { return fr.inverse_times_re2(fl(rl) * rl * rl); };
        auto excess = [&](double log_rl) {
            const double rl = std::exp(log_rl);
            return left_pp * rl + right_pp * right_of(rl) - re_total;
        };
        const double log_rl =
            solve_rising(excess, std::log(re_total / per_pass) - 30.0, std::log(re_total / left_pp));
        re_left = std::exp(log_rl);
        re_right = right_of(re_left);
    }

    const double dh = g.dh;
    const double pr13 = std::cbrt(p.pr);
    double dp_pass = 0;
    double h_sum = 0;
    const std::array<double, 2> re{re_left, re_right};
    const std::array<int, 2> count{n_left, n_right};
    for (std::size_t t = 0; t < 2; ++t) {
        if (count[t] == 0) continue;
        const double xi = side.friction[t](re[t]);
        // w = ṁ_ch / (ρ b W) with ṁ_ch = Re Φ W η / 2.
        const double w = re[t] * g.phi * g.width * p.mu / 2.0 / (p.rho * g.gap * g.width);
        dp_pass = xi * (g.length / dh) * p.rho * w * w / 2.0;
        h_sum += count[t] * side.nusselt[t](re[t]) * pr13 * p.k / dh;
    }
    out.re = re_total / per_pass;
    out.velocity = mass_flow / per_pass / (p.rho * g.gap * g.width);
    out.dp_channel = dp_pass * passes;
    out.h0 = h_sum / (n_left + n_right);
    // Force balance on the channel: τ = Δp d_h / (4 L).
    out.shear = dp_pass * dh / (4.0 * g.length);
    const double port_area = kPi * side.port_dia * side.port_dia / 4.0;
    out.port_mass_flux = mass_flow / port_area;
    out.port_velocity = out.port_mass_flux / p.rho;
    out.dp_port = (kPortVelocityHeads + side.slit) * passes * out.port_mass_flux *
                  out.port_mass_flux / (2.0 * p.rho);
    out.dp_total = out.dp_channel + out.dp_port;
    return out;
}

Thermal thermal(const std::array<SideModel, 2>& sides, const Geometry& g,
                const std::array<SideFlow, 2>& flow, const std::array<Props, 2>& props,
                const Temps& t, double fouling, double film_factor, bool counter) {
    Thermal th;
    const int hot = t.hot;
    const int cold = 1 - hot;
    const auto hs = static_cast<std::size_t>(hot);
    const auto cs = static_cast<std::size_t>(cold);
    std::array<double, 2> mean{t.mean(0), t.mean(1)};
    th.wall_mu = {props[0].mu, props[1].mu};
    std::array<double, 2> wall = mean;
    double resistance = 0;
    auto films = [&] {
        for (std::size_t s = 0; s < 2; ++s) {
            const double ratio = sides[s].gas ? 1.0 : std::pow(props[s].mu / th.wall_mu[s], kViscosityExponent);
            th.h[s] = flow[s].h0 * ratio * film_factor * props[s].moisture;
        }
        resistance = 1.0 / th.h[0] + 1.0 / th.h[1] + g.wall_resistance + fouling;
    };
    for (int it = 0; it < kWallIterations; ++it) {
        films();
        const double q = (mean[hs] - mean[cs]) / resistance;
        std::array<double, 2> next{};
        next[hs] = mean[hs] - q / th.h[hs];
        next[cs] = mean[cs] + q / th.h[cs];
        const bool settled = it > 0 && std::abs(next[0] - wall[0]) < kWallTolerance &&
                             std::abs(next[1] - wall[1]) < kWallTolerance;
        wall = next;
        if (settled) break;
        bool any_liquid = false;
        for (std::size_t s = 0; s < 2; ++s) {
            if (sides[s].gas) continue;
            any_liquid = true;
            try {
                th.wall_mu[s] = sides[s].viscosity.at(*sides[s].fluid, wall[s]);
            } catch (const platform::Error& e) {
                if (!is_range_error(e)) throw;
                // The wall lies outside the fluid's data (a brine near freezing against
                // a colder fluid): rate without the viscosity correction and say so.
                th.wall_mu[s] = props[s].mu;
                th.wall_out_of_range = true;
            }
        }
        if (!any_liquid && it > 0) break;
    }
    films();
    th.u = 1.0 / resistance;
    th.u_clean = 1.0 / (resistance - fouling);
    th.wall_mean = wall;
    for (std::size_t s = 0; s < 2; ++s) {
        if (!sides[s].gas) continue;
        try {
            th.wall_mu[s] = sides[s].fluid->YViscosity(wall[s]);
        } catch (const platform::Error& e) {
            if (!is_range_error(e)) throw;
            th.wall_mu[s] = props[s].mu;
            th.wall_out_of_range = true;
        }
    }
    // Wall temperatures at the two ends of the pack, with the film coefficients of the
    // mean state.
    std::array<std::array<double, 2>, 2> ends{};  // [end][side]
    if (counter) {
        ends[0][hs] = t.tin[hs];
        ends[0][cs] = t.tout[cs];
        ends[1][hs] = t.tout[hs];
        ends[1][cs] = t.tin[cs];
    } else {
        ends[0][hs] = t.tin[hs];
        ends[0][cs] = t.tin[cs];
        ends[1][hs] = t.tout[hs];
        ends[1][cs] = t.tout[cs];
    }
    th.wall_min = wall;
    th.wall_max = wall;
    for (const auto& e : ends) {
        const double q = (e[hs] - e[cs]) / resistance;
        const std::array<double, 2> w{hot == 0 ? e[0] - q / th.h[0] : e[0] + q / th.h[0],
                                      hot == 1 ? e[1] - q / th.h[1] : e[1] + q / th.h[1]};
        for (std::size_t s = 0; s < 2; ++s) {
            th.wall_min[s] = std::min(th.wall_min[s], w[s]);
            th.wall_max[s] = std::max(th.wall_max[s], w[s]);
        }
    }
    return th;
}

}  // namespace hxq::engines::single_phase
