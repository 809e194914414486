// The channels' piecewise power laws in the Reynolds number, continuous at every
// breakpoint (definition: docs/engine-records.md, "Piecewise power law").
#pragma once

#include "records/single_phase_records.h"

#include <array>

namespace hxq::engines::single_phase {

class PowerLaw {
public:
    PowerLaw() = default;
    // A law with `breaks` breakpoints: range i starts at start[i] (i >= 1) and has the
    // exponent x[i]; c0 is the coefficient of range 0.
    PowerLaw(double c0, int breaks, const std::array<double, 5>& x, const std::array<double, 5>& start);

    static PowerLaw friction(const core::SinglePhaseChannel& ch);
    static PowerLaw heat_transfer(const core::SinglePhaseChannel& ch);

    double operator()(double re) const;
    // The exponent in force at re (d ln y / d ln Re).
    double exponent(double re) const;
    // Re at which y(Re) * Re^2 equals g; the law must make y Re^2 rising (exponents > -2).
    double inverse_times_re2(double g) const;
    // False when the stored data cannot describe a law (breakpoints not increasing and
    // positive, coefficient not positive, friction exponents that make Δp fall with flow).
    bool valid() const { return valid_; }

private:
    int range(double re) const;
    int breaks_ = 0;
    std::array<double, 5> c_{};
    std::array<double, 5> x_{};
    std::array<double, 5> start_{};
    bool valid_ = false;
};

}  // namespace hxq::engines::single_phase
