#include "engines/single_phase/power_law.h"

#include <cmath>

namespace hxq::engines::single_phase {

PowerLaw::PowerLaw(double c0, int breaks, const std::array<double, 5>& x,
                   const std::array<double, 5>& start)
    : breaks_(breaks), x_(x), start_(start) {
    valid_ = breaks >= 0 && breaks <= 4 && c0 > 0 && std::isfinite(c0);
    if (!valid_) {
        breaks_ = 0;
        return;
    }
    c_[0] = c0;
    for (int i = 1; i <= breaks_; ++i) {
        const bool rising = start_[i] > 0 && (i == 1 || start_[i] > start_[i - 1]);
        if (!rising || !std::isfinite(start_[i])) {
            valid_ = false;
            breaks_ = 0;
            return;
        }
        // Continuity at start[i]: c_i start^x_i = c_(i-1) start^x_(i-1).
        c_[i] = c_[i - 1] * std::pow(start_[i], x_[i - 1] - x_[i]);
    }
    for (int i = 0; i <= breaks_; ++i)
        if (!std::isfinite(x_[i]) || !std::isfinite(c_[i])) valid_ = false;
}

namespace {
template <typename X, typename S>
PowerLaw make(double c0, int n, const X& xs, const S& starts) {
    std::array<double, 5> x{};
    std::array<double, 5> s{};
    const int breaks = n < 0 ? -1 : (n > 4 ? 5 : n);
    for (int i = 0; i <= 4; ++i) {
        x[static_cast<std::size_t>(i)] = xs[i];
        s[static_cast<std::size_t>(i)] = starts[i];
    }
    return PowerLaw(c0, breaks, x, s);
}
}  // namespace

PowerLaw PowerLaw::friction(const core::SinglePhaseChannel& ch) {
    PowerLaw law = make(ch.cFp, ch.noFp, ch.xFp, ch.crFp);
    // Δp ∝ ξ Re²: an exponent at or below −2 would make the pressure drop fall as the
    // flow rises, which no channel does and which the flow split cannot solve.
    for (int i = 0; i <= law.breaks_; ++i)
        if (law.x_[static_cast<std::size_t>(i)] <= -2) law.valid_ = false;
    return law;
}

PowerLaw PowerLaw::heat_transfer(const core::SinglePhaseChannel& ch) {
    return make(ch.cnu, ch.noNu, ch.xNu, ch.crNu);
}

int PowerLaw::range(double re) const {
    int k = 0;
    while (k < breaks_ && re >= start_[static_cast<std::size_t>(k + 1)]) ++k;
    return k;
}

double PowerLaw::operator()(double re) const {
    const auto k = static_cast<std::size_t>(range(re));
    return c_[k] * std::pow(re, x_[k]);
}

double PowerLaw::exponent(double re) const { return x_[static_cast<std::size_t>(range(re))]; }

double PowerLaw::inverse_times_re2(double g) const {
    // y Re² is rising and continuous, so the range holding g is the last one whose start
    // value lies at or below g.
    int k = 0;
    while (k < breaks_) {
        const double s = start_[static_cast<std::size_t>(k + 1)];
        if ((*this)(s) * s * s > g) break;
        ++k;
    }
    const auto i = static_cast<std::size_t>(k);
    return std::pow(g / c_[i], 1.0 / (2.0 + x_[i]));
}

}  // namespace hxq::engines::single_phase
