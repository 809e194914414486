#include "engines/single_phase/pntu.h"

#include <cmath>

namespace hxq::engines::single_phase {

namespace {
constexpr double kUnity = 1e-9;  // |1 - r| below this: the r = 1 limit of the formulas
}

double p_counter(double ntu, double r) {
    if (std::abs(1.0 - r) < kUnity) return ntu / (1.0 + ntu);
    const double e = std::exp(-ntu * (1.0 - r));
    return (1.0 - e) / (1.0 - r * e);
}

double p_parallel(double ntu, double r) { return (1.0 - std::exp(-ntu * (1.0 + r))) / (1.0 + r); }

double ntu_counter(double p, double r) {
    if (p <= 0) return 0;
    if (std::abs(1.0 - r) < kUnity) return p < 1 ? p / (1.0 - p) : -1;
    const double num = 1.0 - r * p;
    const double den = 1.0 - p;
    if (num <= 0 || den <= 0) return -1;
    return std::log(num / den) / (1.0 - r);
}

double ntu_parallel(double p, double r) {
    if (p <= 0) return 0;
    const double x = 1.0 - p * (1.0 + r);
    if (x <= 0) return -1;
    return -std::log(x) / (1.0 + r);
}

namespace {

// n passes of fluid a in series against fluid b in one pass: b divides into n parallel
// groups, each facing one pass of a with area A/n; the passes alternate between counter
// and co-current flow. Returns the effectiveness of fluid a.
double multipass_a(int n, bool first_counter, double ntu_a, double r_a) {
    double t = 1.0;  // fluid a temperature, scaled: a enters at 1, b at 0
    const double x = ntu_a / n;
    const double y = r_a * n;
    bool counter = first_counter;
    for (int k = 0; k < n; ++k) {
        const double p = counter ? p_counter(x, y) : p_parallel(x, y);
        t -= p * t;
        counter = !counter;
    }
    return 1.0 - t;
}

}  // namespace

double effectiveness(const PassArrangement& arr, int multi_side, double ntu1, double r1) {
    if (arr.symmetric || arr.passes_a <= 1)
        return arr.counter ? p_counter(ntu1, r1) : p_parallel(ntu1, r1);
    if (multi_side == 1) return multipass_a(arr.passes_a, arr.counter, ntu1, r1);
    // Fluid 2 is the multi-pass one: P1 = P2 C2/C1 = P2 / r1, NTU2 = NTU1 r1, R2 = 1/r1.
    return multipass_a(arr.passes_a, arr.counter, ntu1 * r1, 1.0 / r1) / r1;
}

double required_ntu(const PassArrangement& arr, int multi_side, double p1, double r1) {
    if (arr.symmetric || arr.passes_a <= 1)
        return arr.counter ? ntu_counter(p1, r1) : ntu_parallel(p1, r1);
    if (p1 <= 0) return 0;
    // P rises with NTU towards an asymptote; bracket, then bisect.
    double lo = 0;
    double hi = 1;
    while (effectiveness(arr, multi_side, hi, r1) < p1) {
        lo = hi;
        hi *= 2;
        if (hi > 1e4) return -1;
    }
    for (int i = 0; i < 200 && hi - lo > 1e-13 * hi; ++i) {
        const double mid = 0.5 * (lo + hi);
        (effectiveness(arr, multi_side, mid, r1) < p1 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

}  // namespace hxq::engines::single_phase
