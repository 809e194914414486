#include "engines/fluid/catalogue.h"

#include "engines/fluid/air.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/glycol.h"
#include "engines/fluid/refrigerant.h"
#include "engines/fluid/user_fluid.h"
#include "engines/fluid/water.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>

#ifndef HXQ_BUILD_SAMPLE_DIR
#define HXQ_BUILD_SAMPLE_DIR "sample"
#endif

namespace hxq::engines::fluid {
namespace {

std::mutex& config_mutex() {
    static std::mutex m;
    return m;
}
std::string& fluids_db_setting() {
    static std::string path;
    return path;
}
std::string& user_db_setting() {
    static std::string path;
    return path;
}

std::string normalise(const std::string& name) {
    std::string out;
    for (unsigned char c : name)
        if (std::isalnum(c)) out += static_cast<char>(std::tolower(c));
    return out;
}

std::vector<CatalogueEntry> builtin_entries() {
    using core::FluidCategory;
    std::vector<CatalogueEntry> v;
    auto add = [&](std::int32_t id, std::string name, std::vector<std::string> aliases,
                   FluidCategory cat, double tmin, double tmax, double cmin, double cmax,
                   std::string source) {
        CatalogueEntry e;
        e.id = id;
        e.name = std::move(name);
        e.aliases = std::move(aliases);
        e.category = cat;
        e.t_min = tmin;
        e.t_max = tmax;
        e.conc_min = cmin;
        e.conc_max = cmax;
        e.source = std::move(source);
        v.push_back(std::move(e));
    };
    add(ids::kWater, "Water", {"H2O"}, FluidCategory::Liquid, WaterFluid::kTMin, WaterFluid::kTMax,
        0, 0, "IAPWS-IF97, IAPWS 2008/2011 transport");
    add(ids::kEthyleneGlycol, "Ethylene glycol", {"MEG", "Monoethylene glycol", "Glycol"},
        FluidCategory::Liquid, glycol_freezing_point(Glycol::Ethylene, GlycolFluid::kConcMax),
        GlycolFluid::kTMax, GlycolFluid::kConcMin, GlycolFluid::kConcMax, "Melinder (IIR 2010)");
    add(ids::kPropyleneGlycol, "Propylene glycol", {"MPG", "Monopropylene glycol"},
        FluidCategory::Liquid, glycol_freezing_point(Glycol::Propylene, GlycolFluid::kConcMax),
        GlycolFluid::kTMax, GlycolFluid::kConcMin, GlycolFluid::kConcMax, "Melinder (IIR 2010)");
    add(ids::kAir, "Air", {"Dry air"}, FluidCategory::Gas, AirFluid::kTMin, AirFluid::kTMax, 0, 0,
        "Lemmon & Jacobsen (2004) fits, Abbott virial");
    add(ids::kHumidAir, "Humid air", {"Moist air", "Compressed air"}, FluidCategory::Gas,
        HumidAirFluid::kTMin, HumidAirFluid::kTMax, 0, HumidAirFluid::kConcMax,
        "Dry air + IF97 vapour; concentration in g water/kg dry air");
    add(ids::kSteam, "Steam", {"Water vapour", "Water vapor"}, FluidCategory::Gas, 0,
        SteamFluid::kTMax, 0, 0, "IAPWS-IF97 region 2");
    return v;
}

core::FluidRef create_builtin(const CatalogueEntry& e, double conc) {
    switch (e.id) {
    case ids::kWater: return std::make_shared<WaterFluid>(e.id, e.name);
    case ids::kEthyleneGlycol:
        return std::make_shared<GlycolFluid>(e.id, e.name, Glycol::Ethylene, conc);
    case ids::kPropyleneGlycol:
        return std::make_shared<GlycolFluid>(e.id, e.name, Glycol::Propylene, conc);
    case ids::kAir: return std::make_shared<AirFluid>(e.id, e.name);
    case ids::kHumidAir: return std::make_shared<HumidAirFluid>(e.id, e.name, conc);
    case ids::kSteam: return std::make_shared<SteamFluid>(e.id, e.name);
    default: return nullptr;
    }
}

bool is_builtin(std::int32_t id) { return id >= ids::kWater && id <= ids::kSteam; }

void check_pure(const CatalogueEntry& e, double conc) {
    if (e.conc_max == 0 && conc != 0)
        check_range(e.name, "concentration", conc, 0.0, 0.0, "%");
}

// The catalogue without failing: a database that cannot be read leaves its part out.
std::vector<CatalogueEntry> entries(bool with_refrigerants, bool with_user) {
    auto all = builtin_entries();
    if (with_refrigerants) {
        try {
            auto r = refrigerant_entries(fluids_database());
            all.insert(all.end(), r.begin(), r.end());
        } catch (const platform::Error&) {
            // No fluid database: the built-in fluids still work.
        }
    }
    if (with_user && !user_fluids_database().empty()) {
        try {
            auto u = user_fluid_entries(user_fluids_database());
            all.insert(all.end(), u.begin(), u.end());
        } catch (const platform::Error&) {
        }
    }
    return all;
}

std::size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> prev(b.size() + 1), cur(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) prev[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(prev, cur);
    }
    return prev[b.size()];
}

bool matches(const CatalogueEntry& e, const std::string& key) {
    if (normalise(e.name) == key) return true;
    return std::any_of(e.aliases.begin(), e.aliases.end(),
                       [&](const std::string& a) { return normalise(a) == key; });
}

core::FluidRef create_from(const CatalogueEntry& e, double conc) {
    if (is_builtin(e.id) && !e.user) return create_builtin(e, conc);
    check_pure(e, conc);
    if (e.user) return create_user_fluid(user_fluids_database(), e);
    return create_refrigerant(fluids_database(), e);
}

}  // namespace

void set_fluids_database(const std::string& path) {
    std::lock_guard lock(config_mutex());
    fluids_db_setting() = path;
}

std::string fluids_database() {
    {
        std::lock_guard lock(config_mutex());
        if (!fluids_db_setting().empty()) return fluids_db_setting();
    }
    if (const char* env = std::getenv("HXQ_FLUIDS_DB"); env && *env) return env;
    return std::string(HXQ_BUILD_SAMPLE_DIR) + "/fluids.db";
}

void set_user_fluids_database(const std::string& path) {
    std::lock_guard lock(config_mutex());
    user_db_setting() = path;
}

std::string user_fluids_database() {
    std::lock_guard lock(config_mutex());
    return user_db_setting();
}

std::vector<CatalogueEntry> catalogue() { return entries(true, true); }

std::vector<std::string> nearest_names(const std::string& name, std::size_t count) {
    const std::string key = normalise(name);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (const auto& e : catalogue()) {
        std::size_t best = edit_distance(key, normalise(e.name));
        for (const auto& a : e.aliases) best = std::min(best, edit_distance(key, normalise(a)));
        scored.emplace_back(best, e.name);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [d, n] : scored) {
        if (out.size() >= count) break;
        out.push_back(n);
    }
    return out;
}

core::FluidRef create_fluid(const std::string& name, double conc) {
    const std::string key = normalise(name);
    // Built-ins first, so water works without any database.
    for (const auto& e : builtin_entries())
        if (matches(e, key)) {
            check_pure(e, conc);
            return create_from(e, conc);
        }
    std::string db_problem;
    try {
        for (const auto& e : refrigerant_entries(fluids_database()))
            if (matches(e, key)) return create_from(e, conc);
    } catch (const FluidDatabaseError& e) {
        db_problem = e.description();
    }
    if (!user_fluids_database().empty())
        for (const auto& e : user_fluid_entries(user_fluids_database()))
            if (normalise(e.name) == key) return create_from(e, conc);
    throw UnknownFluid(name, nearest_names(name), db_problem);
}

core::FluidRef create_fluid_by_id(std::int32_t id, double conc) {
    for (const auto& e : catalogue())
        if (e.id == id) return create_from(e, conc);
    throw UnknownFluid("#" + std::to_string(id), {});
}

}  // namespace hxq::engines::fluid
