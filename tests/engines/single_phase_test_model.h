// A small brazed plate geometry for the engine tests, with channel laws laid through
// Martin's correlation (Martin 1996, Chem. Eng. Process. 35:301; VDI Heat Atlas), and
// Martin's correlation itself for hand calculations.
#pragma once

#include "engines/fluid/catalogue.h"
#include "records/single_phase_records.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace hxq::test {

inline constexpr double kPi = 3.14159265358979323846;

// Martin's Darcy friction factor for chevron angle beta (degrees, from the flow direction).
inline double martin_xi(double re, double beta_deg) {
    const double b = beta_deg * kPi / 180.0;
    const bool laminar = re < 2000;
    const double xi0 = laminar ? 64.0 / re : std::pow(1.8 * std::log10(re) - 1.5, -2.0);
    const double xi1 = laminar ? 597.0 / re + 3.85 : 39.0 * std::pow(re, -0.289);
    const double inv = std::cos(b) / std::sqrt(0.18 * std::tan(b) + 0.36 * std::sin(b) + xi0 / std::cos(b)) +
                       (1.0 - std::cos(b)) / std::sqrt(3.8 * xi1);
    return 1.0 / (inv * inv);
}

// Nu / (Pr^(1/3) (eta/eta_w)^(1/6)) of Martin's heat-transfer correlation.
inline double martin_nu_group(double re, double beta_deg) {
    const double b = beta_deg * kPi / 180.0;
    return 0.122 * std::pow(martin_xi(re, beta_deg) * re * re * std::sin(2.0 * b), 0.374);
}

// A channel whose laws pass through Martin's values at the six Reynolds numbers given
// (ascending): range i runs from point i to point i+1 with the log slope between them.
inline core::SinglePhaseChannel martin_channel(double beta_deg, const std::array<double, 6>& re,
                                               std::int32_t id = 1) {
    core::SinglePhaseChannel ch;
    ch.Defined = true;
    ch.ChannelID = id;
    ch.ChannelName = beta_deg > 45 ? "H" : "L";
    ch.noFp = 4;
    ch.noNu = 4;
    for (int i = 0; i < 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double span = std::log(re[k + 1] / re[k]);
        ch.xFp[i] = std::log(martin_xi(re[k + 1], beta_deg) / martin_xi(re[k], beta_deg)) / span;
        ch.xNu[i] = std::log(martin_nu_group(re[k + 1], beta_deg) / martin_nu_group(re[k], beta_deg)) / span;
        if (i >= 1) {
            ch.crFp[i] = re[k];
            ch.crNu[i] = re[k];
        }
    }
    ch.cFp = martin_xi(re[0], beta_deg) / std::pow(re[0], ch.xFp[0]);
    ch.cnu = martin_nu_group(re[0], beta_deg) / std::pow(re[0], ch.xNu[0]);
    return ch;
}

// Breakpoints on Martin's turbulent branch, and a wide set for designs.
inline constexpr std::array<double, 6> kTurbulentPoints{2000, 2500, 3000, 3600, 4300, 5200};
inline constexpr std::array<double, 6> kWidePoints{100, 400, 2000, 5000, 12000, 30000};

// Geometry: â = 1 mm, Λ = 6.28 mm → Φ = 1.219, b = 2 mm, d_h = 2b/Φ (VDI Heat Atlas).
inline constexpr double kPhi = 1.219;
inline constexpr double kGap = 0.002;
inline constexpr double kWidth = 0.117;
inline constexpr double kLength = 0.30;
inline constexpr double kThickness = 0.0004;
inline constexpr double kPort = 0.040;

inline void give(core::DutyValue& v, double value) {
    v.Value = value;
    v.Given = true;
}
inline void give(core::DutyCount& v, int value) {
    v.Value = static_cast<std::int16_t>(value);
    v.Given = true;
}

}  // namespace hxq::test
