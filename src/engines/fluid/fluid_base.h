// Common state of the component's fluids: identity, concentration and held pressure.
#pragma once

#include "records/fluid_object.h"
#include "engines/fluid/fluid_error.h"

#include <string>

namespace hxq::engines::fluid {

inline constexpr double kKelvin = 273.15;       // 0 °C in K
inline constexpr double kStandardPressure = 1e5;  // Pa, the held pressure of a new fluid

class FluidBase : public core::FluidObject {
public:
    FluidBase(std::int32_t id, std::string name, double conc, bool gas, bool two_phase)
        : id_(id), name_(std::move(name)), conc_(conc), gas_(gas), two_phase_(two_phase) {}

    std::int32_t GetFluidID() const override { return id_; }
    std::string YFluidName() const override { return name_; }
    double YConc() const override { return conc_; }
    bool YGas() const override { return gas_; }
    bool IsTwoPhase() const override { return two_phase_; }
    double YPressure() const override { return pressure_; }
    void SetYPressure(double pascal) override;

    core::FluidInfoType FluidInfo() const override;

protected:
    // Fills what FluidInfo adds to the identity; called by FluidInfo.
    virtual void describe(core::FluidInfoType& info) const = 0;
    void check_temperature(double t, double lo, double hi) const;
    void check_pressure(double p, double lo, double hi) const;

    double pressure_ = kStandardPressure;

private:
    std::int32_t id_;
    std::string name_;
    double conc_;
    bool gas_;
    bool two_phase_;
};

}  // namespace hxq::engines::fluid
