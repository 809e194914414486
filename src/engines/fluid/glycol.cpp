#include "engines/fluid/glycol.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace hxq::engines::fluid {
namespace {

// Melinder (IIR 2010) fits: f(x, T) = sum c_ij (x - x_m)^i (T - T_m)^j, x in % by mass,
// T in °C. Columns: freezing point T_f (°C, j = 0 only), density (kg/m³), heat capacity
// (J/kg K), thermal conductivity (W/m K), ln(viscosity / mPa s).
struct Row {
    int i;
    int j;
    std::array<double, 5> c;
};

struct Fit {
    double xm;
    double Tm;
    std::array<Row, 18> rows;
};

constexpr Fit kMEG{30.8462, 31.728, {{
    {0, 0, {-15.25, 1034, 3737, 0.472, 0.4705}},
    {0, 1, {-1.566e-6, -0.4781, 2.93, 8.903e-4, -0.0255}},
    {0, 2, {-2.278e-7, -0.002692, -0.004675, -1.058e-6, 1.782e-4}},
    {0, 3, {2.169e-9, 4.725e-6, -1.389e-5, -2.789e-9, -7.669e-7}},
    {1, 0, {-0.808, 1.311, -17.99, -0.004286, 0.02471}},
    {1, 1, {-1.339e-6, -0.006876, 0.1046, -1.473e-5, -1.171e-4}},
    {1, 2, {2.047e-8, 4.805e-5, -4.147e-4, 1.059e-7, 1.052e-6}},
    {1, 3, {-2.717e-11, 1.69e-8, 1.847e-7, -1.142e-10, -1.634e-8}},
    {2, 0, {-0.01334, 7.49e-5, -0.09933, 1.747e-5, 3.328e-6}},
    {2, 1, {6.322e-8, 7.855e-5, 3.516e-4, 6.814e-8, 1.086e-6}},
    {2, 2, {2.373e-10, -3.995e-7, 5.109e-6, -3.612e-9, 1.051e-8}},
    {2, 3, {-2.183e-12, 4.982e-9, -7.138e-8, 2.365e-12, -6.475e-10}},
    {3, 0, {-7.293e-5, -1.062e-4, 0.00261, 3.017e-8, 1.659e-6}},
    {3, 1, {1.764e-9, 1.229e-6, -1.189e-6, -2.412e-9, 3.157e-9}},
    {3, 2, {-2.442e-11, -1.153e-8, -1.643e-7, 4.004e-11, 4.063e-10}},
    {4, 0, {1.006e-6, -9.623e-7, 1.537e-5, -1.322e-9, 3.089e-8}},
    {4, 1, {-7.662e-11, -7.211e-8, -4.272e-7, 2.555e-11, 1.831e-10}},
    {5, 0, {1.14e-9, 4.891e-8, -1.618e-6, 2.678e-11, -1.865e-9}},
}}};

constexpr Fit kMPG{30.7031, 32.7083, {{
    {0, 0, {-13.25, 1018, 3882, 0.4513, 0.6837}},
    {0, 1, {-3.82e-5, -0.5406, 2.699, 7.955e-4, -0.03045}},
    {0, 2, {7.865e-7, -0.002666, -0.001659, 3.482e-8, 2.525e-4}},
    {0, 3, {-1.733e-9, 1.347e-5, -1.032e-5, -5.966e-9, -1.399e-6}},
    {1, 0, {-0.6631, 0.7604, -13.04, -0.004795, 0.03328}},
    {1, 1, {6.774e-6, -0.00945, 0.0507, -1.678e-5, -3.984e-4}},
    {1, 2, {-6.242e-8, 5.541e-5, -4.752e-5, 8.941e-8, 4.332e-6}},
    {1, 3, {-7.819e-10, -1.343e-7, 1.522e-6, 1.493e-10, -1.86e-8}},
    {2, 0, {-0.01094, -0.002498, -0.1598, 2.076e-5, 5.453e-5}},
    {2, 1, {5.332e-8, 2.7e-5, 9.534e-5, 1.563e-7, -8.6e-8}},
    {2, 2, {-4.169e-9, -4.018e-7, 1.167e-5, -4.615e-9, -1.593e-8}},
    {2, 3, {3.288e-11, 3.376e-9, -4.87e-8, 9.897e-12, -4.465e-11}},
    {3, 0, {-2.283e-4, -1.55e-4, 3.539e-4, -9.083e-8, -3.9e-6}},
    {3, 1, {-1.131e-8, 2.829e-6, 3.102e-5, -2.518e-9, 1.054e-7}},
    {3, 2, {1.918e-10, -7.175e-9, -2.95e-7, 6.543e-11, -1.589e-9}},
    {4, 0, {-3.409e-6, -1.131e-6, 5.0e-5, -5.952e-10, -1.587e-8}},
    {4, 1, {8.035e-11, -2.221e-8, -7.135e-7, -3.605e-11, 4.475e-10}},
    {5, 0, {1.465e-8, 2.342e-8, -4.959e-7, 2.104e-11, 3.564e-9}},
}}};

const Fit& fit_of(Glycol kind) { return kind == Glycol::Ethylene ? kMEG : kMPG; }

double evaluate(const Fit& fit, int column, double x, double t) {
    const double dx = x - fit.xm;
    const double dt = t - fit.Tm;
    std::array<double, 6> px{1, dx, dx * dx, dx * dx * dx, dx * dx * dx * dx, 0};
    px[5] = px[4] * dx;
    const std::array<double, 4> pt{1, dt, dt * dt, dt * dt * dt};
    double sum = 0;
    for (const auto& r : fit.rows) sum += r.c[column] * px[r.i] * pt[r.j];
    return sum;
}

}  // namespace

double glycol_freezing_point(Glycol kind, double conc) {
    const Fit& fit = fit_of(kind);
    // The freezing curve uses the j = 0 terms only: it depends on x alone.
    const double dx = conc - fit.xm;
    double sum = 0;
    double p = 1;
    for (int i = 0; i <= 5; ++i) {
        for (const auto& r : fit.rows)
            if (r.i == i && r.j == 0) sum += r.c[0] * p;
        p *= dx;
    }
    return sum;
}

GlycolFluid::GlycolFluid(std::int32_t id, std::string name, Glycol kind, double conc)
    : FluidBase(id, std::move(name), conc, false, false), kind_(kind), t_freeze_(0) {
    check_range(YFluidName(), "concentration", conc, kConcMin, kConcMax, "%");
    // A solution of almost no glycol freezes at 0 °C; the fit is centred at 30 %, so its
    // freezing curve is not trusted above 0 °C.
    t_freeze_ = std::min(0.0, glycol_freezing_point(kind, conc));
}

double GlycolFluid::eval(int column, double t) const {
    check_temperature(t, t_freeze_, kTMax);
    return evaluate(fit_of(kind_), column, YConc(), t);
}

double GlycolFluid::YDensity(double t) const { return eval(1, t); }
double GlycolFluid::YHeatCapacity(double t) const { return eval(2, t); }
double GlycolFluid::YConductivity(double t) const { return eval(3, t); }
double GlycolFluid::YViscosity(double t) const { return 1e-3 * std::exp(eval(4, t)); }

core::PhaseState GlycolFluid::YState(double t) const {
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = pressure_;
    s.Density = YDensity(t);
    s.SpecificHeat = YHeatCapacity(t);
    s.Conductivity = YConductivity(t);
    s.Viscosity = YViscosity(t);
    return s;
}

void GlycolFluid::describe(core::FluidInfoType& info) const {
    info.Range.TMin = t_freeze_;
    info.Range.TMax = kTMax;
    info.Range.ConcMin = kConcMin;
    info.Range.ConcMax = kConcMax;
    info.Source = "Melinder, Properties of Secondary Working Fluids for Indirect Systems, "
                  "IIF-IIR 2010 (polynomial fits in concentration and temperature)";
}

}  // namespace hxq::engines::fluid
