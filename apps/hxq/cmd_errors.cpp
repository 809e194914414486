// hxq errors [CODE]: the engine error texts, one code or all listed ones. The text of
// code 6 follows the CalcType of the user settings, as the library shows it.
#include "command_registry.h"
#include "installation.h"

#include "records/engine_error_text.h"
#include "platform/error.h"
#include "settings/engine_error_text_setting.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <fmt/core.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace hxq::app {
namespace {

struct ErrorsOptions {
    int code = 0;
    std::string ini;
    std::optional<int> calc_type;
};

// Loads the user settings from `ini`, or from the sample installation when no file is
// named (defaults when there is none). False when a named file is missing.
bool load_user_settings(const std::string& ini) {
    if (!ini.empty() && !std::filesystem::is_regular_file(ini)) return false;
    auto& state = settings::library_state();
    state.host.IniFilePath = installation_ini(ini);
    settings::load_settings(state);
    return true;
}

int run(const CLI::App& cmd, const ErrorsOptions& o) {
    if (!o.calc_type && !load_user_settings(o.ini)) {
        fmt::print(stderr, "hxq errors: the settings file '{}' does not exist\n", o.ini);
        return 1;
    }
    auto text = [&](int code) {
        const std::int32_t number = platform::kObjectError + code;
        return o.calc_type ? core::EngineErrorText(number, *o.calc_type) : settings::EngineErrorText(number);
    };
    if (cmd.count("CODE")) {
        fmt::print("{}\n", text(o.code));
        return 0;
    }
    const int calc_type = o.calc_type.value_or(settings::library_state().UserSettings.StartUpCalcType);
    for (int c = 1; c <= 46; ++c)
        if (!core::EngineErrorMessage(c, calc_type).empty()) fmt::print("{}\n", text(c));
    return 0;
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("errors", "Print the engine error text of one code or of all codes");
    auto o = std::make_shared<ErrorsOptions>();
    cmd->add_option("CODE", o->code, "Engine error code (1-46)");
    cmd->add_option("--ini", o->ini, "User settings file whose CalcType picks the text of code 6 "
                                     "(default: the build's sample/hxq.ini)");
    cmd->add_option("--calc-type", o->calc_type, "CalcType that picks the text of code 6, instead of the setting");
    cmd->callback([cmd, o, &exit_code] { exit_code = run(*cmd, *o); });
});

}  // namespace
}  // namespace hxq::app
