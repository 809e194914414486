// hxq select DUTY.toml: rates a single-phase duty over a model or group of the product
// range and prints the seven best alternatives.
#include "command_registry.h"
#include "duty_file.h"
#include "result_table.h"

#include "core/calculate.h"
#include "platform/db.h"
#include "platform/error.h"
#include "settings/engine_error_text_setting.h"
#include "settings/library_state.h"

#include <fmt/core.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <unistd.h>

namespace hxq::app {
namespace {

struct SelectOptions {
    std::string duty;
    std::string units = "si";
    bool json = false;
    std::string ini;
    std::string user_level = "A";
    bool progress = true;
    std::optional<int> detail;
};

// A bar on stderr that follows CalcPercent; only drawn on a terminal.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void show(int percent) {
        if (!enabled_ || percent == last_) return;
        last_ = percent;
        constexpr int kWidth = 40;
        const int done = percent * kWidth / 100;
        fmt::print(stderr, "\r[{}{}] {:3d}%", std::string(static_cast<std::size_t>(done), '#'),
                   std::string(static_cast<std::size_t>(kWidth - done), ' '), percent);
        std::fflush(stderr);
        drawn_ = true;
    }
    void finish() {
        if (drawn_) fmt::print(stderr, "\r{}\r", std::string(47, ' '));
        drawn_ = false;
    }

private:
    bool enabled_;
    bool drawn_ = false;
    int last_ = -1;
};

bool is_engine_error(std::int32_t number) {
    const std::int64_t code = static_cast<std::int64_t>(number) - platform::kObjectError;
    return code >= 1 && code <= 46;
}

int run_select(const SelectOptions& o) {
    DutyFile duty;
    try {
        duty = ParseDutyFile(o.duty);
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 2;
    }
    try {
        const Installation inst = PrepareInstallation(o.ini, o.user_level);
        if (settings::library_state().UserSettings.StockDB.empty()) {
            fmt::print(stderr, "hxq: no stock database: set DBStock in the settings file ({})\n",
                       inst.ini.empty() ? std::string("none found; give --ini") : inst.ini);
            return 1;
        }
        const std::string main_db = settings::library_state().Settings.HXQDB;
        const std::string database = duty.database.empty() ? main_db : duty.database;
        if (database.empty()) {
            fmt::print(stderr,
                       "hxq: no product database: set HXQnew in the registry store (HXQ_REGISTRY) or give database "
                       "in the duty file\n");
            return 1;
        }
        // The filter reads the article tables that only the main product database has;
        // the calculation would fail on them with no word of why.
        if (duty.filter.Active && database != main_db)
            throw DutyFileError(duty.path, duty.filter_place.line, duty.filter_place.key,
                                fmt::format("a filter needs the main product database ({}); {} is another one",
                                            main_db.empty() ? std::string("HXQnew, not set") : main_db, database));
        ResolvedTarget target;
        {
            platform::Database product = platform::OpenDatabase(database, true);
            target = ResolveTarget(duty, product, database, o.user_level);
        }
        core::SPCDataType data = BuildSPCData(duty, target, database);

        core::clsCalculate calc;
        ProgressBar bar(o.progress && ::isatty(STDERR_FILENO) != 0);
        calc.CalcPercent.subscribe([&bar](std::int16_t& percent) { bar.show(percent); });
        calc.SPCMainCalcLoop(data);
        bar.finish();

        const OutputSystem system = o.units == "us" ? OutputSystem::US : OutputSystem::SI;
        return PrintSinglePhase(data, system, o.json, o.detail);
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 2;
    } catch (const platform::Error& e) {
        if (is_engine_error(e.number())) fmt::print(stderr, "hxq: {}\n", settings::EngineErrorText(e.number()));
        else fmt::print(stderr, "hxq: {} (error {}, {})\n", e.description(), e.number(), e.source());
        return 1;
    }
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("select", "Select and rate heat exchangers for a single-phase duty file");
    auto o = std::make_shared<SelectOptions>();
    cmd->add_option("DUTY", o->duty, "Duty file (TOML, see docs/duty-files.md)")->required();
    cmd->add_option("--units", o->units, "Output units of the table")
        ->check(CLI::IsMember({"si", "us"}))
        ->capture_default_str();
    cmd->add_flag("--json", o->json, "Print the alternatives as JSON");
    cmd->add_option("--detail", o->detail, "Print the full result of alternative N (1 = best)");
    cmd->add_option("--ini", o->ini, "User settings file (default: the build's sample/hxq.ini)");
    cmd->add_option("--user-level", o->user_level, "User level letter that the model tree is filtered by")
        ->capture_default_str();
    cmd->add_flag("!--no-progress", o->progress, "Do not draw the progress bar on a terminal");
    cmd->callback([o, &exit_code] { exit_code = run_select(*o); });
});

}  // namespace
}  // namespace hxq::app
