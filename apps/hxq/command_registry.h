// Subcommands of the hxq program register themselves here, one file each, so the
// program grows by adding a cmd_*.cpp file and nothing else.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

namespace hxq::app {

// Adds a subcommand to `app`; the callback it installs returns the exit code
// through `exit_code`.
using CommandInstaller = std::function<void(CLI::App& app, int& exit_code)>;

std::vector<CommandInstaller>& command_installers();

struct CommandRegistration {
    explicit CommandRegistration(CommandInstaller installer) {
        command_installers().push_back(std::move(installer));
    }
};

}  // namespace hxq::app
