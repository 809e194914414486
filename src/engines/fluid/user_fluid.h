// User fluids: the fitted correlations of the user fluid database (tables Info, Language,
// Liquid and Vapor), evaluated like any other fluid.
//
// What the stored columns mean (the editor writes them, this component defines them):
// - Temperatures of the fits are T + 273 with T in °C; the limits TKmin, TKmax, TvapMin,
//   TvapMax, TdewMin, TdewMax, TbubMin, TbubMax are in the same K (t = TK - 273), and the
//   critical temperature Tc too.
// - Units of the fitted values (the editor's units): density kg/m³, heat capacity
//   kJ/(kg K), thermal conductivity W/(m K), viscosity mPa s, latent heat and enthalpies
//   kJ/kg, pressures (PvapMin .. PdewMax, Pc, and p in the saturation fits) bar, molecular
//   weight MW g/mol.
// - Equation types ("eq" & stem): 0 or NULL: no data; 1: property = sum c_k (T + 273)^k;
//   2: ln property = sum c_k (T + 273)^k; 3: T + 273 = sum c_k (ln p)^k (saturation fits
//   Tdew, Tbub). Coefficient columns "c" & stem & k, k = 0 .. 4; a NULL coefficient is 0.
// - cCPv13, cCPv14, cCPv15: the vapour's reduced second virial coefficient
//   B Pc/(R Tc) = c13 + c14/Tr + c15/Tr^6 (the temperature form of Tsonopoulos, AIChE J.
//   20 (1974) 263), so Z = 1 + (pr/Tr)(c13 + c14/Tr + c15/Tr^6), pr = p/Pc, Tr = T/Tc
//   (NULL = 0: ideal gas); the vapour density is p MW/(Z R T).
// - TvapMin/TvapMax: range of the vapour property fits; PdewMin/PdewMax: pressure range
//   of the dew-line fit Tdew; PvapMin/PvapMax: pressure range of the bubble-line fit Tbub
//   (when empty, the dew-line range). TdewMin .. TbubMax are informative.
// - Without Tbub the fluid has no glide (bubble line = dew line). Without Hfg the latent
//   heat is Entdew - Entbub. Surface tension is not stored; it is estimated by
//   corresponding states from Tc, Pc and the acentric factor of the dew line.
#pragma once

#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_base.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hxq::engines::fluid {

namespace user_eq {
inline constexpr int kNone = 0;
inline constexpr int kPolynomial = 1;
inline constexpr int kLogPolynomial = 2;
inline constexpr int kSaturation = 3;
inline constexpr int kMaxCoefficients = 5;
inline constexpr double kOffset = 273.0;  // T + 273 of the fits
}  // namespace user_eq

// One fitted correlation.
struct UserFit {
    int eq = user_eq::kNone;
    std::array<double, user_eq::kMaxCoefficients> c{};
    bool present() const { return eq != user_eq::kNone; }
    double operator()(double x) const;  // x: T + 273, or ln p for saturation fits
    // Integral of a polynomial fit from x0 to x1 (log fits integrated numerically).
    double integral(double x0, double x1) const;
};

struct UserFluidData {
    CatalogueEntry entry;
    bool two_phase = false;
    double t_min = 0, t_max = 0;  // liquid data, °C
    UserFit rho_l, cp_l, lam_l, mu_l;
    // Two-phase part.
    double tvap_min = 0, tvap_max = 0, pdew_min = 0, pdew_max = 0;  // °C, bar
    double pvap_min = 0, pvap_max = 0, tbub_min = 0, tbub_max = 0;
    double tc = 0, pc = 0, mw = 0;  // °C, bar, g/mol
    std::array<double, 3> z{};      // cCPv13..15
    UserFit cp_v, lam_v, mu_v, hfg, h_bub, h_dew, t_dew, t_bub;
};

class UserFluid : public FluidBase {
public:
    explicit UserFluid(std::shared_ptr<const UserFluidData> data);

    double YDensity(double t) const override;
    double YHeatCapacity(double t) const override;
    double YConductivity(double t) const override;
    double YViscosity(double t) const override;
    core::PhaseState YState(double t) const override;

    double SatPressureBubble(double t) const override;
    double SatPressureDew(double t) const override;
    double SatTemperatureBubble(double p) const override;
    double SatTemperatureDew(double p) const override;
    core::PhaseState RefLiquid(double t) const override;
    core::PhaseState RefVapor(double t) const override;
    double LatentHeat(double t) const override;
    double SurfaceTension(double t) const override;
    core::PhaseState VaporState(double p, double t) const override;
    core::PhaseState LiquidState(double p, double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;

private:
    core::PhaseState liquid(double t, double p) const;
    core::PhaseState vapour(double t, double p, double t_dew) const;
    void need_two_phase() const;
    double vapour_density(double t, double p) const;

    std::shared_ptr<const UserFluidData> data_;
};

// The fluids of a user fluid database, visible at every user level; FluidIDs offset by
// kUserFluidIdBase. Throws FluidDatabaseError.
std::vector<CatalogueEntry> user_fluid_entries(const std::string& db_path);
std::shared_ptr<const UserFluidData> load_user_fluid(const std::string& db_path,
                                                     std::int32_t database_id);
core::FluidRef create_user_fluid(const std::string& db_path, const CatalogueEntry& entry);

}  // namespace hxq::engines::fluid
