#include "installation.h"

#include "engines/fluid/catalogue.h"
#include "output/startup_detection.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "settings/convert.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <fmt/format.h>

#include <cstdlib>

namespace hxq::app {

std::filesystem::path sample_installation() {
    return (platform::application_path() / ".." / ".." / "sample").lexically_normal();
}

std::string use_installation_registry() {
    if (const char* env = std::getenv(platform::kRegistryEnv); env && *env) return env;
    const auto sample = sample_installation() / "registry.ini";
    if (!std::filesystem::exists(sample)) return {};
    ::setenv(platform::kRegistryEnv, sample.c_str(), 1);
    return sample.string();
}

std::string installation_ini(const std::string& given) {
    if (!given.empty()) return given;
    const auto sample = sample_installation() / "hxq.ini";
    return std::filesystem::exists(sample) ? sample.string() : std::string();
}

void load_installation_settings(const std::string& ini) {
    use_installation_registry();
    settings::LibraryState& state = settings::library_state();
    state.host.IniFilePath = installation_ini(ini);
    state.host.ExePath = platform::application_path().string();
    // What is installed here gives the editor setting its default.
    if (!state.startup.word_processor && !state.startup.editor_path) output::install_startup_detection();
    settings::load_settings(state);
    if (!state.Settings.FluidsDB.empty()) engines::fluid::set_fluids_database(state.Settings.FluidsDB);
    // A user fluid database that is not there leaves the built-in fluids usable.
    if (!state.UserSettings.UserFluidsDB.empty() && std::filesystem::exists(state.UserSettings.UserFluidsDB))
        engines::fluid::set_user_fluids_database(state.UserSettings.UserFluidsDB);
}

Installation PrepareInstallation(const std::string& ini, const std::string& user_level) {
    namespace fs = std::filesystem;
    Installation inst;
    inst.registry = use_installation_registry();
    // A settings file named on the command line that is not there is a typing mistake,
    // not a wish for empty settings (no stock database, no user fluids).
    if (!ini.empty() && !fs::is_regular_file(ini))
        throw platform::Error(3024, "hxq", fmt::format("the settings file \"{}\" (--ini) does not exist", ini));
    inst.ini = installation_ini(ini);
    load_installation_settings(ini);
    settings::LibraryState& state = settings::library_state();
    state.host.UsrLev = user_level;

    settings::ResetSharedConverter();
    if (!settings::SharedConverter().IsOpen())
        throw platform::Error(3024, "hxq",
                              fmt::format("the units database \"{}\" (setting ConvertDB of {}) cannot be opened",
                                          state.Settings.ConvertDB,
                                          inst.registry.empty() ? std::string("the registry store") : inst.registry));
    return inst;
}

}  // namespace hxq::app
