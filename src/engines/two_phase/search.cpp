#include "engines/two_phase/search.h"

#include "platform/error.h"

#include <algorithm>
#include <cmath>

namespace hxq::engines::two_phase {

using single_phase::fail;

namespace {
// The assumed and the computed pressure drop agree to this (Pa, plus 1e-6 relative): the
// saturation temperature moves by microkelvins.
constexpr double kDropTolerance = 0.01;
constexpr int kDropIterations = 30;

bool feasible(const Model& m, const Rated& r, const Acceptance& accept, int& code) {
    if (!r.rating.area_ok(m.margin)) {
        code = 0;
        return false;
    }
    code = accept(r);
    return code == 0;
}
}  // namespace

std::vector<int> plate_choices(const Model& m, int given_plates) {
    std::vector<int> out;
    auto keep = [&](int n) {
        if (n >= 4 && n <= m.max_plates && make_layout(n, 1, 1)) out.push_back(n);
    };
    if (given_plates > 0) {
        keep(given_plates);
    } else if (!m.stock.empty()) {
        std::vector<int> s = m.stock;
        std::sort(s.begin(), s.end());
        s.erase(std::unique(s.begin(), s.end()), s.end());
        for (int n : s) keep(n);
    } else {
        for (int n = 4; n <= m.max_plates; ++n) keep(n);
    }
    return out;
}

Rated rate_converged(const Model& m, const ProfileFor& profile_for, const Layout& layout, double dp_start) {
    // Fixed point of dp = drop(dp), the last two iterates extrapolated by the secant:
    // the drop depends on the states it assumes only weakly and almost linearly.
    Rated r;
    r.layout = layout;
    double dp = dp_start;
    double prev_dp = 0, prev_residual = 0;
    for (int i = 0; i < kDropIterations; ++i) {
        r.profile = profile_for(dp);
        r.rating = rate_layout(m, r.profile, layout);
        const double residual = r.rating.dp1 - dp;
        if (std::abs(residual) <= kDropTolerance + 1e-6 * std::abs(r.rating.dp1)) break;
        double next = r.rating.dp1;
        if (i > 0 && residual != prev_residual) {
            const double secant = dp - residual * (dp - prev_dp) / (residual - prev_residual);
            if (std::isfinite(secant)) next = secant;
        }
        prev_dp = dp;
        prev_residual = residual;
        dp = next;
    }
    return r;
}

std::optional<Rated> design(const Model& m, const ProfileFor& profile_for, const SearchRange& range,
                            const Acceptance& accept, int& code) {
    code = 0;
    if (range.plates.empty()) fail(single_phase::kPlateCount);
    Profile guess = profile_for(0.0);
    for (int units = range.first_parallel; units <= range.last_parallel; ++units) {
        std::vector<Layout> layouts;
        for (int n : range.plates) layouts.push_back(*make_layout(n, units, range.series));
        // On the profile of the last drop: the smallest layout that meets everything.
        auto ok_on_guess = [&](std::size_t i) {
            Rated r{layouts[i], guess, rate_layout(m, guess, layouts[i])};
            return feasible(m, r, accept, code);
        };
        std::size_t hi = layouts.size() - 1;
        if (!ok_on_guess(hi)) continue;
        auto smallest_on_guess = [&] {
            // Invariant: layout lo fails (or is 0 and untried), layout hi fits.
            std::size_t lo = 0;
            if (ok_on_guess(0)) return std::size_t{0};
            while (hi - lo > 1) {
                const std::size_t mid = lo + (hi - lo) / 2;
                if (ok_on_guess(mid)) hi = mid;
                else lo = mid;
            }
            return hi;
        };
        hi = smallest_on_guess();
        // Once more on the states of that layout's drop, which moves the answer by a
        // plate or two at most: searched from there.
        guess = profile_for(rate_layout(m, guess, layouts[hi]).dp1);
        if (ok_on_guess(hi)) {
            while (hi > 0 && ok_on_guess(hi - 1)) --hi;
        } else {
            while (hi + 1 < layouts.size() && !ok_on_guess(++hi)) {
            }
        }
        // The drop of that layout changes the states a little: converge it, and step up
        // while the converged rating falls short.
        std::optional<Rated> best;
        double dp = rate_layout(m, guess, layouts[hi]).dp1;
        for (std::size_t i = hi; i < layouts.size() && !best; ++i) {
            try {
                Rated r = rate_converged(m, profile_for, layouts[i], dp);
                dp = r.rating.dp1;
                if (feasible(m, r, accept, code)) best = std::move(r);
                else guess = r.profile;
            } catch (const single_phase::Failure& f) {
                // The drop of a small layout can lower the outlet's saturation below the
                // secondary: not this layout.
                code = f.code;
            } catch (const platform::Error& e) {
                // ... or take the outlet out of the fluid's data.
                if (e.number() != platform::kObjectError + core::kFluidRangeCode) throw;
                code = single_phase::kOutOfRange;
            }
        }
        if (best) {
            code = 0;
            return best;
        }
    }
    return std::nullopt;
}

Rated performance(const Model& m, const std::function<ProfileFor(double)>& duty_for, const Layout& layout,
                  double s_guess, bool rising) {
    double dp = 0;
    Rated last;
    // Needed over provided area (with the margin), less one: rising in ln s.
    auto excess = [&](double log_s) {
        last = rate_converged(m, duty_for(std::exp(log_s)), layout, dp);
        dp = last.rating.dp1;
        const double f = last.rating.area_needed * (1.0 + m.margin) / last.rating.area_provided - 1.0;
        return rising ? f : -f;
    };
    // A duty that leaves the fluids' data or crosses the temperatures would need an
    // unbounded area.
    auto safe = [&](double log_s) {
        try {
            return excess(log_s);
        } catch (const single_phase::Failure&) {
            return rising ? 1.0 : -1.0;
        } catch (const platform::Error& e) {
            if (e.number() != platform::kObjectError + core::kFluidRangeCode) throw;
            return rising ? 1.0 : -1.0;
        }
    };
    double lo = std::log(s_guess) - std::log(2.0);
    double hi = std::log(s_guess) + std::log(2.0);
    for (int i = 0; i < 40 && safe(lo) > 0; ++i) lo -= std::log(2.0);
    for (int i = 0; i < 40 && safe(hi) < 0; ++i) hi += std::log(2.0);
    if (!(safe(lo) <= 0 && safe(hi) >= 0)) fail(single_phase::kNoSolution);
    const double root = single_phase::solve_rising([&](double x) { return safe(x); }, lo, hi);
    (void)excess(root);
    return last;
}

}  // namespace hxq::engines::two_phase

namespace hxq::engines::two_phase {

Rated run(const Model& m, const Request& r) {
    auto fixed = [&](const DutySet& d) -> ProfileFor {
        return [&r, d](double dp) { return r.profile(d, dp); };
    };
    if (r.mode == Mode::Design) {
        SearchRange range;
        range.first_parallel = r.parallel > 0 ? r.parallel : 1;
        range.last_parallel = r.parallel > 0 ? r.parallel : r.max_parallel;
        range.series = r.series;
        range.plates = plate_choices(m, r.plates);
        int code = 0;
        const auto found = design(m, fixed(r.duty), range, r.accept, code);
        if (!found) fail(code != 0 ? code : single_phase::kNoSolution);
        return *found;
    }
    const auto layout = make_layout(r.plates, r.parallel > 0 ? r.parallel : 1, r.series);
    if (!layout || layout->plates > m.max_plates) fail(single_phase::kPlateCount);
    if (r.mode == Mode::Check) return rate_converged(m, fixed(r.duty), *layout, 0);
    // Performance: the load (or the secondary flow) at which the unit has its margin
    // exactly. First guesses: 10 kW per m² of plate, a 5 K change of a watery secondary.
    const bool load = r.free == Free::Load;
    auto duty_for = [&](double s) {
        DutySet d = r.duty;
        (load ? d.q : d.m2) = s;
        return fixed(d);
    };
    double guess = (layout->plates - 2) * m.geo.plate_area * layout->parallel * layout->series * 1e4;
    if (!load) guess = (r.duty.q ? *r.duty.q : *r.duty.m1 * 2e5) / (4000.0 * 5.0);
    return performance(m, duty_for, *layout, guess, load);
}

}  // namespace hxq::engines::two_phase
