#include "engines/fluid/interp.h"

#include <algorithm>

namespace hxq::engines::fluid {

double monotone_slope(const double* y, int n, double h, int i) {
    if (n <= 1) return 0;
    double m;
    if (i >= 2 && i + 2 < n)
        m = (-y[i + 2] + 8 * y[i + 1] - 8 * y[i - 1] + y[i - 2]) / (12 * h);
    else if (i >= 1 && i + 1 < n)
        m = (y[i + 1] - y[i - 1]) / (2 * h);
    else if (n >= 3)
        m = i == 0 ? (-3 * y[0] + 4 * y[1] - y[2]) / (2 * h) : (3 * y[n - 1] - 4 * y[n - 2] + y[n - 3]) / (2 * h);
    else
        m = (y[1] - y[0]) / h;
    // Hyman's filter: zero slope at a local extremum, otherwise the slope keeps the sign
    // of the neighbouring secants and at most three times the smaller of them.
    const bool has_left = i > 0, has_right = i + 1 < n;
    const double dl = has_left ? (y[i] - y[i - 1]) / h : 0.0;
    const double dr = has_right ? (y[i + 1] - y[i]) / h : 0.0;
    double bound;
    double sign;
    if (has_left && has_right) {
        if (dl * dr <= 0) return 0;
        sign = dl > 0 ? 1.0 : -1.0;
        bound = 3.0 * std::min(std::fabs(dl), std::fabs(dr));
    } else {
        const double d = has_left ? dl : dr;
        if (d == 0 || m * d < 0) return 0;
        sign = d > 0 ? 1.0 : -1.0;
        bound = 3.0 * std::fabs(d);
    }
    if (m * sign < 0) return 0;
    return std::fabs(m) > bound ? sign * bound : m;
}

void monotone_slopes(const double* y, int n, double h, double* m) {
    for (int i = 0; i < n; ++i) m[i] = monotone_slope(y, n, h, i);
}

UniformSpline::UniformSpline(double x0, double h, const std::vector<double>& y) : x0_(x0), h_(h) {
    // Longest run of numbers.
    int best_lo = 0, best_len = 0;
    const int n = static_cast<int>(y.size());
    for (int i = 0; i < n;) {
        if (std::isnan(y[static_cast<std::size_t>(i)])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && !std::isnan(y[static_cast<std::size_t>(j)])) ++j;
        if (j - i > best_len) {
            best_len = j - i;
            best_lo = i;
        }
        i = j;
    }
    lo_ = best_lo;
    hi_ = best_len > 0 ? best_lo + best_len - 1 : best_lo;
    y_ = y;
    m_.assign(y.size(), 0.0);
    if (best_len >= 2)
        monotone_slopes(y_.data() + lo_, best_len, h_, m_.data() + lo_);
    else
        hi_ = lo_;  // a single point covers nothing: an interval is needed
}

void UniformSpline::locate(double x, int& i, double& u) const {
    const double s = (x - x0_) / h_;
    i = std::clamp(static_cast<int>(std::floor(s)), lo_, hi_ - 1);
    u = s - i;
}

double UniformSpline::operator()(double x) const {
    int i;
    double u;
    locate(x, i, u);
    const auto k = static_cast<std::size_t>(i);
    return hermite(y_[k], y_[k + 1], m_[k], m_[k + 1], h_, u);
}

double UniformSpline::derivative(double x) const {
    int i;
    double u;
    locate(x, i, u);
    const auto k = static_cast<std::size_t>(i);
    return hermite_derivative(y_[k], y_[k + 1], m_[k], m_[k + 1], h_, u);
}

bool UniformSpline::inverse(double v, double& x) const {
    if (empty() || !(v >= y_[static_cast<std::size_t>(lo_)]) || !(v <= y_[static_cast<std::size_t>(hi_)]))
        return false;
    // Interval by bisection over the nodes, then Newton on the cubic safeguarded by
    // bisection (the piece is monotone, so the root is unique).
    int a = lo_, b = hi_;
    while (b - a > 1) {
        const int mid = (a + b) / 2;
        (y_[static_cast<std::size_t>(mid)] <= v ? a : b) = mid;
    }
    const auto k = static_cast<std::size_t>(a);
    const double y0 = y_[k], y1 = y_[k + 1], m0 = m_[k], m1 = m_[k + 1];
    double ul = 0, uh = 1;
    double u = (y1 > y0) ? (v - y0) / (y1 - y0) : 0.5;
    for (int it = 0; it < 60; ++it) {
        const double f = hermite(y0, y1, m0, m1, h_, u) - v;
        if (f == 0) break;
        (f < 0 ? ul : uh) = u;
        const double d = hermite_derivative(y0, y1, m0, m1, h_, u) * h_;
        double next = d > 0 ? u - f / d : 0.5 * (ul + uh);
        if (!(next > ul && next < uh)) next = 0.5 * (ul + uh);
        if (std::fabs(next - u) < 1e-15) {
            u = next;
            break;
        }
        u = next;
    }
    x = x0_ + (static_cast<double>(a) + u) * h_;
    return true;
}

}  // namespace hxq::engines::fluid
