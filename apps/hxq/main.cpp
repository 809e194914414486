// hxq: select, rate and quote brazed plate heat exchangers from the command line.
#include "command_registry.h"

#include "platform/error.h"

#include <fmt/core.h>

#include <exception>

namespace hxq::app {

std::vector<CommandInstaller>& command_installers() {
    static std::vector<CommandInstaller> installers;
    return installers;
}

}  // namespace hxq::app

int main(int argc, char** argv) {
    CLI::App app{"hxq - selection, rating and quotation of brazed plate heat exchangers", "hxq"};
    app.set_version_flag("--version", std::string("hxq ") + HXQ_VERSION_TEXT);
    app.require_subcommand(0, 1);

    int exit_code = 0;
    for (auto& install : hxq::app::command_installers()) install(app, exit_code);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const hxq::platform::Error& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 1;
    }
    if (app.get_subcommands().empty()) {
        fmt::print("{}", app.help());
    }
    return exit_code;
}
