// Monotone piecewise-cubic Hermite interpolation on uniform grids.
//
// Node slopes come from fourth-order central differences (second order next to the ends)
// and are then limited node by node with Hyman's filter (SIAM J. Sci. Stat. Comput. 4
// (1983) 645), which keeps every slope inside the monotonicity region of Fritsch & Carlson
// (SIAM J. Numer. Anal. 17 (1980) 238): monotone data give a monotone interpolant, local
// extrema are not overshot, and the curve is continuously differentiable (no kinks for
// an engine's iteration). In smooth regions the interpolant keeps the accuracy of the
// fourth-order slopes.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace hxq::engines::fluid {

// Slopes dy/dx at the n nodes y[0..n-1] spaced h apart, limited (see above).
void monotone_slopes(const double* y, int n, double h, double* m);
// The same slope at node i alone (each node's slope depends on its neighbours only).
double monotone_slope(const double* y, int n, double h, int i);

// Cubic Hermite between (y0, m0) and (y1, m1) over a step h, at u in [0, 1].
inline double hermite(double y0, double y1, double m0, double m1, double h, double u) {
    const double u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * y0 + (u3 - 2 * u2 + u) * h * m0 + (-2 * u3 + 3 * u2) * y1 +
           (u3 - u2) * h * m1;
}

inline double hermite_derivative(double y0, double y1, double m0, double m1, double h, double u) {
    const double u2 = u * u;
    return ((6 * u2 - 6 * u) * y0 + (-6 * u2 + 6 * u) * y1) / h + (3 * u2 - 4 * u + 1) * m0 +
           (3 * u2 - 2 * u) * m1;
}

// A function sampled at x0 + i h, i = 0..n-1. Samples may be NaN (no data): the spline
// covers the longest run of consecutive numbers only.
class UniformSpline {
public:
    UniformSpline() = default;
    UniformSpline(double x0, double h, const std::vector<double>& y);

    bool empty() const { return hi_ <= lo_; }
    double x_min() const { return x0_ + lo_ * h_; }
    double x_max() const { return x0_ + hi_ * h_; }
    bool covers(double x) const { return !empty() && x >= x_min() && x <= x_max(); }

    // Value and derivative at x; x must be covered (callers check with covers()).
    double operator()(double x) const;
    double derivative(double x) const;
    // The node values, for the inverse search.
    double node(int i) const { return y_[static_cast<std::size_t>(i)]; }
    int first() const { return lo_; }
    int last() const { return hi_; }
    double x_at(int i) const { return x0_ + i * h_; }

    // The x in the covered range where the spline equals v; the spline must be strictly
    // increasing. Returns false when v lies outside its values.
    bool inverse(double v, double& x) const;

private:
    void locate(double x, int& i, double& u) const;

    double x0_ = 0, h_ = 1;
    int lo_ = 0, hi_ = 0;  // covered nodes lo_..hi_
    std::vector<double> y_, m_;
};

}  // namespace hxq::engines::fluid
