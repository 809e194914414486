// The plate pack of a two-phase model and the rating of one unit layout on a duty profile:
// the area each segment needs, film and overall coefficients, wall temperatures and the
// pressure drops of both sides. Shared by the condenser and the evaporator engines.
#pragma once

#include "engines/single_phase/power_law.h"
#include "engines/single_phase/rating.h"
#include "engines/two_phase/correlations.h"
#include "engines/two_phase/profile.h"
#include "records/two_phase_records.h"

#include <array>
#include <optional>
#include <vector>

namespace hxq::engines::two_phase {

// Engine codes of the two-phase engines besides the single-phase ones (rating.h).
inline constexpr int kFreezing = 16;     // the secondary would freeze
inline constexpr int kDistributor = 17;  // the distributor's pressure drop is outside its window

// Chevron angle (degrees from the flow direction) the evaporation correlation takes when
// the product data give none: the high-angle plates of brazed units (60-65°).
inline constexpr double kDefaultChevronAngle = 60.0;

// The model's data as the rating uses them.
struct Model {
    single_phase::Geometry geo;
    single_phase::PowerLaw ref_friction, ref_nusselt;  // refrigerant channel (side 1)
    single_phase::SideModel secondary;                 // side 2, rated as the single-phase engine does
    double port_up = 0, port_down = 0, slit = 0;       // refrigerant ports, m; slit in velocity heads
    NuCorrection correction;
    double beta = kDefaultChevronAngle;
    double fouling = 0;     // m² K/W
    double margin = 0;      // required over-surface, fraction
    double film_factor = 1; // co-current factor on both film coefficients
    double dt_min = 0;      // K
    int max_plates = 0;
    bool counter = true;
    bool refrigerant_hot = true;   // condenser; false: evaporator
    double freezing_point = -1e300;  // °C, of the secondary
    std::vector<int> stock;        // the only plate counts allowed (forced stock), or empty
};

// Reads the model part of a condenser or evaporator input; engine code 5 when the product
// data cannot describe a unit.
template <typename Input>
Model load_model(const Input& in, bool refrigerant_hot);

// One unit arrangement: plates per unit, channels per side, units in parallel and in
// series. Units in series carry the same flow one after the other: their area and their
// channel length add up.
struct Layout {
    int plates = 0;
    std::array<int, 2> channels{};  // refrigerant, secondary
    int parallel = 1;
    int series = 1;
};

// Channels of a single-pass pack of `plates` plates: the secondary takes the odd channel
// (it runs in the outer channels); nothing for a plate count the pack cannot have.
std::optional<Layout> make_layout(int plates, int parallel, int series);

// A unit layout rated on a profile. Areas, loads and drops are those of one string of
// units in series (one of the parallel strings).
struct UnitRating {
    double area_needed = 0;    // m², with fouling
    double area_provided = 0;  // m²
    std::array<double, kZones> zone_area{};
    double u = 0, u_clean = 0;     // W/(m² K), area-weighted means
    std::array<double, 2> h{};     // W/(m² K), area-weighted film coefficients
    std::array<double, 2> wall_min{}, wall_max{}, wall_mean{};  // °C
    // Refrigerant side.
    double dp1 = 0, dp1_port = 0, dp1_friction = 0, dp1_static = 0, dp1_acceleration = 0;
    double re1 = 0;  // mean Re_eq of the two-phase zone (single-phase Re without one)
    double g1 = 0;   // kg/(m² s), channel mass flux
    double port_velocity_in = 0, port_velocity_out = 0;
    double channel_velocity_in = 0, channel_velocity_out = 0;
    double shear1 = 0;  // Pa, mean wall shear
    bool wet_wall = false;  // vapour condensed on a wall below its dew point
    bool freezes = false;   // the secondary's wall lies below its freezing point
    // Secondary side, as the single-phase engine rates it at its mean temperature.
    single_phase::SideFlow flow2;
    double over_surface() const { return 100.0 * (area_provided / area_needed - 1.0); }
    bool area_ok(double margin) const { return area_provided >= area_needed * (1.0 + margin) * (1 - 1e-12); }
};

UnitRating rate_layout(const Model& m, const Profile& p, const Layout& l);

// Without a limit of the user's, a design keeps the refrigerant's drop within the
// pressure change that moves its saturation temperature by this much (K): the usual sizing
// rule of refrigerant heat exchangers, which keeps the drop from eating the temperature
// difference the unit works with.
inline constexpr double kDefaultSaturationDrop = 2.0;

// 0 when both sides' drops keep within the given limits (side 1: `default_dp1` when none
// is given, 0 for none), else code 15 (not a solution).
int pressure_limit_code(const core::PerSide<core::DutyValue>& limits, const UnitRating& u, double default_dp1 = 0);

}  // namespace hxq::engines::two_phase
