// The installation the commands work with when the user names none: the sample
// installation that the build writes beside the program (<build>/sample, with the program
// at <build>/apps/hxq/hxq).
#pragma once

#include <filesystem>
#include <string>

namespace hxq::app {

// <program folder>/../../sample.
std::filesystem::path sample_installation();

// Points $HXQ_REGISTRY at the sample installation's registry.ini unless it is already set
// or there is none; returns the store in use ("" when it is the platform's default).
std::string use_installation_registry();

// The user settings file: `given`, else the sample installation's hxq.ini when there is
// one, else "".
std::string installation_ini(const std::string& given);

// The installation the program works with: the machine-wide store of $HXQ_REGISTRY and
// the user settings file `ini`. Either one not given falls back to the sample
// installation of the build (<program folder>/../../sample/registry.ini and hxq.ini)
// when it is there. Loads the settings, points the fluid component at the fluid
// database and opens the units database; platform::Error when that cannot be opened.
struct Installation {
    std::string registry;  // the store in use ("" when none was found)
    std::string ini;       // the settings file in use ("" when none was found)
};
Installation PrepareInstallation(const std::string& ini, const std::string& user_level);

// Loads the installation's settings (the registry store of use_installation_registry()
// and the settings file installation_ini(ini)) into the library state, and points the
// fluid component at the installation's fluid and user fluid databases.
void load_installation_settings(const std::string& ini);

}  // namespace hxq::app
