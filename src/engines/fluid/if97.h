// Water and steam: IAPWS-IF97 regions 1, 2 and 4, viscosity (IAPWS 2008) and thermal
// conductivity (IAPWS 2011) without the critical enhancement, surface tension
// (IAPWS 2014). SI units with kelvin; no range checks here (the callers check).
#pragma once

namespace hxq::engines::fluid::if97 {

inline constexpr double kR = 461.526;        // J/(kg K), IF97 eq. (1)
inline constexpr double kTc = 647.096;       // K, IF97 eq. (2)
inline constexpr double kPc = 22.064e6;      // Pa, IF97 eq. (3)
inline constexpr double kRhoc = 322.0;       // kg/m³, IF97 eq. (4)
inline constexpr double kTTriple = 273.16;   // K
inline constexpr double kRegion1TMax = 623.15;  // K, upper limit of region 1

struct State {
    double v;        // m³/kg
    double h;        // J/kg
    double cp;       // J/(kg K)
    double cv;       // J/(kg K)
    double drho_dp;  // (∂rho/∂p)_T, kg/(m³ Pa)
};

// Region 4: saturation pressure (Pa) at T (K), and saturation temperature (K) at p (Pa).
double saturation_pressure(double T);
double saturation_temperature(double p);

// Region 1 (liquid) and region 2 (vapour) at (p Pa, T K).
State region1(double p, double T);
State region2(double p, double T);

// Transport at (T K, rho kg/m³).
double viscosity(double T, double rho);      // Pa s
double conductivity(double T, double rho);   // W/(m K), without the critical enhancement
// Conductivity with the critical enhancement of R15-11 for industrial use (its
// reference-state derivative from Table 6); s is the IF97 state at (T, rho).
double conductivity(double T, const State& s);

// Surface tension of water against its vapour (N/m), T in K.
double surface_tension(double T);

}  // namespace hxq::engines::fluid::if97
