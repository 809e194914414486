// Aqueous solutions of ethylene glycol (MEG) and propylene glycol (MPG), 0-60 % by mass,
// from Melinder's polynomial fits (Å. Melinder, Properties of Secondary Working Fluids for
// Indirect Systems, IIF-IIR 2010), between the freezing point and 100 °C.
#pragma once

#include "engines/fluid/fluid_base.h"

namespace hxq::engines::fluid {

enum class Glycol { Ethylene, Propylene };

class GlycolFluid : public FluidBase {
public:
    static constexpr double kConcMin = 0.0;
    static constexpr double kConcMax = 60.0;
    static constexpr double kTMax = 100.0;

    // Throws OutOfRange when conc is outside 0-60 %.
    GlycolFluid(std::int32_t id, std::string name, Glycol kind, double conc);

    double YDensity(double t) const override;
    double YHeatCapacity(double t) const override;
    double YConductivity(double t) const override;
    double YViscosity(double t) const override;
    core::PhaseState YState(double t) const override;

    double FreezingPoint() const { return t_freeze_; }  // °C

protected:
    void describe(core::FluidInfoType& info) const override;

private:
    // Column of the coefficient table: 0 T_f, 1 rho, 2 cp, 3 lambda, 4 ln(mu / mPa s).
    double eval(int column, double t) const;

    Glycol kind_;
    double t_freeze_;
};

// Freezing point (°C) of a solution of conc % by mass.
double glycol_freezing_point(Glycol kind, double conc);

}  // namespace hxq::engines::fluid
