// Design and performance searches of the two-phase engines over unit layouts. A duty's
// refrigerant states depend on the refrigerant's own pressure drop (the outlet state is
// defined at the outlet pressure), so every rating is iterated until the drop the states
// assume is the drop the rating computes.
#pragma once

#include "engines/two_phase/duty.h"
#include "engines/two_phase/unit_model.h"

#include <functional>
#include <optional>
#include <vector>

namespace hxq::engines::two_phase {

// The profile of the duty whose refrigerant states assume a pressure drop of dp (Pa).
using ProfileFor = std::function<Profile(double dp)>;
struct Rated {
    Layout layout;
    Profile profile;
    UnitRating rating;
};

// Conditions beyond the area that a rated layout must meet (pressure-drop limits, the
// distributor window, a wall above freezing); returns 0 or the engine code of the failure.
using Acceptance = std::function<int(const Rated&)>;

// What a design may choose: units in parallel from `first` to `last`, `series` in series,
// the plate counts in ascending order.
struct SearchRange {
    int first_parallel = 1;
    int last_parallel = 1;
    int series = 1;
    std::vector<int> plates;
};

// Plate counts a design may choose: the given count, the forced stock counts or every
// count the model allows, keeping those a single-pass pack can have.
std::vector<int> plate_choices(const Model& m, int given_plates);

// Rates `layout` with the pressure drop converged, starting from `dp_start`.
Rated rate_converged(const Model& m, const ProfileFor& profile_for, const Layout& layout, double dp_start);

// The cheapest feasible layout: fewest units in parallel, then fewest plates. Without one,
// `code` gets the failure of the last candidate tried (0 when all were short of area).
std::optional<Rated> design(const Model& m, const ProfileFor& profile_for, const SearchRange& range,
                            const Acceptance& accept, int& code);

// Performance of a given layout: the duty parameter s (> 0) for which the layout has the
// required margin exactly. `duty_for(s)` gives the profile function of s; the needed area
// rises with s when `rising`, falls otherwise. Engine code 15 when no s in reach fits.
Rated performance(const Model& m, const std::function<ProfileFor(double)>& duty_for, const Layout& layout,
                  double s_guess, bool rising);

}  // namespace hxq::engines::two_phase

namespace hxq::engines::two_phase {

// One rating request as an engine hands it over after its own checks.
struct Request {
    Mode mode = Mode::Design;
    Free free = Free::Load;  // performance only
    DutySet duty;
    // The profile of a duty (the given one, or a performance trial) for a drop dp.
    std::function<Profile(const DutySet&, double dp)> profile;
    Acceptance accept;
    int plates = 0;    // given plates (0: the design chooses)
    int parallel = 0;  // given units in parallel (0: the design chooses 1..max_parallel)
    int series = 1;
    int max_parallel = 10;
};

// Design, check or performance rating of a request; throws the engine code of a failure.
Rated run(const Model& m, const Request& r);

}  // namespace hxq::engines::two_phase
