// hxq fluids: the fluid catalogue (id, name, category, range).
// hxq fluid NAME [--conc PCT] --temp T [--pressure P] [--sat] [--json]: the properties
// of one fluid at a temperature (°C) and pressure (Pa).
#include "command_registry.h"
#include "installation.h"

#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/refrigerant.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <fmt/core.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hxq::app {
namespace {

namespace fluid = engines::fluid;

struct DbOptions {
    std::string fluids_db;
    std::string user_fluids_db;
    void apply() const {
        if (fluids_db.empty() || user_fluids_db.empty()) load_installation_settings("");
        if (!fluids_db.empty()) fluid::set_fluids_database(fluids_db);
        if (!user_fluids_db.empty()) fluid::set_user_fluids_database(user_fluids_db);
    }
};

void add_db_options(CLI::App* cmd, DbOptions& o) {
    cmd->add_option("--fluids-db", o.fluids_db,
                    "Fluid database (default: the setting FluidsDB, else $HXQ_FLUIDS_DB, else the "
                    "build's sample/fluids.db)");
    cmd->add_option("--user-fluids-db", o.user_fluids_db,
                    "User fluid database (default: the setting UserFluidsDB)");
}

const char* category_text(const fluid::CatalogueEntry& e) {
    switch (e.category) {
    case core::FluidCategory::Liquid: return "liquid";
    case core::FluidCategory::Gas: return "gas";
    case core::FluidCategory::Refrigerant: return "refrigerant";
    }
    return "";
}

std::string range_text(const fluid::CatalogueEntry& e) {
    std::string text = fmt::format("{:g} .. {:g} °C", e.t_min, e.t_max);
    if (e.category == core::FluidCategory::Refrigerant) text += " (saturation)";
    if (e.conc_max > 0)
        text += fmt::format(", {:g} .. {:g} {}", e.conc_min, e.conc_max, e.id == fluid::ids::kHumidAir ? "g/kg" : "%");
    return text;
}

int list_fluids(bool json) {
    const auto entries = fluid::catalogue();
    try {
        fluid::refrigerant_entries(fluid::fluids_database());
    } catch (const platform::Error& e) {
        fmt::print(stderr, "hxq: no refrigerants listed: {}\n", e.description());
    }
    if (json) {
        auto out = nlohmann::json::array();
        for (const auto& e : entries) {
            nlohmann::json j{{"id", e.id}, {"name", e.name}, {"category", category_text(e)},
                             {"two_phase", e.category == core::FluidCategory::Refrigerant},
                             {"t_min", e.t_min}, {"t_max", e.t_max}, {"user", e.user}};
            if (e.conc_max > 0) {
                j["conc_min"] = e.conc_min;
                j["conc_max"] = e.conc_max;
            }
            if (!e.aliases.empty()) j["aliases"] = e.aliases;
            out.push_back(j);
        }
        fmt::print("{}\n", out.dump(2));
        return 0;
    }
    fmt::print("{:>7}  {:<20} {:<12} {}\n", "id", "name", "category", "range");
    for (const auto& e : entries)
        fmt::print("{:>7}  {:<20} {:<12} {}\n", e.id, e.name, category_text(e), range_text(e));
    return 0;
}

struct FluidOptions {
    std::string name;
    double conc = 0;
    double temp = 0;
    std::optional<double> pressure;
    bool sat = false;
    bool json = false;
};

int show_fluid(const FluidOptions& o) {
    auto f = fluid::create_fluid(o.name, o.conc);
    if (o.pressure) f->SetYPressure(*o.pressure);
    nlohmann::json j;
    j["fluid"] = f->YFluidName();
    j["id"] = f->GetFluidID();
    j["temp"] = o.temp;
    j["pressure"] = f->YPressure();
    if (f->YConc() != 0) j["conc"] = f->YConc();
    std::vector<std::pair<std::string, std::string>> lines;  // label, text (plain output)
    try {
        const auto s = f->YState(o.temp);
        j["density"] = s.Density;
        j["cp"] = s.SpecificHeat;
        j["conductivity"] = s.Conductivity;
        j["viscosity"] = s.Viscosity;
        lines.emplace_back("density", fmt::format("{:.6g} kg/m³", s.Density));
        lines.emplace_back("cp", fmt::format("{:.6g} J/(kg K)", s.SpecificHeat));
        lines.emplace_back("conductivity", fmt::format("{:.6g} W/(m K)", s.Conductivity));
        lines.emplace_back("viscosity", fmt::format("{:.6g} Pa s", s.Viscosity));
    } catch (const fluid::OutOfRange& e) {
        // A two-phase fluid asked for its saturation data: the single-phase state at the
        // held pressure may not exist; say why instead of failing the whole request.
        if (!o.sat) throw;
        j["single_phase"] = e.description();
        lines.emplace_back("single phase", e.description());
    }
    if (o.sat) {
        const auto liq = f->RefLiquid(o.temp);
        const auto vap = f->RefVapor(o.temp);
        const double h_lv = f->LatentHeat(o.temp);
        const double sigma = f->SurfaceTension(o.temp);
        j["p_bubble"] = liq.Pressure;
        j["p_dew"] = vap.Pressure;
        j["rho_liq"] = liq.Density;
        j["rho_vap"] = vap.Density;
        j["h_lv"] = h_lv;
        j["cp_liq"] = liq.SpecificHeat;
        j["cp_vap"] = vap.SpecificHeat;
        j["mu_liq"] = liq.Viscosity;
        j["mu_vap"] = vap.Viscosity;
        j["lambda_liq"] = liq.Conductivity;
        j["lambda_vap"] = vap.Conductivity;
        j["sigma"] = sigma;
        lines.emplace_back("p_bubble", fmt::format("{:.6g} Pa", liq.Pressure));
        lines.emplace_back("p_dew", fmt::format("{:.6g} Pa", vap.Pressure));
        lines.emplace_back("rho_liq / rho_vap", fmt::format("{:.6g} / {:.6g} kg/m³", liq.Density, vap.Density));
        lines.emplace_back("h_lv", fmt::format("{:.6g} J/kg", h_lv));
        lines.emplace_back("cp_liq / cp_vap", fmt::format("{:.6g} / {:.6g} J/(kg K)", liq.SpecificHeat, vap.SpecificHeat));
        lines.emplace_back("mu_liq / mu_vap", fmt::format("{:.6g} / {:.6g} Pa s", liq.Viscosity, vap.Viscosity));
        lines.emplace_back("lambda_liq / lambda_vap",
                           fmt::format("{:.6g} / {:.6g} W/(m K)", liq.Conductivity, vap.Conductivity));
        lines.emplace_back("sigma", fmt::format("{:.6g} N/m", sigma));
    }
    if (o.json) {
        fmt::print("{}\n", j.dump(2));
        return 0;
    }
    // Humid air's concentration is its humidity ratio in g of water per kg of dry air.
    const char* conc_unit = f->GetFluidID() == fluid::ids::kHumidAir ? "g/kg" : "%";
    fmt::print("{} (id {}) at {:g} °C, {:g} Pa{}\n", f->YFluidName(), f->GetFluidID(), o.temp,
               f->YPressure(), f->YConc() != 0 ? fmt::format(", {:g} {}", f->YConc(), conc_unit) : "");
    for (const auto& [label, text] : lines) fmt::print("  {:<24} {}\n", label, text);
    return 0;
}

const CommandRegistration list_registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("fluids", "List the fluids: id, name, category, range");
    auto db = std::make_shared<DbOptions>();
    auto json = std::make_shared<bool>(false);
    add_db_options(cmd, *db);
    cmd->add_flag("--json", *json, "JSON output");
    cmd->callback([db, json, &exit_code] {
        db->apply();
        exit_code = list_fluids(*json);
    });
});

const CommandRegistration show_registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("fluid", "Properties of one fluid at a temperature and pressure");
    auto o = std::make_shared<FluidOptions>();
    auto db = std::make_shared<DbOptions>();
    cmd->add_option("NAME", o->name, "Fluid name (see hxq fluids)")->required();
    cmd->add_option("--conc", o->conc, "Concentration, % by mass (humid air: g water/kg dry air)");
    cmd->add_option("--temp", o->temp, "Temperature, °C")->required();
    cmd->add_option("--pressure", o->pressure, "Pressure, Pa (default 100000)");
    cmd->add_flag("--sat", o->sat, "Also the saturation properties at the temperature");
    cmd->add_flag("--json", o->json, "JSON output");
    add_db_options(cmd, *db);
    cmd->callback([o, db, &exit_code] {
        db->apply();
        exit_code = show_fluid(*o);
    });
});

}  // namespace
}  // namespace hxq::app
