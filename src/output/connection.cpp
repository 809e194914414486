// Connection sizing: the diameter a connection needs to carry a port's flow at the
// velocity head the sizing rule assumes, from the density of what flows through it.
#include "output/cls_output.h"

#include "platform/error.h"

#include <fmt/format.h>

#include <cmath>

namespace hxq::output {
namespace {

constexpr const char* kSource = "TheConnection";

[[noreturn]] void bad_argument(const std::string& what) {
    throw platform::Error(5, kSource, "Invalid procedure call or argument: " + what);
}

// The density of the flow through the connection. A two-phase inlet of quality Qin is
// taken as a homogeneous mixture: its specific volume is the quality-weighted sum of the
// phases' specific volumes, v = Qin v_vap + (1 - Qin) v_liq (homogeneous model, Collier &
// Thome, Convective Boiling and Condensation, 3rd ed., 1994, ch. 2). The form this
// replaces added DensVap / Qin to (1 - Qin) / DensLiq, a density plus a specific volume,
// which is no density at all; the callers use the result exactly like DensVap and DensLiq.
double flow_density(std::int16_t InOut, double Qin, double DensVap, double DensLiq) {
    switch (InOut) {
        case 1: return DensVap;
        case 2: return DensLiq;
        case 0:
            if (!(Qin >= 0.0 && Qin <= 1.0)) bad_argument(fmt::format("Qin {} is not a vapour quality 0..1", Qin));
            if (Qin == 0.0) return DensLiq;
            if (Qin == 1.0) return DensVap;
            if (!(DensVap > 0.0) || !(DensLiq > 0.0))
                bad_argument(fmt::format("DensVap {} and DensLiq {} must both be above 0", DensVap, DensLiq));
            return 1.0 / (Qin / DensVap + (1.0 - Qin) / DensLiq);
        default:
            bad_argument(fmt::format("InOut {} is not 0 (two-phase inlet), 1 (vapour) or 2 (liquid)", InOut));
    }
}

}  // namespace

float clsOutput::TheConnection(std::int16_t InOut, float Qin, float DensVap, float DensLiq, float MassFlow,
                               std::int16_t ParaM) {
    const double density = flow_density(InOut, Qin, DensVap, DensLiq);
    if (!(density > 0.0)) bad_argument(fmt::format("the density {} kg/m³ of InOut {} must be above 0", density, InOut));
    if (ParaM <= 0) bad_argument(fmt::format("ParaM {} units in parallel must be at least 1", ParaM));
    // The sizing rule of the range was drawn up with 3.14 for pi; the recommended sizes
    // printed so far come from it, so it stays (the difference is 0.025 %).
    const double diameter = std::sqrt(MassFlow * 4.0 / (ParaM * density * 3.14)) * 1000.0;
    if (!std::isfinite(diameter) || !std::isfinite(static_cast<float>(diameter)))
        bad_argument(fmt::format("MassFlow {} kg/s gives no diameter", MassFlow));
    return static_cast<float>(diameter);
}

}  // namespace hxq::output
