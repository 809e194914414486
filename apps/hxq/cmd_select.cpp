// hxq select DUTY.toml: rates a duty (single-phase, condenser, evaporator, air dryer,
// two-stage, cascade)
// over a model or group of the product range and prints the seven best alternatives.
#include "command_registry.h"
#include "installation.h"
#include "result_air_dryer.h"
#include "result_cascade.h"
#include "result_table.h"
#include "result_two_phase.h"
#include "result_two_stage.h"

#include "batch/ad_opt.h"
#include "core/calculate.h"
#include "duty/air_dryer_duty.h"
#include "duty/cascade_duty.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"
#include "platform/db.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "settings/engine_error_local_text.h"
#include "settings/engine_error_text_setting.h"
#include "settings/languages.h"
#include "settings/library_state.h"

#include <fmt/core.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <set>
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
    int detail = 0;  // alternative whose full result is printed; 0: the list
    bool detail_given = false;
    std::string lang;  // code or name; "": the settings' language
    Labels text;       // the language the tables are printed in
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

using duty::DutyFileError;

// The message of an engine error in the language of the printout: the table's text in
// `--lang` or the settings' language, the library's English wording in English.
std::string engine_error(std::int32_t number, const SelectOptions& o) {
    if (o.text.offset == 0) return settings::EngineErrorText(number);
    return settings::LocalEngineErrorText(number, settings::library_state().UserSettings.StartUpCalcType,
                                          o.text.offset);
}

// The text offset of --lang, or of the settings' language (English when that is no
// language of the table); nothing, with the message on stderr, for an unknown --lang.
std::optional<std::int16_t> chosen_offset(const std::string& lang) {
    if (!lang.empty()) {
        const auto language = settings::FindLanguage(lang);
        if (!language)
            fmt::print(stderr, "hxq select: unknown language \"{}\"; the languages are {}\n", lang,
                       settings::language_choices());
        return language ? std::optional<std::int16_t>(language->offset) : std::nullopt;
    }
    const auto language = settings::language_of_offset(settings::library_state().UserSettings.language.iOffset);
    return language ? language->offset : std::int16_t{0};
}

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

// An air dryer run shows its errors through the prompter and ends with what it found:
// they are collected here and reported on stderr.
int run_air_dryer(const duty::DutyDocument& duty, const duty::ResolvedTarget& target, const SelectOptions& o,
                  OutputSystem system, ProgressBar& bar) {
    batch::ADDataType data = duty::BuildADData(duty, target);
    auto prompter = std::make_shared<platform::ScriptedPrompter>();
    settings::set_prompter(prompter);
    batch::clsADOpt opt;
    opt.CalcPercent.subscribe([&bar](std::int16_t& percent) { bar.show(percent); });
    opt.AD_Main(data);
    bar.finish();
    std::set<std::string> said;
    for (const auto& shown : prompter->shown()) {
        std::string text = shown.text;
        for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) text.replace(at, 2, ": ");
        if (said.insert(text).second) fmt::print(stderr, "hxq: {}\n", text);
    }
    if (ListedAlternatives(data) == 0) {
        fmt::print(stderr, "hxq: {}\n", engine_error(platform::kObjectError + core::kNoSolutionCode, o));
        return 1;
    }
    return print_result(data, o, system);
}

// A cascade run keeps its errors (an engine's, or no solution) instead of raising them:
// with no pack found the kept one is reported.
int run_cascade(const duty::DutyDocument& duty, const duty::ResolvedTarget& target, const std::string& database,
                const SelectOptions& o, OutputSystem system, core::clsCalculate& calc, ProgressBar& bar) {
    core::CascadeDataType data = duty::BuildCascadeData(duty, target, database);
    calc.CascadeMainCalcLoop(data);
    bar.finish();
    if (ListedAlternatives(data) == 0) {
        const auto& kept = calc.CascadeError();
        const std::int32_t number = kept ? kept->number() : platform::kObjectError + core::kNoSolutionCode;
        if (!kept || is_engine_error(number)) fmt::print(stderr, "hxq: {}\n", engine_error(number, o));
        else fmt::print(stderr, "hxq: {} (error {}, {})\n", kept->description(), kept->number(), kept->source());
        return 1;
    }
    return print_result(data, o, system);
}

int run_select(SelectOptions& o) {
    duty::DutyDocument duty;
    try {
        duty = duty::ParseDutyFile(o.duty);
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 2;
    }
    try {
        const Installation inst = PrepareInstallation(o.ini, o.user_level);
        const auto offset = chosen_offset(o.lang);
        if (!offset) return 2;
        o.text.offset = *offset;
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
        duty::ResolvedTarget target;
        {
            platform::Database product = platform::OpenDatabase(database, true);
            target = duty::ResolveTarget(duty, product, database, o.user_level);
        }
        const OutputSystem system = o.units == "us" ? OutputSystem::US : OutputSystem::SI;
        ProgressBar bar(o.progress && ::isatty(STDERR_FILENO) != 0);
        core::clsCalculate calc;
        calc.CalcPercent.subscribe([&bar](std::int16_t& percent) { bar.show(percent); });
        switch (duty.kind) {
            case duty::DutyKind::SinglePhase: {
                core::SPCDataType data = duty::BuildSPCData(duty, target, database);
                calc.SPCMainCalcLoop(data);
                bar.finish();
                return PrintSinglePhase(data, system, o.json,
                                        o.detail_given ? std::optional<int>(o.detail) : std::nullopt, o.text);
            }
            case duty::DutyKind::Condenser: {
                core::CONDataType data = duty::BuildCONData(duty, target, database);
                calc.CONMainCalcLoop(data);
                bar.finish();
                return print_result(data, o, system);
            }
            case duty::DutyKind::Evaporator: {
                core::VAPDataType data = duty::BuildVAPData(duty, target, database);
                calc.VAPMainCalcLoop(data);
                bar.finish();
                return print_result(data, o, system);
            }
            case duty::DutyKind::TwoStage: {
                core::TwoStageType data = duty::BuildTwoStageData(duty, target, database);
                calc.TwoStageMainCalcLoop(data);
                bar.finish();
                return print_result(data, o, system);
            }
            case duty::DutyKind::Cascade: return run_cascade(duty, target, database, o, system, calc, bar);
            case duty::DutyKind::AirDryerDesign:
            case duty::DutyKind::AirDryerRating: return run_air_dryer(duty, target, o, system, bar);
        }
        return 1;
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        return 2;
    } catch (const platform::Error& e) {
        if (is_engine_error(e.number())) fmt::print(stderr, "hxq: {}\n", engine_error(e.number(), o));
        else fmt::print(stderr, "hxq: {} (error {}, {})\n", e.description(), e.number(), e.source());
        return 1;
    }
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
