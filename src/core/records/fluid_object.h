// The contract of a fluid of the fluid-property component: what the engines, the unit
// conversion and the outputs ask of a fluid. Temperatures in degrees Celsius,
// pressures in Pa, everything else SI. Records hold fluids by shared reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace hxq::core {

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
};

using FluidRef = std::shared_ptr<FluidObject>;

}  // namespace hxq::core
