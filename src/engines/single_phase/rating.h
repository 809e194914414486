// The physics of one brazed plate unit: channel hydraulics from the power laws, film
// coefficients with the wall-temperature iteration, overall coefficient, pressure drops.
// Internal to the single-phase engine.
#pragma once

#include "records/single_phase_records.h"
#include "engines/single_phase/pntu.h"
#include "engines/single_phase/power_law.h"

#include <array>
#include <optional>

namespace hxq::engines::single_phase {

// Engine codes (their texts: records/engine_error_text.cpp).
inline constexpr int kCrossing = 1;
inline constexpr int kNoPlates = 2;
inline constexpr int kOutOfRange = 3;
inline constexpr int kImpossible = 4;
inline constexpr int kParameters = 5;
inline constexpr int kPlateCount = 6;
inline constexpr int kSmallDifference = 9;
inline constexpr int kNoSolution = 15;
inline constexpr int kTooManyDesign = 39;
inline constexpr int kTooFew = 40;
inline constexpr int kTooManyRating = 42;
inline constexpr int kNoFlow = 43;
inline constexpr int kHeatLoad = 44;
inline constexpr int kPasses = 45;
inline constexpr int kChannels = 46;

// A terminal temperature difference below this (K) is refused (code 9): no plate count
// reaches it, and a search would only end at the largest unit.
inline constexpr double kMinApproach = 0.1;

// An engine code that ends the rating.
struct Failure {
    int code;
};
[[noreturn]] inline void fail(int code) { throw Failure{code}; }

// Bulk properties of one side at one temperature.
struct Props {
    double rho = 0;  // kg/m³
    double cp = 0;   // J/(kg K)
    double k = 0;    // W/(m K)
    double mu = 0;   // Pa s
    double pr = 0;
    // The heat capacity that the side's span gives its stream: cp, or Δh/ΔT over the
    // span where a humid gas condenses, and that over cp, the moisture factor ξ on its
    // film coefficient (set by condensing_span).
    double cap = 0;       // J/(kg K)
    double moisture = 1;
};
Props props_at(const core::FluidObject& fluid, double t);
// The same of a state the fluid gave; code 3 where a property is missing.
Props props_of(const core::PhaseState& s);

// --- energy balance with the heat capacity at each side's mean temperature, or by
// enthalpy for a fluid that gives one (humid air, whose water may condense) ---

// Heat capacity of a single-phase fluid at t; code 3 where the fluid has none.
double cp_at(const core::FluidObject& f, double t);

// Whether the fluid balances by its enthalpy at t.
bool has_enthalpy(const core::FluidObject& f, double t);

// Sets p.cap and p.moisture for a side that runs from tin to tout.
void condensing_span(const core::FluidObject& f, double tin, double tout, Props& p);

// Water condensed out of a stream m between tin and tout (kg/s, 0 when none).
double condensate_of(const core::FluidObject& f, double tin, double tout, double m);
// Outlet of a side that takes `q` (W) out (dir = +1, the hot side) or in (dir = −1) at
// flow m, such that q = m cp((tin + tout)/2) |tin − tout|. `bound` is the other side's
// inlet, which the outlet may not pass (code 1).
double outlet_for(const core::FluidObject& f, double tin, double q, double m, int dir, double bound,
                  double cp_guess = 0);
// Inlet of a side whose outlet is known.
double inlet_for(const core::FluidObject& f, double tout, double q, double m, int dir);
// Load of a side between two temperatures at flow m.
double load_of(const core::FluidObject& f, double tin, double tout, double m);
// Log-mean of two temperature differences; 0 when either is not positive.
double log_mean(double a, double b);

// Plate geometry common to both sides.
struct Geometry {
    double dh = 0;          // m
    double gap = 0;         // b = Φ d_h / 2, m
    double width = 0;       // m
    double length = 0;      // m
    double phi = 1;         // enlargement
    double plate_area = 0;  // m²
    double wall_resistance = 0;  // t / k, m² K/W
};

// ln η of a liquid between two temperatures, interpolated through Chebyshev nodes: the
// wall iteration asks for η_w many times within the span of the inlet temperatures, and
// ln η is smooth there. The node count grows with the span; for water the error is below
// 1e-7 relative up to 90 K and about 1e-5 over 1-150 °C, a film coefficient change of
// 2e-6 through the exponent 1/6.
class ViscositySpan {
public:
    // Fills the nodes from the fluid; leaves the span empty when a node lies outside the
    // fluid's data (every call then goes to the fluid).
    void build(const core::FluidObject& fluid, double t_lo, double t_hi);
    // η at t: interpolated inside the span, from the fluid outside it.
    double at(const core::FluidObject& fluid, double t) const;

private:
    static constexpr int kMaxNodes = 16;
    std::array<double, kMaxNodes> x_{};
    std::array<double, kMaxNodes> ln_mu_{};
    std::array<double, kMaxNodes> weight_{};
    int nodes_ = 0;
    double mid_ = 0;
    double half_ = 0;
    bool ready_ = false;
};

// One side's channel laws and ports.
struct SideModel {
    std::array<PowerLaw, 2> friction;  // [0] left type, [1] right type
    std::array<PowerLaw, 2> nusselt;
    bool has_right = false;
    bool extra = false;  // takes the odd channel
    double port_dia = 0;  // m, effective
    double slit = 0;      // velocity heads per pass
    const core::FluidObject* fluid = nullptr;
    bool gas = false;
    ViscositySpan viscosity;
};

// Channel counts and passes of one unit.
struct Layout {
    int plates = 0;
    std::array<int, 2> passes{1, 1};
    std::array<std::array<int, 2>, 2> channels{};  // [side][type]
    int side_channels(int s) const { return channels[s][0] + channels[s][1]; }
    int max_passes() const { return passes[0] > passes[1] ? passes[0] : passes[1]; }
};

// Channels per side of `plates` plates with the given passes, or nothing when the count
// breaks the plate rules (one pass: an even count; equal passes p > 1: (plates − 1) / p
// even, the same channels per pass on both sides; one side single-pass: the multi-pass
// side's channels divisible by its passes). `extra_side` (0 or 1) takes the odd channel where there is one.
std::optional<std::array<int, 2>> channels_for(int plates, int p1, int p2, int extra_side);

// Smallest plate count of an arrangement whose larger pass count is `max_passes`, and
// the engine code that a smaller count gets.
int min_plates(int max_passes);
int min_plates_code(int max_passes);

// Pressure drops and flow of one side of one unit.
struct SideFlow {
    double re = 0;            // flow-mean channel Reynolds number
    double velocity = 0;      // mean channel velocity, m/s
    double dp_channel = 0;    // Pa, all passes
    double dp_port = 0;       // Pa, ports and slits
    double dp_total = 0;      // Pa
    double h0 = 0;            // film coefficient before the viscosity ratio, W/(m² K)
    double shear = 0;         // Pa
    double port_velocity = 0; // m/s
    double port_mass_flux = 0;  // kg/(m² s)
};
SideFlow side_flow(const Geometry& g, const SideModel& side, const Props& p, double mass_flow,
                   int passes, int n_left, int n_right);

// Film coefficients, U and wall temperatures of a unit.
struct Thermal {
    std::array<double, 2> h{};
    std::array<double, 2> wall_mu{};
    std::array<double, 2> wall_mean{};
    std::array<double, 2> wall_min{};
    std::array<double, 2> wall_max{};
    double u = 0;        // W/(m² K), with fouling
    double u_clean = 0;  // W/(m² K)
    bool wall_out_of_range = false;  // a wall temperature outside a fluid's data
};

// Temperatures of one unit: inlet and outlet of each side, and the hot side.
struct Temps {
    std::array<double, 2> tin{};
    std::array<double, 2> tout{};
    int hot = 0;
    double mean(int s) const { return 0.5 * (tin[s] + tout[s]); }
};

// Solves f(x) = 0 for a rising f on [lo, hi] by the Illinois variant of regula falsi, to
// 1e-12 (relative above 1, absolute below). Returns the nearer end when f keeps its sign.
template <typename F>
double solve_rising(F f, double lo, double hi) {
    double flo = f(lo);
    double fhi = f(hi);
    if (flo >= 0) return lo;
    if (fhi <= 0) return hi;
    int side = 0;
    double x = lo;
    for (int i = 0; i < 200; ++i) {
        const double previous = x;
        x = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        const double fx = f(x);
        const double scale = 1e-12 * (1.0 + (x < 0 ? -x : x));
        if (fx == 0 || hi - lo <= scale || (i > 0 && (x - previous < 0 ? previous - x : x - previous) <= 1e-3 * scale))
            return x;
        if (fx < 0) {
            lo = x;
            flo = fx;
            if (side == -1) fhi *= 0.5;
            side = -1;
        } else {
            hi = x;
            fhi = fx;
            if (side == 1) flo *= 0.5;
            side = 1;
        }
    }
    return x;
}

Thermal thermal(const std::array<SideModel, 2>& sides, const Geometry& g,
                const std::array<SideFlow, 2>& flow, const std::array<Props, 2>& props,
                const Temps& t, double fouling, double film_factor, bool counter);

}  // namespace hxq::engines::single_phase
