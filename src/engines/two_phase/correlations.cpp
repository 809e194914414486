#include "engines/two_phase/correlations.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::two_phase {

namespace {
// Chisholm's C for brazed plates (Claesson 2004; see the header).
constexpr double kChisholmC = 4.67;
// The Amalfi regime switch on the Bond number, and the angle β* is scaled by.
constexpr double kAmalfiBond = 4.0;
constexpr double kAmalfiAngle = 70.0;
// A wall within this of saturation is taken at this difference: the gravity branch goes
// as ΔT^-1/4 and would be infinite on a wall at saturation.
constexpr double kMinWallDifference = 1e-3;  // K
}  // namespace

double equivalent_mass_flux(double g, double x, const Saturation& s) {
    return g * ((1.0 - x) + x * std::sqrt(s.rho_l / s.rho_v));
}

double FilmLaw::operator()(double q, double dt) const {
    double h = a;
    if (q_exp != 0) h *= std::pow(std::max(q, 1.0), q_exp);
    if (dt_exp != 0) h *= std::pow(std::max(dt, kMinWallDifference), dt_exp);
    return h;
}

FilmLaw condensation_law(const Saturation& s, double g, double x, double dh, double length) {
    const double re_eq = equivalent_mass_flux(g, x, s) * dh / s.mu_l;
    if (re_eq >= kLongoTransitionRe) return {1.875 * (s.k_l / dh) * std::pow(re_eq, 0.445) * std::cbrt(s.pr_l)};
    const double group = s.k_l * s.k_l * s.k_l * s.rho_l * s.rho_l * kGravity * s.latent / (s.mu_l * length);
    return {0.943 * std::pow(group, 0.25), 0, -0.25};
}

FilmLaw evaporation_law(const Saturation& s, double g, double x, double dh, double beta_deg) {
    const double beta = beta_deg / kAmalfiAngle;
    const double rho_ratio = s.rho_l / s.rho_v;
    const double rho_m = 1.0 / (x / s.rho_v + (1.0 - x) / s.rho_l);
    const double bond = kGravity * (s.rho_l - s.rho_v) * dh * dh / s.sigma;
    // Bo = q / (G Δh_lv): the flux enters as q^e / (G Δh_lv)^e.
    const double per_flux = 1.0 / (g * s.latent);
    FilmLaw law;
    if (bond < kAmalfiBond) {
        const double we_m = g * g * dh / (rho_m * s.sigma);
        law.a = 982.0 * std::pow(beta, 1.101) * std::pow(we_m, 0.315) * std::pow(per_flux, 0.320) *
                std::pow(rho_ratio, -0.224);
        law.q_exp = 0.320;
    } else {
        const double re_v = g * std::max(x, 1e-6) * dh / s.mu_v;
        const double re_lo = g * dh / s.mu_l;
        law.a = 18.495 * std::pow(beta, 0.248) * std::pow(re_v, 0.135) * std::pow(re_lo, 0.351) *
                std::pow(bond, 0.235) * std::pow(per_flux, 0.198) * std::pow(rho_ratio, -0.223);
        law.q_exp = 0.198;
    }
    law.a *= s.k_l / dh;
    return law;
}

double friction_multiplier(double dp_liquid_only, double dp_vapour_only) {
    if (!(dp_vapour_only > 0)) return 1.0;
    if (!(dp_liquid_only > 0)) return 1.0;
    const double xx = std::sqrt(dp_liquid_only / dp_vapour_only);
    return 1.0 + kChisholmC / xx + 1.0 / (xx * xx);
}

bool NuCorrection::valid() const {
    for (double v : {c, x, c_plates, ref_plates, max_plates})
        if (!std::isfinite(v)) return false;
    return c > 0 && x > 0 && max_plates >= 0;
}

double NuCorrection::plate_factor(int plates) const {
    if (c_plates == 0) return 1.0;
    double n = plates;
    if (max_plates > 0) n = std::min(n, max_plates);
    return 1.0 + c_plates * (n - ref_plates);
}

double NuCorrection::apply(double nu, int plates) const {
    return c * std::pow(nu, x) * plate_factor(plates);
}

FilmLaw NuCorrection::apply(const FilmLaw& law, int plates, double k_l, double dh) const {
    if (x == 1) return {law.a * c * plate_factor(plates), law.q_exp, law.dt_exp};
    // h' = (k/d_h) c (a q^m ΔT^n d_h/k)^x f(N).
    FilmLaw out;
    out.a = k_l / dh * c * std::pow(law.a * dh / k_l, x) * plate_factor(plates);
    out.q_exp = law.q_exp * x;
    out.dt_exp = law.dt_exp * x;
    return out;
}

}  // namespace hxq::engines::two_phase
