#include "engines/fluid/fluid_base.h"

#include <fmt/core.h>

#include <cmath>

namespace hxq::engines::fluid {

UnknownFluid::UnknownFluid(const std::string& name, std::vector<std::string> nearest,
                           const std::string& note)
    : platform::Error(platform::kObjectError + kUnknownFluidCode, kSource,
                      [&] {
                          std::string text = "Unknown fluid \"" + name + "\"";
                          if (!note.empty()) text += " (" + note + ")";
                          if (!nearest.empty()) {
                              text += "; nearest names: ";
                              for (std::size_t i = 0; i < nearest.size(); ++i)
                                  text += (i ? ", " : "") + nearest[i];
                          }
                          return text;
                      }()),
      nearest_(std::move(nearest)) {}

void check_range(const std::string& fluid, const char* quantity, double value, double lo,
                 double hi, const char* unit) {
    // Written so that NaN fails too.
    if (!(value >= lo && value <= hi))
        throw OutOfRange(fmt::format("{}: {} {:g} {} outside {:g} .. {:g} {}", fluid, quantity,
                                     value, unit, lo, hi, unit));
}

void FluidBase::SetYPressure(double pascal) {
    if (!(pascal > 0) || !std::isfinite(pascal))
        throw OutOfRange(fmt::format("{}: pressure {:g} Pa is not a positive number", YFluidName(),
                                     pascal));
    pressure_ = pascal;
}

core::FluidInfoType FluidBase::FluidInfo() const {
    core::FluidInfoType info;
    info.FluidID = id_;
    info.YFluidName = name_;
    info.YConc = conc_;
    info.YGas = gas_;
    info.TwoPhase = two_phase_;
    info.Category = two_phase_ ? core::FluidCategory::Refrigerant
                    : gas_     ? core::FluidCategory::Gas
                               : core::FluidCategory::Liquid;
    describe(info);
    return info;
}

void FluidBase::check_temperature(double t, double lo, double hi) const {
    check_range(name_, "temperature", t, lo, hi, "°C");
}

void FluidBase::check_pressure(double p, double lo, double hi) const {
    check_range(name_, "pressure", p, lo, hi, "Pa");
}

}  // namespace hxq::engines::fluid
