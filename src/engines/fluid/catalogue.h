// The fluid catalogue and the factory of fluid objects: built-in fluids (water, steam,
// glycol solutions, air), the refrigerants of the fluid database and the user fluids.
#pragma once

#include "records/fluid_object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hxq::engines::fluid {

struct CatalogueEntry {
    std::int32_t id = 0;
    std::string name;
    std::vector<std::string> aliases;
    core::FluidCategory category = core::FluidCategory::Liquid;
    bool user = false;       // from the user fluid database
    double t_min = 0;        // °C; saturation range for two-phase fluids
    double t_max = 0;
    double conc_min = 0;     // % by mass; both 0 for pure fluids
    double conc_max = 0;
    std::string source;
};

// Identifiers of the built-in fluids (the FluidID of the channel-fluid correction table).
// Refrigerants carry theirs in the fluid database; user fluids get kUserFluidIdBase plus
// their FluidID in the user fluid database.
namespace ids {
inline constexpr std::int32_t kWater = 1;
inline constexpr std::int32_t kEthyleneGlycol = 2;
inline constexpr std::int32_t kPropyleneGlycol = 3;
inline constexpr std::int32_t kAir = 4;
inline constexpr std::int32_t kHumidAir = 5;
inline constexpr std::int32_t kSteam = 6;
}  // namespace ids
inline constexpr std::int32_t kUserFluidIdBase = 100000;

// Location of the fluid database (setting FluidsDB). Empty: $HXQ_FLUIDS_DB, else the
// fluids.db of the build's sample folder.
void set_fluids_database(const std::string& path);
std::string fluids_database();
// Location of the user fluid database (setting UserFluidsDB); empty: no user fluids.
void set_user_fluids_database(const std::string& path);
std::string user_fluids_database();

// Every fluid that can be created. Refrigerants are listed when the fluid database can
// be read, user fluids when a user fluid database is set.
std::vector<CatalogueEntry> catalogue();

// A new fluid object by name (case, spaces and dashes ignored; aliases such as "MEG",
// "Ammonia" work) and concentration (% by mass, used by solutions). Throws UnknownFluid
// with the nearest names, or OutOfRange for a concentration outside the fluid's range.
core::FluidRef create_fluid(const std::string& name, double conc = 0);
core::FluidRef create_fluid_by_id(std::int32_t id, double conc = 0);

// Up to `count` catalogue names closest to `name` (edit distance).
std::vector<std::string> nearest_names(const std::string& name, std::size_t count = 5);

}  // namespace hxq::engines::fluid
