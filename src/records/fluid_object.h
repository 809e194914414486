// The contract of a fluid of the fluid-property component: what the engines, the unit
// conversion and the outputs ask of a fluid. Temperatures in degrees Celsius,
// pressures in Pa, everything else SI. Records hold fluids by shared reference.
//
// Range violations (temperature, pressure, concentration, a state in the wrong phase)
// throw platform::Error with number kObjectError + 3, which the engines report as code 3
// ("Temperature(s) outside limit(s)."). No call returns NaN or extrapolates silently.
#pragma once

#include "platform/error.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace hxq::core {

// Engine code of a state outside a fluid's data ("Temperature(s) outside limit(s).").
inline constexpr std::int32_t kFluidRangeCode = 3;

enum class FluidCategory {
    Liquid,      // single-phase liquid (water, brines, single-phase user fluids)
    Gas,         // single-phase compressible (air)
    Refrigerant  // two-phase fluid with saturation data (refrigerants, two-phase user fluids)
};

// Where a fluid's data hold. Single-phase fluids: the liquid (or gas) temperature range.
// Two-phase fluids: the saturation temperature range (bubble line), and the pressure
// range of the saturation table.
struct FluidRange {
    double TMin = 0;
    double TMax = 0;
    double ConcMin = 0;  // % by mass
    double ConcMax = 0;
    double PMin = 0;  // Pa
    double PMax = std::numeric_limits<double>::max();
};

// What the outputs show about a fluid (`FluidInfo`).
struct FluidInfoType {
    std::int32_t FluidID = 0;
    std::string YFluidName;
    FluidCategory Category = FluidCategory::Liquid;
    double YConc = 0;
    bool YGas = false;
    bool TwoPhase = false;
    bool Glide = false;  // zeotropic: bubble and dew lines differ
    FluidRange Range;
    double CriticalTemperature = 0;  // °C, 0 when not applicable
    double CriticalPressure = 0;     // Pa
    double MolarMass = 0;            // kg/mol
    std::string Source;              // the published source of the data
};

// One phase at one state: saturated liquid (`RefLiquid`), saturated vapour (`RefVapor`),
// subcooled liquid or superheated vapour.
struct PhaseState {
    double Temperature = 0;   // °C
    double Pressure = 0;      // Pa
    double Density = 0;       // kg/m³
    double SpecificHeat = 0;  // J/(kg K)
    double Conductivity = 0;  // W/(m K)
    double Viscosity = 0;     // Pa s
    double Enthalpy = 0;      // J/kg, on the fluid's own reference state
};

class FluidObject {
public:
    virtual ~FluidObject() = default;

    // Identifier of the fluid, the FluidID of the channel-fluid correction table.
    virtual std::int32_t GetFluidID() const = 0;
    virtual std::string YFluidName() const = 0;
    virtual double YConc() const = 0;  // concentration, % by mass (0 for pure fluids)
    virtual bool YGas() const = 0;     // true for a gas (single-phase compressible)
    virtual bool IsTwoPhase() const = 0;

    // Pressure the single-phase properties are evaluated at (Pa).
    virtual double YPressure() const = 0;
    virtual void SetYPressure(double pascal) = 0;

    // Single-phase properties at temperature t (°C) and the held pressure.
    virtual double YDensity(double t) const = 0;       // kg/m³
    virtual double YHeatCapacity(double t) const = 0;  // J/(kg K)
    virtual double YConductivity(double t) const = 0;  // W/(m K)
    virtual double YViscosity(double t) const = 0;     // Pa s

    // --- Further members with defaults, so simple fluids need only the above ---

    // Specific enthalpy (J/kg of the fluid as it enters) at t and the held pressure, for a
    // fluid whose heat balance is not cp ΔT: humid air that condenses, its condensate
    // leaving at t. NaN for the others, whose balances use the heat capacity.
    virtual double YEnthalpy(double /*t*/) const { return std::numeric_limits<double>::quiet_NaN(); }
    // Water condensed out of one kg of the fluid as it enters, once cooled to t (kg/kg).
    virtual double YCondensate(double /*t*/) const { return 0; }

    virtual FluidInfoType FluidInfo() const {
        FluidInfoType info;
        info.FluidID = GetFluidID();
        info.YFluidName = YFluidName();
        info.YConc = YConc();
        info.YGas = YGas();
        info.TwoPhase = IsTwoPhase();
        info.Category = IsTwoPhase() ? FluidCategory::Refrigerant
                        : YGas()     ? FluidCategory::Gas
                                     : FluidCategory::Liquid;
        return info;
    }

    // Single-phase state (all properties at once) at t and the held pressure.
    virtual PhaseState YState(double t) const {
        PhaseState s;
        s.Temperature = t;
        s.Pressure = YPressure();
        s.Density = YDensity(t);
        s.SpecificHeat = YHeatCapacity(t);
        s.Conductivity = YConductivity(t);
        s.Viscosity = YViscosity(t);
        return s;
    }

    // Two-phase members. A fluid without saturation data throws the range error.
    // Saturation pressure (Pa) on the bubble / dew line at temperature t (°C).
    virtual double SatPressureBubble(double /*t*/) const { no_saturation(); }
    virtual double SatPressureDew(double /*t*/) const { no_saturation(); }
    // Saturation temperature (°C) on the bubble / dew line at pressure p (Pa).
    virtual double SatTemperatureBubble(double /*p*/) const { no_saturation(); }
    virtual double SatTemperatureDew(double /*p*/) const { no_saturation(); }
    // Saturated liquid at bubble temperature t / saturated vapour at dew temperature t.
    virtual PhaseState RefLiquid(double /*t*/) const { no_saturation(); }
    virtual PhaseState RefVapor(double /*t*/) const { no_saturation(); }
    // Enthalpy of complete condensation at constant pressure (J/kg): saturated vapour
    // at dew temperature t minus saturated liquid at the bubble point of the same
    // pressure. Includes the glide's sensible part for zeotropic blends.
    virtual double LatentHeat(double /*t*/) const { no_saturation(); }
    // Surface tension of the saturated liquid at bubble temperature t (N/m).
    virtual double SurfaceTension(double /*t*/) const { no_saturation(); }
    // Superheated (or saturated) vapour at (p, t), t ≥ dew temperature of p.
    virtual PhaseState VaporState(double /*p*/, double /*t*/) const { no_saturation(); }
    // Subcooled (or saturated) liquid at (p, t), t ≤ bubble temperature of p.
    virtual PhaseState LiquidState(double /*p*/, double /*t*/) const { no_saturation(); }

protected:
    [[noreturn]] void no_saturation() const {
        throw platform::object_error(kFluidRangeCode, YFluidName(),
                                     YFluidName() + " has no two-phase (saturation) data");
    }
};

using FluidRef = std::shared_ptr<FluidObject>;

}  // namespace hxq::core
