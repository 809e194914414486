// Refrigerant-side correlations of brazed plate condensers and evaporators: condensation,
// flow boiling, two-phase friction and the channel-fluid correction of the product data.
// Every coefficient returned is referred to the effective (enlarged) heat-transfer area,
// the area the engines rate on (plate area = projected area × Φ).
#pragma once

namespace hxq::engines::two_phase {

inline constexpr double kGravity = 9.80665;  // m/s², standard gravity (CGPM 1901)

// Saturated liquid and vapour of one pressure (bubble and dew states).
struct Saturation {
    double rho_l = 0, rho_v = 0;  // kg/m³
    double mu_l = 0, mu_v = 0;    // Pa s
    double k_l = 0;               // W/(m K)
    double pr_l = 0;
    double latent = 0;            // J/kg, dew minus bubble enthalpy at the same pressure
    double sigma = 0;             // N/m
};

// G_eq = G [(1 − x) + x √(ρ_l/ρ_v)] (Akers, Deans & Crosser 1959, as used by Longo 2015).
double equivalent_mass_flux(double g, double x, const Saturation& s);

// A film coefficient of the form h = a · q^q_exp · ΔT^dt_exp, q the heat flux (W/m²) and
// ΔT the wall-to-saturation difference (K): every correlation below has this form for a
// given state and mass flux, so the wall iteration evaluates at most two powers.
struct FilmLaw {
    double a = 0, q_exp = 0, dt_exp = 0;
    double operator()(double q, double dt) const;
};

// Condensation, Longo, Mancin, Righetti & Zilio (2015), "A new model for refrigerant
// condensation inside a brazed plate heat exchanger (BPHE)", Int. J. Heat Mass Transfer 82,
// 530-536. Re_eq < 1600 gravity-controlled: h = Φ 0.943 [λ³ρ²gΔh/(μ ΔT L)]^0.25 (Nusselt's
// film on the corrugated surface); Re_eq ≥ 1600 forced convection: h = 1.875 Φ (λ/d_h)
// Re_eq^0.445 Pr^(1/3). The paper's coefficient is referred to the projected area: the
// factor Φ carries the film coefficient of the enlarged surface over to it. Divided by Φ
// (here: left out), both branches give the coefficient of the effective area.
// `dt_wall` = T_sat − T_wall (K), `length` the port-to-port length (m).
FilmLaw condensation_law(const Saturation& s, double g, double x, double dh, double length);
inline double condensation_htc(const Saturation& s, double g, double x, double dh, double dt_wall,
                               double length) {
    return condensation_law(s, g, x, dh, length)(0, dt_wall);
}
// The Reynolds number of Longo's regime switch.
inline constexpr double kLongoTransitionRe = 1600.0;

// Flow boiling, Amalfi, Vakili-Farahani & Thome (2016), "Flow boiling and frictional
// pressure gradients in plate heat exchangers. Part 2: Comparison of literature methods
// to database and new prediction methods", Int. J. Refrig. 61, 185-203, eqs. for Nu =
// h d_h/λ_l with d_h = 2b/Φ: Bd < 4: Nu = 982 β*^1.101 We_m^0.315 Bo^0.320 ρ*^-0.224;
// Bd ≥ 4: Nu = 18.495 β*^0.248 Re_v^0.135 Re_lo^0.351 Bd^0.235 Bo^0.198 ρ*^-0.223, with
// β* = β/70°. The databank of the paper (Part 1) reduces every source's coefficient to the
// wetted, enlarged area, the area the engines rate on: no conversion.
// `q` is the heat flux (W/m² of effective area), `beta_deg` the chevron angle from the
// flow direction.
FilmLaw evaporation_law(const Saturation& s, double g, double x, double dh, double beta_deg);
inline double evaporation_htc(const Saturation& s, double g, double x, double dh, double q,
                              double beta_deg) {
    return evaporation_law(s, g, x, dh, beta_deg)(q, 0);
}

// Two-phase frictional multiplier on the liquid-only pressure drop, Lockhart & Martinelli
// (1949) in Chisholm's form φ_l² = 1 + C/X + 1/X², X² = Δp_l/Δp_v, with C = 4.67 fitted
// to brazed plate data by Claesson (2004, KTH), the value of the ACHP moving-boundary
// plate model (Bell, Purdue).
double friction_multiplier(double dp_liquid_only, double dp_vapour_only);

// Channel-fluid correction of the refrigerant's two-phase coefficient, from the product
// database's [Channel-Fluid-Factors]:
//   Nu' = cNuCorr · Nu^xNuCorr · f(N),
//   f(N) = 1 + cNuNoPCorr · (min(N, cNuMaxNoP) − cNuNoPRef)   (min only when cNuMaxNoP > 0)
// with N the plates of one unit and Nu = h d_h/λ_l. cNuCorr, xNuCorr fit a channel-fluid
// pair's measurements; the plate-count term carries the maldistribution of long packs
// (negative cNuNoPCorr). 1, 1, 0, 0, 0 leave the correlation as published.
struct NuCorrection {
    double c = 1, x = 1, c_plates = 0, ref_plates = 0, max_plates = 0;
    // False when the stored factors cannot describe a correction (non-finite, c ≤ 0).
    bool valid() const;
    // The plate-count factor f(N); ≤ 0 means the data do not cover this plate count.
    double plate_factor(int plates) const;
    double apply(double nu, int plates) const;
    // The law of the corrected coefficient, for a liquid conductivity k_l and d_h.
    FilmLaw apply(const FilmLaw& law, int plates, double k_l, double dh) const;
};

}  // namespace hxq::engines::two_phase
