// hxq select DUTY.toml: rates a duty (single-phase, condenser, evaporator, air dryer,
// two-stage, cascade)
// over a model or group of the product range and prints the seven best alternatives.
#include "command_registry.h"
#include "duty_run.h"
#include "result_air_dryer.h"
#include "result_cascade.h"
#include "result_table.h"
#include "result_two_phase.h"
#include "result_two_stage.h"

#include "settings/languages.h"

#include <fmt/core.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace hxq::app {
namespace {

struct SelectOptions {
    std::string duty;
    std::string units = "si";
    bool json = false;
    std::string ini;
    std::string user_level = "A";
    bool progress = true;
    int detail = 0;  // alternative whose full result is printed; 0: the list
    bool detail_given = false;
    std::string lang;  // code or name; "": the settings' language
    Labels text;       // the language the tables are printed in
};

// The listed alternatives, or the full result of one (`--detail N`), as text or JSON.
template <class Data>
int print_result(const Data& data, const SelectOptions& o, OutputSystem system) {
    if (!o.detail_given) {
        if (o.json) fmt::print("{}\n", ResultJson(data, system).dump(2));
        else fmt::print("{}", ResultTable(data, system, o.text));
        return 0;
    }
    const int listed = ListedAlternatives(data);
    if (o.detail < 1 || o.detail > listed) return RefuseDetail(o.detail, static_cast<std::size_t>(listed));
    if (o.json) fmt::print("{}\n", ResultJson(data, system)["alternatives"][static_cast<std::size_t>(o.detail - 1)].dump(2));
    else fmt::print("{}", ResultDetail(data, o.detail, system));
    return 0;
}

int run_select(SelectOptions& o) {
    DutyRun run = RunDuty({"select", o.duty, o.ini, o.user_level, o.lang, o.progress});
    if (run.exit_code != 0) return run.exit_code;
    o.text.offset = run.offset;
    const OutputSystem system = o.units == "us" ? OutputSystem::US : OutputSystem::SI;
    return std::visit(
        [&](const auto& data) -> int {
            using Data = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<Data, core::SPCDataType>)
                return PrintSinglePhase(data, system, o.json,
                                        o.detail_given ? std::optional<int>(o.detail) : std::nullopt, o.text);
            else
                return print_result(data, o, system);
        },
        run.record);
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("select", "Select and rate heat exchangers for a duty file");
    auto o = std::make_shared<SelectOptions>();
    cmd->add_option("DUTY", o->duty, "Duty file (TOML, see docs/duty-files.md)")->required();
    cmd->add_option("--units", o->units, "Output units of the table")
        ->check(CLI::IsMember({"si", "us"}))
        ->capture_default_str();
    cmd->add_flag("--json", o->json, "Print the alternatives as JSON");
    cmd->add_option("--ini", o->ini, "User settings file (default: the build's sample/hxq.ini)");
    cmd->add_option("--user-level", o->user_level, "User level letter that the model tree is filtered by")
        ->capture_default_str();
    cmd->add_flag("!--no-progress", o->progress, "Do not draw the progress bar on a terminal");
    cmd->add_option("--lang", o->lang,
                    "Language of the tables and messages, by code or name: " + settings::language_choices() +
                        " (default: the settings' language)");
    CLI::Option* detail = cmd->add_option("--detail", o->detail, "Print the full result of alternative N");
    cmd->callback([o, detail, &exit_code] {
        o->detail_given = detail->count() > 0;
        exit_code = run_select(*o);
    });
});

}  // namespace
}  // namespace hxq::app
