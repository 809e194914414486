#include "engines/fluid/water.h"

#include "engines/fluid/if97.h"

#include <algorithm>

namespace hxq::engines::fluid {
namespace {

constexpr const char* kWaterSource =
    "IAPWS-IF97 (R7-97(2012)) regions 1, 2, 4; viscosity IAPWS R12-08; conductivity "
    "IAPWS R15-11; surface tension IAPWS R1-76(2014)";
// A state this close to the saturation line counts as on it (K); absorbs the round trip
// T_s(p_s(T)) of the region-4 equations.
constexpr double kSatTolerance = 1e-7;

core::PhaseState make_state(double p, double t, const if97::State& s) {
    core::PhaseState out;
    out.Temperature = t;
    out.Pressure = p;
    out.Density = 1.0 / s.v;
    out.SpecificHeat = s.cp;
    const double T = t + kKelvin;
    out.Viscosity = if97::viscosity(T, out.Density);
    out.Conductivity = if97::conductivity(T, s);
    out.Enthalpy = s.h;
    return out;
}

}  // namespace

core::PhaseState steam_state(const std::string& name, double p, double t) {
    check_range(name, "pressure", p, 611.657, SteamFluid::kPMax, "Pa");
    check_range(name, "temperature", t, 0.0, SteamFluid::kTMax, "°C");
    const double ts = if97::saturation_temperature(p) - kKelvin;
    if (t < ts - kSatTolerance)
        throw OutOfRange(name + ": " + std::to_string(t) + " °C is below the saturation "
                         "temperature " + std::to_string(ts) + " °C of the pressure (not vapour)");
    return make_state(p, t, if97::region2(p, std::max(t, ts) + kKelvin));
}

WaterFluid::WaterFluid(std::int32_t id, std::string name)
    : FluidBase(id, std::move(name), 0.0, false, false) {}

core::PhaseState WaterFluid::liquid(double p, double t) const {
    return make_state(p, t, if97::region1(p, t + kKelvin));
}

core::PhaseState WaterFluid::YState(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    const double ps = if97::saturation_pressure(t + kKelvin);
    return liquid(std::max(pressure_, ps), t);
}

double WaterFluid::YDensity(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    const double T = t + kKelvin;
    return 1.0 / if97::region1(std::max(pressure_, if97::saturation_pressure(T)), T).v;
}

double WaterFluid::YHeatCapacity(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    const double T = t + kKelvin;
    return if97::region1(std::max(pressure_, if97::saturation_pressure(T)), T).cp;
}

double WaterFluid::YConductivity(double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(pressure_, 0, kPMax);
    const double T = t + kKelvin;
    return if97::conductivity(T, if97::region1(std::max(pressure_, if97::saturation_pressure(T)), T));
}

double WaterFluid::YViscosity(double t) const {
    const double rho = YDensity(t);
    return if97::viscosity(t + kKelvin, rho);
}

double WaterFluid::SatPressureBubble(double t) const {
    check_temperature(t, kSatTMin, kTMax);
    return if97::saturation_pressure(t + kKelvin);
}

double WaterFluid::SatTemperatureBubble(double p) const {
    check_pressure(p, if97::saturation_pressure(kSatTMin + kKelvin),
                   if97::saturation_pressure(kTMax + kKelvin));
    return if97::saturation_temperature(p) - kKelvin;
}

core::PhaseState WaterFluid::RefLiquid(double t) const {
    const double p = SatPressureBubble(t);
    return liquid(p, t);
}

core::PhaseState WaterFluid::RefVapor(double t) const {
    const double p = SatPressureBubble(t);
    return make_state(p, t, if97::region2(p, t + kKelvin));
}

double WaterFluid::LatentHeat(double t) const {
    return RefVapor(t).Enthalpy - RefLiquid(t).Enthalpy;
}

double WaterFluid::SurfaceTension(double t) const {
    check_temperature(t, kSatTMin, kTMax);
    return if97::surface_tension(t + kKelvin);
}

core::PhaseState WaterFluid::VaporState(double p, double t) const {
    return steam_state(YFluidName(), p, t);
}

core::PhaseState WaterFluid::LiquidState(double p, double t) const {
    check_temperature(t, kTMin, kTMax);
    check_pressure(p, 611.2, kPMax);
    const double ps = if97::saturation_pressure(t + kKelvin);
    if (p < ps * (1 - 1e-9))
        throw OutOfRange(YFluidName() + ": pressure below the saturation pressure of the "
                         "temperature (not liquid)");
    return liquid(p, t);
}

void WaterFluid::describe(core::FluidInfoType& info) const {
    info.Category = core::FluidCategory::Liquid;
    info.Range.TMin = kTMin;
    info.Range.TMax = kTMax;
    info.Range.PMin = 0;
    info.Range.PMax = kPMax;
    info.CriticalTemperature = if97::kTc - kKelvin;
    info.CriticalPressure = if97::kPc;
    info.MolarMass = 0.018015268;  // kg/mol, the molar mass of IAPWS-95
    info.Source = kWaterSource;
}

SteamFluid::SteamFluid(std::int32_t id, std::string name)
    : FluidBase(id, std::move(name), 0.0, true, false) {}

core::PhaseState SteamFluid::YState(double t) const {
    return steam_state(YFluidName(), pressure_, t);
}

void SteamFluid::describe(core::FluidInfoType& info) const {
    info.Range.TMin = 0;
    info.Range.TMax = kTMax;
    info.Range.PMin = 611.657;
    info.Range.PMax = kPMax;
    info.CriticalTemperature = if97::kTc - kKelvin;
    info.CriticalPressure = if97::kPc;
    info.MolarMass = 0.018015268;
    info.Source = kWaterSource;
}

}  // namespace hxq::engines::fluid
