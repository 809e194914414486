// Water (liquid, with its saturation line and steam) and steam as a gas, from IAPWS-IF97.
#pragma once

#include "engines/fluid/fluid_base.h"

namespace hxq::engines::fluid {

// Liquid water. Below the saturation pressure of t the liquid is taken at the saturation
// pressure (a liquid side always runs at least there; pressure barely moves liquid
// properties), so water at 1 bar answers up to 350 °C like a pressurised circuit.
class WaterFluid : public FluidBase {
public:
    static constexpr double kTMin = 0.0;     // °C, IF97 region 1 from 273.15 K
    static constexpr double kTMax = 350.0;   // °C, region 1 up to 623.15 K
    static constexpr double kPMax = 100e6;   // Pa, region 1 up to 100 MPa
    static constexpr double kSatTMin = 0.01; // °C, triple point

    explicit WaterFluid(std::int32_t id, std::string name = "Water");

    double YDensity(double t) const override;
    double YHeatCapacity(double t) const override;
    double YConductivity(double t) const override;
    double YViscosity(double t) const override;
    core::PhaseState YState(double t) const override;

    double SatPressureBubble(double t) const override;
    double SatPressureDew(double t) const override { return SatPressureBubble(t); }
    double SatTemperatureBubble(double p) const override;
    double SatTemperatureDew(double p) const override { return SatTemperatureBubble(p); }
    core::PhaseState RefLiquid(double t) const override;
    core::PhaseState RefVapor(double t) const override;
    double LatentHeat(double t) const override;
    double SurfaceTension(double t) const override;
    core::PhaseState VaporState(double p, double t) const override;
    core::PhaseState LiquidState(double p, double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;

private:
    core::PhaseState liquid(double p, double t) const;
};

// Steam as a single-phase gas at the held pressure (IF97 region 2), for temperatures at
// or above the saturation temperature of that pressure.
class SteamFluid : public FluidBase {
public:
    static constexpr double kTMax = 800.0;     // °C, region 2 up to 1073.15 K
    static constexpr double kPMax = 16.529e6;  // Pa, region 2 meets region 3 above

    explicit SteamFluid(std::int32_t id, std::string name = "Steam");

    double YDensity(double t) const override { return YState(t).Density; }
    double YHeatCapacity(double t) const override { return YState(t).SpecificHeat; }
    double YConductivity(double t) const override { return YState(t).Conductivity; }
    double YViscosity(double t) const override { return YState(t).Viscosity; }
    core::PhaseState YState(double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;
};

// Vapour (region 2) state with transport, shared by water and steam; checks the range.
core::PhaseState steam_state(const std::string& name, double p, double t);

}  // namespace hxq::engines::fluid
