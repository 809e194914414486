// Dry air and humid compressed air as ideal gases at the held pressure.
//
// Dry air: Sutherland forms for viscosity and conductivity with a linear density term,
// fitted (by us, 0.3 % max) to the Lemmon & Jacobsen (2004) correlations for air at
// 1-13 bar, -20..80 °C; ideal-gas heat capacity from a quadratic fit (Poling et al.
// basis); density and the real-gas part of cp from a second virial coefficient.
// Humid air: dry air plus water vapour at a humidity ratio w (kg water / kg dry air),
// held as YConc in g/kg. Its dew point follows from the partial pressure of the vapour.
#pragma once

#include "engines/fluid/fluid_base.h"

namespace hxq::engines::fluid {

class AirFluid : public FluidBase {
public:
    static constexpr double kTMin = -40.0;  // °C; the transport fits hold within 0.3 % over -20..80 °C
    static constexpr double kTMax = 120.0;  // °C (Sutherland forms extend safely by a few tens of K)
    static constexpr double kPMax = 5e6;    // Pa; a second virial coefficient suffices up to here

    explicit AirFluid(std::int32_t id, std::string name = "Air");

    double YDensity(double t) const override;
    double YHeatCapacity(double t) const override;
    double YConductivity(double t) const override;
    double YViscosity(double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;
};

class HumidAirFluid : public FluidBase {
public:
    static constexpr double kTMin = -40.0;
    static constexpr double kTMax = 120.0;
    static constexpr double kConcMax = 100.0;  // g/kg

    // conc: humidity ratio in g water per kg dry air.
    HumidAirFluid(std::int32_t id, std::string name, double conc);

    double YDensity(double t) const override;
    double YHeatCapacity(double t) const override;
    double YConductivity(double t) const override;
    double YViscosity(double t) const override;

    // Dew point (°C) of this air at the held pressure. Below it the gas carries only the
    // water of saturated air (the rest has condensed); the properties follow that gas.
    double DewPoint() const;

    // Per kg of the humid air entering: dry air, vapour and the water condensed from it
    // at t (liquid, or ice below the triple point). Reference: dry air at 0 °C, liquid
    // water at the triple point (IF97's), as ASHRAE RP-1485 moist-air tables.
    double YEnthalpy(double t) const override;
    double YCondensate(double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;

private:
    double vapour_ratio(double t) const;  // humidity ratio of the gas phase at t
};

// Saturation pressure of water vapour (Pa) over liquid water (t ≥ 0.01 °C, IF97) or over
// ice (t < 0.01 °C, IAPWS 2011 sublimation curve). Range -100 .. 350 °C.
double water_vapour_saturation_pressure(double t);
// Enhancement factor of water vapour in air at pressure p (Pa) and temperature t (°C).
double enhancement_factor(double p, double t);
// Humidity ratio (kg/kg) of air at pressure p, temperature t and relative humidity rh (0-1).
double humidity_ratio(double p, double t, double rh);
// Dew (frost) point (°C) of air at pressure p with humidity ratio w (kg/kg).
double dew_point(double p, double w);

}  // namespace hxq::engines::fluid
