#include "engines/fluid/air.h"

#include "engines/fluid/if97.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::fluid {
namespace {

constexpr double kRAir = 287.05;         // J/(kg K), dry air (Çengel, Table A-1)
constexpr double kRWater = if97::kR;     // J/(kg K)
constexpr double kMAir = 28.96546e-3;    // kg/mol, Lemmon et al. (2000)
constexpr double kMWater = 18.015268e-3; // kg/mol, IAPWS-95
constexpr double kEpsilon = kMWater / kMAir;  // 0.621945

// Pseudo-critical constants of air (Lemmon et al. 2000: maxcondentherm 132.6312 K,
// 3.78502 MPa) and acentric factor 0.0335 (Poling et al., 5th ed., App. A).
constexpr double kTcAir = 132.6312;
constexpr double kPcAir = 3.78502e6;
constexpr double kOmegaAir = 0.0335;

// Second virial coefficient of air per unit mass (m³/kg) and its second temperature
// derivative, from the Abbott correlation of the Pitzer form:
// B pc/(R Tc) = B0 + w B1, B0 = 0.083 - 0.422/Tr^1.6, B1 = 0.139 - 0.172/Tr^4.2
// (Smith, Van Ness & Abbott, Introduction to Chemical Engineering Thermodynamics, ch. 3).
struct Virial {
    double B;
    double d2B;  // d²B/dT²
};

Virial air_virial(double T) {
    const double tr = T / kTcAir;
    const double scale = kRAir * kTcAir / kPcAir;
    const double b0 = 0.083 - 0.422 / std::pow(tr, 1.6);
    const double b1 = 0.139 - 0.172 / std::pow(tr, 4.2);
    const double d2b0 = -0.422 * 1.6 * 2.6 / std::pow(tr, 3.6);
    const double d2b1 = -0.172 * 4.2 * 5.2 / std::pow(tr, 6.2);
    return {scale * (b0 + kOmegaAir * b1), scale * (d2b0 + kOmegaAir * d2b1) / (kTcAir * kTcAir)};
}

// Residual enthalpy of the same virial form, h − h⁰ = p (B − T dB/dT) (Smith, Van Ness &
// Abbott, Introduction to Chemical Engineering Thermodynamics, 7th ed., ch. 6): about
// −1.3 kJ/kg at 10 bar and 20 °C, the Joule-Thomson part of compressed air's enthalpy.
double air_residual_enthalpy(double p, double T) {
    const double tr = T / kTcAir;
    const double scale = kRAir * kTcAir / kPcAir;
    const double db0 = 0.422 * 1.6 / std::pow(tr, 2.6);
    const double db1 = 0.172 * 4.2 / std::pow(tr, 5.2);
    const double dB = scale * (db0 + kOmegaAir * db1) / kTcAir;
    return p * (air_virial(T).B - T * dB);
}

double air_density(double p, double T) {
    // Z = 1 + B p / (R T), the pressure-explicit virial form truncated after B.
    const double z = 1.0 + air_virial(T).B * p / (kRAir * T);
    return p / (z * kRAir * T);
}

double air_cp(double p, double T) {
    // Ideal gas: cp0 = 1030.5 - 0.19975 T + 3.9734e-4 T² (200-400 K, Poling et al. basis);
    // real-gas part of the virial form: cp - cp0 = -T p d²B/dT².
    const double cp0 = 1030.5 - 0.19975 * T + 3.9734e-4 * T * T;
    return cp0 - T * p * air_virial(T).d2B;
}

// Fitted by us to Lemmon & Jacobsen (2004), Int. J. Thermophys. 25:21, over 253-353 K and
// 1-13 bar: y = C T^1.5 / (S + T) * (1 + k rho); largest deviation 0.11 % (viscosity)
// and 0.27 % (conductivity).
double air_viscosity(double T, double rho) {
    return 1.48146e-6 * T * std::sqrt(T) / (115.542 + T) * (1.0 + 7.0927e-4 * rho);
}

double air_conductivity(double T, double rho) {
    return 2.29761e-3 * T * std::sqrt(T) / (152.974 + T) * (1.0 + 1.1291e-3 * rho);
}

}  // namespace

AirFluid::AirFluid(std::int32_t id, std::string name)
    : FluidBase(id, std::move(name), 0.0, true, false) {}

double AirFluid::YDensity(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    return air_density(pressure_, t + kKelvin);
}

double AirFluid::YHeatCapacity(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    return air_cp(pressure_, t + kKelvin);
}

double AirFluid::YConductivity(double t) const {
    return air_conductivity(t + kKelvin, YDensity(t));
}

double AirFluid::YViscosity(double t) const { return air_viscosity(t + kKelvin, YDensity(t)); }

void AirFluid::describe(core::FluidInfoType& info) const {
    info.Range.TMin = kTMin;
    info.Range.TMax = kTMax;
    info.Range.PMax = kPMax;
    info.MolarMass = kMAir;
    info.Source = "Dry air: ideal gas with Abbott second virial coefficient; transport fitted "
                  "to Lemmon & Jacobsen (2004)";
}

double water_vapour_saturation_pressure(double t) {
    check_range("Water vapour", "temperature", t, -100.0, 350.0, "°C");
    const double T = t + kKelvin;
    if (T >= if97::kTTriple) return if97::saturation_pressure(T);
    // IAPWS R14-08(2011), sublimation curve: ln(p/pt) = (1/θ) sum a_i θ^b_i, θ = T/Tt.
    const double theta = T / if97::kTTriple;
    const double sum = -21.2144006 * std::pow(theta, 0.00333333333) +
                       27.3203819 * std::pow(theta, 1.20666667) -
                       6.10598130 * std::pow(theta, 1.70333333);
    return 611.657 * std::exp(sum / theta);
}

double enhancement_factor(double p, double t) {
    // Buck's form (Buck 1981, J. Appl. Meteor. 20:1527), f = 1 + A + P (B + C t + D t²),
    // with coefficients fitted by us to the real-gas moist-air model of ASHRAE RP-1485
    // (Herrmann, Kretzschmar & Gatley 2009) over 0.1-1.3 MPa and 9-81 °C: dew points
    // within 0.02 K. Buck's own coefficients hold to 1.1 bar only and put the pressure
    // dew point of compressed air up to 0.3 K low.
    const double bar = p / 1e5;
    return 1.0 + 1.454577e-3 + bar * (3.492256e-3 - 2.814332e-5 * t + 1.996742e-7 * t * t);
}

double humidity_ratio(double p, double t, double rh) {
    check_range("Humid air", "relative humidity", rh, 0.0, 1.0, "");
    const double e = rh * enhancement_factor(p, t) * water_vapour_saturation_pressure(t);
    if (!(e < p)) throw OutOfRange("Humid air: vapour pressure above the total pressure");
    return kEpsilon * e / (p - e);
}

double dew_point(double p, double w) {
    check_range("Humid air", "humidity ratio", w, 1e-9, 1.0, "kg/kg");
    const double e = p * w / (kEpsilon + w);
    // f p_ws is monotone in t: bisection to 1e-9 K.
    auto saturated = [p](double t) { return enhancement_factor(p, t) * water_vapour_saturation_pressure(t); };
    double lo = -100.0, hi = 200.0;
    if (e < saturated(lo) || e > saturated(hi))
        throw OutOfRange("Humid air: dew point outside -100 .. 200 °C");
    while (hi - lo > 1e-9) {
        const double mid = 0.5 * (lo + hi);
        (saturated(mid) < e ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

HumidAirFluid::HumidAirFluid(std::int32_t id, std::string name, double conc)
    : FluidBase(id, std::move(name), conc, true, false) {
    check_range(YFluidName(), "humidity ratio", conc, 0.0, kConcMax, "g/kg");
}

double HumidAirFluid::DewPoint() const { return dew_point(pressure_, YConc() / 1000.0); }

double HumidAirFluid::vapour_ratio(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, AirFluid::kPMax);
    const double w = YConc() / 1000.0;
    const double e_sat = enhancement_factor(pressure_, t) * water_vapour_saturation_pressure(t);
    if (e_sat >= pressure_) return w;  // boiling air: cannot condense
    return std::min(w, kEpsilon * e_sat / (pressure_ - e_sat));
}

double HumidAirFluid::YEnthalpy(double t) const {
    const double w = YConc() / 1000.0;
    const double wv = vapour_ratio(t);
    const double T = t + kKelvin;
    // Dry air: the integral from 0 °C of the ideal-gas cp fit of air_cp (Poling et al.
    // basis), and the real-gas part at its partial pressure.
    auto cp_integral = [](double x) { return 1030.5 * x - 0.19975 / 2 * x * x + 3.9734e-4 / 3 * x * x * x; };
    const double pv = std::max(pressure_ * wv / (kEpsilon + wv), 1.0);
    const double h_air = cp_integral(T) - cp_integral(kKelvin) + air_residual_enthalpy(pressure_ - pv, T);
    const double h_vapour = if97::region2(pv, T).h;
    double h_water = 0;
    if (T >= if97::kTTriple) {
        h_water = if97::region1(std::max(pressure_, if97::saturation_pressure(T)), T).h;
    } else {
        // Ice Ih: heat of melting 333.43 kJ/kg and heat capacity 2.096 kJ/(kg K) at 0 °C
        // (Feistel & Wagner 2006, J. Phys. Chem. Ref. Data 35:1021).
        h_water = -333.43e3 + 2096.0 * (T - if97::kTTriple);
    }
    return (h_air + wv * h_vapour + (w - wv) * h_water) / (1.0 + w);
}

double HumidAirFluid::YCondensate(double t) const {
    const double w = YConc() / 1000.0;
    return (w - vapour_ratio(t)) / (1.0 + w);
}

double HumidAirFluid::YDensity(double t) const {
    // Partial densities: dry air (virial) at its partial pressure plus ideal vapour.
    const double w = vapour_ratio(t);
    const double T = t + kKelvin;
    const double pv = pressure_ * w / (kEpsilon + w);
    return air_density(pressure_ - pv, T) + pv / (kRWater * T);
}

double HumidAirFluid::YHeatCapacity(double t) const {
    const double w = vapour_ratio(t);
    const double T = t + kKelvin;
    const double pv = pressure_ * w / (kEpsilon + w);
    const double cp_v = pv > 0 ? if97::region2(pv, T).cp : if97::region2(1.0, T).cp;
    return (air_cp(pressure_ - pv, T) + w * cp_v) / (1.0 + w);
}

namespace {
// Wilke (1950), J. Chem. Phys. 18:517, mixing rule for a binary gas; with the
// conductivities it is the Mason-Saxena form.
double wilke(double y1, double y2, double x2, double M1, double M2, double mu1, double mu2) {
    const double x1 = 1.0 - x2;
    auto phi = [](double ma, double mb, double mua, double mub) {
        const double a = 1.0 + std::sqrt(mua / mub) * std::pow(mb / ma, 0.25);
        return a * a / std::sqrt(8.0 * (1.0 + ma / mb));
    };
    const double p12 = phi(M1, M2, mu1, mu2);
    const double p21 = phi(M2, M1, mu2, mu1);
    return x1 * y1 / (x1 + x2 * p12) + x2 * y2 / (x2 + x1 * p21);
}
}  // namespace

double HumidAirFluid::YViscosity(double t) const {
    const double w = vapour_ratio(t);
    const double T = t + kKelvin;
    const double x = w / (kEpsilon + w);
    const double rho_a = air_density(pressure_ * (1 - x), T);
    const double mu_a = air_viscosity(T, rho_a);
    const double mu_v = if97::viscosity(T, 0.0);  // dilute vapour
    return wilke(mu_a, mu_v, x, kMAir, kMWater, mu_a, mu_v);
}

double HumidAirFluid::YConductivity(double t) const {
    const double w = vapour_ratio(t);
    const double T = t + kKelvin;
    const double x = w / (kEpsilon + w);
    const double rho_a = air_density(pressure_ * (1 - x), T);
    const double mu_a = air_viscosity(T, rho_a);
    const double mu_v = if97::viscosity(T, 0.0);
    return wilke(air_conductivity(T, rho_a), if97::conductivity(T, 0.0), x, kMAir, kMWater, mu_a,
                 mu_v);
}

void HumidAirFluid::describe(core::FluidInfoType& info) const {
    info.Range.TMin = kTMin;
    info.Range.TMax = kTMax;
    info.Range.ConcMin = 0;
    info.Range.ConcMax = kConcMax;
    info.Range.PMax = AirFluid::kPMax;
    info.Source = "Humid air: dry air (see Air) and IF97 water vapour, Wilke mixing; "
                  "saturation over water IF97, over ice IAPWS R14-08; enhancement Buck (1981)";
}

}  // namespace hxq::engines::fluid
