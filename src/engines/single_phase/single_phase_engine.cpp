#include "engines/single_phase/single_phase_engine.h"

#include "engines/single_phase/rating.h"
#include "platform/error.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hxq::engines::single_phase {

namespace {

using core::SinglePhaseInput;
using core::SinglePhaseResult;

// Design adds units in parallel up to this many before giving up.
constexpr int kMaxParallelUnits = 10;
// Relative slack on pressure-drop limits: a flow found from a limit meets it to rounding.
constexpr double kLimitSlack = 1e-9;
// A dual model's pack holds two equal circuits side by side: each has half the channels of
// each side and carries half of each side's flow, so its channels see the pack's flow per
// channel, its temperatures and its pressure drops. The pack is rated for the whole duty;
// the result's load and flows are one circuit's (docs/engine-records.md, "Dual models").
constexpr int kDualCircuits = 2;

enum class Mode { Design, Performance, Check };

Mode parse_mode(const std::string& text) {
    if (text == "D") return Mode::Design;
    if (text == "P" || text == "PM") return Mode::Performance;
    if (text == "X") return Mode::Check;
    fail(kParameters);
}

// The four temperatures must leave the hot side warmer than the cold side at both ends
// of the arrangement; returns 0, kCrossing or kSmallDifference.
int temperature_code(const Temps& t, bool counter) {
    const auto h = static_cast<std::size_t>(t.hot);
    const auto c = 1 - h;
    double d1 = 0;
    double d2 = 0;
    if (counter) {
        d1 = t.tin[h] - t.tout[c];
        d2 = t.tout[h] - t.tin[c];
    } else {
        d1 = t.tin[h] - t.tin[c];
        d2 = t.tout[h] - t.tout[c];
    }
    if (!(t.tin[h] > t.tin[c]) || std::min(d1, d2) < 0) return kCrossing;
    if (std::min(d1, d2) < kMinApproach) return kSmallDifference;
    return 0;
}

// Everything the rating needs, gathered once from the input.
struct Context {
    const SinglePhaseInput& in;
    Mode mode;
    bool counter;
    std::array<const core::FluidObject*, 2> fluid{};
    std::array<bool, 2> dp_flow{};  // the flow of the side follows from its pressure-drop limit
    double fouling = 0;             // m² K/W
    double margin = 0;              // required over-surface, fraction
    // model
    Geometry geo;
    std::array<SideModel, 2> sides;
    double film_factor = 1;
    int max_passes = 1;
    int max_plates = 0;
    int extra_side = 1;

    explicit Context(const SinglePhaseInput& input)
        : in(input), mode(parse_mode(input.CalcMode)), counter(input.CounterCurrent) {
        fluid = {input.Fluid[1].get(), input.Fluid[2].get()};
    }

    bool q_given() const { return in.HeatLoad.Given; }
    bool tin_given(int s) const { return in.InletTemp[s + 1].Given; }
    bool tout_given(int s) const { return in.OutletTemp[s + 1].Given; }
    bool m_given(int s) const { return in.MassFlow[s + 1].Given; }
    bool dp_given(int s) const { return in.MaxPressureDrop[s + 1].Given; }
    double dp_limit(int s) const { return in.MaxPressureDrop[s + 1].Value; }
    bool flow_known(int s) const { return m_given(s) || dp_flow[static_cast<std::size_t>(s)]; }
    bool full(int s) const { return tin_given(s) && tout_given(s) && flow_known(s); }
    bool channels_given() const {
        return in.NoOfChannels[1][1].Given || in.NoOfChannels[2][1].Given ||
               in.NoOfChannels[1][2].Given || in.NoOfChannels[2][2].Given;
    }
    int given_channels(int s) const {
        const auto& c = in.NoOfChannels[s + 1];
        return c[1].Value + (c[2].Given ? c[2].Value : 0);
    }
};

// --- input checks shared by CheckInput and Calculate ---

void check_counts(Context& c) {
    if (!c.fluid[0] || !c.fluid[1]) fail(kParameters);
    int given = c.q_given() ? 1 : 0;
    for (int s = 0; s < 2; ++s)
        given += (c.tin_given(s) ? 1 : 0) + (c.tout_given(s) ? 1 : 0) + (c.m_given(s) ? 1 : 0);
    const bool rating = c.mode == Mode::Performance;
    const int needed = rating ? 4 : 5;
    if (given > needed) fail(rating ? kTooManyRating : kTooManyDesign);
    // A pressure-drop limit stands in for a flow the duty leaves open, side 1 first.
    for (int s = 0; s < 2 && given < needed; ++s) {
        const bool open = !c.m_given(s) && c.tin_given(s) && !c.tout_given(s) && c.dp_given(s);
        if (open) {
            c.dp_flow[static_cast<std::size_t>(s)] = true;
            ++given;
        }
    }
    if (given < needed) {
        const bool any_flow = c.m_given(0) || c.m_given(1) || c.dp_given(0) || c.dp_given(1);
        fail(any_flow ? kTooFew : kNoFlow);
    }
    if (rating) {
        // The rating starts from both inlets.
        if (!c.tin_given(0) || !c.tin_given(1)) fail(kTooFew);
        return;
    }
    const bool any_full = c.full(0) || c.full(1);
    if (c.q_given() && any_full) fail(kTooManyDesign);
    if (!c.q_given() && !any_full) fail(kTooFew);
    for (int s = 0; s < 2; ++s) {
        const int known = (c.tin_given(s) ? 1 : 0) + (c.tout_given(s) ? 1 : 0) + (c.flow_known(s) ? 1 : 0);
        if (known < 2) fail(kTooFew);
    }
}

void check_values(const Context& c) {
    const auto& in = c.in;
    if (in.HeatLoad.Given && !(in.HeatLoad.Value > 0)) fail(kHeatLoad);
    for (int s = 1; s <= 2; ++s) {
        if (in.InletTemp[s].Given && !std::isfinite(in.InletTemp[s].Value)) fail(kParameters);
        if (in.OutletTemp[s].Given && !std::isfinite(in.OutletTemp[s].Value)) fail(kParameters);
        if (in.MassFlow[s].Given && !(in.MassFlow[s].Value > 0 && std::isfinite(in.MassFlow[s].Value)))
            fail(kParameters);
        if (in.MaxPressureDrop[s].Given && !(in.MaxPressureDrop[s].Value > 0)) fail(kParameters);
    }
    if (in.FoulingFactor.Given && !(in.FoulingFactor.Value >= 0)) fail(kParameters);
    if (in.OverSurface.Given && !(in.OverSurface.Value > -100)) fail(kParameters);
    if (in.ParallelUnits.Given && in.ParallelUnits.Value < 1) fail(kParameters);
}

// Passes, channel counts and plates as the user gave them. `with_model` adds the
// model's limits.
void check_layout(const Context& c, bool with_model) {
    const auto& in = c.in;
    std::array<int, 2> p{1, 1};
    std::array<bool, 2> pg{in.NoOfPasses[1].Given, in.NoOfPasses[2].Given};
    for (int s = 0; s < 2; ++s) {
        if (!pg[static_cast<std::size_t>(s)]) continue;
        const int v = in.NoOfPasses[s + 1].Value;
        if (v < 1 || (with_model && v > c.max_passes)) fail(kPasses);
        p[static_cast<std::size_t>(s)] = v;
    }
    if (pg[0] != pg[1]) p = pg[0] ? std::array<int, 2>{p[0], p[0]} : std::array<int, 2>{p[1], p[1]};
    if (p[0] != p[1] && std::min(p[0], p[1]) != 1) fail(kPasses);
    const int maxp = std::max(p[0], p[1]);

    if (c.channels_given()) {
        std::array<int, 2> n{};
        for (int s = 0; s < 2; ++s) {
            const auto& ch = in.NoOfChannels[s + 1];
            if (!ch[1].Given) fail(kChannels);
            if (ch[1].Value < 0 || (ch[2].Given && ch[2].Value < 0)) fail(kChannels);
            if (with_model && ch[2].Given && ch[2].Value > 0 && !c.sides[static_cast<std::size_t>(s)].has_right)
                fail(kChannels);
            n[static_cast<std::size_t>(s)] = c.given_channels(s);
            if (n[static_cast<std::size_t>(s)] < 1) fail(kChannels);
        }
        if (std::abs(n[0] - n[1]) > 1) fail(kChannels);
        // Every pass of a side holds the same number of channels.
        for (std::size_t s = 0; s < 2; ++s)
            if (n[s] % p[s] != 0 || n[s] < p[s]) fail(kChannels);
        const int plates = n[0] + n[1] + 1;
        if (in.NoOfPlates.Given && in.NoOfPlates.Value != plates) fail(kChannels);
        if (with_model && plates > c.max_plates) fail(kPlateCount);
        return;
    }
    if (c.mode != Mode::Design && !in.NoOfPlates.Given) fail(kNoPlates);
    if (!in.NoOfPlates.Given) return;
    const int plates = in.NoOfPlates.Value;
    if (plates < min_plates(maxp)) fail(min_plates_code(maxp));
    if (with_model && plates > c.max_plates) fail(kPlateCount);
    if (pg[0] || pg[1] || c.mode != Mode::Design) {
        if (!channels_for(plates, p[0], p[1], c.extra_side)) fail(kPlateCount);
    }
}

// Reads and checks the model data; code 5 when the product data cannot describe a unit.
void load_model(Context& c) {
    const auto& in = c.in;
    Geometry& g = c.geo;
    g.dh = in.Dh;
    g.phi = in.Enlargement;
    g.width = in.FlowWidth;
    g.length = in.FlowLength;
    g.plate_area = in.PlateArea;
    bool geometry_ok = g.dh > 0 && g.phi >= 1 && g.width > 0 && g.length > 0 && g.plate_area > 0 &&
                       in.plateThickness >= 0 && in.WallConductivity > 0;
    // An infinite number in the product data passes the signs above and would rate a unit
    // of infinite area or pressure drop as valid.
    for (double v : {g.dh, g.phi, g.width, g.length, g.plate_area, in.plateThickness, in.WallConductivity})
        geometry_ok = geometry_ok && std::isfinite(v);
    if (!geometry_ok) fail(kParameters);
    g.gap = g.phi * g.dh / 2.0;
    g.wall_resistance = in.plateThickness / in.WallConductivity;
    c.max_plates = in.MaxPlates;
    c.max_passes = std::max<int>(1, in.MaxPasses);
    if (c.max_plates < 4) fail(kParameters);
    for (int s = 0; s < 2; ++s) {
        const auto& src = in.Side[s + 1];
        SideModel& m = c.sides[static_cast<std::size_t>(s)];
        if (!src.Left.Defined) fail(kParameters);
        m.friction[0] = PowerLaw::friction(src.Left);
        m.nusselt[0] = PowerLaw::heat_transfer(src.Left);
        if (!m.friction[0].valid() || !m.nusselt[0].valid()) fail(kParameters);
        m.has_right = src.Right.Defined;
        if (m.has_right) {
            m.friction[1] = PowerLaw::friction(src.Right);
            m.nusselt[1] = PowerLaw::heat_transfer(src.Right);
            if (!m.friction[1].valid() || !m.nusselt[1].valid()) fail(kParameters);
        }
        m.extra = src.Left.ExtraChannel;
        m.port_dia = src.PortDia;
        if (!(m.port_dia > 0) && src.PortDiaUp > 0 && src.PortDiaDown > 0)
            m.port_dia = std::pow((std::pow(src.PortDiaUp, -4) + std::pow(src.PortDiaDown, -4)) / 2.0, -0.25);
        const bool port_ok = m.port_dia > 0 && std::isfinite(m.port_dia);
        if (!port_ok || !(src.SlitResistance >= 0 && std::isfinite(src.SlitResistance))) fail(kParameters);
        m.slit = src.SlitResistance;
        m.fluid = c.fluid[static_cast<std::size_t>(s)];
        m.gas = m.fluid->YGas();
    }
    c.extra_side = (c.sides[0].extra && !c.sides[1].extra) ? 0 : 1;
    c.film_factor = 1;
    if (!c.counter && in.CoCurrHTCFactor > 0) c.film_factor = in.CoCurrHTCFactor;
    c.fouling = in.FoulingFactor.Given ? in.FoulingFactor.Value : 0;
    c.margin = in.OverSurface.Given ? in.OverSurface.Value / 100.0 : 0;
}

// Interpolated wall viscosities over the span of the given temperatures, where the wall
// temperatures of the rating lie.
void prepare_viscosity(Context& c) {
    double lo = 1e300;
    double hi = -1e300;
    for (int s = 1; s <= 2; ++s) {
        for (const core::DutyValue* v : {&c.in.InletTemp[s], &c.in.OutletTemp[s]}) {
            if (!v->Given) continue;
            lo = std::min(lo, v->Value);
            hi = std::max(hi, v->Value);
        }
    }
    for (auto& side : c.sides)
        if (!side.gas && hi > lo) side.viscosity.build(*side.fluid, lo, hi);
}

// --- duty closure ---

// The whole duty (all units), every quantity known.
struct Duty {
    double q = 0;  // W
    Temps t;
    std::array<double, 2> m{};  // kg/s
};

// Closes a design or check duty: five of the seven quantities given (flows from
// pressure-drop limits passed in `flows`). Throws the engine code of a duty that does
// not close.
Duty close_design(const Context& c, const std::array<std::optional<double>, 2>& flows) {
    const auto& in = c.in;
    std::array<std::optional<double>, 2> tin, tout, m;
    for (int s = 0; s < 2; ++s) {
        const auto i = static_cast<std::size_t>(s);
        if (c.tin_given(s)) tin[i] = in.InletTemp[s + 1].Value;
        if (c.tout_given(s)) tout[i] = in.OutletTemp[s + 1].Value;
        if (c.m_given(s)) m[i] = in.MassFlow[s + 1].Value;
        else if (flows[i]) m[i] = flows[i];
    }
    std::array<int, 2> dir{0, 0};  // +1 cooled (hot side), −1 heated
    for (std::size_t s = 0; s < 2; ++s) {
        if (tin[s] && tout[s]) {
            if (*tin[s] == *tout[s]) fail(m[s] && !c.q_given() ? kHeatLoad : kImpossible);
            dir[s] = *tin[s] > *tout[s] ? 1 : -1;
        }
    }
    if (dir[0] != 0 && dir[0] == dir[1]) fail(kImpossible);
    double q = in.HeatLoad.Value;
    if (!c.q_given()) {
        int full = -1;
        for (int s = 0; s < 2 && full < 0; ++s) {
            const auto i = static_cast<std::size_t>(s);
            if (tin[i] && tout[i] && m[i]) full = s;
        }
        if (full < 0) fail(kTooFew);
        const auto f = static_cast<std::size_t>(full);
        q = load_of(*c.fluid[f], *tin[f], *tout[f], *m[f]);
        if (!(q > 0)) fail(kHeatLoad);
    }

    auto attempt = [&](int hot, Duty& d) -> int {
        try {
            d.q = q;
            d.t.hot = hot;
            std::array<int, 2> dd{};
            dd[static_cast<std::size_t>(hot)] = 1;
            dd[static_cast<std::size_t>(1 - hot)] = -1;
            // With the load known each side closes on its own.
            for (int s = 0; s < 2; ++s) {
                const auto i = static_cast<std::size_t>(s);
                const auto o = 1 - i;
                const core::FluidObject& f = *c.fluid[i];
                if (tin[i] && tout[i] && m[i]) {
                    d.t.tin[i] = *tin[i];
                    d.t.tout[i] = *tout[i];
                    d.m[i] = *m[i];
                } else if (tin[i] && tout[i]) {
                    d.t.tin[i] = *tin[i];
                    d.t.tout[i] = *tout[i];
                    d.m[i] = q / load_of(f, *tin[i], *tout[i], 1.0);
                } else if (tin[i] && m[i]) {
                    // Bounded by the other inlet when known (a cross is reported as such).
                    const double bound = tin[o] ? *tin[o] : (dd[i] > 0 ? -1e300 : 1e300);
                    d.t.tin[i] = *tin[i];
                    d.m[i] = *m[i];
                    d.t.tout[i] = outlet_for(f, *tin[i], q, *m[i], dd[i], bound);
                } else if (tout[i] && m[i]) {
                    d.t.tout[i] = *tout[i];
                    d.m[i] = *m[i];
                    d.t.tin[i] = inlet_for(f, *tout[i], q, *m[i], dd[i]);
                } else {
                    fail(kTooFew);
                }
            }
            return temperature_code(d.t, c.counter);
        } catch (const Failure& e) {
            return e.code;
        } catch (const platform::Error& e) {
            // The wrong guess of the hot side can leave a fluid's range; the other may not.
            if (e.number() != platform::kObjectError + core::kFluidRangeCode) throw;
            return kOutOfRange;
        }
    };

    Duty d;
    if (dir[0] != 0 || dir[1] != 0) {
        const int hot = dir[0] == 1 || dir[1] == -1 ? 0 : 1;
        const int code = attempt(hot, d);
        if (code != 0) fail(code);
        return d;
    }
    if (tin[0] && tin[1]) {
        if (std::abs(*tin[0] - *tin[1]) < kMinApproach) fail(kSmallDifference);
        const int code = attempt(*tin[0] > *tin[1] ? 0 : 1, d);
        if (code != 0) fail(code);
        return d;
    }
    // Neither side's direction is given: take the one the temperatures allow.
    const int first = attempt(0, d);
    if (first == 0) return d;
    const int second = attempt(1, d);
    if (second == 0) return d;
    fail(first);
}

// Performance checks of the given temperatures: both inlets, outlets between them.
void check_rating_temperatures(const Context& c) {
    const auto& in = c.in;
    const double t1 = in.InletTemp[1].Value;
    const double t2 = in.InletTemp[2].Value;
    if (std::abs(t1 - t2) < kMinApproach) fail(kSmallDifference);
    const int hot = t1 > t2 ? 0 : 1;
    const double th = std::max(t1, t2);
    const double tc = std::min(t1, t2);
    for (int s = 0; s < 2; ++s) {
        if (!c.tout_given(s)) continue;
        const double out = in.OutletTemp[s + 1].Value;
        const double own = in.InletTemp[s + 1].Value;
        if (out == own) fail(kHeatLoad);
        const bool wrong_way = s == hot ? out > own : out < own;
        if (wrong_way) fail(kImpossible);
        if (out <= tc || out >= th) fail(kCrossing);
    }
    if (c.tout_given(0) && c.tout_given(1) && !c.counter) {
        const double h_out = in.OutletTemp[hot + 1].Value;
        const double c_out = in.OutletTemp[2 - hot].Value;
        if (h_out <= c_out) fail(kCrossing);
    }
}

// --- rating of one unit ---

struct Evaluation {
    Layout layout;
    int units = 1;
    Duty unit;  // per unit
    std::array<Props, 2> props{};
    std::array<SideFlow, 2> flow{};
    Thermal th;
    PassArrangement arr;
    int multi_side = 1;
    double area = 0;      // per unit, m²
    double ntu1 = 0;      // U A / C1 on the whole area
    double ntu_req = 0;   // NTU1 the duty needs (≤ 0: unreachable)
    bool heat_ok = false;
    bool dp_ok = false;
    bool ok() const { return heat_ok && dp_ok; }
};

// A gas cannot lose more pressure than it has: a side whose pressure drop reaches the
// gas's absolute pressure would leave at zero or negative pressure. Liquids are rated at a
// nominal pressure and have no such bound here.
bool exhausts_gas_pressure(const Context& c, const Evaluation& e) {
    for (std::size_t i = 0; i < 2; ++i) {
        const core::FluidObject* f = c.fluid[i];
        if (f && f->YGas() && e.flow[i].dp_total >= f->YPressure()) return true;
    }
    return false;
}

PassArrangement arrangement(const Layout& l, bool counter, int& multi_side) {
    PassArrangement a;
    a.counter = counter;
    a.symmetric = l.passes[0] == l.passes[1];
    a.passes_a = std::max(l.passes[0], l.passes[1]);
    multi_side = l.passes[0] >= l.passes[1] ? 1 : 2;
    return a;
}

Layout make_layout(const Context& c, int plates, std::array<int, 2> passes, std::array<int, 2> side_total) {
    Layout l;
    l.plates = plates;
    l.passes = passes;
    for (int s = 0; s < 2; ++s) {
        const auto i = static_cast<std::size_t>(s);
        const auto& given = c.in.NoOfChannels[s + 1];
        if (c.channels_given() && given[2].Given) {
            l.channels[i] = {given[1].Value, given[2].Value};
        } else if (c.sides[i].has_right) {
            // A side with two channel types alternates them (mixed pack).
            const int right = side_total[i] / 2;
            l.channels[i] = {side_total[i] - right, right};
        } else {
            l.channels[i] = {side_total[i], 0};
        }
    }
    return l;
}

SideFlow flow_of(const Context& c, const Layout& l, int s, const Props& p, double m) {
    const auto i = static_cast<std::size_t>(s);
    return side_flow(c.geo, c.sides[i], p, m, l.passes[i], l.channels[i][0], l.channels[i][1]);
}

// Flow of one unit's side that uses the pressure-drop limit exactly.
double flow_from_limit(const Context& c, const Layout& l, int s, const Props& p) {
    const double limit = c.dp_limit(s);
    auto excess = [&](double log_m) { return flow_of(c, l, s, p, std::exp(log_m)).dp_total / limit - 1.0; };
    double lo = std::log(1e-3);
    double hi = std::log(1.0);
    for (int i = 0; i < 60 && excess(lo) > 0; ++i) lo -= std::log(10.0);
    for (int i = 0; i < 60 && excess(hi) < 0; ++i) hi += std::log(10.0);
    return std::exp(solve_rising(excess, lo, hi));
}

void finish_thermal(const Context& c, Evaluation& e) {
    for (std::size_t s = 0; s < 2; ++s)
        condensing_span(*c.fluid[s], e.unit.t.tin[s], e.unit.t.tout[s], e.props[s]);
    e.flow = {flow_of(c, e.layout, 0, e.props[0], e.unit.m[0]), flow_of(c, e.layout, 1, e.props[1], e.unit.m[1])};
    e.th = thermal(c.sides, c.geo, e.flow, e.props, e.unit.t, c.fouling, c.film_factor, c.counter);
    e.area = (e.layout.plates - 2) * c.geo.plate_area;
    e.arr = arrangement(e.layout, c.counter, e.multi_side);
    e.ntu1 = e.th.u * e.area / (e.unit.m[0] * e.props[0].cap);
    e.dp_ok = !exhausts_gas_pressure(c, e);
    for (int s = 0; s < 2; ++s)
        if (c.dp_given(s) && e.flow[static_cast<std::size_t>(s)].dp_total > c.dp_limit(s) * (1 + kLimitSlack))
            e.dp_ok = false;
}

double required_ntu_of(const Evaluation& e) {
    const Temps& t = e.unit.t;
    const double c1 = e.unit.m[0] * e.props[0].cap;
    const double c2 = e.unit.m[1] * e.props[1].cap;
    const double p1 = std::abs(t.tin[0] - t.tout[0]) / std::abs(t.tin[0] - t.tin[1]);
    return required_ntu(e.arr, e.multi_side, p1, c1 / c2);
}

// Design or check rating of one unit of `units` for the closed duty `total` (flows from
// limits are found here, for this layout).
Evaluation evaluate_duty(const Context& c, const Layout& l, int units, const Duty& total,
                         const std::array<Props, 2>* fixed_props = nullptr) {
    Evaluation e;
    e.layout = l;
    e.units = units;
    auto per_unit = [&](const Duty& d) {
        Duty u = d;
        u.q /= units;
        u.m[0] /= units;
        u.m[1] /= units;
        return u;
    };
    if (!c.dp_flow[0] && !c.dp_flow[1]) {
        e.unit = per_unit(total);
        e.props = fixed_props ? *fixed_props
                              : std::array<Props, 2>{props_at(*c.fluid[0], e.unit.t.mean(0)),
                                                     props_at(*c.fluid[1], e.unit.t.mean(1))};
    } else {
        // The limit fixes the flow at the properties of the side's mean temperature,
        // which the flow itself moves: iterate to a fixed point.
        // Start from the temperatures given: a side may have only its outlet (the inlet
        // follows from the balance), and a value not given is no temperature at all.
        std::array<double, 2> mean{};
        for (int s = 0; s < 2; ++s) {
            const double tin = c.in.InletTemp[s + 1].Value;
            const double tout = c.in.OutletTemp[s + 1].Value;
            mean[static_cast<std::size_t>(s)] =
                c.tin_given(s) && c.tout_given(s) ? 0.5 * (tin + tout) : (c.tin_given(s) ? tin : tout);
        }
        std::array<std::optional<double>, 2> flows;
        std::array<double, 2> last{0, 0};
        for (int it = 0; it < 60; ++it) {
            for (int s = 0; s < 2; ++s) {
                const auto i = static_cast<std::size_t>(s);
                e.props[i] = props_at(*c.fluid[i], mean[i]);
                if (c.dp_flow[i]) flows[i] = flow_from_limit(c, l, s, e.props[i]) * units;
            }
            const Duty d = close_design(c, flows);
            e.unit = per_unit(d);
            bool settled = true;
            for (std::size_t s = 0; s < 2; ++s) {
                if (c.dp_flow[s] && std::abs(*flows[s] - last[s]) > 1e-12 * *flows[s]) settled = false;
                if (c.dp_flow[s]) last[s] = *flows[s];
                mean[s] = e.unit.t.mean(static_cast<int>(s));
            }
            if (settled && it > 0) break;
        }
        for (std::size_t s = 0; s < 2; ++s) e.props[s] = props_at(*c.fluid[s], mean[s]);
    }
    finish_thermal(c, e);
    e.ntu_req = required_ntu_of(e);
    e.heat_ok = e.ntu_req > 0 && e.ntu1 >= (1.0 + c.margin) * e.ntu_req;
    return e;
}

// Performance rating of one unit: inlets given, flows per unit given or (for `dp_flow`
// sides) found from the limits; the outlets and the load follow.
Evaluation rate_unit(const Context& c, const Layout& l, int units, std::array<double, 2> flows) {
    Evaluation e;
    e.layout = l;
    e.units = units;
    Temps& t = e.unit.t;
    t.tin = {c.in.InletTemp[1].Value, c.in.InletTemp[2].Value};
    t.hot = t.tin[0] > t.tin[1] ? 0 : 1;
    t.tout = t.tin;
    const double dt_max = std::abs(t.tin[0] - t.tin[1]);
    const double area_factor = 1.0 / (1.0 + c.margin);
    double q = 0;
    for (int it = 0; it < 100; ++it) {
        for (int s = 0; s < 2; ++s) {
            const auto i = static_cast<std::size_t>(s);
            e.props[i] = props_at(*c.fluid[i], t.mean(s));
            if (c.dp_flow[i]) flows[i] = flow_from_limit(c, l, s, e.props[i]);
        }
        e.unit.m = flows;
        finish_thermal(c, e);
        const double c1 = flows[0] * e.props[0].cap;
        const double c2 = flows[1] * e.props[1].cap;
        // The over-surface is held back as in design: the unit is rated on A / (1 + margin).
        const double p1 = effectiveness(e.arr, e.multi_side, e.ntu1 * area_factor, c1 / c2);
        const double next = p1 * c1 * dt_max;
        for (int s = 0; s < 2; ++s) {
            const auto i = static_cast<std::size_t>(s);
            const int dir = s == t.hot ? 1 : -1;
            // P ≤ 1 keeps the outlets between the inlets; no bound to check.
            t.tout[i] = outlet_for(*c.fluid[i], t.tin[i], next, flows[i], dir, dir > 0 ? -1e300 : 1e300,
                                   e.props[i].cp);
        }
        // The outlets close the balance exactly whatever the tolerance; it only bounds
        // how far the properties lag behind the last load.
        const bool settled = it > 0 && std::abs(next - q) <= 1e-11 * next;
        q = next;
        if (settled) break;
    }
    e.unit.q = q;
    for (std::size_t s = 0; s < 2; ++s) e.props[s] = props_at(*c.fluid[s], t.mean(static_cast<int>(s)));
    finish_thermal(c, e);
    e.ntu_req = e.ntu1 * area_factor;
    e.heat_ok = true;
    return e;
}

// Performance with one or both flows open: a one-dimensional search on a flow.
Evaluation rate_performance(const Context& c, const Layout& l, int units) {
    const auto& in = c.in;
    std::array<std::optional<double>, 2> m;
    for (int s = 0; s < 2; ++s)
        if (c.m_given(s)) m[static_cast<std::size_t>(s)] = in.MassFlow[s + 1].Value / units;
    const std::array<double, 2> tin{in.InletTemp[1].Value, in.InletTemp[2].Value};
    auto known = [&](int s) { return m[static_cast<std::size_t>(s)].has_value() || c.dp_flow[static_cast<std::size_t>(s)]; };
    auto flows_with = [&](std::array<double, 2> f) {
        for (std::size_t s = 0; s < 2; ++s)
            if (m[s]) f[s] = *m[s];
        return f;
    };
    if (known(0) && known(1)) return rate_unit(c, l, units, flows_with({0, 0}));

    // Both flows open: the load and one outlet give one flow, or the two outlets fix the
    // ratio of the flows.
    if (!known(0) && !known(1)) {
        if (c.q_given()) {
            const int s = c.tout_given(0) ? 0 : 1;
            const auto i = static_cast<std::size_t>(s);
            const double tout = in.OutletTemp[s + 1].Value;
            m[i] = in.HeatLoad.Value / units / load_of(*c.fluid[i], tin[i], tout, 1.0);
        } else {
            std::array<double, 2> cdt{};
            for (int s = 0; s < 2; ++s) {
                const auto i = static_cast<std::size_t>(s);
                const double tout = in.OutletTemp[s + 1].Value;
                cdt[i] = load_of(*c.fluid[i], tin[i], tout, 1.0);
            }
            // Larger flows rate a larger load than the outlets allow: the excess falls.
            auto shortfall = [&](double log_m1) {
                const double m1 = std::exp(log_m1);
                const Evaluation e = rate_unit(c, l, units, {m1, m1 * cdt[0] / cdt[1]});
                return m1 * cdt[0] / e.unit.q - 1.0;
            };
            double lo = std::log(1e-4);
            double hi = std::log(1.0);
            for (int i = 0; i < 40 && shortfall(lo) > 0; ++i) lo -= std::log(10.0);
            for (int i = 0; i < 40 && shortfall(hi) < 0; ++i) hi += std::log(10.0);
            if (shortfall(lo) > 0 || shortfall(hi) < 0) fail(kNoSolution);
            const double m1 = std::exp(solve_rising(shortfall, lo, hi));
            return rate_unit(c, l, units, {m1, m1 * cdt[0] / cdt[1]});
        }
    }
    // One flow open (side v): raise it until the given load or outlet is met.
    const int v = known(0) ? 1 : 0;
    const auto vi = static_cast<std::size_t>(v);
    std::function<double(const Evaluation&)> excess;
    if (c.q_given()) {
        const double target = in.HeatLoad.Value / units;
        excess = [target](const Evaluation& e) { return e.unit.q / target - 1.0; };
    } else if (c.tout_given(v)) {
        // The open side's temperature change shrinks as its flow rises.
        const double target = std::abs(in.OutletTemp[v + 1].Value - tin[vi]);
        excess = [target, vi](const Evaluation& e) {
            return target / std::abs(e.unit.t.tout[vi] - e.unit.t.tin[vi]) - 1.0;
        };
    } else {
        const int k = 1 - v;
        const auto ki = static_cast<std::size_t>(k);
        const double target = std::abs(in.OutletTemp[k + 1].Value - tin[ki]);
        excess = [target, ki](const Evaluation& e) {
            return std::abs(e.unit.t.tout[ki] - e.unit.t.tin[ki]) / target - 1.0;
        };
    }
    auto f = [&](double log_m) {
        std::array<double, 2> fl{0, 0};
        fl[vi] = std::exp(log_m);
        return excess(rate_unit(c, l, units, flows_with(fl)));
    };
    double lo = std::log(1e-4);
    double hi = std::log(1.0);
    for (int i = 0; i < 40 && f(lo) > 0; ++i) lo -= std::log(10.0);
    for (int i = 0; i < 40 && f(hi) < 0; ++i) hi += std::log(10.0);
    if (f(lo) > 0 || f(hi) < 0) fail(kNoSolution);
    std::array<double, 2> fl{0, 0};
    fl[vi] = std::exp(solve_rising(f, lo, hi));
    return rate_unit(c, l, units, flows_with(fl));
}

// --- design search ---

std::vector<std::array<int, 2>> pass_options(const Context& c) {
    const auto& in = c.in;
    const bool g1 = in.NoOfPasses[1].Given;
    const bool g2 = in.NoOfPasses[2].Given;
    if (g1 && g2) return {{in.NoOfPasses[1].Value, in.NoOfPasses[2].Value}};
    if (g1) return {{in.NoOfPasses[1].Value, in.NoOfPasses[1].Value}};
    if (g2) return {{in.NoOfPasses[2].Value, in.NoOfPasses[2].Value}};
    std::vector<std::array<int, 2>> out;
    for (int p = 1; p <= c.max_passes; ++p) out.push_back({p, p});
    return out;
}

// Plate counts a design may choose for one pass arrangement, ascending, with their
// layouts.
std::vector<Layout> layouts_for(const Context& c, std::array<int, 2> passes) {
    std::vector<Layout> out;
    const auto& in = c.in;
    if (c.channels_given()) {
        const std::array<int, 2> n{c.given_channels(0), c.given_channels(1)};
        for (std::size_t s = 0; s < 2; ++s)
            if (n[s] % passes[s] != 0 || n[s] < passes[s]) return out;
        out.push_back(make_layout(c, n[0] + n[1] + 1, passes, n));
        return out;
    }
    const int lo = in.NoOfPlates.Given ? in.NoOfPlates.Value : min_plates(std::max(passes[0], passes[1]));
    const int hi = in.NoOfPlates.Given ? in.NoOfPlates.Value : c.max_plates;
    const bool forced = in.ForcedStock && in.StockCount > 0;
    for (int n = std::max(lo, 3); n <= hi; ++n) {
        if (forced) {
            bool stocked = false;
            for (int i = 1; i <= std::min<int>(in.StockCount, 20); ++i)
                if (in.StockPlates[i] == n) stocked = true;
            if (!stocked) continue;
        }
        const auto ch = channels_for(n, passes[0], passes[1], c.extra_side);
        if (ch) out.push_back(make_layout(c, n, passes, *ch));
    }
    return out;
}

Evaluation design(const Context& c) {
    const auto options = pass_options(c);
    const bool duty_fixed = !c.dp_flow[0] && !c.dp_flow[1];
    std::optional<Duty> total;
    if (duty_fixed) total = close_design(c, {});
    const Duty base = total ? *total : Duty{};
    // The temperatures of a closed duty do not depend on the unit: one set of properties.
    std::optional<std::array<Props, 2>> props;
    if (total) props = std::array<Props, 2>{props_at(*c.fluid[0], base.t.mean(0)), props_at(*c.fluid[1], base.t.mean(1))};
    const int first_units = c.in.ParallelUnits.Given ? c.in.ParallelUnits.Value : 1;
    const int last_units = c.in.ParallelUnits.Given ? c.in.ParallelUnits.Value : kMaxParallelUnits;
    bool any_layout = false;
    for (int units = first_units; units <= last_units; ++units) {
        std::optional<Evaluation> best;
        double best_cost = 0;
        for (const auto& passes : options) {
            std::vector<Layout> layouts = layouts_for(c, passes);
            if (layouts.empty()) continue;
            any_layout = true;
            const bool multi = std::max(passes[0], passes[1]) > 1;
            const double fixed_cost = multi ? c.in.PassPriceRatio : 0.0;
            if (best) {
                // Only plate counts that would be cheaper than the best so far matter.
                while (!layouts.empty() && layouts.back().plates + fixed_cost >= best_cost - 1e-9) layouts.pop_back();
                if (layouts.empty()) continue;
            }
            auto eval = [&](std::size_t i) -> std::optional<Evaluation> {
                try {
                    return evaluate_duty(c, layouts[i], units, base, props ? &*props : nullptr);
                } catch (const Failure& f) {
                    // A flow from a limit that crosses the temperatures: not this layout.
                    if (f.code == kCrossing || f.code == kSmallDifference || f.code == kImpossible)
                        return std::nullopt;
                    throw;
                }
            };
            auto feasible = [&](std::size_t i, std::optional<Evaluation>& out) {
                out = eval(i);
                return out && out->ok();
            };
            std::optional<Evaluation> at;
            std::size_t hi = layouts.size() - 1;
            if (!feasible(hi, at)) continue;
            std::optional<Evaluation> found = at;
            std::optional<Evaluation> probe;
            if (hi == 0) {
                // the only layout, already rated
            } else if (feasible(0, probe)) {
                found = probe;
            } else {
                // Invariant: layout lo fails, layout hi meets the duty.
                std::size_t lo = 0;
                while (hi - lo > 1) {
                    const std::size_t mid = lo + (hi - lo) / 2;
                    if (feasible(mid, probe)) {
                        hi = mid;
                        found = probe;
                    } else {
                        lo = mid;
                    }
                }
            }
            const double cost = found->layout.plates + fixed_cost;
            if (!best || cost < best_cost - 1e-9) {
                best = found;
                best_cost = cost;
            }
        }
        if (best) return *best;
    }
    if (!any_layout) fail(kPlateCount);
    fail(kNoSolution);
}

// --- result ---

void fill_result(const Context& c, const Evaluation& e, SinglePhaseResult& r) {
    const int u = e.units;
    const Temps& t = e.unit.t;
    r.Valid = true;
    r.NoOfPlates = static_cast<std::int16_t>(e.layout.plates);
    r.NoOfPasses = static_cast<std::int16_t>(e.layout.max_passes());
    r.ParallelUnits = static_cast<std::int16_t>(u);
    for (int s = 0; s < 2; ++s) {
        const auto i = static_cast<std::size_t>(s);
        r.Passes[s + 1] = static_cast<std::int16_t>(e.layout.passes[i]);
        r.NoOfChannels[s + 1] = static_cast<std::int16_t>(e.layout.side_channels(s));
        r.Channelout[s + 1][1] = static_cast<std::int16_t>(e.layout.channels[i][0]);
        r.Channelout[s + 1][2] = static_cast<std::int16_t>(e.layout.channels[i][1]);
    }
    const double q_total = e.unit.q * u;
    const double circuits = c.in.Dual ? kDualCircuits : 1;
    r.HeatLoad = q_total / circuits / 1000.0;  // engine: kW
    const double area_total = e.area * u;
    r.HeatTransferArea = area_total;
    r.HeatFlux = q_total / area_total;
    const auto h = static_cast<std::size_t>(t.hot);
    const auto k = 1 - h;
    r.LMTD = log_mean(t.tin[h] - t.tout[k], t.tout[h] - t.tin[k]);
    const double dt_eff = e.ntu_req > 0 ? std::abs(t.tin[0] - t.tout[0]) / e.ntu_req : 0;
    r.DeltaTempEffective = dt_eff;
    r.CorrectionFactor = r.LMTD > 0 ? dt_eff / r.LMTD : 0;
    r.OHTC = e.th.u;
    r.Kpredicted = e.th.u;
    r.U_clean = e.th.u_clean;
    r.Krequired = dt_eff > 0 ? e.unit.q / (e.area * dt_eff) : 0;
    r.OverSurface = e.ntu_req > 0 ? 100.0 * (e.ntu1 / e.ntu_req - 1.0) : -100.0;
    r.FoulingFactor = c.fouling * 1000.0;  // engine: m² K/kW
    for (int s = 0; s < 2; ++s) {
        const auto i = static_cast<std::size_t>(s);
        const int j = s + 1;
        const SideFlow& f = e.flow[i];
        const Props& p = e.props[i];
        r.InletTemp[j] = t.tin[i];
        r.OutletTemp[j] = t.tout[i];
        r.MassFlow[j] = e.unit.m[i] * u / circuits;
        r.NTU[j] = e.th.u * e.area / (e.unit.m[i] * p.cap);
        r.CondensateFlow[j] = condensate_of(*c.fluid[i], t.tin[i], t.tout[i], e.unit.m[i] * u / circuits);
        r.PressureDrop[j] = f.dp_total;
        r.ChannelPressureDrop[j] = f.dp_channel;
        r.PortPressureDrop[j] = f.dp_port;
        r.PortDiameterUp[j] = c.in.Side[j].PortDiaUp * 1000.0;  // engine: mm
        r.PortDiameterDown[j] = c.in.Side[j].PortDiaDown * 1000.0;
        r.PortVelocity[j] = f.port_velocity;
        r.ChannelVelocity[j] = f.velocity;
        r.ReynoldsNumber[j] = f.re;
        r.FilmCoefficient[j] = e.th.h[i];
        r.ShearStress[j] = f.shear;
        r.MinTemp[j] = e.th.wall_min[i];
        r.MaxTemp[j] = e.th.wall_max[i];
        r.MeanWallTemp[j] = e.th.wall_mean[i];
        r.RefTemp[j] = t.mean(s);
        r.Viscosity[j] = p.mu * 1000.0;  // engine: mPa s
        r.WallViscosity[j] = e.th.wall_mu[i] * 1000.0;
        r.Density[j] = p.rho;
        r.SpecificHeat[j] = p.cp;
        r.Conductivity[j] = p.k;
        const double share = f.dp_total > 0 ? 100.0 * f.dp_port / f.dp_total : 0;
        if (share > core::kPortShareRemarkPercent) {
            r.NotePercentText[j] = "Port pressure drop above 30 % of the total";
            r.NotePercent[j] = share;
        }
        const double limit = c.in.PortMassFluxLimit[j];
        if (c.dp_given(s) && f.dp_total > c.dp_limit(s) * (1 + kLimitSlack)) {
            r.NotePressureText[j] = "Pressure drop above the limit";
            r.NotePressure[j] = f.dp_total;
        } else if (limit > 0 && f.port_mass_flux > limit) {
            r.NotePressureText[j] = "Port velocity above the limit, port pressure drop";
            r.NotePressure[j] = f.dp_port;
        }
    }
    if (e.th.wall_out_of_range) {
        // The wall of a side lies outside its fluid's data: rated without the viscosity
        // correction there, usable with that remark.
        r.ErrorCode = kOutOfRange;
        r.WarningOnly = true;
    }
}

Layout given_layout(const Context& c) {
    const auto& in = c.in;
    std::array<int, 2> passes{1, 1};
    const bool g1 = in.NoOfPasses[1].Given;
    const bool g2 = in.NoOfPasses[2].Given;
    if (g1) passes[0] = in.NoOfPasses[1].Value;
    if (g2) passes[1] = in.NoOfPasses[2].Value;
    if (g1 && !g2) passes[1] = passes[0];
    if (g2 && !g1) passes[0] = passes[1];
    const std::vector<Layout> l = layouts_for(c, passes);
    if (l.empty()) fail(kPlateCount);
    return l.front();
}

int code_of(const platform::Error& e) {
    if (e.number() == platform::kObjectError + core::kFluidRangeCode) return kOutOfRange;
    throw e;
}

void reset(const SinglePhaseInput& in, SinglePhaseResult& r) {
    r = SinglePhaseResult{};
    r.Dual = in.Dual;
    r.CounterCurrent = in.CounterCurrent;
}

}  // namespace

void SinglePhaseEngine::CheckInput(SinglePhaseInput& input, SinglePhaseResult& result) {
    reset(input, result);
    try {
        Context c(input);
        check_counts(c);
        check_values(c);
        check_layout(c, false);
        if (c.mode == Mode::Performance) {
            check_rating_temperatures(c);
        } else if (!c.dp_flow[0] && !c.dp_flow[1]) {
            (void)close_design(c, {});
        }
    } catch (const Failure& f) {
        result.ErrorCode = static_cast<std::int16_t>(f.code);
    } catch (const platform::Error& e) {
        result.ErrorCode = static_cast<std::int16_t>(code_of(e));
    }
}

void SinglePhaseEngine::Calculate(SinglePhaseInput& input, SinglePhaseResult& result) {
    reset(input, result);
    try {
        Context c(input);
        check_counts(c);
        check_values(c);
        load_model(c);
        check_layout(c, true);
        prepare_viscosity(c);
        Evaluation e;
        switch (c.mode) {
            case Mode::Design:
                e = design(c);
                break;
            case Mode::Performance: {
                check_rating_temperatures(c);
                const int units = input.ParallelUnits.Given ? input.ParallelUnits.Value : 1;
                e = rate_performance(c, given_layout(c), units);
                break;
            }
            case Mode::Check: {
                const int units = input.ParallelUnits.Given ? input.ParallelUnits.Value : 1;
                const Duty total = (c.dp_flow[0] || c.dp_flow[1]) ? Duty{} : close_design(c, {});
                e = evaluate_duty(c, given_layout(c), units, total);
                break;
            }
        }
        // A design only accepts units that keep the pressure; a given unit that does not
        // has no real operating point.
        if (exhausts_gas_pressure(c, e)) fail(kNoSolution);
        fill_result(c, e, result);
    } catch (const Failure& f) {
        result = SinglePhaseResult{};
        reset(input, result);
        result.ErrorCode = static_cast<std::int16_t>(f.code);
    } catch (const platform::Error& e) {
        const int code = code_of(e);
        reset(input, result);
        result.ErrorCode = static_cast<std::int16_t>(code);
    }
}

}  // namespace hxq::engines::single_phase
